#include "foundation/LabelledStyle.h"

#include "foundation/DrawContext.h"
#include "foundation/EquationLabel.h"
#include "foundation/EquationNumber.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphLayout.h"
#include "foundation/SizeStepScope.h"

namespace {

constexpr char kSectionMark = static_cast<char>(0xA4);
constexpr char kBullet = static_cast<char>(0x95);

void Open(Str255& out, bool bracket)
{
    out.Clear();
    out.AppendChar(bracket ? '[' : '(');
}

void Close(Str255& out, bool bracket)
{
    out.AppendChar(bracket ? ']' : ')');
}

void AppendItemAndSubItem(const EquationNumber& counters, Str255& out)
{
    out.AppendNumber(counters.item);
    out.AppendChar('.');
    out.AppendNumber(counters.subItem);
}

} // namespace

// ---- LabelledStyle ----

void LabelledStyle::Layout(ParagraphComp& paragraph, ParagraphComp* previous, int left, int)
{
    ParagraphLayout::LayOutLabelled(*this, paragraph, previous, left, gDrawContext.GetPageHeight());
}

void LabelledStyle::Place(ParagraphComp& paragraph, const IntPoint& point)
{
    ParagraphLayout::Place(*this, paragraph, point, ParagraphLayout::Alignment::left);
}

int LabelledStyle::SizeUnits(int count) const
{
    SizeStepScope size(GetSizeStep(nullptr));
    return count * gDrawContext.GetSizeUnit();
}

int LabelledStyle::GetLabelGap() const
{
    return SizeUnits(2);
}

// ---- SectionStyle ----

int SectionStyle::GetFirstIndent(const ParagraphComp& paragraph) const
{
    Str255 text;
    if (EquationLabel* label = paragraph.GetLabel())
        text = label->GetText();
    Rect extent;
    {
        SizeStepScope size(0);
        gDrawContext.SetFontFamily(GetLabelFontId());
        gDrawContext.GetTextExtent(text, extent);
    }
    return extent.Width() + GetLabelGap();
}

void SectionStyle::Layout(ParagraphComp& paragraph, ParagraphComp* previous, int left, int right)
{
    ParagraphLayout::LayOutLabelled(*this, paragraph, previous, left, right);
}

EquationLabel* SectionStyle::MakeLabel(ParagraphComp& paragraph)
{
    return new EquationLabel(&paragraph);
}

void SectionStyle::CounterStep(EquationNumber& counters) const
{
    ++counters.section;
    counters.item = 0;
    counters.subItem = 0;
}

void SectionStyle::LabelText(const EquationNumber& counters, Str255& out) const
{
    out.Clear();
    out.AppendNumber(counters.section);
}

void SectionStyle::ReferenceText(const EquationNumber& counters, Str255& out, bool bracket) const
{
    Open(out, bracket);
    out.AppendChar(kSectionMark);
    out.AppendNumber(counters.section);
    Close(out, bracket);
}

// ---- NumberedParagraphStyle ----

EquationLabel* NumberedParagraphStyle::MakeLabel(ParagraphComp& paragraph)
{
    return new EquationLabel(&paragraph);
}

void NumberedParagraphStyle::CounterStep(EquationNumber& counters) const
{
    ++counters.item;
    counters.subItem = 0;
}

void NumberedParagraphStyle::LabelText(const EquationNumber& counters, Str255& out) const
{
    out.Clear();
    out.AppendNumber(counters.item);
    out.AppendChar('.');
}

void NumberedParagraphStyle::ReferenceText(const EquationNumber& counters, Str255& out, bool bracket) const
{
    Open(out, bracket);
    out.AppendChar('#');
    out.AppendNumber(counters.item);
    Close(out, bracket);
}

// ---- SubEnumeratedParagraphStyle ----

void SubEnumeratedParagraphStyle::CounterStep(EquationNumber& counters) const
{
    ++counters.subItem;
}

void SubEnumeratedParagraphStyle::LabelText(const EquationNumber& counters, Str255& out) const
{
    out.Clear();
    AppendItemAndSubItem(counters, out);
    out.AppendChar('.');
}

void SubEnumeratedParagraphStyle::ReferenceText(const EquationNumber& counters, Str255& out, bool bracket) const
{
    Open(out, bracket);
    out.AppendChar('#');
    AppendItemAndSubItem(counters, out);
    Close(out, bracket);
}

// ---- itemized styles ----

void ItemizedParagraphStyle::LabelText(const EquationNumber&, Str255& out) const
{
    out.Clear();
    out.AppendChar(kBullet);
}

void SubItemizedParagraphStyle::LabelText(const EquationNumber&, Str255& out) const
{
    out.Clear();
    out.AppendChar('-');
}
