#pragma once
// The total derivative d^n f / dx^n: one differential item below the rule.
#include "math/DerivativeComp.h"
#include "math/DifferentialComp.h"

class TotalDerivativeComp : public DerivativeComp {
public:
    // With a new empty differential.
    TotalDerivativeComp();
    // These adopt the differential.
    explicit TotalDerivativeComp(TotalDifferentialComp* differential);
    TotalDerivativeComp(std::unique_ptr<CompArray> operand, TotalDifferentialComp* differential);
    ~TotalDerivativeComp() override;

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_totD; }

    DifferentialComp* GetVariable(int i) const override { return i == 1 ? m_differential : nullptr; }
    void GetVariableBox(int i, Rect& out) const override { m_differential->GetAbsBounds(out); }
    unsigned char GetLetter() const override { return 100; }
    int GetLetterFamily() const override { return 0; }
    const char* GetLaTeXLetter() const override { return "d"; }
    bool SpacesItems() const override { return false; }

    void SetOrigin(const IntPoint& point) override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

protected:
    Rect MeasureDenominator(int u) override;
    int NumeratorOrderGap(int u) const override { return -(u / 2); }

private:
    TotalDifferentialComp* m_differential;
};
