#include "support/model/ModelTestSupport.h"

#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"
#include "foundation/DrawContext.h"
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
    EXPECT_EQ(list->GetOwnerId(), 7);

    // All hidden by a slide: every paragraph placed at the top margin.
    list->HideAll();
    list->StackVisible();
    EXPECT_EQ(list->GetHeight(), gDrawContext.GetTopMargin());
    DocPosition start = At(*list, 1, 1);
    DocPosition second = At(*list, 2, 1);
    EXPECT_EQ(list->GetAt(1)->MapKey(start, 8, false, false), ParagraphComp::kNoJoin);
    EXPECT_EQ(list->GetAt(2)->MapKey(second, 8, false, false), ParagraphComp::kJoinWithPrevious);
    EXPECT_EQ(list->IndexOf(list->GetAt(3)), 3);
}

TEST_F(ParagraphListTest, KeysOfAParagraph)
{
    auto comps = Chars("ab");
    comps->Append(new TestFraction);
    ParagraphComp paragraph(std::move(comps), 3);
    DocPosition afterChar(paragraph.GetRow(), 2);
    DocPosition afterFraction(paragraph.GetRow(), 4);
    EXPECT_EQ(paragraph.MapKey(afterChar, 8, false, false), ParagraphComp::kDeleteCharacter);
    EXPECT_EQ(paragraph.MapKey(afterFraction, 8, false, false), ParagraphComp::kDeleteStructure);
    EXPECT_EQ(paragraph.MapKey(afterChar, 9, false, false), ParagraphComp::kTab);
    EXPECT_EQ(paragraph.MapKey(afterChar, 13, false, false), ParagraphComp::kNewParagraph);
    EXPECT_EQ(paragraph.MapKey(afterChar, 10, true, true), ParagraphComp::kNewParagraphCtrl);
    for (int key : {7, 11, 12, 14, int('a')})
        EXPECT_EQ(paragraph.MapKey(afterChar, key, false, false), ParagraphComp::kNoCommand) << key;
    // A paragraph in no list is the first of its own.
    DocPosition start(paragraph.GetRow(), 1);
    EXPECT_EQ(paragraph.MapKey(start, 8, false, false), ParagraphComp::kNoJoin);
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
    EXPECT_EQ(list->GetParagraphAtY(top + 5), list->GetAt(1));

    auto single = Paragraphs({"x"});
    single->UpdateLayout();
    for (int y : {-50, 0, 10, 100000})
        EXPECT_EQ(single->FindIndexAtY(y), 1);
    EXPECT_EQ(ParagraphList().FindIndexAtY(10), 0);
}

TEST_F(ParagraphListTest, IncrementalLayoutMovesOnlyWhatChanged)
{
    auto list = Paragraphs({"a", "b", "c"});
    list->UpdateLayout();
    int top = gDrawContext.GetTopMargin();
    int h = TestStyle::kHeight;

    // Paragraph 2 grows by a line: paragraph 3 moves down without a new layout.
    list->GetAt(2)->AppendString(Str255("0123456789"));
    EXPECT_TRUE(list->GetAt(2)->NeedsLayout());
    EXPECT_FALSE(list->GetAt(3)->NeedsLayout());
    list->UpdateLayout();
    Rect third;
    list->GetAt(3)->GetAbsBounds(third);
    EXPECT_EQ(third.top, top + 3 * h);
    EXPECT_EQ(list->GetHeight(), top + 4 * h);
    EXPECT_EQ(list->GetAt(3)->GetRow()->GetOrigin().y, top + 3 * h + 10);

    list->RelayoutAll(true);
    EXPECT_EQ(list->GetHeight(), top + 4 * h);
    list->UpdateLayoutFrom(2, 0);
    EXPECT_EQ(list->GetHeight(), top + 4 * h);

    // Hidden paragraphs take no room on a slide.
    list->GetAt(2)->Hide();
    list->StackVisible();
    EXPECT_EQ(list->GetHeight(), top + 2 * h);
    list->GetAt(3)->GetAbsBounds(third);
    EXPECT_EQ(third.top, top + h);
}

