// Removing parts of shapes and whole shapes, detaching joined edges, cut
// and delete with undo and redo: the drawings' ownership rule is checked
// after every step.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/CurveShape.h"
#include "drawing/DiagramEdit.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingEditActions.h"
#include "drawing/PolygonShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/DocClipboard.h"
#include "foundation/ActionSupport.h"
#include "support/FakeClipboard.h"

#include <functional>

namespace {

std::string TagText(const DiagramShape& shape)
{
    char text[5];
    shape.GetTag().ToChars(text);
    std::string name(text);
    if (shape.IsPolygon())
        name += std::to_string(static_cast<const PolygonShape&>(shape).GetEdges().GetCount());
    return name;
}

using DrawingPtr = std::unique_ptr<DiagramComp, void (*)(DiagramComp*)>;

DrawingPtr NewDrawing()
{
    auto* drawing = new DiagramComp;
    drawing->SetSize(2000, 2000);
    return {drawing, [](DiagramComp* d) { d->Delete(); }};
}

// The listed shapes: tags, polygons with their edge count.
std::string Listing(const DiagramComp& drawing)
{
    std::string text;
    for (DiagramShape* shape : drawing.GetShapes())
        text += TagText(*shape) + " ";
    return text;
}

// An open chain v0 - e0 - v1 - ... of segments (curves where asked) along a
// zigzag, as one polygon.
PolygonShape* Chain(int edges, const std::vector<int>& curves = {})
{
    std::vector<VertexShape*> v;
    for (int i = 0; i <= edges; ++i)
        v.push_back(new VertexShape(i, i % 2));
    ItemArray<EdgeShape> list;
    for (int i = 0; i < edges; ++i) {
        const bool curve = std::find(curves.begin(), curves.end(), i) != curves.end();
        if (curve)
            list.Add(new CurveShape(v[i], v[i + 1], new VertexShape(i + 0.3, 2), new VertexShape(i + 0.7, 2)));
        else
            list.Add(new SegmentShape(v[i], v[i + 1]));
    }
    return new PolygonShape(list);
}

// A closed polygon of four segments around the unit square.
PolygonShape* Square()
{
    VertexShape* v[] = {new VertexShape(0, 0), new VertexShape(1, 0), new VertexShape(1, 1), new VertexShape(0, 1)};
    ItemArray<EdgeShape> list;
    for (int i = 0; i < 4; ++i)
        list.Add(new SegmentShape(v[i], v[(i + 1) % 4]));
    return new PolygonShape(list);
}

struct RemovalCase {
    const char* name;
    // Adds the shapes and answers the part to select.
    std::function<DiagramShape*(DiagramComp&)> build;
    const char* left;
    const char* removed;
};

DiagramShape* Triangle(DiagramComp& d, TriangleShape*& t)
{
    t = new TriangleShape(new VertexShape(0, 0), new VertexShape(4, 0), new VertexShape(2, 3));
    t->GetSide(0)->MakeLabel(&d);
    d.AddShape(t);
    return t;
}

DiagramShape* Rectangle(DiagramComp& d, RectangleShape*& r)
{
    r = new RectangleShape(new VertexShape(0, 0), new VertexShape(4, 0), new VertexShape(4, 3), new VertexShape(0, 3));
    d.AddShape(r);
    return r;
}

const RemovalCase kRemovals[] = {
    {"triangle vertex 1 leaves side 2 free",
     [](DiagramComp& d) { TriangleShape* t; Triangle(d, t); return t->GetVertex(0); }, "Segm ", "Vert "},
    {"triangle vertex 3 leaves side 1 free",
     [](DiagramComp& d) { TriangleShape* t; Triangle(d, t); return t->GetVertex(2); }, "Segm ", "Vert "},
    {"triangle side 1 leaves sides 3 and 2",
     [](DiagramComp& d) { TriangleShape* t; Triangle(d, t); return t->GetSide(0); }, "Poly2 ", "Segm "},
    {"triangle side 2 leaves sides 1 and 3",
     [](DiagramComp& d) { TriangleShape* t; Triangle(d, t); return t->GetSide(1); }, "Poly2 ", "Segm "},
    {"whole triangle", [](DiagramComp& d) { TriangleShape* t; return Triangle(d, t); }, "", "Tria "},
    {"rectangle vertex 1 leaves sides 2 and 3",
     [](DiagramComp& d) { RectangleShape* r; Rectangle(d, r); return r->GetVertex(0); }, "Poly2 ", "Vert "},
    {"rectangle vertex 4 leaves sides 1 and 2",
     [](DiagramComp& d) { RectangleShape* r; Rectangle(d, r); return r->GetVertex(3); }, "Poly2 ", "Vert "},
    {"rectangle side 2 leaves the other three",
     [](DiagramComp& d) { RectangleShape* r; Rectangle(d, r); return r->GetSide(1); }, "Poly3 ", "Segm "},
    {"closed polygon edge leaves one open polygon",
     [](DiagramComp& d) { auto* p = Square(); d.AddShape(p); return p->GetEdges().GetAt(1); }, "Poly3 ", "Segm "},
    {"middle curve of a chain of three leaves two free segments",
     [](DiagramComp& d) { auto* p = Chain(3, {1}); d.AddShape(p); return p->GetEdges().GetAt(1); }, "Segm Segm ",
     "BCrv "},
    {"end edge of a chain of three leaves a polygon of two",
     [](DiagramComp& d) { auto* p = Chain(3); d.AddShape(p); return p->GetEdges().GetAt(0); }, "Poly2 ", "Segm "},
    {"vertex 2 of a chain of five leaves a segment and a polygon of two",
     [](DiagramComp& d) { auto* p = Chain(5); d.AddShape(p); return p->GetVertexArray().GetAt(2); },
     "Segm Poly2 ", "Vert "},
    {"end vertex of a chain of two leaves the far vertex free and the other edge",
     [](DiagramComp& d) { auto* p = Chain(2); d.AddShape(p); return p->GetVertexArray().GetAt(0); }, "Segm ",
     "Vert "},
    {"end of a free segment leaves the other end",
     [](DiagramComp& d) {
         auto* s = new SegmentShape(new VertexShape(0, 0), new VertexShape(1, 1));
         d.AddShape(s);
         return s->GetStart();
     },
     "Vert ", "Vert "},
    {"end of a free curve leaves the other end, its control points go with it",
     [](DiagramComp& d) {
         auto* c = new CurveShape(new VertexShape(0, 0), new VertexShape(3, 0), new VertexShape(1, 2),
                                  new VertexShape(2, 2));
         d.AddShape(c);
         return c->GetEnd();
     },
     "Vert ", "Vert "},
    {"control vertex of a free curve leaves the other three",
     [](DiagramComp& d) {
         auto* c = new CurveShape(new VertexShape(0, 0), new VertexShape(3, 0), new VertexShape(1, 2),
                                  new VertexShape(2, 2));
         d.AddShape(c);
         return c->GetControl1();
     },
     "Vert Vert Vert ", "Vert "},
    {"one of two circles on one centre keeps the centre",
     [](DiagramComp& d) {
         auto* centre = new VertexShape(0, 0);
         auto* c1 = new CircleShape(centre, new DrawVariable(1.0, false));
         d.AddShape(c1);
         d.AddShape(new CircleShape(centre, new DrawVariable(2.0, false)));
         return c1;
     },
     "Circ ", "Circ "},
};

class RemovalTest : public DrawingTest, public ::testing::WithParamInterface<RemovalCase> {};

} // namespace

