#include "math/SubscriptComp.h"

#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "math/RowForms.h"
#include "math/TextOperand.h"

TextComp* SubscriptComp::Clone(LinkRemap& remap)
{
    return new SubscriptComp(m_first->CloneItems(remap));
}

void SubscriptComp::Measure()
{
    // The em box of the font the owner row measures in, read before the
    // script pushes its own smaller size.
    const int rowTop = gDrawContext.GetEmBox().top;
    const Rect s = LayOutScript();
    m_scriptDrop = -(s.top / 2);
    m_bounds = Rect(s.left, rowTop, s.right, m_scriptDrop + s.bottom);
    m_needsLayout = 0;
}

void SubscriptComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    m_first->SetOrigin(IntPoint(point.x, point.y + m_scriptDrop));
}

void SubscriptComp::WriteLaTeX(LaTeXWriter& writer)
{
    writer.WriteString("_");
    RowForms::WriteGroup(writer, *m_first);
}

void SubscriptComp::WriteText(TextOutBuffer& out) const
{
    out.WriteChar('_');
    TextOperand::WriteTight(out, *m_first);
}
