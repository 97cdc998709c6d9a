#include "math/DelimiterComp.h"

#include "foundation/DrawContext.h"
#include "foundation/SizeStepScope.h"
#include "foundation/FontFamilyScope.h"
#include "math/RowForms.h"

#include <algorithm>

void DelimiterComp::Measure()
{
    m_first->LayoutToContextWidth();
    m_bounds = m_first->GetRect();
    SizeStepScope size(m_sizeStep);
    m_tall = gDrawContext.IsTallerThanLine(m_bounds.top, m_bounds.bottom) ? 1 : 0;
    if (m_tall) {
        m_delimiterWidth = gDrawContext.GetSubscriptDrop();
    } else {
        MathFamilyScope face;
        Rect paren;
        gDrawContext.GetCharBox('(', paren);
        m_delimiterWidth = paren.right;
        m_bounds.top = std::min(m_bounds.top, paren.top);
        m_bounds.bottom = std::max(m_bounds.bottom, paren.bottom);
    }
    m_bounds.right += 2 * m_delimiterWidth;
    m_needsLayout = 0;
}

void DelimiterComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    m_first->SetOrigin(IntPoint(point.x + m_delimiterWidth, point.y));
}

void DelimiterComp::WriteLaTeX(LaTeXWriter& writer)
{
    WriteLaTeXLeft(writer);
    RowForms::WritePlain(writer, *m_first);
    WriteLaTeXRight(writer);
}
