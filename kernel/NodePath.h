#pragma once
// The chain of expression nodes from a formula's root down to the node at a
// place of the document: the term a selection covers (the dragged term, the
// selected part of a calculation) or the node under the mouse (the place a
// term is dropped on). A walk goes from the innermost node outwards.
#include <vector>

class DocPosition;
class DocSelection;
class ExprNode;

class NodePath {
public:
    // The path to the node that holds the whole selection. When its ends lie
    // in different terms of a sum or product, those terms are grouped into
    // one node (part of the tree from then on), which ends the path. With
    // markMover the innermost node is marked as the dragged term.
    NodePath(ExprNode* root, const DocSelection& selection, bool markMover);
    // The path to the innermost node whose range holds the position.
    NodePath(ExprNode* root, const DocPosition& position);

    ExprNode* Root() const { return m_nodes.front(); }
    ExprNode* Innermost() const { return m_nodes.back(); }
    // Goes to the innermost node and answers it.
    ExprNode* First();
    // Steps one level outwards; null past the root.
    ExprNode* Next();
    bool Contains(const ExprNode* node) const;
    // The deepest node both paths pass through (null for different roots). A
    // matrix or an absolute value where the paths part does not count: terms
    // are not moved between the cells of a matrix or across the bars of an
    // absolute value, so the node that holds it is answered instead (the
    // matrix or absolute value itself when it is the root).
    ExprNode* DeepestShared(const NodePath& other) const;
    const std::vector<ExprNode*>& Nodes() const { return m_nodes; }

private:
    void Descend(const DocPosition& first, const DocPosition& last, bool markMover);

    std::vector<ExprNode*> m_nodes;
    int m_current = 0;
};
