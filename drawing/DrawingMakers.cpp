#include "drawing/DrawingMakers.h"

#include "drawing/AngleMakers.h"
#include "drawing/ConstraintMakers.h"
#include "drawing/DialogMakers.h"
#include "drawing/GroupMakers.h"
#include "drawing/LineMakers.h"
#include "drawing/ShapeMakers.h"

std::vector<std::unique_ptr<DrawingMaker>> gDrawingMakers;

namespace drawing {

int MakerIndex(int commandId)
{
    if (commandId < kFirstMakerCommand || commandId > kLastMakerCommand || commandId == kTextLabelCommand)
        return -1;
    return commandId < kTextLabelCommand ? commandId - kFirstMakerCommand : commandId - kFirstMakerCommand - 1;
}

}  // namespace drawing

void FillDrawingMakers()
{
    ClearDrawingMakers();
    gDrawingMakers.reserve(19);
    gDrawingMakers.push_back(std::make_unique<PointMaker>());
    gDrawingMakers.push_back(std::make_unique<SegmentMaker>());
    gDrawingMakers.push_back(std::make_unique<CircleMaker>());
    gDrawingMakers.push_back(std::make_unique<TriangleMaker>());
    gDrawingMakers.push_back(std::make_unique<RectangleMaker>());
    gDrawingMakers.push_back(std::make_unique<CurveMaker>());
    gDrawingMakers.push_back(std::make_unique<PlotMaker>());
    gDrawingMakers.push_back(std::make_unique<ParallelMaker>());
    gDrawingMakers.push_back(std::make_unique<PerpendicularMaker>());
    gDrawingMakers.push_back(std::make_unique<FixAngleMaker>());
    gDrawingMakers.push_back(std::make_unique<DistanceMaker>());
    gDrawingMakers.push_back(std::make_unique<MidpointMaker>());
    gDrawingMakers.push_back(std::make_unique<EqualLengthMaker>());
    gDrawingMakers.push_back(std::make_unique<FixPointMaker>());
    gDrawingMakers.push_back(std::make_unique<ArcMaker>());
    gDrawingMakers.push_back(std::make_unique<HorizontalMaker>());
    gDrawingMakers.push_back(std::make_unique<VerticalMaker>());
    gDrawingMakers.push_back(std::make_unique<FixSlopeMaker>());
    gDrawingMakers.push_back(std::make_unique<TangentMaker>());
}

void ClearDrawingMakers()
{
    gDrawingMakers.clear();
}

DrawingMaker* DrawingMakerForCommand(int commandId)
{
    const int index = drawing::MakerIndex(commandId);
    if (index < 0 || index >= static_cast<int>(gDrawingMakers.size()))
        return nullptr;
    return gDrawingMakers[static_cast<size_t>(index)].get();
}
