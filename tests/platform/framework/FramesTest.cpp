// Frames and views: a modal frame window split into fixed panes (the layout
// of a question asked of the user), document windows that keep their restored
// rectangle, scrolling, and immediate drawing on a view's backing image.
#include <QApplication>
#include <QMdiArea>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "FrameworkTestSupport.h"
#include "platform/framework/CFormView.h"
#include "platform/framework/CSplitterWnd.h"

namespace {

class PromptPanel : public CFormView {
    DECLARE_DYNCREATE(PromptPanel)
public:
    PromptPanel() : CFormView(9003) {}
};
IMPLEMENT_DYNCREATE(PromptPanel, CFormView)

class OkPanel : public CFormView {
    DECLARE_DYNCREATE(OkPanel)
public:
    OkPanel() : CFormView(9004)
    {
        MapNotify(BN_CLICKED, 1094, [this] { GetParentFrame()->EndModalLoop(IDOK); });
        MapNotify(BN_CLICKED, 1095, [this] { GetParentFrame()->EndModalLoop(IDCANCEL); });
    }
};
IMPLEMENT_DYNCREATE(OkPanel, CFormView)

class QueryFrame : public CFrameWnd {
public:
    CSplitterWnd splitter;

protected:
    BOOL OnCreateClient(CCreateContext* context) override
    {
        splitter.m_cxSplitter = splitter.m_cySplitter = 0;
        splitter.m_cxSplitterGap = splitter.m_cySplitterGap = 1;
        if (!splitter.CreateStatic(this, 3, 1))
            return FALSE;
        const int heights[] = {40, 194, 28};
        const CRuntimeClass* panes[] = {RUNTIME_CLASS(PromptPanel), RUNTIME_CLASS(LogView), RUNTIME_CLASS(OkPanel)};
        for (int row = 0; row < 3; ++row) {
            if (!splitter.CreateView(row, 0, panes[row], CSize(400, heights[row]), context))
                return FALSE;
            splitter.SetRowInfo(row, heights[row], heights[row]);
        }
        splitter.RecalcLayout();
        splitter.SetActivePane(1, 0);
        return TRUE;
    }
    void PostNcDestroy() override {}
};

}

TEST(ModalFrame, AFrameSplitIntoFixedPanesRunsItsOwnModalLoop)
{
    LoadTestResources();
    QueryFrame frame;
    ASSERT_TRUE(frame.Create(nullptr, "Kernel Query", WS_POPUP | WS_CAPTION | WS_SYSMENU, CRect(0, 0, 400, 334)));
    // Centred over an owner mostly off the screen, it stays on the screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QueryFrame owner;
    ASSERT_TRUE(
        owner.Create(nullptr, "Owner", WS_POPUP,
                     CRect(screen.right() - 100, screen.bottom() - 100, screen.right() + 500, screen.bottom() + 400)));
    frame.CenterWindow(&owner);
    EXPECT_TRUE(screen.contains(frame.widget()->frameGeometry()));
    frame.CenterWindow();
    frame.ShowWindow(SW_SHOW);
    CWnd* prompt = frame.splitter.GetPane(0, 0);
    CWnd* editor = frame.splitter.GetPane(1, 0);
    ASSERT_NE(prompt, nullptr);
    ASSERT_NE(editor, nullptr);
    FlushEvents();
    EXPECT_EQ(prompt->widget()->height(), 40);
    EXPECT_EQ(editor->widget()->height(), 194);
    EXPECT_GE(frame.splitter.GetPane(2, 0)->widget()->height(), 28);  // the last row takes the rest
    EXPECT_EQ(frame.GetActiveView(), editor);
    prompt->SetDlgItemText(1093, "Solve for which variable?");

    // The user's part runs in the modal loop, or never: the timers go with the test's scope.
    QObject scope;
    QTimer::singleShot(0, &scope, [&] {
        auto* ok = qobject_cast<QPushButton*>(frame.splitter.GetPane(2, 0)->GetDlgItem(1094)->widget());
        ok->click();
    });
    EXPECT_EQ(frame.RunModalLoop(), IDOK);
    QTimer::singleShot(0, &scope, [&] { frame.SendMessage(WM_CLOSE); }); // the close box cancels
    EXPECT_EQ(frame.RunModalLoop(), IDCANCEL);
    frame.DestroyWindow();
    FlushEvents();
}

