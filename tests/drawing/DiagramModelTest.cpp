// The drawing's model: hit order, selection order, copies through the copy
// map, the growable arrays and the value displays.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/GroupConstraints.h"
#include "drawing/ItemCopyMap.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DocPosition.h"
#include "foundation/LinkRemap.h"
#include "foundation/ParagraphComp.h"

namespace {

using DrawingPtr = std::unique_ptr<TextComp, void (*)(TextComp*)>;

DrawingPtr Own(DiagramComp* drawing)
{
    return {drawing, [](TextComp* c) { c->Delete(); }};
}

// A constraint marked at a vertex: a click on the vertex hits the constraint
// first; it answers the vertex when asked to, itself otherwise.
class MarkerConstraint : public DrawConstraint {
public:
    MarkerConstraint(VertexShape* vertex, bool answersVertex) : m_vertex(vertex), m_answersVertex(answersVertex) {}
    TypeTag GetTag() const override { return TypeTag("DstC"); }
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override
    {
        if (!m_vertex->HitTest(point, dc))
            return nullptr;
        return m_answersVertex ? static_cast<DiagramItem*>(m_vertex) : this;
    }
    DrawConstraint* Copy(ItemCopyMap& map) override
    {
        auto* vertex = static_cast<VertexShape*>(map.LookupItem(m_vertex));
        return vertex ? new MarkerConstraint(vertex, m_answersVertex) : nullptr;
    }
    VertexShape* Vertex() const { return m_vertex; }

private:
    VertexShape* m_vertex;
    bool m_answersVertex;
};

} // namespace

class DrawingPlacedTest : public DrawingTest {
protected:
    DrawingPlacedTest() : sample(MakeSample()), owner(Own(sample.diagram))
    {
        auto row = std::make_unique<CompArray>();
        row->Append(sample.diagram);
        paragraph = std::make_unique<ParagraphComp>(std::move(row), 3);
        list = NewList();
        list->Append(paragraph.release());
        owner.release();
        list->RelayoutAll(false);
    }
    IntPoint At(double x, double y) const { return sample.diagram->GetDC().WorldToScreen(DPoint(x, y)); }

    SampleParts sample;
    DrawingPtr owner;
    std::unique_ptr<ParagraphComp> paragraph;
    ListPtr list;
};

