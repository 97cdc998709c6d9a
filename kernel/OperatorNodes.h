#pragma once
// The remaining one- and two-child nodes and the operators with bounds:
// factorial, conjugate, limit directions, tagged variables, rules, cross and
// dot products, modulus, subscripts, limits, and sums and products with
// bounds. Several are made by the parser before their operand is known and
// collect it through AppendChild.
#include "kernel/FixedNode.h"
#include "mathlink/MathLink.h"

class SymbolNode;

class FactorialNode : public FixedNode {
public:
    explicit FactorialNode(ExprNode* child);
    FactorialNode(const SourceRange& range, ExprNode* child);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsNumericFactor() const override;
    bool IsSimpleArgument() const override { return false; }
    bool IsNumericExpr() const override;
    double GetRealValue() const override;
    void GetText(Str255& out) override;
    ExprNode* Child() const { return Part(0); }
};

class ConjugateNode : public FixedNode {
public:
    explicit ConjugateNode(ExprNode* child);
    ConjugateNode(const SourceRange& range, ExprNode* child);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsNumericFactor() const override;
    bool IsSimpleArgument() const override;
    ExprNode* Child() const { return Part(0); }
};

// The side a limit is approached from: 0 from above, 1 from below.
class DirectionRuleNode : public FixedNode {
public:
    DirectionRuleNode(const SourceRange& range, int direction);
    DirectionRuleNode(ExprNode* point, int direction);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void AppendChild(ExprNode* node) override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override { PutPackageForm(link, 0); }
    void BuildComponents(CompList& list, int level) override;
    int GetTokenCode() const override;
    TypeTag GetTag() const override { return TypeTag("abbN"); }
    ExprNode* Point() const { return Part(0); }
    ExprNode* TakePoint() { return TakePart(0); }
    int Direction() const { return m_direction; }

private:
    int m_direction;
};

class TagVarNode : public FixedNode {
public:
    TagVarNode(ExprNode* content, ExprNode* number);
    TagVarNode(const SourceRange& range, ExprNode* content, ExprNode* number);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsNumericFactor() const override;
    bool IsSimpleArgument() const override;
    ExprNode* Content() const { return Part(0); }
    ExprNode* Number() const { return Part(1); }
};

// Rule, cross and dot products and the modulus: a left and a right side.
class BinaryNode : public FixedNode {
public:
    ExprNode* Left() const { return Part(0); }
    ExprNode* Right() const { return Part(1); }
    void SetRight(ExprNode* node) { SetPart(1, node); }
    ExprNode* TakeRight() { return TakePart(1); }
    void PutPlainForm(MLINK link) const override;

protected:
    BinaryNode(ExprNode* left, ExprNode* right, const char* packageHead, const char* plainHead);
    BinaryNode(const SourceRange& range, ExprNode* left, ExprNode* right, const char* packageHead,
               const char* plainHead);
    void PutHeadAndSides(MLINK link, int mode, const char* head) const;

    const char* m_packageHead;
    const char* m_plainHead;
};

class RuleNode : public BinaryNode {
public:
    RuleNode(ExprNode* left, ExprNode* right) : BinaryNode(left, right, "Rule", "Rule") {}
    RuleNode(const SourceRange& range, ExprNode* left, ExprNode* right)
        : BinaryNode(range, left, right, "Rule", "Rule")
    {
    }
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override { PutPackageForm(link, 0); }
    void BuildComponents(CompList& list, int level) override;
    // Left, an arrow and right, as a limit writes its approach.
    void WriteMathML(MathMLOutput& writer) override;
    TypeTag GetTag() const override { return TypeTag("rulN"); }
};

class CrossNode : public BinaryNode {
public:
    CrossNode(const SourceRange& range, ExprNode* left, ExprNode* right)
        : BinaryNode(range, left, right, "VXCross", "Cross")
    {
    }
    CrossNode(ExprNode* left, ExprNode* right) : BinaryNode(left, right, "VXCross", "Cross") {}
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    TypeTag GetTag() const override { return TypeTag("crsN"); }
};

