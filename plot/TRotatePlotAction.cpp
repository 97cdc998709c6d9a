#include "plot/TRotatePlotAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionView.h"
#include "plot/ThreeDPlotComp.h"

TRotatePlotAction::TRotatePlotAction(ThreeDPlotComp* plot, const Matrix3d& before, const Matrix3d& after)
    : TAction(ActionNames::kMove, DocSelection::SelectObject(plot)), m_plot(plot), m_before(before), m_after(after)
{}

void TRotatePlotAction::Do()
{
    Show(m_after);
}

void TRotatePlotAction::Undo()
{
    Show(m_before);
}

// The picture is rendered again by the layout that follows.
void TRotatePlotAction::Show(const Matrix3d& rotation)
{
    m_plot->SetRotation(rotation);
    m_plot->BuildScene(true);
    m_plot->Invalidate();
    const DocSelection plot = DocSelection::SelectObject(m_plot);
    RestoreSelection(plot);
    if (ActionView* view = ActionView::Current())
        view->InvalidateSelection(plot);
}
