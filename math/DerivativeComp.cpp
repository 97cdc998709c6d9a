#include "math/DerivativeComp.h"

#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/SizeStepScope.h"
#include "foundation/Str255.h"
#include "math/DifferentialComp.h"
#include "math/RowForms.h"
#include "math/TextOperand.h"

#include <algorithm>

namespace {

constexpr signed char kNumeratorOrderStep = 2;

} // namespace

DerivativeComp::DerivativeComp() : m_numeratorOrder(new CompList)
{
    m_numeratorOrder->SetOwner(this, 0);
}

DerivativeComp::DerivativeComp(std::unique_ptr<CompArray> operand)
    : StructComp(std::move(operand)), m_numeratorOrder(new CompList)
{
    m_numeratorOrder->SetOwner(this, 0);
}

DerivativeComp::~DerivativeComp()
{
    delete m_numeratorOrder;
}

int DerivativeComp::Unit() const
{
    SizeStepScope size(m_sizeStep);
    return gDrawContext.GetSizeUnit();
}

void DerivativeComp::AdoptItem(DifferentialComp* item)
{
    item->SetOwner(nullptr);
    item->SetSizeStep(m_sizeStep);
    item->SetRowsOwner(this);
}

void DerivativeComp::SetSizeStep(signed char step)
{
    BoxComp::SetSizeStep(step);
    m_first->SetSizeStep(step);
    m_numeratorOrder->SetSizeStep(static_cast<signed char>(step + kNumeratorOrderStep));
    for (int k = 1; k <= GetVariableCount(); ++k)
        if (DifferentialComp* item = GetVariable(k))
            item->SetSizeStep(step);
}

void DerivativeComp::MarkDirty()
{
    m_first->InvalidateAll();
    m_numeratorOrder->InvalidateAll();
    for (int k = 1; k <= GetVariableCount(); ++k)
        if (DifferentialComp* item = GetVariable(k))
            item->MarkDirty();
    m_needsLayout = 1;
}

CompList* DerivativeComp::GetChild(int i) const
{
    const int n = GetVariableCount();
    if (i == 2 * n + 1)
        return m_first;
    if (i < 1 || i > 2 * n)
        return nullptr;
    DifferentialComp* item = GetVariable((i + 1) / 2);
    return item ? item->GetChild(i % 2 == 1 ? 1 : 2) : nullptr;
}

int DerivativeComp::ItemOfRow(const CompList* row, bool& isOrder) const
{
    for (int k = 1; k <= GetVariableCount(); ++k) {
        DifferentialComp* item = GetVariable(k);
        if (item && (row == item->VariableRow() || row == item->OrderRow())) {
            isOrder = row == item->OrderRow();
            return k;
        }
    }
    return 0;
}

CompList* DerivativeComp::GetListRight(CompList* from)
{
    if (!from)
        return GetChild(1);
    bool isOrder = false;
    int k = ItemOfRow(from, isOrder);
    if (k == 0)
        return nullptr;
    return GetChild(isOrder ? 2 * k + 1 : 2 * k);
}

CompList* DerivativeComp::GetListLeft(CompList* from)
{
    if (!from)
        return m_first;
    if (from == m_first)
        return GetChild(2 * GetVariableCount());
    bool isOrder = false;
    int k = ItemOfRow(from, isOrder);
    if (k == 0)
        return nullptr;
    return GetChild(isOrder ? 2 * k - 1 : 2 * k - 2);
}

CompList* DerivativeComp::GetListUp(CompList* from)
{
    if (!from || from == m_first)
        return nullptr;
    bool isOrder = false;
    int k = ItemOfRow(from, isOrder);
    if (k == 0)
        return nullptr;
    return isOrder ? m_first : GetChild(2 * k);
}

CompList* DerivativeComp::GetListDown(CompList* from)
{
    if (!from)
        return nullptr;
    if (from == m_first)
        return GetChild(2);
    bool isOrder = false;
    int k = ItemOfRow(from, isOrder);
    return k != 0 && isOrder ? GetChild(2 * k - 1) : nullptr;
}

void DerivativeComp::GetEntryPosition(DocPosition& out)
{
    out = DocPosition(GetChild(1), 1);
}

Str255 DerivativeComp::SumOfOrders() const
{
    int64_t sum = 0;
    Str255 symbolic;
    for (int k = 1; k <= GetVariableCount(); ++k) {
        DifferentialComp* item = GetVariable(k);
        int32_t order = item->GetOrderNumber();
        if (order != 0) {
            sum = std::min<int64_t>(sum + order, INT32_MAX);
            continue;
        }
        Str255 text;
        item->OrderRow()->GetPlainText(text);
        if (symbolic.GetLength() > 0)
            symbolic.AppendText(" + ");
        symbolic.Append(text);
    }
    Str255 result;
    if (sum > 0) {
        result.AppendNumber(static_cast<int>(sum));
        if (symbolic.GetLength() > 0)
            result.AppendText(" + ");
    }
    result.Append(symbolic);
    return result;
}

void DerivativeComp::UpdateNumeratorOrder()
{
    CompList* order;
    if (GetVariableCount() == 1)
        order = GetVariable(1)->OrderRow()->Clone();
    else
        order = new CompList(SumOfOrders());
    delete m_numeratorOrder;
    m_numeratorOrder = order;
    m_numeratorOrder->SetOwner(this, 0);
    m_numeratorOrder->SetSizeStep(static_cast<signed char>(m_sizeStep + kNumeratorOrderStep));
}

