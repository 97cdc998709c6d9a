#pragma once
// A differential item of a derivative's denominator: the letter d or ∂, the
// variable, and the variable's order as a raised script. An item belongs to
// its derivative (which owns its two rows while it holds it) and never stands
// in a row by itself, so it has no tag and no record of its own.
#include "foundation/StructComp.h"

#include <cstdint>

class DifferentialComp : public StructComp {
public:
    ~DifferentialComp() override;

    // The letter's character code and font family.
    virtual unsigned char GetLetter() const = 0;
    virtual int GetLetterFamily() const = 0;
    // The letter's LaTeX and linear-text forms.
    virtual const char* GetLaTeXLetter() const = 0;

    // The order as a number: 1 when the order row is empty, its value when it
    // is all decimal digits, else 0 (a symbolic order).
    int32_t GetOrderNumber() const;

    void Measure() override;
    void SetOrigin(const IntPoint& point) override;
    void Draw() override;

    // 1 variable, 2 order.
    CompList* GetChild(int i) const override { return i == 1 ? m_first : i == 2 ? m_order : nullptr; }
    int GetChildCount() const override { return 2; }
    CompList* GetListLeft(CompList* from) override;
    CompList* GetListRight(CompList* from) override;
    CompList* GetListUp(CompList* from) override;
    CompList* GetListDown(CompList* from) override;

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
    void SetSizeStep(signed char step) override;

    CompList* VariableRow() const { return m_first; }
    CompList* OrderRow() const { return m_order; }
    // The rows' owner: the derivative that holds the item, or the item.
    void SetRowsOwner(TextComp* owner);

protected:
    DifferentialComp();
    DifferentialComp(std::unique_ptr<CompArray> variable, std::unique_ptr<CompArray> order);

    CompList* m_order;
    int16_t m_letterWidth = 0;
    int16_t m_letterTop = 0;
    int16_t m_orderBaseline = 0;
};

// d x^n: the differential of a total derivative.
class TotalDifferentialComp : public DifferentialComp {
public:
    TotalDifferentialComp() = default;
    TotalDifferentialComp(std::unique_ptr<CompArray> variable, std::unique_ptr<CompArray> order)
        : DifferentialComp(std::move(variable), std::move(order))
    {
    }
    TextComp* Clone(LinkRemap& remap) override;
    unsigned char GetLetter() const override { return 100; }
    int GetLetterFamily() const override { return 0; }
    const char* GetLaTeXLetter() const override { return "d"; }
};

// ∂ x^n: one variable of a partial derivative.
class PartialDifferentialComp : public DifferentialComp {
public:
    PartialDifferentialComp() = default;
    PartialDifferentialComp(std::unique_ptr<CompArray> variable, std::unique_ptr<CompArray> order)
        : DifferentialComp(std::move(variable), std::move(order))
    {
    }
    TextComp* Clone(LinkRemap& remap) override;
    unsigned char GetLetter() const override { return 219; }
    int GetLetterFamily() const override { return 3; }
    const char* GetLaTeXLetter() const override { return "\\partial "; }
};
