// A drawing's equations compiled for the solver, without the kernel process:
// residuals and their exact partial derivatives (checked against central
// differences), the leaves the resolver decides, and the projection onto the
// equations that solves and drags.
#include "kernelproc/ConstraintProjection.h"
#include "kernelproc/DrawTerm.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kernelproc;
using wire::Expr;
using wire::parseFullForm;

namespace {

// VXDrawVar[i] is unknown i - 1; VXDrawValue[v] is v; nothing else resolves.
std::optional<DrawTerm::Leaf> byIdentity(const Expr& leaf)
{
    if (leaf.hasHead("VXDrawVar", 1))
        return DrawTerm::Leaf{std::stoi(leaf.arg(0).text) - 1, 0};
    if (leaf.hasHead("VXDrawValue", 1))
        return DrawTerm::Leaf{-1, std::stod(leaf.arg(0).text)};
    return std::nullopt;
}

DrawTerm compiled(const std::string& fullForm)
{
    std::string error;
    std::optional<DrawTerm> term = DrawTerm::compile(parseFullForm(fullForm), byIdentity, error);
    EXPECT_TRUE(term) << fullForm << ": " << error;
    return term ? *term : *DrawTerm::compile(Expr::integer(0), byIdentity, error);
}

} // namespace

TEST(DrawTerm, PartialsAgreeWithCentralDifferences)
{
    const char* const equations[] = {
        // the angle at (v3, v4) between the arms to (v1, v2) and (v5, v6) is v7
        "Equal[Plus[Plus[Power[Plus[VXDrawVar[1], Times[-1, VXDrawVar[3]]], 2], Power[Plus[VXDrawVar[2], Times[-1, "
        "VXDrawVar[4]]], 2]], Plus[Power[Plus[VXDrawVar[5], Times[-1, VXDrawVar[3]]], 2], Power[Plus[VXDrawVar[6], "
        "Times[-1, VXDrawVar[4]]], 2]], Times[-1, Times[2, Times[Sqrt[Plus[Power[Plus[VXDrawVar[1], Times[-1, "
        "VXDrawVar[3]]], 2], Power[Plus[VXDrawVar[2], Times[-1, VXDrawVar[4]]], 2]]], Sqrt[Plus[Power[Plus["
        "VXDrawVar[5], Times[-1, VXDrawVar[3]]], 2], Power[Plus[VXDrawVar[6], Times[-1, VXDrawVar[4]]], 2]]], "
        "Cos[VXDrawVar[7]]]]]], Plus[Power[Plus[VXDrawVar[1], Times[-1, VXDrawVar[5]]], 2], Power[Plus[VXDrawVar[2], "
        "Times[-1, VXDrawVar[6]]], 2]]]",
        "VXPlus[VXDivide[VXDrawVar[1], VXDrawVar[2]], VXLog[2, VXDrawVar[3]], VXRadical[VXDrawVar[4], 3]]",
        "Equal[Power[VXDrawVar[1], VXDrawVar[2]], Times[VXDrawValue[2.5], ArcTan[VXDrawVar[3]], Exp[VXDrawVar[4]]]]",
        "Times[Sin[VXDrawVar[1]], Tan[VXDrawVar[2]], Abs[VXDrawVar[3]], VXDrawVar[3], 0]",
    };
    const std::vector<double> at = {1.3, 0.7, 0.4, 2.1, 3.2, -0.5, 0.9};
    for (const char* e : equations) {
        SCOPED_TRACE(e);
        const DrawTerm term = compiled(e);
        std::vector<std::pair<int, double>> partials;
        const double value = term.gradient(at, partials);
        EXPECT_DOUBLE_EQ(value, term.value(at));
        ASSERT_EQ(partials.size(), term.variables().size());
        for (const auto& [variable, partial] : partials) {
            std::vector<double> up = at, down = at;
            const double h = 1e-6;
            up[std::size_t(variable)] += h;
            down[std::size_t(variable)] -= h;
            EXPECT_NEAR(partial, (term.value(up) - term.value(down)) / (2 * h), 1e-5) << "unknown " << variable;
        }
    }
}

TEST(DrawTerm, ConstantsHaveTheirValues)
{
    const std::vector<double> none;
    EXPECT_NEAR(compiled("Plus[Times[60, Degree], Times[-1, Divide[Pi, 3]]]").value(none), 0, 1e-15);
    EXPECT_NEAR(compiled("Plus[Log[E], Times[-1, VXDrawValue[1.]]]").value(none), 0, 1e-15);
}

