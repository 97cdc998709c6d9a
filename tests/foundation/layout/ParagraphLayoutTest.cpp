// Line breaking, justification, centring, source code, labels and numbered
// equations, to the pixel with the pinned fonts at 96 dpi.
#include "LayoutTestSupport.h"

#include "foundation/EquationLabel.h"
#include "foundation/LineLayout.h"
#include "foundation/PageRecord.h"
#include "foundation/ParagraphLayout.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/SizeStepScope.h"
#include "platform/Exceptions.h"

namespace {

class ParagraphLayoutTest : public LayoutTest {
protected:
    // The lines of a laid-out paragraph: each line's items as tag@start.
    static std::vector<std::string> Lines(const ParagraphComp& paragraph)
    {
        std::vector<std::string> lines;
        LayoutArray& items = *paragraph.GetRow()->GetItems();
        for (int i = 1; i <= items.GetCount(); ++i) {
            Layout* item = items.GetAt(i);
            char tag[5];
            item->Tag().ToChars(tag);
            if (item->IsLine())
                lines.emplace_back();
            else
                lines.back() += (lines.back().empty() ? "" : " ") + std::string(tag) + "@" +
                                std::to_string(item->GetStartIndex());
        }
        return lines;
    }

    static std::vector<LineLayout*> LineItems(const ParagraphComp& paragraph)
    {
        std::vector<LineLayout*> out;
        for (Layout* item : ItemsOf(*paragraph.GetRow(), tag_line))
            out.push_back(static_cast<LineLayout*>(item));
        return out;
    }

    // Lays the paragraph out between left and left + width and places it at (0, 0).
    void LayOutWithin(ParagraphComp& paragraph, int width)
    {
        paragraph.KeepItemsAsPrevious();
        paragraph.GetStyle()->Layout(paragraph, nullptr, 0, width);
        paragraph.SetOrigin(IntPoint(0, 0));
    }

    int SpaceHeight(int fontId)
    {
        gDrawContext.SetFontFamily(fontId);
        Rect box;
        gDrawContext.GetCharBox(' ', box);
        return box.Height();
    }
};

class Pages : public PageRecord {
public:
    void SetPageBreak(int page, int32_t y) override { breaks.push_back({page, y}); }
    std::vector<std::pair<int, int32_t>> breaks;
};

} // namespace

TEST_F(ParagraphLayoutTest, AnEmptyParagraphHasOneLineOfASpacesHeight)
{
    std::unique_ptr<ParagraphComp> p(Paragraph(3, ""));
    LayOut(*p);
    ASSERT_EQ(Lines(*p).size(), 1u);
    Rect bounds;
    p->GetBounds(bounds);
    EXPECT_EQ(bounds.Height(), SpaceHeight(0) + 8 + 8);
    EXPECT_EQ(bounds.Width(), PageWidth() - LeftMargin());
}

TEST_F(ParagraphLayoutTest, LinesBreakAfterBlanksAndOverlongItemsSitAlone)
{
    // "a b c": the first two words and the blank after them fit, the third does not.
    std::unique_ptr<ParagraphComp> p(Paragraph(3, "a b c"));
    const int a = Width("a", 0), blank = Width(" ", 0), b = Width("b", 0), c = Width("c", 0);
    const int width = a + blank + b + blank + c - 1;
    LayOutWithin(*p, width);
    EXPECT_EQ(Lines(*p), (std::vector<std::string>{"word@1 spcL@2 word@3", "word@5"}));
    EXPECT_EQ(LineItems(*p)[0]->GetLineWidth(), a + blank + b);
    LayOutWithin(*p, width + 1);
    EXPECT_EQ(Lines(*p).size(), 1u);

    std::unique_ptr<ParagraphComp> longWord(Paragraph(3, "Extraordinarily tiny"));
    LayOutWithin(*longWord, Width("Extra", 0));
    EXPECT_EQ(Lines(*longWord), (std::vector<std::string>{"word@1", "word@17"}));

    // A structure right after a word breaks at the blank before the word.
    auto comps = Chars("go xy");
    comps->Append(new FixedBox(40));
    std::unique_ptr<ParagraphComp> structure(new ParagraphComp(std::move(comps), 3));
    LayOutWithin(*structure, Width("go xy", 0) + 20);
    EXPECT_EQ(Lines(*structure), (std::vector<std::string>{"word@1", "word@4 strL@6"}));
}

