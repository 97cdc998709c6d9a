#include "foundation/LabelLayout.h"

#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"
#include "foundation/EquationLabel.h"
#include "foundation/EquationNumber.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/SizeStepScope.h"

LabelLayout::LabelLayout(ParagraphComp& paragraph) : Layout(0), m_paragraph(paragraph)
{
    if (EquationLabel* label = paragraph.GetLabel()) {
        m_text = label->GetText();
    } else {
        EquationNumber zero;
        paragraph.GetStyle()->LabelText(zero, m_text);
    }
}

void LabelLayout::Measure()
{
    SizeStepScope size(0);
    gDrawContext.SetFontFamily(m_paragraph.GetStyle()->GetLabelFontId());
    gDrawContext.GetTextExtent(m_text, m_measured);
    m_rect = m_measured;
    if (EquationLabel* label = m_paragraph.GetLabel())
        label->Measure();
}

void LabelLayout::PlaceLabel()
{
    if (EquationLabel* label = m_paragraph.GetLabel())
        label->SetOrigin(m_offset);
}

void LabelLayout::MoveTo(const IntPoint& p)
{
    Layout::MoveTo(p);
    PlaceLabel();
}

void LabelLayout::MoveBy(const IntPoint& p)
{
    Layout::MoveBy(p);
    PlaceLabel();
}

void LabelLayout::PositionAt(const IntPoint&, DocPosition& out, bool)
{
    out = DocPosition(m_paragraph.GetRow(), 0);
}

void LabelLayout::Draw()
{
    SizeStepScope size(0);
    gDrawContext.SetFontFamily(m_paragraph.GetStyle()->GetLabelFontId());
    gDrawContext.MoveTo(m_offset);
    gDrawContext.DrawString(m_text);
}
