#pragma once
// A ruled table ("Tabl"). Inside a plot it stands for the plot's data and
// shows only as the text "-data-".
#include "foundation/HTMLWriter.h"
#include "math/GridComp.h"

class HtmlElementWriter;

class TableComp : public GridComp, public HtmlForm {
public:
    TableComp() = default;
    TableComp(int columns, int rows) : GridComp(columns, rows) {}

    // Whether the table's row belongs to a plot.
    bool IsInPlot() const;
    bool ShowsAsData() const { return m_flag != 0; }

    GridComp* MakeEmpty() const override { return new TableComp; }
    int GetMargin() const override;
    int GetColumnSpacing() const override { return 1; }
    int GetTopExtra() const override { return 1; }

    TextComp* Clone(LinkRemap& remap) override { return new TableComp(*this, remap); }
    void GetTag(TypeTag& out) const override { out = tag_Tabl; }
    void Measure() override;
    void SetOrigin(const IntPoint& point) override;
    void Draw() override;
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) override;
    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;

    // A paragraph holding a centred, bordered table; the first row as heading cells.
    void WriteHTML(HtmlElementWriter& writer);
    // Through the HTML writer's element operations; nothing when it has none.
    void WriteHtml(HTMLWriter& writer) override;

    static constexpr const char* kDataText = "-data-";

private:
    TableComp(const TableComp& other, LinkRemap& remap) : GridComp(other, remap) {}
    void DrawRules();
};