// A run without blanks longer than an item holds is several items; it stays
// whole on one line all the same, and the next word starts the next line.
TEST_F(ParagraphLayoutTest, ALongRunWithoutBlanksIsNotCutIntoLines)
{
    std::unique_ptr<ParagraphComp> p(Paragraph(3, std::string(300, 'x') + " tail end"));
    LayOutWithin(*p, Width("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", 0));
    const std::vector<std::string> lines = Lines(*p);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 6), "word@1");
    EXPECT_EQ(lines[0].find("spcL"), std::string::npos);
    EXPECT_EQ(lines[1], "word@302 spcL@306 word@307");
}

TEST_F(ParagraphLayoutTest, JustifiedLinesEndAtThePageWidthAndTheLastKeepsItsSpacing)
{
    EXPECT_EQ(ParagraphLayout::StretchShare(4, 5, 8), 2);  // 2.5 is not rounded up
    EXPECT_EQ(ParagraphLayout::StretchShare(3, 5, 8), 2);  // 1.875

    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "word" + std::to_string(i) + " ";
    text += "end";
    std::unique_ptr<ParagraphComp> p(Paragraph(3, text));
    LayOut(*p);
    std::vector<LineLayout*> lines = LineItems(*p);
    ASSERT_GE(lines.size(), 2u);
    LayoutArray& items = *p->GetRow()->GetItems();
    // The item before the second line ends exactly at the page width.
    int second = 0;
    for (int i = 1; i <= items.GetCount(); ++i)
        if (items.GetAt(i) == lines[1])
            second = i;
    Layout* endOfFirst = items.GetAt(second - 1);
    EXPECT_EQ(endOfFirst->AbsRect().right, PageWidth());
    // Its text ends there too: its box was widened on the left, not moved.
    EXPECT_EQ(endOfFirst->GetOffset().x + endOfFirst->GetMeasured().Width(), PageWidth());
    // Blanks of the first line are stretched, blanks of the last line are not.
    Layout* firstBlank = items.GetAt(3);
    ASSERT_EQ(firstBlank->Tag(), tag_spcL);
    EXPECT_GT(firstBlank->GetWidth(), firstBlank->GetMeasured().Width());
    Layout* lastBlank = items.GetAt(items.GetCount() - 1);
    ASSERT_EQ(lastBlank->Tag(), tag_spcL);
    EXPECT_EQ(lastBlank->GetWidth(), lastBlank->GetMeasured().Width());
    // Lines are a line height apart at least.
    EXPECT_EQ(lines[1]->GetOffset().y - lines[0]->GetOffset().y, 24);
}

TEST_F(ParagraphLayoutTest, ALineWithoutBlanksIsNotStretched)
{
    // A word followed by a wide structure with no blank: the word stays alone
    // on its line, left aligned (nothing to stretch it by).
    auto comps = Chars("ab");
    comps->Append(new FixedBox(PageWidth()));
    std::unique_ptr<ParagraphComp> p(new ParagraphComp(std::move(comps), 3));
    LayOut(*p);
    ASSERT_EQ(Lines(*p), (std::vector<std::string>{"word@1", "strL@3"}));
    Layout* word = p->GetRow()->GetItems()->GetAt(2);
    EXPECT_EQ(word->GetOffset().x, LeftMargin());
    EXPECT_EQ(word->AbsRect().right, PageWidth());
}

