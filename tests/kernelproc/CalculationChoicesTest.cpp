// The choices offered for a selection (classified by shape, quickly) and the
// parser of the code the user asks the kernel to evaluate.
#include "kernelproc/CalculationChoices.h"
#include "kernelproc/CodeParser.h"

#include "kernelproc/fuzz/CodeParserFuzzEntry.h"
#include "support/CorpusReplay.h"
#include "support/CpuTime.h"

#include <gtest/gtest.h>

#include <algorithm>

using kernelproc::calculationChoices;
using kernelproc::ChoiceContext;
using kernelproc::parseCode;
using wire::Expr;

namespace {

// a0 x^0 + a1 x^1 + ... with the mover on the term `marked`.
Expr longSum(int terms, int marked)
{
    Expr sum = Expr::function("Plus", {});
    for (int i = 0; i < terms; ++i) {
        Expr term = Expr::function("Times", {Expr::integer(i + 1), Expr::function("Power", {Expr::symbol("x"), Expr::integer(i)}),
                                              Expr::function("Sin", {Expr::symbol("y")})});
        sum.parts.push_back(i == marked ? Expr::function("VXMover", {term}) : term);
    }
    return Expr::function("Equal", {sum, Expr::integer(0)});
}

} // namespace

TEST(CalculationChoices, ClassifyingASelectionInALongFormulaIsFast)
{
    ChoiceContext context;
    std::vector<double> times;
    for (int marked = 0; marked < 200; marked += 4) {
        Expr whole = longSum(200, marked);
        const double start = CpuSeconds();
        auto choices = calculationChoices(whole, context);
        times.push_back((CpuSeconds() - start) * 1000);
        ASSERT_FALSE(choices.empty());
        EXPECT_EQ(choices.front().placement, 8);   // a term inside a sum is replaced in place
    }
    // A fraction in every denominator, as Element > Fraction typed again and
    // again builds it.
    Expr tower = Expr::symbol("x");
    for (int level = 0; level < 20; ++level)
        tower = Expr::function("Divide", {Expr::integer(1), tower});
    const double start = CpuSeconds();
    EXPECT_FALSE(calculationChoices(tower, context).empty());
    times.push_back((CpuSeconds() - start) * 1000);
    std::sort(times.begin(), times.end());
    EXPECT_LE(times[times.size() / 2], 5.0);
    EXPECT_LE(times.back(), 50.0);
}

TEST(CalculationChoices, TheLastSideOfAnEquationGoesOnAfterItAndAnyOtherPartIsReplaced)
{
    ChoiceContext context;
    const std::pair<const char*, int> cases[] = {
        {"VXInequality[a, Equal, VXMover[VXPlus[x, x]]]", 7},
        {"VXInequality[VXMover[VXPlus[x, x]], Equal, a]", 8},
        {"VXPlus[VXMover[VXTimes[x, x]], 1]", 8},
        {"VXPlus[x, x]", 7},
    };
    for (auto [whole, placement] : cases) {
        std::vector<kernelproc::CalculationChoice> choices = calculationChoices(wire::parseFullForm(whole), context);
        ASSERT_FALSE(choices.empty()) << whole;
        EXPECT_EQ(choices.front().placement, placement) << whole;
    }
}

TEST(CalculationChoices, NeverMoreThanSixteenAndNothingForABareSymbol)
{
    ChoiceContext context;
    Expr rich = Expr::function("Divide", {Expr::function("VXMatrix", {Expr::function("List", {Expr::function("List", {Expr::symbol("x")})})}),
                                          Expr::function("Plus", {Expr::symbol("x"), Expr::integer(1)})});
    EXPECT_LE(calculationChoices(rich, context).size(), 16u);
    EXPECT_TRUE(calculationChoices(Expr::function("VXMover", {Expr::symbol("Null")}), context).empty());
    EXPECT_EQ(wire::toFullForm(kernelproc::choiceList({})), "List[List[0, \"\", 0]]");
}

TEST(CodeParser, ReadsTheKernelInputSyntax)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1 + 2*3", "Plus[1, Times[2, 3]]"},
        {"f[x, {1, 2}]", "f[x, List[1, 2]]"},
        {"a -> b", "Rule[a, b]"},
        {"x^2 == 4", "Equal[Power[x, 2], 4]"},
        {"a = 3; a", "CompoundExpression[Set[a, 3], a]"},
        {"a = 3;", "CompoundExpression[Set[a, 3], Null]"},
        {"f[x_] := x^2", "SetDelayed[f[Pattern[x, Blank[]]], Power[x, 2]]"},
        {"2 x y", "Times[Times[2, x], y]"},
        {"-x^2", "Times[-1, Power[x, 2]]"},
        {"a - b/c", "Plus[a, Times[-1, Times[b, Power[c, -1]]]]"},
        {"2^3^2", "Power[2, Power[3, 2]]"},
        {"x <= 1", "LessEqual[x, 1]"},
        {"\"text\"", "\"text\""},
        {"a\nb", "CompoundExpression[a, b]"},
        {"", "Null"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(wire::toFullForm(parseCode(text)), expected) << text;
}

TEST(CodeParser, RefusesBrokenOrHostileCode)
{
    for (const char* text : {"1 +", "f[2", "{1, 2", "(1", "1 ) 2", "\"open", "1..2", "@", "a b ="})
        EXPECT_THROW(parseCode(text), kernelproc::CodeParseError) << text;
    EXPECT_THROW(parseCode(std::string(5000, '(')), kernelproc::CodeParseError);
    EXPECT_THROW(parseCode(std::string(200000, '1')), kernelproc::CodeParseError);
}

TEST(CodeParser, ReplaysTheFuzzCorpus)
{
    ReplayCorpus("tests/kernelproc/fuzz/corpus", codefuzz::RunCodeInput);
}
