#include "foundation/PlaceholderBox.h"

#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/SizeStepScope.h"
#include "foundation/TextOutBuffer.h"

void PlaceholderBox::Measure()
{
    SizeStepScope size(m_sizeStep);
    m_bounds = gDrawContext.GetEmBox();
    m_bounds.right = 2 * m_bounds.right - m_bounds.left;
    m_needsLayout = 0;
}

void PlaceholderBox::Draw()
{
    Rect box;
    GetAbsBounds(box);
    const int w = box.Width();
    const int h = box.Height();
    gDrawContext.MoveTo(IntPoint(box.left, box.top));
    gDrawContext.DrawLineRel(w, 0);
    gDrawContext.DrawLineRel(0, h);
    gDrawContext.DrawLineRel(-w, 0);
    gDrawContext.DrawLineRel(0, -h);
    gDrawContext.DrawLine(IntPoint(box.left, box.top), IntPoint(box.right, box.bottom));
    gDrawContext.DrawLine(IntPoint(box.left, box.bottom), IntPoint(box.right, box.top));
}

void PlaceholderBox::WriteLaTeX(LaTeXWriter& writer)
{
    writer.WriteString("\\bowtie ");
}

void PlaceholderBox::WriteText(TextOutBuffer& out) const
{
    out.WriteString("missing");
}
