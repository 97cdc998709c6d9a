#include "math/SplitDefinitionComp.h"

#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"
#include "foundation/EditCodes.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/SizeStepScope.h"
#include "foundation/Str255.h"
#include "foundation/TextOutBuffer.h"
#include "math/GridBraces.h"

int SplitDefinitionComp::GetMargin() const
{
    return GridBraces::Width(GridBraces::kLeftBrace);
}

int SplitDefinitionComp::GetColumnSpacing() const
{
    return 2 * gDrawContext.GetSizeUnit();
}

void SplitDefinitionComp::Draw()
{
    {
        SizeStepScope scope(m_sizeStep);
        Rect box;
        GetAbsBounds(box);
        GridBraces::Draw(GridBraces::kLeftBrace, box.left, box);
    }
    GridComp::Draw();
}

void SplitDefinitionComp::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest)
{
    if (IsEmptyGrid()) {
        TextComp::PositionFromPoint(out, point, nearest);
        return;
    }
    SizeStepScope scope(m_sizeStep);
    int gap = Gap();
    int x = m_origin.x + m_bounds.left + GetMargin() + gap / 2;
    int column = GetColumnCount();
    for (int c = 1; c <= GetColumnCount(); ++c) {
        x += GetColumn(c)->GetWidth() + GetColumnSpacing() + gap;
        if (x > point.x) {
            column = c;
            break;
        }
    }
    PositionInRows(out, column, point, nearest);
}

void SplitDefinitionComp::WriteLaTeX(LaTeXWriter& writer)
{
    writer.WriteString("\\left\\{ \\begin{array}{ll}");
    for (int r = 1; r <= m_rowCount; ++r) {
        if (r > 1)
            writer.WriteString(" \\\\ ");
        GetCell(1, r)->WriteLaTeX(writer, 0, false);
        writer.WriteString(" & ");
        if (CompList* condition = GetCell(2, r))
            condition->WriteLaTeX(writer, 0, false);
    }
    writer.WriteString("\\end{array} \\right. ");
}

void SplitDefinitionComp::WriteText(TextOutBuffer& out) const
{
    out.WriteChar('{');
    for (int r = 1; r <= m_rowCount; ++r) {
        GetCell(1, r)->WriteTextAll(out);
        CompList* condition = GetCell(2, r);
        Str255 plain;
        if (condition)
            condition->GetPlainText(plain);
        if (r == m_rowCount && plain.EqualsText("otherwise")) {
            out.WriteString(" otherwise");
            continue;
        }
        out.WriteString(" if ");
        if (condition)
            condition->WriteTextAll(out);
        if (r < m_rowCount)
            out.WriteString(" , ");
    }
    out.WriteChar('}');
}

int SplitDefinitionComp::MapKey(DocPosition& position, int key, bool shift, bool ctrl)
{
    return MapRowGridKey(position, key, shift, ctrl, EditCode::kNextCell);
}

bool SplitDefinitionComp::IsCommandEnabled(int commandId, int extra) const
{
    return RowGridCommandEnabled(commandId, extra);
}
