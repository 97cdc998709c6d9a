#include "math/MatrixComp.h"

#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/SizeStepScope.h"
#include "foundation/TextOutBuffer.h"

void MatrixComp::UpdateBrackets()
{
    TextComp* outer = OwnerComponent();
    bool determinant = outer && m_owner->GetCount() == 1 && outer->Tag() == tag_AbsV;
    m_flag = determinant ? 0 : 1;
}

int MatrixComp::GetMargin() const
{
    return HasBrackets() ? gDrawContext.GetSizeUnit() : 0;
}

void MatrixComp::SetOwner(CompList* owner)
{
    GridComp::SetOwner(owner);
    if (m_flag != 1) {
        m_flag = 1;
        m_needsLayout = 1;
    }
}

void MatrixComp::Measure()
{
    UpdateBrackets();
    GridComp::Measure();
}

void MatrixComp::Draw()
{
    if (HasBrackets()) {
        SizeStepScope scope(m_sizeStep);
        int u = gDrawContext.GetSizeUnit();
        Rect box;
        GetAbsBounds(box);
        gDrawContext.SelectPen(0, 2, RGB(0, 0, 0));
        gDrawContext.MoveTo(IntPoint(box.left + 2 * u - 1, box.bottom - 1));
        gDrawContext.DrawLineRel(-u, 0);
        gDrawContext.LineTo(IntPoint(box.left + u - 1, box.top));
        gDrawContext.DrawLineRel(u, 0);
        gDrawContext.MoveTo(IntPoint(box.right - 2 * u, box.bottom - 1));
        gDrawContext.DrawLineRel(u, 0);
        gDrawContext.LineTo(IntPoint(box.right - u, box.top));
        gDrawContext.DrawLineRel(-u, 0);
        gDrawContext.RestorePen();
    }
    GridComp::Draw();
}

void MatrixComp::WriteLaTeX(LaTeXWriter& writer)
{
    UpdateBrackets();
    if (HasBrackets())
        writer.WriteString("\\left[ ");
    writer.WriteString("\\begin{array}{");
    for (int c = 1; c <= GetColumnCount(); ++c)
        writer.WriteString("c");
    writer.WriteString("}");
    for (int r = 1; r <= m_rowCount; ++r) {
        if (r > 1)
            writer.WriteString(" \\\\ ");
        for (int c = 1; c <= GetColumnCount(); ++c) {
            if (c > 1)
                writer.WriteString(" & ");
            GetCell(c, r)->WriteLaTeX(writer, 0, false);
        }
    }
    writer.WriteString("\\end{array}");
    if (HasBrackets())
        writer.WriteString("\\right] ");
}

void MatrixComp::WriteText(TextOutBuffer& out) const
{
    out.WriteChar('[');
    for (int r = 1; r <= m_rowCount; ++r) {
        if (r > 1)
            out.WriteChar(',');
        out.WriteChar('[');
        for (int c = 1; c <= GetColumnCount(); ++c) {
            if (c > 1)
                out.WriteChar(',');
            GetCell(c, r)->WriteTextAll(out);
        }
        out.WriteChar(']');
    }
    out.WriteChar(']');
}
