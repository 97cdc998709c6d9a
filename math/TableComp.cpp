#include "math/TableComp.h"

#include "foundation/DrawContext.h"
#include "foundation/FontFamilyScope.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/SizeStepScope.h"
#include "foundation/Str255.h"
#include "foundation/TextOutBuffer.h"
#include "math/ExportElementWriters.h"

bool TableComp::IsInPlot() const
{
    TextComp* outer = OwnerComponent();
    return outer && outer->IsPlot();
}

int TableComp::GetMargin() const
{
    return gDrawContext.GetSizeUnit();
}

void TableComp::Measure()
{
    m_flag = IsInPlot() ? 1 : 0;
    if (!ShowsAsData()) {
        GridComp::Measure();
        return;
    }
    SizeStepScope scope(m_sizeStep);
    FontFamilyScope family(0);
    gDrawContext.GetTextExtent(Str255(kDataText), m_bounds);
    m_needsLayout = 0;
}

void TableComp::SetOrigin(const IntPoint& point)
{
    if (ShowsAsData())
        m_origin = point;
    else
        GridComp::SetOrigin(point);
}

void TableComp::Draw()
{
    if (ShowsAsData()) {
        SizeStepScope scope(m_sizeStep);
        FontFamilyScope family(0);
        gDrawContext.MoveTo(m_origin);
        gDrawContext.DrawString(Str255(kDataText));
        return;
    }
    GridComp::Draw();
    DrawRules();
}

void TableComp::DrawRules()
{
    SizeStepScope scope(m_sizeStep);
    int gap = Gap();
    Rect box;
    GetAbsBounds(box);
    gDrawContext.DrawRectangle(box);
    int x = box.left + GetMargin() + gap / 2;
    for (int c = 1; c < GetColumnCount(); ++c) {
        x += GetColumn(c)->GetWidth();
        int rule = x + (GetColumnSpacing() + gap) / 2;
        gDrawContext.DrawLine(IntPoint(rule, box.top), IntPoint(rule, box.bottom));
        x += GetColumnSpacing() + gap;
    }
    int y = box.top + GetMargin() + gap / 2;
    for (int r = 1; r < m_rowCount && static_cast<size_t>(r) < m_rowTops.size(); ++r) {
        y += m_rowBottoms[r - 1] - m_rowTops[r - 1];
        if (r == 1) {
            int first = y + gap / 4;
            gDrawContext.DrawLine(IntPoint(box.left, first), IntPoint(box.right, first));
            gDrawContext.DrawLine(IntPoint(box.left, first + gap / 2), IntPoint(box.right, first + gap / 2));
        } else {
            int rule = y + gap / 2;
            gDrawContext.DrawLine(IntPoint(box.left, rule), IntPoint(box.right, rule));
        }
        y += gap + (r == 1 ? GetTopExtra() : 0);
    }
}

void TableComp::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest)
{
    if (ShowsAsData())
        TextComp::PositionFromPoint(out, point, nearest);
    else
        GridComp::PositionFromPoint(out, point, nearest);
}

void TableComp::WriteLaTeX(LaTeXWriter& writer)
{
    if (IsInPlot()) {
        writer.WriteString(kDataText);
        return;
    }
    writer.WriteString("\\begin{tabular}{|");
    for (int c = 1; c <= GetColumnCount(); ++c)
        writer.WriteString("c|");
    writer.WriteString("} \\hline ");
    for (int r = 1; r <= m_rowCount; ++r) {
        for (int c = 1; c <= GetColumnCount(); ++c) {
            if (c > 1)
                writer.WriteString(" & ");
            writer.WriteString("$");
            GetCell(c, r)->WriteLaTeX(writer, 0, false);
            writer.WriteString("$");
        }
        writer.WriteString(" \\\\ ");
        if (r == 1)
            writer.WriteString("\\hline ");
    }
    writer.WriteString("\\hline \\end{tabular}");
}

void TableComp::WriteText(TextOutBuffer& out) const
{
    for (int r = 1; r <= m_rowCount; ++r) {
        if (r > 1)
            out.EndLine();
        for (int c = 1; c <= GetColumnCount(); ++c) {
            if (c > 1)
                out.WriteChar('\t');
            GetCell(c, r)->WriteTextAll(out);
        }
    }
}

// The table stands on its own, as a paragraph cannot hold one.
void TableComp::WriteHTML(HtmlElementWriter& writer)
{
    writer.OpenElement("table");
    writer.AddAttribute("align", "center");
    writer.AddAttribute("border", "1");
    writer.CloseStartTag();
    for (int r = 1; r <= m_rowCount; ++r) {
        const char* cellName = r == 1 ? "th" : "td";
        writer.OpenElement("tr");
        writer.CloseStartTag();
        for (int c = 1; c <= GetColumnCount(); ++c) {
            writer.OpenElement(cellName);
            writer.AddAttribute("align", "center");
            writer.CloseStartTag();
            writer.WriteRowHtml(*GetCell(c, r));
            writer.WriteEndTag(cellName);
        }
        writer.WriteEndTag("tr");
    }
    writer.WriteEndTag("table");
}

void TableComp::WriteHtml(HTMLWriter& writer)
{
    if (auto* elements = dynamic_cast<HtmlElementWriter*>(&writer))
        WriteHTML(*elements);
}
