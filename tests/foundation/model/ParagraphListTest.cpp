#include "support/model/ModelTestSupport.h"

#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"
#include "foundation/DrawContext.h"
#include "foundation/EditCodes.h"
#include "foundation/MemoryStream.h"
#include "foundation/PageRecord.h"
#include "foundation/TextOutBuffer.h"
#include "platform/Exceptions.h"

#include <cstring>

class ParagraphListTest : public ModelTest {
protected:
    static DocPosition At(ParagraphList& list, int paragraph, int index)
    {
        return DocPosition(list.GetAt(paragraph)->GetRow(), index);
    }
    static std::vector<int> Kinds(const ParagraphList& list)
    {
        std::vector<int> kinds;
        for (int i = 1; i <= list.GetCount(); ++i)
            kinds.push_back(list.GetAt(i)->GetStyleKind());
        return kinds;
    }
};

TEST_F(ParagraphListTest, OrderComesFromTheListNotFromVerticalPositions)
{
    TestDocument doc;
    auto list = Paragraphs({"one", "two", "three"}, &doc);
    // Never laid out: every paragraph still stands at y = 0.
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(list->IndexOf(list->GetAt(i)), i);
    ParagraphComp stranger(3);
    EXPECT_EQ(list->IndexOf(&stranger), 0);
    EXPECT_EQ(list->IndexOf(nullptr), 0);
    EXPECT_EQ(list->GetAt(0), nullptr);
    EXPECT_EQ(list->GetAt(4), nullptr);
    EXPECT_EQ(list->FindById(2), list->GetAt(2));
    EXPECT_EQ(list->FindById(99), nullptr);

    // All hidden by a slide: every paragraph placed at the top margin.
    list->HideAll();
    list->StackVisible();
    EXPECT_EQ(list->GetHeight(), gDrawContext.GetTopMargin());
    DocPosition start = At(*list, 1, 1);
    DocPosition second = At(*list, 2, 1);
    EXPECT_EQ(list->GetAt(1)->MapKey(start, 8, false, false), EditCode::kNone);
    EXPECT_EQ(list->GetAt(2)->MapKey(second, 8, false, false), EditCode::kJoinParagraphs);
    EXPECT_EQ(list->IndexOf(list->GetAt(3)), 3);
}

TEST_F(ParagraphListTest, LookupByVerticalPosition)
{
    auto list = Paragraphs({"a", "b", "c"});
    list->UpdateLayout();
    int top = gDrawContext.GetTopMargin();
    int h = TestStyle::kHeight;
    EXPECT_EQ(list->GetHeight(), top + 3 * h);
    Rect second;
    list->GetAt(2)->GetAbsBounds(second);
    EXPECT_EQ(second, Rect(gDrawContext.GetLeftMargin(), top + h, gDrawContext.GetLeftMargin() + 500, top + 2 * h));

    EXPECT_EQ(list->FindIndexAtY(top + 2 * h), 2);  // on paragraph 2's bottom
    EXPECT_EQ(list->FindIndexAtY(top + 2 * h + 1), 3);
    EXPECT_EQ(list->FindIndexAtY(-1000), 1);
    EXPECT_EQ(list->FindIndexAtY(1000000), 3);
    EXPECT_EQ(ParagraphList().FindIndexAtY(10), 0);
}

TEST_F(ParagraphListTest, SplitAndJoinAtAPosition)
{
    auto list = Paragraphs({"hello", "world"});
    list->GetAt(1)->SetStyle(styles.GetStyle(2));
    auto rest = list->SplitAt(At(*list, 1, 3));
    EXPECT_EQ(Text(*list), "he");
    EXPECT_EQ(Text(*rest), "llo|world");
    EXPECT_EQ(Kinds(*rest), (std::vector<int>{2, 3}));

    DocPosition joint = list->AppendList(std::move(rest));
    EXPECT_EQ(Text(*list), "hello|world");
    EXPECT_EQ(joint.GetList(), list->GetAt(1)->GetRow());
    EXPECT_EQ(joint.GetIndex(), 3);

    // Splitting at the very end leaves an empty paragraph behind.
    rest = list->SplitAt(At(*list, 2, 6));
    EXPECT_EQ(Text(*rest), "");
    EXPECT_EQ(rest->GetCount(), 1);
    list->AppendList(std::move(rest));
    EXPECT_EQ(Text(*list), "hello|world");

    ParagraphComp stranger(3);
    EXPECT_THROW(list->SplitAt(DocPosition(stranger.GetRow(), 1)), CException);
    EXPECT_THROW(list->SplitAt(DocPosition()), CException);
}

