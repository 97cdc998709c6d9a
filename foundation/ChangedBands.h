#pragma once
// The boxes of a paragraph's changed layout items, gathered into bands for
// invalidation. The items come in row order, line by line from the top: a
// changed box joins the band before it unless unchanged items came between
// and it lies wholly below that band. A key in the middle of a long row
// moves every item after it, and those boxes make one band from the key's
// line down. Beyond a few scattered bands their bounding box is invalidated
// instead, so that the region the window gathers holds a handful of
// rectangles however long the row is.
#include "foundation/Rect.h"

#include <vector>

class ChangedBands {
public:
    static constexpr size_t kMaxBands = 16;

    // The box of an item that changed (empty boxes show nothing).
    void Changed(const Rect& box);
    // An item that shows as it did.
    void Unchanged() { m_gap = !m_bands.empty(); }
    // Invalidates the bands, a pixel taller above and below, on the drawing
    // context's view.
    void Invalidate() const;

private:
    // The gathered area, as the view is told of it.
    std::vector<Rect> Bands() const;

    std::vector<Rect> m_bands;
    bool m_gap = false;
};
