#include "math/ParenComp.h"

#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/SizeStepScope.h"
#include "foundation/TextOutBuffer.h"
#include "foundation/FontFamilyScope.h"

ParenComp::ParenComp(TextComp* comp)
{
    m_first->Append(comp);
}

TextComp* ParenComp::Clone(LinkRemap& remap)
{
    return new ParenComp(m_first->CloneItems(remap));
}

void ParenComp::DrawFence(unsigned char c, const IntPoint& at)
{
    SizeStepScope size(m_sizeStep);
    MathFamilyScope face;
    gDrawContext.MoveTo(at);
    if (m_tall)
        gDrawContext.DrawTallDelimiter(c, m_origin.y + m_bounds.top, m_origin.y + m_bounds.bottom);
    else
        gDrawContext.DrawChar(c);
}

void ParenComp::Draw()
{
    DrawFence('(', m_origin);
    DrawContent();
    DrawFence(')', IntPoint(m_origin.x + m_bounds.right - m_delimiterWidth - m_bounds.left, m_origin.y));
}

void ParenComp::WriteText(TextOutBuffer& out) const
{
    out.WriteChar('(');
    m_first->WriteTextAll(out);
    out.WriteChar(')');
}

void ParenComp::WriteLaTeXLeft(LaTeXWriter& writer)
{
    writer.WriteString("\\left( ");
}

void ParenComp::WriteLaTeXRight(LaTeXWriter& writer)
{
    writer.WriteString("\\right) ");
}
