// Escape during a calculation: one the kernel can stop answers $Aborted and
// the session stays, however long the stop takes; one it cannot stop ends the
// kernel, which is started again at once, the user is told what was lost, and
// the next calculation is answered by the new kernel instead of queueing
// behind the old one's. A kernel that never answers holds no wait past
// Escape, Quit Kernel or closing.
#include "kernel/link/LinkTestSupport.h"

#include "foundation/ExprNode.h"
#include "kernel/LeafNodes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using Node = std::unique_ptr<ExprNode>;

// The product of a 45-digit and a 46-digit prime: Giac's factoring does not
// look at its interruption flag, and takes minutes over this one.
constexpr const char* kSemiprime =
    "4968638931578953484411481060339304001158629392764882849635992438246886957311244478915659341";
// Only catches a hang: a request still waiting after this long is stopped.
constexpr auto kHangLimit = std::chrono::seconds(30);

class KernelStopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseBuiltKernel(link, questions, settings.path().toStdString());
        ASSERT_TRUE(StartAndWait(link));
    }
    void TearDown() override { StopBuiltKernel(link); }

    // Evaluates code as Evaluate Code does; Escape once `escapeAfter` has
    // passed (never when zero), and again when the answer has not come
    // within the hang limit.
    std::string Code(const std::string& code, std::chrono::milliseconds escapeAfter = {})
    {
        const Clock::time_point sent = Clock::now();
        bool escaped = false;
        auto escape = questions.OnYield([&] {
            const auto waited = Clock::now() - sent;
            if ((escapeAfter.count() > 0 && !escaped && waited > escapeAfter) || waited > kHangLimit) {
                escaped = true;
                link.AbortEvaluation();
            }
        });
        Node text(new StringNode(code));
        Node answer(link.StringEvaluate(Node(NodeFrom("List[" + FullFormOf(text.get()) + "]")).get()));
        return FullFormOf(answer.get());
    }
    // Waits (within a limit that only catches a hang) for a start-up under way to end.
    bool WaitUntilStarted()
    {
        const Clock::time_point deadline = Clock::now() + std::chrono::seconds(60);
        while (link.IsStarting() && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        link.EndStartup();
        return link.IsReady();
    }

    QTemporaryDir settings;
    KernelLink link;
    ScriptedQuestions questions;
};

} // namespace

TEST_F(KernelStopTest, EscapeKeepsTheSessionWhenTheKernelCanStopAndRestartsItWhenItCannot)
{
    using std::chrono::milliseconds;
    enum class Stop { always, never, eitherHonestly };
    // Giac multiplies the factors of a product over a range one by one and
    // looks at its interruption flag between them; the exact product of 10^8
    // of these factors outlasts any Escape here however fast the machine is.
    const std::string product = "Product[1 + 1/(k^3 + 2), {k, 1, 10^8}]";
    // The expansion looks at the flag while it multiplies, not while it sorts
    // the 1.37 million terms at the end: whether an Escape lands in time
    // depends on the machine's speed, so either answer may come, but the
    // user is always told the truth.
    const std::string expansion = "Expand[(x + y + z + w)^200]";
    const struct {
        std::string code;
        milliseconds escapeAfter;
        Stop stops;
    } cases[] = {
        {product, milliseconds(1000), Stop::always},
        {product, milliseconds(3000), Stop::always},
        {product, milliseconds(6000), Stop::always},
        {expansion, milliseconds(1000), Stop::eitherHonestly},
        {expansion, milliseconds(3000), Stop::eitherHonestly},
        {expansion, milliseconds(6000), Stop::eitherHonestly},
        {"FactorInteger[" + std::string(kSemiprime) + "]", milliseconds(1000), Stop::never},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code + " stopped after " + std::to_string(c.escapeAfter.count()) + " ms");
        questions.messages.clear();
        ASSERT_EQ(Code("keep = 5"), "5");
        const pid_t kernel = MLProcessId(link.Link());
        const std::string answer = Code(c.code, c.escapeAfter);
        if (c.stops == Stop::always || (c.stops == Stop::eitherHonestly && answer == "$Aborted")) {
            EXPECT_EQ(answer, "$Aborted");
            EXPECT_TRUE(questions.messages.empty()) << questions.messages.front();
            EXPECT_EQ(MLProcessId(link.Link()), kernel);
            EXPECT_EQ(Code("keep"), "5");
            continue;
        }
        // Never reported stopped while it still runs.
        EXPECT_NE(answer, "$Aborted");
        ASSERT_EQ(questions.messages.size(), 1u);
        EXPECT_NE(questions.messages[0].find("did not stop when asked"), std::string::npos) << questions.messages[0];
        EXPECT_NE(questions.messages[0].find("started again"), std::string::npos) << questions.messages[0];
        EXPECT_NE(questions.messages[0].find("Evaluate Code"), std::string::npos) << questions.messages[0];
        ASSERT_TRUE(WaitUntilStarted());
        EXPECT_NE(MLProcessId(link.Link()), kernel);
        // The new kernel answers at once, without what the old one held.
        EXPECT_EQ(Code("keep + 2"), "VXPlus[keep, 2]");
        EXPECT_EQ(questions.messages.size(), 1u);
    }
}

// A kernel that takes a request and never answers it, and has nothing to
// stop: Escape ends the wait after the kernel's grace, Quit Kernel and
// closing (which give the wait up) at once; no message, and the link stays
// until Quit ends the kernel. A request after one given up first waits for
// the answer owed, and Escape ends that wait too.
TEST(KernelNeverAnsweringTest, EscapeQuitKernelAndClosingEndTheWait)
{
    QTemporaryDir settings;
    KernelLink link;
    ScriptedQuestions questions;
    UseBuiltKernel(link, questions, settings.path().toStdString(), SilentKernelFolder());
    ASSERT_TRUE(StartAndWait(link));
    Node code(NodeFrom("neverAnswered"));
    const std::function<void()> escape = [&] { link.AbortEvaluation(); };
    const std::function<void()> quit = [&] {
        link.AbortEvaluation();
        link.GiveUpWaiting();
    };
    const std::function<std::string()> calculation = [&] { return FullFormOf(Node(link.StringEvaluate(code.get()))); };
    const std::function<std::string()> formula = [&] { return link.ToStandardFormText(code.get()); };
    const struct {
        const char* name;
        std::function<void()> stop;
        std::function<std::string()> request;
        const char* answer;
    } cases[] = {
        {"Quit Kernel in a calculation", quit, calculation, "$Aborted"},
        {"Escape in a notebook's formula", escape, formula, "Error"},
        {"closing in a notebook's formula", quit, formula, "Error"},
        {"Escape in a calculation", escape, calculation, "$Aborted"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const pid_t kernel = MLProcessId(link.Link());
        const Clock::time_point sent = Clock::now();
        int yields = 0;
        auto stop = questions.OnYield([&] {
            if (Clock::now() - sent > kHangLimit)
                ::kill(kernel, SIGKILL); // only a hang gets here
            else if (++yields == 3)
                c.stop();
        });
        EXPECT_EQ(c.request(), c.answer);
        EXPECT_TRUE(link.IsReady());
        EXPECT_FALSE(link.IsBusy());
        EXPECT_TRUE(questions.messages.empty()) << questions.messages.front();
        ASSERT_FALSE(questions.requestStatuses.empty());
        EXPECT_EQ(questions.requestStatuses.back(), "Aborted");
    }
    StopBuiltKernel(link);
    EXPECT_FALSE(link.IsReady());
}
