#include "math/DifferentialComp.h"

#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/SizeStepScope.h"
#include "foundation/Str255.h"
#include "math/RowForms.h"
#include "math/TextOperand.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace {

constexpr signed char kOrderStep = 2;
// An empty order means the first order, written as nothing: like a root's
// index, it shows no placeholder box.
constexpr int kOrderPlaceholder = 0;

} // namespace

DifferentialComp::DifferentialComp() : m_order(new CompList)
{
    m_order->SetOwner(this, kOrderPlaceholder);
    SetSizeStep(m_sizeStep);
}

DifferentialComp::DifferentialComp(std::unique_ptr<CompArray> variable, std::unique_ptr<CompArray> order)
    : StructComp(std::move(variable)), m_order(new CompList(std::move(order)))
{
    m_order->SetOwner(this, kOrderPlaceholder);
    SetSizeStep(m_sizeStep);
}

DifferentialComp::~DifferentialComp()
{
    delete m_order;
}

void DifferentialComp::SetRowsOwner(TextComp* owner)
{
    m_first->SetOwner(owner, 1);
    m_order->SetOwner(owner, kOrderPlaceholder);
}

void DifferentialComp::SetSizeStep(signed char step)
{
    BoxComp::SetSizeStep(step);
    m_first->SetSizeStep(step);
    m_order->SetSizeStep(static_cast<signed char>(step + kOrderStep));
}

int32_t DifferentialComp::GetOrderNumber() const
{
    if (m_order->GetCount() == 0)
        return 1;
    Str255 text;
    int n = m_order->GetPlainText(text);
    if (n == 0 || n != m_order->GetCount())
        return 0;
    int64_t value = 0;
    for (int i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(text.GetByteAt(i));
        if (!std::isdigit(c))
            return 0;
        value = std::min<int64_t>(value * 10 + (c - '0'), std::numeric_limits<int32_t>::max());
    }
    return static_cast<int32_t>(value);
}

void DifferentialComp::Measure()
{
    m_first->LayoutToContextWidth();
    m_order->LayoutToContextWidth();
    SizeStepScope size(m_sizeStep);
    const int u = gDrawContext.GetSizeUnit();
    const Rect V = m_first->GetRect();
    Rect O = m_order->GetRect();
    const int family = gDrawContext.GetFontFamily();
    gDrawContext.SetFontFamily(GetLetterFamily());
    Rect letter;
    gDrawContext.GetCharBox(GetLetter(), letter);
    gDrawContext.SetFontFamily(family);
    m_letterWidth = static_cast<int16_t>(letter.right);
    m_letterTop = static_cast<int16_t>(letter.top);
    m_orderBaseline = static_cast<int16_t>(std::max(m_letterTop - O.top / 4, V.top));
    if (m_order->GetCount() > 0) {
        O.left = -u;
        m_order->FitToRect(O);
    }
    m_bounds.left = 0;
    m_bounds.top = std::min({V.top, m_orderBaseline + O.top, int(m_letterTop)});
    m_bounds.right = m_letterWidth + O.Width() + V.right;
    m_bounds.bottom = V.bottom;
    m_needsLayout = 0;
}

void DifferentialComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    m_first->SetOrigin(IntPoint(point.x + m_letterWidth, point.y));
    m_order->SetOrigin(IntPoint(point.x + m_letterWidth + m_first->GetWidth(), point.y + m_orderBaseline));
}

void DifferentialComp::Draw()
{
    {
        SizeStepScope size(m_sizeStep);
        const int family = gDrawContext.GetFontFamily();
        gDrawContext.SetFontFamily(GetLetterFamily());
        gDrawContext.MoveTo(m_origin);
        gDrawContext.DrawChar(GetLetter());
        gDrawContext.SetFontFamily(family);
    }
    m_first->Draw();
    m_order->Draw();
}

CompList* DifferentialComp::GetListRight(CompList* from)
{
    if (!from)
        return m_first;
    return from == m_first ? m_order : nullptr;
}

CompList* DifferentialComp::GetListLeft(CompList* from)
{
    if (!from)
        return m_order;
    return from == m_order ? m_first : nullptr;
}

CompList* DifferentialComp::GetListUp(CompList* from)
{
    return from && from == m_first ? m_order : nullptr;
}

CompList* DifferentialComp::GetListDown(CompList* from)
{
    return from && from == m_order ? m_first : nullptr;
}

void DifferentialComp::WriteLaTeX(LaTeXWriter& writer)
{
    writer.WriteString(GetLaTeXLetter());
    RowForms::WritePlain(writer, *m_first);
    if (m_order->GetCount() == 0) {
        writer.WriteString(" ");
        return;
    }
    Str255 text;
    m_order->GetPlainText(text);
    writer.WriteString("^{");
    writer.WriteText(std::string_view(text.GetPtrAt(0), text.GetLength()), LaTeXPlace::kMath);
    writer.WriteString("}");
}

void DifferentialComp::WriteText(TextOutBuffer& out) const
{
    out.WriteCode(GetLetter(), GetLetterFamily());
    if (m_order->GetCount() > 0) {
        out.WriteChar('^');
        TextOperand::WriteTight(out, *m_order);
    }
    out.WriteChar(' ');
    m_first->WriteTextAll(out);
}

TextComp* TotalDifferentialComp::Clone(LinkRemap& remap)
{
    auto* copy = new TotalDifferentialComp(m_first->CloneItems(remap), m_order->CloneItems(remap));
    copy->SetSizeStep(m_sizeStep);
    return copy;
}

TextComp* PartialDifferentialComp::Clone(LinkRemap& remap)
{
    auto* copy = new PartialDifferentialComp(m_first->CloneItems(remap), m_order->CloneItems(remap));
    copy->SetSizeStep(m_sizeStep);
    return copy;
}
