// Clicks, Shift+clicks and drags turned into selections.
#include "EditingFixture.h"

#include "foundation/Layout.h"
#include "foundation/SelectionTracker.h"
#include "foundation/TAction.h"

namespace {

// A component with a tag of its own (a cross-reference, a plot).
class Tagged : public TestFraction {
public:
    explicit Tagged(TypeTag tag) : m_tag(tag) {}
    void GetTag(TypeTag& out) const override { out = m_tag; }

private:
    TypeTag m_tag;
};

// "hello world" | numbered equation "x=1" | "see " [reference] " and " [plot]
class SelectionTrackerTest : public EditingTest {
protected:
    SelectionTrackerTest()
    {
        Add(3, "hello world");
        Add(6, "x=1");
        reference = new Tagged(tag_Ref);
        plot = new Tagged(tag_2Plt);
        auto third = Chars("see ");
        third->Append(reference);
        third->Append(Chars(" ")->GetAt(1));
        third->Append(plot);
        Add(3, std::move(third));
        LayOut();
    }

    // The point of a caret place: on its left edge, half way down.
    IntPoint PointAt(int paragraph, int index) const
    {
        Rect box;
        At(paragraph, index).GetCaretRect(box);
        return IntPoint(box.left, (box.top + box.bottom) / 2);
    }
    IntPoint InsideOf(TextComp* comp) const
    {
        Rect box;
        comp->GetAbsBounds(box);
        return IntPoint(box.left + 2, (box.top + box.bottom) / 2);
    }
    void Click(const IntPoint& point, bool shift = false)
    {
        SelectionTracker tracker(view, shift);
        tracker.MouseDown(point);
        tracker.MouseUp(point);
        EXPECT_EQ(tracker.GetAction(), nullptr);
    }

    Tagged* reference;
    Tagged* plot;
};

TEST_F(SelectionTrackerTest, AClickPutsTheCaretAtTheNearestPlace)
{
    Click(PointAt(1, 4));
    EXPECT_EQ(Now(), Caret(1, 4));
    EXPECT_EQ(view.redrawn, 1);
    ASSERT_EQ(view.shown.size(), 1u) << "the press shows the selection at once";
    Rect paragraph;
    list.GetAt(1)->GetAbsBounds(paragraph);
    Click(IntPoint(paragraph.right - 5, PointAt(1, 4).y));
    EXPECT_EQ(Now(), Caret(1, 12)) << "a click past the end of the text";
}

TEST_F(SelectionTrackerTest, AClickOnANumberSelectsTheLabel)
{
    LayoutArray* items = Row(2)->GetItems();
    Layout* label = nullptr;
    for (int i = 1; i <= items->GetCount(); ++i)
        if (items->GetAt(i)->IsLabel())
            label = items->GetAt(i);
    ASSERT_NE(label, nullptr);
    const Rect box = label->AbsRect();
    Click(IntPoint((box.left + box.right) / 2, (box.top + box.bottom) / 2));
    EXPECT_EQ(Now(), DocSelection(Row(2), 0, 1));
    EXPECT_EQ(Now().MapKey('a', false, false), 2000);
}

TEST_F(SelectionTrackerTest, ACrossReferenceIsSelectedWholeAndAPlotOnlyWhileDragging)
{
    Click(InsideOf(reference));
    EXPECT_EQ(Now(), DocSelection(Row(3), 5, 6));
    Click(InsideOf(plot));
    EXPECT_EQ(Now(), Caret(3, 7)) << "a click before a plot is a caret";
    EXPECT_EQ(SelectionTracker::ClickSelection(At(3, 7), true), DocSelection(Row(3), 7, 8));
    EXPECT_EQ(SelectionTracker::ClickSelection(At(3, 8), true), Caret(3, 8)) << "past the end of the row";
}

TEST_F(SelectionTrackerTest, AGreyRunIsSelectedWhole)
{
    CompList row(Chars("a wide row"));
    row.Layout(4); // far too narrow: drawn as a grey box
    ASSERT_EQ(row.GetItems()->GetCount(), 1);
    ASSERT_EQ(row.GetItems()->GetAt(1)->Tag(), tag_gray);
    EXPECT_EQ(SelectionTracker::ClickSelection(DocPosition(&row, 3), false), DocSelection(&row, 1, 11));
    EXPECT_EQ(SelectionTracker::ClickSelection(DocPosition(&row, 11), false), DocSelection(&row, 11, 11));
}

TEST_F(SelectionTrackerTest, DraggingSelectsFromThePressPointAndBackToTheClick)
{
    SelectionTracker tracker(view, false);
    tracker.MouseDown(InsideOf(reference));
    EXPECT_EQ(tracker.GetTrackedSelection(), DocSelection(Row(3), 5, 6));
    tracker.MouseMove(PointAt(3, 2));
    EXPECT_EQ(tracker.GetTrackedSelection(), DocSelection(Row(3), 2, 5));
    const size_t shown = view.shown.size();
    tracker.MouseMove(PointAt(3, 2));
    EXPECT_EQ(view.shown.size(), shown) << "no redraw while the pointer stays on one place";
    tracker.MouseMove(InsideOf(reference));
    EXPECT_EQ(tracker.GetTrackedSelection(), DocSelection(Row(3), 5, 6)) << "back at the press: the click result";
    tracker.MouseMove(PointAt(1, 3));
    EXPECT_EQ(tracker.GetTrackedSelection(), DocSelection(At(1, 3), At(3, 5)));
    EXPECT_EQ(view.selection, DocSelection()) << "the view's selection is set only at the release";
    tracker.MouseUp(PointAt(1, 3));
    EXPECT_EQ(Now(), DocSelection(At(1, 3), At(3, 5)));
}

TEST_F(SelectionTrackerTest, ShiftClickExtendsFromTheFarEnd)
{
    Select(DocSelection(Row(1), 4, 7));
    Click(PointAt(1, 2), true);
    EXPECT_EQ(Now(), DocSelection(Row(1), 2, 7)) << "before the selection: from the click to the old end";

    Select(DocSelection(Row(1), 4, 7));
    Click(PointAt(1, 5), true);
    EXPECT_EQ(Now(), DocSelection(Row(1), 4, 5)) << "after its start: from the old start, shrinking";

    Select(DocSelection(Row(1), 4, 7));
    SelectionTracker tracker(view, true);
    tracker.MouseDown(PointAt(1, 2));
    EXPECT_EQ(tracker.GetAnchor(), At(1, 7));
    tracker.MouseMove(PointAt(1, 10));
    EXPECT_EQ(tracker.GetTrackedSelection(), DocSelection(Row(1), 7, 10)) << "dragging extends from the old end";
}

// A gesture that makes an action on release.
class Making : public MouseTracker {
public:
    using MouseTracker::MouseTracker;
    void MouseUp(const IntPoint&) override { m_action = new Nothing; }

private:
    class Nothing : public TAction {
    public:
        Nothing() : TAction(2014) {}
        void Do() override {}
    };
};

TEST_F(SelectionTrackerTest, ATrackerOwnsItsActionUntilTheViewTakesIt)
{
    Making kept(view);
    kept.MouseUp({});
    ASSERT_NE(kept.GetAction(), nullptr);
    std::unique_ptr<TAction> taken(kept.TakeAction());
    EXPECT_NE(taken, nullptr);
    EXPECT_EQ(kept.GetAction(), nullptr);
    {
        Making dropped(view);
        dropped.MouseUp({}); // deleted with the tracker (the leak check would see it)
    }
    EXPECT_EQ(SelectionTracker(view, false).TrackerFlags(), 0);
}

} // namespace
