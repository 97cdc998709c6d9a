#pragma once
// Laying a paragraph out again in part, after a change of its row: only the
// lines the change reaches are made anew, the others kept as they were placed.
#include "foundation/CompList.h"
#include "foundation/ParagraphLayout.h"

namespace ParagraphLayout {

// Makes the row's items in out, under the state's context, from the old
// items of the layout before (placed, made under the same context) and the
// row's edits since; the old
// array keeps only the items replaced. labelKept: the old label stays last
// in out. Answers false, changing nothing, when the old items cannot serve.
bool LayOutInPart(CompList& row, LayoutArray& old, LayoutState& state, const CompList::Edits& edits,
                  LayoutArray& out, bool& labelKept);

} // namespace ParagraphLayout