TEST_F(ParagraphLayoutTest, LineBreakingCountsItemWidthsInSixteenBits)
{
    // The line breaker adds each further item's width as 16 bits, as stored
    // layouts were made: a box 65536 + 10 wide counts as 10 and stays on the line.
    auto comps = Chars("ab");
    comps->Append(new FixedBox(65536 + 10));
    std::unique_ptr<ParagraphComp> p(new ParagraphComp(std::move(comps), 3));
    LayOut(*p);
    EXPECT_EQ(Lines(*p), (std::vector<std::string>{"word@1 strL@3"}));
}

TEST_F(ParagraphLayoutTest, CentredLinesStartHalfTheirSlackRightOfThePoint)
{
    std::unique_ptr<ParagraphComp> p(Paragraph(5, "x+1"));
    LayOut(*p);
    LineLayout* line = LineItems(*p)[0];
    const int natural = line->GetLineWidth();
    EXPECT_EQ(line->GetWidth(), (PageWidth() - LeftMargin() - natural) / 2);
    Layout* text = p->GetRow()->GetItems()->GetAt(2);
    EXPECT_EQ(text->GetOffset().x, LeftMargin() + line->GetWidth());

    // A line wider than the page starts at the point instead of left of it.
    std::unique_ptr<ParagraphComp> wide(Paragraph(0, std::string(30, 'W')));
    LayOut(*wide);
    ASSERT_GT(LineItems(*wide)[0]->GetLineWidth(), PageWidth() - LeftMargin());
    EXPECT_EQ(LineItems(*wide)[0]->GetWidth(), 0);
    EXPECT_EQ(wide->GetRow()->GetItems()->GetAt(2)->GetOffset().x, LeftMargin());
}

TEST_F(ParagraphLayoutTest, SourceCodeKeepsEveryBlankAndIndentsByHalfTheListIndent)
{
    std::unique_ptr<ParagraphComp> first(Paragraph(7, "if (a)  b;"));
    std::unique_ptr<ParagraphComp> second(Paragraph(7, "c;"));
    LayOut(*first);
    second->Layout(first.get());
    Rect bounds;
    first->GetAbsBounds(bounds);
    second->SetOrigin(IntPoint(LeftMargin(), bounds.bottom));
    EXPECT_EQ(Items(*first->GetRow()), (std::vector<std::string>{
                                           "line@1:21-54", "word@1:54-76", "spcL@3:76-87", "nonA@4:87-98",
                                           "word@5:98-120", "spcL@7:120-142", "word@9:142-784"}));
    // No space between two code paragraphs: only the code space below the first.
    LineLayout* line = LineItems(*second)[0];
    EXPECT_EQ(line->AbsRect().top, bounds.bottom);
    EXPECT_EQ(line->GetRect().top, -SpaceHeight(4) + line->GetRect().bottom - 4);
}

TEST_F(ParagraphLayoutTest, LabelsStandOneGapBeforeTheText)
{
    ParagraphList list(&document);
    list.Append(Paragraph(1, "Intro"));
    list.Append(Paragraph(4, "First"));
    list.Append(Paragraph(8, "Dot"));
    list.Append(Paragraph(9, "Sub"));
    list.RelayoutAll(false);
    const int l = PageWidth() - PageHeight();

    // The section's label starts at the paragraph's left edge.
    std::vector<std::string> section = Items(*list.GetAt(1)->GetRow());
    const int labelWidth = Width("1", 2, 0);
    const int text = LeftMargin() + labelWidth + 4;
    EXPECT_EQ(section, (std::vector<std::string>{"line@1:21-21", "word@1:" + std::to_string(text) + "-784",
                                                 "labl@0:21-" + std::to_string(text)}));
    Rect labelBox;
    list.GetAt(1)->GetLabel()->GetBounds(labelBox);
    EXPECT_EQ(labelBox.left, LeftMargin());

    // Enumerations: the text at L, the label ending one gap (4) before it.
    const int item = LeftMargin() + l;
    const int number = Width("1.", 0, 0);
    EXPECT_EQ(Items(*list.GetAt(2)->GetRow()),
              (std::vector<std::string>{"line@1:21-" + std::to_string(item - 4 - number),
                                        "word@1:" + std::to_string(item) + "-784",
                                        "labl@0:" + std::to_string(item - 4 - number) + "-" + std::to_string(item)}));
    EXPECT_EQ(ItemsOf(*list.GetAt(3)->GetRow(), tag_labl)[0]->AbsRect().right, item);
    EXPECT_EQ(ItemsOf(*list.GetAt(4)->GetRow(), tag_word)[0]->AbsRect().left, LeftMargin() + 3 * l / 2);

    // Following lines align with the text after the label.
    std::string longText;
    for (int i = 0; i < 40; ++i)
        longText += "item ";
    list.Append(Paragraph(4, longText));
    list.RelayoutAll(false);
    std::vector<LineLayout*> lines = LineItems(*list.GetAt(5));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1]->GetWidth(), l);
    // Labelled lists end at the page height on the right.
    EXPECT_LE(lines[0]->GetLineWidth(), PageHeight() - LeftMargin());
}

