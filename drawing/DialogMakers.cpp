#include "drawing/DialogMakers.h"

#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "drawing/MakerDialogs.h"
#include "drawing/PlotShape.h"
#include "drawing/VertexShape.h"

bool PointMaker::CanMake(const ItemArray<DiagramShape>&, const DiagramDC&) const
{
    return true;
}

TAction* PointMaker::Make(ActionView*, const ItemArray<DiagramShape>&, DiagramComp& diagram, const DPoint& at) const
{
    MakerDialogs* dialogs = GetMakerDialogs();
    const std::optional<DPoint> point = dialogs ? dialogs->AskVertex(at) : std::nullopt;
    if (!point)
        return nullptr;
    return new TAddShapeAction(&diagram, new VertexShape(point->x, point->y));
}

bool PlotMaker::CanMake(const ItemArray<DiagramShape>&, const DiagramDC&) const
{
    return IsKernelActive();
}

TAction* PlotMaker::Make(ActionView*, const ItemArray<DiagramShape>&, DiagramComp& diagram, const DPoint&) const
{
    MakerDialogs* dialogs = GetMakerDialogs();
    CompList* function = dialogs ? dialogs->AskPlotFunction(kPrompt) : nullptr;
    if (!function)
        return nullptr;
    return diagram.AddPlot(function);
}

std::string PlotMaker::GetErrorMessage() const
{
    return "You can only make plots when the Quorvant kernel is active.";
}
