#pragma once
// How a paragraph becomes lines. Layout turns the paragraph's row into
// measured layout items, breaks them into lines at the available width
// (each line opened by a LineLayout), merges small items and adds the space
// above and below; placing positions the lines one below the other with the
// style's alignment and sets the paragraph's bounds. The items end up in the
// row's own item array; a number label, when there is one, comes last.
#include "foundation/IntPoint.h"

class Layout;
class ParagraphComp;
class ParagraphStyle;

namespace ParagraphLayout {

enum class Alignment { justified, centred, left, sourceCode, numberedEquation };

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
