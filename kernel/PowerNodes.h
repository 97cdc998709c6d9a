#pragma once
// Powers, quotients, roots and bracketed groups.
#include "kernel/FixedNode.h"
#include "mathlink/MathLink.h"

// Parts: exponent, base (the order of the walks).
class PowerNode : public FixedNode {
public:
    // A superscript waiting for its base (kept as a power).
    explicit PowerNode(ExprNode* exponent);
    PowerNode(const SourceRange& range, ExprNode* exponent);
    PowerNode(ExprNode* exponent, ExprNode* base, bool keepPower);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void AppendChild(ExprNode* node) override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool NormalizeFractions(ExprNode*& num, ExprNode*& den) override;
    bool IsNumericFactor() const override;
    bool IsSimpleArgument() const override { return false; }
    bool IsNumericExpr() const override;
    double GetRealValue() const override;
    void ReplaceChild(ExprNode* old, ExprNode* replacement) override;
    ExprNode* FindChildAt(const DocPosition& position) override;
    int GetTokenCode() const override;
    bool IsPower() const override { return true; }
    ExprNode* GetPowerBase() const override { return Base(); }

    ExprNode* Exponent() const { return Part(0); }
    ExprNode* Base() const { return Part(1); }
    bool KeepsPower() const { return m_keepPower != 0; }
    void SetKeepPower(bool keep) { m_keepPower = keep ? 1 : 0; }

private:
    uint8_t m_keepPower = 1;
};

// Parts: denominator, numerator.
class DivideNode : public FixedNode {
public:
    DivideNode(ExprNode* numerator, ExprNode* denominator);
    DivideNode(const SourceRange& range, ExprNode* numerator, ExprNode* denominator);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    int TakeSign() override;
    bool IsNumericFactor() const override;
    bool IsSimpleArgument() const override { return false; }
    bool IsNumericExpr() const override;
    double GetRealValue() const override;
    int GetTermOrderKey() const override;
    void GetText(Str255& out) override;
    TypeTag GetTag() const override { return TypeTag("frcN"); }

    ExprNode* Numerator() const { return Part(1); }
    ExprNode* Denominator() const { return Part(0); }
};

// Parts: radicand, index (null for a square root).
class RadicalNode : public FixedNode {
public:
    RadicalNode(ExprNode* radicand, ExprNode* index);
    RadicalNode(const SourceRange& range, ExprNode* radicand, ExprNode* index);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsNumericFactor() const override;
    bool IsNumericExpr() const override;
    double GetRealValue() const override;
    TypeTag GetTag() const override { return TypeTag("radN"); }

    ExprNode* Radicand() const { return Part(0); }
    ExprNode* Index() const { return Part(1); }
};

// Part: the child in round parentheses or square brackets.
class GroupNode : public FixedNode {
public:
    GroupNode(ExprNode* child, bool round);
    GroupNode(const SourceRange& range, ExprNode* child, bool round);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsNumericFactor() const override;
    bool IsSimpleArgument() const override;
    bool IsNumericExpr() const override;
    double GetRealValue() const override;
    void GetText(Str255& out) override;
    void Flatten() override;
    int GetTokenCode() const override;
    TypeTag GetTag() const override { return TypeTag(m_round ? "grpN" : "argN"); }
    int GetItemCount() const override;

    ExprNode* Child() const { return Part(0); }
    ExprNode* TakeChild() { return TakePart(0); }
    bool IsRound() const { return m_round != 0; }

private:
    uint8_t m_round;
};
