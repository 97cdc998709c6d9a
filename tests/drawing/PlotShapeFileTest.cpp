// A drawing's plot shape keeps its computed curves and its pending byte
// through the file: a plot that could not reach the kernel is written with
// pending = 1 and read back pending, to be computed when the kernel is there.
#include "DrawingTestSupport.h"

#include "drawing/DiagramComp.h"
#include "drawing/PlotShape.h"
#include "foundation/CompList.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/PlotNodes.h"
#include "plot/PlotCurveSet.h"

namespace {

ListNode* List(std::initializer_list<ExprNode*> items)
{
    auto* list = new ListNode;
    for (ExprNode* item : items)
        list->AppendChild(item);
    return list;
}

ExprNode* XY(double x, double y)
{
    return List({new RealNode(x), new RealNode(y)});
}

} // namespace

TEST_F(DrawingTest, APendingPlotShapeIsWrittenWithItsCurvesAndPendingOne)
{
    for (bool pending : {true, false}) {
        SCOPED_TRACE(pending ? "pending" : "computed");
        DiagramComp drawing;
        auto* plot = new PlotShape(new CompList, false);
        auto curves = std::make_unique<PlotCurveSet>();
        // Graphics[{{Line[{{0, 0}, {1, 1}, {2, 0.5}}]}}]
        GraphicsNode answer(List({List({new GraphicsLineNode(List({XY(0, 0), XY(1, 1), XY(2, 0.5)}))})}),
                            nullptr, true);
        ASSERT_EQ(curves->BuildFromGraphics(&answer), 1);
        plot->SetCurves(std::move(curves));
        plot->SetPending(pending);
        drawing.AddShape(plot);

        const std::vector<uint8_t> bytes = WriteComponent(drawing);
        auto read = ReadComponent(bytes);
        EXPECT_EQ(WriteComponent(*read), bytes);
        auto* copy = static_cast<DiagramComp*>(read.get());
        ASSERT_EQ(copy->GetShapes().GetCount(), 1);
        auto* readPlot = dynamic_cast<PlotShape*>(copy->GetShapes().GetAt(0));
        ASSERT_NE(readPlot, nullptr);
        EXPECT_EQ(readPlot->IsPending(), pending);
        ASSERT_NE(readPlot->GetCurves(), nullptr);
        EXPECT_EQ(readPlot->GetCurves()->GetCurveCount(), 1);
    }
}