class DotNode : public BinaryNode {
public:
    DotNode(const SourceRange& range, ExprNode* left, ExprNode* right) : BinaryNode(range, left, right, "VXDot", "Dot") {}
    DotNode(ExprNode* left, ExprNode* right) : BinaryNode(left, right, "VXDot", "Dot") {}
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    TypeTag GetTag() const override { return TypeTag("dotN"); }
};

class ModNode : public BinaryNode {
public:
    explicit ModNode(const SourceRange& range) : BinaryNode(range, nullptr, nullptr, "VXMod", "Mod") {}
    ModNode(ExprNode* left, ExprNode* right) : BinaryNode(left, right, "VXMod", "Mod") {}
    ExprNode* Clone() const override { return CloneOf(*this); }
    // The parser hands the left side first, then the right.
    void AppendChild(ExprNode* node) override;
    void PutPackageForm(MLINK link, int mode) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsSimpleArgument() const override { return false; }
    int GetTokenCode() const override;
    TypeTag GetTag() const override { return TypeTag("modN"); }

private:
    static void BuildSide(CompList& list, ExprNode* side);
};

// Parts: base (null until attached), subscript (one node, or a sequence).
class SubscriptNode : public FixedNode {
public:
    SubscriptNode(const SourceRange& range, ExprNode* subscript);
    SubscriptNode(ExprNode* base, ExprNode* subscript);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void AppendChild(ExprNode* node) override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    int GetTermOrderKey() const override;
    void GetText(Str255& out) override;
    void CollectConstantIndices(ExprNode& list) override;
    ExprNode* FindReplaceSubscript() override;
    int GetTokenCode() const override;
    TypeTag GetTag() const override { return TypeTag("sbsN"); }

    ExprNode* Base() const { return Part(0); }
    ExprNode* Subscript() const { return Part(1); }
    ExprNode* TakeBase() { return TakePart(0); }
    ExprNode* TakeSubscript() { return TakePart(1); }
    // Puts node in the subscript's place; the old subscript is deleted.
    void SetSubscript(ExprNode* node) { SetPart(1, node); }
    bool IsConstantSubscript() const;

private:
    void PutForm(MLINK link, int mode, bool plain) const;
};

// Parts: operand (null until attached), approach.
class LimitNode : public FixedNode {
public:
    LimitNode(const SourceRange& range, ExprNode* approach);
    LimitNode(ExprNode* operand, ExprNode* approach, int direction);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void AppendChild(ExprNode* node) override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsSimpleArgument() const override { return false; }
    ExprNode* FindChildAt(const DocPosition& position) override;
    int GetTokenCode() const override;

    ExprNode* Operand() const { return Part(0); }
    ExprNode* Approach() const { return Part(1); }
    int Direction() const { return m_direction; }

private:
    void PutForm(MLINK link, int mode, bool plain) const;
    int m_direction = 0;   // 0 none, 1 from above, 2 from below
};

// Parts: body (null until attached), lower, upper (may be null), operator symbol.
class BigOperatorNode : public FixedNode {
public:
    BigOperatorNode(const SourceRange& range, SymbolNode* op, ExprNode* lower, ExprNode* upper);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void AppendChild(ExprNode* node) override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    ExprNode* FindChildAt(const DocPosition& position) override;
    int GetTokenCode() const override;
    TypeTag GetTag() const override { return TypeTag("oprN"); }

    ExprNode* Body() const { return Part(0); }
    ExprNode* Lower() const { return Part(1); }
    ExprNode* Upper() const { return Part(2); }
    const SymbolNode* Operator() const;
    // The reader's bounds: a list {i, a, b} becomes i = a with the upper bound b.
    void SetBounds(ExprNode* lower);

private:
    void PutForm(MLINK link, int mode, bool plain) const;
};

// Shared by the limit and the big operators: the parser feeds the operand
// factor by factor.
void AttachOperand(ExprNode*& operand, ExprNode* node);
