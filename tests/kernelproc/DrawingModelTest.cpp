// The kernel's drawing model through a real kernel process: a triangle whose
// side AB is the named length a, built from a new constraint and from a
// changed variable, solved, and dragged; malformed requests are refused and
// leave the model as it was.
#include "KernelTestLink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using wire::Expr;
using wire::parseFullForm;

namespace {

Expr var(int id)
{
    return Expr::function("VXDrawVar", {Expr::integer(id)});
}

// |PQ|^2 == r^2 in plain form.
std::string distance(const std::string& px, const std::string& py, const std::string& qx, const std::string& qy,
                     const std::string& r)
{
    return "Equal[Plus[Power[Plus[" + px + ", Times[-1, " + qx + "]], 2], Power[Plus[" + py + ", Times[-1, " + qy +
        "]], 2]], Power[" + r + ", 2]]";
}

// A = (0, 0) and B's y are fixed; B's x is variable 3, C is (5, 6); a is
// variable 100; |AB| = a, |AC| = 3, |BC| = 4.
const std::string kAB = distance("VXDrawValue[0.]", "VXDrawValue[0.]", "VXDrawVar[3]", "VXDrawValue[0.]", "a");
const std::string kSystem = "List[" + kAB + ", " +
    distance("VXDrawValue[0.]", "VXDrawValue[0.]", "VXDrawVar[5]", "VXDrawVar[6]", "3") + ", " +
    distance("VXDrawVar[3]", "VXDrawValue[0.]", "VXDrawVar[5]", "VXDrawVar[6]", "4") + ", Equal[a, VXDrawVar[100]]]";

using Values = std::map<int, double>;

Expr rules(const Values& values)
{
    Expr list = Expr::function("List", {});
    for (const auto& [id, v] : values)
        list.parts.push_back(Expr::function("Rule", {var(id), Expr::real(v)}));
    return list;
}

// The values of a solve answer {1, {VXDrawVar[id] -> real...}}; nothing for any other answer.
std::optional<Values> solved(const Expr& answer)
{
    if (!answer.hasHead("List", 2) || answer.arg(0) != Expr::integer(1) || !answer.arg(1).hasHead("List"))
        return std::nullopt;
    Values values;
    for (std::size_t i = 0; i < answer.arg(1).argCount(); ++i) {
        const Expr& rule = answer.arg(1).arg(i);
        EXPECT_TRUE(rule.hasHead("Rule", 2) && rule.arg(0).hasHead("VXDrawVar", 1)) << wire::toFullForm(rule);
        EXPECT_EQ(rule.arg(1).type, wire::kTokenReal) << "the program skips a rule whose value is no real";
        values[std::stoi(rule.arg(0).arg(0).text)] = std::stod(rule.arg(1).text);
    }
    return values;
}

void expectTriangle(const Values& v, double a)
{
    EXPECT_NEAR(v.at(3), a, 1e-6);
    EXPECT_NEAR(v.at(100), a, 1e-6);
    EXPECT_NEAR(std::hypot(v.at(5), v.at(6)), 3, 1e-6);
    EXPECT_NEAR(std::hypot(v.at(5) - v.at(3), v.at(6)), 4, 1e-6);
}

class DrawingModel : public ::testing::Test {
protected:
    Expr bare(const std::string& fullForm) { return kernel.answerOf(parseFullForm(fullForm), false); }
    Expr bare(const Expr& request) { return kernel.answerOf(request, false); }
    Expr call(const char* head, std::vector<Expr> args) { return bare(Expr::function(head, std::move(args))); }

    KernelTestLink kernel;
    const Values start{{3, 4.5}, {5, 1.0}, {6, 2.5}, {100, 5.0}};
};

} // namespace

