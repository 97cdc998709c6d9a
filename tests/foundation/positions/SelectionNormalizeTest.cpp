#include "support/model/NumberingFixture.h"

#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"

namespace {

// A document of three paragraphs:
//   1: "abc" [Frac: "xy" over "z"] "d"
//   2: "hello"
//   3: "w"
// Rows are named by number: 0 paragraph 1's top row, 1 the numerator,
// 2 the denominator, 3 paragraph 2, 4 paragraph 3.
class SelectionNormalizeTest : public NumberingTest {
protected:
    SelectionNormalizeTest() : list(&doc)
    {
        auto top = Chars("abc");
        fraction = new TestFraction(Chars("xy"), Chars("z"));
        top->Append(fraction);
        top->Append(fonts.GetFace(0)->GetCharacter('d'));
        list.Append(new ParagraphComp(std::move(top), 3));
        Add(list, "hello", 3);
        Add(list, "w", 3);
    }

    CompList* Row(int n) const
    {
        switch (n) {
        case 0: return list.GetAt(1)->GetRow();
        case 1: return fraction->GetChild(1);
        case 2: return fraction->GetChild(2);
        case 3: return list.GetAt(2)->GetRow();
        default: return list.GetAt(3)->GetRow();
        }
    }
    DocPosition At(int row, int index) const { return DocPosition(Row(row), index); }