TEST_F(ParagraphLayoutTest, NumberedEquationsCentreInTheBandAndPutTheNumberAtTheRight)
{
    ParagraphList list(&document);
    list.Append(Paragraph(6, "a=b"));
    list.RelayoutAll(false);
    ParagraphComp& p = *list.GetAt(1);
    const int l = PageWidth() - PageHeight();
    LineLayout* line = LineItems(p)[0];
    EXPECT_EQ(line->GetWidth(), l + ((PageHeight() - l - LeftMargin()) - line->GetLineWidth()) / 2);
    Layout* label = ItemsOf(*p.GetRow(), tag_labl)[0];
    EXPECT_EQ(label->AbsRect().left, PageHeight());
    EXPECT_EQ(label->AbsRect().right, PageWidth());
    EXPECT_EQ(label->AbsRect().top, line->AbsRect().top);
    EXPECT_EQ(p.GetLabel()->GetText(), Str255("(1)"));
    // The line is as tall as the label at least.
    EXPECT_LE(line->GetRect().top, label->GetMeasured().top - 12);

    // An equation wider than its band starts at the band's left edge.
    auto wide = std::make_unique<CompArray>();
    wide->Append(new FixedBox(PageWidth()));
    list.InsertAt(new ParagraphComp(std::move(wide), 6), 1);
    list.RelayoutAll(false);
    EXPECT_EQ(LineItems(*list.GetAt(1))[0]->GetWidth(), l);
    delete list.RemoveAt(1);

    // An empty numbered equation still has its label and a line.
    list.Append(Paragraph(6, ""));
    list.RelayoutAll(false);
    EXPECT_EQ(list.GetAt(2)->GetLabel()->GetText(), Str255("(2)"));
    EXPECT_EQ(Lines(*list.GetAt(2)), (std::vector<std::string>{"labl@0"}));
}

TEST_F(ParagraphLayoutTest, PaginationNeedsAPositivePrintableHeight)
{
    ParagraphList list(&document);
    list.Append(Paragraph(3, "one"));
    list.Append(Paragraph(3, "two"));
    list.RelayoutAll(false);
    Rect before;
    list.GetAt(2)->GetAbsBounds(before);

    // A device shorter than its margins has no printable height.
    QImage tiny(100, 100, QImage::Format_RGB32);
    SetImageDpi(tiny, 96);
    CImageDC tinyDc(tiny);
    gDrawContext.BeginDrawOnDC(&target, &tinyDc);
    ASSERT_LE(gDrawContext.GetPrintableHeight(), 0);
    Pages pages;
    EXPECT_THROW(list.Paginate(pages), CException);
    gDrawContext.EndDraw();
    EXPECT_TRUE(pages.breaks.empty());
    Rect after;
    list.GetAt(2)->GetAbsBounds(after);
    EXPECT_EQ(after, before);
}