TEST_F(FrameworkTest, DrawingScrollingAndMaximisingADocumentWindow)
{
    app->mainFrame->ShowWindow(SW_SHOW);
    LogView* view = OpenNewView();
    ASSERT_NE(view, nullptr);
    FlushEvents();
    // Immediate drawing stays until the area is invalidated.
    view->UpdateWindow();
    int draws = view->draws;
    EXPECT_GE(draws, 1);
    {
        CClientDC dc(view);
        dc.FillSolidRect(CRect(5, 5, 25, 25), RGB(255, 0, 0));
    }
    view->UpdateWindow();
    EXPECT_EQ(view->draws, draws);  // shown, not drawn over
    EXPECT_EQ(view->BackingImage().pixelColor(10, 10), QColor(255, 0, 0));
    CRect area(0, 0, 30, 30);
    view->InvalidateRect(&area);
    view->UpdateWindow();
    EXPECT_EQ(view->draws, draws + 1);
    EXPECT_EQ(view->BackingImage().pixelColor(10, 10), QColor(Qt::white));

    // Maximised, the window keeps its restored rectangle.
    CMDIChildWnd* child = app->mainFrame->MDIGetActive();
    WINDOWPLACEMENT placement;
    placement.showCmd = SW_SHOWNORMAL;
    placement.rcNormalPosition = CRect(10, 20, 310, 220);
    ASSERT_TRUE(child->SetWindowPlacement(&placement));
    // Maximised while a context still draws on it (as when a click opens
    // another window), the view keeps its image until the context has ended
    // and then draws itself whole at its new size.
    draws = view->draws;
    {
        CClientDC dc(view);
        child->MDIMaximize();
        FlushEvents();
        dc.FillSolidRect(CRect(5, 5, 25, 25), RGB(255, 0, 0));
    }
    FlushEvents();
    EXPECT_EQ(view->BackingImage().size(), view->drawingWidget()->size());
    EXPECT_GT(view->draws, draws);
    WINDOWPLACEMENT read;
    ASSERT_TRUE(child->GetWindowPlacement(&read));
    EXPECT_EQ(read.showCmd, UINT(SW_SHOWMAXIMIZED));
    EXPECT_EQ(read.rcNormalPosition, CRect(10, 20, 310, 220));
    BOOL maximized = FALSE;
    EXPECT_EQ(app->mainFrame->MDIGetActive(&maximized), child);
    EXPECT_TRUE(maximized);
    EXPECT_EQ(app->mainFrame->GetWindowText(), "Quorvant - [Doc1]");

    // Scrolling is clamped to the scroll sizes.
    CRect client;
    view->GetClientRect(&client);
    ASSERT_GT(client.Height(), 0);
    view->ScrollToPosition(CPoint(0, 500));
    EXPECT_EQ(view->GetScrollPosition(), CPoint(0, 500));
    EXPECT_TRUE(view->OnScrollBy(CSize(0, 1000000)));
    EXPECT_EQ(view->GetScrollPosition().y, 4000 - client.Height());
    EXPECT_FALSE(view->OnScrollBy(CSize(0, 10)));
    EXPECT_TRUE(view->OnScrollBy(CSize(0, -10)));
    // The wheel: one notch up scrolls three lines (a line is a tenth of a page).
    int before = view->GetScrollPosition().y;
    QWheelEvent wheel(QPointF(10, 10), view->drawingWidget()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->drawingWidget(), &wheel);
    EXPECT_EQ(view->GetScrollPosition().y, before - 3 * (4000 / 10 / 10));

    child->MDIRestore();
    FlushEvents();
    EXPECT_EQ(app->mainFrame->GetWindowText(), "Quorvant - Doc1");
}

TEST_F(FrameworkTest, MouseCallsComeWithFlagsAndTheCursorIsAskedOnEveryMove)
{
    LogView* view = OpenNewView();
    ASSERT_NE(view, nullptr);
    QWidget* surface = view->drawingWidget();
    auto send = [surface](QEvent::Type type, QPointF p, Qt::MouseButton button, Qt::MouseButtons buttons,
                          Qt::KeyboardModifiers modifiers) {
        QMouseEvent e(type, p, surface->mapToGlobal(p), button, buttons, modifiers);
        QApplication::sendEvent(surface, &e);
    };
    send(QEvent::MouseMove, {7, 8}, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    send(QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseButtonRelease, {5, 6}, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    send(QEvent::MouseButtonDblClick, {5, 6}, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    send(QEvent::MouseButtonRelease, {5, 6}, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    EXPECT_EQ(view->mouse, (std::vector<std::string>{"cursor", "move 7,8", "down 5,6 s", "up 5,6 s captured",
                                                     "double 5,6 c", "up 5,6"}));
    EXPECT_EQ(surface->cursor().shape(), Qt::IBeamCursor);
}
