#pragma once
// Breaking a paragraph's row into lines: the row's runs and component items
// are made and measured from a row position, only as far as the breaking
// asks, and appended line by line (each line opened by a LineLayout) to an
// item array; and the small steps of a paragraph's layout on such arrays.
#include "foundation/CompList.h"

#include <functional>

class Layout;
struct Rect;

namespace ParagraphLayout {

// Whether a line may start with this item (where the breaking may stop).
using Settled = std::function<bool(const Layout& first)>;

// Breaks the row from position from (where an item starts) to its end into
// lines appended to out; or up to a line whose first item settled accepts,
// not made (answers true then).
bool BreakLines(CompList& row, LayoutArray& out, int from, int width, bool mergesSpaces,
                const Settled& settled = nullptr);
void WidenVertically(Rect& box, const Rect& r);
void DeleteItems(LayoutArray& items);
void AddSpaceAbove(LayoutArray& items, int above);
// The last line's items reach down by below (a label after them does not).
void AddSpaceBelow(LayoutArray& items, int below);
// The line opener at or before item i (1 when there is none).
int LineOpenerAtOrBefore(const LayoutArray& items, int i);

} // namespace ParagraphLayout
