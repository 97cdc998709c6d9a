// Where a click puts the caret, and where the caret is drawn: right of a line
// the caret goes after the line's last item (after a number that overflows
// the page, after a structure that ends a formula), and it is drawn where
// the next typed character goes.
#include "ViewFixture.h"

#include "app/ElementCommands.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/SelectionHighlight.h"

#include <string>

namespace {

class ClickPlacementTest : public ViewTest {
protected:
    struct Landing {
        DocPosition position;
        Rect caret;
    };

    // Clicks at a point; answers the caret the view shows and its drawn box.
    Landing ClickAt(const IntPoint& point)
    {
        Click(point);
        Landing landing{view->GetSelection().GetEnd(), {}};
        EXPECT_FALSE(view->GetSelection().HasExtent());
        view->GetHighlight().GetCaretRegion().GetBox(landing.caret);
        return landing;
    }

    // The drawn box of component i of the first paragraph's row.
    Rect ItemBox(int i)
    {
        DrawTargetScope draw(view);
        Rect box;
        Row(1)->GetItemRect(i, box);
        return box;
    }

    int PageRight()
    {
        DrawTargetScope draw(view);
        return gDrawContext.GetPageWidth();
    }

    // "y = " and a 91-digit number in the new document's equation: the
    // number, too wide for a line, stands on a second line of its own and
    // overflows the page.
    void TypeLongResult()
    {
        std::string number = "2";
        while (number.size() < 91)
            number += char('0' + number.size() % 10);
        Type("y = " + number);
    }

    static constexpr int kNumberStart = 5;
    static constexpr int kNumberEnd = kNumberStart + 91;
};

int MiddleY(const Rect& r)
{
    return (r.top + r.bottom) / 2;
}

TEST_F(ClickPlacementTest, AClickRightOfANumberThatOverflowsThePageGoesAfterIt)
{
    TypeLongResult();
    ASSERT_EQ(Row(1)->GetCount() + 1, kNumberEnd);
    const Rect last = ItemBox(kNumberEnd - 1);
    ASSERT_GT(last.right, PageRight()) << "the number does not overflow the page";
    ASSERT_GT(last.top, ItemBox(1).top) << "the number does not stand on a line of its own";

    const Landing landing = ClickAt(IntPoint(last.right + 30, MiddleY(last)));
    EXPECT_EQ(landing.position.GetList(), Row(1));
    EXPECT_EQ(landing.position.GetIndex(), kNumberEnd) << "the caret went into the number";
    EXPECT_EQ(landing.caret.left, last.right);
    // A click inside the overflowing part still lands where it points.
    const Rect digit = ItemBox(kNumberEnd - 3);
    EXPECT_EQ(ClickAt(IntPoint(digit.left + 1, MiddleY(digit))).position.GetIndex(), kNumberEnd - 3);
    Type("Z");
    EXPECT_EQ(Text(1).substr(size_t(kNumberEnd - 4), 2), "Z8");
}

// A click right of the fraction that ends a formula, level with its
// numerator, its bar or its denominator, goes after the fraction.
TEST_F(ClickPlacementTest, AClickRightOfAFractionEndingAFormulaGoesAfterIt)
{
    Type("y=");
    Command(ID_ELEMENT_FRACTION);
    Type("1");
    Key(VK_TAB, 9);
    Type("x");
    Key(VK_TAB, 9);
    const int after = Row(1)->GetCount() + 1;
    Rect fraction;
    Row(1)->GetAt(after - 1)->GetAbsBounds(fraction);
    for (int y : {fraction.top + 2, MiddleY(fraction), fraction.bottom - 2}) {
        for (int x : {fraction.right + 20, PageRight() + 20}) {
            SCOPED_TRACE("click at (" + std::to_string(x) + ", " + std::to_string(y) + ")");
            const Landing landing = ClickAt(IntPoint(x, y));
            EXPECT_EQ(landing.position.GetList(), Row(1)) << "the caret went into the fraction";
            EXPECT_EQ(landing.position.GetIndex(), after);
            EXPECT_EQ(landing.caret.left, fraction.right);
        }
    }
    Type("+");
    EXPECT_EQ(Text(1), "y=#+");
}

// A click right of the first line of a result that wraps puts the caret
// after that line's text ("y ="), and the caret is drawn there, where the
// next character goes, not at the page's right edge.
TEST_F(ClickPlacementTest, TheCaretAtTheEndOfAWrappedLineIsDrawnWhereTypingGoes)
{
    TypeLongResult();
    const Rect equals = ItemBox(3);
    ASSERT_LT(equals.bottom, ItemBox(kNumberStart).bottom) << "the result does not wrap";
    for (int x : {equals.right + 40, PageRight() - 5, PageRight() + 40}) {
        SCOPED_TRACE("click at x " + std::to_string(x));
        const Landing landing = ClickAt(IntPoint(x, MiddleY(equals)));
        EXPECT_EQ(landing.position.GetIndex(), 4);
        EXPECT_EQ(landing.caret.left, equals.right) << "the caret is drawn apart from where typing goes";
    }
    Type("Q");
    EXPECT_EQ(Text(1).substr(0, 5), "y =Q ");
    Rect caret;
    view->GetHighlight().GetCaretRegion().GetBox(caret);
    EXPECT_EQ(caret.left, ItemBox(4).right) << "the caret is not drawn after the typed character";
}

} // namespace
