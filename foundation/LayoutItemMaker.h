#pragma once
// Makes the concrete layout items a row is laid out into. The row decides
// which kind of item a component starts (by tag and character-table kind);
// the text layout code installs the maker that builds them.
#include <cstdint>

class CompList;
class Layout;
class TextComp;

class LayoutItemMaker {
public:
    virtual ~LayoutItemMaker() = default;

    // An empty row: the placeholder box when show is 1, an empty box when 0.
    virtual Layout* MakePlaceholder(CompList* row, int show) = 0;
    // A row too wide for its width, drawn as a grey box.
    virtual Layout* MakeGray(CompList* row) = 0;
    // One math or object component at row position index.
    virtual Layout* MakeStruct(TextComp* comp, int32_t index) = 0;
    // Runs of characters starting with code at row position index.
    virtual Layout* MakeWord(CompList* row, int32_t index, unsigned char code, int fontId) = 0;
    virtual Layout* MakeNonAlpha(CompList* row, int32_t index, unsigned char code, int fontId) = 0;
    virtual Layout* MakeSpace(CompList* row, int32_t index, unsigned char code, int fontId) = 0;
    virtual Layout* MakeTab(CompList* row, int32_t index, unsigned char code, int fontId) = 0;

    static void Install(LayoutItemMaker* maker);
    // The installed maker; laying out a row without one is an error.
    static LayoutItemMaker* Get();
    // The installed maker, or null.
    static LayoutItemMaker* Installed();
};
