#pragma once
// Sums and products. A difference is a sum whose term is a product with the
// factor -1; a sign is taken from a term when the sum is shown, never stored.
#include "kernel/CompositeNode.h"

class SumNode : public CompositeNode {
public:
    using CompositeNode::CompositeNode;
    CompositeNode* NewWithFirstClone() const override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsSimpleArgument() const override;
    bool IsNumericExpr() const override;
    double GetRealValue() const override;
    bool SetMover(ExprNode* first, ExprNode* last) override;
    void Flatten() override;
    TypeTag GetTag() const override { return TypeTag("sumN"); }
};

class ProductNode : public CompositeNode {
public:
    using CompositeNode::CompositeNode;
    CompositeNode* NewWithFirstClone() const override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    int TakeSign() override;
    bool NormalizeFractions(ExprNode*& num, ExprNode*& den) override;
    void DropUnitFactors() override;
    bool IsOne() const override;
    bool IsSimpleArgument() const override;
    int32_t GetIntegerValue() const override;
    bool IsNumericExpr() const override;
    double GetRealValue() const override;
    int GetTermOrderKey() const override;
    bool SetMover(ExprNode* first, ExprNode* last) override;
    void Flatten() override;
    TypeTag GetTag() const override { return TypeTag("prdN"); }

    // The parser's signs in front of a product.
    void ApplyMinus(const SourceRange& sign);
    void ApplyPlusMinus(const SourceRange& sign);
};

// x itself when it is a product, else a new product of x alone.
ProductNode* AsProduct(ExprNode* node);