TEST_P(RemovalTest, EveryStepOfDeleteUndoRedoAndCommitKeepsOwnershipSound)
{
    const RemovalCase& c = GetParam();
    DrawingPtr drawing = NewDrawing();
    DiagramShape* part = c.build(*drawing);
    const std::string before = Listing(*drawing);
    drawing->SelectShape(part, false);
    ASSERT_EQ(OwnershipFaults({drawing.get()}), "");

    auto action = std::make_unique<TDeleteDrawingAction>(drawing.get());
    for (int round = 0; round < 2; ++round) {
        action->Perform();
        ASSERT_NE(action->GetRemoved(), nullptr);
        EXPECT_EQ(Listing(*drawing), c.left) << "round " << round;
        EXPECT_EQ(Listing(*action->GetRemoved()), c.removed);
        EXPECT_EQ(OwnershipFaults({drawing.get(), action->GetRemoved()}, &action->GetEdits()), "")
            << "done, round " << round;
        action->Revert();
        EXPECT_EQ(Listing(*drawing), before);
        EXPECT_EQ(OwnershipFaults({drawing.get()}), "") << "undone, round " << round;
        EXPECT_TRUE(part->IsSelected()) << "the part is selected again, so that redo removes it again";
    }
    action->Commit();
    EXPECT_EQ(OwnershipFaults({drawing.get()}), "") << "committed undone";

    action = std::make_unique<TDeleteDrawingAction>(drawing.get());
    action->Perform();
    action->Commit();
    EXPECT_EQ(Listing(*drawing), c.left);
    EXPECT_EQ(OwnershipFaults({drawing.get()}), "") << "committed done";
}