TEST_F(DrawingPlacedTest, HitsFollowLabelTextThenFrameThenConstraintsThenShapes)
{
    DiagramComp& d = *sample.diagram;
    d.AddConstraint(new MarkerConstraint(sample.b, false));
    DrawLabel* coordinates = d.GetLabels().GetAt(0);
    const Rect text = coordinates->GetText()->GetAbsRect();
    const IntPoint inText((text.left + text.right) / 2, (text.top + text.bottom) / 2);
    const IntPoint inFrame(text.left - 2, (text.top + text.bottom) / 2);
    struct Case {
        const char* where;
        IntPoint point;
        DrawHitKind kind;
        DiagramItem* item;
        DrawLabel* label;
    };
    const Case cases[] = {
        {"the coordinate label's text", inText, DrawHitKind::LabelText, nullptr, coordinates},
        {"the coordinate label's frame", inFrame, DrawHitKind::Label, nullptr, coordinates},
        {"the marked vertex", At(1.5, 0.0), DrawHitKind::Constraint, nullptr, nullptr},
        {"the free vertex", At(-2.5, 0.5), DrawHitKind::Shape, sample.a, nullptr},
        {"the line of c1", At(-2.5, 2.0), DrawHitKind::Shape, sample.c1, nullptr},
        {"the line of c2, above c3", At(2.5, 0.0), DrawHitKind::Shape, sample.c2, nullptr},
        {"the line of c3", At(1.5, -2.0), DrawHitKind::Shape, sample.c3, nullptr},
        {"inside c3 only", At(0.5, -1.5), DrawHitKind::Nothing, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const DrawHit hit = d.HitItem(c.point);
        EXPECT_EQ(hit.kind, c.kind) << c.where;
        if (c.kind == DrawHitKind::Constraint)
            EXPECT_EQ(hit.item, d.GetConstraints().GetAt(0)) << c.where;
        else
            EXPECT_EQ(hit.item, c.item) << c.where;
        EXPECT_EQ(hit.label, c.label) << c.where;
    }
    // A constraint that answers the vertex it marks counts as a shape hit.
    d.AddConstraint(new MarkerConstraint(sample.a, true));
    const DrawHit hit = d.HitItem(At(-2.5, 0.5));
    EXPECT_EQ(hit.kind, DrawHitKind::Shape);
    EXPECT_EQ(hit.item, sample.a);
}

TEST_F(DrawingPlacedTest, ClickSelectionTakesEveryShapeUnderThePointOnce)
{
    DiagramComp& d = *sample.diagram;
    d.ClickSelect(At(1.5, 0.0), false);
    ASSERT_EQ(d.GetSelectedShapes().GetCount(), 1) << "the shared centre, once";
    EXPECT_EQ(d.GetSelectedShapes().GetAt(0), sample.b);
    d.ClickSelect(At(1.5, 0.0), true);
    EXPECT_FALSE(d.HasSelection());
    d.SelectShape(sample.c1, false);
    EXPECT_TRUE(sample.a->IsSelected()) << "a part of a selected circle shows selected";
    d.SelectShape(sample.c2, true);
    d.SendToBack();
    EXPECT_EQ(d.GetShapes().GetAt(0), sample.c2) << "the last selected ends up first";
    EXPECT_EQ(d.GetShapes().GetAt(1), sample.c1);
}

TEST_F(DrawingPlacedTest, CopiesShareVerticesAndVariablesOnceAndFollowTheCopiedValues)
{
    DiagramComp& d = *sample.diagram;
    d.AddConstraint(new MarkerConstraint(sample.b, false));
    d.AddConstraint(new MarkerConstraint(sample.a, false));
    d.SelectShape(sample.c2, false);
    d.SelectShape(sample.c3, true);
    LinkRemap remap;
    DrawingPtr copy = Own(d.CopySelection(remap));
    remap.RebindLinks();
    auto& part = static_cast<DiagramComp&>(*copy);
    ASSERT_EQ(part.GetShapes().GetCount(), 2);
    auto* c2 = static_cast<CircleShape*>(part.GetShapes().GetAt(0));
    auto* c3 = static_cast<CircleShape*>(part.GetShapes().GetAt(1));
    EXPECT_EQ(c2->GetCentre(), c3->GetCentre()) << "one copy of the shared centre";
    EXPECT_NE(c2->GetCentre(), sample.b);
    EXPECT_EQ(c2->GetCentre()->GetUseCount(), 2);
    ASSERT_EQ(part.GetConstraints().GetCount(), 1) << "only the constraint whose vertex was copied";
    EXPECT_EQ(static_cast<MarkerConstraint*>(part.GetConstraints().GetAt(0))->Vertex(), c2->GetCentre());

    LinkRemap wholeRemap;
    DrawingPtr whole(d.Clone(wholeRemap), [](TextComp* c) { c->Delete(); });
    wholeRemap.RebindLinks();
    auto& clone = static_cast<DiagramComp&>(*whole);
    VertexShape* a = static_cast<CircleShape*>(clone.GetShapes().GetAt(1))->GetCentre();
    EXPECT_NE(a, sample.a);
    auto* x = dynamic_cast<DrawValueComp*>(a->GetLabel()->GetText()->GetAt(2));
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->GetVariable(), a->GetXVar()) << "the label follows the copied vertex";
    a->SetPoint(DPoint(7.126, 0.0));
    EXPECT_STREQ(x->GetText().GetText(), "7.13");
    EXPECT_EQ(clone.GetVariables().GetCount(), 1);
}

TEST(ItemCopyMapTest, TablesDoubleFromSixteenAndLookupsFindTheLatestPair)
{
    ItemCopyMap map(nullptr);
    std::vector<std::unique_ptr<VertexShape>> olds, news;
    for (int i = 0; i < 33; ++i) {
        olds.push_back(std::make_unique<VertexShape>(i, 0.0));
        news.push_back(std::make_unique<VertexShape>(i, 1.0));
        map.AddItem(olds.back().get(), news.back().get());
        const int expected = i < 16 ? 16 : i < 32 ? 32 : 64;
        EXPECT_EQ(map.GetItemCapacity(), expected) << i + 1 << " pairs";
    }
    EXPECT_EQ(map.LookupItem(olds[20].get()), news[20].get());
    VertexShape stranger(0.0, 0.0);
    EXPECT_EQ(map.LookupItem(&stranger), nullptr);
    // An item paired twice: a lookup finds the first pair, a copy the latest.
    map.AddItem(olds[3].get(), news[4].get());
    EXPECT_EQ(map.LookupItem(olds[3].get()), news[3].get());
    EXPECT_EQ(map.FindOrClone(olds[3].get()), news[4].get());
}

