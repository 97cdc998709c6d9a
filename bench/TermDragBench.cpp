// The preview of a term drag: VXEvaluateShuffle for equations of 5 to 50
// terms, each term in turn dragged across "=", answered in this process and
// through the link by the kernel program. Each run reports the median and
// the slowest preview.
#include "kernelproc/TermShuffles.h"
#include "BenchKernel.h"
#include "mathlink/LinkExpr.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

using wire::Expr;

namespace {

// a0 x + a1 x^2 + ... = 0 with term `dragged` marked and the right side the target.
Expr equation(int terms, int dragged)
{
    Expr sum = Expr::function("VXPlus", {});
    for (int i = 0; i < terms; ++i) {
        Expr term = Expr::function("VXTimes",
                                   {Expr::symbol("a" + std::to_string(i)),
                                    Expr::function("VXPower", {Expr::symbol("x"), Expr::integer(i + 1)})});
        sum.parts.push_back(i == dragged ? Expr::function("VXMover", {term}) : term);
    }
    return Expr::function("VXInequality", {sum, Expr::symbol("Equal"), Expr::function("VXTarget", {Expr::integer(0)})});
}

// Times every preview (the dragged term going round the equation) and
// reports the median and the slowest in milliseconds.
template <typename Preview>
void timePreviews(benchmark::State& state, int terms, Preview preview)
{
    std::vector<Expr> requests;
    for (int i = 0; i < terms; ++i)
        requests.push_back(Expr::function("VXEvaluateShuffle", {equation(terms, i)}));
    std::vector<double> times;
    std::size_t next = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        preview(requests[next]);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        next = (next + 1) % requests.size();
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["max_ms"] = times.back();
}

void inProcess(benchmark::State& state)
{
    timePreviews(state, int(state.range(0)),
                 [](const Expr& request) { benchmark::DoNotOptimize(kernelproc::evaluateShuffle(request.arg(0))); });
}

void throughLink(benchmark::State& state)
{
    timePreviews(state, int(state.range(0)), [](const Expr& request) { BenchKernel::instance().evaluate(request); });
}

} // namespace

BENCHMARK(inProcess)->Arg(5)->Arg(10)->Arg(20)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(throughLink)->Arg(5)->Arg(10)->Arg(20)->Arg(50)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
