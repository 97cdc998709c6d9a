// The regions that show a view's selection and the redraws a change causes.
#include "EditingFixture.h"

#include "foundation/SelectionHighlight.h"

namespace {

class SelectionHighlightTest : public EditingTest {
protected:
    SelectionHighlightTest()
    {
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += "word" + std::to_string(i) + " ";
        Add(3, text);
        Add(3, "short");
        LayOut();
        for (int i = 1; i <= Row(1)->GetItems()->GetCount(); ++i)
            if (Layout* item = Row(1)->GetItems()->GetAt(i); item->IsLine())
                lineStarts.push_back(item->GetStartIndex());
        target.invalidated.clear();
    }

    Rect CaretBox(int paragraph, int index) const
    {
        Rect box;
        At(paragraph, index).GetCaretRect(box);
        return box;
    }
    static IntPoint Middle(const Rect& r) { return IntPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
    static Rect Box(const Region& region)
    {
        Rect box;
        region.GetBox(box);
        return box;
    }
    int Ink() const
    {
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ink += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        return ink;
    }
    bool HasPixel(QRgb colour) const
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == colour)
                    return true;
        return false;
    }

    SelectionHighlight highlight;
    std::vector<int> lineStarts;
};

TEST_F(SelectionHighlightTest, ACaretAndARangeFillDifferentRegions)
{
    highlight.SetSelection(Caret(2, 3), false);
    EXPECT_FALSE(highlight.GetCaretRegion().IsEmpty());
    EXPECT_TRUE(highlight.GetSelectionRegion().IsEmpty());
    EXPECT_TRUE(target.invalidated.empty()) << "no redraw asked";
    EXPECT_TRUE(highlight.GetCaretRegion().Contains(Middle(CaretBox(2, 3))));

    highlight.SetSelection(DocSelection(Row(2), 2, 5), true);
    EXPECT_TRUE(highlight.GetCaretRegion().IsEmpty());
    EXPECT_FALSE(highlight.GetSelectionRegion().IsEmpty());
    EXPECT_EQ(highlight.GetSelection().GetEnd(), At(2, 5));
    // The old caret's box and then the new range's box are invalidated.
    ASSERT_EQ(target.invalidated.size(), 2u);
    EXPECT_LT(target.invalidated[0].Width(), target.invalidated[1].Width());
}

TEST_F(SelectionHighlightTest, ARangeOverSeveralLinesCoversTheirTextBands)
{
    ASSERT_GE(lineStarts.size(), 4u);
    const int from = lineStarts[0] + 6;
    const int to = lineStarts[2] + 6;
    highlight.SetSelection(DocSelection(Row(1), from, to), false);
    const Region& region = highlight.GetSelectionRegion();
    const Rect start = CaretBox(1, from);
    const Rect end = CaretBox(1, to);
    Rect paragraph;
    list.GetAt(1)->GetAbsBounds(paragraph);
    const int y1 = (start.top + start.bottom) / 2;
    const int y3 = (end.top + end.bottom) / 2;
    const int y2 = (start.bottom + end.top) / 2;
    EXPECT_FALSE(region.Contains(IntPoint(start.left - 3, y1))) << "before the start on the first line";
    EXPECT_TRUE(region.Contains(IntPoint(start.left + 3, y1)));
    EXPECT_TRUE(region.Contains(IntPoint(paragraph.right - 2, y1))) << "to the right edge of the first line";
    EXPECT_TRUE(region.Contains(IntPoint(paragraph.left + 1, y2))) << "the full middle line";
    EXPECT_TRUE(region.Contains(IntPoint(paragraph.right - 2, y2)));
    EXPECT_TRUE(region.Contains(IntPoint(paragraph.left + 1, y3))) << "from the left edge on the last line";
    EXPECT_FALSE(region.Contains(IntPoint(end.left + 3, y3))) << "after the end on the last line";
    EXPECT_FALSE(region.Contains(Middle(CaretBox(1, lineStarts[3] + 2)))) << "a line after the range";
}

TEST_F(SelectionHighlightTest, MovingARangeRedrawsOnlyTheChangedBand)
{
    highlight.SetSelection(DocSelection(Row(2), 1, 3), false);
    const Region changed = highlight.MoveSelection(DocSelection(Row(2), 1, 5));
    EXPECT_TRUE(changed.Contains(Middle(Rect(CaretBox(2, 3).left, CaretBox(2, 3).top, CaretBox(2, 5).left,
                                             CaretBox(2, 3).bottom))));
    EXPECT_FALSE(changed.Contains(Middle(Rect(CaretBox(2, 1).left, CaretBox(2, 1).top, CaretBox(2, 3).left,
                                              CaretBox(2, 1).bottom))))
        << "the part both ranges cover is not redrawn";
    ASSERT_FALSE(target.invalidated.empty());
    EXPECT_EQ(target.invalidated.back().left, CaretBox(2, 3).left);
    EXPECT_FALSE(target.shown.empty()) << "the change is scrolled into sight";

    // From a caret to a range: the caret's band and the range both change.
    highlight.SetSelection(Caret(2, 1), false);
    const Region fromCaret = highlight.MoveSelection(DocSelection(Row(2), 2, 4));
    EXPECT_TRUE(fromCaret.Contains(Middle(CaretBox(2, 1))));
    EXPECT_TRUE(fromCaret.Contains(IntPoint(CaretBox(2, 3).left, Middle(CaretBox(2, 3)).y)));
    // Moving to the same selection changes nothing.
    EXPECT_TRUE(highlight.MoveSelection(DocSelection(Row(2), 2, 4)).IsEmpty());
}

TEST_F(SelectionHighlightTest, DisplayModesDecideWhatIsDrawn)
{
    highlight.SetMode(1);
    highlight.SetSelection(DocSelection(Row(2), 1, 4), true);
    EXPECT_TRUE(highlight.GetSelectionRegion().IsEmpty());
    highlight.Draw();
    highlight.SetSelection(Caret(2, 2), false);
    highlight.Draw();
    EXPECT_EQ(Ink(), 0) << "mode 1 shows nothing";

    highlight.SetMode(SelectionHighlight::kInactiveMode);
    highlight.Draw();
    EXPECT_TRUE(HasPixel(qRgb(128, 128, 128))) << "an inactive caret is grey";
    image.fill(Qt::white);
    highlight.SetMode(SelectionHighlight::kActiveMode);
    highlight.Draw();
    EXPECT_TRUE(HasPixel(qRgb(0, 0, 0))) << "an active caret is solid";
    EXPECT_FALSE(HasPixel(qRgb(128, 128, 128)));

    image.fill(Qt::white);
    highlight.SetSelection(DocSelection(Row(2), 1, 4), false);
    highlight.Draw();
    const int inverted = Ink();
    image.fill(Qt::white);
    highlight.SetMode(SelectionHighlight::kInactiveMode);
    highlight.Draw();
    const int framed = Ink();
    EXPECT_GT(inverted, framed) << "an active range is inverted, an inactive one framed";
    EXPECT_GT(framed, 0);
}

TEST_F(SelectionHighlightTest, AWholeObjectIsLeftToTheObject)
{
    auto* picture = new Picture;
    Row(2)->Append(picture);
    LayOut();
    highlight.SetSelection(DocSelection::SelectObject(picture), true);
    EXPECT_TRUE(highlight.GetSelectionRegion().IsEmpty());
    EXPECT_TRUE(highlight.GetCaretRegion().IsEmpty());
    EXPECT_TRUE(highlight.NeedsRecompute());
}

} // namespace
