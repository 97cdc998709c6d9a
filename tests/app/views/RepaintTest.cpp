// What the view repaints after an edit: the picture built up by repainting
// only the invalidated areas must equal a repaint of the whole window.
#include "ViewFixture.h"

#include <QWidget>

namespace {

constexpr UINT kTitleStyle = 32701;
constexpr UINT kPlainEquationStyle = 32706;
constexpr UINT kFraction = 32850;

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
    QImage Shown() { return view->BackingImage().copy(); }
    QImage Repainted()
    {
        view->InvalidateArea(nullptr);
        Paint();
        return Shown();
    }
};

TEST_F(RepaintTest, TypingIntoACentredLineRepaintsTheWholeMovedLine)
{
    Command(kTitleStyle);
    Paint();
    TypeAndPaint("Quorvant at work");
    QImage incremental = Shown();
    EXPECT_EQ(incremental, Repainted());
}

TEST_F(RepaintTest, DeletingTheLastWordErasesIt)
{
    TypeAndPaint("first second");
    for (int i = 0; i < 7; ++i) {
        Key(0x08, 8);
        Paint();
    }
    QImage incremental = Shown();
    EXPECT_EQ(incremental, Repainted());
}

TEST_F(RepaintTest, TypingIntoAFractionOfACentredEquation)
{
    Command(kPlainEquationStyle);
    Command(kFraction);
    Paint();
    TypeAndPaint("12");
    Key(0x09, 9);
    Paint();
    TypeAndPaint("345");
    QImage incremental = Shown();
    EXPECT_EQ(incremental, Repainted());
}

} // namespace
