// The fixed splitter of the kernel's question window: three rows that touch,
// with fixed heights, the prompt panel in the top row, the button face where
// a splitter would be drawn, and the plain arrow over it.
#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include "app/CFixedSplitterWnd.h"
#include "app/dialogs/CPromptPanel.h"
#include "platform/draw/ImageDC.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/Cursors.h"
#include "resources/ProgramResources.h"

namespace {

class EditorPane : public CView {
    DECLARE_DYNCREATE(EditorPane)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(EditorPane, CView)

class QuestionFrame : public CFrameWnd {
public:
    CFixedSplitterWnd splitter;

protected:
    BOOL OnCreateClient(CCreateContext* context) override
    {
        const int heights[] = {40, 194, 28};
        if (!splitter.CreateStatic(this, 3, 1)
            || !splitter.CreateView(0, 0, RUNTIME_CLASS(CPromptPanel), CSize(400, heights[0]), context)
            || !splitter.CreateView(1, 0, RUNTIME_CLASS(EditorPane), CSize(400, heights[1]), context)
            || !splitter.CreateView(2, 0, RUNTIME_CLASS(CPromptPanel), CSize(400, heights[2]), context))
            return FALSE;
        for (int row = 0; row < 3; ++row)
            splitter.SetRowInfo(row, heights[row], heights[row]);
        splitter.RecalcLayout();
        splitter.SetActivePane(1, 0);
        return TRUE;
    }
    void PostNcDestroy() override {}
};

}

TEST(FixedSplitter, RowsTouchWithTheirFixedHeightsAndThePromptShowsInTheTopRow)
{
    QString error;
    ASSERT_TRUE(RegisterProgramResources(&error)) << error.toStdString();
    QuestionFrame frame;
    ASSERT_TRUE(frame.Create(nullptr, "Kernel Query", WS_POPUP | WS_CAPTION | WS_SYSMENU, CRect(0, 0, 400, 334)));
    frame.ShowWindow(SW_SHOW);
    QCoreApplication::processEvents();

    QWidget* rows[3];
    for (int r = 0; r < 3; ++r) {
        ASSERT_NE(frame.splitter.GetPane(r, 0), nullptr);
        rows[r] = frame.splitter.GetPane(r, 0)->widget();
    }
    EXPECT_EQ(rows[0]->height(), 40);
    EXPECT_EQ(rows[1]->height(), 194);
    EXPECT_EQ(rows[1]->y(), rows[0]->y() + 40);  // no bar, no gap
    EXPECT_EQ(rows[2]->y(), rows[1]->y() + 194);
    EXPECT_EQ(rows[0]->y(), 0);
    EXPECT_EQ(frame.GetActiveView(), frame.splitter.GetPane(1, 0));

    auto* prompt = dynamic_cast<CPromptPanel*>(frame.splitter.GetPane(0, 0));
    ASSERT_NE(prompt, nullptr);
    prompt->SetPrompt("Solve for which variable?");
    EXPECT_EQ(prompt->GetPrompt(), "Solve for which variable?");
    ASSERT_NE(prompt->GetDlgItem(CPromptPanel::IDC_PROMPT), nullptr);

    // Drawing a splitter fills its rectangle with the button face.
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        CImageDC dc(image);
        frame.splitter.OnDrawSplitter(&dc, 0, CRect(2, 2, 12, 12));
    }
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(image.pixelColor(5, 5), QColor(GetRValue(face), GetGValue(face), GetBValue(face)));
    EXPECT_EQ(image.pixelColor(15, 15), QColor(Qt::black));
    CRect area(0, 0, 10, 10);
    frame.splitter.OnDrawSplitter(nullptr, 0, area);  // no context: only a repaint is asked for

    // The arrow, whatever the cursor was.
    QWidget* surface = frame.splitter.widget();
    surface->setCursor(Qt::SizeVerCursor);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), surface->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &move);
    EXPECT_EQ(surface->cursor().shape(), Qt::ArrowCursor);
    frame.DestroyWindow();
}
