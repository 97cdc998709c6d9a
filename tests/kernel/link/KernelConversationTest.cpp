// The kernel's questions answered through the dialogs' seam, its messages,
// and the faults of a kernel that dies, hangs, answers garbage or cannot be
// found: each ends with a message and the link ready to start a new kernel.
#include "kernel/link/LinkTestSupport.h"

#include "foundation/ExprNode.h"
#include "kernel/KernelSettings.h"
#include "kernel/LeafNodes.h"
#include "kernel/NameTable.h"
#include "mathlink/LinkExpr.h"
#include "support/PauseProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>
#include <cstdlib>
#include <memory>

namespace {

using Node = std::unique_ptr<ExprNode>;

class KernelConversationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("QVKERNEL_TEST_HOOKS", "1", 1);
        UseBuiltKernel(link, questions, settings.path().toStdString());
    }
    void TearDown() override
    {
        StopBuiltKernel(link);
        unsetenv("QVKERNEL_TEST_HOOKS");
    }
    std::string Ask(const char* fullForm) { return FullFormOf(Node(link.Evaluate(0, Node(NodeFrom(fullForm)).get()))); }

    QTemporaryDir settings;
    KernelLink link;
    ScriptedQuestions questions;
};

TEST_F(KernelConversationTest, EveryQuestionIsAnsweredThroughTheDialogs)
{
    ASSERT_TRUE(StartAndWait(link));
    struct Case {
        const char* request;
        std::function<void(ScriptedQuestions&)> script;
        const char* answer;
    };
    const Case cases[] = {
        {"QVTestAsk[1, List[\"Value of a\", 2]]", [](ScriptedQuestions& q) { q.expression = "VXPlus[y, 1]"; },
         "VXPlus[y, 1]"},
        {"QVTestAsk[1, List[\"Value of a\"]]", [](ScriptedQuestions& q) { q.expression.clear(); }, "$Canceled"},
        {"QVTestAsk[2, List[\"Select\"]]",
         [](ScriptedQuestions& q) { q.expression = "z"; q.markWhole = true; }, "VXMarker[z]"},
        // The second of three choices comes back unchanged.
        {"QVTestAsk[3, List[\"Solve for\", List[a, VXPlus[b, 1], c]]]", [](ScriptedQuestions& q) { q.choice = 1; },
         "VXPlus[b, 1]"},
        {"QVTestAsk[3, List[\"Solve for\", List[a, b]]]", [](ScriptedQuestions& q) { q.choice = -1; }, "$Canceled"},
        {"QVTestAsk[4, Null]", nullptr, "$NoReply"},
        {"QVTestAsk[9, Null]", nullptr, "$NoReply"},
        // OK without moving anything keeps the initially selected items.
        {"QVTestAsk[5, List[\"Pick\", \"Left\", \"Right\", List[a, b], List[c]]]",
         [](ScriptedQuestions& q) { q.subset = std::vector<int>{}; }, "List[c]"},
        {"QVTestAsk[5, List[\"Pick\", \"Left\", \"Right\", List[a, b], List[c]]]",
         [](ScriptedQuestions& q) { q.subset = std::vector<int>{2, 0}; }, "List[c, a]"},
        {"QVTestAsk[5, List[\"Pick\", \"Left\", \"Right\", List[a], List[]]]",
         [](ScriptedQuestions& q) { q.subset.reset(); }, "$Canceled"},
        {"QVTestAsk[6, \"Done.\"]", nullptr, "$Ignored"},
        {"QVTestAsk[7, \"Go on?\"]", [](ScriptedQuestions& q) { q.yes = true; }, "True"},
        {"QVTestAsk[7, \"Go on?\"]", [](ScriptedQuestions& q) { q.yes = false; }, "False"},
    };
    for (const Case& c : cases) {
        if (c.script)
            c.script(questions);
        EXPECT_EQ(Ask(c.request), c.answer) << c.request;
        questions.markWhole = false;
    }
    EXPECT_EQ(questions.messages, std::vector<std::string>{"Done."});
    EXPECT_EQ(questions.prompts[0], "Value of a");
    EXPECT_TRUE(link.IsReady());
}

TEST_F(KernelConversationTest, KernelMessagesShowOnlyWithWarningsOn)
{
    ASSERT_TRUE(StartAndWait(link));
    link.Prefs().showWarnings = false;
    EXPECT_EQ(Ask("QVTestMessage[\"careful\"]"), "Null");
    EXPECT_TRUE(questions.messages.empty());
    link.Prefs().showWarnings = true;
    EXPECT_EQ(Ask("QVTestMessage[\"careful\"]"), "Null");
    ASSERT_EQ(questions.messages.size(), 1u);
    EXPECT_EQ(questions.messages[0], "The kernel returned an error: QVTestMessage::note: careful");
}