TEST(DrawTerm, UnknownHeadsAndLeavesAreNamedInTheError)
{
    std::string error;
    EXPECT_FALSE(DrawTerm::compile(parseFullForm("Equal[BesselJ[0, VXDrawVar[1]], 1]"), byIdentity, error));
    EXPECT_NE(error.find("BesselJ"), std::string::npos) << error;
    EXPECT_FALSE(DrawTerm::compile(parseFullForm("Plus[VXDrawVar[1], q]"), byIdentity, error));
    EXPECT_NE(error.find("q"), std::string::npos) << error;
    EXPECT_FALSE(DrawTerm::compile(parseFullForm("Plus[VXDrawVar[1], \"text\"]"), byIdentity, error));
}

TEST(ConstraintProjection, FindsTheNearestSolutionAndKeepsWhatMayNotMove)
{
    // The point (v1, v2) on the circle of radius v3 about the origin.
    const std::vector<DrawTerm> circle = {
        compiled("Equal[Plus[Power[VXDrawVar[1], 2], Power[VXDrawVar[2], 2]], Power[VXDrawVar[3], 2]]")};
    const double inf = std::numeric_limits<double>::infinity();

    // The radius may not move: the point goes to the circle's nearest point.
    std::vector<double> v = {3, 4, 1};
    EXPECT_TRUE(projectOntoConstraints(circle, v, {3, 4, 1}, {1, 1, inf}));
    EXPECT_NEAR(v[0], 0.6, 1e-9);
    EXPECT_NEAR(v[1], 0.8, 1e-9);
    EXPECT_EQ(v[2], 1);

    // The point may not move: the radius grows to meet it.
    v = {3, 4, 1};
    EXPECT_TRUE(projectOntoConstraints(circle, v, {3, 4, 1}, {inf, inf, 1}));
    EXPECT_NEAR(v[2], 5, 1e-9);

    // From a million away the point comes onto the circle as exactly as
    // from near it: the tolerance is the size of the answer's values, not of
    // those the search began from.
    v = {1e6, 0, 3};
    EXPECT_TRUE(projectOntoConstraints(circle, v, {1e6, 0, 3}, {1, 1, inf}));
    EXPECT_NEAR(v[0], 3, 1e-9);
    EXPECT_TRUE(equationHolds(circle[0], v));
    EXPECT_FALSE(equationHolds(circle[0], {3.001, 0, 3}));
    // Nor does one a unit off far from the origin, or a millionth off on a figure a millionth across.
    EXPECT_FALSE(equationHolds(circle[0], {1.3e10 + 1, 0, 1.3e10}));
    EXPECT_FALSE(equationHolds(circle[0], {1e-6 + 1e-12, 0, 1e-6}));

    // An angle's equation at a straight angle has no slope at all: there a
    // residual within the rounding of its terms holds, and a turn does not.
    auto square = [](int p, int q) {
        auto difference = [](int a, int b) {
            return "Plus[VXDrawVar[" + std::to_string(a) + "], Times[-1, VXDrawVar[" + std::to_string(b) + "]]]";
        };
        return "Plus[Power[" + difference(p, q) + ", 2], Power[" + difference(p + 1, q + 1) + ", 2]]";
    };
    const DrawTerm angle =
        compiled("Equal[Plus[" + square(1, 3) + ", " + square(5, 3) + ", Times[-2, Sqrt[" + square(1, 3) + "], Sqrt[" +
                 square(5, 3) + "], Cos[VXDrawVar[7]]]], " + square(1, 5) + "]");
    EXPECT_TRUE(equationHolds(angle, {-3.73, 0, 0, 0, 2, 0, M_PI}));
    EXPECT_FALSE(equationHolds(angle, {-3.73, 0, 0, 0, 2, 0.01, M_PI}));

    // A radius fixed to a negative square has no solution.
    const std::vector<DrawTerm> impossible = {compiled("Equal[Power[VXDrawVar[1], 2], -1]")};
    v = {0.5};
    EXPECT_FALSE(projectOntoConstraints(impossible, v, {0.5}, {1}));
    EXPECT_TRUE(std::isfinite(v[0]));
}
