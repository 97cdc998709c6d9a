// A gesture that waits for the kernel while input is held: the release that
// comes meanwhile reaches the view, which ends the gesture once the step has
// returned. Against the real kernel program, paused so that the step waits.
#include "app/views/KernelViewFixture.h"

#include "app/CalculationHold.h"
#include "foundation/ExprNode.h"
#include "foundation/MouseTracker.h"
#include "foundation/TAction.h"
#include "kernel/KernelLink.h"
#include "kernel/KernelServices.h"
#include "platform/InputGate.h"
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