TEST_F(DrawingModel, TriangleWithNamedSideIsSolvedAndFollowsTheName)
{
    const Expr built = call("QVBuildModelFromCore", {parseFullForm(kSystem), parseFullForm("List[" + kAB + "]")});
    ASSERT_TRUE(built.hasHead("List", 4)) << wire::toFullForm(built);
    for (int id : {3, 5, 6, 100})
        EXPECT_NE(std::find(built.parts.begin(), built.parts.end(), var(id)), built.parts.end()) << id;

    std::optional<Values> first = solved(call("QVSolveSystem", {rules(start)}));
    ASSERT_TRUE(first);
    expectTriangle(*first, first->at(100));
    EXPECT_GT(first->at(6), 0) << "the nearest solution keeps C above AB";

    // The user sets a = 6: the model is built from a's variable, which keeps its new value.
    const Expr rebuilt = call("QVBuildModelFromVars", {parseFullForm(kSystem), parseFullForm("List[VXDrawVar[100]]")});
    ASSERT_TRUE(rebuilt.hasHead("List", 4)) << wire::toFullForm(rebuilt);
    Values changed = *first;
    changed[100] = 6.0;
    std::optional<Values> second = solved(call("QVSolveSystem", {rules(changed)}));
    ASSERT_TRUE(second);
    expectTriangle(*second, 6.0);

    const Expr named = kernel.answerOf(Expr::function("VXFinalizeModel", {rules(*second)}), true);
    ASSERT_TRUE(named.hasHead("List", 1)) << wire::toFullForm(named);
    EXPECT_EQ(named.arg(0).arg(0), Expr::symbol("a"));
    EXPECT_NEAR(std::stod(named.arg(0).arg(1).text), 6.0, 1e-9);

    // A length no triangle can have: no solution, said as {0, {}}.
    changed[100] = 8.0;
    EXPECT_EQ(wire::toFullForm(call("QVSolveSystem", {rules(changed)})), "List[0, List[]]");
}

TEST_F(DrawingModel, DragStepKeepsTheConstraintsAndFollowsTheTarget)
{
    ASSERT_TRUE(
        call("QVBuildModelFromCore", {parseFullForm(kSystem), parseFullForm("List[" + kAB + "]")}).hasHead("List", 4));
    const std::optional<Values> before = solved(call("QVSolveSystem", {rules(start)}));
    ASSERT_TRUE(before);
    // C is dragged along its circle about A: it goes where it is put, and B follows.
    const double turned = std::atan2(before->at(6), before->at(5)) + 0.1;
    Values moved = *before;
    moved[5] = 3 * std::cos(turned);
    moved[6] = 3 * std::sin(turned);
    std::optional<Values> after =
        solved(call("QVConstrainedMin", {rules(*before), rules(moved), rules({{5, moved[5]}, {6, moved[6]}})}));
    ASSERT_TRUE(after);
    expectTriangle(*after, after->at(100));
    EXPECT_NEAR(after->at(5), moved[5], 1e-6);
    EXPECT_NEAR(after->at(6), moved[6], 1e-6);

    // The program's rules still hold the values from before the step; the
    // named length reported at the drag's end is the one the drag left.
    const Expr named = kernel.answerOf(Expr::function("VXFinalizeModel", {rules(*before)}), true);
    ASSERT_TRUE(named.hasHead("List", 1)) << wire::toFullForm(named);
    EXPECT_NEAR(std::stod(named.arg(0).arg(1).text), after->at(100), 1e-9);
    EXPECT_GT(std::fabs(after->at(100) - before->at(100)), 1e-3) << "the step changed a";

    // Dragged out of reach, C stops on its circle, as near the pointer as it can be.
    Values far = *after;
    far[5] = 5;
    far[6] = 5;
    std::optional<Values> stopped =
        solved(call("QVConstrainedMin", {rules(*after), rules(far), rules({{5, 5.0}, {6, 5.0}})}));
    ASSERT_TRUE(stopped);
    expectTriangle(*stopped, stopped->at(100));
    EXPECT_NEAR(stopped->at(5), 3 / std::sqrt(2.0), 1e-3);
    EXPECT_NEAR(stopped->at(6), 3 / std::sqrt(2.0), 1e-3);
}

