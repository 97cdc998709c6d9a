#include "kernel/SelectedPartMark.h"

#include "foundation/DocSelection.h"
#include "foundation/ExprNode.h"

namespace {

// Expressions nest far less deeply than this; the bound keeps a damaged
// tree from looping.
constexpr int kMaxDepth = 512;

// The last place inside the selection: a range's end lies after its last
// component.
DocPosition LastInside(const DocSelection& selection)
{
    DocPosition last = selection.Second();
    if (selection.HasExtent() && last.GetKind() == DocPosition::kListPlace
        && last.GetIndex() > selection.First().GetIndex())
        last.SetIndex(last.GetIndex() - 1);
    return last;
}

} // namespace

void MarkSelectedPart(ExprNode& root, const DocSelection& selection)
{
    const DocPosition first = selection.First();
    const DocPosition last = LastInside(selection);
    ExprNode* node = &root;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        ExprNode* child = node->FindChildAt(first);
        if (!child)
            break;
        ExprNode* lastChild = node->FindChildAt(last);
        if (lastChild != child) {
            // The ends lie in different children: the run between them is the part.
            if (lastChild)
                node->SetMover(child, lastChild);
            else
                node->SetMoverFlag(true);
            return;
        }
        node = child;
    }
    node->SetMoverFlag(true);
}
