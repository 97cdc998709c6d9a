#include "support/model/ModelTestSupport.h"

#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"
#include "platform/Exceptions.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

using CompListTest = ModelTest;

TEST_F(CompListTest, OneBasedPositionsAndRangesOutsideTheRowChangeNothing)
{
    CompList row(Chars("abcd"));
    EXPECT_EQ(row.GetAt(0), nullptr);
    EXPECT_EQ(row.GetAt(5), nullptr);
    EXPECT_EQ(row.Find(row.GetAt(3)), 3);
    EXPECT_EQ(row.Find(fonts.GetFace(0)->GetCharacter('z')), 0);
    EXPECT_EQ(row.RemoveAt(0), nullptr);
    EXPECT_EQ(row.RemoveAt(5), nullptr);

    auto removed = row.RemoveRange(2, 3);
    EXPECT_EQ(Text(row), "ad");
    EXPECT_EQ(Text(CompList(std::move(removed))), "bc");
    row.InsertAllAt(Chars("bc"), 2);
    row.InsertAt(fonts.GetFace(0)->GetCharacter('x'), 1);
    row.InsertAt(fonts.GetFace(0)->GetCharacter('y'), 6);
    EXPECT_EQ(Text(row), "xabcdy");
    EXPECT_EQ(row.RemoveFrom(5)->GetCount(), 2);
    EXPECT_EQ(row.RemoveRange(3, 2)->GetCount(), 0);
    EXPECT_EQ(row.RemoveFrom(9)->GetCount(), 0);
    EXPECT_EQ(row.RemoveRange(-5, 1)->GetCount(), 1);
    row.InsertAllAt(std::make_unique<CompArray>(), 2);
    row.InsertAllAt(nullptr, 1);
    EXPECT_EQ(Text(row), "abc");
    EXPECT_EQ(row.DetachAll()->GetCount(), 3);
    EXPECT_EQ(row.GetCount(), 0);
}

