#pragma once
// How a paragraph becomes lines. Layout turns the paragraph's row into
// measured layout items, breaks them into lines at the available width
// (each line opened by a LineLayout), merges small items and adds the space
// above and below; placing positions the lines one below the other with the
// style's alignment and sets the paragraph's bounds. The items end up in the
// row's own item array; a number label, when there is one, comes last.
#include "foundation/IntPoint.h"

#include <cstdint>

class Layout;
class ParagraphComp;
class ParagraphStyle;

namespace ParagraphLayout {

enum class Alignment { justified, centred, left, sourceCode, numberedEquation };

// What a layout's items depend on besides the row: the items of a layout
// are kept for the next one only when it is made under the same.
struct Context {
    const ParagraphStyle* style = nullptr;
    const void* fonts = nullptr;
    uint64_t faceChanges = 0;
    int fontId = 0, labelFontId = 0;
    int width = 0, above = 0, below = 0, firstIndent = 0, indent = 0, lineHeight = 0, labelGap = 0;
    int sizeLevel = 0, resolution = 0, pageWidth = 0, pageHeight = 0, leftMargin = 0;
    bool printing = false, mergesSpaces = false;

    bool operator==(const Context&) const = default;
};

// What a paragraph remembers of its last layout. When a change of the row
// leaves most lines as they were, only the lines from just before the
// change to where the lines settle again are made anew: the row's items
// first..end - 1 (1-based); the items before them stay as they were placed,
// those from end on too, moved down by tailMoved once placed. The items the
// new ones replaced wait in the paragraph's previous items for the repaint.
// first == 0: every item was made anew.
struct LayoutState {
    Context context;
    bool placed = false;
    int first = 0;
    int end = 0;
    int32_t tailMoved = 0;
    // The top of the first kept line after the new ones as it was placed
    // before: placing keeps it at the style's line height below the new lines.
    int32_t tailTopBefore = 0;
    // The row positions of the items from tailFrom on (none: past the end)
    // follow shift: a change before them moves them all at once.
    int32_t shift = 0;
    int tailFrom = INT32_MAX;

    bool IsPartial() const { return first > 0; }
    // A new layout under the context: what the last one made is forgotten,
    // the shift the kept items follow is not.
    void Begin(const Context& made)
    {
        const int32_t kept = shift;
        const int keptFrom = tailFrom;
        *this = LayoutState();
        context = made;
        shift = kept;
        tailFrom = keptFrom;
    }
};

// The plain layout of every unlabelled style.
void LayOutPlain(const ParagraphStyle& style, ParagraphComp& paragraph, const ParagraphComp* previous, int left,
                 int right);
// The plain layout with the paragraph's label item after all items; the
// first line's height includes the label's.
void LayOutLabelled(const ParagraphStyle& style, ParagraphComp& paragraph, const ParagraphComp* previous, int left,
                    int right);
// Positions the lines at the point, stores the row's origin and sets the
// paragraph's bounds.
void Place(const ParagraphStyle& style, ParagraphComp& paragraph, const IntPoint& point, Alignment alignment);

// Whether a line may end with the item before this one: words, other
// characters and components break only after a blank run; blanks, tabs and
// labels never start a line; anything else always may.
bool AllowsBreakBefore(const Layout& item, const Layout& previous);
// The extra width a blank run gets when slack is spread over blanks of
// total width: width * slack / total, rounded down unless the fraction is
// above one half.
int StretchShare(int width, int slack, int total);

} // namespace ParagraphLayout
