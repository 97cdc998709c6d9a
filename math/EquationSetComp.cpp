#include "math/EquationSetComp.h"

#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"
#include "foundation/EditCodes.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/SizeStepScope.h"
#include "foundation/TextOutBuffer.h"
#include "math/GridBraces.h"

int EquationSetComp::GetMargin() const
{
    return GridBraces::Width(GridBraces::kLeftBrace);
}

void EquationSetComp::Draw()
{
    {
        SizeStepScope scope(m_sizeStep);
        Rect box;
        GetAbsBounds(box);
        GridBraces::Draw(GridBraces::kLeftBrace, box.left, box);
        GridBraces::Draw(GridBraces::kRightBrace, box.right - GridBraces::Width(GridBraces::kRightBrace), box);
    }
    GridComp::Draw();
}

void EquationSetComp::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest)
{
    if (IsEmptyGrid()) {
        TextComp::PositionFromPoint(out, point, nearest);
        return;
    }
    SizeStepScope scope(m_sizeStep);
    PositionInRows(out, 1, point, nearest);
}

void EquationSetComp::WriteLaTeX(LaTeXWriter& writer)
{
    writer.WriteString("\\left\\{ \\begin{array}{c}");
    for (int r = 1; r <= m_rowCount; ++r) {
        if (r > 1)
            writer.WriteString(" \\\\ ");
        GetCell(1, r)->WriteLaTeX(writer, 0, false);
    }
    writer.WriteString("\\end{array} \\right\\} ");
}

void EquationSetComp::WriteLaTeXRows(LaTeXWriter& writer)
{
    for (int r = 1; r <= m_rowCount; ++r) {
        if (r > 1)
            writer.WriteString(" \\\\ ");
        GetCell(1, r)->WriteLaTeX(writer, 0, true);
    }
}

void EquationSetComp::WriteText(TextOutBuffer& out) const
{
    out.WriteString("{ ");
    for (int r = 1; r <= m_rowCount; ++r) {
        if (r > 1)
            out.WriteChar(',');
        GetCell(1, r)->WriteTextAll(out);
    }
    out.WriteString(" }");
}

int EquationSetComp::MapKey(DocPosition& position, int key, bool shift, bool ctrl)
{
    return MapRowGridKey(position, key, shift, ctrl, EditCode::kNextRowCell);
}

bool EquationSetComp::IsCommandEnabled(int commandId, int extra) const
{
    return RowGridCommandEnabled(commandId, extra);
}
