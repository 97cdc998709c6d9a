#pragma once
// A piecewise definition ("splF"): rows of a value and its condition in two
// columns behind a left brace.
#include "math/GridComp.h"

class SplitDefinitionComp : public GridComp {
public:
    SplitDefinitionComp() = default;
    explicit SplitDefinitionComp(int rows) : GridComp(2, rows) {}
    // Holding the value and the condition column.
    SplitDefinitionComp(GridColumn* values, GridColumn* conditions)
    {
        AppendColumn(values);
        AppendColumn(conditions);
    }

    GridComp* MakeEmpty() const override { return new SplitDefinitionComp; }
    int GetMargin() const override;
    int GetColumnSpacing() const override;

    TextComp* Clone(LinkRemap& remap) override { return new SplitDefinitionComp(*this, remap); }
    void GetTag(TypeTag& out) const override { out = tag_splF; }
    void Draw() override;
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) override;
    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
    int MapKey(DocPosition& position, int key, bool shift, bool ctrl) override;
    bool IsCommandEnabled(int commandId, int extra) const override;

private:
    SplitDefinitionComp(const SplitDefinitionComp& other, LinkRemap& remap) : GridComp(other, remap) {}
};
