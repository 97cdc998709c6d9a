// What a calculation may not do to the kernel's session: a definition that
// refers to itself fails alone, and a stopped computation either stops or
// ends the kernel; it is never reported stopped while it still runs.
#include "KernelTestLink.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The product of a 45-digit and a 46-digit prime: Giac's factoring never
// looks at its interruption flag, and takes minutes over this one.
constexpr const char* kSemiprime =
    "4968638931578953484411481060339304001158629392764882849635992438246886957311244478915659341";

// True while the process exists and has not exited (an exited child that
// was not waited for yet still answers signals).
bool Computing(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() && text[close + 2] != 'Z' && text[close + 2] != 'X';
}

std::string Code(const std::string& text)
{
    return "VXStringEvaluate[List[\"" + text + "\"]]";
}

} // namespace

TEST(KernelSurvival, DefinitionsThatReferToEachOtherFailAndKeepTheSession)
{
    const std::vector<std::vector<const char*>> cases = {
        {"x = x + 1", "x"},
        {"f[n_] := n f[n - 1]", "f[3]"},
        {"a = b", "b = a", "a"},
        {"g[x_] := g[x + 1]", "g[1]"},
        // Doubling at every step: refused by its depth long before it is large.
        {"h[n_] := h[n - 1] + h[n - 1]", "h[2]"},
    };
    KernelTestLink kernel;
    ASSERT_EQ(kernel.evaluate(Code("kept = 7")), "7");
    for (const auto& statements : cases) {
        SCOPED_TRACE(statements.back());
        for (std::size_t i = 0; i + 1 < statements.size(); ++i)
            kernel.evaluate(Code(statements[i]));
        std::vector<std::string> messages;
        EXPECT_EQ(kernel.evaluate(Code(statements.back()), &messages), "$Failed");
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("definitions refer to each other without end"), std::string::npos) << messages[0];
        // The session goes on, with its earlier definitions.
        EXPECT_EQ(kernel.evaluate(Code("kept + 1")), "8");
    }
}

TEST(KernelSurvival, AComputationThatCannotBeStoppedEndsTheKernelInsteadOfAnsweringAborted)
{
    KernelTestLink kernel;
    const Clock::time_point sent = Clock::now();
    bool aborted = false;
    MLSetYieldFunction(kernel.link(), [&] {
        if (!aborted && Clock::now() - sent > std::chrono::milliseconds(500)) {
            aborted = true;
            MLPutMessage(kernel.link(), MLABORTMESSAGE);
        }
    });
    const std::string answer = kernel.evaluate("FactorInteger[" + std::string(kSemiprime) + "]");
    MLSetYieldFunction(kernel.link(), {});
    EXPECT_TRUE(aborted);
    // Not $Aborted: the link closes, and nothing goes on computing.
    EXPECT_EQ(answer.rfind("<link error", 0), 0u) << answer;
    const pid_t pid = MLProcessId(kernel.link());
    if (pid > 0) {
        const Clock::time_point deadline = Clock::now() + std::chrono::seconds(30);
        while (Computing(pid) && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_FALSE(Computing(pid)) << "the kernel goes on computing";
    }
}

// A program that goes away in the middle of a computation (it quit or died)
// takes the kernel with it: nobody is left to read the answer.
TEST(KernelSurvival, AKernelWhoseProgramIsGoneStopsComputing)
{
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t program = ::fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        // The program: asks for the factoring and dies without closing its link.
        ::close(report[0]);
        KernelTestLink kernel;
        const pid_t pid = MLProcessId(kernel.link());
        const wire::Expr request =
            wire::Expr::function("EvaluatePacket", {wire::parseFullForm("FactorInteger[" + std::string(kSemiprime) + "]")});
        const bool sent = pid > 0 && wire::putLinkExpr(kernel.link(), request) && MLEndPacket(kernel.link());
        const pid_t written = sent ? pid : 0;
        [[maybe_unused]] const ssize_t n = ::write(report[1], &written, sizeof written);
        ::_exit(0);
    }
    ::close(report[1]);
    pid_t pid = 0;
    const ssize_t got = ::read(report[0], &pid, sizeof pid);
    ::close(report[0]);
    while (::waitpid(program, nullptr, 0) < 0 && errno == EINTR) {
    }
    ASSERT_EQ(got, static_cast<ssize_t>(sizeof pid));
    ASSERT_GT(pid, 0);
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(30);
    while (Computing(pid) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const bool stillComputing = Computing(pid);
    if (stillComputing)
        ::kill(pid, SIGKILL);
    EXPECT_FALSE(stillComputing) << "the kernel goes on computing for a program that is gone";
}
