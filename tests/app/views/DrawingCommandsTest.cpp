// The drawing commands of the document view: the drawing toolbar's makers,
// equation constraints, the Drawing menu, which drawing is being edited (and
// the bars shown for it), Backspace in a drawing, and a release that arrives
// while a drag step still runs.
#include "ViewFixture.h"

#include <QMouseEvent>

#include "app/CCorvellDoc.h"
#include "app/CMainFrame.h"
#include "app/DrawingCommands.h"
#include "app/ElementCommands.h"
#include "drawing/CircleShape.h"
#include "drawing/DiagramComp.h"
#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawingComponents.h"
#include "drawing/DrawingMakers.h"
#include "drawing/VertexShape.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/MouseTracker.h"
#include "foundation/TAction.h"

#include <cmath>
#include <vector>

namespace {

constexpr UINT kSegment = 34051, kCircle = 34052, kTextLabel = 34057, kParallel = 34058, kPerpendicular = 34059;
constexpr UINT kHideConstraints = 34100, kShowConstraints = 34101, kHideVertices = 34102, kShowVertices = 34103;
constexpr UINT kUpdate = 34104, kColor = 34105, kProperties = 34110, kToFront = 34111, kToBack = 34112;
constexpr UINT kEquation = 34124, kVariableValue = 34125;

IntPoint MiddleOf(const Rect& r) { return IntPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// A maker that refuses every selection with its own text.
class RefusingMaker : public DrawingMaker {
public:
    explicit RefusingMaker(std::string text) : m_text(std::move(text)) {}
    bool CanMake(const ItemArray<DiagramShape>&, const DiagramDC&) const override { return false; }
    TAction* Make(ActionView*, const ItemArray<DiagramShape>&, DiagramComp&, const DPoint&) const override
    {
        ADD_FAILURE() << "a refused maker was asked to make";
        return nullptr;
    }
    std::string GetErrorMessage() const override { return m_text; }

private:
    std::string m_text;
};

class DrawingViewTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        RegisterDrawingComponents();  // a cut drawing goes to the clipboard as a file would
        FillDrawingMakers();
        drawing = new DiagramComp;
        Row(1)->Append(drawing);
        view->UpdateLayoutFrom(1, 1);
        drawing->GetAbsBounds(box);
    }
    void TearDown() override
    {
        ViewTest::TearDown();
        ClearDrawingMakers();
    }
    // Selects the drawing as one object: it becomes the drawing being edited.
    void SelectDrawing() { view->SetSelection(DocSelection::SelectObject(drawing), true); }
    VertexShape* AddVertex(double x, double y)
    {
        auto* vertex = new VertexShape(x, y);
        drawing->AddShape(vertex);
        return vertex;
    }
    int CountShapes(bool (DiagramShape::*kind)() const) const
    {
        int count = 0;
        for (DiagramShape* shape : drawing->GetShapes())
            count += (shape->*kind)() ? 1 : 0;
        return count;
    }

    DiagramComp* drawing = nullptr;
    Rect box;
};

// ---- the toolbar ----

// Toolbar commands past Text label use the maker one place before their
// offset: each refusal shows that maker's own text, with no icon, and
// changes nothing. A command without a maker is disabled.
TEST_F(DrawingViewTest, ARefusingMakerShowsItsTextAndTheCommandAfterTextLabelUsesTheRightMaker)
{
    gDrawingMakers[7] = std::make_unique<RefusingMaker>("seventh");
    gDrawingMakers[8] = std::make_unique<RefusingMaker>("eighth");
    SelectDrawing();
    Command(kParallel);
    Command(kPerpendicular);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, "seventh");
    EXPECT_EQ(ui.boxes[1].text, "eighth");
    EXPECT_EQ(ui.boxes[1].type, MB_OK) << "the refusal has an icon";
    EXPECT_TRUE(drawing->GetShapes().IsEmpty());
    EXPECT_EQ(view->GetKeptAction(), nullptr);
    gDrawingMakers[7].reset();
    EXPECT_FALSE(Update(kParallel).enabled) << "a missing maker cannot act";
    EXPECT_TRUE(Update(kTextLabel).enabled) << "a text label needs no maker";
}

