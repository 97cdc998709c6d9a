#include "kernel/NodePath.h"

#include "foundation/DocSelection.h"
#include "foundation/ExprNode.h"

#include <algorithm>

namespace {

// Expressions nest far less deeply than this; the bound keeps a damaged
// tree from looping.
constexpr int kMaxDepth = 512;

// The last place inside the selection: a range's end lies after its last
// component, and trailing blanks belong to no term.
DocPosition LastInside(DocSelection selection)
{
    selection.TrimTrailingSpaces();
    DocPosition last = selection.Second();
    if (last.GetKind() == DocPosition::kListPlace && last.GetIndex() > selection.First().GetIndex() &&
        (selection.First().GetList() == last.GetList()))
        last.SetIndex(last.GetIndex() - 1);
    return last;
}

bool IsMatrixOrAbsolute(const ExprNode* node)
{
    const TypeTag tag = node->GetTag();
    return tag == TypeTag("matN") || tag == TypeTag("absN");
}

} // namespace

NodePath::NodePath(ExprNode* root, const DocSelection& selection, bool markMover) : m_nodes{root}
{
    Descend(selection.First(), selection.HasExtent() ? LastInside(selection) : selection.First(), markMover);
}

NodePath::NodePath(ExprNode* root, const DocPosition& position) : m_nodes{root}
{
    Descend(position, position, false);
}

void NodePath::Descend(const DocPosition& first, const DocPosition& last, bool markMover)
{
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        ExprNode* node = m_nodes.back();
        ExprNode* child = node->FindChildAt(first);
        if (!child)
            break;
        ExprNode* lastChild = node->FindChildAt(last);
        if (lastChild != child) {
            // The ends lie in different children: the run between them is one
            // term, grouped when it is not all of the node.
            if (!markMover)
                break;
            if (lastChild && node->SetMover(child, lastChild))
                m_nodes.push_back(node->FindChildAt(first));
            else
                node->SetMoverFlag(true);
            m_current = int(m_nodes.size()) - 1;
            return;
        }
        m_nodes.push_back(child);
    }
    if (markMover)
        m_nodes.back()->SetMoverFlag(true);
    m_current = int(m_nodes.size()) - 1;
}

ExprNode* NodePath::First()
{
    m_current = int(m_nodes.size()) - 1;
    return m_nodes.back();
}

ExprNode* NodePath::Next()
{
    if (m_current <= 0) {
        m_current = -1;
        return nullptr;
    }
    return m_nodes[--m_current];
}

bool NodePath::Contains(const ExprNode* node) const
{
    return std::find(m_nodes.begin(), m_nodes.end(), node) != m_nodes.end();
}

ExprNode* NodePath::DeepestShared(const NodePath& other) const
{
    if (Root() != other.Root())
        return nullptr;
    std::size_t shared = 0;
    while (shared + 1 < m_nodes.size() && shared + 1 < other.m_nodes.size() &&
           m_nodes[shared + 1] == other.m_nodes[shared + 1])
        ++shared;
    const bool parted = shared + 1 < m_nodes.size() || shared + 1 < other.m_nodes.size();
    // A matrix's rows count as the matrix.
    auto boundary = [&](std::size_t k) {
        return IsMatrixOrAbsolute(m_nodes[k]) ||
            (k > 0 && IsMatrixOrAbsolute(m_nodes[k - 1]) && m_nodes[k]->GetTag() == TypeTag("lisN"));
    };
    while (parted && shared > 0 && boundary(shared))
        --shared;
    return m_nodes[shared];
}
