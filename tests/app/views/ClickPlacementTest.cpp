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
#include "math/HyperlinkComp.h"
#include "platform/framework/DesktopIntegration.h"
#include "support/ScopedInstall.h"

#include <string>
#include <vector>

namespace {

class ClickPlacementTest : public ViewTest {
protected:
    // The drawn box of component i of paragraph p's row.
    Rect Box(int p, int i)
    {
        DrawTargetScope draw(view);
        Rect box;
        Row(p)->GetItemRect(i, box);
        return box;
    }
    Rect Caret()
    {
        Rect caret;
        view->GetHighlight().GetCaretRegion().GetBox(caret);
        return caret;
    }
};

int MiddleY(const Rect& r)
{
    return (r.top + r.bottom) / 2;
}

// Paragraph 1 is a result that wraps: "y =" on its first line, a 91-digit
// number too wide for a line on its second, overflowing the page. Paragraph
// 2 is a formula that ends with the fraction 1/x; in paragraph 3 the same
// fraction ends the first line of a result that wraps before the number.
TEST_F(ClickPlacementTest, AClickRightOfALineGoesAfterItAndTheCaretIsDrawnWhereTypingGoes)
{
    std::string number = "2";
    while (number.size() < 91)
        number += char('0' + number.size() % 10);
    Type("y = " + number);
    const int numberEnd = Row(1)->GetCount() + 1;
    Key(VK_RETURN, 13);
    auto typeFraction = [&] {
        Type("y=");
        Command(ID_ELEMENT_FRACTION);
        Type("1");
        Key(VK_TAB, 9);
        Type("x");
        Key(VK_TAB, 9);
    };
    typeFraction();
    Key(VK_RETURN, 13);
    typeFraction();
    Type(" " + number);
    int pageRight = 0;
    {
        DrawTargetScope draw(view);
        pageRight = gDrawContext.GetPageWidth();
    }
    const Rect equals = Box(1, 3), lastDigit = Box(1, numberEnd - 1), digit = Box(1, numberEnd - 3);
    ASSERT_GT(lastDigit.right, pageRight) << "the number does not overflow the page";
    ASSERT_LT(equals.bottom, lastDigit.bottom) << "the result does not wrap";
    Rect fraction, ending;
    Row(2)->GetAt(3)->GetAbsBounds(fraction);
    Row(3)->GetAt(3)->GetAbsBounds(ending);
    ASSERT_LE(ending.bottom, Box(3, 5).top) << "the line is not broken after the fraction";

    struct Case {
        const char* what;
        int paragraph;
        IntPoint point;
        int index;
        int caretLeft;
    };
    const std::vector<Case> cases = {
        {"right of the number", 1, {lastDigit.right + 30, MiddleY(lastDigit)}, numberEnd, lastDigit.right},
        {"on the number past the page", 1, {digit.left + 1, MiddleY(digit)}, numberEnd - 3, digit.left},
        {"right of the first line", 1, {equals.right + 40, MiddleY(equals)}, 4, equals.right},
        {"right of the first line, near the page's edge", 1, {pageRight - 5, MiddleY(equals)}, 4, equals.right},
        {"right of the first line, past the page", 1, {pageRight + 40, MiddleY(equals)}, 4, equals.right},
        {"right of the numerator", 2, {fraction.right + 20, fraction.top + 2}, 4, fraction.right},
        {"right of the bar", 2, {fraction.right + 20, MiddleY(fraction)}, 4, fraction.right},
        {"right of the denominator", 2, {fraction.right + 20, fraction.bottom - 2}, 4, fraction.right},
        {"right of the denominator, past the page", 2, {pageRight + 20, fraction.bottom - 2}, 4, fraction.right},
        {"right of a fraction that ends a line", 3, {ending.right + 20, MiddleY(ending)}, 4, ending.right},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Click(c.point);
        const DocPosition caret = view->GetSelection().GetEnd();
        EXPECT_FALSE(view->GetSelection().HasExtent());
        EXPECT_EQ(caret.GetList(), Row(c.paragraph)) << "the caret went inside";
        EXPECT_EQ(caret.GetIndex(), c.index);
        EXPECT_EQ(Caret().left, c.caretLeft) << "the caret is drawn apart from where typing goes";
    }

    // What is typed goes where the caret is drawn.
    Click({pageRight + 40, MiddleY(equals)});
    Type("Q");
    EXPECT_EQ(Text(1).substr(0, 5), "y =Q ");
    EXPECT_EQ(Caret().left, Box(1, 4).right);
    Click({fraction.right + 20, fraction.top + 2});
    Type("+");
    EXPECT_EQ(Text(2), "y=#+");
}

// A link is one piece that a click never enters: beside it, as on it, the
// click gives the place before it, also where it ends a line.
TEST_F(ClickPlacementTest, AClickRightOfALinkThatEndsALineGivesThePlaceBeforeIt)
{
    constexpr UINT kTextStyle = 32701 + 3;
    Command(kTextStyle);
    Type("see ");
    Row(1)->Append(new HyperlinkComp(Str255("https://example.org"), Str255("site"), true));
    view->Relayout();
    const int linkIndex = Row(1)->GetCount();
    Rect link;
    Row(1)->GetAt(linkIndex)->GetAbsBounds(link);
    ScopedInstall<DesktopIntegration::LinkOpener> opener(DesktopIntegration::SetLinkOpener,
                                                         [](const QString&) { return true; });
    Click({link.right + 30, MiddleY(link)});
    EXPECT_EQ(view->GetSelection().GetEnd().GetList(), Row(1));
    EXPECT_EQ(view->GetSelection().GetEnd().GetIndex(), linkIndex);
}

} // namespace
