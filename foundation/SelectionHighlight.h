#pragma once
// A view's selection and the screen regions that show it: the caret, the
// selected range and an extra framed region. Changing the selection through
// the highlight redraws only what changed. Regions are in document
// coordinates; invalidation goes to the view that is the drawing target.
#include "foundation/DocSelection.h"
#include "foundation/Region.h"

#include <cstdint>

class SelectionHighlight {
public:
    // Display modes: 0 shows the caret solid and inverts a range; 2 shows a
    // grey caret and frames a range (an inactive view); others show nothing.
    static constexpr int32_t kActiveMode = 0;
    static constexpr int32_t kInactiveMode = 2;

    SelectionHighlight() = default;

    // Rebuilds the regions from the selection and the mode.
    void Recompute();
    // Draws the regions into the drawing context.
    void Draw() const;
    // Stores the selection; with redraw the boxes of the old and the new
    // regions are invalidated in the view.
    void SetSelection(const DocSelection& selection, bool redraw);
    // The drag redraw: stores the selection and answers the region that
    // changed (exclusive-or of the old and new regions), which is
    // invalidated and scrolled into sight.
    Region MoveSelection(const DocSelection& selection);
    DocSelection GetSelection() const { return m_selection; }

    void SetMode(int32_t mode);
    int32_t GetMode() const { return m_mode; }
    const Region& GetSelectionRegion() const { return m_selectionRegion; }
    const Region& GetCaretRegion() const { return m_caretRegion; }
    const Region& GetExtraRegion() const { return m_extraRegion; }
    // The extra region is framed in mode 0 (a drawing or term highlight).
    void SetExtraRegion(const Region& region) { m_extraRegion = region; }
    bool NeedsRecompute() const { return m_needsRecompute != 0; }

private:
    bool ShowsHighlight() const { return m_mode == kActiveMode || m_mode == kInactiveMode; }
    Region UnionOfRegions() const;

    Region m_selectionRegion;
    Region m_caretRegion;
    Region m_extraRegion;
    int32_t m_mode = kActiveMode;
    DocSelection m_selection;
    uint8_t m_needsRecompute = 1;
};
