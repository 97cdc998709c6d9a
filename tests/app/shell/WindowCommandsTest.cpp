// The Window menu's commands and the main toolbar through the running
// program's frame: Cascade keeps every document window large enough to show
// its text, Arrange Icons moves only minimised windows, and with no document
// open the toolbar's buttons that need one are disabled.
#include <QToolButton>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "ShellTestSupport.h"
#include "app/CMainFrame.h"
#include "app/ElementCommands.h"
#include "platform/framework/CMDIFrameWnd.h"

namespace {

TEST_F(ShellTest, CascadeKeepsEveryWindowLargeEnoughToShowItsText)
{
    ASSERT_TRUE(Start());
    CMDIFrameWnd* frame = Frame();
    QMdiArea* area = OpenNewDocuments(3);
    QMdiSubWindow* active = area->activeSubWindow();
    ASSERT_TRUE(active && active->isMaximized());
    ASSERT_TRUE(frame->OnCmdMsgFromUser(ID_WINDOW_CASCADE));
    QCoreApplication::processEvents();

    const QSize room = area->viewport()->size();
    const QSize expected(room.width() * 3 / 4, room.height() * 3 / 4);
    std::vector<QPoint> corners;
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::StackingOrder)) {
        EXPECT_FALSE(sub->isMaximized());
        // Three quarters of the area (which may change by a pixel as the
        // maximised window is restored).
        EXPECT_NEAR(sub->width(), expected.width(), 2) << sub->windowTitle().toStdString();
        EXPECT_NEAR(sub->height(), expected.height(), 2) << sub->windowTitle().toStdString();
        EXPECT_TRUE(area->viewport()->rect().contains(sub->geometry())) << sub->windowTitle().toStdString();
        corners.push_back(sub->pos());
    }
    // One title bar apart, the active window in front and still active.
    ASSERT_EQ(corners.size(), 4u);
    for (size_t i = 1; i < corners.size(); ++i)
        EXPECT_EQ(corners[i] - corners[i - 1], QPoint(24, 24));
    EXPECT_EQ(area->subWindowList(QMdiArea::StackingOrder).back(), active);
    EXPECT_EQ(area->activeSubWindow(), active);
}

TEST_F(ShellTest, ArrangeIconsMovesOnlyTheMinimisedWindows)
{
    ASSERT_TRUE(Start());
    CMDIFrameWnd* frame = Frame();
    QMdiArea* area = OpenNewDocuments(2);
    const QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(windows.size(), 3);
    windows[2]->showNormal();
    windows[2]->setGeometry(40, 30, 300, 200);
    windows[0]->showMinimized();
    windows[1]->showMinimized();
    windows[0]->move(200, 100);
    QCoreApplication::processEvents();
    const QRect normal = windows[2]->geometry();

    ASSERT_TRUE(frame->OnCmdMsgFromUser(ID_WINDOW_ARRANGE));
    QCoreApplication::processEvents();
    EXPECT_EQ(windows[2]->geometry(), normal);
    EXPECT_FALSE(windows[2]->isMinimized());
    const int bottom = area->viewport()->height();
    EXPECT_EQ(windows[0]->geometry().bottom() + 1, bottom);
    EXPECT_EQ(windows[0]->x(), 0);
    EXPECT_EQ(windows[1]->geometry().bottom() + 1, bottom);
    EXPECT_EQ(windows[1]->x(), windows[0]->width());
    EXPECT_TRUE(windows[0]->isMinimized() && windows[1]->isMinimized());
}

TEST_F(ShellTest, WithNoDocumentTheToolbarOffersOnlyNewAndOpen)
{
    ASSERT_TRUE(Start());
    app->CloseAllDocuments(FALSE);
    QCoreApplication::processEvents();
    ASSERT_EQ(FirstDocument(), nullptr);
    gMainFrame->OnIdleUpdateCmdUI();
    CToolBar& bar = gMainFrame->GetToolBar();
    std::vector<UINT> needDocument = {ID_FILE_SAVE, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_FILE_PRINT};
    for (UINT id = ID_ELEMENT_BUTTON_FIRST; id <= ID_ELEMENT_BUTTON_LAST; ++id)
        needDocument.push_back(id);
    for (UINT id : needDocument) {
        QToolButton* button = bar.GetButton(bar.CommandToIndex(id));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_FALSE(button->isEnabled()) << id;
    }
    for (UINT id : {UINT(ID_FILE_NEW), UINT(ID_FILE_OPEN)})
        EXPECT_TRUE(bar.GetButton(bar.CommandToIndex(id))->isEnabled()) << id;
}

} // namespace
