#include "drawing/DrawingMakers.h"

#include "drawing/ConstraintMakers.h"
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
    gDrawingMakers.push_back(nullptr);  // Point
    gDrawingMakers.push_back(std::make_unique<SegmentMaker>());
    gDrawingMakers.push_back(std::make_unique<CircleMaker>());
    gDrawingMakers.push_back(std::make_unique<TriangleMaker>());
    gDrawingMakers.push_back(std::make_unique<RectangleMaker>());
    gDrawingMakers.push_back(std::make_unique<CurveMaker>());
    gDrawingMakers.push_back(nullptr);  // Plot
    gDrawingMakers.push_back(nullptr);  // Parallel
    gDrawingMakers.push_back(nullptr);  // Perpendicular
    gDrawingMakers.push_back(nullptr);  // Fix angle
    gDrawingMakers.push_back(std::make_unique<DistanceMaker>());
    gDrawingMakers.push_back(std::make_unique<MidpointMaker>());
    gDrawingMakers.push_back(nullptr);  // Equal length
    gDrawingMakers.push_back(nullptr);  // Fix point
    gDrawingMakers.push_back(std::make_unique<ArcMaker>());
    gDrawingMakers.push_back(std::make_unique<HorizontalMaker>());
    gDrawingMakers.push_back(std::make_unique<VerticalMaker>());
    gDrawingMakers.push_back(std::make_unique<FixSlopeMaker>());
    gDrawingMakers.push_back(nullptr);  // Make tangent
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
