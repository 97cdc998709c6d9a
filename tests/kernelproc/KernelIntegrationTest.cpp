// Integration through the kernel process as the editor asks for it
// (VXEvaluate with the integrate code): right answers that the check used to
// refuse or reach only after a minute, refusals that come within seconds, and a
// kernel that keeps its session through what Giac does with a hard integrand.
#include "KernelTestLink.h"
#include "support/CpuTime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

using wire::Expr;
using Clock = std::chrono::steady_clock;

namespace {

// Far more than the kernel's search may take, far less than the minute the
// unbounded check and search used to take: the kernel's processor time, which
// a busy machine does not stretch.
constexpr double kPromptSeconds = 15;

struct Answer {
    std::string text;
    std::vector<std::string> messages;
    double seconds = 0;
};

Answer integrated(KernelTestLink& kernel, const std::string& integrand)
{
    Answer a;
    const pid_t pid = MLProcessId(kernel.link());
    const double start = CpuSecondsOf(pid);
    a.text = kernel.evaluate("VXEvaluate[7, " + integrand + "]", &a.messages);
    a.seconds = CpuSecondsOf(pid) - start;
    return a;
}

// The answer less its constant, differentiated by x, minus the integrand, at x = point.
double derivativeGap(KernelTestLink& kernel, const std::string& answer, const std::string& integrand, const char* point)
{
    const Expr constant = Expr::function("VXSubscript", {Expr::symbol("C"), Expr::symbol("vxReplSub")});
    Expr F = replacedIn(wire::parseFullForm(answer), constant, Expr::integer(0));
    Expr gap = Expr::function("Plus",
                              {Expr::function("D", {F, Expr::symbol("x")}),
                               Expr::function("Times", {Expr::integer(-1), wire::parseFullForm(integrand)})});
    Expr value = wire::parseFullForm(kernel.evaluate(gap));
    std::string number =
        kernel.evaluate(Expr::function("N", {replacedIn(value, Expr::symbol("x"), Expr::realText(point))}));
    try {
        return std::abs(std::stod(number));
    } catch (const std::exception&) {
        return INFINITY;
    }
}

} // namespace

// Giac recurses thousands of frames deep on a rational function times an
// arctangent; the kernel used to die of it after most of a minute, taking
// the user's definitions, constants and preferences with it.
TEST(KernelIntegration, ADeepRecursionInGiacEndsInFailedAndTheSessionGoesOn)
{
    KernelTestLink kernel;
    ASSERT_EQ(kernel.evaluate("VXSetSessionPrefs[x, s, 0, 1]"), "Null");
    ASSERT_EQ(kernel.evaluate("VXStringEvaluate[List[\"a = 7\"]]"), "7");
    ASSERT_EQ(kernel.evaluate("SetAttributes[k, Constant]"), "Null");
    for (const char* integrand :
         {"Divide[ArcTan[Plus[x, 1]], Plus[x, -2]]", "Divide[ArcTan[Plus[Times[2, x], -3]], Plus[x, 3]]"}) {
        Answer a = integrated(kernel, integrand);
        EXPECT_EQ(a.text, "$Failed") << integrand;
        ASSERT_EQ(a.messages.size(), 1u) << integrand;
        EXPECT_NE(a.messages[0].find("Integrate::"), std::string::npos) << a.messages[0];
        EXPECT_LT(a.seconds, kPromptSeconds) << integrand;
        EXPECT_EQ(kernel.evaluate("VXStringEvaluate[List[\"a + 1\"]]"), "8");
        EXPECT_EQ(kernel.evaluate("Solve[Equal[Times[k, x], 1]]"), "Equal[x, Power[k, -1]]");
        EXPECT_EQ(integrated(kernel, "Times[2, x]").text, "Plus[Power[x, 2], VXSubscript[C, vxReplSub]]");
    }
}

// The search gives up promptly even when the first terms of a sum are found
// slowly and a later one cannot be found at all.
TEST(KernelIntegration, ARefusalComesWithinSeconds)
{
    KernelTestLink kernel;
    Answer a =
        integrated(kernel, "Plus[Times[Power[x, 6], Power[2, x], Power[5, x], Sin[Times[3, x]], Cos[x]], Sin[Sin[x]]]");
    EXPECT_EQ(a.text, "$Failed");
    EXPECT_EQ(a.messages.size(), 1u);
    EXPECT_LT(a.seconds, kPromptSeconds);
}

// Giac finds these in a fraction of a second; simplifying the derivative's
// difference took half a minute and more, so the check must settle them at
// sample points.
TEST(KernelIntegration, AnswersWhoseSimplificationIsSlowAreCheckedAtSamplePoints)
{
    KernelTestLink kernel;
    for (const char* integrand : {"Times[Power[x, 7], Power[2, x], Power[3, x], Sin[x], Cos[x]]",
                                  "Times[Power[x, 6], Power[2, x], Power[5, x], Sin[Times[3, x]], Cos[x]]"}) {
        Answer a = integrated(kernel, integrand);
        ASSERT_NE(a.text, "$Failed") << integrand;
        EXPECT_LT(a.seconds, kPromptSeconds) << integrand;
        EXPECT_LT(derivativeGap(kernel, a.text, integrand, "0.731"), 1e-8) << a.text;
    }
}

// These integrands are real only for x > 0; Giac's answers are right there,
// and were refused for disagreeing at a negative sample point.
TEST(KernelIntegration, IntegrandsRealOnlyForPositiveXAreCheckedWhereTheyAreReal)
{
    KernelTestLink kernel;
    for (const char* integrand :
         {"Divide[1, Times[x, Plus[2, Times[-1, Log[x]]]]]", "Divide[Log[x], Times[x, Plus[2, Log[x]]]]",
          "Divide[1, Times[x, Plus[3, Times[-1, Log[x]]]]]"}) {
        Answer a = integrated(kernel, integrand);
        ASSERT_NE(a.text, "$Failed") << integrand;
        for (const char* point : {"0.731", "2.9", "40.5"})
            EXPECT_LT(derivativeGap(kernel, a.text, integrand, point), 1e-8) << a.text << " at " << point;
    }
}

// An abort stops the whole search at once, whichever of its bounded steps is
// running: the kernel is free for the next request right away.
TEST(KernelIntegration, AbortStopsTheWholeSearch)
{
    KernelTestLink kernel;
    const Clock::time_point sent = Clock::now();
    bool aborted = false;
    MLSetYieldFunction(kernel.link(), [&] {
        if (!aborted && Clock::now() - sent > std::chrono::milliseconds(1500)) {
            aborted = true;
            MLPutMessage(kernel.link(), MLABORTMESSAGE);
        }
    });
    Answer a = integrated(kernel, "Divide[ArcTan[Plus[x, 1]], Plus[x, -2]]");
    MLSetYieldFunction(kernel.link(), {});
    EXPECT_EQ(a.text, "$Aborted");
    // Nothing of the search goes on: the next answer costs the kernel next to nothing.
    const pid_t pid = MLProcessId(kernel.link());
    const double next = CpuSecondsOf(pid);
    EXPECT_EQ(kernel.evaluate("Plus[1, 1]"), "2");
    EXPECT_LT(CpuSecondsOf(pid) - next, 1.0);
}
