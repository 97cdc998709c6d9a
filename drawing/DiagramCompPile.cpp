// The drawing's item pile and the settings of its properties dialog.
#include "drawing/DiagramComp.h"

#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawPile.h"
#include "drawing/PilePane.h"

#include <vector>

void DiagramComp::SetPlotNames(const Str255& xName, const Str255& yName)
{
    m_allPlotsDue = m_allPlotsDue || xName != m_xName || yName != m_yName;
    m_xName = xName;
    m_yName = yName;
    Changed();
}

void DiagramComp::SetGridPen(int32_t thickness, COLORREF colour)
{
    m_gridThickness = thickness;
    m_gridColour = colour;
    Changed();
}

void DiagramComp::ShowPileAt(ActionView* view, const IntPoint& device)
{
    DropPile();
    const DPoint point = m_dc.ScreenToWorld(device);
    std::vector<PileEntry> entries;
    ItemArray<DiagramShape> seen;
    for (DiagramShape* shape : m_shapes) {
        auto* item = dynamic_cast<DiagramShape*>(shape->HitTest(point, m_dc));
        if (item && !seen.Contains(item)) {
            seen.Add(item);
            entries.push_back(MakePileEntry(item));
        }
    }
    std::vector<DrawConstraint*> constraints;
    for (DrawConstraint* constraint : m_constraints)
        if (constraint->HitsBoundVertex(point, m_dc))
            constraints.push_back(constraint);
    m_pile = std::make_unique<DrawPile>(std::move(entries), constraints, this, view);
    if (gPilePane)
        gPilePane->ShowPile(this);
}

void DiagramComp::DropPile()
{
    if (gPilePane && gPilePane->ShownDiagram() == this)
        gPilePane->ShowPile(nullptr);
    m_pile.reset();
}
