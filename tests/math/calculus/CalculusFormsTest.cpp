#include "CalculusTestSupport.h"

#include <cmath>

namespace {

using CalculusFormsTest = CalculusTest;

TEST_F(CalculusFormsTest, LaTeXOfIntegralsBigOperatorsRadicalsLimitsAndTagVariables)
{
    IntegralComp definite(Chars("f"), Chars("x"), Chars("b"), Chars("a"));
    EXPECT_EQ(LaTeX(definite), "\\int_{a}^{b} f dx");
    auto latex = [](TextComp&& comp) { return LaTeX(comp); };
    EXPECT_EQ(latex(IntegralComp(Chars("f"), Chars("x"), nullptr, Chars("D"))), "\\int_{D} f dx");
    EXPECT_EQ(latex(IntegralComp(Chars("f"), Chars("t"))), "\\int f dt");
    EXPECT_EQ(latex(SumComp(Chars("n"), Chars("k=1"))), "\\sum_{k=1}^{n} ");
    EXPECT_EQ(latex(ProductComp(nullptr, nullptr)), "\\prod_{}^{} ");
    EXPECT_EQ(latex(RadicalComp(Chars("x+1"), nullptr)), "\\sqrt{x+1}");
    EXPECT_EQ(latex(RadicalComp(Chars("x"), Chars("3"))), "\\sqrt[3]{x}");
    EXPECT_EQ(latex(RadicalComp(Chars("x"), Chars("[a]"))), "\\sqrt[{[a]}]{x}");
    EXPECT_EQ(latex(LimitComp(Chars("x"))), "\\lim_{x}");
    EXPECT_EQ(latex(TagVarComp(Chars("y1"), 5)), "y1");

    // Nested: the integrand holds a root.
    IntegralComp nested(Items({new RadicalComp(Chars("x"), nullptr)}), Chars("x"));
    EXPECT_EQ(LaTeX(nested), "\\int \\sqrt{x} dx");
}

TEST_F(CalculusFormsTest, LaTeXOfDerivatives)
{
    // d^2/dx^2 with an empty operand.
    TotalDerivativeComp second(new TotalDifferentialComp(Chars("x"), Chars("2")));
    EXPECT_EQ(LaTeX(second), "\\frac{d^{2}}{dx^{2}}");
    TotalDerivativeComp first(Chars("f"), new TotalDifferentialComp(Chars("x"), nullptr));
    EXPECT_EQ(LaTeX(first), "\\frac{d f}{dx }");

    PartialDerivativeComp partial(Chars("f"), new PartialDifferentialComp(Chars("x"), nullptr));
    partial.InsertVariable(2, new PartialDifferentialComp(Chars("y"), Chars("2")));
    EXPECT_EQ(LaTeX(partial), "\\frac{\\partial^{3}f}{\\partial x  \\partial y^{2} }");
}

TEST_F(CalculusFormsTest, LinearTextOfEachComponent)
{
    const std::string integralSign(1, char(IntegralComp::kSignChar));
    IntegralComp integral(Chars("x+1"), Chars("x"), Chars("b"), Chars("a"));
    EXPECT_EQ(LinearText(integral), integralSign + " x+1 d x");

    EXPECT_EQ(LinearText(SumComp(Chars("n"), Chars("k"))), std::string(1, char(190)) + " k");
    EXPECT_EQ(LinearText(ProductComp(Chars("n"), Chars("k"))), std::string(1, char(235)) + " k");
    EXPECT_EQ(LinearText(LimitComp(Chars("x"))), "lim ");
    EXPECT_EQ(LinearText(TagVarComp(Chars("y"), 3)), "y");

    const std::string d(1, char(100));
    const std::string del(1, char(219));
    TotalDerivativeComp total(Chars("f"), new TotalDifferentialComp(Chars("x"), Chars("2")));
    EXPECT_EQ(LinearText(total), "d^2 f/d^2 x");
    PartialDerivativeComp partial(Chars("g"), new PartialDifferentialComp(Chars("x"), nullptr));
    partial.InsertVariable(2, new PartialDifferentialComp(Chars("y"), Chars("n")));
    EXPECT_EQ(LinearText(partial), del + "^(1 + n) g/" + del + " x" + del + "^n y");
}

TEST_F(CalculusFormsTest, RadicalsReadBackAsTheSameNumber)
{
    // a = 3, b = 5, n = 4, r = 9, x = 2.
    EXPECT_EQ(LinearText(RadicalComp(Chars("r"), nullptr)), "sqrt(r)");

    RadicalComp fourth(Chars("a+b"), Chars("x"));
    EXPECT_EQ(LinearText(fourth), "(a+b)^(1/x)");
    ASSERT_TRUE(ReadBack(LinearText(fourth)));
    EXPECT_DOUBLE_EQ(*ReadBack(LinearText(fourth)), std::sqrt(8.0));

    RadicalComp compound(Chars("r"), Chars("n-2"));
    ASSERT_TRUE(ReadBack(LinearText(compound)));
    EXPECT_DOUBLE_EQ(*ReadBack(LinearText(compound)), 3.0);

    // An implicit product in the index binds as a whole too: 1/(2x), not 1/2x.
    RadicalComp product(Chars("r"), Chars("2x"));
    ASSERT_TRUE(ReadBack(LinearText(product)));
    EXPECT_DOUBLE_EQ(*ReadBack(LinearText(product)), std::pow(9.0, 0.25));
}

} // namespace
