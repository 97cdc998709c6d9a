// Escape in a calculation the kernel cannot stop (factoring a 91-digit
// number): the time from Escape until the next calculation is answered, the
// kernel ended and started again on the way; the kernel gives the
// computation 1.5 s of processor time to stop first, so it should be about
// two seconds. And Escape in one it can stop, slowly (an expansion that frees
// what its step built): the time until the answer $Aborted, the session kept.
#include "foundation/ExprNode.h"
#include "kernel/KernelLink.h"
#include "kernel/KernelSettings.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/NameTable.h"
#include "platform/AppProfile.h"
#include "tests/support/kernel/SilentQuestions.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kSemiprime =
    "4968638931578953484411481060339304001158629392764882849635992438246886957311244478915659341";

class EscapingQuestions : public SilentQuestions {
public:
    void Yield() override
    {
        if (link && !escaped && Clock::now() - sent > after) {
            escaped = Clock::now();
            link->AbortEvaluation();
        }
    }

    KernelLink* link = nullptr;
    std::chrono::milliseconds after{};
    Clock::time_point sent;
    std::optional<Clock::time_point> escaped;
};

void WaitWhileStarting(KernelLink& link)
{
    while (link.IsStarting())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    link.EndStartup();
}

// A kernel started for the run, with the questions that press Escape.
struct StoppingKernel {
    StoppingKernel()
    {
        AppProfile::SetFolder(settings.path());
        KernelSettings folder;
        folder.kernelPath = QV_BINARY_DIR "/kernelproc";
        folder.Save();
        TheNameTable();
        link.SetQuestions(&questions);
        KernelLink::Set(&link);
        link.StartKernel();
        WaitWhileStarting(link);
    }
    ~StoppingKernel()
    {
        link.QuitKernel();
        KernelLink::Set(nullptr);
        AppProfile::SetFolder({});
    }
    // Sends the request and presses Escape `after` into its wait.
    ExprNode* Escaped(const std::function<ExprNode*()>& request, std::chrono::milliseconds after)
    {
        questions.link = &link;
        questions.after = after;
        questions.sent = Clock::now();
        questions.escaped.reset();
        ExprNode* answer = request();
        questions.link = nullptr;
        return answer;
    }

    QTemporaryDir settings;
    KernelLink link;
    EscapingQuestions questions;
};

void EscapeToTheNextAnswer(benchmark::State& state)
{
    StoppingKernel kernel;
    KernelLink& link = kernel.link;
    IntegerTextNode number{std::string(kSemiprime)};
    IntegerNode two(2);
    for (auto _ : state) {
        delete kernel.Escaped([&] { return link.Evaluate(3, &number); }, std::chrono::milliseconds(300)); // Factor
        WaitWhileStarting(link);
        std::unique_ptr<ExprNode> answer(link.Simplify(&two));
        const Clock::time_point answered = Clock::now();
        if (!link.IsReady() || !kernel.questions.escaped) {
            state.SkipWithError("the kernel was not ready after Escape");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(answered - *kernel.questions.escaped).count());
    }
}

void EscapeInAnExpansionToItsStop(benchmark::State& state)
{
    StoppingKernel kernel;
    KernelLink& link = kernel.link;
    ListNode code;
    code.AppendChild(new StringNode(std::string("Expand[(x + y + z + w)^200]")));
    for (auto _ : state) {
        const pid_t before = MLProcessId(link.Link());
        std::unique_ptr<ExprNode> answer(
            kernel.Escaped([&] { return link.StringEvaluate(&code); }, std::chrono::milliseconds(3000)));
        const Clock::time_point answered = Clock::now();
        const SymbolNode* symbol = AsSymbol(answer.get());
        if (!symbol || symbol->FreeText() != "$Aborted" || MLProcessId(link.Link()) != before ||
            !kernel.questions.escaped) {
            state.SkipWithError("the expansion did not stop with the session kept");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(answered - *kernel.questions.escaped).count());
    }
}

} // namespace

BENCHMARK(EscapeToTheNextAnswer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(EscapeInAnExpansionToItsStop)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