TEST_F(ParagraphListTest, PaginationNeedsAPrintableHeight)
{
    struct Pages : PageRecord {
        void SetPageBreak(int page, int32_t y) override { breaks.emplace_back(page, y); }
        std::vector<std::pair<int, int32_t>> breaks;
    } pages;
    auto list = Paragraphs({"a", "b"});
    ASSERT_LE(gDrawContext.GetPrintableHeight(), 0);  // no device
    EXPECT_THROW(list->Paginate(pages), CException);
    EXPECT_TRUE(pages.breaks.empty());
}

TEST_F(ParagraphListTest, SplitAndJoinAtAPosition)
{
    auto list = Paragraphs({"hello", "world"});
    list->GetAt(1)->SetStyle(styles.GetStyle(2));
    auto rest = list->SplitAt(At(*list, 1, 3));
    EXPECT_EQ(Text(*list), "he");
    EXPECT_EQ(Text(*rest), "llo|world");
    EXPECT_EQ(Kinds(*rest), (std::vector<int>{2, 3}));
    EXPECT_EQ(rest->GetAt(2)->GetOwnerList(), rest.get());

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
    EXPECT_EQ(Kinds(*one), std::vector<int>{6});
    EXPECT_EQ(one->GetDocument(), nullptr);
    EXPECT_EQ(one->GetAt(1)->GetId(), 0);
    EXPECT_NE(one->GetAt(1)->GetRow()->GetAt(2), list.GetAt(1)->GetRow()->GetAt(2));
    EXPECT_EQ(span.GetStart(), one->PositionAt(1));
    EXPECT_EQ(span.GetEnd().GetIndex(), 3);

    auto many = list.CopyRange(DocSelection(At(list, 1, 3), At(list, 3, 3)));
    EXPECT_EQ(Text(*many), "[Frac]c|middle|la");
    EXPECT_EQ(Kinds(*many), (std::vector<int>{6, 2, 4}));
    EXPECT_EQ(Text(list), "ab[Frac]c|middle|last");

    TestFraction* object = new TestFraction;
    auto single = ParagraphList::FromObject(nullptr, object, &span);
    EXPECT_EQ(single->GetAt(1)->GetRow()->GetAt(1), object);
    EXPECT_EQ(span.GetEnd().GetIndex(), 2);
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
    EXPECT_EQ(list.GetAt(1)->GetRow()->GetAt(1)->GetFontId(), 0);

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
    code.InsertTabs(2);
    code.AppendString(Str255("if"));
    EXPECT_EQ(code.CountLeadingTabs(), 2);
    EXPECT_EQ(code.GetRow()->GetAt(3), fonts.GetFace(4)->GetCharacter('i'));
    EXPECT_FALSE(code.IsEquationStyle());
    EXPECT_TRUE(ParagraphComp(5).IsEquationStyle());
    EXPECT_TRUE(ParagraphComp(6).IsEquationStyle());
    EXPECT_EQ(ParagraphComp(12).GetStyleKind(), 3);
    EXPECT_EQ(ParagraphComp(-1).GetStyleKind(), 3);

    // Equation size steps reach only the equation paragraphs.
    ParagraphList list;
    list.Append(new ParagraphComp(Chars("x"), 5));
    list.Append(new ParagraphComp(Chars("y"), 3));
    list.SetEquationSizeStep(true);
    EXPECT_EQ(list.GetAt(1)->GetRow()->GetSizeStep(), -1);
    EXPECT_EQ(list.GetAt(2)->GetRow()->GetSizeStep(), 0);

    std::unique_ptr<ParagraphComp> copy(list.GetAt(1)->CloneWithLinks());
    EXPECT_EQ(copy->GetStyleKind(), 5);
    EXPECT_TRUE(copy->GetRow()->IsEqual(*list.GetAt(1)->GetRow()));
}