void DerivativeComp::Measure()
{
    if (!m_needsLayout)
        return;
    UpdateNumeratorOrder();
    m_numeratorOrder->LayoutToContextWidth();
    m_first->LayoutToContextWidth();
    const int u = Unit();
    const Rect D = MeasureDenominator(u);

    SizeStepScope size(m_sizeStep);
    const int family = gDrawContext.GetFontFamily();
    gDrawContext.SetFontFamily(GetLetterFamily());
    Rect letter;
    gDrawContext.GetCharBox(GetLetter(), letter);
    gDrawContext.SetFontFamily(family);
    m_letterWidth = static_cast<int16_t>(letter.right);
    m_letterTop = static_cast<int16_t>(letter.top);
    Rect O = m_numeratorOrder->GetRect();
    m_orderBaseline = static_cast<int16_t>(m_letterTop - O.top / 2);
    if (m_numeratorOrder->GetCount() > 0) {
        O.left = NumeratorOrderGap(u);
        m_numeratorOrder->FitToRect(O);
    }
    const Rect F = m_first->GetRect();
    m_numeratorBox.left = 0;
    m_numeratorBox.right = m_letterWidth + O.Width() + F.Width();
    m_numeratorBox.bottom = F.bottom;
    m_numeratorBox.top = std::min(m_letterTop + O.top / 2, F.top);
    m_axis = static_cast<int16_t>(gDrawContext.GetAxisHeight());

    m_bounds.left = 0;
    m_bounds.top = m_axis - 2 * u - (m_numeratorBox.bottom - m_numeratorBox.top);
    m_bounds.bottom = m_axis + u + (D.bottom - D.top);
    m_bounds.right = 2 * u + std::max(m_numeratorBox.right, D.right);
    m_needsLayout = 0;
}

void DerivativeComp::PlaceNumerator(const IntPoint& point, int u)
{
    m_origin = point;
    const int W = m_bounds.right;
    const int yn = point.y + m_axis - 3 * u / 2 - m_numeratorBox.bottom;
    const int xn = point.x + (W - m_numeratorBox.right) / 2;
    m_numeratorOrder->SetOrigin(IntPoint(xn + m_letterWidth, yn + m_orderBaseline));
    m_first->SetOrigin(IntPoint(xn + m_letterWidth + m_numeratorOrder->GetWidth(), yn));
}

// The letter stands on the numerator's baseline, with the order and operand.
void DerivativeComp::Draw()
{
    {
        SizeStepScope size(m_sizeStep);
        const int u = gDrawContext.GetSizeUnit();
        const int W = m_bounds.right;
        const int family = gDrawContext.GetFontFamily();
        gDrawContext.SetFontFamily(GetLetterFamily());
        gDrawContext.MoveTo(IntPoint(m_origin.x + (W - m_numeratorBox.right) / 2,
                                     m_origin.y + m_axis - 3 * u / 2 - m_numeratorBox.bottom));
        gDrawContext.DrawChar(GetLetter());
        gDrawContext.SetFontFamily(family);
        const IntPoint ruleStart(m_origin.x + u / 2, m_origin.y + m_axis - u / 2);
        gDrawContext.DrawLine(ruleStart, IntPoint(ruleStart.x + W - u, ruleStart.y));
    }
    m_numeratorOrder->Draw();
    m_first->Draw();
    for (int k = 1; k <= GetVariableCount(); ++k)
        GetVariable(k)->Draw();
}

void DerivativeComp::WriteLaTeX(LaTeXWriter& writer)
{
    if (m_needsLayout)
        UpdateNumeratorOrder();
    writer.WriteString("\\frac{");
    writer.WriteString(GetLaTeXLetter());
    if (m_numeratorOrder->GetCount() == 0) {
        writer.WriteString(" ");
    } else {
        Str255 text;
        m_numeratorOrder->GetPlainText(text);
        writer.WriteString("^{");
        writer.WriteText(std::string_view(text.GetPtrAt(0), text.GetLength()), LaTeXPlace::kMath);
        writer.WriteString("}");
    }
    if (m_first->GetCount() > 0)
        RowForms::WritePlain(writer, *m_first);
    writer.WriteString("}{");
    for (int k = 1; k <= GetVariableCount(); ++k) {
        GetVariable(k)->WriteLaTeX(writer);
        if (SpacesItems())
            writer.WriteString(" ");
    }
    writer.WriteString("}");
}

// Written from the items' current orders, so the text never shows a total
// order older than the items.
void DerivativeComp::WriteText(TextOutBuffer& out) const
{
    out.WriteCode(GetLetter(), GetLetterFamily());
    if (GetVariableCount() == 1) {
        const CompList& order = *GetVariable(1)->OrderRow();
        if (order.GetCount() > 0) {
            out.WriteChar('^');
            TextOperand::WriteTight(out, order);
        }
    } else {
        Str255 sum = SumOfOrders();
        const bool parenthesize = sum.ContainsText(" ");
        if (sum.GetLength() > 0) {
            out.WriteString(parenthesize ? "^(" : "^");
            out.WriteString(sum.CStr());
            if (parenthesize)
                out.WriteChar(')');
        }
    }
    if (m_first->GetCount() > 0) {
        out.WriteChar(' ');
        RowForms::WriteOperand(out, *m_first);
    }
    out.WriteChar('/');
    for (int k = 1; k <= GetVariableCount(); ++k)
        GetVariable(k)->WriteText(out);
}
