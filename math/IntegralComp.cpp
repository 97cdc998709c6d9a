#include "math/IntegralComp.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/ParagraphComp.h"
#include "foundation/SizeStepScope.h"
#include "math/RowForms.h"

#include <algorithm>

IntegralComp::IntegralComp()
    : m_variable(new CompList), m_lower(new CompList), m_upper(new CompList)
{
    AdoptRows();
}

IntegralComp::IntegralComp(std::unique_ptr<CompArray> integrand, std::unique_ptr<CompArray> variable)
    : StructComp(std::move(integrand)), m_variable(new CompList(std::move(variable))), m_lower(new CompList),
      m_upper(new CompList)
{
    AdoptRows();
}

IntegralComp::IntegralComp(std::unique_ptr<CompArray> integrand, std::unique_ptr<CompArray> variable,
                           std::unique_ptr<CompArray> upper, std::unique_ptr<CompArray> lower)
    : StructComp(std::move(integrand)), m_variable(new CompList(std::move(variable))),
      m_lower(new CompList(std::move(lower))), m_upper(new CompList(std::move(upper)))
{
    AdoptRows();
}

IntegralComp::~IntegralComp()
{
    delete m_variable;
    delete m_lower;
    delete m_upper;
}

void IntegralComp::AdoptRows()
{
    AdoptRow(m_variable);
    AdoptRow(m_lower);
    AdoptRow(m_upper);
    SetSizeStep(m_sizeStep);
}

TextComp* IntegralComp::Clone(LinkRemap& remap)
{
    auto* copy = new IntegralComp(m_first->CloneItems(remap), m_variable->CloneItems(remap),
                                  m_upper->CloneItems(remap), m_lower->CloneItems(remap));
    copy->SetSizeStep(m_sizeStep);
    return copy;
}

bool IntegralComp::IsEquationForm() const
{
    ParagraphComp* paragraph = GetParagraph();
    return !paragraph || paragraph->IsEquationStyle();
}

signed char IntegralComp::LimitStep() const
{
    return static_cast<signed char>(m_sizeStep + (IsEquationForm() ? 2 : 3));
}

void IntegralComp::SetSizeStep(signed char step)
{
    BoxComp::SetSizeStep(step);
    m_first->SetSizeStep(step);
    m_variable->SetSizeStep(step);
    m_lower->SetSizeStep(LimitStep());
    m_upper->SetSizeStep(LimitStep());
}

CompList* IntegralComp::GetChild(int i) const
{
    switch (i) {
    case 1: return m_first;
    case 2: return m_variable;
    case 3: return m_lower;
    case 4: return m_upper;
    default: return nullptr;
    }
}

void IntegralComp::Measure()
{
    // The paragraph may have changed since the limits got their step.
    if (m_lower->GetSizeStep() != LimitStep()) {
        m_lower->SetSizeStep(LimitStep());
        m_upper->SetSizeStep(LimitStep());
    }
    for (int i = 1; i <= 4; ++i)
        GetChild(i)->LayoutToContextWidth();
    const Rect I = m_first->GetRect();
    const Rect V = m_variable->GetRect();
    const Rect L = m_lower->GetRect();
    const Rect U = m_upper->GetRect();

    int u;
    int h;
    Rect dBox;
    {
        SizeStepScope size(m_sizeStep);
        const int family = gDrawContext.GetFontFamily();
        u = gDrawContext.GetSizeUnit();
        gDrawContext.SetFontFamily(0);
        gDrawContext.GetCharBox(kDChar, dBox);
        gDrawContext.SetFontFamily(DrawContext::kMathFamily);
        Rect S;
        if (IsEquationForm()) {
            gDrawContext.GetLargeCharBox(kSignChar, S);
            m_upperBaseline = S.top - U.top / 2;
            m_lowerBaseline = S.bottom - L.top / 2;
        } else {
            gDrawContext.GetCharBox(kSignChar, S);
            m_upperBaseline = S.top - U.top;
            m_lowerBaseline = S.bottom;
        }
        m_signRight = S.right;
        h = gDrawContext.GetCharWidth(' ') / 2;
        gDrawContext.SetFontFamily(family);
    }

    const int overlap = (m_upperBaseline + U.bottom) - (m_lowerBaseline + L.top);
    if (overlap > 0) {
        m_upperBaseline -= u / 2 + overlap / 2;
        m_lowerBaseline += overlap / 2;
    }
    m_limitShift = m_signRight / 3;
    const int m = std::max(U.Width() + m_limitShift / 2, L.Width() - m_limitShift);
    m_integrandX = u / 2 + m_signRight + m;
    m_dX = m_integrandX + I.right + h;
    m_variableX = m_dX + dBox.Width() + h;

    m_bounds.left = 0;
    m_bounds.top = std::min({I.top, V.top, m_upperBaseline + U.top});
    m_bounds.right = m_variableX + V.right;
    m_bounds.bottom = std::max({I.bottom, V.bottom, m_lowerBaseline + L.bottom});
    m_needsLayout = 0;
}

void IntegralComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    const int upperX = point.x + m_signRight + m_limitShift / 2;
    m_upper->SetOrigin(IntPoint(upperX, point.y + m_upperBaseline));
    m_lower->SetOrigin(IntPoint(upperX - m_limitShift, point.y + m_lowerBaseline));
    m_first->SetOrigin(IntPoint(point.x + m_integrandX, point.y));
    m_variable->SetOrigin(IntPoint(point.x + m_variableX, point.y));
}

void IntegralComp::Draw()
{
    {
        SizeStepScope size(m_sizeStep);
        const int family = gDrawContext.GetFontFamily();
        gDrawContext.MoveTo(m_origin);
        gDrawContext.SetFontFamily(DrawContext::kMathFamily);
        if (IsEquationForm()) {
            Str255 sign;
            sign.AppendChar(static_cast<char>(kSignChar));
            gDrawContext.DrawTextLarger(sign);
        } else {
            gDrawContext.DrawChar(kSignChar);
        }
        gDrawContext.SetFontFamily(family);
    }
    m_upper->Draw();
    m_lower->Draw();
    m_first->Draw();
    {
        SizeStepScope size(m_sizeStep);
        const int family = gDrawContext.GetFontFamily();
        gDrawContext.SetFontFamily(0);
        gDrawContext.MoveTo(IntPoint(m_origin.x + m_dX, m_origin.y));
        gDrawContext.DrawChar(kDChar);
        gDrawContext.SetFontFamily(family);
    }
    m_variable->Draw();
}

CompList* IntegralComp::GetListRight(CompList* from)
{
    if (!from)
        return m_first;
    if (from == m_first)
        return m_variable;
    if (from == m_variable)
        return m_lower;
    if (from == m_lower)
        return m_upper;
    return nullptr;
}

CompList* IntegralComp::GetListLeft(CompList* from)
{
    if (!from)
        return m_upper;
    if (from == m_upper)
        return m_lower;
    if (from == m_lower)
        return m_variable;
    if (from == m_variable)
        return m_first;
    return nullptr;
}

CompList* IntegralComp::GetListUp(CompList* from)
{
    if (from == m_lower)
        return m_first;
    if (from == m_first)
        return m_upper;
    return nullptr;
}

CompList* IntegralComp::GetListDown(CompList* from)
{
    if (from == m_upper)
        return m_first;
    if (from == m_first)
        return m_lower;
    return nullptr;
}

void IntegralComp::WriteLaTeX(LaTeXWriter& writer)
{
    writer.WriteString("\\int");
    if (m_lower->GetCount() > 0) {
        writer.WriteString("_");
        RowForms::WriteGroup(writer, *m_lower);
    }
    if (m_upper->GetCount() > 0) {
        writer.WriteString("^");
        RowForms::WriteGroup(writer, *m_upper);
    }
    writer.WriteString(" ");
    RowForms::WritePlain(writer, *m_first);
    writer.WriteString(" d");
    RowForms::WritePlain(writer, *m_variable);
}

void IntegralComp::WriteText(TextOutBuffer& out) const
{
    out.WriteCode(kSignChar, FontId::kMath);
    RowForms::WriteLimit(out, "_", *m_lower);
    RowForms::WriteLimit(out, "^", *m_upper);
    out.WriteChar(' ');
    m_first->WriteTextAll(out);
    out.WriteString(" d ");
    m_variable->WriteTextAll(out);
}

void IntegralComp::Write(DocWriter& writer)
{
    m_first->Write(writer);
    m_variable->Write(writer);
    m_upper->Write(writer);
    m_lower->Write(writer);
}

void IntegralComp::Read(DocReader& reader)
{
    m_needsLayout = 1;
    m_first->Read(reader);
    m_variable->Read(reader);
    m_upper->Read(reader);
    m_lower->Read(reader);
}
