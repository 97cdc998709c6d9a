#pragma once
// The layout item maker of the program: rows are laid out into the text
// layout items (word, other-character, blank and tab runs, component items,
// placeholders and grey boxes).
#include "foundation/LayoutItemMaker.h"

class TextLayoutItemMaker : public LayoutItemMaker {
public:
    Layout* MakePlaceholder(CompList* row, int show) override;
    Layout* MakeGray(CompList* row) override;
    Layout* MakeStruct(TextComp* comp, int32_t index) override;
    Layout* MakeWord(CompList* row, int32_t index, unsigned char code, int fontId) override;
    Layout* MakeNonAlpha(CompList* row, int32_t index, unsigned char code, int fontId) override;
    Layout* MakeSpace(CompList* row, int32_t index, unsigned char code, int fontId) override;
    Layout* MakeTab(CompList* row, int32_t index, unsigned char code, int fontId) override;

    // The program's one maker.
    static TextLayoutItemMaker& Instance();
};

// Start-up of text layout: installs the program's layout item maker and,
// when no style table is set up yet, makes the table of the eleven
// paragraph styles (gStyleTable; it lives until the program ends).
void InstallTextLayout();
