#include "math/RadicalComp.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/SizeStepScope.h"
#include "math/RowForms.h"
#include "math/TextOperand.h"

#include <algorithm>

namespace {

constexpr signed char kIndexStep = 2;

// A "]" in the index would end LaTeX's optional argument early, whether it
// stands there itself or in what a structure writes (a bracket group's
// "\right]", a matrix's brackets): such an index is written in braces.
bool NeedsBraces(const CompList& row)
{
    for (int i = 1; i <= row.GetCount(); ++i)
        if (TextComp::IsNotChar(row.GetAt(i)->Tag()) || row.GetAt(i)->GetChar() == ']')
            return true;
    return false;
}

} // namespace

RadicalComp::RadicalComp() : m_index(new CompList)
{
    m_index->SetOwner(this, 0);
    SetSizeStep(m_sizeStep);
}

RadicalComp::RadicalComp(std::unique_ptr<CompArray> radicand, std::unique_ptr<CompArray> index)
    : StructComp(std::move(radicand)), m_index(new CompList(std::move(index)))
{
    m_index->SetOwner(this, 0);
    SetSizeStep(m_sizeStep);
}

RadicalComp::~RadicalComp()
{
    delete m_index;
}

TextComp* RadicalComp::Clone(LinkRemap& remap)
{
    auto* copy = new RadicalComp(m_first->CloneItems(remap), m_index->CloneItems(remap));
    copy->SetSizeStep(m_sizeStep);
    return copy;
}

void RadicalComp::SetSizeStep(signed char step)
{
    BoxComp::SetSizeStep(step);
    m_first->SetSizeStep(step);
    m_index->SetSizeStep(static_cast<signed char>(step + kIndexStep));
}

CompList* RadicalComp::GetChild(int i) const
{
    return i == 1 ? m_first : i == 2 ? m_index : nullptr;
}

int RadicalComp::Unit() const
{
    SizeStepScope size(m_sizeStep);
    return gDrawContext.GetSizeUnit();
}

Rect RadicalComp::IndexRect(int u) const
{
    Rect X = m_index->GetRect();
    if (X.Width() < u)
        X.right = X.left + u;
    return X;
}

void RadicalComp::Measure()
{
    m_first->LayoutToContextWidth();
    m_index->LayoutToContextWidth();
    const int u = Unit();
    const Rect R = m_first->GetRect();
    const Rect X = IndexRect(u);
    const int H = R.bottom - R.top;
    m_bounds.left = 0;
    m_bounds.top = std::min(R.bottom - H / 2 - X.Height(), R.top - 2 * u);
    m_bounds.right = X.Width() + H / 3 + 3 * u / 2 + R.right;
    m_bounds.bottom = R.bottom;
    m_needsLayout = 0;
}

void RadicalComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    const int u = Unit();
    const Rect R = m_first->GetRect();
    const Rect X = IndexRect(u);
    const int H = R.bottom - R.top;
    m_index->SetOrigin(IntPoint(point.x, point.y + R.bottom - H / 2 - m_index->GetRect().bottom));
    m_first->SetOrigin(IntPoint(point.x + X.Width() + H / 3 + u, point.y));
}

void RadicalComp::Draw()
{
    m_index->Draw();
    m_first->Draw();
    const int u = Unit();
    const Rect R = m_first->GetRect();
    const Rect X = IndexRect(u);
    const int H = R.bottom - R.top;
    // The sign starts with a tick of one unit that ends under the index's
    // right edge: a stroke under the whole index would read as a minus sign
    // beside what stands before the root ("+" becoming "±").
    gDrawContext.MoveTo(IntPoint(m_origin.x + X.Width() - u, m_origin.y + R.bottom - H / 2));
    gDrawContext.DrawLineRel(u, 0);
    gDrawContext.DrawLineRel(u / 2 + H / 6, H / 2);
    gDrawContext.DrawLineRel(H / 6, -2 * u - H);
    gDrawContext.DrawLineRel(R.right + u, 0);
}

CompList* RadicalComp::GetListRight(CompList* from)
{
    if (!from)
        return m_first;
    return from == m_first ? m_index : nullptr;
}

CompList* RadicalComp::GetListLeft(CompList* from)
{
    if (!from)
        return m_index;
    return from == m_index ? m_first : nullptr;
}

CompList* RadicalComp::GetListUp(CompList* from)
{
    return from && from == m_first ? m_index : nullptr;
}

CompList* RadicalComp::GetListDown(CompList* from)
{
    return from && from == m_index ? m_first : nullptr;
}

void RadicalComp::WriteLaTeX(LaTeXWriter& writer)
{
    writer.WriteString("\\sqrt");
    if (m_index->GetCount() > 0) {
        writer.WriteString("[");
        if (NeedsBraces(*m_index))
            RowForms::WriteGroup(writer, *m_index);
        else
            RowForms::WritePlain(writer, *m_index);
        writer.WriteString("]");
    }
    RowForms::WriteGroup(writer, *m_first);
}

// A square root is "sqrt(r)"; an n-th root is the power "(r)^(1/n)", the
// exponent in parentheses so that it reads back as one fraction.
void RadicalComp::WriteText(TextOutBuffer& out) const
{
    if (m_index->GetCount() == 0) {
        out.WriteString("sqrt(");
        m_first->WriteTextAll(out);
        out.WriteChar(')');
        return;
    }
    out.WriteChar('(');
    m_first->WriteTextAll(out);
    out.WriteString(")^(1/");
    TextOperand::WriteTight(out, *m_index);
    out.WriteChar(')');
}

void RadicalComp::Write(DocWriter& writer)
{
    m_index->Write(writer);
    m_first->Write(writer);
}

void RadicalComp::Read(DocReader& reader)
{
    m_needsLayout = 1;
    m_index->Read(reader);
    m_first->Read(reader);
}
