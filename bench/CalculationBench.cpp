// The calculation requests: the choice list of a selection, classified in
// this process and asked through the link, and typical calculations
// through the link against the same computations done by Giac in-process.
#include "kernelproc/CalculationChoices.h"
#include "BenchKernel.h"
#include "mathlink/LinkExpr.h"

#include <benchmark/benchmark.h>
#include <giac/config.h>
#include <giac/giac.h>

#include <stdexcept>
#include <string>

using wire::Expr;

namespace {

// a polynomial of `terms` terms in x and y with the mover on term `marked`.
Expr longFormula(int terms, int marked)
{
    Expr sum = Expr::function("Plus", {});
    for (int i = 0; i < terms; ++i) {
        Expr term = Expr::function("Times", {Expr::integer(i + 1), Expr::function("Power", {Expr::symbol("x"), Expr::integer(i)}),
                                              Expr::function("Sin", {Expr::symbol("y")})});
        sum.parts.push_back(i == marked ? Expr::function("VXMover", {term}) : term);
    }
    return Expr::function("Equal", {sum, Expr::integer(0)});
}

struct Selection {
    const char* name;
    Expr whole;
};

std::vector<Selection> selections()
{
    return {
        {"equation", wire::parseFullForm("Equal[Plus[Power[x, 2], Times[-5, x], 6], 0]")},
        {"integral", wire::parseFullForm("VXIntegrate[Times[x, Sin[x]], x]")},
        {"letter", wire::parseFullForm("Plus[VXMover[a], x]")},
        {"matrix", wire::parseFullForm("VXMatrix[List[List[1, 2], List[3, 4]]]")},
        {"term of 200", longFormula(200, 100)},
        {"whole of 200", longFormula(200, -1)},
    };
}

void classifyInProcess(benchmark::State& state, const Expr& whole)
{
    kernelproc::ChoiceContext context;
    for (auto _ : state)
        benchmark::DoNotOptimize(kernelproc::calculationChoices(whole, context));
}

void choicesThroughLink(benchmark::State& state, const Expr& whole)
{
    Expr request = Expr::function("VXEvaluateEval", {whole});
    for (auto _ : state)
        BenchKernel::instance().evaluate(request);
}

struct Calculation {
    const char* name;
    const char* request;   // as the program sends it
    const char* giac;      // the same computation in Giac's language; none where Giac alone would not end
};

const Calculation kCalculations[] = {
    {"evaluate integral", "VXEvaluate[1, VXIntegrate[Times[x, Exp[x]], x]]", "integrate(x*exp(x),x)"},
    {"integrate by x", "VXEvaluate[7, Times[Power[Sin[x], 2], Power[Cos[x], 3]]]", "integrate(sin(x)^2*cos(x)^3,x)"},
    {"definite integral", "VXEvaluate[1, VXIntegrate[Times[x, Sin[x]], List[x, 0, Pi]]]", "integrate(x*sin(x),x,0,pi)"},
    // The ends of ArcSin's domain are no singular points: the divergence check ends at once.
    {"definite integral of ArcSin", "VXStringEvaluate[\"Integrate[ArcSin[x], {x, -1, 1}]\"]",
     "integrate(asin(x),x,-1,1)"},
    // A divergent integral inside a product is held, not given its principal value.
    {"divergent integral times 2", "VXEvaluate[1, VXTimes[2, VXIntegrate[Divide[1, x], List[x, -1, 1]]]]",
     "2*integrate(1/x,x,-1,1)"},
    // A bound written as an expression keeps Giac's closed form rather than adding ten million terms.
    {"sum to 10^7", "VXStringEvaluate[\"Sum[k, {k, 1, 10^7}]\"]", "sum(k,k,1,10^7)"},
    {"differentiate", "VXEvaluate[6, Times[Power[x, 3], Sin[x]]]", "diff(x^3*sin(x),x)"},
    {"solve quadratic", "VXEvaluate[5, Equal[Plus[Power[x, 2], Times[-5, x], 6], 0]]", "csolve(x^2-5*x+6=0,x)"},
    {"solve system", "VXEvaluate[5, List[Equal[Plus[x, y], 3], Equal[Plus[x, Times[-1, y]], 1]]]",
     "csolve([x+y=3,x-y=1],[x,y])"},
    {"expand", "VXEvaluate[2, Power[Plus[x, 1], 8]]", "expand((x+1)^8)"},
    {"factor", "VXEvaluate[3, Plus[Power[x, 4], -1]]", "factor(x^4-1)"},
    {"simplify", "VXSimplify[Divide[Plus[Power[x, 2], -1], Plus[x, -1]]]", "simplify((x^2-1)/(x-1))"},
    {"partial fractions", "VXEvaluate[8, Divide[1, Plus[Power[x, 2], -1]]]", "partfrac(1/(x^2-1),x)"},
    // Giac's answer comes at once; the check that it differentiates back is the rest.
    {"checked integral", "VXEvaluate[7, Times[Power[x, 2], Power[2, x], Sin[x]]]", "integrate(x^2*2^x*sin(x),x)"},
    // Giac recurses without end here: how long the user waits for $Failed.
    {"refused integral", "VXEvaluate[7, Divide[ArcTan[Plus[x, 1]], Plus[x, -2]]]", nullptr},
    // Giac gives up at once and the search tries everything else: the same wait.
    {"refused sum",
     "VXEvaluate[7, Plus[Times[Power[x, 6], Power[2, x], Power[5, x], Sin[Times[3, x]], Cos[x]], Sin[Sin[x]]]]",
     nullptr},
};

void calculationThroughLink(benchmark::State& state, const char* request)
{
    Expr expr = wire::parseFullForm(request);
    for (auto _ : state)
        BenchKernel::instance().evaluate(expr);
}

// A call nested `depth` deep, # standing for the call inside: each argument
// is computed once and each level beyond the first few on its own, so the
// time grows with the depth (Arg grew fourfold with each level when its
// argument was pasted into the request at each place it is read; Mod,
// ArcTan of a point and Abs doubled when Giac's answer held the level
// inside twice, or when Giac looked into it again at every level).
std::string nested(const std::string& call, int depth)
{
    std::string code = "xn";
    for (int i = 0; i < depth; ++i)
        code = std::string(call).replace(call.find('#'), 1, code);
    return "VXStringEvaluate[\"" + code + "\"]";
}

void calculationInGiac(benchmark::State& state, const char* text)
{
    static giac::context context;
    for (auto _ : state) {
        giac::gen parsed(std::string("regroup(") + text + ")", &context);
        benchmark::DoNotOptimize(giac::eval(parsed, 1, &context));
    }
}

void registerAll()
{
    static const std::vector<Selection> table = selections();
    for (const Selection& s : table) {
        benchmark::RegisterBenchmark((std::string("choices/in-process/") + s.name).c_str(), classifyInProcess, s.whole)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("choices/link/") + s.name).c_str(), choicesThroughLink, s.whole)
            ->Unit(benchmark::kMicrosecond);
    }
    for (const Calculation& c : kCalculations) {
        auto* link = benchmark::RegisterBenchmark((std::string("calc/link/") + c.name).c_str(), calculationThroughLink,
                                                  c.request)
                         ->Unit(benchmark::kMicrosecond);
        if (!c.giac) {
            link->Iterations(2);   // seconds each
            continue;
        }
        benchmark::RegisterBenchmark((std::string("calc/giac/") + c.name).c_str(), calculationInGiac, c.giac)
            ->Unit(benchmark::kMicrosecond);
    }
    for (const char* call : {"Arg[#]", "Mod[#, 3]", "Abs[# - 1]", "ArcTan[#, 1]", "ArcTan[2, #]"}) {
        for (int depth : {6, 11, 20}) {
            const Expr request = wire::parseFullForm(nested(call, depth));
            benchmark::RegisterBenchmark(
                ("calc/link/" + std::string(call) + " nested " + std::to_string(depth) + " deep").c_str(),
                [request](benchmark::State& state) {
                    for (auto _ : state)
                        BenchKernel::instance().evaluate(request);
                })
                ->Unit(benchmark::kMicrosecond);
        }
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
