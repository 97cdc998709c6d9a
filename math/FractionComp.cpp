#include "math/FractionComp.h"

#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/ParagraphComp.h"
#include "foundation/SizeStepScope.h"
#include "foundation/Str255.h"
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

bool FractionComp::IsScripted() const
{
    const int index = IndexInOwner();
    TextComp* next = index > 0 ? m_owner->GetAt(index + 1) : nullptr;
    if (!next)
        return false;
    const TypeTag tag = next->Tag();
    return tag == tag_Expo || tag == tag_Subs;
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

bool FractionComp::IsDirty() const
{
    return BoxComp::IsDirty() || (!m_builtUp && m_fenceWhole != IsScripted());
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
    m_fenceNumerator = TextOperand::NumeratorNeedsBrackets(*m_first);
    m_fenceDenominator = TextOperand::DenominatorNeedsBrackets(*m_denominator);
    m_fenceWhole = IsScripted();
    Rect fence;
    {
        MathFamilyScope face;
        m_slashWidth = gDrawContext.GetCharWidth('/');
        m_openWidth = gDrawContext.GetCharWidth('(');
        m_closeWidth = gDrawContext.GetCharWidth(')');
        gDrawContext.GetTextExtent(Str255("()"), fence);
    }
    m_bounds.left = 0;
    m_bounds.top = std::min(n.top, d.top);
    m_bounds.bottom = std::max(n.bottom, d.bottom);
    if (m_fenceNumerator || m_fenceDenominator || m_fenceWhole) {
        m_bounds.top = std::min(m_bounds.top, fence.top);
        m_bounds.bottom = std::max(m_bounds.bottom, fence.bottom);
    }
    m_bounds.right = InlineDenominatorLeft() + OpenWidth(m_fenceDenominator) + d.right +
        CloseWidth(m_fenceDenominator) + CloseWidth(m_fenceWhole);
}

int FractionComp::InlineNumeratorRight() const
{
    return OpenWidth(m_fenceWhole) + OpenWidth(m_fenceNumerator) + m_first->GetRect().right;
}

int FractionComp::InlineDenominatorLeft() const
{
    return InlineNumeratorRight() + CloseWidth(m_fenceNumerator) + m_slashWidth + m_unit;
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
        m_first->SetOrigin(IntPoint(point.x + OpenWidth(m_fenceWhole) + OpenWidth(m_fenceNumerator), point.y));
        m_denominator->SetOrigin(IntPoint(point.x + InlineDenominatorLeft() + OpenWidth(m_fenceDenominator), point.y));
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
        const int numeratorRight = m_origin.x + InlineNumeratorRight();
        const int denominatorLeft = m_origin.x + InlineDenominatorLeft();
        if (m_fenceWhole)
            DrawFence(m_origin, IntPoint(m_origin.x + m_bounds.right - m_closeWidth, m_origin.y));
        if (m_fenceNumerator)
            DrawFence(IntPoint(m_origin.x + OpenWidth(m_fenceWhole), m_origin.y), IntPoint(numeratorRight, m_origin.y));
        gDrawContext.MoveTo(IntPoint(numeratorRight + CloseWidth(m_fenceNumerator) + u / 2, m_origin.y));
        gDrawContext.TextOutAt("/");
        if (m_fenceDenominator)
            DrawFence(IntPoint(denominatorLeft, m_origin.y),
                      IntPoint(denominatorLeft + m_openWidth + m_denominator->GetWidth(), m_origin.y));
    }
}

void FractionComp::DrawFence(const IntPoint& open, const IntPoint& close)
{
    gDrawContext.MoveTo(open);
    gDrawContext.TextOutAt("(");
    gDrawContext.MoveTo(close);
    gDrawContext.TextOutAt(")");
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

// The inline form's brackets around a scripted fraction carry over; a
// built-up fraction shows none.
void FractionComp::WriteLaTeX(LaTeXWriter& writer)
{
    const bool fenced = IsScripted() && IsInline();
    if (fenced)
        writer.WriteString("\\left( ");
    writer.WriteString("\\frac");
    RowForms::WriteGroup(writer, *m_first);
    RowForms::WriteGroup(writer, *m_denominator);
    if (fenced)
        writer.WriteString("\\right) ");
}

// Bracketed whole before a script in either form: the text 2/3^2 would read
// as 2/(3^2).
void FractionComp::WriteText(TextOutBuffer& out) const
{
    const bool fenced = IsScripted();
    if (fenced)
        out.WriteChar('(');
    TextOperand::WriteNumerator(out, *m_first);
    out.WriteChar('/');
    TextOperand::WriteDenominator(out, *m_denominator);
    if (fenced)
        out.WriteChar(')');
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