// A paragraph wider than the page prints scaled down to the page's width;
// taller than a page, it breaks between its lines as they show scaled, and a
// page draws only its own lines.
TEST_F(ParagraphLayoutTest, AFittedParagraphTallerThanAPageBreaksBetweenItsLines)
{
    std::string text(120, 'W');
    for (int i = 0; i < 3000; ++i)
        text += " word";
    ParagraphList list(&document);
    list.Append(Paragraph(3, text));
    for (int i = 3000; i > 0; i -= 100)
        list.GetAt(1)->GetRow()->InsertAt(new FixedBox(30), 121 + 5 * i);
    Pages pages;
    list.Paginate(pages);
    const ParagraphComp& p = *list.GetAt(1);
    Rect bounds;
    p.GetAbsBounds(bounds);
    ASSERT_LE(bounds.right, PageWidth());
    ASSERT_GT(bounds.Height(), 2 * gDrawContext.GetPrintableHeight());
    ASSERT_GE(pages.breaks.size(), 3u);
    for (size_t i = 0; i + 1 < pages.breaks.size(); ++i) {
        Rect line;
        p.GetLineBreak(pages.breaks[i].second, line);
        EXPECT_TRUE(line.top == pages.breaks[i].second || line.bottom == pages.breaks[i].second)
            << "page " << pages.breaks[i].first << " ends at " << pages.breaks[i].second << " inside a line from "
            << line.top << " to " << line.bottom;
    }
    FixedBox::draws = 0;
    list.PaintRange(Rect(LeftMargin(), pages.breaks[0].second, PageWidth(), pages.breaks[1].second - 1));
    EXPECT_GT(FixedBox::draws, 0);
    EXPECT_LT(FixedBox::draws, 30 / 2);
}

// Points anywhere on paragraphs of many lines (labels on the first line or
// at the right, a taller structure) find the item a walk over the items in
// order finds, and the line there.
TEST_F(ParagraphLayoutTest, PointsFindWhatAWalkOverTheItemsFinds)
{
    for (int kind : {1, 3, 6}) {
        SCOPED_TRACE(kind);
        std::string text;
        for (int i = 0; i < 80; ++i)
            text += "word ";
        ParagraphList list(&document);
        list.Append(Paragraph(kind, text));
        list.GetAt(1)->GetRow()->InsertAt(new FixedBox(40), 150);
        list.RelayoutAll(false);
        const ParagraphComp& p = *list.GetAt(1);
        const CompList& row = *p.GetRow();
        const LayoutArray& items = *row.GetItems();
        Rect bounds;
        p.GetAbsBounds(bounds);
        for (int y = bounds.top - 2; y <= bounds.bottom + 2; y += 3) {
            Layout* line = nullptr;
            for (int i = 1; i <= items.GetCount() && !(line && line->AbsRect().bottom >= y); ++i)
                line = items.GetAt(i)->IsLine() ? items.GetAt(i) : line;
            Rect found;
            p.GetLineBreak(y, found);
            EXPECT_EQ(found.top, line->AbsRect().top) << y;
            for (int x = 0; x < PageWidth() + 20; x += 29) {
                const IntPoint point(x, y);
                Layout* hit = nullptr;
                for (int i = 1; i <= items.GetCount() && !hit; ++i)
                    hit = items.GetAt(i)->HitTest(point) ? items.GetAt(i) : nullptr;
                EXPECT_EQ(row.FirstItemHitBy(point), hit) << x << ", " << y;
            }
        }
    }
}

TEST_F(ParagraphLayoutTest, PlacingAfterAStyleChangeLeavesTheDroppedLabelAlone)
{
    ParagraphList list(&document);
    list.Append(Paragraph(4, "item"));
    list.RelayoutAll(false);
    ParagraphComp& p = *list.GetAt(1);
    // The change drops the label; the old items are placed once more before
    // the next layout.
    p.SetStyle(styles.GetStyle(8));
    EXPECT_EQ(p.GetLabel(), nullptr);
    p.SetOrigin(IntPoint(LeftMargin(), TopMargin() + 5));
    list.RelayoutAll(false);
    EXPECT_EQ(Lines(p), (std::vector<std::string>{"word@1 labl@0"}));
}
