#include "foundation/NumberedEquationStyle.h"

#include "foundation/DrawContext.h"
#include "foundation/EquationLabel.h"
#include "foundation/EquationNumber.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphLayout.h"

void NumberedEquationStyle::Layout(ParagraphComp& paragraph, ParagraphComp* previous, int left, int)
{
    const int pageHeight = gDrawContext.GetPageHeight();
    const int narrowedLeft = gDrawContext.GetPageWidth() - pageHeight + left;
    ParagraphLayout::LayOutLabelled(*this, paragraph, previous, narrowedLeft, pageHeight);
}

void NumberedEquationStyle::Place(ParagraphComp& paragraph, const IntPoint& point)
{
    ParagraphLayout::Place(*this, paragraph, point, ParagraphLayout::Alignment::numberedEquation);
}

EquationLabel* NumberedEquationStyle::MakeLabel(ParagraphComp& paragraph)
{
    return new EquationLabel(&paragraph);
}

void NumberedEquationStyle::CounterStep(EquationNumber& counters) const
{
    ++counters.equation;
    counters.item = 0;
    counters.subItem = 0;
}

void NumberedEquationStyle::LabelText(const EquationNumber& counters, Str255& out) const
{
    out.Clear();
    out.AppendChar('(');
    out.AppendNumber(counters.equation);
    out.AppendChar(')');
}

void NumberedEquationStyle::ReferenceText(const EquationNumber& counters, Str255& out, bool bracket) const
{
    out.Clear();
    out.AppendChar(bracket ? '[' : '(');
    out.AppendNumber(counters.equation);
    out.AppendChar(bracket ? ']' : ')');
}

int NumberedEquationStyle::GetEntryIndex(const ParagraphComp& paragraph) const
{
    return paragraph.GetRow()->GetCount() + 1;
}