TEST_F(KernelConversationTest, KernelKilledDuringARequestLeavesTheLinkReadyToStartAgain)
{
    ASSERT_TRUE(StartAndWait(link));
    // The kernel writes half an answer and dies.
    Node answer(link.Evaluate(0, Node(NodeFrom("QVTestCrash[]")).get()));
    EXPECT_EQ(answer->GetTag(), TypeTag("errN"));
    EXPECT_FALSE(link.IsReady());
    EXPECT_FALSE(link.IsBusy());
    ASSERT_EQ(questions.messages.size(), 1u);
    EXPECT_NE(questions.messages[0].find("The kernel has stopped"), std::string::npos);
    // The link's own text follows the label after a space.
    EXPECT_EQ(questions.messages[0].rfind("The kernel link returned an error message: ", 0), 0u)
        << questions.messages[0];
    ASSERT_TRUE(StartAndWait(link));
    EXPECT_EQ(Ask("VXPlus[1, 1]"), "2");
}

// How soon the kernel is ended after Escape is measured by the benchmarks;
// here the link must end it by itself and say so.
TEST_F(KernelConversationTest, HungKernelIsEndedAfterEscape)
{
    ASSERT_TRUE(StartAndWait(link));
    const pid_t pid = MLProcessId(link.Link());
    ASSERT_GT(pid, 0);
    PausedProcess hung(pid);
    ASSERT_TRUE(hung.Stopped());
    // Escape while the request waits. Should the link never end the kernel,
    // the test ends it after a limit only a hang reaches, and fails.
    const auto hang = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    auto escape = questions.OnYield([&] {
        link.AbortEvaluation();
        if (std::chrono::steady_clock::now() > hang) {
            ADD_FAILURE() << "the link did not end the hung kernel";
            ::kill(pid, SIGKILL);
        }
    });
    Node answer(link.Simplify(Node(NodeFrom("VXPlus[1, 1]")).get()));
    EXPECT_EQ(answer->GetTag(), TypeTag("errN"));
    EXPECT_FALSE(link.IsReady());
    EXPECT_NE(::kill(pid, 0), 0) << "the kernel is still there";
    ASSERT_EQ(questions.messages.size(), 1u);
    EXPECT_NE(questions.messages[0].find("did not stop when asked"), std::string::npos);
}

TEST_F(KernelConversationTest, EscapeAbortsALongCalculationAndTheKernelStays)
{
    ASSERT_TRUE(StartAndWait(link));
    auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point escape;
    auto escapeLater = questions.OnYield([&] {
        if (escape == std::chrono::steady_clock::time_point() &&
            std::chrono::steady_clock::now() - start > std::chrono::milliseconds(200)) {
            escape = std::chrono::steady_clock::now();
            link.AbortEvaluation();
        }
    });
    EXPECT_EQ(Ask("Sum[Power[k, k], List[k, 1, 30000]]"), "$Aborted");
    EXPECT_TRUE(link.IsReady());
    EXPECT_EQ(Ask("VXPlus[1, 1]"), "2");
}

// The choices for a selection are a request of the editor's own: one that
// takes too long is stopped, the status bar says so, and the session stays.
TEST_F(KernelConversationTest, ChoicesThatTakeTooLongAreGivenUpAndTheStatusSaysSo)
{
    ASSERT_TRUE(StartAndWait(link));
    const pid_t kernel = MLProcessId(link.Link());
    const auto hang = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    auto limit = questions.OnYield([&] {
        if (std::chrono::steady_clock::now() > hang) {
            ADD_FAILURE() << "the choices were never given up";
            link.AbortEvaluation();
        }
    });
    const Node formula(NodeFrom("VXPlus[x, 1]"));
    KernelChoice choices[KernelLink::kMaxChoices];
    EXPECT_EQ(Ask("QVTestSlowChoices[]"), "Null");
    EXPECT_EQ(link.EvaluateEval(formula.get(), choices), 1);
    EXPECT_EQ(choices[0].code, 0);
    EXPECT_EQ(questions.requestStatuses,
              (std::vector<std::string>{"Looking for calculations\u2026 Esc stops it.",
                                        "No calculations are offered: the kernel took too long to find them."}));
    EXPECT_TRUE(questions.messages.empty());
    EXPECT_EQ(MLProcessId(link.Link()), kernel);
    // The next search is answered, and leaves the status bar to the view.
    questions.requestStatuses.clear();
    EXPECT_GT(link.EvaluateEval(formula.get(), choices), 1);
    EXPECT_TRUE(questions.requestStatuses.empty() || questions.requestStatuses.back().empty());
}

TEST_F(KernelConversationTest, MissingProgramAsksWhereTheKernelIs)
{
    QTemporaryDir empty;
    KernelSettings folder;
    folder.kernelPath = empty.path().toStdString();
    folder.Save();
    // Given up: the start-up says so and leaves no kernel.
    EXPECT_FALSE(StartAndWait(link));
    EXPECT_EQ(questions.locateCalls, 1);
    EXPECT_EQ(questions.messages, std::vector<std::string>{"Can not locate the kernel."});
    EXPECT_FALSE(link.IsBusy());
    // Located: the folder is kept, so the next start asks nothing.
    questions.locatedFolder = KernelFolder();
    EXPECT_TRUE(StartAndWait(link));
    EXPECT_EQ(KernelSettings().kernelPath, KernelFolder());
    link.QuitKernel();
    EXPECT_TRUE(StartAndWait(link));
    EXPECT_EQ(questions.locateCalls, 2);
}

