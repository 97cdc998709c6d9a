#include "support/model/ModelTestSupport.h"

#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"
#include "platform/Exceptions.h"

using CompListTest = ModelTest;

TEST_F(CompListTest, GrowsBySixteenThirtyTwoAndThenStepsOfThirtyTwo)
{
    CompList row;
    std::vector<int> capacities;
    for (int i = 1; i <= 130; ++i) {
        row.Append(fonts.GetFace(0)->GetCharacter('a'));
        if (capacities.empty() || capacities.back() != row.GetCapacity())
            capacities.push_back(row.GetCapacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{16, 32, 64, 96, 128, 160}));
    EXPECT_EQ(row.GetCount(), 130);
}

TEST_F(CompListTest, InsertingManyAtOnceGrowsByTheSameRule)
{
    CompList row(Chars(std::string(60, 'a')));
    EXPECT_EQ(row.GetCapacity(), 64);
    row.InsertAllAt(Chars(std::string(10, 'b')), 31);
    EXPECT_EQ(row.GetCapacity(), 96);
    EXPECT_EQ(Text(row), std::string(30, 'a') + std::string(10, 'b') + std::string(30, 'a'));

    auto middle = row.RemoveRange(31, 40);
    EXPECT_EQ(middle->GetCount(), 10);
    EXPECT_EQ(Text(row), std::string(60, 'a'));
}

TEST_F(CompListTest, PositionsAreOneBasedAndZeroMeansAbsent)
{
    CompList row(Chars("abcd"));
    EXPECT_EQ(row.GetAt(0), nullptr);
    EXPECT_EQ(row.GetAt(5), nullptr);
    EXPECT_EQ(row.GetAt(1)->GetChar(), 'a');
    EXPECT_EQ(row.Find(row.GetAt(3)), 3);
    EXPECT_EQ(row.Find(fonts.GetFace(0)->GetCharacter('z')), 0);
    EXPECT_EQ(row.RemoveAt(0), nullptr);
    EXPECT_EQ(row.RemoveAt(5), nullptr);
    EXPECT_EQ(Text(row), "abcd");
}

TEST_F(CompListTest, InsertAndRemoveKeepTheOrder)
{
    CompList row(Chars("abcd"));
    auto removed = row.RemoveRange(2, 3);
    EXPECT_EQ(Text(row), "ad");
    ASSERT_EQ(removed->GetCount(), 2);
    EXPECT_EQ(removed->GetAt(1)->GetChar(), 'b');
    EXPECT_EQ(removed->GetAt(2)->GetChar(), 'c');

    row.InsertAllAt(std::move(removed), 2);
    EXPECT_EQ(Text(row), "abcd");
    row.InsertAt(fonts.GetFace(0)->GetCharacter('x'), 1);
    row.InsertAt(fonts.GetFace(0)->GetCharacter('y'), 6);
    EXPECT_EQ(Text(row), "xabcdy");

    auto tail = row.RemoveFrom(5);
    EXPECT_EQ(Text(row), "xabc");
    EXPECT_EQ(tail->GetCount(), 2);
    // Ranges outside the row give nothing and change nothing.
    EXPECT_EQ(row.RemoveRange(3, 2)->GetCount(), 0);
    EXPECT_EQ(row.RemoveFrom(9)->GetCount(), 0);
    EXPECT_EQ(row.RemoveRange(-5, 1)->GetCount(), 1);
    EXPECT_EQ(Text(row), "abc");

    auto all = row.DetachAll();
    EXPECT_EQ(row.GetCount(), 0);
    EXPECT_EQ(all->GetCount(), 3);
}

TEST_F(CompListTest, InsertingAnEmptyOrMissingArrayChangesNothing)
{
    CompList row(Chars("ab"));
    row.InsertAllAt(std::make_unique<CompArray>(), 2);
    row.InsertAllAt(nullptr, 1);
    EXPECT_EQ(Text(row), "ab");
}

TEST_F(CompListTest, SetAtReplacesOrAppendsButRefusesGaps)
{
    CompList row(Chars("ab"));
    TextComp* old = row.SetAt(fonts.GetFace(0)->GetCharacter('x'), 2);
    EXPECT_EQ(old->GetChar(), 'b');
    EXPECT_EQ(row.SetAt(fonts.GetFace(0)->GetCharacter('c'), 3), nullptr);
    EXPECT_EQ(Text(row), "axc");

    // A position beyond count + 1 would leave undefined entries in between.
    EXPECT_THROW(row.SetAt(fonts.GetFace(0)->GetCharacter('z'), 5), CException);
    EXPECT_THROW(row.SetAt(fonts.GetFace(0)->GetCharacter('z'), 0), CException);
    EXPECT_EQ(Text(row), "axc");
    EXPECT_EQ(row.GetCount(), 3);
}

TEST_F(CompListTest, ComponentsTakeTheRowAsOwnerAndItsSizeStep)
{
    CompList row;
    row.SetSizeStep(2);
    auto* fraction = new TestFraction(Chars("1"), Chars("2"));
    row.Append(fraction);
    EXPECT_EQ(fraction->GetOwner(), &row);
    EXPECT_EQ(fraction->GetSizeStep(), 2);
    EXPECT_EQ(fraction->IndexInOwner(), 1);
    row.SetSizeStep(-1);
    EXPECT_EQ(fraction->GetSizeStep(), -1);
    EXPECT_EQ(fraction->GetChild(1)->GetSizeStep(), -1);

    auto* moved = row.RemoveAt(1);
    EXPECT_EQ(moved, fraction);
    delete moved;
}

