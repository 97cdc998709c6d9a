#include "CalculusTestSupport.h"

namespace {

class CalculusLayoutTest : public CalculusTest {
protected:
    static Rect Abs(const TextComp& comp)
    {
        Rect r;
        comp.GetAbsBounds(r);
        return r;
    }
    static Rect SignBox(unsigned char c, bool large)
    {
        Rect box;
        const int family = gDrawContext.GetFontFamily();
        gDrawContext.SetFontFamily(DrawContext::kMathFamily);
        if (large)
            gDrawContext.GetLargeCharBox(c, box);
        else
            gDrawContext.GetCharBox(c, box);
        gDrawContext.SetFontFamily(family);
        return box;
    }
    static int Unit(int step)
    {
        SizeStepScope size(step);
        return gDrawContext.GetSizeUnit();
    }
};

TEST_F(CalculusLayoutTest, IntegralsInEquationAndTextForms)
{
    auto* shown = new IntegralComp(Chars("f"), Chars("x"), Chars("b"), Chars("a"));
    auto equation = Paragraph(5, Items({shown}));
    EXPECT_EQ(shown->Lower()->GetSizeStep(), 2);
    const IntPoint origin(20, 100);
    // Each limit's baseline half the limit's ascent inside the large sign's ends.
    const Rect large = SignBox(IntegralComp::kSignChar, true);
    EXPECT_EQ(shown->Upper()->GetOrigin().y, origin.y + large.top - shown->Upper()->GetRect().top / 2);
    EXPECT_EQ(shown->Lower()->GetOrigin().y, origin.y + large.bottom - shown->Lower()->GetRect().top / 2);
    // The lower limit stands a third of the sign's width left of the upper one.
    EXPECT_EQ(shown->Upper()->GetAbsRect().left - shown->Lower()->GetAbsRect().left, large.right / 3);
    const Rect equationBounds = Abs(*shown);

    auto* inText = new IntegralComp(Chars("f"), Chars("x"), Chars("b"), Chars("a"));
    auto text = Paragraph(3, Items({inText}));
    EXPECT_EQ(inText->Lower()->GetSizeStep(), 3);
    const Rect normal = SignBox(IntegralComp::kSignChar, false);
    // The upper limit's top on the sign's top, the lower limit's baseline on
    // its bottom; at this size the two overlap by a little, so the lower one
    // goes down by half the overlap and the upper one up by that and half a unit.
    const Rect U = inText->Upper()->GetRect();
    const Rect L = inText->Lower()->GetRect();
    const int overlap = (normal.top - U.top + U.bottom) - (normal.bottom + L.top);
    ASSERT_GT(overlap, 0);
    const int u = Unit(0);
    EXPECT_EQ(inText->Upper()->GetAbsRect().top, origin.y + normal.top - (u / 2 + overlap / 2));
    EXPECT_EQ(inText->Lower()->GetOrigin().y, origin.y + normal.bottom + overlap / 2);
    EXPECT_LT(Abs(*inText).Height(), equationBounds.Height());

    // The integrand follows the sign and the widest limit; the variable
    // follows the letter d with half a space either side.
    EXPECT_GT(shown->Integrand()->GetAbsRect().left, shown->Upper()->GetAbsRect().right - 1);
    EXPECT_EQ(Abs(*shown).right, shown->Variable()->GetAbsRect().right);

    // Pinned at 96 dpi with the test fonts.
    EXPECT_EQ(equationBounds, Rect(20, 73, 67, 112));
    EXPECT_EQ(Abs(*inText), Rect(20, 82, 64, 106));
}

TEST_F(CalculusLayoutTest, OverlappingLimitsArePushedApart)
{
    // Limits as tall as the sign itself cannot both fit beside it.
    auto* integral = new IntegralComp(Chars("f"), Chars("x"), Items({new SumComp(Chars("n"), Chars("k"))}),
                                      Items({new SumComp(Chars("n"), Chars("k"))}));
    auto paragraph = Paragraph(3, Items({integral}));
    EXPECT_LE(integral->Upper()->GetAbsRect().bottom, integral->Lower()->GetAbsRect().top);
    EXPECT_LE(Abs(*integral).top, integral->Upper()->GetAbsRect().top);
    EXPECT_GE(Abs(*integral).bottom, integral->Lower()->GetAbsRect().bottom);
}

TEST_F(CalculusLayoutTest, EveryComponentDrawsWithinItsBounds)
{
    auto* partial = new PartialDerivativeComp(Chars("f"), new PartialDifferentialComp(Chars("x"), nullptr));
    partial->InsertVariable(2, new PartialDifferentialComp(Chars("y"), Chars("2")));
    std::vector<TextComp*> comps = {
        new IntegralComp(Chars("f"), Chars("x"), Chars("b"), Chars("a")),
        new SumComp(Chars("n"), Chars("k")),
        new ProductComp(Chars("n"), Chars("k")),
        new RadicalComp(Chars("x"), Chars("3")),
        new LimitComp(Chars("x")),
        new TagVarComp(Chars("y"), 1),
        new TotalDerivativeComp(Chars("f"), new TotalDifferentialComp(Chars("x"), Chars("2"))),
        partial,
    };
    auto array = std::make_unique<CompArray>();
    for (TextComp* comp : comps)
        array->Append(comp);
    auto paragraph = Paragraph(5, std::move(array));
    paragraph->GetRow()->Draw();
    QImage outside = image.copy();
    for (TextComp* comp : comps) {
        Rect b = Abs(*comp);
        EXPECT_GT(InkIn(image, b), 0);
        // Glyphs may reach a little past the drawing context's em boxes.
        b.Deflate(-3, -3);
        for (int y = std::max(0, b.top); y < std::min(outside.height(), b.bottom); ++y)
            for (int x = std::max(0, b.left); x < std::min(outside.width(), b.right); ++x)
                outside.setPixel(x, y, 0xFFFFFFFF);
    }
    EXPECT_EQ(InkIn(outside, Rect(0, 0, outside.width(), outside.height())), 0);
}

// A stroke under the whole index read as a minus sign beside what stands
// before the root; the sign starts with a tick of one unit under the index's
// right edge.
TEST_F(CalculusLayoutTest, ARootsSignStartsWithATickNotAStrokeUnderItsIndex)
{
    auto* root = new RadicalComp(Chars("x"), Chars("mmm"));
    auto paragraph = Paragraph(5, Items({root}));
    paragraph->GetRow()->Draw();
    const Rect index = root->GetChild(2)->GetAbsRect();
    const int u = Unit(root->GetChild(2)->GetSizeStep());
    const int strokeRow = index.bottom;
    EXPECT_EQ(InkIn(image, Rect(index.left, strokeRow - 1, index.right - u - 1, strokeRow + 2)), 0);
    EXPECT_GT(InkIn(image, Rect(index.right - u, strokeRow - 1, index.right, strokeRow + 2)), 0);
}

// An empty order (the first) took a placeholder box between ∂x and ∂y, drawn
// as a grey frame that read as a character the font lacks.
TEST_F(CalculusLayoutTest, AnEmptyOrderShowsNoBoxBetweenPartialDifferentials)
{
    auto* partial = new PartialDerivativeComp(Chars("g"), new PartialDifferentialComp(Chars("x"), nullptr));
    partial->InsertVariable(2, new PartialDifferentialComp(Chars("y"), Chars("2")));
    auto paragraph = Paragraph(5, Items({partial}));
    paragraph->GetRow()->Draw();
    EXPECT_TRUE(partial->GetVariable(1)->OrderRow()->GetAbsRect().IsEmpty());
    EXPECT_FALSE(partial->GetVariable(2)->OrderRow()->GetAbsRect().IsEmpty());
}

TEST_F(CalculusLayoutTest, TheProductShowsTheProductSignNotALambda)
{
    auto* product = new ProductComp(nullptr, nullptr);
    auto paragraph = Paragraph(5, Items({product}));
    paragraph->GetRow()->Draw();
    const Rect ink = Abs(*product);
    QImage drawn = image.copy(ink.left, ink.top, ink.Width(), ink.Height());

    // The same sign drawn directly, from the product sign's code.
    image.fill(Qt::white);
    gDrawContext.SetFontFamily(DrawContext::kMathFamily);
    gDrawContext.MoveTo(IntPoint(ink.left + (ink.Width() - product->SignBox().right) / 2, 100));
    Str255 sign;
    sign.AppendChar(char(235));
    gDrawContext.DrawTextLarger(sign);
    gDrawContext.SetFontFamily(0);
    EXPECT_EQ(drawn, image.copy(ink.left, ink.top, ink.Width(), ink.Height()));
}

TEST_F(CalculusLayoutTest, ClicksOnTagVariablesAndPartialDerivatives)
{
    auto* tagVar = new TagVarComp(Chars("yy"), 4);
    auto* partial = new PartialDerivativeComp(Chars("f"), new PartialDifferentialComp(Chars("x"), nullptr));
    partial->InsertVariable(2, new PartialDifferentialComp(Chars("y"), Chars("2")));
    auto paragraph = Paragraph(5, Items({tagVar, partial}));
    CompList* row = paragraph->GetRow();

    const Rect t = Abs(*tagVar);
    DocPosition pos;
    tagVar->PositionFromPoint(pos, IntPoint(t.left + 1, t.top + 2), true);
    EXPECT_EQ(pos, DocPosition(row, 1));
    tagVar->PositionFromPoint(pos, IntPoint(t.right - 1, t.top + 2), true);
    EXPECT_EQ(pos, DocPosition(row, 2));

    Rect v1, v2, band;
    partial->GetVariableBox(1, v1);
    partial->GetVariableBox(2, v2);
    partial->GetVariableBox(3, band);
    const int midY = (v1.top + v1.bottom) / 2;
    // Between the two variables: slot 2; before the first: slot 1; after the last: slot 3.
    partial->PositionFromPoint(pos, IntPoint(v2.left - 1, midY), true);
    EXPECT_EQ(pos, DocPosition(partial, 2));
    partial->PositionFromPoint(pos, IntPoint(v1.left - 1, midY), true);
    EXPECT_EQ(pos, DocPosition(partial, 1));
    partial->PositionFromPoint(pos, IntPoint(band.left + 1, midY), true);
    EXPECT_EQ(pos, DocPosition(partial, 3));
    // Inside the second variable's variable row: a place in that row.
    DifferentialComp* y = partial->GetVariable(2);
    const Rect yRow = y->VariableRow()->GetAbsRect();
    partial->PositionFromPoint(pos, IntPoint(yRow.left + 1, (yRow.top + yRow.bottom) / 2), true);
    EXPECT_EQ(pos.GetKind(), DocPosition::kListPlace);
    EXPECT_EQ(pos.GetList(), y->VariableRow());
}

} // namespace

namespace {

} // namespace