TEST_F(ParagraphListTest, APositionInsideAStructureSplitsTheTopRowAfterIt)
{
    auto comps = Chars("a");
    auto* fraction = new TestFraction(Chars("12"), Chars("3"));
    comps->Append(fraction);
    comps->Append(fonts.GetFace(0)->GetCharacter('b'));
    ParagraphList list;
    list.Append(new ParagraphComp(std::move(comps), 3));

    auto rest = list.SplitAt(DocPosition(fraction->GetChild(1), 2));
    EXPECT_EQ(Text(list), "a[Frac]");
    EXPECT_EQ(Text(*rest), "b");
    EXPECT_EQ(Text(*fraction->GetChild(1)), "12");

    // Inserting a fragment of several paragraphs into the numerator likewise.
    DocPosition end = list.InsertListAt(DocPosition(fraction->GetChild(1), 1), Paragraphs({"x", "y"}));
    EXPECT_EQ(Text(list), "a[Frac]x|y");
    EXPECT_EQ(end.GetIndex(), 2);
    EXPECT_EQ(Text(*fraction->GetChild(1)), "12");
}

TEST_F(ParagraphListTest, DeletingAcrossParagraphsAndInsertingItBack)
{
    auto list = Paragraphs({"p1", "abcd2", "p3", "wxyz4", "p5"});
    list->GetAt(4)->SetStyle(styles.GetStyle(4));
    auto middle = list->DeleteRange(DocSelection(At(*list, 2, 3), At(*list, 4, 3)));
    EXPECT_EQ(Text(*list), "p1|abyz4|p5");
    EXPECT_EQ(Kinds(*list), (std::vector<int>{3, 4, 3}));
    EXPECT_EQ(Text(*middle), "cd2|p3|wx");

    DocPosition end = list->InsertListAt(At(*list, 2, 3), std::move(middle));
    EXPECT_EQ(Text(*list), "p1|abcd2|p3|wxyz4|p5");
    EXPECT_EQ(Kinds(*list), (std::vector<int>{3, 3, 3, 4, 3}));
    EXPECT_EQ(end.GetList(), list->GetAt(4)->GetRow());
    EXPECT_EQ(end.GetIndex(), 3);

    // Within one paragraph.
    middle = list->DeleteRange(DocSelection(At(*list, 1, 1), At(*list, 1, 2)));
    EXPECT_EQ(Text(*list), "1|abcd2|p3|wxyz4|p5");
    EXPECT_EQ(Text(*middle), "p");
}

TEST_F(ParagraphListTest, AnEmptyPasteChangesNothing)
{
    auto list = Paragraphs({"ab", "cd"});
    DocPosition at = At(*list, 1, 2);
    DocPosition end = list->InsertListAt(at, std::make_unique<ParagraphList>());
    EXPECT_EQ(end, at);
    end = list->InsertListAt(at, nullptr);
    EXPECT_EQ(end, at);
    EXPECT_EQ(Text(*list), "ab|cd");

    end = list->AppendList(std::make_unique<ParagraphList>());
    EXPECT_EQ(Text(*list), "ab|cd");
    EXPECT_EQ(end, At(*list, 2, 3));

    ParagraphList empty;
    EXPECT_EQ(empty.AppendList(std::make_unique<ParagraphList>()), DocPosition());
    empty.AppendList(Paragraphs({"x", "y"}));
    EXPECT_EQ(Text(empty), "x|y");
}