TEST(ItemArrayTest, GrowsByFourAfterEightAndKeepsOrder)
{
    ItemArray<int> array;
    int values[14] = {};
    for (int i = 0; i < 13; ++i) {
        array.Add(&values[i]);
        EXPECT_EQ(array.GetCapacity(), i < 8 ? 8 : i < 12 ? 12 : 16) << i + 1 << " entries";
    }
    array.Remove(&values[13]);
    EXPECT_EQ(array.GetCount(), 13);
    array.MoveToFront(&values[5]);
    array.MoveToBack(&values[0]);
    EXPECT_EQ(array.GetAt(0), &values[5]);
    EXPECT_EQ(array.GetAt(1), &values[1]);
    EXPECT_EQ(array.GetAt(12), &values[0]);
    array.Remove(&values[5]);
    EXPECT_EQ(array.GetAt(0), &values[1]);
}

TEST_F(DrawingTest, ValueDisplaysShowTwoDecimalsAndCountTypedTextWithinOneHundredth)
{
    DrawVariable variable(2.004, false);
    DrawValueComp display(&variable);
    EXPECT_STREQ(display.GetText().GetText(), "2.00");
    struct Case {
        const char* typed;
        bool differs;
    };
    for (const Case& c : {Case{"2", false}, Case{"2.02", true}, Case{" 1.995 ", false}, Case{"two", true},
                          Case{"2x", true}, Case{"", true}}) {
        DrawValueComp typed(&variable, Str255(c.typed));
        EXPECT_EQ(typed.ValueDiffers(), c.differs) << '"' << c.typed << '"';
    }
    variable.SetValue(2.004);
    EXPECT_EQ(display.GetText().GetLength(), 4) << "setting the same value still notifies";
    // A value too long for two decimals in 255 characters is shown shorter.
    variable.SetValue(1e300);
    EXPECT_LE(display.GetText().GetLength(), 255);
    EXPECT_TRUE(display.ParseValue().has_value());
}

TEST_F(DrawingTest, ValuePropertiesNeedAVariableAndANumber)
{
    DrawValueComp orphan;
    EXPECT_FALSE(orphan.ApplyProperties(true, Str255("3")));
    EXPECT_STREQ(orphan.GetText().GetText(), "0.0");

    DrawVariable variable(1.0, false);
    DrawValueComp display(&variable);
    EXPECT_FALSE(display.ApplyProperties(true, Str255("three")));
    EXPECT_FALSE(variable.IsFixed());
    EXPECT_TRUE(display.ApplyProperties(true, Str255("3.5")));
    EXPECT_TRUE(variable.IsFixed());
    EXPECT_EQ(variable.GetValue(), 3.5);
    EXPECT_STREQ(display.GetText().GetText(), "3.50");

    // A coordinate may be negative, a circle's radius may not.
    DiagramComp drawing;
    auto* circle = new CircleShape(new VertexShape(0, 0), new DrawVariable(1.0, false));
    drawing.AddShape(circle);
    DrawValueComp x(circle->GetCentre()->GetXVar());
    EXPECT_TRUE(x.ApplyProperties(false, Str255("-2")));
    DrawValueComp radius(circle->GetRadiusVar());
    EXPECT_FALSE(radius.ApplyProperties(false, Str255("-2")));
    EXPECT_EQ(circle->GetRadiusVar()->GetValue(), 1.0);
}

TEST_F(DrawingTest, CaretWalksThroughTheLabelTextsAndBackspaceIsTheDrawingsCommand)
{
    SampleParts sample = MakeSample();
    DrawingPtr owner = Own(sample.diagram);
    DiagramComp& d = *sample.diagram;
    CompList* first = d.GetLabels().GetAt(0)->GetText();
    CompList* second = d.GetLabels().GetAt(1)->GetText();
    EXPECT_EQ(d.GetListRight(nullptr), first);
    EXPECT_EQ(d.GetListLeft(nullptr), second);
    EXPECT_EQ(d.GetListRight(first), second);
    EXPECT_EQ(d.GetListRight(second), nullptr);
    EXPECT_EQ(d.GetListDown(first), second);
    EXPECT_EQ(d.IndexOfChild(second), 2);
    DocPosition position;
    EXPECT_EQ(d.MapKey(position, 8, false, false), 2801);
}

