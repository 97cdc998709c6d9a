#pragma once
// The slide list of the Organize Slides dialog: each item shows its slide's
// picture (its item data, an enhanced metafile) at 160 x 120, inverted while
// selected; items are dragged into a new order, and the Delete key removes
// the item with the caret, except the first one.
#include "platform/framework/DialogControls.h"

class CWMFDragListBox : public CDragListBox {
public:
    static constexpr UINT kItemWidth = 160;
    static constexpr UINT kItemHeight = 120;

    void DrawItem(DRAWITEMSTRUCT* item) override;
    void MeasureItem(MEASUREITEMSTRUCT* item) override;
    // Public so that the dialog's keyboard handling (and tests) can reach it.
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;

private:
    void DeleteCaretItem();
};
