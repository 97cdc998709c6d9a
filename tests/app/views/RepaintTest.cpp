// What the view repaints after an edit: the picture built up by repainting
// only the invalidated areas must equal a repaint of the whole window.
#include "ViewFixture.h"

#include <QWidget>

#include <functional>

#include "foundation/DrawContext.h"
#include "foundation/DrawTargetScope.h"

namespace {

class RepaintTest : public ViewTest {
protected:
    // Types one character at a time, letting the view repaint after each.
    void TypeAndPaint(const std::string& text)
    {
        for (char c : text) {
            Type(std::string(1, c));
            Paint();
        }
    }
    void Paint()
    {
        ProcessEvents();
        view->drawingWidget()->repaint();
    }
    void ExpectIncrementalEqualsWhole()
    {
        const QImage incremental = view->BackingImage().copy();
        QImage white(incremental.size(), incremental.format());
        white.fill(Qt::white);
        EXPECT_NE(incremental, white);
        view->InvalidateArea(nullptr);
        Paint();
        EXPECT_EQ(incremental, view->BackingImage());
    }
};

TEST_F(RepaintTest, TypingIntoACentredLineRepaintsTheWholeMovedLine)
{
    Command(32701);  // title
    Paint();
    TypeAndPaint("Quorvant at work");
    ExpectIncrementalEqualsWhole();
}

TEST_F(RepaintTest, DeletingTheLastWordErasesIt)
{
    TypeAndPaint("first second");
    for (int i = 0; i < 7; ++i) {
        Key(0x08, 8);
        Paint();
    }
    ExpectIncrementalEqualsWhole();
}

TEST_F(RepaintTest, TypingIntoAFractionOfACentredEquation)
{
    Command(32706);  // plain equation
    Command(32850);  // fraction
    Paint();
    TypeAndPaint("12");
    Key(0x09, 9);
    Paint();
    TypeAndPaint("345");
    ExpectIncrementalEqualsWhole();
}

// A matrix put into the last line of a long equation, where it is the
// tallest item: the top strokes of its brackets, a pixel above its box, are
// repainted with it.
TEST_F(RepaintTest, AMatrixPutIntoALineOfAnEquationIsRepaintedWhole)
{
    Command(32706);  // plain equation
    std::string terms = "y = 1";
    for (int i = 2; i < 40; ++i)
        terms += " + " + std::to_string(i) + " x";
    Type(terms);
    Paint();
    PutCaret(1, Row(1)->GetCount() - 3);
    Paint();
    OnDialog([](CDialog& dialog) {
        dialog.SetDlgItemInt(1000, 3);
        dialog.SetDlgItemInt(1001, 2);
        dialog.PressButton(IDOK);
    });
    Command(32862);  // matrix
    Paint();
    ExpectIncrementalEqualsWhole();
}

// A line wider than the page moved down, moved by a paragraph put above it,
// or joined to the line above while another keeps the view as wide: the
// repainted areas reach past the page's edge as far as it did.
TEST_F(RepaintTest, ALineWiderThanThePageIsRepaintedWholeWhereverItGoes)
{
    std::string digits;
    for (int i = 1; i <= 91; ++i)
        digits += char('0' + i % 10);
    const auto twoLines = [&] {
        TypeAndPaint("1");
        Key(VK_RETURN, 13);
        TypeAndPaint(digits);
    };
    const struct {
        const char* edit;
        std::function<void()> run;
    } rows[] = {
        {"Home, Return", [&] { TypeAndPaint(digits), Key(VK_HOME), Paint(), Key(VK_RETURN, 13); }},
        {"Return above it", [&] { twoLines(), PutCaret(1, 2), Paint(), Key(VK_RETURN, 13); }},
        {"the last of two joined to the line above",
         [&] { TypeAndPaint(digits), Key(VK_RETURN, 13), twoLines(), PutCaret(3, 1), Paint(), Key(VK_BACK, 8); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.edit);
        Command(CBaseView::ID_EDIT_SELECT_ALL_ITEMS);
        Key(VK_BACK, 8);
        Paint();
        row.run();
        Paint();
        ExpectIncrementalEqualsWhole();
    }
}

} // namespace

// A word wider than the line overflows the page's edge: the view reaches past
// the edge, scrolls to the caret typed there, and shows the characters and
// the caret instead of cutting them at the edge.
TEST_F(RepaintTest, AWordWiderThanTheLineShowsPastThePageEdgeWithItsCaret)
{
    Paint();
    int pageWidth = 0;
    {
        DrawTargetScope draw(view);
        pageWidth = gDrawContext.GetPageWidth();
    }
    EXPECT_EQ(view->GetTotalSize().cx, pageWidth);
    TypeAndPaint(std::string(90, 'W'));
    Rect ink;
    Paragraphs().GetAt(1)->GetAbsInkBounds(ink);
    ASSERT_GT(ink.right, pageWidth + 100) << "the word does not overflow the line";
    EXPECT_GT(view->GetTotalSize().cx, ink.right);
    // The caret after the last character is scrolled into sight.
    const Rect visible = view->GetVisibleRect();
    EXPECT_GT(visible.right, ink.right);
    EXPECT_LT(visible.left, ink.right);
    ExpectIncrementalEqualsWhole();
    // Ink right of the page's edge, up to the word's end.
    const QImage shown = view->BackingImage();
    int inkPast = 0;
    for (int x = std::max(pageWidth, int(visible.left)) - visible.left; x < ink.right - visible.left; ++x)
        for (int y = 0; y < shown.height(); ++y)
            inkPast += qGray(shown.pixel(x, y)) < 128;
    EXPECT_GT(inkPast, 50) << "nothing drawn past the page's edge";
}