TEST_F(DrawingModel, PlotAndTangentTermsAndLabelledPointsBind)
{
    // P = (v1, v2) lies on y = c x^2 (c = 0.5 fixed) with its tangent direction
    // (v3, v4) = (1, w); the labelled vertex Q is pinned to (2, 3) and a vertex
    // only named "A" binds nothing.
    const std::string system =
        "List[VXPlotConstraint[Times[c, Power[x, 2]], x, VXDrawVar[1], y, VXDrawVar[2]], "
        "VXTangentConstraint[Times[c, Power[x, 2]], x, VXDrawVar[1], y, VXDrawVar[2], VXDrawVar[3], VXDrawVar[4]], "
        "Equal[VXDrawVar[3], 1], Equal[VXDrawVar[1], 2], Equal[c, VXDrawValue[0.5]], "
        "Equal[VXDrawVar[7], QVXCoord[QVPoint[2, 3]]], Equal[VXDrawVar[8], QVYCoord[QVPoint[2, 3]]], "
        "Equal[VXDrawVar[9], QVXCoord[A]]]";
    const std::string core = "List[VXPlotConstraint[Times[c, Power[x, 2]], x, VXDrawVar[1], y, VXDrawVar[2]], "
                             "Equal[VXDrawVar[7], QVXCoord[QVPoint[2, 3]]]]";
    ASSERT_TRUE(call("QVBuildModelFromCore", {parseFullForm(system), parseFullForm(core)}).hasHead("List", 5));
    std::optional<Values> v = solved(call("QVSolveSystem", {rules({{1, 1.}, {2, 0.}, {3, 0.}, {4, 0.}, {7, 0.}})}));
    ASSERT_TRUE(v);
    EXPECT_NEAR(v->at(2), 2.0, 1e-6); // 0.5 * 2^2
    EXPECT_NEAR(v->at(4), 2.0, 1e-6); // slope 2 x c at x = 2
    EXPECT_NEAR(v->at(7), 2.0, 1e-9);
    EXPECT_EQ(v->count(9), 0u);
}

TEST_F(DrawingModel, MalformedRequestsAreRefusedAndKeepTheModel)
{
    ASSERT_TRUE(
        call("QVBuildModelFromCore", {parseFullForm(kSystem), parseFullForm("List[" + kAB + "]")}).hasHead("List", 4));
    const char* const refused[] = {
        "QVSolveSystem[List[Rule[VXDrawVar[3], x]]]",
        "QVSolveSystem[List[Rule[VXDrawVar[x], 1.]]]",
        "QVSolveSystem[List[1, 2]]",
        "QVSolveSystem[x]",
        "QVSolveSystem[]",
        "QVConstrainedMin[List[], List[], List[Rule[VXDrawVar[5]]]]",
        "QVConstrainedMin[List[], List[]]",
        "VXFinalizeModel[List[Rule[a]]]",
    };
    for (const char* request : refused) {
        SCOPED_TRACE(request);
        EXPECT_EQ(bare(request), Expr::symbol("$Failed"));
    }
    std::optional<Values> v = solved(call("QVSolveSystem", {rules(start)}));
    ASSERT_TRUE(v) << "the model built before the refused requests still solves";
    expectTriangle(*v, v->at(100));
}

TEST_F(DrawingModel, AFailedBuildLeavesNoModel)
{
    const char* const refused[] = {
        "QVBuildModelFromCore[x]",
        "QVBuildModelFromCore[5, List[]]",
        "QVBuildModelFromVars[List[], List[3]]",
        "QVBuildModelFromVars[List[], 3]",
        "QVBuildModelFromCore[List[Equal[VXDrawVar[3], Foo[VXDrawVar[5]]]], List[Equal[VXDrawVar[3], 2]]]",
    };
    for (const char* request : refused) {
        SCOPED_TRACE(request);
        ASSERT_TRUE(call("QVBuildModelFromCore", {parseFullForm(kSystem), parseFullForm("List[" + kAB + "]")})
                        .hasHead("List", 4));
        EXPECT_EQ(bare(request), Expr::symbol("$Failed"));
        // A solve after it must not answer for the variables of the model before.
        EXPECT_EQ(wire::toFullForm(call("QVSolveSystem", {rules(start)})), "List[0, List[]]");
    }
}

TEST_F(DrawingModel, SolveWithoutAModelFindsNoSolution)
{
    EXPECT_EQ(wire::toFullForm(call("QVSolveSystem", {rules(start)})), "List[0, List[]]");
    EXPECT_EQ(wire::toFullForm(call("QVConstrainedMin", {rules(start), rules(start), rules({{5, 1.}})})),
              "List[0, List[]]");
}

TEST_F(DrawingModel, AnEquationTheSolverCannotComputeIsNamedInAMessage)
{
    std::vector<std::string> messages;
    const Expr refused = kernel.answerOf(
        parseFullForm("QVBuildModelFromCore[List[], List[Equal[VXDrawVar[3], BesselJ[0, VXDrawVar[5]]]]]"), false,
        &messages);
    EXPECT_EQ(refused, Expr::symbol("$Failed"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "QVBuildModelFromCore::model: The kernel cannot solve the drawing: the equations use "
              "BesselJ, which the solver cannot compute.");
}
