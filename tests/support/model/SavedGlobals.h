#pragma once
// The model's globals as a test leaves them: a fixture holds a SavedGlobals as
// its first member, so that the style table and the layout-item maker it
// installs are put back however the test ends, and calls UnwindDrawContext in
// its destructor while its own device contexts still exist.
class LayoutItemMaker;
class StyleTable;

class SavedGlobals {
public:
    SavedGlobals();
    ~SavedGlobals();
    SavedGlobals(const SavedGlobals&) = delete;
    SavedGlobals& operator=(const SavedGlobals&) = delete;

private:
    StyleTable* m_styleTable;
    LayoutItemMaker* m_maker;
};

// Ends every drawing level and size step the test left open on gDrawContext
// and puts back font family 0 and the default base size.
void UnwindDrawContext();
