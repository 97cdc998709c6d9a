#include "math/AbsValueComp.h"

#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/TextOutBuffer.h"
#include "math/MatrixComp.h"

AbsValueComp::AbsValueComp(std::unique_ptr<CompArray> items) : DelimiterComp(std::move(items))
{
    TextComp* only = m_first->GetCount() == 1 ? m_first->GetAt(1) : nullptr;
    if (only && only->Tag() == tag_Matr)
        static_cast<MatrixComp*>(only)->UpdateBrackets();
}

TextComp* AbsValueComp::Clone(LinkRemap& remap)
{
    return new AbsValueComp(m_first->CloneItems(remap));
}

void AbsValueComp::Draw()
{
    const int w = m_delimiterWidth;
    const int height = m_bounds.bottom - m_bounds.top;
    gDrawContext.MoveTo(IntPoint(m_origin.x + w / 2, m_origin.y + m_bounds.top));
    gDrawContext.DrawLineRel(0, height);
    DrawContent();
    gDrawContext.MoveTo(IntPoint(m_origin.x + m_bounds.right - w / 2 - 1, m_origin.y + m_bounds.top));
    gDrawContext.DrawLineRel(0, height);
}

void AbsValueComp::WriteText(TextOutBuffer& out) const
{
    out.WriteString("| ");
    m_first->WriteTextAll(out);
    out.WriteString(" |");
}

void AbsValueComp::WriteLaTeXLeft(LaTeXWriter& writer)
{
    writer.WriteString("\\left| ");
}

void AbsValueComp::WriteLaTeXRight(LaTeXWriter& writer)
{
    writer.WriteString("\\right| ");
}
