#pragma once
// The state of one command's user-interface item (menu item, toolbar button,
// status pane) handed to update handlers. Subclasses decide what enabling,
// checking and text mean for their item; a probe that only records the answer
// is a subclass too.
#include "platform/framework/AfxTypes.h"

class CCmdTarget;

class CCmdUI {
public:
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL on = TRUE) { m_bEnabled = on != FALSE; m_bEnableChanged = true; }
    virtual void SetCheck(int check = 1) { m_nCheck = check; }
    virtual void SetRadio(BOOL on = TRUE) { SetCheck(on ? 1 : 0); }
    virtual void SetText(const char* text) { (void)text; }

    // Runs the update for m_nID through a target's routing. An item whose id
    // has neither an update nor a command handler on the route is disabled
    // when disableIfNoHandler is set (menus and bars).
    void DoUpdate(CCmdTarget* target, bool disableIfNoHandler);

    UINT m_nID = 0;
    int m_nIndex = 0;
    bool m_bEnabled = true;   // the answer of the last Enable call
    bool m_bEnableChanged = false;
    int m_nCheck = -1;        // -1 until SetCheck is called
};

// A CCmdUI that only records what the handlers said (the programmatic query).
class CCmdUIProbe : public CCmdUI {
public:
    explicit CCmdUIProbe(UINT id) { m_nID = id; }
    void SetText(const char* text) override { m_text = text ? text : ""; m_bTextChanged = true; }
    const char* text() const { return m_text; }
    bool m_bTextChanged = false;

private:
    const char* m_text = "";
};
