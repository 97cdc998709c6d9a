#include "plot/PlotComponents.h"

#include "foundation/ComponentFactory.h"
#include "foundation/ComponentRegistry.h"
#include "kernel/PlotNodes.h"
#include "plot/PlotCurveSet.h"
#include "plot/ThreeDPlotComp.h"
#include "plot/TwoDPlotComp.h"

void RegisterPlotComponents()
{
    static const bool registered = [] {
        RegisterComponentClasses();
        ComponentRegistry::Register(tag_2Plt, ComponentCodecFor<TwoDPlotComp>());
        ComponentRegistry::Register(tag_3Plt, ComponentCodecFor<ThreeDPlotComp>());
        RegisterPlotItems2D();
        RegisterPlotItems3D();
        InstallTwoDPlotComponentMaker(&TwoDPlotComp::FromNode);
        InstallThreeDPlotComponentMaker(&ThreeDPlotComp::FromNode);
        return true;
    }();
    (void)registered;
}
