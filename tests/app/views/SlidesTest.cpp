// The Slides menu on the view: building slides, the show and its keys.
#include "ViewFixture.h"

#include "app/CCorvellDoc.h"
#include "app/SlideList.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"

namespace {

constexpr UINT kNewSlide = 34115, kCloneSlide = 34116, kAddToSlide = 34117, kDeleteAll = 34118, kOrganize = 34119,
               kStart = 34120, kNext = 34121, kPrevious = 34122, kEnd = 34123;

class SlidesTest : public ViewTest {
protected:
    // Three paragraphs, a slide of each of the first two.
    void MakeTwoSlides()
    {
        Command(32701 + 3);
        Type("one");
        Key(VK_RETURN, 13);
        Type("two");
        Key(VK_RETURN, 13);
        Type("three");
        PutCaret(1, 1);
        Command(kNewSlide);
        PutCaret(2, 1);
        Command(kNewSlide);
        ASSERT_EQ(Slides().GetCount(), 2);
    }
    SlideList& Slides() { return *view->GetSlideList(); }
    bool Visible(int i) { return Paragraphs().GetAt(i)->IsVisible(); }
};

TEST_F(SlidesTest, MenuStatesFollowTheSlidesAndTheShow)
{
    EXPECT_TRUE(Update(kNewSlide).enabled);
    for (UINT id : {kCloneSlide, kAddToSlide, kDeleteAll, kOrganize, kStart, kNext, kPrevious, kEnd})
        EXPECT_FALSE(Update(id).enabled) << id;
    MakeTwoSlides();
    for (UINT id : {kNewSlide, kCloneSlide, kAddToSlide, kDeleteAll, kOrganize, kStart})
        EXPECT_TRUE(Update(id).enabled) << id;
    Command(kStart);
    EXPECT_EQ(view->GetViewMode(), CBaseView::kSlideShowMode);
    for (UINT id : {kNewSlide, kCloneSlide, kStart})
        EXPECT_FALSE(Update(id).enabled) << id;
    for (UINT id : {kNext, kPrevious, kEnd})
        EXPECT_TRUE(Update(id).enabled) << id;
    // No editing in a show.
    EXPECT_FALSE(Update(32850).enabled);
    EXPECT_FALSE(Update(ID_EDIT_COPY).enabled);
}

TEST_F(SlidesTest, NewSlideHoldsTheSelectionsParagraphs)
{
    MakeTwoSlides();
    EXPECT_EQ(Slides().GetSlide(0)->GetCount(), 1);
    EXPECT_EQ(Slides().GetSlide(0)->GetAt(0), Paragraphs().GetAt(1));
    EXPECT_EQ(Slides().GetSlide(1)->GetAt(0), Paragraphs().GetAt(2));
    EXPECT_TRUE(Doc()->IsModified());
    Command(kCloneSlide);
    EXPECT_EQ(Slides().GetCount(), 3);
    Command(kDeleteAll);
    EXPECT_EQ(Slides().GetCount(), 0);
}

TEST_F(SlidesTest, NextOnTheLastSlideEndsTheShow)
{
    MakeTwoSlides();
    Command(kStart);
    EXPECT_TRUE(Visible(1));
    EXPECT_FALSE(Visible(2));
    EXPECT_FALSE(Visible(3));
    Command(kNext);
    EXPECT_EQ(view->GetViewMode(), CBaseView::kSlideShowMode);
    EXPECT_FALSE(Visible(1));
    EXPECT_TRUE(Visible(2));
    Command(kNext);
    EXPECT_EQ(view->GetViewMode(), CBaseView::kEditMode);
    EXPECT_TRUE(Visible(1));
    EXPECT_TRUE(Visible(2));
    EXPECT_TRUE(Visible(3));
}

TEST_F(SlidesTest, KeysThatActInAShowDoNotBeep)
{
    MakeTwoSlides();
    Command(kStart);
    const size_t beeps = ui.beeps.size();
    Key(VK_RIGHT);
    EXPECT_EQ(Slides().GetCurrent(), 1);
    Key(VK_LEFT);
    EXPECT_EQ(Slides().GetCurrent(), 0);
    Key(VK_SPACE, ' ');
    EXPECT_EQ(Slides().GetCurrent(), 1);
    Key(VK_SHIFT, -1, Qt::ShiftModifier);
    Key(VK_SPACE, ' ', Qt::ShiftModifier);
    EXPECT_EQ(Slides().GetCurrent(), 0);
    EXPECT_EQ(ui.beeps.size(), beeps);
    Key(VK_ESCAPE, 27);
    EXPECT_EQ(view->GetViewMode(), CBaseView::kEditMode);
    EXPECT_EQ(ui.beeps.size(), beeps);
}

TEST_F(SlidesTest, OtherKeysInAShowBeepOnceAndChangeNothing)
{
    MakeTwoSlides();
    Command(kStart);
    const std::string before = Text(1);
    size_t beeps = ui.beeps.size();
    Key('A', 'a');
    EXPECT_EQ(ui.beeps.size(), beeps + 1);
    Key(VK_RETURN, 13);
    EXPECT_EQ(ui.beeps.size(), beeps + 2);
    Key(VK_UP);
    EXPECT_EQ(ui.beeps.size(), beeps + 3);
    EXPECT_EQ(Text(1), before);
    EXPECT_EQ(Slides().GetCurrent(), 0);
    EXPECT_EQ(view->GetViewMode(), CBaseView::kSlideShowMode);
}

TEST_F(SlidesTest, RealKeyEventsDriveTheShow)
{
    MakeTwoSlides();
    Command(kStart);
    const size_t beeps = ui.beeps.size();
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QCoreApplication::sendEvent(view->widget(), &space);
    EXPECT_EQ(Slides().GetCurrent(), 1);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(QChar(27)));
    QCoreApplication::sendEvent(view->widget(), &escape);
    EXPECT_EQ(view->GetViewMode(), CBaseView::kEditMode);
    EXPECT_EQ(ui.beeps.size(), beeps);
}

TEST_F(SlidesTest, OrganizeCancelledLeavesSlidesAndDocumentAsTheyWere)
{
    MakeTwoSlides();
    Rect before;
    Paragraphs().GetAt(3)->GetAbsBounds(before);
    CDialog::ModalHook old = CDialog::SetModalHook([](CDialog& dialog) { dialog.PressButton(IDCANCEL); });
    Command(kOrganize);
    CDialog::SetModalHook(old);
    EXPECT_EQ(Slides().GetCount(), 2);
    EXPECT_EQ(view->GetViewMode(), CBaseView::kEditMode);
    EXPECT_TRUE(Visible(1));
    EXPECT_TRUE(Visible(2));
    EXPECT_TRUE(Visible(3));
    Rect after;
    Paragraphs().GetAt(3)->GetAbsBounds(after);
    EXPECT_EQ(after, before);
}

} // namespace
