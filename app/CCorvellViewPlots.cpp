// The view's plots: the buttons of a selected plot, its parameter dialog
// (the button, Set Plot Parameters and a double click), the kernel's
// computation of its curves and the trackball that turns a 3-D plot.
#include "app/CCorvellView.h"

#include "foundation/ArrowKeyActions.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/ExprNode.h"
#include "kernel/KernelLink.h"
#include "kernel/MathParser.h"
#include "plot/PlotComp.h"
#include "plot/ThreeDPlotComp.h"
#include "plot/TrackballTracker.h"

#include <memory>

namespace {

const char* const kParseError = "Parse Error";
const char* const kGraphingError = "Graphing Error";

} // namespace

bool CCorvellView::OnPlotButtons(TextComp* comp, const IntPoint& at)
{
    auto* plot = dynamic_cast<PlotComp*>(comp);
    if (!plot || !plot->HitButtons(at))
        return false;
    if (!CanEdit()) {
        MessageBeep(0);
        return true;
    }
    if (plot->HitPlotButton(at))
        ComputePlot(*plot);
    else
        EditPlotParameters(*plot);
    return true;
}

bool CCorvellView::StartTrackball(TextComp* comp, const IntPoint& at)
{
    auto* plot = dynamic_cast<ThreeDPlotComp*>(comp);
    if (!plot || !plot->IsSelected() || !plot->HitPicture(at) || m_viewMode != kEditMode)
        return false;
    if (!CanEdit()) {
        MessageBeep(0);
        return true;
    }
    StartTracker(new TrackballTracker(*this, *plot), at);
    return true;
}

// The kernel computes the plot's curves. A function line that does not
// parse, or an answer that is no graphics, leaves the plot as it was and
// says why in the status bar.
void CCorvellView::ComputePlot(PlotComp& plot)
{
    gSyntaxError = false;
    std::unique_ptr<ExprNode> command(plot.BuildNode());
    if (gSyntaxError || !command) {
        gSyntaxError = false;
        ShowStatus(kParseError);
        return;
    }
    KernelLink* link = KernelLink::Get();
    if (!link || !link->IsReady() || link->IsBusy()) {
        ShowStatus(kGraphingError);
        return;
    }
    ExprNode* answer = link->ComputePlot(command.get());
    command.reset();
    DrawTargetScope draw(this);
    if (!answer || !plot.SetResult(answer)) {
        const bool said = answer && !plot.ResultProblem().empty();
        ShowStatus(said ? plot.ResultProblem().c_str() : kGraphingError);
        return;
    }
    RelayoutPlot(plot);
    SetDocumentModified();
}

// The dialog; on OK the plot shows its new ranges, and its curves are
// computed again when the kernel can.
bool CCorvellView::EditPlotParameters(PlotComp& plot)
{
    if (!plot.OnOptions())
        return false;
    {
        DrawTargetScope draw(this);
        RelayoutPlot(plot);
    }
    SetDocumentModified();
    KernelLink* link = KernelLink::Get();
    if (link && link->IsReady() && !link->IsBusy())
        ComputePlot(plot);
    return true;
}

void CCorvellView::RelayoutPlot(PlotComp& plot)
{
    plot.Invalidate();
    DocSelection range(&plot);
    RelayoutFromSelection(range);
    InvalidateSelection(range);
}

void CCorvellView::OnSetPlotParameters()
{
    DocSelection selection = GetSelection();
    auto* plot = dynamic_cast<PlotComp*>(selection.GetSingleObject());
    if (!plot || !CanEdit() || !EditPlotParameters(*plot))
        return;
    DrawTargetScope draw(this);
    PerformAction(new TArrowKeyAction(*this, GetSelection(), TArrowKeyAction::kRight, false, false));
}

// The plot enclosing the selection shows its buttons; the one it left loses
// them. Each view selects and deselects its own plot, so that the buttons
// are drawn and erased in the view whose selection it is.
void CCorvellView::ShowPlotButtons(TextComp* plot)
{
    auto* selected = dynamic_cast<PlotComp*>(plot);
    if (!selected && !m_selectedPlot)
        return;
    DrawTargetScope draw(this);
    if (m_selectedPlot && m_selectedPlot != selected)
        m_selectedPlot->Deselect();
    m_selectedPlot = selected;
    if (selected)
        selected->Select();
}
