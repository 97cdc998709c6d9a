#pragma once
// Relations and relation chains, comma sequences, drawing points, logical or,
// absolute values and determinants.
#include "kernel/CompositeNode.h"
#include "kernel/FixedNode.h"

// Operands and relation symbols alternating: a, Less, b, LessEqual, c.
class RelationNode : public CompositeNode {
public:
    using CompositeNode::CompositeNode;
    CompositeNode* NewWithFirstClone() const override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    TypeTag GetTag() const override { return TypeTag("eqnN"); }
};

class SequenceNode : public CompositeNode {
public:
    using CompositeNode::CompositeNode;
    CompositeNode* NewWithFirstClone() const override;
    bool IsSequence() const override { return true; }
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsNumericFactor() const override;
    bool IsSimpleArgument() const override;
    void GetText(Str255& out) override;
    int GetItemCount() const override { return m_count; }
    TypeTag GetTag() const override { return TypeTag("seqN"); }
};

class PointNode : public CompositeNode {
public:
    using CompositeNode::CompositeNode;
    // Takes over the children of the sequence, which it deletes.
    static PointNode* FromSequence(const SourceRange& range, SequenceNode* sequence);
    CompositeNode* NewWithFirstClone() const override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    TypeTag GetTag() const override { return TypeTag("qvPt"); }
};

class OrNode : public CompositeNode {
public:
    using CompositeNode::CompositeNode;
    CompositeNode* NewWithFirstClone() const override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    int GetAlternativeCount() const override { return m_count; }
    TypeTag GetTag() const override { return TypeTag("lOrN"); }
};

// The absolute value; of a matrix, its determinant.
class AbsNode : public FixedNode {
public:
    explicit AbsNode(ExprNode* child);
    AbsNode(const SourceRange& range, ExprNode* child);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsNumericFactor() const override;
    bool IsNumericExpr() const override;
    double GetRealValue() const override;
    void GetText(Str255& out) override;
    TypeTag GetTag() const override { return TypeTag("absN"); }
    ExprNode* Child() const { return Part(0); }

private:
    bool OfMatrix() const;
};