// A failed start used to leave the link busy.
TEST_F(KernelConversationTest, ProgramThatDoesNotAnswerFailsTheStartAndLeavesTheLinkIdle)
{
    QTemporaryDir broken;
    QFile program(broken.filePath("qvkernel"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\nexit 3\n");
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    KernelSettings folder;
    folder.kernelPath = broken.path().toStdString();
    folder.Save();
    EXPECT_FALSE(StartAndWait(link));
    EXPECT_FALSE(link.IsBusy());
    EXPECT_FALSE(link.IsStarting());
    ASSERT_EQ(questions.messages.size(), 1u);
    EXPECT_NE(questions.messages[0].find("Unable to start the kernel"), std::string::npos);
    EXPECT_EQ(questions.finished, std::vector<bool>{false});
}

TEST_F(KernelConversationTest, ProgramBesideTheEditorStartsWithoutAsking)
{
    KernelSettings folder;
    folder.kernelPath.clear();
    folder.Save();
    link.SetFallbackFolder(KernelFolder());
    EXPECT_TRUE(StartAndWait(link));
    EXPECT_EQ(questions.locateCalls, 0);
    EXPECT_EQ(questions.statuses, (std::vector<std::string>{"Starting the kernel", "Loading the kernel package."}));
    EXPECT_EQ(questions.finished, std::vector<bool>{true});
}

TEST_F(KernelConversationTest, CancelledStartupLeavesNoKernelAndNoMessage)
{
    link.StartKernel();
    link.CancelStartup();
    link.EndStartup();
    EXPECT_FALSE(link.IsReady());
    EXPECT_FALSE(link.IsStarting());
    EXPECT_TRUE(questions.messages.empty());
    EXPECT_EQ(questions.finished, std::vector<bool>{false});
}

// Malformed answers, queued on a loopback link as if the kernel had sent them.
TEST_F(KernelConversationTest, MalformedAnswersGiveAnErrorNodeAndAMessage)
{
    const std::string packets[] = {
        std::string("\x46\x00\x00\x00", 4),              // a function token with nothing after it
        std::string("\xff\xff\xff\xff\x01", 5),          // no token at all
        std::string(),                                   // an empty packet
    };
    for (const std::string& bytes : packets) {
        MLENV env = MLInitialize();
        int error = 0;
        MLINK loop = MLLoopbackOpen(env, &error);
        MLLoopbackPutPacket(loop, bytes.data(), int(bytes.size()));
        link.Attach(loop);
        questions.messages.clear();
        Node answer(link.Simplify(Node(NodeFrom("x")).get()));
        EXPECT_EQ(answer->GetTag(), TypeTag("errN"));
        EXPECT_FALSE(link.IsBusy());
        EXPECT_FALSE(questions.messages.empty());
        link.Attach(nullptr);
        MLClose(loop);
        MLDeinitialize(env);
    }
}

// A node whose package form fails halfway through writing.
class UnwritableNode : public SymbolNode {
public:
    UnwritableNode() : SymbolNode(std::string("u")) {}
    ExprNode* Clone() const override { return new UnwritableNode; }
    void PutPackageForm(MLINK link, int) const override { PutPlainForm(link); }
    void PutPlainForm(MLINK link) const override
    {
        MLPutFunction(link, "Plus", 2);
        MLPutInteger(link, 1);
        throw std::runtime_error("cannot be written");
    }
};

TEST_F(KernelConversationTest, AnExceptionThroughARequestLeavesTheLinkFreeForTheNext)
{
    ASSERT_TRUE(StartAndWait(link));
    UnwritableNode unwritable;
    KernelChoice choices[KernelLink::kMaxChoices];
    const std::pair<const char*, std::function<void()>> requests[] = {
        {"a node request", [&] { delete link.Evaluate(1, &unwritable); }},
        {"a choice request", [&] { link.EvaluateEval(&unwritable, choices); }},
        {"a text request", [&] { link.ToStandardFormString(&unwritable); }},
    };
    for (const auto& [name, request] : requests) {
        SCOPED_TRACE(name);
        EXPECT_THROW(request(), std::runtime_error);
        EXPECT_FALSE(link.IsBusy());
        EXPECT_FALSE(link.IsWaiting());
        // Nothing half-written is left: the next request is answered.
        EXPECT_EQ(Ask("Plus[2, 3]"), "5");
    }
}

TEST_F(KernelConversationTest, ReleaseWaitingForARequestRunsWhenItEnds)
{
    ASSERT_TRUE(StartAndWait(link));
    std::vector<std::string> order;
    auto release = questions.OnYield([&] {
        if (order.empty()) {
            order.push_back("release");
            link.WhenIdle([&] { order.push_back("released"); });
            link.AbortEvaluation();
        }
    });
    Node answer(link.Evaluate(0, Node(NodeFrom("Sum[Power[k, k], List[k, 1, 30000]]")).get()));
    order.push_back("answered");
    link.WhenIdle([&] { order.push_back("at once"); });
    EXPECT_EQ(order, (std::vector<std::string>{"release", "released", "answered", "at once"}));
}

} // namespace
