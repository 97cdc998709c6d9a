#pragma once
// The common base of the total and the partial derivative, drawn as a
// fraction: the letter d or ∂ with the total order and the operand above the
// rule, the differential items below it. The total order is not edited: it
// is recomputed from the items' orders whenever the derivative is laid out.
//
// Child rows: 2k - 1 is variable k's variable row, 2k its order row and
// 2n + 1 the operand, for n variables.
#include "foundation/StructComp.h"

#include <cstdint>

class DifferentialComp;

class DerivativeComp : public StructComp {
public:
    ~DerivativeComp() override;

    virtual int GetVariableCount() const { return 1; }
    // Differential item i (1-based), or null.
    virtual DifferentialComp* GetVariable(int i) const { return nullptr; }
    // The absolute bounds of item i.
    virtual void GetVariableBox(int i, Rect& out) const {}

    // The numerator's letter, its font family and LaTeX form.
    virtual unsigned char GetLetter() const = 0;
    virtual int GetLetterFamily() const = 0;
    virtual const char* GetLaTeXLetter() const = 0;
    // Whether each item's LaTeX is followed by a space.
    virtual bool SpacesItems() const = 0;

    void MarkDirty() override;
    void Measure() override;
    void Draw() override;

    CompList* GetChild(int i) const override;
    int GetChildCount() const override { return 2 * GetVariableCount() + 1; }
    CompList* GetListLeft(CompList* from) override;
    CompList* GetListRight(CompList* from) override;
    CompList* GetListUp(CompList* from) override;
    CompList* GetListDown(CompList* from) override;

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
    // The start of the first variable's variable row.
    void GetEntryPosition(DocPosition& out) override;
    bool AcceptsSelection() const override { return true; }
    void SetSizeStep(signed char step) override;

    CompList* Operand() const { return m_first; }
    // The total order shown in the numerator (rebuilt by the next layout).
    CompList* NumeratorOrder() const { return m_numeratorOrder; }
    // Rebuilds the numerator's order from the items' orders.
    void UpdateNumeratorOrder();

protected:
    DerivativeComp();
    explicit DerivativeComp(std::unique_ptr<CompArray> operand);

    // Lays out and measures the items; answers the denominator's box.
    virtual Rect MeasureDenominator(int u) = 0;
    // The left edge the numerator's order row gets before its gap.
    virtual int NumeratorOrderGap(int u) const = 0;
    // Places the numerator (both derivatives) and calls PlaceDenominator.
    void PlaceNumerator(const IntPoint& point, int u);
    int Unit() const;
    // The item that owns the row as its variable or order row: its number,
    // and whether the row is the order row. 0 when no item owns it.
    int ItemOfRow(const CompList* row, bool& isOrder) const;
    // The item's rows now belong to this derivative, at this size.
    void AdoptItem(DifferentialComp* item);
    // The text of the total order of several variables.
    Str255 SumOfOrders() const;

    CompList* m_numeratorOrder;
    Rect m_numeratorBox;  // top, width (right) and bottom of the numerator
    int16_t m_letterWidth = 0;
    int16_t m_letterTop = 0;
    int16_t m_orderBaseline = 0;
    int16_t m_axis = 0;
};