    TestDocument doc;
    ParagraphList list;
    TestFraction* fraction;
};

struct NormalizeCase {
    const char* name;
    int rowA, indexA, rowB, indexB;
    int rowFirst, indexFirst, rowSecond, indexSecond;
};

TEST_F(SelectionNormalizeTest, TwoPositionsBecomeOneContainerInOrder)
{
    const NormalizeCase cases[] = {
        {"same position twice", 0, 2, 0, 2, 0, 2, 0, 2},
        {"reversed ends in one row", 0, 3, 0, 1, 0, 1, 0, 3},
        {"index 0 before a range starts at 1", 0, 0, 0, 2, 0, 1, 0, 2},
        {"index 0 before index 1 stays (the label)", 0, 0, 0, 1, 0, 0, 0, 1},
        {"numerator and denominator select the fraction", 1, 1, 2, 2, 0, 4, 0, 5},
        {"row end before a place inside the fraction", 0, 2, 1, 2, 0, 2, 0, 5},
        {"inside the fraction before a row place", 1, 1, 0, 6, 0, 4, 0, 6},
        {"row place after the fraction and a place inside it", 0, 6, 2, 1, 0, 4, 0, 6},
        {"just before the fraction and inside it", 0, 4, 1, 3, 0, 4, 0, 5},
        {"later paragraph first", 3, 3, 0, 2, 0, 2, 3, 3},
        {"end inside a structure of the earlier paragraph", 1, 2, 4, 1, 0, 4, 4, 1},
        {"end inside a structure of the later paragraph", 3, 2, 2, 1, 0, 4, 3, 2},
        {"index 0 in the earlier paragraph becomes 1", 0, 0, 4, 2, 0, 1, 4, 2},
    };
    for (const NormalizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        DocSelection selection(At(c.rowA, c.indexA), At(c.rowB, c.indexB));
        EXPECT_EQ(selection.GetStart(), At(c.rowFirst, c.indexFirst));
        EXPECT_EQ(selection.GetEnd(), At(c.rowSecond, c.indexSecond));
    }
}

TEST_F(SelectionNormalizeTest, ParagraphOrderComesFromTheListNotFromTheLayout)
{
    // Stale geometry: the third paragraph sits above the first.
    list.GetAt(1)->SetOrigin(IntPoint(0, 900));
    list.GetAt(3)->SetOrigin(IntPoint(0, 0));
    EXPECT_TRUE(At(0, 5) < At(4, 1));
    EXPECT_FALSE(At(4, 1) < At(0, 5));
    DocSelection selection(At(4, 1), At(0, 5));
    EXPECT_EQ(selection.GetStart(), At(0, 5));
    // Two rows of one paragraph are never less than each other.
    EXPECT_FALSE(At(0, 1) < At(1, 1));
    EXPECT_FALSE(At(1, 1) < At(0, 1));
    // Hidden paragraphs keep their order.
    list.GetAt(2)->Hide();
    EXPECT_TRUE(At(3, 1) < At(4, 1));
}

TEST_F(SelectionNormalizeTest, RowsWithoutOwnerAreSafe)
{
    CompList loose(Chars("xyz"));
    DocPosition position(&loose, 2);
    EXPECT_EQ(position.GetParagraphComp(), nullptr);
    EXPECT_EQ(position.GetParagraph(), nullptr);
    EXPECT_EQ(position.GetDocument(), nullptr);
    EXPECT_EQ(position.FindEnclosing(tag_null), nullptr);
    EXPECT_EQ(position.GetParagraphIndex(false), 0);
    EXPECT_FALSE(position < At(0, 1));
    EXPECT_FALSE(At(0, 1) < position);
    // Within the loose row the selection is ordered as usual.
    DocSelection inside(DocPosition(&loose, 3), position);
    EXPECT_EQ(inside.GetStart(), position);
    // A loose row and a document row cannot be ordered: a caret at the second end.
    DocSelection mixed(position, At(0, 2));
    EXPECT_EQ(mixed.GetStart(), At(0, 2));
    EXPECT_FALSE(mixed.HasExtent());
}

TEST_F(SelectionNormalizeTest, ALooseComponentIsNeverTakenForARow)
{
    // A fraction in no paragraph, with another fraction in its numerator:
    // the chains of its places start with a component, not a row.
    auto numerator = Chars("a");
    auto* inner = new TestFraction(Chars("x"), Chars("y"));
    numerator->Append(inner);
    auto outer = std::make_unique<TestFraction>(std::move(numerator), Chars("b"));
    CompList* outerTop = outer->GetChild(1);
    CompList* outerBottom = outer->GetChild(2);
    struct Case {
        const char* name;
        DocPosition a, b;
        DocPosition first, second;
    };
    const Case cases[] = {
        {"the two rows of the inner fraction select it", DocPosition(inner->GetChild(1), 1),
         DocPosition(inner->GetChild(2), 2), DocPosition(outerTop, 2), DocPosition(outerTop, 3)},
        {"the two rows of the loose fraction: a caret at the second end", DocPosition(outerTop, 1),
         DocPosition(outerBottom, 2), DocPosition(outerBottom, 2), DocPosition(outerBottom, 2)},
        {"inside the inner fraction and the loose denominator", DocPosition(inner->GetChild(2), 1),
         DocPosition(outerBottom, 1), DocPosition(outerBottom, 1), DocPosition(outerBottom, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocSelection selection(c.a, c.b);
        EXPECT_EQ(selection.GetStart(), c.first);
        EXPECT_EQ(selection.GetEnd(), c.second);
    }
}

TEST_F(SelectionNormalizeTest, PositionQueries)
{
    DocPosition inNumerator = At(1, 2);
    EXPECT_EQ(inNumerator.FindEnclosing(tag_null), fraction);
    EXPECT_EQ(inNumerator.FindEnclosing(tag_Para), list.GetAt(1));
    EXPECT_EQ(inNumerator.FindEnclosing(tag_Sqrt), nullptr);
    EXPECT_EQ(inNumerator.NextField(), At(0, 5));
    EXPECT_EQ(inNumerator.PreviousField(), At(0, 4));
    EXPECT_EQ(inNumerator.GetParagraphIndex(true), 4);
    EXPECT_EQ(inNumerator.GetParagraphIndex(false), 5);
    EXPECT_FALSE(inNumerator.IsInParagraph());
    EXPECT_EQ(At(0, 9).GetChildAt(), nullptr);
    EXPECT_EQ(inNumerator.GetDocument(), &doc);

    DocPosition whole;
    whole.SetObject(fraction);
    EXPECT_TRUE(whole.IsObject());
    EXPECT_EQ(whole.GetList(), Row(0));
    EXPECT_EQ(whole.GetParagraphIndex(true), 4);
    EXPECT_EQ(whole.GetCursor(), IDC_ARROW);
    EXPECT_FALSE(DocPosition().GetCursor().has_value());
    EXPECT_EQ(DocSelection(fraction).GetStart(), At(0, 4));
    EXPECT_EQ(DocSelection::SelectContent(fraction).GetEnd(), At(1, 3));
    DocPosition first = At(0, 1);
    EXPECT_EQ(first.DecrementIndex(), 1);  // never below the first place
}

TEST_F(SelectionNormalizeTest, IndexZeroEntersAtTheStyleEnd)
{
    EXPECT_EQ(At(0, 0).Normalize(), At(0, 1));
    auto* equation = Add(list, "x=1", 6);
    EXPECT_EQ(DocPosition(equation->GetRow(), 0).Normalize(), DocPosition(equation->GetRow(), 4));
    EXPECT_EQ(At(0, 3).Normalize(), At(0, 3));
}

TEST_F(SelectionNormalizeTest, SelectionQueries)
{
    EXPECT_FALSE(DocSelection(At(1, 2), At(1, 2)).HasExtent());
    DocSelection caret = DocSelection(At(0, 1), At(0, 3)).CaretSelection();
    EXPECT_EQ(caret.GetStart(), At(0, 3));
    EXPECT_FALSE(caret.HasExtent());

    DocSelection letters(Row(0), 1, 4);
    EXPECT_TRUE(letters.IsAllCharacters());
    EXPECT_EQ(letters.GetSingleObject(), nullptr);
    Str255 text;
    letters.GetText(text);
    EXPECT_EQ(Str(text), "abc");
    DocSelection withFraction(Row(0), 3, 5);
    EXPECT_FALSE(withFraction.IsAllCharacters());
    EXPECT_EQ(DocSelection(Row(0), 4, 5).GetSingleObject(), fraction);
    EXPECT_FALSE(DocSelection(At(0, 1), At(3, 1)).IsInOneParagraph());
    EXPECT_TRUE(letters.Contains(At(0, 1)));
    EXPECT_FALSE(letters.Contains(At(0, 4)));  // the second end
    EXPECT_FALSE(letters.Contains(At(1, 1)));  // inside a later component
    EXPECT_TRUE(DocSelection(Row(0), 2, 6).Contains(At(2, 1)));  // inside a selected one
    EXPECT_FALSE(DocSelection(Row(0), 2, 6).Contains(At(3, 1)));  // another paragraph
}

TEST_F(SelectionNormalizeTest, TextIsCutAt255AndTrailingBlanksTrim)
{
    auto* longParagraph = Add(list, std::string(300, 'q'), 3);
    Str255 text;
    DocSelection::SelectAll(longParagraph->GetRow()).GetText(text);
    EXPECT_EQ(text.GetLength(), 255);

    auto* spaced = Add(list, "ab   ", 3);
    DocSelection selection = DocSelection::SelectAll(spaced->GetRow());
    selection.TrimTrailingSpaces();
    EXPECT_EQ(selection.GetEnd().GetIndex(), 3);
    auto* blanks = Add(list, "   ", 3);
    DocSelection onlyBlanks = DocSelection::SelectAll(blanks->GetRow());
    onlyBlanks.TrimTrailingSpaces();
    EXPECT_EQ(onlyBlanks.GetEnd().GetIndex(), 1);
}

TEST_F(SelectionNormalizeTest, CommonFontIndex)
{
    // Paragraph 1's characters are in face 0; the fraction answers the math face 3.
    EXPECT_EQ(DocSelection(Row(0), 1, 3).GetCommonFontIndex(), 0);
    EXPECT_EQ(DocSelection(Row(0), 3, 5).GetCommonFontIndex(), 0);  // mixed: the child before
    EXPECT_EQ(DocSelection(Row(0), 5, 5).GetCommonFontIndex(), 3);  // caret after the fraction
    EXPECT_EQ(DocSelection(Row(0), 1, 1).GetCommonFontIndex(), 0);  // the plain style's font
    auto* code = Add(list, "", 7);
    EXPECT_EQ(DocSelection(code->GetRow(), 1, 1).GetCommonFontIndex(), 4);
    EXPECT_EQ(DocSelection(Row(0), 0, 1).GetCommonFontIndex(), 3);
    EXPECT_FALSE(DocSelection(At(0, 1), At(4, 1)).AllParagraphsSourceCode());
    EXPECT_TRUE(DocSelection(code->GetRow(), 1, 1).AllParagraphsSourceCode());
}

} // namespace
