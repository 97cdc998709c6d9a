#include "CalculusTestSupport.h"

#include <cmath>

#include "math/IntegralComp.h"
#include "math/LimitComp.h"
#include "math/PartialDerivativeComp.h"
#include "math/ProductComp.h"
#include "math/RadicalComp.h"
#include "math/SumComp.h"
#include "math/TagVarComp.h"
#include "math/TotalDerivativeComp.h"

namespace {

using CalculusFormsTest = CalculusTest;

TEST_F(CalculusFormsTest, LaTeXOfIntegralsBigOperatorsRadicalsLimitsAndTagVariables)
{
    IntegralComp definite(Chars("f"), Chars("x"), Chars("b"), Chars("a"));
    EXPECT_EQ(LaTeX(definite), "\\int_{a}^{b} f dx");
    IntegralComp lowerOnly(Chars("f"), Chars("x"), nullptr, Chars("D"));
    EXPECT_EQ(LaTeX(lowerOnly), "\\int_{D} f dx");
    IntegralComp indefinite(Chars("f"), Chars("t"));
    EXPECT_EQ(LaTeX(indefinite), "\\int f dt");

    SumComp sum(Chars("n"), Chars("k=1"));
    EXPECT_EQ(LaTeX(sum), "\\sum_{k=1}^{n} ");
    ProductComp product(nullptr, nullptr);
    EXPECT_EQ(LaTeX(product), "\\prod_{}^{} ");

    RadicalComp square(Chars("x+1"), nullptr);
    EXPECT_EQ(LaTeX(square), "\\sqrt{x+1}");
    RadicalComp cube(Chars("x"), Chars("3"));
    EXPECT_EQ(LaTeX(cube), "\\sqrt[3]{x}");

    LimitComp limit(Chars("x"));
    EXPECT_EQ(LaTeX(limit), "\\lim_{x}");
    TagVarComp tagVar(Chars("y1"), 5);
    EXPECT_EQ(LaTeX(tagVar), "y1");

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
    RadicalComp square(Chars("r"), nullptr);
    EXPECT_EQ(LinearText(square), "sqrt(r)");
    EXPECT_EQ(ReadBack(LinearText(square)), 3.0);

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
