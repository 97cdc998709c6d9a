#include "foundation/EquationLabel.h"

#include "foundation/DrawContext.h"
#include "foundation/FontFamilyScope.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/ParagraphComp.h"
#include "foundation/SizeStepScope.h"
#include "foundation/StyleKinds.h"

namespace {

Str255 ToStr255(const Str31& text)
{
    Str255 out;
    for (int i = 0; i < text.GetLength(); ++i)
        out.AppendChar(text.GetAt(i));
    return out;
}

} // namespace

EquationLabel::EquationLabel(ParagraphComp* owner) : m_owner(owner) {}

EquationLabel::~EquationLabel()
{
    // The references read the label's text one last time: tell them while
    // the label is still whole.
    ReleaseLinks();
}

void EquationLabel::Update(EquationNumber& counters)
{
    ParagraphStyle* style = m_owner ? m_owner->GetStyle() : nullptr;
    if (!style)
        return;
    style->CounterStep(counters);
    if (counters == m_number)
        return;
    m_number = counters;
    Str255 text;
    style->LabelText(m_number, text);
    m_text.Assign(text);
    ParagraphComp* owner = m_owner;
    // A reference told of the change may end the label (its paragraph
    // changing to an unnumbered style, say); the paragraph still lays out again.
    if (NotifyLinks())
        m_needsMeasure = 1;
    owner->Invalidate();
}

void EquationLabel::GetBounds(Rect& out) const
{
    out = m_size;
    out.Offset(m_origin);
}

void EquationLabel::Relink()
{
    NotifyLinks();
}

Str255 EquationLabel::GetText() const
{
    return ToStr255(m_text);
}

void EquationLabel::GetReferenceText(Str255& out, bool fromOtherDocument) const
{
    out.Clear();
    if (ParagraphStyle* style = m_owner ? m_owner->GetStyle() : nullptr)
        style->ReferenceText(m_number, out, fromOtherDocument);
}

int EquationLabel::LabelFontId() const
{
    ParagraphStyle* style = m_owner ? m_owner->GetStyle() : nullptr;
    return style ? style->GetLabelFontId() : 0;
}

void EquationLabel::Measure()
{
    SizeStepScope size(0);
    FontFamilyScope family(LabelFontId());
    gDrawContext.GetTextExtent(GetText(), m_size);
    m_needsMeasure = 0;
}

void EquationLabel::Draw()
{
    SizeStepScope size(0);
    FontFamilyScope family(LabelFontId());
    gDrawContext.MoveTo(m_origin);
    gDrawContext.DrawString(GetText());
}

void EquationLabel::GetNumberText(Str255& out) const
{
    out.Clear();
    out.AppendNumber(m_number.section);
    if (m_number.equation > 0) {
        out.AppendChar('.');
        out.AppendNumber(m_number.equation);
    }
}

void EquationLabel::WriteNumber(LaTeXWriter& writer) const
{
    Str255 number;
    GetNumberText(number);
    writer.WriteString(number.CStr());
}

void EquationLabel::GetLaTeXName(Str255& out) const
{
    // Sections and list items count apart from equations, so their numbers
    // alone could name two labels the same.
    const int kind = m_owner ? m_owner->GetStyleKind() : StyleKind::kNumberedEquation;
    out.Clear();
    if (kind == StyleKind::kNumbered || kind == StyleKind::kSubEnumerated) {
        // Items count again after every other paragraph, so neither their
        // numbers nor the section's tell two items apart: the paragraph's
        // own number in its document does.
        out.AppendText(kind == StyleKind::kNumbered ? "item" : "subitem");
        if (m_owner->GetId() > 0) {
            out.AppendNumber(m_owner->GetId());
            return;
        }
        out.AppendNumber(m_number.section);
        out.AppendChar('.');
        out.AppendNumber(m_number.item);
        out.AppendChar('.');
        out.AppendNumber(m_number.subItem);
        return;
    }
    Str255 number;
    GetNumberText(number);
    if (kind == StyleKind::kSection)
        out.AppendText("sec");
    out.Append(number);
}

void EquationLabel::WriteLaTeXLabel(LaTeXWriter& writer) const
{
    Str255 name;
    GetLaTeXName(name);
    writer.WriteString("\\label{");
    writer.WriteString(name.CStr());
    writer.WriteString("}");
}
