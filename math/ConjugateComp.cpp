#include "math/ConjugateComp.h"

#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/SizeStepScope.h"
#include "foundation/TextOutBuffer.h"
#include "math/RowForms.h"

TextComp* ConjugateComp::Clone(LinkRemap& remap)
{
    return new ConjugateComp(m_first->CloneItems(remap));
}

void ConjugateComp::Measure()
{
    m_first->LayoutToContextWidth();
    m_bounds = m_first->GetRect();
    SizeStepScope size(m_sizeStep);
    m_barOffset = m_bounds.top - 2 * gDrawContext.GetSizeUnit();
    m_bounds.top = m_barOffset - 2;
    m_needsLayout = 0;
}

void ConjugateComp::Draw()
{
    m_first->Draw();
    gDrawContext.MoveTo(IntPoint(m_origin.x, m_origin.y + m_barOffset));
    gDrawContext.DrawLineRel(m_bounds.Width(), 0);
}

void ConjugateComp::WriteLaTeX(LaTeXWriter& writer)
{
    writer.WriteString("\\overline");
    RowForms::WriteGroup(writer, *m_first);
}

void ConjugateComp::WriteText(TextOutBuffer& out) const
{
    out.WriteString("Conjugate(");
    m_first->WriteTextAll(out);
    out.WriteChar(')');
}
