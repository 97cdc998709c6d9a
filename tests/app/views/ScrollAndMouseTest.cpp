// What the view shows: the backing image after typing, scrolling a selection
// into sight, clicks and double clicks, and scroll sizes.
#include "ViewFixture.h"

#include <QImage>

#include "app/CCorvellDoc.h"

#include "foundation/CompList.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextComp.h"
#include "math/HyperlinkComp.h"

namespace {

class ScrollTest : public ViewTest {
protected:
    void FillDocument(int paragraphs)
    {
        Command(32701 + 3);
        for (int i = 0; i < paragraphs; ++i) {
            Type("word");
            if (i + 1 < paragraphs)
                Key(VK_RETURN, 13);
        }
    }
    Rect Bounds(const DocSelection& selection)
    {
        Rect r;
        selection.GetBounds(r);
        return r;
    }
    DocSelection CaretIn(int paragraph, int index)
    {
        DocPosition at(Paragraphs().GetAt(paragraph)->GetRow(), index);
        return DocSelection(at, at);
    }
    int ScrollY() { return view->GetScrollPosition().y; }
};

// Counts the pixels of the image that are not white in a rectangle.
int InkIn(const QImage& image, const QRect& area)
{
    int ink = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                ++ink;
    return ink;
}

TEST_F(ScrollTest, TypedTextAppearsOnTheBackingImage)
{
    Command(32701 + 3);
    view->drawingWidget()->repaint();
    Rect line;
    Paragraphs().GetAt(1)->GetAbsBounds(line);
    const QRect area(line.left, line.top, 300, line.Height());
    const int before = InkIn(view->BackingImage(), area);
    Type("Typed text");
    view->drawingWidget()->repaint();
    EXPECT_GT(InkIn(view->BackingImage(), area), before + 50);
    view->BackingImage().save(QString::fromStdString(OutputPath("view.png")));
}

TEST_F(ScrollTest, SelectionBelowScrollsItsBottomToTheWindowsBottom)
{
    FillDocument(80);
    view->ScrollToPosition(CPoint(0, 0));
    DocSelection far = CaretIn(60, 1);
    const Rect s = Bounds(far);
    ASSERT_GT(s.bottom, view->GetVisibleRect().bottom);
    view->ScrollToShow(far);
    const Rect v = view->GetVisibleRect();
    EXPECT_EQ(ScrollY(), s.bottom - v.Height());
    EXPECT_EQ(v.bottom, s.bottom);
}

TEST_F(ScrollTest, VisibleSelectionDoesNotScroll)
{
    FillDocument(80);
    view->ScrollToPosition(CPoint(0, 300));
    const int y = ScrollY();
    const int visibleParagraph = Paragraphs().FindIndexAtY(y + 100);
    view->ScrollToShow(CaretIn(visibleParagraph, 2));
    EXPECT_EQ(ScrollY(), y);
}

TEST_F(ScrollTest, SelectionAboveScrollsItsTopToTheWindowsTop)
{
    FillDocument(80);
    view->ScrollToPosition(CPoint(0, 900));
    DocSelection near = CaretIn(2, 1);
    const Rect s = Bounds(near);
    ASSERT_LT(s.top, view->GetVisibleRect().top);
    view->ScrollToShow(near);
    EXPECT_EQ(ScrollY(), s.top);
}

TEST_F(ScrollTest, PageDownScrollsByAPage)
{
    FillDocument(80);
    view->ScrollToPosition(CPoint(0, 0));
    Key(VK_NEXT);
    EXPECT_GT(ScrollY(), view->GetVisibleRect().Height() / 2);
    Key(VK_PRIOR);
    EXPECT_EQ(ScrollY(), 0);
}

TEST_F(ScrollTest, ClickPutsTheCaretAndTypingGoesThere)
{
    FillDocument(3);
    Rect second;
    Paragraphs().GetAt(2)->GetAbsBounds(second);
    Click(IntPoint(second.left + 1, (second.top + second.bottom) / 2));
    DocSelection caret = view->GetSelection();
    EXPECT_FALSE(caret.HasExtent());
    EXPECT_EQ(caret.GetEnd().GetParagraphComp(), Paragraphs().GetAt(2));
    EXPECT_EQ(caret.GetEnd().GetIndex(), 1);
    Type("X");
    EXPECT_EQ(Text(2), "Xword");
}

TEST_F(ScrollTest, ArrowKeysMoveTheCaretAndShiftExtends)
{
    FillDocument(1);
    PutCaret(1, 1);
    Key(VK_RIGHT);
    EXPECT_EQ(view->GetSelection().GetEnd().GetIndex(), 2);
    Key(VK_SHIFT, -1, Qt::ShiftModifier);
    Key(VK_RIGHT, -1, Qt::ShiftModifier);
    DocSelection range = view->GetSelection();
    EXPECT_EQ(range.GetStart().GetIndex(), 2);
    EXPECT_EQ(range.GetEnd().GetIndex(), 3);
    Key(VK_END);
    EXPECT_EQ(view->GetSelection().GetEnd().GetIndex(), 5);
    // Moving the caret does not mark the document.
    Doc()->SetModifiedFlag(FALSE);
    Key(VK_HOME);
    EXPECT_EQ(view->GetSelection().GetEnd().GetIndex(), 1);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(ScrollTest, DoubleClickSelectsTheWord)
{
    Command(32701 + 3);
    Type("alpha beta");
    Rect line;
    Paragraphs().GetAt(1)->GetAbsBounds(line);
    // Somewhere in "beta".
    const IntPoint at(line.left + 60, (line.top + line.bottom) / 2);
    Click(at);
    const CPoint scroll = view->GetScrollPosition();
    QWidget* surface = view->drawingWidget();
    const QPointF local(at.x - scroll.x, at.y - scroll.y);
    QMouseEvent twice(QEvent::MouseButtonDblClick, local, surface->mapToGlobal(local), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(surface, &twice);
    MouseUp(at);
    DocSelection word = view->GetSelection();
    EXPECT_TRUE(word.HasExtent());
    Str255 text;
    word.GetText(text);
    EXPECT_EQ(std::string(text.GetPtrAt(0), size_t(text.GetLength())), "beta");
}

TEST_F(ScrollTest, CtrlClickOnALinkEditsIt)
{
    Command(32701 + 3);
    CDialog::ModalHook old = CDialog::SetModalHook([](CDialog& dialog) {
        dialog.SetDlgItemText(1097, "https://example.org/");
        dialog.SetDlgItemText(1098, "site");
        dialog.PressButton(IDOK);
    });
    Command(32870);
    ASSERT_EQ(Paragraphs().GetAt(1)->GetRow()->GetCount(), 1);
    auto* link = dynamic_cast<HyperlinkComp*>(Paragraphs().GetAt(1)->GetRow()->GetAt(1));
    ASSERT_NE(link, nullptr);
    Rect box;
    link->GetAbsBounds(box);
    CDialog::SetModalHook([](CDialog& dialog) {
        dialog.SetDlgItemText(1098, "the site");
        dialog.PressButton(IDOK);
    });
    Doc()->SetModifiedFlag(FALSE);
    Click(IntPoint((box.left + box.right) / 2, (box.top + box.bottom) / 2), MK_CONTROL);
    CDialog::SetModalHook(old);
    EXPECT_EQ(std::string(link->GetDisplayText().GetPtrAt(0), size_t(link->GetDisplayText().GetLength())),
              "the site");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(view->GetTracker(), nullptr);
}

} // namespace
