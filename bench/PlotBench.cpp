// VXComputePlot through the kernel link (the program's request, the
// kernel's sampling, the answer read back) against the same sampling done in
// this process: sin x on [-10, 10], and five functions in one plot.
#include "BenchKernel.h"
#include "kernelproc/PlotRequests.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

const char* const kSine = "VXComputePlot[VXTwoDPlot[List[VXSin[x]], List[x, -10., 10.], List[y, -1.5, 1.5]]]";
const char* const kFive =
    "VXComputePlot[VXTwoDPlot[List[VXSin[x], VXCos[x], VXDivide[1, x], VXPlus[VXPower[x, 3], VXTimes[-1, 4, x]], "
    "VXExp[VXTimes[-1, VXPower[x, 2]]]], List[x, -10., 10.], List[y, -5., 5.]]]";

void throughTheLink(benchmark::State& state, const char* fullForm)
{
    const wire::Expr request = wire::parseFullForm(fullForm);
    for (auto _ : state) {
        wire::Expr answer = BenchKernel::instance().evaluate(request);
        if (!answer.hasHead("Graphics"))
            throw std::runtime_error("the kernel answered no graphics");
        benchmark::DoNotOptimize(answer);
    }
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
