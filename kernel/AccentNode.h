#pragma once
// An accent over an expression: hat, dot, double dot, vector arrow, tilde. An
// accented plain symbol travels to the kernel as one symbol whose name carries
// a marker ("x$vxhat"), so that the kernel treats x-hat as a variable.
#include "kernel/FixedNode.h"
#include "mathlink/MathLink.h"

class AccentNode : public FixedNode {
public:
    AccentNode(ExprNode* child, unsigned char kind);
    AccentNode(const SourceRange& range, ExprNode* child, unsigned char kind);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsNumericFactor() const override;
    ExprNode* Child() const { return Part(0); }
    unsigned char Kind() const { return m_kind; }

private:
    unsigned char m_kind;
};
