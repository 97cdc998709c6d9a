#include "support/model/SavedGlobals.h"

#include "foundation/DrawContext.h"
#include "foundation/LayoutItemMaker.h"
#include "foundation/StyleTable.h"

SavedGlobals::SavedGlobals() : m_styleTable(gStyleTable), m_maker(LayoutItemMaker::Installed()) {}

SavedGlobals::~SavedGlobals()
{
    LayoutItemMaker::Install(m_maker);
    gStyleTable = m_styleTable;
}

void UnwindDrawContext()
{
    while (gDrawContext.GetSizeDepth() > 0)
        gDrawContext.PopSize();
    while (gDrawContext.GetDepth() > 0)
        gDrawContext.EndDraw();
    gDrawContext.SetFontFamily(0);
    gDrawContext.SetBaseSize(DrawContext::kDefaultBaseSize);
}