// A segment joins the two selected vertices; a circle made from nothing
// stands at the centre of the drawing's box, and so does a free label.
// Each is one undo step.
TEST_F(DrawingViewTest, MakersBuildFromTheSelectionOrAtTheCentreAndUndo)
{
    VertexShape* a = AddVertex(0, 0);
    VertexShape* b = AddVertex(1, 1);
    SelectDrawing();
    drawing->SelectShape(a, false);
    drawing->SelectShape(b, true);
    Command(kSegment);
    ASSERT_EQ(CountShapes(&DiagramShape::IsSegment), 1);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(CountShapes(&DiagramShape::IsSegment), 0);
    EXPECT_EQ(CountShapes(&DiagramShape::IsVertexShape), 2);

    drawing->DeselectAll(false);
    Command(kCircle);
    ASSERT_EQ(CountShapes(&DiagramShape::IsCircle), 1);
    const CircleShape* circle = nullptr;
    for (DiagramShape* shape : drawing->GetShapes())
        if (shape->IsCircle())
            circle = static_cast<const CircleShape*>(shape);
    DPoint topLeft, bottomRight;
    drawing->GetVisibleWorld(topLeft, bottomRight);
    EXPECT_NEAR(circle->GetCentre()->GetX(), (topLeft.x + bottomRight.x) / 2, 1e-9);
    EXPECT_NEAR(circle->GetCentre()->GetY(), (topLeft.y + bottomRight.y) / 2, 1e-9);
    EXPECT_TRUE(Doc()->IsModified());
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(CountShapes(&DiagramShape::IsCircle), 0);

    Command(kTextLabel);  // nothing selected: a free label
    ASSERT_EQ(drawing->GetLabels().GetCount(), 1);
    EXPECT_EQ(drawing->GetLabels().GetAt(0)->GetOwner(), nullptr);
}

// Make Equation Constraint adds an equation with an empty label and puts
// the caret into that label; undo takes it out again.
TEST_F(DrawingViewTest, AnEquationConstraintWaitsForItsEquationInItsLabel)
{
    SelectDrawing();
    EXPECT_TRUE(Update(kEquation).enabled);
    Command(kEquation);
    ASSERT_EQ(drawing->GetConstraints().GetCount(), 1);
    DrawConstraint* equation = drawing->GetConstraints().GetAt(0);
    ASSERT_NE(equation->GetLabel(), nullptr);
    EXPECT_EQ(equation->GetLabel()->GetText()->GetCount(), 0);
    const DocSelection caret = view->GetSelection();
    EXPECT_EQ(caret.GetKind(), DocPosition::kListPlace);
    EXPECT_EQ(caret.First().GetList(), equation->GetLabel()->GetText());
    EXPECT_EQ(view->GetEditedDrawing(), drawing) << "typing the equation still edits the drawing";
    EXPECT_FALSE(Update(ID_ELEMENT_DRAWING).enabled) << "a drawing inside a drawing's label";
    Command(ID_EDIT_UNDO);
    EXPECT_TRUE(drawing->GetConstraints().IsEmpty());

    // Redone, the caret is in the label again. Backspace there takes the
    // character before the caret, and nothing at the label's start.
    Command(ID_EDIT_UNDO);
    ASSERT_EQ(drawing->GetConstraints().GetCount(), 1);
    CompList* text = equation->GetLabel()->GetText();
    Type("ab");
    Key(VK_BACK, 8);
    EXPECT_EQ(text->GetCount(), 1);
    Key(VK_BACK, 8);
    Key(VK_BACK, 8);
    EXPECT_EQ(text->GetCount(), 0);
    EXPECT_EQ(drawing->GetConstraints().GetCount(), 1);
}

// ---- the Drawing menu ----

// The menu acts on a drawing selected as one object; colour and the
// stacking order also need selected shapes. The marks hidden and shown
// again change the document without an undo step.
TEST_F(DrawingViewTest, TheDrawingMenuActsOnASelectedDrawing)
{
    VertexShape* low = AddVertex(0, 0);
    VertexShape* high = AddVertex(1, 0);
    PutCaret(1, 1);
    for (UINT id : {kHideConstraints, kShowVertices, kUpdate, kProperties, kEquation, kVariableValue})
        EXPECT_FALSE(Update(id).enabled) << id;
    SelectDrawing();
    for (UINT id : {kHideConstraints, kShowConstraints, kHideVertices, kShowVertices, kUpdate, kProperties,
                    kEquation, kVariableValue})
        EXPECT_TRUE(Update(id).enabled) << id;
    for (UINT id : {kColor, kToFront, kToBack})
        EXPECT_FALSE(Update(id).enabled) << id << " without selected shapes";

    Doc()->SetModifiedFlag(FALSE);
    Command(kHideVertices);
    EXPECT_FALSE(low->IsVisible());
    EXPECT_TRUE(Doc()->IsModified());
    Command(kShowVertices);
    EXPECT_TRUE(low->IsVisible());

    drawing->SelectShape(low, false);
    for (UINT id : {kColor, kToFront, kToBack})
        EXPECT_TRUE(Update(id).enabled) << id;
    Command(kToFront);
    EXPECT_EQ(drawing->GetShapes().GetAt(drawing->GetShapes().GetCount() - 1), low);
    Command(kToBack);
    EXPECT_EQ(drawing->GetShapes().GetAt(0), low);
    EXPECT_EQ(drawing->GetShapes().GetAt(1), high);
    EXPECT_EQ(view->GetKeptAction(), nullptr) << "the display commands are not undoable";
}