TEST_F(CompListTest, AChangeDeepInsideClimbsToTheParagraph)
{
    auto* fraction = new TestFraction(Chars("1"), Chars("2"));
    auto comps = Chars("a");
    comps->Append(fraction);
    ParagraphComp paragraph(std::move(comps), 3);
    paragraph.Layout(nullptr);
    paragraph.SetOrigin(IntPoint(0, 0));
    ASSERT_FALSE(paragraph.NeedsLayout());

    fraction->GetChild(2)->Append(fonts.GetFace(0)->GetCharacter('3'));
    EXPECT_TRUE(fraction->GetChild(2)->NeedsLayout());
    EXPECT_TRUE(fraction->IsDirty());
    EXPECT_TRUE(paragraph.NeedsLayout());
    EXPECT_EQ(fraction->GetParagraph(), &paragraph);
    EXPECT_EQ(fraction->GetChild(2)->GetAt(1)->GetParagraph(), nullptr);  // shared characters have no owner
}

TEST_F(CompListTest, DeletingARowLeavesSharedCharactersAlone)
{
    CharComp* a = fonts.GetFace(0)->GetCharacter('a');
    {
        CompList row;
        row.Append(a);
        row.Append(a);
        row.Append(new TestFraction(Chars("a"), Chars("a")));
    }
    EXPECT_EQ(a->GetChar(), 'a');
    EXPECT_EQ(fonts.GetFace(0)->GetCharacter('a'), a);
}

TEST_F(CompListTest, QueriesOfTheTextForms)
{
    CompList minusFirst(Chars("-x"));
    EXPECT_FALSE(minusFirst.HasOperatorChar());
    CompList minusInside(Chars("a-1"));
    EXPECT_TRUE(minusInside.HasOperatorChar());
    EXPECT_TRUE(CompList(Chars("a b")).HasOperatorChar());
    EXPECT_FALSE(CompList(Chars("ab*c")).HasOperatorChar());

    EXPECT_FALSE(CompList(Chars("abc")).HasStructureOrHighChar());
    EXPECT_TRUE(CompList(Chars("a\xe9")).HasStructureOrHighChar());
    CompList withFraction(Chars("ab"));
    withFraction.InsertAt(new TestFraction, 2);
    EXPECT_TRUE(withFraction.HasStructureOrHighChar());

    Str255 text;
    EXPECT_EQ(withFraction.GetPlainText(text), 2);
    EXPECT_TRUE(text.EqualsText("ab"));
    CompList longRow(Chars(std::string(300, 'q')));
    EXPECT_EQ(longRow.GetPlainText(text), 255);
}

TEST_F(CompListTest, SelectWordAtTakesTheRunOfOneCharacterKind)
{
    CompList row(Chars("ab cd+e"));
    DocSelection word = row.SelectWordAt(5);
    EXPECT_EQ(word.GetStart().GetIndex(), 4);
    EXPECT_EQ(word.GetEnd().GetIndex(), 6);
    EXPECT_EQ(word.GetStart().GetList(), &row);

    row.InsertAt(new TestFraction, 2);  // a [Frac] b ...: the structure ends the run
    word = row.SelectWordAt(1);
    EXPECT_EQ(word.GetStart().GetIndex(), 1);
    EXPECT_EQ(word.GetEnd().GetIndex(), 2);

    CompList empty;
    word = empty.SelectWordAt(3);
    EXPECT_EQ(word.GetStart().GetIndex(), 1);
    EXPECT_FALSE(word.HasExtent());
}

TEST_F(CompListTest, SetFontChangesCharactersAndStructuresAtEveryDepth)
{
    auto comps = Chars("ab");
    auto* inner = new TestFraction(Chars("x"), Chars("y"));
    auto top = std::make_unique<CompArray>();
    top->Append(inner);
    comps->Append(new TestFraction(std::move(top), Chars("z")));
    CompList row(std::move(comps));

    row.SetFont(2, 2, 4);
    EXPECT_EQ(row.GetAt(1)->GetFontId(), 0);
    EXPECT_EQ(row.GetAt(2), fonts.GetFace(2)->GetCharacter('b'));
    EXPECT_EQ(inner->GetChild(1)->GetAt(1), fonts.GetFace(2)->GetCharacter('x'));
    EXPECT_EQ(inner->GetChild(2)->GetAt(1), fonts.GetFace(2)->GetCharacter('y'));
    EXPECT_EQ(row.GetAt(3)->GetChild(2)->GetAt(1), fonts.GetFace(2)->GetCharacter('z'));
}

TEST_F(CompListTest, ClonesAreEqualAndIndependent)
{
    auto comps = Chars("a");
    comps->Append(new TestFraction(Chars("1"), Chars("2")));
    CompList row(std::move(comps));
    std::unique_ptr<CompList> copy(row.Clone());
    EXPECT_TRUE(copy->IsEqual(row));
    EXPECT_NE(copy->GetAt(2), row.GetAt(2));
    EXPECT_EQ(copy->GetAt(1), row.GetAt(1));  // characters are shared
    EXPECT_EQ(copy->GetAt(2)->GetOwner(), copy.get());

    copy->GetAt(2)->GetChild(2)->Append(fonts.GetFace(0)->GetCharacter('3'));
    EXPECT_FALSE(copy->IsEqual(row));
    EXPECT_FALSE(CompList(Chars("ab")).IsEqual(CompList(Chars("a"))));
}
