#pragma once
// An integral: the integral sign with optional lower and upper limits, the
// integrand and, after the letter d, the variable of integration. In an
// equation paragraph the sign is drawn two size levels larger and the limits
// stand beside its ends; in running text the sign keeps the text size.
#include "foundation/StructComp.h"

class IntegralComp : public StructComp {
public:
    static constexpr unsigned char kSignChar = 189;
    static constexpr unsigned char kDChar = 100;

    IntegralComp();
    IntegralComp(std::unique_ptr<CompArray> integrand, std::unique_ptr<CompArray> variable);
    IntegralComp(std::unique_ptr<CompArray> integrand, std::unique_ptr<CompArray> variable,
                 std::unique_ptr<CompArray> upper, std::unique_ptr<CompArray> lower);
    ~IntegralComp() override;

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_Inte; }

    void Measure() override;
    void SetOrigin(const IntPoint& point) override;
    void Draw() override;

    // 1 integrand, 2 variable, 3 lower limit, 4 upper limit.
    CompList* GetChild(int i) const override;
    int GetChildCount() const override { return 4; }
    CompList* GetListLeft(CompList* from) override;
    CompList* GetListRight(CompList* from) override;
    CompList* GetListUp(CompList* from) override;
    CompList* GetListDown(CompList* from) override;

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    bool AcceptsSelection() const override { return true; }
    void SetSizeStep(signed char step) override;

    CompList* Integrand() const { return m_first; }
    CompList* Variable() const { return m_variable; }
    CompList* Lower() const { return m_lower; }
    CompList* Upper() const { return m_upper; }

private:
    void AdoptRows();
    // The sign is drawn large in an equation paragraph and when there is no paragraph yet.
    bool IsEquationForm() const;
    signed char LimitStep() const;

    CompList* m_variable;
    CompList* m_lower;
    CompList* m_upper;
    int m_signRight = 0;
    int m_limitShift = 0;
    int m_integrandX = 0;
    int m_upperBaseline = 0;
    int m_lowerBaseline = 0;
    int m_dX = 0;
    int m_variableX = 0;
};
