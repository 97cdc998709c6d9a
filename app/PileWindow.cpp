#include "app/PileWindow.h"

#include "app/CBaseView.h"
#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawPile.h"
#include "foundation/ActionView.h"
#include "foundation/DrawTargetScope.h"
#include "platform/framework/CView.h"

#include <utility>

PileWindow* gPileWindow = nullptr;

namespace {
PileWindowFactory& factory()
{
    static PileWindowFactory installed;
    return installed;
}

// Constraints made in the pile become undoable steps of the pile's view.
void UseViewForConstraints(DrawPile& pile)
{
    auto* view = dynamic_cast<CBaseView*>(pile.GetView());
    if (!view) {
        pile.SetConstraintAdder(nullptr);
        return;
    }
    DiagramComp* diagram = pile.GetDiagram();
    pile.SetConstraintAdder([view, diagram](DrawConstraint* constraint) {
        DrawTargetScope draw(view);
        view->PerformAction(new TAddConstraintAction(diagram, constraint));
    });
}
} // namespace

PileWindow::~PileWindow()
{
    if (gPilePane == this)
        gPilePane = nullptr;
}

void PileWindow::SetDrawing(DiagramComp* drawing)
{
    m_drawing = drawing;
    m_tracking = false;
    Redraw();
}

void PileWindow::ShowPile(DiagramComp* diagram)
{
    if (diagram)
        m_drawing = diagram;
    else if (m_drawing == m_pileDrawing)
        m_drawing = nullptr;
    m_pileDrawing = diagram;
    m_tracking = false;
    Redraw();
}

DrawPile* PileWindow::GetShownPile() const
{
    if (!m_drawing || m_drawing != m_pileDrawing)
        return nullptr;
    DrawPile* pile = m_drawing->GetPile();
    return pile && pile->IsCurrent() ? pile : nullptr;
}

void PileWindow::Redraw()
{
    if (!widget())
        return;
    Invalidate();
    UpdateWindow();
}

void PileWindow::OnPaint()
{
    CPaintDC dc(this);
    if (const DrawPile* pile = GetShownPile()) {
        pile->Redraw(dc);
        return;
    }
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, RGB(255, 255, 255));
}

void PileWindow::OnLButtonDown(UINT, CPoint point)
{
    DrawPile* pile = GetShownPile();
    if (m_tracking || !pile)
        return;
    m_tracking = true;
    SetCapture();
    UseViewForConstraints(*pile);
    pile->OnMouseDown(point.x, point.y);
}

void PileWindow::OnMouseMove(UINT, CPoint point)
{
    DrawPile* pile = GetShownPile();
    if (m_tracking && pile && pile->OnMouseMove(point.x, point.y))
        Redraw();
}

void PileWindow::OnLButtonUp(UINT flags, CPoint point)
{
    if (!m_tracking)
        return;
    m_tracking = false;
    ReleaseCapture();
    DrawPile* pile = GetShownPile();
    if (!pile)
        return;
    ActionViewScope scope(pile->GetView());
    DrawTargetScope draw(dynamic_cast<CBaseView*>(pile->GetView()));
    DiagramComp* diagram = pile->GetDiagram();
    if (!pile->OnMouseUp(point.x, point.y, (flags & MK_SHIFT) != 0))
        return;
    diagram->Repaint();
    Redraw();
}

PileWindowFactory SetPileWindowFactory(PileWindowFactory replacement)
{
    return std::exchange(factory(), std::move(replacement));
}

std::unique_ptr<PileWindow> MakePileWindow()
{
    if (factory())
        if (std::unique_ptr<PileWindow> made = factory()())
            return made;
    return std::make_unique<PileWindow>();
}
