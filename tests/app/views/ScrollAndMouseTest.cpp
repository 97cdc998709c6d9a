// Scrolling a selection into sight, and what clicks, double clicks, caret
// keys, hovering and Ctrl+clicks on a link do.
#include "ViewFixture.h"

#include <QCursor>

#include "app/CCorvellDoc.h"
#include "app/ElementCommands.h"
#include "foundation/SelectionHighlight.h"
#include "foundation/CompList.h"
#include "foundation/DrawTargetScope.h"
#include "drawing/DiagramComp.h"
#include "drawing/DiagramShape.h"
#include "math/HyperlinkComp.h"

namespace {

IntPoint MiddleOf(const Rect& r) { return IntPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
std::string Chars(const Str255& s) { return std::string(s.GetPtrAt(0), size_t(s.GetLength())); }

TEST_F(ViewTest, ScrollingShowsTheSelectionWithTheLeastMove)
{
    Fill(80, "word");
    auto caretIn = [&](int paragraph) { return DocSelection(Row(paragraph), 1, 1); };
    Rect below, above;
    caretIn(60).GetBounds(below);
    caretIn(2).GetBounds(above);
    view->ScrollToPosition(CPoint(0, 0));
    ASSERT_GT(below.bottom, view->GetVisibleRect().bottom);
    view->ScrollToShow(caretIn(60));  // its bottom to the window's bottom
    EXPECT_EQ(view->GetVisibleRect().bottom, below.bottom);
    const int y = view->GetScrollPosition().y;
    view->ScrollToShow(caretIn(Paragraphs().FindIndexAtY(y + 100)));
    EXPECT_EQ(view->GetScrollPosition().y, y);  // already visible
    ASSERT_LT(above.top, view->GetVisibleRect().top);
    view->ScrollToShow(caretIn(2));  // its top to the window's top
    EXPECT_EQ(view->GetScrollPosition().y, above.top);
    Key(VK_NEXT);
    EXPECT_GT(view->GetScrollPosition().y, above.top + view->GetVisibleRect().Height() / 2);
    Key(VK_PRIOR);
    EXPECT_EQ(view->GetScrollPosition().y, above.top);
}

TEST_F(ViewTest, ClicksAndCaretKeysSelectWithoutMarkingTheDocument)
{
    Fill(3, "word");
    Doc()->SetModifiedFlag(FALSE);
    Rect second;
    Paragraphs().GetAt(2)->GetAbsBounds(second);
    Click(IntPoint(second.left + 1, MiddleOf(second).y));
    EXPECT_FALSE(view->GetSelection().HasExtent());
    EXPECT_EQ(view->GetSelection().GetEnd().GetParagraphComp(), Paragraphs().GetAt(2));
    EXPECT_EQ(view->GetSelection().GetEnd().GetIndex(), 1);
    Key(VK_RIGHT);
    Key(VK_SHIFT, -1, Qt::ShiftModifier);
    Key(VK_RIGHT, -1, Qt::ShiftModifier);
    EXPECT_EQ(view->GetSelection().GetStart().GetIndex(), 2);
    EXPECT_EQ(view->GetSelection().GetEnd().GetIndex(), 3);
    Key(VK_END);
    EXPECT_EQ(view->GetSelection().GetEnd().GetIndex(), 5);
    Key(VK_HOME);
    EXPECT_EQ(view->GetSelection().GetEnd().GetIndex(), 1);
    EXPECT_FALSE(Doc()->IsModified());
    Type("X ");
    EXPECT_EQ(Text(2), "X word");

    const IntPoint inWord(second.left + 30, MiddleOf(second).y);
    Click(inWord);
    Mouse(QEvent::MouseButtonDblClick, inWord);
    Mouse(QEvent::MouseButtonRelease, inWord);
    Str255 selected;
    view->GetSelection().GetText(selected);
    EXPECT_EQ(Chars(selected), "word");
}

TEST_F(ViewTest, ALinkShowsItsTargetWhenHoveredAndCtrlClickEditsIt)
{
    Command(32701 + 3);
    OnDialog([](CDialog& dialog) {
        dialog.SetDlgItemText(1097, "https://example.org/");
        dialog.SetDlgItemText(1098, "site");
        dialog.PressButton(IDOK);
    });
    Command(32870);
    auto* link = dynamic_cast<HyperlinkComp*>(Row(1)->GetAt(1));
    ASSERT_NE(link, nullptr);
    Rect box;
    link->GetAbsBounds(box);
    OnDialog([](CDialog& dialog) {
        dialog.SetDlgItemText(1098, "the site");
        dialog.PressButton(IDOK);
    });
    const IntPoint middle = MiddleOf(box);
    QCursor::setPos(view->drawingWidget()->mapToGlobal(
        QPoint(middle.x - view->GetScrollPosition().x, middle.y - view->GetScrollPosition().y)));
    Mouse(QEvent::MouseMove, middle);
    EXPECT_EQ(ui.LastStatus(), "https://example.org/");
    Doc()->SetModifiedFlag(FALSE);
    Click(middle, MK_CONTROL);
    EXPECT_EQ(Chars(link->GetDisplayText()), "the site");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(view->GetTracker(), nullptr);
}

} // namespace

namespace {

Rect CaretOf(const DocSelection& selection)
{
    Rect caret;
    selection.GetStart().GetCaretRect(caret);
    return caret;
}

}  // namespace

// The caret stands where the next character goes: after a structure that
// ends an equation (not at the right margin), after an itemized paragraph's
// bullet and at the centre of an empty equation; an empty slot of a new
// structure is framed, so that the active slot shows.
TEST_F(ViewTest, TheCaretStandsWhereTheNextCharacterGoes)
{
    DrawTargetScope draw(view);
    const Rect emptyEquation = CaretOf(view->GetSelection());
    Type("x");
    Key(VK_HOME);
    Rect x;
    Row(1)->GetItemRect(1, x);
    EXPECT_NEAR(emptyEquation.left, (x.left + x.right) / 2, 1) << "an empty equation's caret is not centred";

    Key(VK_END);
    Command(ID_ELEMENT_FRACTION);
    const Rect numerator = view->GetSelection().GetStart().GetList()->GetAbsRect();
    Rect frame;
    view->GetHighlight().GetExtraRegion().GetBox(frame);
    EXPECT_EQ(frame, numerator) << "the empty numerator is not framed";
    Type("1");
    EXPECT_TRUE(view->GetHighlight().GetExtraRegion().IsEmpty());
    Key(VK_TAB, 9);
    Type("2");
    Key(VK_TAB, 9);
    Rect fraction;
    Row(1)->GetAt(Row(1)->GetCount())->GetAbsBounds(fraction);
    EXPECT_EQ(CaretOf(view->GetSelection()).left, fraction.right) << "the caret is not just after the fraction";

    Key(VK_RETURN, 13);
    Command(32701 + 8);  // itemized
    const Rect emptyItem = CaretOf(view->GetSelection());
    Type("y");
    Row(2)->GetItemRect(1, x);
    EXPECT_EQ(emptyItem.left, x.left) << "an empty item's caret is not after its bullet";
}

// Ctrl+Home shows the document from its very top, title included.
TEST_F(ViewTest, CtrlHomeScrollsToTheTopOfTheDocument)
{
    Fill(80, "word");
    Key(VK_HOME, -1, Qt::ControlModifier);
    Command(32701);  // the first paragraph becomes a title
    Key(VK_END, -1, Qt::ControlModifier);
    ASSERT_GT(view->GetScrollPosition().y, 0);
    Key(VK_HOME, -1, Qt::ControlModifier);
    EXPECT_EQ(view->GetScrollPosition().y, 0);
}

// A press in the drawing being edited goes to its current tool (the first
// press selects the drawing for editing): a pencil click adds a vertex
// through the view's undo, and Ctrl-clicking the vertex selects it.
TEST_F(ViewTest, APencilClickInADrawingAddsAVertexThatUndoRemoves)
{
    auto* drawing = new DiagramComp;
    Row(1)->Append(drawing);
    view->UpdateLayoutFrom(1, 1);
    Rect box;
    drawing->GetAbsBounds(box);
    ASSERT_GT(box.right - box.left, 10);
    drawing->SetTool(drawing::ToolKind::Pencil);
    const IntPoint middle = MiddleOf(box);
    Click(middle);
    EXPECT_EQ(view->GetSelection().GetKind(), DocPosition::kWholeObject);
    EXPECT_TRUE(drawing->GetShapes().IsEmpty());
    Click(middle);
    EXPECT_EQ(view->GetTracker(), nullptr);
    ASSERT_EQ(drawing->GetShapes().GetCount(), 1);
    EXPECT_TRUE(drawing->GetShapes().GetAt(0)->IsVertexShape());
    Click(middle, MK_CONTROL);
    EXPECT_EQ(drawing->GetSelectedShapes().GetCount(), 1);
    Command(ID_EDIT_UNDO);
    EXPECT_TRUE(drawing->GetShapes().IsEmpty());
}

// Drawing Properties..., Hide Constraints and Hide Vertices act on a
// selected drawing; with the caret outside it they are disabled.
TEST_F(ViewTest, DrawingCommandsAreEnabledOnlyOnASelectedDrawing)
{
    auto* drawing = new DiagramComp;
    Row(1)->Append(drawing);
    view->UpdateLayoutFrom(1, 1);
    Rect box;
    drawing->GetAbsBounds(box);
    Click(MiddleOf(box));
    ASSERT_EQ(view->GetSelection().GetKind(), DocPosition::kWholeObject);
    constexpr UINT kHideConstraints = 34100, kHideVertices = 34102, kProperties = 34110;
    for (UINT id : {kHideConstraints, kHideVertices, kProperties})
        EXPECT_TRUE(Update(id).enabled) << id;
    view->SetSelection(DocSelection(Row(1), 1, 1), true);
    for (UINT id : {kHideConstraints, kHideVertices, kProperties})
        EXPECT_FALSE(Update(id).enabled) << id;
}
