#include "math/BigOperatorComp.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/SizeStepScope.h"
#include "math/RowForms.h"

#include <algorithm>

namespace {

constexpr signed char kBoundStep = 3;

} // namespace

BigOperatorComp::BigOperatorComp() : m_upper(new CompList)
{
    AdoptRow(m_upper);
    SetSizeStep(m_sizeStep);
}

BigOperatorComp::BigOperatorComp(std::unique_ptr<CompArray> upper, std::unique_ptr<CompArray> lower)
    : StructComp(std::move(lower)), m_upper(new CompList(std::move(upper)))
{
    AdoptRow(m_upper);
    SetSizeStep(m_sizeStep);
}

BigOperatorComp::~BigOperatorComp()
{
    delete m_upper;
}

void BigOperatorComp::SetSizeStep(signed char step)
{
    BoxComp::SetSizeStep(step);
    m_first->SetSizeStep(static_cast<signed char>(step + kBoundStep));
    m_upper->SetSizeStep(static_cast<signed char>(step + kBoundStep));
}

CompList* BigOperatorComp::GetChild(int i) const
{
    return i == 1 ? m_first : i == 2 ? m_upper : nullptr;
}

int BigOperatorComp::SignUnit() const
{
    SizeStepScope size(m_sizeStep);
    return gDrawContext.GetSizeUnit();
}

void BigOperatorComp::Measure()
{
    m_first->LayoutToContextWidth();
    m_upper->LayoutToContextWidth();
    const Rect Lo = m_first->GetRect();
    const Rect Up = m_upper->GetRect();
    int u;
    {
        SizeStepScope size(m_sizeStep);
        const int family = gDrawContext.GetFontFamily();
        u = gDrawContext.GetSizeUnit();
        gDrawContext.SetFontFamily(DrawContext::kMathFamily);
        gDrawContext.GetLargeCharBox(GetSignChar(), m_signBox);
        gDrawContext.SetFontFamily(family);
    }
    m_bounds.left = 0;
    m_bounds.right = std::max({m_signBox.right, Up.right, Lo.right});
    m_bounds.top = m_signBox.top - u - Up.Height();
    m_bounds.bottom = m_signBox.bottom + u + Lo.Height();
    m_needsLayout = 0;
}

void BigOperatorComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    const int u = SignUnit();
    const int W = m_bounds.right;
    const Rect Lo = m_first->GetRect();
    const Rect Up = m_upper->GetRect();
    m_upper->SetOrigin(IntPoint(point.x + (W - Up.right) / 2, point.y + m_signBox.top - Up.bottom - u));
    m_first->SetOrigin(IntPoint(point.x + (W - Lo.right) / 2, point.y + m_signBox.bottom - Lo.top + u));
}

void BigOperatorComp::Draw()
{
    {
        SizeStepScope size(m_sizeStep);
        const int family = gDrawContext.GetFontFamily();
        gDrawContext.MoveTo(IntPoint(m_origin.x + (m_bounds.right - m_signBox.right) / 2, m_origin.y));
        gDrawContext.SetFontFamily(DrawContext::kMathFamily);
        Str255 sign;
        sign.AppendChar(static_cast<char>(GetSignChar()));
        gDrawContext.DrawTextLarger(sign);
        gDrawContext.SetFontFamily(family);
    }
    m_first->Draw();
    m_upper->Draw();
}

CompList* BigOperatorComp::GetListRight(CompList* from)
{
    if (!from)
        return m_first;
    return from == m_first ? m_upper : nullptr;
}

CompList* BigOperatorComp::GetListLeft(CompList* from)
{
    if (!from)
        return m_upper;
    return from == m_upper ? m_first : nullptr;
}

CompList* BigOperatorComp::GetListUp(CompList* from)
{
    return from && from == m_first ? m_upper : nullptr;
}

CompList* BigOperatorComp::GetListDown(CompList* from)
{
    return from && from == m_upper ? m_first : nullptr;
}

void BigOperatorComp::WriteLaTeX(LaTeXWriter& writer)
{
    WriteLaTeXCommand(writer);
    writer.WriteString("_");
    RowForms::WriteGroup(writer, *m_first);
    writer.WriteString("^");
    RowForms::WriteGroup(writer, *m_upper);
    writer.WriteString(" ");
}

void BigOperatorComp::WriteText(TextOutBuffer& out) const
{
    out.WriteCode(GetSignChar(), FontId::kMath);
    if (out.ShowsLimits()) {
        RowForms::WriteLimit(out, "_", *m_first);
        RowForms::WriteLimit(out, "^", *m_upper);
        out.WriteChar(' ');
        return;
    }
    out.WriteChar(' ');
    m_first->WriteTextAll(out);
}

void BigOperatorComp::Write(DocWriter& writer)
{
    m_upper->Write(writer);
    m_first->Write(writer);
}

void BigOperatorComp::Read(DocReader& reader)
{
    m_needsLayout = 1;
    m_upper->Read(reader);
    m_first->Read(reader);
}
