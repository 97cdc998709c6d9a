// VXComputePlot through the kernel link (the program's request, the
// kernel's sampling, the answer read back) against the same sampling done in
// this process: sin x on [-10, 10], and five functions in one plot.
#include "kernelproc/PlotRequests.h"
#include "mathlink/LinkExpr.h"
#include "mathlink/MathLink.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

const char* const kSine = "VXComputePlot[VXTwoDPlot[List[VXSin[x]], List[x, -10., 10.], List[y, -1.5, 1.5]]]";
const char* const kFive =
    "VXComputePlot[VXTwoDPlot[List[VXSin[x], VXCos[x], VXDivide[1, x], VXPlus[VXPower[x, 3], VXTimes[-1, 4, x]], "
    "VXExp[VXTimes[-1, VXPower[x, 2]]]], List[x, -10., 10.], List[y, -5., 5.]]]";

class Kernel {
public:
    Kernel()
    {
        env_ = MLInitialize();
        int err = 0;
        link_ = MLOpenString(env_, "-linklaunch -linkname '" QV_BINARY_DIR "/kernelproc/qvkernel'", &err);
        if (!link_ || !MLConnect(link_))
            throw std::runtime_error("the kernel did not start");
    }
    ~Kernel()
    {
        MLClose(link_);
        MLDeinitialize(env_);
    }

    void roundTrip(const wire::Expr& request)
    {
        wire::putLinkExpr(link_, request);
        MLEndPacket(link_);
        while (MLNextPacket(link_) != MLRETURNPKT) {
        }
        wire::Expr answer;
        if (!wire::getLinkExpr(link_, answer) || !answer.hasHead("Graphics"))
            throw std::runtime_error("the kernel answered no graphics");
        benchmark::DoNotOptimize(answer);
    }

private:
    MLENV env_ = nullptr;
    MLINK link_ = nullptr;
};

Kernel& kernel()
{
    static Kernel instance;
    return instance;
}

void throughTheLink(benchmark::State& state, const char* fullForm)
{
    const wire::Expr request = wire::Expr::function("EvaluatePacket", {wire::parseFullForm(fullForm)});
    for (auto _ : state)
        kernel().roundTrip(request);
}

void inProcess(benchmark::State& state, const char* fullForm)
{
    const wire::Expr request = wire::parseFullForm(fullForm);
    auto evaluate = [](const wire::Expr& e) { return e; };
    for (auto _ : state) {
        auto answer = kernelproc::PlotRequests::answer(request, evaluate, {});
        benchmark::DoNotOptimize(answer);
    }
}

BENCHMARK_CAPTURE(throughTheLink, sine, kSine)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(inProcess, sine, kSine)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(throughTheLink, five_functions, kFive)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(inProcess, five_functions, kFive)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
