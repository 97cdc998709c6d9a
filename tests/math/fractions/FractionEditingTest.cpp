#include "FractionTestSupport.h"

namespace {

class FractionEditingTest : public MathTest {};

TEST_F(FractionEditingTest, CaretMovesBetweenNumeratorAndDenominator)
{
    FractionComp f(Chars("a"), Chars("b"));
    CompList* n = f.Numerator();
    CompList* d = f.Denominator();
    EXPECT_EQ(f.GetChild(7), d);
    EXPECT_EQ(f.GetListRight(nullptr), n);
    EXPECT_EQ(f.GetListRight(n), d);
    EXPECT_EQ(f.GetListRight(d), nullptr);
    EXPECT_EQ(f.GetListLeft(nullptr), d);
    EXPECT_EQ(f.GetListLeft(n), nullptr);
    EXPECT_EQ(f.GetListUp(nullptr), nullptr);
    EXPECT_EQ(f.GetListUp(d), n);
    EXPECT_EQ(f.GetListDown(n), d);
    EXPECT_EQ(f.GetListDown(d), nullptr);

    // Scripts and fences are entered from any side and left by any move out.
    ExponentComp e(Chars("2"));
    ParenComp p(Chars("x"));
    for (TextComp* comp : {static_cast<TextComp*>(&e), static_cast<TextComp*>(&p)}) {
        CompList* row = comp->GetChild(1);
        EXPECT_EQ(comp->GetListLeft(nullptr), row);
        EXPECT_EQ(comp->GetListUp(nullptr), row);
        EXPECT_EQ(comp->GetListRight(row), nullptr);
        EXPECT_EQ(comp->GetListDown(row), nullptr);
    }
}

TEST_F(FractionEditingTest, ClicksOutsideBothRowsGoToTheNearerEnd)
{
    auto* f = new FractionComp(Chars("a"), Chars("bcd"));
    auto paragraph = Paragraph(5, One(f));
    Rect box;
    f->GetAbsBounds(box);

    // Right of the middle and below the axis, outside both rows: end of the denominator.
    DocPosition pos;
    IntPoint lowerRight(box.right - 1, box.bottom);
    ASSERT_FALSE(f->Denominator()->HitTest(lowerRight));
    f->PositionFromPoint(pos, lowerRight, true);
    EXPECT_EQ(pos, DocPosition(f->Denominator(), 4));
    // Left of the middle, above the axis, outside the narrow numerator: its start.
    IntPoint upperLeft(box.left, box.top);
    ASSERT_FALSE(f->Numerator()->HitTest(upperLeft));
    f->PositionFromPoint(pos, upperLeft, true);
    EXPECT_EQ(pos, DocPosition(f->Numerator(), 1));
    // Inside the numerator the row answers.
    Rect num = f->Numerator()->GetAbsRect();
    f->PositionFromPoint(pos, IntPoint(num.right - 1, num.bottom - 1), true);
    EXPECT_EQ(pos.GetList(), f->Numerator());
}

TEST_F(FractionEditingTest, EntryPositionsAndSelections)
{
    auto* empty = new ExponentComp;
    auto* prime = new ExponentComp(ExponentComp::kPrime);
    auto* emptyBar = new ConjugateComp;
    auto* bar = new ConjugateComp(Chars("z"));
    auto* emptyHat = new AccentComp(nullptr, AccentComp::kHat);
    auto* hat = new AccentComp(Chars("x"), AccentComp::kHat);
    auto* fraction = new FractionComp;
    auto* abs = new AbsValueComp;
    auto* missing = new PlaceholderComp;
    CompList row(Items({empty, prime, emptyBar, bar, emptyHat, hat, fraction, abs, missing}));

    // Empty rows are entered; filled accents, bars and primes are stepped over.
    const std::pair<TextComp*, DocPosition> entries[] = {
        {empty, DocPosition(empty->Script(), 1)},         {prime, DocPosition(&row, 3)},
        {emptyBar, DocPosition(emptyBar->Content(), 1)},  {bar, DocPosition(&row, 5)},
        {emptyHat, DocPosition(emptyHat->Content(), 1)},  {hat, DocPosition(&row, 7)},
        {fraction, DocPosition(fraction->Numerator(), 1)}, {abs, DocPosition(abs->Content(), 1)},
        {missing, DocPosition(&row, 10)},
    };
    for (const auto& [comp, expected] : entries) {
        DocPosition pos;
        comp->GetEntryPosition(pos);
        EXPECT_EQ(pos, expected) << comp->Tag().Value();
    }

    EXPECT_TRUE(fraction->AcceptsSelection() && !fraction->IsEnclosure());
    EXPECT_TRUE(abs->AcceptsSelection() && abs->IsEnclosure());
    EXPECT_TRUE(emptyBar->AcceptsSelection() && emptyHat->AcceptsSelection());
    EXPECT_FALSE(empty->AcceptsSelection() || bar->AcceptsSelection() || hat->AcceptsSelection());
    EXPECT_TRUE(bar->IsEnclosure() && hat->IsEnclosure());
    EXPECT_FALSE(missing->AcceptsSelection() || missing->IsEnclosure());
}

TEST_F(FractionEditingTest, EqualityComparesTagsRowsAndAccentKinds)
{
    FractionComp f1(Chars("a"), Chars("b"));
    FractionComp f2(Chars("a"), Chars("b"));
    EXPECT_TRUE(f1.IsEqual(f2));
    EXPECT_FALSE(f1.IsEqual(FractionComp(Chars("b"), Chars("a"))));
    EXPECT_FALSE(ParenComp(Chars("a")).IsEqual(AbsValueComp(Chars("a"))));
    EXPECT_FALSE(AccentComp(Chars("x"), AccentComp::kHat).IsEqual(AccentComp(Chars("x"), AccentComp::kDot)));
    EXPECT_TRUE(AccentComp(Chars("x"), AccentComp::kDot).IsEqual(AccentComp(Chars("x"), AccentComp::kDot)));

    // Every placeholder equals every other, wherever it stands.
    auto* first = new PlaceholderComp;
    auto* second = new PlaceholderComp;
    CompList row(Items({first, new FractionComp(One(second), nullptr)}));
    EXPECT_TRUE(first->IsEqual(*second));
    EXPECT_FALSE(first->IsEqual(f1));
}

TEST_F(FractionEditingTest, BarsAroundAMatrixAloneMakeADeterminant)
{
    auto* matrix = new MatrixComp(2, 2);
    ASSERT_TRUE(matrix->HasBrackets());
    AbsValueComp det(One(matrix));
    EXPECT_FALSE(matrix->HasBrackets());

    auto* other = new MatrixComp(2, 2);
    AbsValueComp notAlone(Items({other, fonts.GetFace(0)->GetCharacter('x')}));
    EXPECT_TRUE(other->HasBrackets());
}

} // namespace
