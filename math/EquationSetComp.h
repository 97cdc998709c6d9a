#pragma once
// A system of equations ("eqSt"): one column of rows between a left and a
// right brace.
#include "foundation/EquationRows.h"
#include "math/GridComp.h"

class EquationSetComp : public GridComp, public EquationRows {
public:
    // No columns (read from a file next).
    EquationSetComp() = default;
    explicit EquationSetComp(int rows) : GridComp(1, rows) {}
    // Holding the column.
    explicit EquationSetComp(GridColumn* column) { AppendColumn(column); }

    GridComp* MakeEmpty() const override { return new EquationSetComp; }
    int GetMargin() const override;

    TextComp* Clone(LinkRemap& remap) override { return new EquationSetComp(*this, remap); }
    void GetTag(TypeTag& out) const override { out = tag_eqSt; }
    bool AcceptsSelection() const override { return true; }
    void Draw() override;
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) override;
    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
    int MapKey(DocPosition& position, int key, bool shift, bool ctrl) override;
    bool IsCommandEnabled(int commandId, int extra) const override;

    // The rows in alignment mode separated by " \\ ", for an equation array.
    void WriteLaTeXRows(LaTeXWriter& writer) override;

private:
    EquationSetComp(const EquationSetComp& other, LinkRemap& remap) : GridComp(other, remap) {}
};
