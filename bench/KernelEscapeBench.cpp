// How long the user waits after Escape when the kernel does not answer: the
// kernel is stopped, a request waits for it, Escape comes at the request's
// first wait, and the time runs until the request has returned with the
// kernel ended. The link grants a kernel its abort grace before ending it, so
// the grace is the reference: the wait should exceed it only by the cost of
// ending the kernel and reading the closed link.
#include "kernel/KernelLink.h"
#include "kernel/KernelSettings.h"
#include "kernel/LeafNodes.h"
#include "kernel/NameTable.h"
#include "platform/AppProfile.h"
#include "tests/support/PauseProcess.h"
#include "tests/support/kernel/SilentQuestions.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <stdexcept>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Presses Escape at the first wait after being armed, and notes when.
class EscapeAtFirstWait : public SilentQuestions {
public:
    explicit EscapeAtFirstWait(KernelLink& link) : m_link(link) {}
    void Yield() override
    {
        if (!armed)
            return;
        armed = false;
        pressed = Clock::now();
        m_link.AbortEvaluation();
    }

    bool armed = false;
    Clock::time_point pressed;

private:
    KernelLink& m_link;
};

void StartKernel(KernelLink& link)
{
    link.StartKernel();
    while (link.IsStarting())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    link.EndStartup();
    if (!link.IsReady())
        throw std::runtime_error("the kernel did not start");
}

void HungKernelEndedAfterEscape(benchmark::State& state)
{
    KernelLink link;
    EscapeAtFirstWait questions(link);
    link.SetQuestions(&questions);
    const SymbolNode request(std::string("x"));
    for (auto _ : state) {
        StartKernel(link);
        const pid_t kernel = MLProcessId(link.Link());
        PausedProcess hung(kernel);
        if (!hung.Stopped())
            throw std::runtime_error("the kernel did not stop");
        questions.armed = true;
        std::unique_ptr<ExprNode> answer(link.Simplify(&request));
        const auto returned = Clock::now();
        if (link.IsReady() || ::kill(kernel, 0) == 0)
            throw std::runtime_error("the hung kernel was not ended");
        state.SetIterationTime(std::chrono::duration<double>(returned - questions.pressed).count());
    }
    state.counters["grace_ms"] = double(KernelLink::kAbortGrace.count());
}

BENCHMARK(HungKernelEndedAfterEscape)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir settings;
    AppProfile::SetFolder(settings.path());
    KernelSettings folder;
    folder.kernelPath = QCoreApplication::applicationDirPath().toStdString() + "/../kernelproc";
    folder.Save();
    TheNameTable();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