TEST_F(DrawingTest, HitToleranceIsTwoPointsInclusiveForVerticesAndExclusiveForCircleLines)
{
    DiagramComp drawing;
    const DiagramDC& dc = drawing.GetDC();
    const double reach = 2 * dc.GetBaseScale();
    auto* centre = new VertexShape(0.0, 0.0);
    auto* circle = new CircleShape(centre, new DrawVariable(1.0, false));
    drawing.AddShape(circle);
    EXPECT_EQ(centre->HitTest(DPoint(reach, 0.0), dc), centre);
    EXPECT_EQ(circle->HitTest(DPoint(0.0, 1.0 + reach * 0.99), dc), circle);
    EXPECT_EQ(circle->HitTest(DPoint(0.0, 1.0 + 2 * reach), dc), nullptr);
    EXPECT_EQ(circle->HitTest(DPoint(0.0, 1.0 - reach * 0.99), dc), circle);
}

TEST_F(DrawingTest, DrawingSizesOutsideOneTo32767AreRefused)
{
    DiagramComp drawing;
    for (auto [width, height] : {std::pair{0, 10}, std::pair{10, -3}, std::pair{40000, 10}})
        EXPECT_FALSE(drawing.SetSize(width, height)) << width << " x " << height;
    EXPECT_EQ(drawing.GetWidth32(), 5000);
    EXPECT_TRUE(drawing.SetSize(1, 32767));
}

TEST(VertexShapeTest, SideTestDecidesByXFirstThenByOrientation)
{
    struct Case {
        DPoint a, b, c;
        bool expected;
    };
    const Case cases[] = {
        {{1, 0}, {0, 0}, {2, 5}, true},    // a right of b, not right of c
        {{1, 0}, {2, 0}, {0, 5}, false},   // a left of b, right of c
        {{0, 0}, {1, 0}, {1, 1}, true},    // c left of a -> b (y up)
        {{0, 0}, {1, 0}, {1, -1}, false},  // c right of it
        {{0, 0}, {1, 0}, {2, 0}, false},   // on the line
    };
    for (const Case& c : cases) {
        VertexShape a(c.a.x, c.a.y), b(c.b.x, c.b.y), third(c.c.x, c.c.y);
        EXPECT_EQ(SideTest(a, b, third), c.expected) << c.c.x << ", " << c.c.y;
    }
}

TEST(VertexShapeTest, MoveByMovesOnlyCoordinatesThatAreNotFixed)
{
    VertexShape vertex(1.0, 1.0);
    vertex.GetXVar()->SetFixed(true);
    vertex.MoveBy(0.5, 0.25);
    EXPECT_EQ(vertex.GetPoint(), DPoint(1.0, 1.25));
    vertex.Fix();
    vertex.MoveBy(1.0, 1.0);
    EXPECT_EQ(vertex.GetPoint(), DPoint(1.0, 1.25));
    EXPECT_TRUE(vertex.IsFixed() && vertex.GetYVar()->IsFixed());
}

// An equation binds no item: every whole copy keeps it, a copy of the
// selection only when it is selected.
TEST_F(DrawingPlacedTest, AWholeCloneKeepsEquationConstraintsThatAreNotSelected)
{
    DiagramComp& d = *sample.diagram;
    auto* label = new DrawLabel(&d, DPoint(0, 0), DPoint(0, 0), true, new CompList);
    auto* equation = new EquationConstraint(DPoint(0, 0), label);
    d.AddConstraint(equation);
    auto count = [](TextComp* copy) { return static_cast<DiagramComp*>(copy)->GetConstraints().GetCount(); };
    LinkRemap wholeRemap;
    DrawingPtr whole(d.Clone(wholeRemap), [](TextComp* c) { c->Delete(); });
    EXPECT_EQ(count(whole.get()), 1);
    d.SelectShape(sample.c1, false);
    LinkRemap partRemap;
    EXPECT_EQ(count(Own(d.CopySelection(partRemap)).get()), 0) << "an unselected equation stays";
    d.SelectConstraint(equation, true);
    LinkRemap selectedRemap;
    EXPECT_EQ(count(Own(d.CopySelection(selectedRemap)).get()), 1);
}
