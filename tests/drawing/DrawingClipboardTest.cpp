// Copy and paste of items inside drawings selected as whole objects: what
// the copy takes, what the paste adds within a drawing and between
// drawings, and an undo that takes out exactly what was pasted.
#include "DrawingTestSupport.h"

#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/LineConstraints.h"
#include "drawing/SidedShape.h"
#include "drawing/TPasteDrawingAction.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DocClipboard.h"
#include "foundation/TCopyAction.h"
#include "support/FakeClipboard.h"

#include <memory>

namespace {

class DrawingClipboardTest : public DrawingTest {
protected:
    DrawingClipboardTest() : first(new DiagramComp), second(new DiagramComp), list(ListOf(first))
    {
        // The triangle's base is held horizontal; a free label shows its
        // first corner's x.
        triangle = new TriangleShape(new VertexShape(0, 0), new VertexShape(4, 0), new VertexShape(2, 3));
        first->AddShape(triangle);
        first->AddConstraint(new HorizontalConstraint(triangle->GetVertex(0), triangle->GetVertex(1)));
        auto* row = new CompList;
        row->Append(new DrawValueComp(triangle->GetVertex(0)->GetXVar()));
        label = new DrawLabel(first, DPoint(1, 1), DPoint(0, 0), true, row);
        first->AddLabel(label);
        auto row2 = std::make_unique<CompArray>();
        row2->Append(second);
        list->Append(new ParagraphComp(std::move(row2), 3));
    }

    // Copies what the drawing has selected.
    void Copy(DiagramComp* drawing)
    {
        TCopyAction copy(DocSelection::SelectObject(drawing), &clipboard);
        copy.Perform();
        copy.Commit();
    }

    FakeClipboard platform;
    DocClipboard clipboard;
    DiagramComp* first;
    DiagramComp* second;
    ListPtr list;
    TriangleShape* triangle = nullptr;
    DrawLabel* label = nullptr;
};

TEST_F(DrawingClipboardTest, CopyAndPasteAreOfferedForTheItemsOfAWholeDrawing)
{
    const DocSelection whole = DocSelection::SelectObject(first);
    EXPECT_FALSE(whole.HasExtent()) << "nothing inside is selected";
    first->SelectShape(triangle, false);
    EXPECT_TRUE(whole.HasExtent());
    Copy(first);
    DocSelection content = clipboard.GetContentCopy();
    EXPECT_TRUE(content.CanInsertAt(DocSelection::SelectObject(second).First()));
    EXPECT_TRUE(content.CanInsertAt(whole.First()));
    // Text on the clipboard does not go into a drawing.
    ClipboardData text;
    text.text = "words";
    platform.SimulateOtherProgram(text);
    EXPECT_FALSE(clipboard.GetContentCopy().CanInsertAt(whole.First()));
}

TEST_F(DrawingClipboardTest, APasteWithinTheDrawingAddsSelectedCopiesAndUndoTakesOutExactlyThem)
{
    first->SelectShape(triangle, false);
    label->Select();
    Copy(first);
    auto paste = std::make_unique<TPasteDrawingAction>(first, &clipboard);
    paste->Perform();
    ASSERT_EQ(first->GetShapes().GetCount(), 2);
    DiagramShape* pasted = first->GetShapes().GetAt(1);
    EXPECT_NE(pasted, triangle);
    EXPECT_EQ(first->GetSelectedShapes().GetCount(), 1);
    EXPECT_EQ(first->GetSelectedShapes().GetAt(0), pasted);
    EXPECT_EQ(first->GetConstraints().GetCount(), 2) << "the constraint of the copied corners came along";
    EXPECT_EQ(first->GetLabels().GetCount(), 2);
    // The pasted label shows the pasted corner, not the original one.
    auto* copiedDisplay = dynamic_cast<DrawValueComp*>(first->GetLabels().GetAt(1)->GetText()->GetAt(1));
    ASSERT_NE(copiedDisplay, nullptr);
    EXPECT_EQ(copiedDisplay->GetVariable(), static_cast<TriangleShape*>(pasted)->GetVertex(0)->GetXVar());
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(static_cast<TriangleShape*>(pasted)->GetVertex(i), triangle->GetVertex(i)) << i;
    EXPECT_EQ(OwnershipFaults({first}), "");

    // The user selects the original before undoing: undo still takes the copy.
    first->SelectShape(triangle, false);
    paste->Revert();
    ASSERT_EQ(first->GetShapes().GetCount(), 1);
    EXPECT_EQ(first->GetShapes().GetAt(0), triangle);
    EXPECT_EQ(first->GetConstraints().GetCount(), 1);
    ASSERT_EQ(first->GetLabels().GetCount(), 1);
    EXPECT_EQ(first->GetLabels().GetAt(0), label);
    EXPECT_EQ(OwnershipFaults({first}), "");
    paste->Redo();
    EXPECT_EQ(first->GetShapes().GetCount(), 2);
    EXPECT_EQ(first->GetShapes().GetAt(1), pasted) << "redo puts back the same items";
    paste->Revert();
    paste->Commit();
    paste.reset();
    EXPECT_EQ(first->GetShapes().GetCount(), 1);
    EXPECT_EQ(OwnershipFaults({first}), "");
}

TEST_F(DrawingClipboardTest, APasteIntoAnotherDrawingLeavesTheSourceAndTwoPastesGiveTwoCopies)
{
    first->SelectShape(triangle, false);
    Copy(first);
    for (int pastes = 1; pastes <= 2; ++pastes) {
        TPasteDrawingAction paste(second, &clipboard);
        paste.Perform();
        paste.Commit();
        EXPECT_EQ(second->GetShapes().GetCount(), pastes);
        EXPECT_EQ(second->GetConstraints().GetCount(), pastes);
    }
    EXPECT_NE(second->GetShapes().GetAt(0), second->GetShapes().GetAt(1));
    EXPECT_EQ(first->GetShapes().GetCount(), 1);
    EXPECT_EQ(OwnershipFaults({first}), "");
    EXPECT_EQ(OwnershipFaults({second}), "");

    // Text on the clipboard pastes nothing into a drawing, and undo has
    // nothing to take.
    ClipboardData text;
    text.text = "words";
    platform.SimulateOtherProgram(text);
    TPasteDrawingAction none(second, &clipboard);
    none.Perform();
    EXPECT_EQ(second->GetShapes().GetCount(), 2);
    none.Revert();
    EXPECT_EQ(second->GetShapes().GetCount(), 2);
}

} // namespace
