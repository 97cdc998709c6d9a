// A gesture that waits for the kernel while input is held: the release that
// comes meanwhile reaches the view, which ends the gesture once the step has
// returned. Against the real kernel program, paused so that the step waits.
#include "app/views/KernelViewFixture.h"

#include "app/CalculationHold.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawingComponents.h"
#include "drawing/KernelSolver.h"
#include "drawing/PointConstraints.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/ExprNode.h"
#include "foundation/MouseTracker.h"
#include "foundation/TAction.h"
#include "kernel/KernelLink.h"
#include "kernel/KernelServices.h"
#include "platform/InputGate.h"
#include "platform/UserInterface.h"
#include "platform/framework/InputGateFilter.h"
#include "support/PauseProcess.h"
#include "support/kernel/KernelProgram.h"
#include "support/kernel/NodeWireText.h"
#include "support/kernel/SilentQuestions.h"

#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

class YieldingQuestions : public SilentQuestions {
public:
    // The link's messages show in a box, as the program's questions show them.
    void ShowMessage(const std::string& text) override { UserInterface::Current().MessageBox(text, "Quorvant", MB_OK); }
    // Runs the hook once, at the first wait.
    void Yield() override
    {
        if (onYield)
            std::exchange(onYield, nullptr)();
    }

    std::function<void()> onYield;
};

struct DoneAction : TAction {
    DoneAction() : TAction(0) {}
    void Do() override {}
};

// A drawing's drag: each move is a step solved by the kernel.
class KernelStepTracker : public MouseTracker {
public:
    KernelStepTracker(CCorvellView& view, std::vector<std::string>& log) : MouseTracker(view), m_log(log) {}
    void MouseMove(const IntPoint&) override
    {
        m_log.push_back("step");
        std::unique_ptr<ExprNode> rules(NodeFrom("List[]"));
        delete KernelLink::Get()->SolveSystem(rules.get(), nullptr, nullptr);
        m_log.push_back("step ends");
    }
    void MouseUp(const IntPoint&) override
    {
        m_log.push_back("up");
        m_action = new DoneAction;
    }

private:
    std::vector<std::string>& m_log;
};

// The test starts its own tracker as a press in a drawing would.
struct TrackerStarter : CCorvellView {
    using Starting = void (CCorvellView::*)(MouseTracker*, const IntPoint&);
    static Starting Start() { return &TrackerStarter::StartTracker; }
};

class HeldGestureTest : public KernelViewTest<YieldingQuestions> {
protected:
    void TearDown() override
    {
        questions.onYield = nullptr;
        KernelViewTest::TearDown();
    }
};

} // namespace

TEST_F(HeldGestureTest, AReleaseDuringAKernelDragStepEndsTheGestureWhenTheStepHasReturned)
{
    std::vector<std::string> log;
    CCorvellView& target = *view;
    (target.*TrackerStarter::Start())(new KernelStepTracker(*view, log), IntPoint(5, 5));
    const pid_t kernel = MLProcessId(link.Link());
    ASSERT_GT(kernel, 0);
    bool held = false;
    questions.onYield = [&] {
        held = InputGate::IsHolding();
        // Meanwhile the pointer moves on and the button comes up.
        Mouse(QEvent::MouseMove, IntPoint(30, 30));
        Mouse(QEvent::MouseButtonRelease, IntPoint(30, 30));
        ::kill(kernel, SIGCONT);
    };
    PausedProcess paused(kernel);
    ASSERT_TRUE(paused.Stopped());
    Mouse(QEvent::MouseMove, IntPoint(20, 20));
    EXPECT_TRUE(held) << "the step did not hold input while it waited";
    EXPECT_EQ(log, (std::vector<std::string>{"step", "step ends", "up"}));
    EXPECT_EQ(view->GetTracker(), nullptr);
    EXPECT_NE(view->GetKeptAction(), nullptr) << "the gesture's action was not performed";
}

// A drawing's corner dragged while the kernel solves; the kernel program is
// killed between two moves. The drag goes on with the editor's own solver
// and tells nothing while the button is held; after the release the user
// reads that the link failed, then that the editor's solver takes over.
TEST_F(HeldGestureTest, AKernelKilledMidDragTellsTheUserOnceTheDragHasEnded)
{
    RegisterDrawingComponents();
    auto* drawing = new DiagramComp;
    Row(1)->Append(drawing);
    view->UpdateLayoutFrom(1, 1);
    view->SetSelection(DocSelection::SelectObject(drawing), true);
    DPoint topLeft, bottomRight;
    drawing->GetVisibleWorld(topLeft, bottomRight);
    // A drawing point at fractions of the visible area, and its window point.
    auto world = [&](double fx, double fy) {
        return DPoint(topLeft.x + fx * (bottomRight.x - topLeft.x), topLeft.y + fy * (bottomRight.y - topLeft.y));
    };
    auto at = [&](double fx, double fy) { return drawing->GetDC().WorldToScreen(world(fx, fy)); };
    auto vertex = [&](double fx, double fy) { return new VertexShape(world(fx, fy).x, world(fx, fy).y); };
    auto* triangle = new TriangleShape(vertex(0.3, 0.7), vertex(0.6, 0.7), vertex(0.45, 0.3));
    drawing->AddShape(triangle);
    drawing->AddConstraint(new DistanceConstraint(triangle->GetVertex(0), triangle->GetVertex(2)));
    view->UpdateLayoutFrom(1, 1);

    Mouse(QEvent::MouseButtonPress, at(0.45, 0.3));
    Mouse(QEvent::MouseMove, at(0.47, 0.3));
    ASSERT_EQ(::kill(MLProcessId(link.Link()), SIGKILL), 0);
    Mouse(QEvent::MouseMove, at(0.5, 0.32));
    Mouse(QEvent::MouseMove, at(0.52, 0.33));
    EXPECT_NE(view->GetTracker(), nullptr);
    EXPECT_TRUE(ui.boxes.empty()) << ui.LastBoxText();
    Mouse(QEvent::MouseButtonRelease, at(0.52, 0.33));
    EXPECT_EQ(view->GetTracker(), nullptr);
    EXPECT_NE(view->GetKeptAction(), nullptr) << "the drag is not kept for undo";
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text.rfind("The kernel link returned an error message", 0), 0u) << ui.boxes[0].text;
    EXPECT_EQ(ui.boxes[1].text, KernelSolver::kKernelStopped);
}
