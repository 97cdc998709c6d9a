#include "FractionTestSupport.h"

#include <cmath>

namespace {

class FractionTextFormsTest : public MathTest {
protected:
    TextComp* Char(char c) { return fonts.GetFace(0)->GetCharacter(static_cast<unsigned char>(c)); }
    // The linear text of a row of components.
    std::string RowText(const CompList& row)
    {
        std::string text;
        for (int i = 1; i <= row.GetCount(); ++i)
            text += LinearText(*row.GetAt(i));
        return text;
    }
    // The linear text of a base followed by the script, read back.
    void ExpectReadsAs(CompList& row, double value)
    {
        std::string text = RowText(row);
        std::optional<double> read = ReadBack(text);
        ASSERT_TRUE(read.has_value()) << text;
        EXPECT_NEAR(*read, value, 1e-9) << text;
    }
};

TEST_F(FractionTextFormsTest, LaTeXOfEveryComponent)
{
    auto latex = [](TextComp&& comp) { return LaTeX(comp); };
    EXPECT_EQ(latex(FractionComp(Chars("a+b"), Chars("c"))), "\\frac{a+b}{c}");
    EXPECT_EQ(latex(ExponentComp(Chars("2"))), "^{2}");
    EXPECT_EQ(latex(ExponentComp(ExponentComp::kPrime)), "'");
    EXPECT_EQ(latex(ExponentComp(ExponentComp::kDoublePrime)), "''");
    EXPECT_EQ(latex(ExponentComp(Chars("\xB7\xB7", 3))), "^{\xB7\xB7}");
    EXPECT_EQ(latex(SubscriptComp(Chars("ij"))), "_{ij}");
    EXPECT_EQ(latex(AbsValueComp(Chars("x"))), "\\left| x\\right| ");
    EXPECT_EQ(latex(BracketComp(Chars("x"))), "\\left[ x\\right] ");
    EXPECT_EQ(latex(ParenComp(Chars("x"))), "\\left( x\\right) ");
    EXPECT_EQ(latex(ConjugateComp(Chars("z"))), "\\overline{z}");
    EXPECT_EQ(latex(PlaceholderComp()), "\\bowtie ");
    const std::pair<unsigned char, const char*> accents[] = {
        {AccentComp::kHat, "\\hat {x}"},     {AccentComp::kDot, "\\dot {x}"},   {AccentComp::kDoubleDot, "\\ddot {x}"},
        {AccentComp::kVector, "\\vec {x}"}, {AccentComp::kTilde, "\\tilde {x}"}, {'Q', "{x}"}};
    for (auto [kind, expected] : accents)
        EXPECT_EQ(latex(AccentComp(Chars("x"), kind)), expected);

    // Nested: the inner structures write themselves inside the groups.
    FractionComp nested(One(new ParenComp(Chars("x"))), Items({Char('y'), new ExponentComp(Chars("2"))}));
    EXPECT_EQ(LaTeX(nested), "\\frac{\\left( x\\right) }{y^{2}}");

    // Squared, the inline fraction keeps the brackets it shows, a built-up one
    // shows none; the linear text brackets both, as the kernel reads them.
    for (int style : {3, 5}) {
        auto* squared = new FractionComp(Chars("2"), Chars("3"));
        auto paragraph = Paragraph(style, Items({squared, new ExponentComp(Chars("2"))}));
        EXPECT_EQ(LaTeX(*squared), style == 3 ? "\\left( \\frac{2}{3}\\right) " : "\\frac{2}{3}");
        EXPECT_EQ(LinearText(*squared), "(2/3)");
    }
}

TEST_F(FractionTextFormsTest, LinearTextOfEveryComponent)
{
    EXPECT_EQ(LinearText(FractionComp(Chars("a+b"), Chars("c"))), "(a+b)/c");
    EXPECT_EQ(LinearText(FractionComp(Chars("-a"), Chars("c"))), "-a/c");
    // Plus-minus, a relation and an arrow of the math face bind less than "/".
    EXPECT_EQ(LinearText(FractionComp(Chars("a\261b", FontId::kMath), Chars("c", FontId::kMath))), "(a\261b)/c");
    EXPECT_EQ(LinearText(FractionComp(Chars("x\2721", FontId::kMath), Chars("2", FontId::kMath))), "(x\2721)/2");
    EXPECT_EQ(LinearText(FractionComp(Chars("x\234y", FontId::kMath), Chars("2", FontId::kMath))), "(x\234y)/2");
    EXPECT_EQ(LinearText(FractionComp(Chars("a"), Chars("2x"))), "a/(2x)");
    EXPECT_EQ(LinearText(ExponentComp(One(new FractionComp(Chars("1"), Chars("2"))))), "^(1/2)");
    EXPECT_EQ(LinearText(SubscriptComp(Chars("i+1"))), "_(i+1)");
    EXPECT_EQ(LinearText(AbsValueComp(Chars("x"))), "| x |");
    EXPECT_EQ(LinearText(BracketComp(Chars("x"))), "[x]");
    EXPECT_EQ(LinearText(ConjugateComp(Chars("z"))), "Conjugate(z)");
    EXPECT_EQ(LinearText(AccentComp(Chars("x"), AccentComp::kHat)), "x\xC1");
    EXPECT_EQ(LinearText(AccentComp(Chars("x+y"), AccentComp::kHat)), "(x+y)\xC1");
    EXPECT_EQ(LinearText(PlaceholderComp()), "missing");
}

TEST_F(FractionTextFormsTest, LinearTextReadsBackAsTheSameMathematics)
{
    // a / (2x) = 3 / 4, not 3/2 * 2.
    CompList quotient(One(new FractionComp(Chars("a"), Chars("2x"))));
    ExpectReadsAs(quotient, 0.75);

    // x^(1/2), not x^1 / 2.
    CompList root(Items({Char('x'), new ExponentComp(One(new FractionComp(Chars("1"), Chars("2"))))}));
    ExpectReadsAs(root, std::sqrt(2.0));

    // (a + b) / (c - x) * y
    CompList sum(Items({new FractionComp(Chars("a+b"), Chars("c-x")), Char('y')}));
    ExpectReadsAs(sum, 8.0 / 5.0 * 11.0);

    // x^(2n) / a : a script that is a product, under a fraction.
    CompList nested(One(new FractionComp(Items({Char('x'), new ExponentComp(Chars("2n"))}), Chars("a"))));
    ExpectReadsAs(nested, std::pow(2.0, 8.0) / 3.0);

    // A fraction of fractions.
    CompList stacked(One(new FractionComp(One(new FractionComp(Chars("a"), Chars("b"))),
                                          One(new FractionComp(Chars("c"), Chars("x"))))));
    ExpectReadsAs(stacked, (3.0 / 5.0) / (7.0 / 2.0));

    // 2 |x - c| / [a + b] and the conjugate of a real value.
    CompList fences(One(new FractionComp(Items({Char('2'), new AbsValueComp(Chars("x-c"))}),
                                         One(new BracketComp(Chars("a+b"))))));
    ExpectReadsAs(fences, 2.0 * 5.0 / 8.0);
    CompList conj(Items({new ConjugateComp(Chars("x+y")), Char('a')}));
    ExpectReadsAs(conj, 13.0 * 3.0);

    // y_(i) with a compound subscript: x_(a+b) is 31x + 8.
    CompList sub(Items({Char('x'), new SubscriptComp(Chars("a+b"))}));
    ExpectReadsAs(sub, 31.0 * 2.0 + 8.0);

    // 1/b^2 and 1/x_1^2: the scripts stay with the denominator.
    CompList squared(One(new FractionComp(Chars("1"), Items({Char('b'), new ExponentComp(Chars("2"))}))));
    ExpectReadsAs(squared, 1.0 / 25.0);
    CompList indexed(One(
        new FractionComp(Chars("1"), Items({Char('x'), new SubscriptComp(Chars("1")), new ExponentComp(Chars("2"))}))));
    ExpectReadsAs(indexed, 1.0 / std::pow(31.0 * 2.0 + 1.0, 2.0));

    // -a over c reads as -(a/c) = (-a)/c.
    CompList negative(One(new FractionComp(Chars("-a"), Chars("c"))));
    ExpectReadsAs(negative, -3.0 / 7.0);
}

} // namespace