// A structure finds its own place after every kind of change wherever the
// change falls (the row keeps the places it found while nothing moves them);
// one taken out, though it still names the row, finds none; a shared
// character finds its first place.
TEST_F(CompListTest, StructuresFindTheirPlaceAfterEveryChange)
{
    CharComp* x = fonts.GetFace(0)->GetCharacter('x');
    auto fractions = [&](int count) {
        auto comps = std::make_unique<CompArray>();
        for (int i = 0; i < count; ++i) {
            comps->Append(new TestFraction(Chars("1"), Chars("2")));
            comps->Append(x);
        }
        return comps;
    };
    CompList row(fractions(40));
    std::vector<TextComp*> out; // the structures taken out
    auto keepOne = [&out](TextComp* removed) {
        if (removed->Tag() != tag_Char)
            out.push_back(removed);
    };
    auto keep = [&keepOne](std::unique_ptr<CompArray> removed) {
        for (int i = 1; i <= removed->GetCount(); ++i)
            keepOne(removed->GetAt(i));
    };
    const std::vector<std::pair<std::string, std::function<void()>>> changes = {
        {"made", [] {}},
        {"appended", [&] { row.Append(new TestFraction); }},
        {"inserted in front", [&] { row.InsertAt(new TestFraction, 1); }},
        {"several inserted in the middle", [&] { row.InsertAllAt(fractions(5), 30); }},
        {"one removed", [&] { keepOne(row.RemoveAt(12)); }},
        {"a range removed", [&] { keep(row.RemoveRange(5, 20)); }},
        {"one replaced", [&] { keepOne(row.SetAt(new TestFraction, 4)); }},
        {"the characters' face changed", [&] { row.SetFont(2, 1, row.GetCount() + 1); }},
        {"the tail removed", [&] { keep(row.RemoveFrom(40)); }},
        {"detached and put back", [&] { row.InsertAllAt(row.DetachAll(), 1); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        change();
        int firstX = 0;
        for (int i = 1; i <= row.GetCount(); ++i) {
            TextComp* comp = row.GetAt(i);
            if (comp->Tag() != tag_Char)
                EXPECT_EQ(comp->IndexInOwner(), i);
            else if (!firstX)
                firstX = i;
        }
        EXPECT_EQ(row.Find(row.GetAt(firstX)), firstX);
        for (TextComp* gone : out)
            EXPECT_EQ(row.Find(gone), 0);
    }
    for (TextComp* gone : out)
        gone->Delete();
}

TEST_F(CompListTest, SetAtReplacesOrAppendsButRefusesGaps)
{
    CompList row(Chars("ab"));
    EXPECT_EQ(row.SetAt(fonts.GetFace(0)->GetCharacter('x'), 2)->GetChar(), 'b');
    EXPECT_EQ(row.SetAt(fonts.GetFace(0)->GetCharacter('c'), 3), nullptr);
    // A position beyond count + 1 would leave undefined entries in between.
    EXPECT_THROW(row.SetAt(fonts.GetFace(0)->GetCharacter('z'), 5), CException);
    EXPECT_THROW(row.SetAt(fonts.GetFace(0)->GetCharacter('z'), 0), CException);
    EXPECT_EQ(Text(row), "axc");
}

TEST_F(CompListTest, OwnershipSizeStepsAndChangesClimbToTheParagraph)
{
    auto* fraction = new TestFraction(Chars("1"), Chars("2"));
    auto comps = Chars("a");
    comps->Append(fraction);
    ParagraphComp paragraph(std::move(comps), 3);
    CompList* row = paragraph.GetRow();
    EXPECT_EQ(fraction->GetOwner(), row);
    EXPECT_EQ(fraction->IndexInOwner(), 2);
    row->SetSizeStep(-1);
    EXPECT_EQ(fraction->GetChild(1)->GetSizeStep(), -1);

    paragraph.Layout(nullptr);
    paragraph.SetOrigin(IntPoint(0, 0));
    ASSERT_FALSE(paragraph.NeedsLayout());
    fraction->GetChild(2)->Append(fonts.GetFace(0)->GetCharacter('3'));
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

TEST_F(CompListTest, TextQueriesAndWordSelection)
{
    EXPECT_FALSE(CompList(Chars("-x")).HasOperatorChar());
    EXPECT_TRUE(CompList(Chars("a-1")).HasOperatorChar());
    EXPECT_TRUE(CompList(Chars("a b")).HasOperatorChar());
    EXPECT_FALSE(CompList(Chars("ab*c")).HasOperatorChar());
    EXPECT_FALSE(CompList(Chars("abc")).HasStructureOrHighChar());
    EXPECT_TRUE(CompList(Chars("a\xe9")).HasStructureOrHighChar());

    Str255 text;
    EXPECT_EQ(CompList(Chars(std::string(300, 'q'))).GetPlainText(text), 255);

    CompList row(Chars("ab cd+e"));
    DocSelection word = row.SelectWordAt(5);
    EXPECT_EQ(word.GetStart().GetIndex(), 4);
    EXPECT_EQ(word.GetEnd().GetIndex(), 6);
    row.InsertAt(new TestFraction, 2);  // the structure ends the run
    EXPECT_TRUE(row.HasStructureOrHighChar());
    EXPECT_EQ(row.GetPlainText(text), 7);  // the structure is left out
    EXPECT_EQ(row.SelectWordAt(1).GetEnd().GetIndex(), 2);
    EXPECT_FALSE(CompList().SelectWordAt(3).HasExtent());
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
    EXPECT_EQ(copy->GetAt(2)->GetOwner(), copy.get());

    copy->GetAt(2)->GetChild(2)->Append(fonts.GetFace(0)->GetCharacter('3'));
    EXPECT_FALSE(copy->IsEqual(row));
    EXPECT_FALSE(CompList(Chars("ab")).IsEqual(CompList(Chars("a"))));
}
