#include "math/FractionComp.h"

#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/ParagraphComp.h"
#include "foundation/SizeStepScope.h"
#include "foundation/FontFamilyScope.h"
#include "math/RowForms.h"
#include "math/TextOperand.h"

#include <algorithm>


FractionComp::FractionComp() : m_denominator(new CompList)
{
    AdoptRow(m_denominator);
}

FractionComp::FractionComp(std::unique_ptr<CompArray> numerator, std::unique_ptr<CompArray> denominator)
    : StructComp(std::move(numerator)), m_denominator(new CompList(std::move(denominator)))
{
    AdoptRow(m_denominator);
}

FractionComp::~FractionComp()
{
    delete m_denominator;
}

TextComp* FractionComp::Clone(LinkRemap& remap)
{
    auto numerator = m_first->CloneItems(remap);
    return new FractionComp(std::move(numerator), m_denominator->CloneItems(remap));
}

bool FractionComp::InEquation() const
{
    ParagraphComp* paragraph = GetParagraph();
    return paragraph && paragraph->IsEquationStyle();
}

// ---- layout ----

void FractionComp::Measure()
{
    SizeStepScope size(m_sizeStep);
    m_first->LayoutToContextWidth();
    m_denominator->LayoutToContextWidth();
    m_unit = gDrawContext.GetSizeUnit();
    m_builtUp = InEquation();
    if (m_builtUp)
        MeasureBuiltUp(m_first->GetRect(), m_denominator->GetRect());
    else
        MeasureInline(m_first->GetRect(), m_denominator->GetRect());
    m_needsLayout = 0;
}

void FractionComp::MeasureBuiltUp(const Rect& n, const Rect& d)
{
    const int u = m_unit;
    m_axis = gDrawContext.GetAxisHeight();
    m_bounds.left = 0;
    m_bounds.top = m_axis - 2 * u - (n.bottom - n.top);
    m_bounds.bottom = m_axis + 2 * u - u / 2 + (d.bottom - d.top);
    // Padded only when the denominator is the wider: one-sided on purpose, the
    // line breaks and pictures of stored documents depend on this width.
    m_bounds.right = n.right > d.right ? n.right : d.right + 2 * u;
}

void FractionComp::MeasureInline(const Rect& n, const Rect& d)
{
    {
        MathFamilyScope face;
        m_slashWidth = gDrawContext.GetCharWidth('/');
    }
    m_bounds.left = 0;
    m_bounds.top = std::min(n.top, d.top);
    m_bounds.bottom = std::max(n.bottom, d.bottom);
    m_bounds.right = n.right + m_slashWidth + d.right + m_unit;
}

void FractionComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    const int u = m_unit;
    const Rect& n = m_first->GetRect();
    const Rect& d = m_denominator->GetRect();
    if (m_builtUp) {
        const int w = m_bounds.right;
        m_first->SetOrigin(IntPoint(point.x + (w - n.right) / 2, point.y + m_axis - u - n.bottom));
        m_denominator->SetOrigin(IntPoint(point.x + (w - d.right) / 2, point.y + m_axis + 2 * u - u / 2 - d.top));
    } else {
        m_first->SetOrigin(point);
        m_denominator->SetOrigin(IntPoint(point.x + m_slashWidth + n.right + u, point.y));
    }
}

void FractionComp::Draw()
{
    m_first->Draw();
    m_denominator->Draw();
    SizeStepScope size(m_sizeStep);
    const int u = m_unit;
    if (m_builtUp) {
        gDrawContext.MoveTo(IntPoint(m_origin.x + u / 2, m_origin.y + m_axis - u / 2));
        gDrawContext.DrawLineRel(m_bounds.right - u, 0);
    } else {
        MathFamilyScope face;
        gDrawContext.MoveTo(IntPoint(m_origin.x + u / 2 + m_first->GetWidth(), m_origin.y));
        gDrawContext.TextOutAt("/");
    }
}

// ---- hit testing and caret moves ----

void FractionComp::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest)
{
    if (m_first->HitTest(point)) {
        m_first->PositionFromPoint(out, point, nearest);
        return;
    }
    if (m_denominator->HitTest(point)) {
        m_denominator->PositionFromPoint(out, point, nearest);
        return;
    }
    const bool left = point.x < m_origin.x + (m_bounds.left + m_bounds.right) / 2;
    CompList* row = point.y > m_origin.y + m_axis ? m_denominator : m_first;
    out = DocPosition(row, left ? 1 : row->GetCount() + 1);
}

CompList* FractionComp::GetListRight(CompList* from)
{
    if (!from)
        return m_first;
    return from == m_first ? m_denominator : nullptr;
}

CompList* FractionComp::GetListLeft(CompList* from)
{
    if (!from)
        return m_denominator;
    return from == m_denominator ? m_first : nullptr;
}

CompList* FractionComp::GetListUp(CompList* from)
{
    return from && from == m_denominator ? m_first : nullptr;
}

CompList* FractionComp::GetListDown(CompList* from)
{
    return from && from == m_first ? m_denominator : nullptr;
}

// ---- text and file forms ----

void FractionComp::WriteLaTeX(LaTeXWriter& writer)
{
    writer.WriteString("\\frac");
    RowForms::WriteGroup(writer, *m_first);
    RowForms::WriteGroup(writer, *m_denominator);
}

void FractionComp::WriteText(TextOutBuffer& out) const
{
    TextOperand::WriteNumerator(out, *m_first);
    out.WriteChar('/');
    TextOperand::WriteTight(out, *m_denominator);
}

void FractionComp::Write(DocWriter& writer)
{
    m_first->Write(writer);
    m_denominator->Write(writer);
}

void FractionComp::Read(DocReader& reader)
{
    m_first->Read(reader);
    m_denominator->Read(reader);
    m_needsLayout = 1;
}
