#pragma once
// The base of every n-ary node: an ordered chain of children linked through
// their next fields, owned by the composite, with their count.
#include "foundation/ExprNode.h"
#include "mathlink/MathLink.h"

#include <vector>

class CompositeNode : public ExprNode {
public:
    CompositeNode() = default;
    explicit CompositeNode(const SourceRange& range) : ExprNode(range) {}
    CompositeNode(const SourceRange& range, ExprNode* first);
    explicit CompositeNode(ExprNode* first);
    ~CompositeNode() override;

    ExprNode* Clone() const override;
    void AppendChild(ExprNode* node) override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void WriteMathML(MathMLOutput& writer) override;
    bool NormalizeFractions(ExprNode*& num, ExprNode*& den) override;
    bool IsSimpleArgument() const override { return false; }
    void ReplaceChild(ExprNode* old, ExprNode* replacement) override;
    void CollectConstantIndices(ExprNode& list) override;
    ExprNode* FindReplaceSubscript() override;
    void Flatten() override;
    ExprNode* FindChildAt(const DocPosition& position) override;
    ExprNode* FindParentOf(const ExprNode* node) override;
    ExprNode* GetLastChild() const override;
    int GetChildCount() const override { return m_count; }
    // A new node of the same class holding a clone of the first child.
    virtual CompositeNode* NewWithFirstClone() const = 0;

    ExprNode* First() const { return m_first; }
    int Count() const { return m_count; }
    // The child at the 1-based place, or null.
    ExprNode* ChildAt(int i) const;
    void Recount();
    // The first child; the node is left empty and owns nothing.
    ExprNode* DetachChildren();
    // Unlinks the child from the chain (not deleted).
    void Unlink(ExprNode* child);
    // Appends the nodes in order in one pass (the range is left as it is).
    void ChainAll(const std::vector<ExprNode*>& nodes);
    // Puts node in front of the children.
    void Prepend(ExprNode* node);

protected:
    // Writes every child's package form (after the class has put its head).
    void PutChildren(MLINK link, int mode) const;
    void PutPlainChildren(MLINK link) const;
    // Moves the run first..last into group, which takes first's place; when
    // the run is every child, only marks this node as the mover.
    bool GroupRun(ExprNode* first, ExprNode* last, CompositeNode* group);
    // Flattens the children, then splices in the children of those with the tag.
    void SpliceTagged(TypeTag tag);
    // Appends to the chain without touching the range.
    void Chain(ExprNode* node);

    ExprNode* m_first = nullptr;
    int m_count = 0;
};
