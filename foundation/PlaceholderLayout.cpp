#include "foundation/PlaceholderLayout.h"

#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"

void PlaceholderLayout::Measure()
{
    m_measured = m_show ? gDrawContext.GetEmBox() : Rect();
    m_rect = m_measured;
}

void PlaceholderLayout::PositionAt(const IntPoint&, DocPosition& out, bool)
{
    out = DocPosition(m_row, 1);
}

void PlaceholderLayout::Draw()
{
    if (m_show)
        gDrawContext.FrameRectColor(AbsRect(), DrawContext::kGrey);
}

void GrayLayout::Measure()
{
    m_measured = gDrawContext.GetEmBox();
    m_measured.right = m_measured.left + 4 * m_measured.Width();
    m_rect = m_measured;
}

void GrayLayout::Draw()
{
    gDrawContext.FillGrayBox(m_offset);
}
