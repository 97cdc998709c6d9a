// Round trips through the kernel link against the same computations done by
// Giac in this process: the link's cost is the difference.
#include "kernelproc/GiacInput.h"
#include "BenchKernel.h"
#include "mathlink/LinkExpr.h"

#include <benchmark/benchmark.h>
#include <giac/config.h>
#include <giac/giac.h>

#include <memory>
#include <stdexcept>

namespace {

struct Request {
    const char* name;
    const char* fullForm;
};

const Request kRequests[] = {
    {"derivative", "D[Times[Power[x, 3], Sin[x]], x]"},
    {"integral", "Integrate[Times[x, Exp[x]], x]"},
    {"solve", "Solve[Equal[Plus[Power[x, 2], Times[-5, x], 6], 0], x]"},
    {"simplify", "Simplify[Divide[Plus[Power[x, 2], -1], Plus[x, -1]]]"},
    {"limit", "Limit[Divide[Sin[x], x], Rule[x, 0]]"},
    {"series", "Series[Exp[x], List[x, 0, 5]]"},
    {"factor", "Factor[Plus[Power[x, 4], -1]]"},
    {"determinant", "Det[List[List[1, 2, 3], List[4, 5, 6], List[7, 8, 10]]]"},
    {"sum", "Sum[Power[k, 2], List[k, 1, n]]"},
    {"numeric", "N[Sqrt[2], 30]"},
};

void linkRoundTrip(benchmark::State& state, const char* fullForm)
{
    wire::Expr request = wire::Expr::function("EvaluatePacket", {wire::parseFullForm(fullForm)});
    for (auto _ : state)
        BenchKernel::instance().roundTrip(request);
}

// The text the kernel hands Giac for a request, evaluated here as the kernel does.
void giacInProcess(benchmark::State& state, const char* fullForm)
{
    static giac::context context;
    wire::Expr expr = wire::parseFullForm(fullForm);
    std::string text;
    if (expr.hasHead("Solve"))   // the kernel asks Giac's complex solver
        text = "csolve(" + kernelproc::GiacInput().translate(expr.arg(0)) + ","
               + kernelproc::GiacInput().translate(expr.arg(1)) + ")";
    else
        text = kernelproc::GiacInput().translate(expr);
    bool series = expr.hasHead("Series");
    for (auto _ : state) {
        giac::gen parsed(series ? text : "regroup(" + text + ")", &context);
        giac::gen value = giac::eval(parsed, 1, &context);
        benchmark::DoNotOptimize(value);
    }
}

void registerAll()
{
    benchmark::RegisterBenchmark("link/trivial Plus[1, 1]", linkRoundTrip, "Plus[1, 1]")->Unit(benchmark::kMicrosecond);
    for (const Request& r : kRequests) {
        benchmark::RegisterBenchmark((std::string("link/") + r.name).c_str(), linkRoundTrip, r.fullForm)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("giac/") + r.name).c_str(), giacInProcess, r.fullForm)
            ->Unit(benchmark::kMicrosecond);
    }
}

} // namespace

int main(int argc, char** argv)
{
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
