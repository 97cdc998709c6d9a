// Escape in a calculation the kernel cannot stop (factoring a 91-digit
// number): the time from Escape until the next calculation is answered, the
// kernel ended and started again on the way. It should be about a second.
#include "foundation/ExprNode.h"
#include "kernel/KernelLink.h"
#include "kernel/KernelSettings.h"
#include "kernel/LeafNodes.h"
#include "kernel/NameTable.h"
#include "platform/AppProfile.h"
#include "tests/support/kernel/SilentQuestions.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
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
        if (link && !escaped && Clock::now() - sent > std::chrono::milliseconds(300)) {
            escaped = Clock::now();
            link->AbortEvaluation();
        }
    }

    KernelLink* link = nullptr;
    Clock::time_point sent;
    std::optional<Clock::time_point> escaped;
};

void WaitWhileStarting(KernelLink& link)
{
    while (link.IsStarting())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    link.EndStartup();
}

void EscapeToTheNextAnswer(benchmark::State& state)
{
    QTemporaryDir settings;
    AppProfile::SetFolder(settings.path());
    KernelSettings folder;
    folder.kernelPath = QV_BINARY_DIR "/kernelproc";
    folder.Save();
    TheNameTable();
    KernelLink link;
    EscapingQuestions questions;
    link.SetQuestions(&questions);
    KernelLink::Set(&link);
    link.StartKernel();
    WaitWhileStarting(link);
    IntegerTextNode number{std::string(kSemiprime)};
    IntegerNode two(2);
    for (auto _ : state) {
        questions.link = &link;
        questions.sent = Clock::now();
        questions.escaped.reset();
        delete link.Evaluate(3, &number); // Factor
        questions.link = nullptr;
        WaitWhileStarting(link);
        std::unique_ptr<ExprNode> answer(link.Simplify(&two));
        const Clock::time_point answered = Clock::now();
        if (!link.IsReady() || !questions.escaped) {
            state.SkipWithError("the kernel was not ready after Escape");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(answered - *questions.escaped).count());
    }
    link.QuitKernel();
    KernelLink::Set(nullptr);
    AppProfile::SetFolder({});
}

} // namespace

BENCHMARK(EscapeToTheNextAnswer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