// ---- the drawing being edited ----

// The first click on a drawing selects it and shows the drawing bars for
// it; the next click goes to its tool. Leaving the drawing hides the bars
// and ends its inner selection.
TEST_F(DrawingViewTest, AClickSelectsADrawingForEditingAndTheBarsFollowIt)
{
    drawing->SetTool(drawing::ToolKind::Pencil);
    Click(MiddleOf(box));
    EXPECT_EQ(view->GetSelection().GetKind(), DocPosition::kWholeObject);
    EXPECT_TRUE(drawing->GetShapes().IsEmpty()) << "the selecting click drew";
    EXPECT_EQ(frame->GetDrawing(), drawing);
    EXPECT_TRUE(drawing->IsActive());
    Click(MiddleOf(box));
    ASSERT_EQ(drawing->GetShapes().GetCount(), 1) << "a pencil click makes a vertex";

    drawing->SelectShape(drawing->GetShapes().GetAt(0), false);
    Type("ab");
    EXPECT_EQ(view->GetEditedDrawing(), drawing) << "a letter in a whole drawing changes nothing";
    PutCaret(1, 1);
    EXPECT_EQ(frame->GetDrawing(), nullptr);
    EXPECT_FALSE(drawing->IsActive());
    EXPECT_FALSE(drawing->HasSelection());
}

// Backspace and Cut on a whole drawing take its selected items out and
// nothing else; with nothing selected inside it, Backspace does nothing and
// Cut is disabled.
TEST_F(DrawingViewTest, BackspaceAndCutOnAWholeDrawingTakeOutItsSelectedItems)
{
    VertexShape* kept = AddVertex(0, 0);
    VertexShape* gone = AddVertex(1, 1);
    SelectDrawing();
    Key(VK_BACK, 8);
    EXPECT_EQ(drawing->GetShapes().GetCount(), 2);
    EXPECT_EQ(Row(1)->GetAt(1), drawing) << "Backspace took the drawing itself";
    EXPECT_FALSE(Update(ID_EDIT_CUT).enabled);
    for (bool cut : {false, true}) {
        drawing->SelectShape(gone, false);
        if (cut)
            Command(ID_EDIT_CUT);
        else
            Key(VK_BACK, 8);
        ASSERT_EQ(drawing->GetShapes().GetCount(), 1) << cut;
        EXPECT_EQ(drawing->GetShapes().GetAt(0), kept);
        EXPECT_EQ(Row(1)->GetAt(1), drawing);
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(drawing->GetShapes().GetCount(), 2) << cut;
    }
}

// ---- a release during a drag step ----

struct DoneAction : TAction {
    DoneAction() : TAction(0) {}
    void Do() override {}
};

// A step that waits for the kernel lets the window's events run: a release
// arriving then is handled once the step has returned, not inside it.
class WaitingTracker : public MouseTracker {
public:
    WaitingTracker(CCorvellView& view, std::vector<std::string>& log) : MouseTracker(view), m_view(view), m_log(log) {}
    void MouseMove(const IntPoint&) override
    {
        m_log.push_back("move begins");
        // The events handled while the step waits: the button comes up.
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_view.drawingWidget(), &release);
        m_log.push_back("move ends");
    }
    void MouseUp(const IntPoint&) override
    {
        m_log.push_back("up");
        m_action = new DoneAction;
    }

private:
    CCorvellView& m_view;
    std::vector<std::string>& m_log;
};

// The test starts its own tracker as a press in a drawing would.
struct TrackerStarter : CCorvellView {
    using Starting = void (CCorvellView::*)(MouseTracker*, const IntPoint&);
    static Starting Start() { return &TrackerStarter::StartTracker; }
};

TEST_F(DrawingViewTest, AReleaseDuringADragStepIsHandledWhenTheStepHasReturned)
{
    std::vector<std::string> log;
    const TrackerStarter::Starting start = TrackerStarter::Start();
    const IntPoint press(5, 5);
    CCorvellView& target = *view;
    (target.*start)(new WaitingTracker(*view, log), press);
    Mouse(QEvent::MouseMove, IntPoint(20, 20), MK_LBUTTON);
    EXPECT_EQ(log, (std::vector<std::string>{"move begins", "move ends", "up"}));
    EXPECT_EQ(view->GetTracker(), nullptr);
    EXPECT_NE(view->GetKeptAction(), nullptr) << "the tracker's action was not performed";
}

}  // namespace