INSTANTIATE_TEST_SUITE_P(Parts, RemovalTest, ::testing::ValuesIn(kRemovals),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

namespace {

struct DetachCase {
    int edges;
    int detached;
    int kept;            // edges left in the polygon
    const char* answer;  // "", "Segm" or "Poly2"
};

const DetachCase kDetaches[] = {
    {3, 0, 2, ""},      // 1: nothing before the edge
    {3, 2, 2, ""},      // 2: nothing after it
    {3, 1, 1, "Segm"},  // 3: one edge before it goes free
    {4, 2, 2, "BCrv"},  // 4: several before, one after (the chain ends in a curve)
    {5, 2, 2, "Poly2"}, // 5: several on both sides
};

} // namespace

TEST_F(DrawingTest, DetachingAJoinedEdgeLeavesTheFivePiecesOfItsCases)
{
    for (const DetachCase& c : kDetaches) {
        SCOPED_TRACE("chain of " + std::to_string(c.edges) + ", edge " + std::to_string(c.detached));
        DrawingPtr drawing = NewDrawing();
        PolygonShape* chain = Chain(c.edges, {c.edges - 1});
        drawing->AddShape(chain);
        EdgeShape* edge = chain->GetEdges().GetAt(c.detached);
        const DPoint start = edge->GetStart()->GetPoint(), end = edge->GetEnd()->GetPoint();
        DiagramShape* answer = chain->DetachEdge(edge);
        EXPECT_EQ(chain->GetEdges().GetCount(), c.kept);
        EXPECT_EQ(answer ? TagText(*answer) : std::string(), c.answer);
        EXPECT_EQ(edge->GetOwnerShape(), nullptr);
        EXPECT_EQ(edge->GetStart()->GetPoint(), start);
        EXPECT_EQ(edge->GetEnd()->GetPoint(), end);
        for (VertexShape* vertex : edge->GetVertices()) {
            EXPECT_FALSE(chain->GetVertices().Contains(vertex)) << "the edge keeps vertices of its own";
            EXPECT_EQ(vertex->GetUseCount(), 1);
        }
        if (answer)
            drawing->AddShape(answer);
        drawing->AddShape(edge);
        EXPECT_EQ(OwnershipFaults({drawing.get()}), "");
    }
}

TEST_F(DrawingTest, TwoSidesOfOneTriangleRemovedTogetherLeaveTheOtherSide)
{
    DrawingPtr drawing = NewDrawing();
    auto* t = new TriangleShape(new VertexShape(0, 0), new VertexShape(4, 0), new VertexShape(2, 3));
    drawing->AddShape(t);
    drawing->SelectShape(t->GetSide(0), false);
    drawing->SelectShape(t->GetVertex(2), true);
    TDeleteDrawingAction action(drawing.get());
    action.Perform();
    EXPECT_EQ(OwnershipFaults({drawing.get(), action.GetRemoved()}, &action.GetEdits()), "");
    action.Revert();
    EXPECT_EQ(Listing(*drawing), "Tria ");
    EXPECT_EQ(OwnershipFaults({drawing.get()}), "");
    action.Perform();
    action.Commit();
    EXPECT_EQ(OwnershipFaults({drawing.get()}), "");
}

// The cut drawing on the clipboard is a copy: undo pastes the action's own
// removed items back, and the clipboard's copy lives on.
TEST_F(DrawingTest, CutPutsACopyOnTheClipboardThatOutlivesUndoAndCommit)
{
    FakeClipboard platform;
    DocClipboard clipboard;
    DrawingPtr drawing = NewDrawing();
    TriangleShape* t;
    Triangle(*drawing, t);
    drawing->SelectShape(t->GetSide(0), false);
    auto cut = std::make_unique<TCutDrawingAction>(drawing.get(), &clipboard);
    cut->Perform();
    ASSERT_TRUE(clipboard.HasData());
    DocSelection content = clipboard.GetContent();
    auto* copy = dynamic_cast<DiagramComp*>(content.GetStart().GetParagraphComp()->GetRow()->GetAt(1));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Listing(*copy), "Segm ");
    EXPECT_NE(copy->GetShapes().GetAt(0), t->GetSide(0));
    EXPECT_EQ(copy->GetLabels().GetCount(), 1) << "the side's label goes with it";
    EXPECT_EQ(OwnershipFaults({copy}), "");
    cut->Revert();
    EXPECT_EQ(Listing(*drawing), "Tria ");
    EXPECT_EQ(OwnershipFaults({drawing.get()}), "");
    cut->Commit();
    EXPECT_FALSE(clipboard.HasData()) << "nothing was there before the cut";
    ActionSupport::DestroyFragment(content);
    cut.reset();

    // Cut and commit: the clipboard keeps its copy; what the cut removed goes.
    drawing->SelectShape(t->GetVertex(1), false);
    cut = std::make_unique<TCutDrawingAction>(drawing.get(), &clipboard);
    cut->Perform();
    cut->Commit();
    cut.reset();
    EXPECT_TRUE(clipboard.HasData());
    EXPECT_EQ(Listing(*drawing), "Segm ");
    EXPECT_EQ(OwnershipFaults({drawing.get()}), "");

    // What another program put on the clipboard after the cut stays there
    // through undo and commit.
    clipboard.Clear();
    drawing->SelectShape(drawing->GetShapes().GetAt(0), false);
    cut = std::make_unique<TCutDrawingAction>(drawing.get(), &clipboard);
    cut->Perform();
    ClipboardData other;
    other.text = "another program's text";
    platform.SimulateOtherProgram(other);
    cut->Revert();
    cut->Commit();
    EXPECT_EQ(platform.content.text, other.text);
    EXPECT_EQ(Listing(*drawing), "Segm ");
}
