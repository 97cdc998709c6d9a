// The Slides menu on the view: its states, the show and its keys.
#include "ViewFixture.h"

#include <QKeyEvent>

#include "app/SlideList.h"
#include "platform/draw/ImageDC.h"
#include "platform/framework/CPrintInfo.h"

namespace {

constexpr UINT kNewSlide = 34115, kCloneSlide = 34116, kAddToSlide = 34117, kDeleteAll = 34118, kOrganize = 34119,
               kStart = 34120, kNext = 34121, kPrevious = 34122, kEnd = 34123;

class SlidesTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        Fill(3, "slide");
        for (UINT id : {kCloneSlide, kAddToSlide, kDeleteAll, kOrganize, kStart, kNext, kPrevious, kEnd})
            EXPECT_FALSE(Update(id).enabled) << id;
        for (int paragraph : {1, 2}) {  // a slide of each of the first two paragraphs
            PutCaret(paragraph, 1);
            Command(kNewSlide);
        }
        ASSERT_EQ(view->GetSlideList()->GetCount(), 2);
    }
    int Current() { return view->GetSlideList()->GetCurrent(); }
    std::string Shown()
    {
        std::string visible;
        for (int i = 1; i <= 3; ++i)
            visible += Paragraphs().GetAt(i)->IsVisible() ? '1' : '0';
        return visible;
    }
};

TEST_F(SlidesTest, MenuFollowsTheShowAndNextOnTheLastSlideEndsIt)
{
    for (UINT id : {kNewSlide, kCloneSlide, kAddToSlide, kDeleteAll, kOrganize, kStart})
        EXPECT_TRUE(Update(id).enabled) << id;
    Command(kStart);
    EXPECT_EQ(Shown(), "100");
    for (UINT id : {kNewSlide, kCloneSlide, kStart, 32850u, UINT(ID_EDIT_COPY)})
        EXPECT_FALSE(Update(id).enabled) << id;
    for (UINT id : {kNext, kPrevious, kEnd})
        EXPECT_TRUE(Update(id).enabled) << id;
    Command(kNext);
    EXPECT_EQ(Shown(), "010");
    Command(kNext);
    EXPECT_EQ(view->GetViewMode(), CBaseView::kEditMode);
    EXPECT_EQ(Shown(), "111");
    Command(kDeleteAll);
    EXPECT_EQ(view->GetSlideList()->GetCount(), 0);
}

TEST_F(SlidesTest, KeysThatActInAShowDoNotBeepAndOthersBeepOnce)
{
    Command(kStart);
    const size_t beeps = ui.beeps.size();
    const struct {
        UINT vk;
        int ch;
        Qt::KeyboardModifiers modifiers;
        int slide;
    } acting[] = {{VK_RIGHT, -1, {}, 1}, {VK_LEFT, -1, {}, 0}, {VK_SPACE, ' ', {}, 1},
                  {VK_SHIFT, -1, Qt::ShiftModifier, 1}, {VK_SPACE, ' ', Qt::ShiftModifier, 0}};
    for (const auto& key : acting) {
        Key(key.vk, key.ch, key.modifiers);
        EXPECT_EQ(Current(), key.slide) << key.vk;
    }
    EXPECT_EQ(ui.beeps.size(), beeps);
    Key('A', 'a');
    Key(VK_RETURN, 13);
    Key(VK_UP);
    EXPECT_EQ(ui.beeps.size(), beeps + 3);
    EXPECT_EQ(Text(1), "slide");
    EXPECT_EQ(Current(), 0);

    // Through the window's own key events.
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QCoreApplication::sendEvent(view->widget(), &space);
    EXPECT_EQ(Current(), 1);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(QChar(27)));
    QCoreApplication::sendEvent(view->widget(), &escape);
    EXPECT_EQ(view->GetViewMode(), CBaseView::kEditMode);
    EXPECT_EQ(ui.beeps.size(), beeps + 3);
}

TEST_F(SlidesTest, TheShowSurvivesADisplaySizeChangeAndPrinting)
{
    Command(kStart);
    Command(kNext);
    // Stacked: the hidden paragraph before the slide's sits where the slide's begins.
    auto stacked = [&] {
        Rect first, second;
        Paragraphs().GetAt(1)->GetAbsBounds(first);
        Paragraphs().GetAt(2)->GetAbsBounds(second);
        return first.top == second.top;
    };
    ASSERT_TRUE(stacked());
    Command(15000);  // a display size
    EXPECT_EQ(view->GetViewMode(), CBaseView::kSlideShowMode);
    EXPECT_EQ(Shown(), "010");
    EXPECT_TRUE(stacked());

    QImage page(816, 1056, QImage::Format_RGB32);
    page.fill(Qt::white);
    CImageDC dc(page);
    CPrintInfo info;
    view->OnBeginPrinting(&dc, &info);
    view->OnEndPrinting(&dc, &info);
    EXPECT_EQ(Shown(), "010");
    EXPECT_TRUE(stacked());
    Command(kNext);
    EXPECT_EQ(view->GetViewMode(), CBaseView::kEditMode);
}

} // namespace
