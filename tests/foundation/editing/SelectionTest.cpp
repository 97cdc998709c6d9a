// Selections made by clicks, Shift+clicks and drags; the regions that show
// a selection and the redraws a change of selection causes.
#include "EditingFixture.h"

#include "foundation/SelectionHighlight.h"
#include "foundation/SelectionTracker.h"

namespace {

class SelectionTest : public EditingTest {
protected:
    static IntPoint Inside(const Rect& box) { return IntPoint(box.left + 2, (box.top + box.bottom) / 2); }
    static IntPoint Inside(TextComp* comp)
    {
        Rect box;
        comp->GetAbsBounds(box);
        return Inside(box);
    }
    DocSelection Click(const IntPoint& point, bool shift = false)
    {
        SelectionTracker tracker(view, shift);
        tracker.MouseDown(point);
        tracker.MouseUp(point);
        EXPECT_EQ(tracker.GetAction(), nullptr);
        return Now();
    }

    SelectionHighlight highlight;
};

TEST_F(SelectionTest, ACaretAndARangeFillDifferentRegions)
{
    highlight.SetSelection(Caret(2, 3), false);
    EXPECT_TRUE(highlight.GetCaretRegion().Contains(Middle(Box(2, 3))));
    EXPECT_TRUE(highlight.GetSelectionRegion().IsEmpty());
    EXPECT_TRUE(target.invalidated.empty()) << "no redraw asked";
    highlight.SetSelection(DocSelection(Row(2), 2, 5), true);
    EXPECT_TRUE(highlight.GetCaretRegion().IsEmpty());
    EXPECT_FALSE(highlight.GetSelectionRegion().IsEmpty());
    ASSERT_EQ(target.invalidated.size(), 2u) << "the old caret's box, then the new range's";
    EXPECT_LT(target.invalidated[0].Width(), target.invalidated[1].Width());
}

TEST_F(SelectionTest, ARangeOverSeveralLinesCoversTheirTextBands)
{
    ASSERT_GE(starts.size(), 4u);
    const int from = starts[0] + 6, to = starts[2] + 6;
    highlight.SetSelection(DocSelection(Row(5), from, to), false);
    const Region& region = highlight.GetSelectionRegion();
    const Rect start = Box(5, from), end = Box(5, to);
    Rect paragraph;
    list.GetAt(5)->GetAbsBounds(paragraph);
    const int y1 = Middle(start).y, y2 = (start.bottom + end.top) / 2, y3 = Middle(end).y;
    EXPECT_FALSE(region.Contains(IntPoint(start.left - 3, y1))) << "before the start on the first line";
    EXPECT_TRUE(region.Contains(IntPoint(start.left + 3, y1)));
    EXPECT_TRUE(region.Contains(IntPoint(paragraph.right - 2, y1))) << "to the right edge of the first line";
    EXPECT_TRUE(region.Contains(IntPoint(paragraph.left + 1, y2))) << "the full middle line";
    EXPECT_TRUE(region.Contains(IntPoint(paragraph.right - 2, y2)));
    EXPECT_TRUE(region.Contains(IntPoint(paragraph.left + 1, y3))) << "from the left edge on the last line";
    EXPECT_FALSE(region.Contains(IntPoint(end.left + 3, y3))) << "after the end on the last line";
    EXPECT_FALSE(region.Contains(Middle(Box(5, starts[3] + 2)))) << "a line after the range";
}

TEST_F(SelectionTest, MovingTheSelectionRedrawsOnlyWhatChanged)
{
    highlight.SetSelection(DocSelection(Row(2), 1, 3), false);
    const Region changed = highlight.MoveSelection(DocSelection(Row(2), 1, 5));
    EXPECT_TRUE(changed.Contains(IntPoint((Box(2, 3).left + Box(2, 5).left) / 2, Middle(Box(2, 3)).y)));
    EXPECT_FALSE(changed.Contains(IntPoint((Box(2, 1).left + Box(2, 3).left) / 2, Middle(Box(2, 1)).y)))
        << "the part both ranges cover is not redrawn";
    ASSERT_FALSE(target.invalidated.empty());
    EXPECT_EQ(target.invalidated.back().left, Box(2, 3).left);
    EXPECT_FALSE(target.shown.empty()) << "the change is scrolled into sight";

    highlight.SetSelection(Caret(2, 1), false);
    const Region fromCaret = highlight.MoveSelection(DocSelection(Row(2), 2, 4));
    EXPECT_TRUE(fromCaret.Contains(Middle(Box(2, 1)))) << "the caret's band";
    EXPECT_TRUE(fromCaret.Contains(IntPoint(Box(2, 3).left, Middle(Box(2, 3)).y))) << "and the range";
    EXPECT_TRUE(highlight.MoveSelection(DocSelection(Row(2), 2, 4)).IsEmpty()) << "no change, no redraw";
}

TEST_F(SelectionTest, AClickSelectsByWhatIsUnderThePointer)
{
    EXPECT_EQ(Click(CaretPoint(2, 4)), Caret(2, 4)) << "the nearest place";
    EXPECT_EQ(view.redrawn, 1);
    EXPECT_EQ(view.shown.size(), 1u) << "the press shows the selection at once";
    Rect paragraph;
    list.GetAt(2)->GetAbsBounds(paragraph);
    EXPECT_EQ(Click(IntPoint(paragraph.right - 5, CaretPoint(2, 4).y)), End(2)) << "past the end of the text";
    EXPECT_EQ(Click(Inside(reference)), DocSelection(Row(4), 5, 6)) << "a cross-reference: whole";
    EXPECT_EQ(Click(Inside(plot)), Caret(4, 7)) << "a plot: a caret before it";
    EXPECT_EQ(SelectionTracker::ClickSelection(At(4, 7), true), DocSelection(Row(4), 7, 8)) << "a plot while dragging";
    EXPECT_EQ(SelectionTracker::ClickSelection(At(4, 8), true), Caret(4, 8)) << "past the end of the row";
    Layout* label = nullptr;
    for (int i = 1; i <= Row(3)->GetItems()->GetCount(); ++i)
        if (Row(3)->GetItems()->GetAt(i)->IsLabel())
            label = Row(3)->GetItems()->GetAt(i);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(Click(Inside(label->AbsRect())), DocSelection(Row(3), 0, 1)) << "an equation's number: its label";
}

TEST_F(SelectionTest, AGreyRunIsSelectedWhole)
{
    CompList row(Chars("a wide row"));
    row.Layout(4); // far too narrow: drawn as one grey box
    ASSERT_EQ(row.GetItems()->GetCount(), 1);
    ASSERT_EQ(row.GetItems()->GetAt(1)->Tag(), tag_gray);
    EXPECT_EQ(SelectionTracker::ClickSelection(DocPosition(&row, 3), false), DocSelection(&row, 1, 11));
    EXPECT_EQ(SelectionTracker::ClickSelection(DocPosition(&row, 11), false), DocSelection(&row, 11, 11));
}

TEST_F(SelectionTest, DraggingSelectsFromThePressPointOrFromTheFarEndWithShift)
{
    SelectionTracker tracker(view, false);
    tracker.MouseDown(Inside(reference));
    EXPECT_EQ(tracker.GetTrackedSelection(), DocSelection(Row(4), 5, 6));
    tracker.MouseMove(CaretPoint(4, 2));
    EXPECT_EQ(tracker.GetTrackedSelection(), DocSelection(Row(4), 2, 5));
    const size_t shown = view.shown.size();
    tracker.MouseMove(CaretPoint(4, 2));
    EXPECT_EQ(view.shown.size(), shown) << "no redraw while the pointer stays on one place";
    tracker.MouseMove(Inside(reference));
    EXPECT_EQ(tracker.GetTrackedSelection(), DocSelection(Row(4), 5, 6)) << "back at the press: the click result";
    tracker.MouseMove(CaretPoint(2, 3));
    EXPECT_EQ(view.selection, DocSelection()) << "the view's selection is set only at the release";
    tracker.MouseUp(CaretPoint(2, 3));
    EXPECT_EQ(Now(), DocSelection(At(2, 3), At(4, 5)));

    Select(DocSelection(Row(2), 2, 5));
    EXPECT_EQ(Click(CaretPoint(2, 1), true), DocSelection(Row(2), 1, 5)) << "shift+click before: to the old end";
    Select(DocSelection(Row(2), 2, 5));
    EXPECT_EQ(Click(CaretPoint(2, 3), true), DocSelection(Row(2), 2, 3)) << "shift+click inside: from the old start";
}

// A gesture that makes an action on release.
struct Making : MouseTracker {
    using MouseTracker::MouseTracker;
    void MouseUp(const IntPoint&) override { m_action = new TSelectWordAction(m_view, DocSelection()); }
};

TEST_F(SelectionTest, ATrackerOwnsItsActionUntilTheViewTakesIt)
{
    Making kept(view);
    kept.MouseUp({});
    std::unique_ptr<TAction> taken(kept.TakeAction());
    EXPECT_TRUE(taken && !kept.GetAction());
    Making(view).MouseUp({}); // deleted with the tracker, or the leak check fails
}

} // namespace
