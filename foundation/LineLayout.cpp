#include "foundation/LineLayout.h"

#include "foundation/CompList.h"
#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphStyle.h"

#include <algorithm>

void LineLayout::Measure()
{
    ParagraphComp* paragraph = m_row && m_row->GetOwner() ? m_row->GetOwner()->GetParagraph() : nullptr;
    ParagraphStyle* style = paragraph ? paragraph->GetStyle() : nullptr;
    if (style)
        gDrawContext.SetFontFamily(style->GetFontId());
    // Only the blank's height counts (the width is the indent); outside the
    // mathematics face it is the font's character box.
    if (gDrawContext.GetFontFamily() == DrawContext::kMathFamily) {
        gDrawContext.GetCharBox(' ', m_measured);
    } else {
        const Rect& box = gDrawContext.GetCurrentCharBox();
        m_measured = Rect(0, box.top, 0, box.bottom);
    }
    m_measured.left = 0;
    m_measured.right = !style ? 0 : GetStartIndex() == 1 ? style->GetFirstIndent(*paragraph) : style->GetIndent(*paragraph);
    m_rect = m_measured;
    m_lineWidth = m_rect.Width();
}

void LineLayout::PositionAt(const IntPoint&, DocPosition& out, bool)
{
    out = DocPosition(m_row, GetStartIndex());
}

// The line clears its box, but not the label it shares the line with: a
// row's labels are drawn before its lines, and the line of an empty row
// reaches across the label's column.
void LineLayout::Draw()
{
    Rect box = AbsRect();
    if (const LayoutArray* items = m_row ? m_row->GetItems() : nullptr)
        for (int i = items->GetCount(); i >= 1 && items->GetAt(i)->IsLabel(); --i)
            if (const Rect label = items->GetAt(i)->AbsRect(); label.Intersects(box)) {
                if (label.left > box.left)
                    box.right = std::min(box.right, label.left);
                else
                    box.left = std::min(box.right, label.right);
            }
    gDrawContext.EraseRect(box);
}
