#pragma once
// Function applications (sin x, f[x], logarithms to a base, f'(x)), prime
// marks, derivative operators and integrals.
#include "kernel/FixedNode.h"
#include "mathlink/MathLink.h"

// Parts: head, argument (null, one node, or a sequence of several).
class FunctionNode : public FixedNode {
public:
    FunctionNode(ExprNode* head, ExprNode* argument);
    FunctionNode(const SourceRange& range, ExprNode* head, ExprNode* argument);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsNumericFactor() const override;
    bool IsSimpleArgument() const override { return false; }
    bool IsNumericExpr() const override;
    double GetRealValue() const override;
    int GetTokenCode() const override;
    TypeTag GetTag() const override { return TypeTag("funN"); }

    ExprNode* Head() const { return Part(0); }
    ExprNode* Argument() const { return Part(1); }
    void MarkAsFunctionHead() { m_isHead = true; }
    bool IsFunctionHead() const { return m_isHead; }
    // A primed name (f' is Derivative[1][f]), not applied to anything.
    bool IsPrimedName() const;
    // The plain form of this primed name applied to the argument (taken as
    // its items): Derivative[n][f][argument].
    void PutPlainCall(MLINK link, const ExprNode* argument) const;

private:
    void PutForm(MLINK link, int mode, bool plain) const;
    void BuildApplied(CompList& list, int level);
    bool m_isHead = false;
};

// Part: the order (an integer, or a sequence of orders for several variables).
class PrimeDerivativeNode : public FixedNode {
public:
    explicit PrimeDerivativeNode(ExprNode* order);
    PrimeDerivativeNode(const SourceRange& range, ExprNode* order);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    // The primes alone, for a function head written as "msup".
    void WritePrimes(MathMLOutput& writer);
    int GetTokenCode() const override;
    TypeTag GetTag() const override { return TypeTag("derN"); }
    ExprNode* Order() const { return Part(0); }

private:
    void PutForm(MLINK link, int mode, bool plain) const;
};

// Parts: operand (null while the operator waits for it), variables (a
// sequence of variables or lists {variable, order}), order shown in the numerator.
class DerivativeNode : public FixedNode {
public:
    enum Kind { kTotal = 0, kPartial = 1 };
    DerivativeNode(int kind, ExprNode* variables, ExprNode* order);
    DerivativeNode(const SourceRange& range, int kind, ExprNode* variables, ExprNode* order);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void AppendChild(ExprNode* node) override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsSimpleArgument() const override { return false; }
    int GetTokenCode() const override;

    int Kind() const { return m_kind; }
    ExprNode* Operand() const { return Part(0); }
    ExprNode* Variables() const { return Part(1); }
    ExprNode* Order() const { return Part(2); }
    void SetOperand(ExprNode* operand) { SetPart(0, operand); }

private:
    void PutForm(MLINK link, int mode, bool plain) const;
    int m_kind;
};

// Parts: upper bound, lower bound, integrand, variable (the bounds may be null).
class IntegralNode : public FixedNode {
public:
    IntegralNode(ExprNode* upper, ExprNode* lower, ExprNode* integrand, ExprNode* variable);
    IntegralNode(const SourceRange& range, ExprNode* upper, ExprNode* lower, ExprNode* integrand, ExprNode* variable);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsSimpleArgument() const override { return false; }

    ExprNode* Upper() const { return Part(0); }
    ExprNode* Lower() const { return Part(1); }
    ExprNode* Integrand() const { return Part(2); }
    ExprNode* Variable() const { return Part(3); }

private:
    void PutForm(MLINK link, int mode, bool plain) const;
};
