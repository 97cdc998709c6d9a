#include "math/BracketComp.h"

#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/TextOutBuffer.h"

TextComp* BracketComp::Clone(LinkRemap& remap)
{
    return new BracketComp(m_first->CloneItems(remap));
}

void BracketComp::Draw()
{
    const int w = m_delimiterWidth;
    const int height = m_bounds.bottom - m_bounds.top;
    gDrawContext.MoveTo(IntPoint(m_origin.x + w - 1, m_origin.y + m_bounds.top));
    gDrawContext.DrawLineRel(-w / 2, 0);
    gDrawContext.DrawLineRel(0, height);
    gDrawContext.DrawLineRel(w / 2, 0);
    DrawContent();
    gDrawContext.MoveTo(IntPoint(m_origin.x + m_bounds.right - w, m_origin.y + m_bounds.top));
    gDrawContext.DrawLineRel(w / 2, 0);
    gDrawContext.DrawLineRel(0, height);
    gDrawContext.DrawLineRel(-w / 2, 0);
}

void BracketComp::WriteText(TextOutBuffer& out) const
{
    out.WriteChar('[');
    m_first->WriteTextAll(out);
    out.WriteChar(']');
}

void BracketComp::WriteLaTeXLeft(LaTeXWriter& writer)
{
    writer.WriteString("\\left[ ");
}

void BracketComp::WriteLaTeXRight(LaTeXWriter& writer)
{
    writer.WriteString("\\right] ");
}
