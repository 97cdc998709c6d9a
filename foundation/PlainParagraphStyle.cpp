#include "foundation/PlainParagraphStyle.h"

#include "foundation/DocumentModel.h"
#include "foundation/DrawContext.h"
#include "foundation/EquationNumber.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphLayout.h"

#include <algorithm>

int PlainParagraphStyle::Scaled(const SizeTable& table)
{
    const int level = std::clamp(gDrawContext.GetBaseSize(), 0, 9);
    return table[size_t(level)] * gDrawContext.GetResolutionY() / 72;
}

int PlainParagraphStyle::ListIndent()
{
    return gDrawContext.GetPageWidth() - gDrawContext.GetPageHeight();
}

signed char PlainParagraphStyle::LargerStep(const ParagraphComp* paragraph)
{
    const DocumentModel* document = paragraph ? paragraph->GetDocument() : nullptr;
    return document && document->LargerEquations() ? -1 : 0;
}

void PlainParagraphStyle::Layout(ParagraphComp& paragraph, ParagraphComp* previous, int left, int right)
{
    ParagraphLayout::LayOutPlain(*this, paragraph, previous, left, right);
}

void PlainParagraphStyle::Place(ParagraphComp& paragraph, const IntPoint& point)
{
    ParagraphLayout::Place(*this, paragraph, point, ParagraphLayout::Alignment::justified);
}

void PlainParagraphStyle::CounterStep(EquationNumber& counters) const
{
    counters.item = 0;
    counters.subItem = 0;
}
