// What the view repaints after an edit: the picture built up by repainting
// only the invalidated areas must equal a repaint of the whole window.
#include "ViewFixture.h"

#include <QWidget>

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

} // namespace