TEST_F(ParagraphListTest, CopiesAreIndependentFragments)
{
    auto comps = Chars("ab");
    comps->Append(new TestFraction(Chars("1"), Chars("2")));
    comps->Append(fonts.GetFace(0)->GetCharacter('c'));
    TestDocument doc;
    ParagraphList list(&doc);
    list.Append(new ParagraphComp(std::move(comps), 6));
    list.Append(new ParagraphComp(Chars("middle"), 2));
    list.Append(new ParagraphComp(Chars("last"), 4));

    DocSelection span;
    auto one = list.CopyRange(DocSelection(At(list, 1, 2), At(list, 1, 4)), &span);
    EXPECT_EQ(Text(*one), "b[Frac]");
    EXPECT_EQ(one->GetDocument(), nullptr);
    EXPECT_EQ(one->GetAt(1)->GetId(), 0);
    EXPECT_NE(one->GetAt(1)->GetRow()->GetAt(2), list.GetAt(1)->GetRow()->GetAt(2));
    EXPECT_EQ(span.GetEnd().GetIndex(), 3);

    auto many = list.CopyRange(DocSelection(At(list, 1, 3), At(list, 3, 3)));
    EXPECT_EQ(Text(*many), "[Frac]c|middle|la");
    EXPECT_EQ(Kinds(*many), (std::vector<int>{6, 2, 4}));
    EXPECT_EQ(Text(list), "ab[Frac]c|middle|last");
}

TEST_F(ParagraphListTest, DocumentIdsFollowTheParagraphs)
{
    TestDocument doc;
    auto list = Paragraphs({"a", "b", "c"}, &doc);
    EXPECT_EQ(doc.registered.size(), 3u);
    std::vector<int32_t> ids = {list->GetAt(1)->GetId(), list->GetAt(2)->GetId(), list->GetAt(3)->GetId()};
    EXPECT_EQ(ids, (std::vector<int32_t>{1, 2, 3}));

    // Splitting and joining within the document keeps the ids of moved paragraphs.
    auto rest = list->SplitAt(At(*list, 1, 2));
    EXPECT_EQ(rest->GetDocument(), &doc);
    EXPECT_EQ(rest->GetAt(2)->GetId(), 2);
    EXPECT_EQ(rest->GetAt(1)->GetId(), 4);  // the new paragraph
    list->AppendList(std::move(rest));
    EXPECT_EQ(list->GetAt(2)->GetId(), 2);
    EXPECT_EQ(doc.registered.size(), 3u);
    EXPECT_EQ(doc.registered.count(4), 0u);  // the joined paragraph left the registry

    TestDocument other;
    list->SetOwner(&other);
    EXPECT_TRUE(doc.registered.empty());
    EXPECT_EQ(other.registered.size(), 3u);
    list->DeleteAll();
    EXPECT_TRUE(other.registered.empty());
    EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(ParagraphListTest, PlainTextEndsLinesAtCrLfOrBoth)
{
    const char text[] = "one\rtwo\nthree\r\nfour\n\r\nsix\n";
    std::vector<uint8_t> bytes(text, text + std::strlen(text));
    MemoryStream stream(bytes.data(), int32_t(bytes.size()));
    ParagraphList list;
    list.Append(new ParagraphComp(Chars("old"), 3));
    list.ReadText(stream);
    EXPECT_EQ(Text(list), "one|two|three|four||six");

    std::vector<uint8_t> out(64);
    MemoryStream sink(out.data(), int32_t(out.size()));
    TextOutBuffer buffer(&sink);
    list.WriteTextAll(buffer);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out.data()), size_t(sink.GetPosition())),
              "one\rtwo\rthree\rfour\r\rsix");

    // A lone carriage return at the very end.
    const char last[] = "x\r";
    std::vector<uint8_t> tail(last, last + 2);
    MemoryStream end(tail.data(), 2);
    list.ReadText(end);
    EXPECT_EQ(Text(list), "x");
}

TEST_F(ParagraphListTest, ParagraphTextHelpers)
{
    ParagraphComp code(7);
    code.AppendString(Str255("if"));
    EXPECT_EQ(code.GetRow()->GetAt(1), fonts.GetFace(4)->GetCharacter('i'));  // in the style's face
    EXPECT_EQ(ParagraphComp(12).GetStyleKind(), 3);
    EXPECT_EQ(ParagraphComp(-1).GetStyleKind(), 3);

    // Equation size steps reach only the equation paragraphs.
    ParagraphList list;
    list.Append(new ParagraphComp(Chars("x"), 5));
    list.Append(new ParagraphComp(Chars("y"), 3));
    list.SetEquationSizeStep(true);
    EXPECT_EQ(list.GetAt(1)->GetRow()->GetSizeStep(), -1);
    EXPECT_EQ(list.GetAt(2)->GetRow()->GetSizeStep(), 0);
}
