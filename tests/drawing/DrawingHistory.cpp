#include "DrawingHistory.h"

#include "DrawingTestSupport.h"

#include "drawing/AngleMakers.h"
#include "drawing/CircleShape.h"
#include "drawing/ConstraintEqn.h"
#include "drawing/ConstraintMakers.h"
#include "drawing/CurveConstraints.h"
#include "drawing/CurveShape.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingEditActions.h"
#include "drawing/GroupConstraints.h"
#include "drawing/GroupMakers.h"
#include "drawing/LineConstraints.h"
#include "drawing/LineMakers.h"
#include "drawing/PointConstraints.h"
#include "drawing/PolygonShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/ShapeMakers.h"
#include "drawing/SidedShape.h"
#include "drawing/TPasteDrawingAction.h"
#include "drawing/ValueConstraint.h"
#include "drawing/VertexDragTracker.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DocClipboard.h"
#include "foundation/DocReader.h"
#include "foundation/LinkTarget.h"
#include "foundation/MemoryStream.h"
#include "foundation/TCopyAction.h"
#include "support/FakeClipboard.h"
#include "support/FakeUserInterface.h"
#include "support/model/ArchiveStore.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>

namespace drawing_history {

namespace {

VertexShape* At(double x, double y)
{
    return new VertexShape(x, y);
}

template <class... Kinds>
std::vector<std::unique_ptr<DrawingMaker>> MakersOf()
{
    std::vector<std::unique_ptr<DrawingMaker>> makers;
    (makers.push_back(std::make_unique<Kinds>()), ...);
    return makers;
}

// The makers that build without asking anything (the point and plot
// makers open dialogs), in toolbar order.
const std::vector<std::unique_ptr<DrawingMaker>>& Makers()
{
    static const auto makers =
        MakersOf<SegmentMaker, CircleMaker, TriangleMaker, RectangleMaker, CurveMaker, ParallelMaker,
                 PerpendicularMaker, FixAngleMaker, DistanceMaker, MidpointMaker, EqualLengthMaker, FixPointMaker,
                 ArcMaker, HorizontalMaker, VerticalMaker, FixSlopeMaker, TangentMaker>();
    return makers;
}

constexpr size_t kCircleMaker = 1, kRectangleMaker = 3, kDistanceMaker = 8;

// Builds with a maker on the shapes given, in the order a user picks them.
void MakeOn(DiagramComp& d, size_t maker, const std::vector<DiagramShape*>& picked)
{
    d.DeselectAll(false);
    for (DiagramShape* shape : picked)
        d.SelectShape(shape, true);
    std::unique_ptr<TAction> action(Makers()[maker]->Make(nullptr, d.GetSelectedShapes(), d, DPoint(0, 0)));
    action->Perform();
    action->Commit();
    d.DeselectAll(false);
}

void BuildTwoTriangles(DiagramComp& d)
{
    VertexShape* a = At(0, 0);
    VertexShape* b = At(3, 0);
    VertexShape* c = At(1, 2);
    d.AddShape(new TriangleShape(a, b, c));
    auto* filled = new TriangleShape(a, b, c);
    ShapeStyle style;
    style.filled = true;
    filled->SetStyle(style);
    d.AddShape(filled);
    d.SettleOwners();
    Labelled(&d, new DistanceConstraint(a, b));
}

void BuildRectangleOnSegment(DiagramComp& d)
{
    auto* segment = new SegmentShape(At(0, 0), At(3, 0));
    d.AddShape(segment);
    d.AddConstraint(new HorizontalConstraint(segment->GetStart(), segment->GetEnd()));
    MakeOn(d, kRectangleMaker, {segment});
}

void BuildRectangleOnTriangle(DiagramComp& d)
{
    auto* triangle = new TriangleShape(At(0, 0), At(3, 0), At(3, 2));
    d.AddShape(triangle);
    MakeOn(d, kRectangleMaker, {triangle->GetVertex(0), triangle->GetVertex(1), triangle->GetVertex(2)});
    auto* rectangle = static_cast<RectangleShape*>(d.GetShapes().GetAt(d.GetShapes().GetCount() - 1));
    d.AddConstraint(new FixedPointConstraint(rectangle->GetVertex(3)));
    d.AddConstraint(new EqualLengthConstraint({triangle->GetSide(2), rectangle->GetSide(3)}));
}

void BuildCornerIsCentre(DiagramComp& d)
{
    MakeOn(d, kCircleMaker, {});
    auto* circle = static_cast<CircleShape*>(d.GetShapes().GetAt(0));
    VertexShape* w = At(3, 0);
    VertexShape* u = At(3, 2);
    d.AddShape(w);
    d.AddShape(u);
    MakeOn(d, kRectangleMaker, {circle->GetCentre(), w, u});
    MakeOn(d, kDistanceMaker, {circle});
    d.AddConstraint(new FixedPointConstraint(circle->GetCentre()));
    d.AddConstraint(new HorizontalConstraint(circle->GetCentre(), w));
}

void BuildConcentricCircles(DiagramComp& d)
{
    VertexShape* centre = At(0, 0);
    auto* first = new CircleShape(centre, new DrawVariable(1.0, false));
    auto* second = new CircleShape(centre, new DrawVariable(2.0, false));
    d.AddShape(first);
    d.AddShape(second);
    d.SettleOwners();
    Labelled(&d, new RadiusConstraint(centre, second->GetRadiusVar()));
    VertexShape* p = At(2, 0);
    d.AddShape(p);
    d.AddConstraint(new PointOnCircleConstraint(centre, second->GetRadiusVar(), p));
    auto* segment = new SegmentShape(At(4, 0), At(6, 1));
    d.AddShape(segment);
    auto* row = new CompList(Str255("4="));
    row->Append(new DrawValueComp(segment->GetStart()->GetXVar()));
    d.AddConstraint(new EquationConstraint(DPoint(5, 2), new DrawLabel(&d, DPoint(5, 2), DPoint(0, 0), true, row)));
}

// Listed first and used by the circle and the triangle after it.
void BuildListedCentre(DiagramComp& d)
{
    VertexShape* point = At(1, 1);
    point->SetLabel(new DrawLabel(&d, DPoint(1.5, 1.5), DPoint(0, 0), true, new CompList(Str255("P"))));
    d.AddShape(point);
    d.AddShape(new CircleShape(point, new DrawVariable(1.5, false)));
    d.AddShape(new TriangleShape(point, At(4, 1), At(3, 3)));
    d.AddConstraint(new FixedPointConstraint(point));
    auto* row = new CompList(Str255("r="));
    d.AddLabel(new DrawLabel(&d, DPoint(0, 3), DPoint(0, 0), true, row));
}

void BuildEveryKind(DiagramComp& d)
{
    auto* triangle = new TriangleShape(At(-4, 0), At(-2, 0), At(-3, 1.3));
    ShapeStyle filled;
    filled.filled = true;
    triangle->SetStyle(filled);
    d.AddShape(triangle);
    auto* segment = new SegmentShape(At(-4.5, 3.5), At(-2.5, 2.2));
    d.AddShape(segment);
    d.AddLabel(segment->MakeLabel(&d));
    d.AddShape(new CurveShape(At(-1.8, 3.5), At(1.2, 3.5), At(-1.5, 1.8), At(0.9, 1.8)));
    d.AddShape(new RectangleShape(At(-2, 0), At(0, 0), At(0, 1.2), At(-2, 1.2)));
    VertexShape* a = At(0.5, 0);
    VertexShape* b = At(1.5, 1.3);
    ItemArray<EdgeShape> open;
    open.Add(new SegmentShape(a, b));
    open.Add(new CurveShape(b, At(3.3, 0), At(3.3, 1.8), At(2.5, -0.8)));
    d.AddShape(new PolygonShape(open));
    auto* circle = new CircleShape(At(2, -2), new DrawVariable(1.0, false));
    d.AddShape(circle);
    VertexShape* loose = At(-1, -2);
    d.AddShape(loose);
    d.AddLabel(loose->MakeLabel(&d));
    d.AddConstraint(new PointOnCircleConstraint(circle->GetCentre(), circle->GetRadiusVar(), b));
    d.AddConstraint(new EqualLengthConstraint({triangle->GetSide(0), segment}));
    Labelled(&d, new AngleConstraint(triangle->GetVertex(0), triangle->GetVertex(1), a));
}

void BuildPoints(DiagramComp& d)
{
    for (int i = 0; i < 6; ++i)
        d.AddShape(At(i % 3 * 2.0, i / 3 * 1.5));
}

void BuildNamedSide(DiagramComp& d)
{
    VertexShape* a = At(0, 0);
    VertexShape* b = At(3, 0);
    VertexShape* c = At(0, 4);
    d.AddShape(new TriangleShape(a, b, c));
    d.SettleOwners();
    auto* base = new DistanceConstraint(a, b);
    base->SetLabel(new DrawLabel(base, &d, new CompList(Str255("b"))));
    d.AddConstraint(base);
    d.AddConstraint(new EquationConstraint(DPoint(1, 5), new DrawLabel(&d, DPoint(1, 5), DPoint(0, 0), true,
                                                                       new CompList(Str255("b=2a")))));
    d.AddConstraint(new DistanceConstraint(a, c));
    d.GetVariables().SetNamed("a", 1.5);
    auto* row = new CompList(Str255("a="));
    row->Append(new DrawValueComp(d.GetVariables().Find("a")));
    d.AddLabel(new DrawLabel(&d, DPoint(3, 3), DPoint(0, 0), true, row));
}

// The other drawing: a segment and a circle to paste beside.
void BuildOther(DiagramComp& d)
{
    d.AddShape(new SegmentShape(At(0, 0), At(2, 1)));
    d.AddShape(new CircleShape(At(4, 0), new DrawVariable(1.0, false)));
}

const std::array<std::function<void(DiagramComp&)>, static_cast<size_t>(Scene::CountWhenSolving)> kScenes = {
    BuildTwoTriangles, BuildRectangleOnSegment, BuildRectangleOnTriangle, BuildCornerIsCentre, BuildConcentricCircles,
    BuildListedCentre, BuildEveryKind,          BuildPoints,              BuildNamedSide,
};

void BindLink(TargetLink* link, LinkTarget* target)
{
    link->SetTarget(target);
}

// A document of two drawings, one paragraph each.
struct Document {
    TestDocument model;
    ListPtr list{new ParagraphList(&model)};
    std::array<DiagramComp*, 2> drawings{};

    void Append(DiagramComp* drawing)
    {
        auto row = std::make_unique<CompArray>();
        row->Append(drawing);
        list->Append(new ParagraphComp(std::move(row), 3));
    }

    void FindDrawings()
    {
        int found = 0;
        for (int p = 1; p <= list->GetCount(); ++p)
            for (int i = 1; i <= list->GetAt(p)->GetRow()->GetCount(); ++i)
                if (auto* drawing = dynamic_cast<DiagramComp*>(list->GetAt(p)->GetRow()->GetAt(i));
                    drawing && found < 2)
                    drawings[static_cast<size_t>(found++)] = drawing;
    }

    // Each drawing in its place on the page, as the view lays them out
    // (the place is part of the record).
    void LayOut()
    {
        for (size_t i = 0; i < drawings.size(); ++i) {
            drawings[i]->Measure();
            drawings[i]->SetOrigin(IntPoint(10, 10 + 300 * static_cast<int>(i)));
        }
    }

    std::vector<uint8_t> Write() const
    {
        return StoreArchive([this](DocWriter& writer) { list->Write(writer, false); });
    }

    // Another document read from the bytes.
    static std::unique_ptr<Document> Read(const std::vector<uint8_t>& bytes)
    {
        auto read = std::make_unique<Document>();
        std::vector<uint8_t> copy = bytes;
        MemoryStream stream(copy.data(), static_cast<int32_t>(copy.size()));
        DocReader reader(&stream);
        read->list->ReadCounted(reader);
        reader.ResolveLinks(BindLink);
        read->FindDrawings();
        read->LayOut();
        return read;
    }
};

// The selection as indexes into the drawing's items (shapes and their
// parts in list order, constraints, labels), in the order it was made.
std::string SelectionText(const DiagramComp& d)
{
    std::map<const DiagramShape*, int> index;
    std::function<void(DiagramShape*)> number = [&](DiagramShape* shape) {
        if (!index.emplace(shape, static_cast<int>(index.size())).second)
            return;
        for (DiagramShape* part : shape->GetParts())
            number(part);
    };
    for (DiagramShape* shape : d.GetShapes())
        number(shape);
    std::string text = "shapes";
    for (DiagramShape* shape : d.GetSelectedShapes())
        text += " " + (index.count(shape) ? std::to_string(index[shape]) : std::string("?"));
    text += "; constraints";
    for (DrawConstraint* constraint : d.GetSelectedConstraints())
        text += " " + std::to_string(d.GetConstraints().IndexOf(constraint));
    text += "; labels";
    for (int i = 0; i < d.GetLabels().GetCount(); ++i)
        if (d.GetLabels().GetAt(i)->IsSelected())
            text += " " + std::to_string(i);
    return text;
}

// Whether every value display in the row shows a variable of one of the drawings.
bool ShowsOnly(const CompList& row, const std::array<DiagramComp*, 2>& drawings)
{
    for (int i = 1; i <= row.GetCount(); ++i) {
        const TextComp* comp = row.GetAt(i);
        if (auto* value = dynamic_cast<const DrawValueComp*>(comp); value && value->GetVariable()) {
            const DiagramComp* owner = value->GetVariable()->GetOwner();
            if (owner != drawings[0] && owner != drawings[1])
                return false;
        }
        for (int child = 1; child <= comp->GetChildCount(); ++child)
            if (comp->GetChild(child) && !ShowsOnly(*comp->GetChild(child), drawings))
                return false;
    }
    return true;
}

// The shapes of the drawing and all their parts.
std::set<DiagramShape*> Reachable(const DiagramComp& d)
{
    std::set<DiagramShape*> reachable;
    std::vector<DiagramShape*> pending(d.GetShapes().begin(), d.GetShapes().end());
    while (!pending.empty()) {
        DiagramShape* shape = pending.back();
        pending.pop_back();
        if (reachable.insert(shape).second)
            for (DiagramShape* part : shape->GetParts())
                pending.push_back(part);
    }
    return reachable;
}

struct State {
    std::vector<uint8_t> bytes;
    std::array<std::string, 2> selection;
};

// How an action's undo and redo are held to the states around it: the
// selection of the drawing it acts on (the other one's may change between).
struct Exactness {
    bool undoSelection = false;
    bool redoSelection = false;
    size_t drawing = 0;
};

// The share of a figure's extent within which it meets its constraints.
constexpr double kFigureShare = 1e-7;

// Each segment's, angle arm's and circle's length, and each length value a
// constraint or a circle holds, by the item and the place in it.
struct Measures {
    std::map<std::pair<const void*, int>, double> figures;
    std::map<const DrawVariable*, double> lengths;
};

class History {
public:
    History(Scene scene, Options options);
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    void Do(Step step, const uint8_t*& at, const uint8_t* end);
    // The checks after a step, or during it (", undo").
    void Check(const std::string& during = {});
    // The equations of both drawings that do not hold now.
    std::set<const ConstraintEqn*> Broken() const;
    // The lengths of both drawings' figures and the values of their lengths.
    Measures Measure() const;
    // How many messages the user has been given so far.
    size_t Told() const { return ui.boxes.size() + ui.statusTexts.size(); }
    // After a step that solves: what was not broken before it holds now, no
    // length is negative and no figure that had a length shrank to a point,
    // or the user was told.
    void CheckSolved(const std::set<const ConstraintEqn*>& brokenBefore, const Measures& before, size_t toldBefore);

    std::string faults;
    std::string stepName = "scene";

private:
    DiagramComp& Current() const { return *document->drawings[static_cast<size_t>(current)]; }
    size_t Index(const DiagramComp& d) const { return &d == document->drawings[0] ? 0 : 1; }
    State Capture() const;
    void Expect(const State& expected, bool withSelection, const std::string& what);
    void Fault(const std::string& text) { faults += "[" + stepName + phase + "] " + text + "\n"; }
    // The view's way: the new action performed, the kept one committed;
    // then the new one is undone and redone once at once.
    void Perform(std::unique_ptr<TAction> action, const State& before, Exactness exactness);
    std::vector<double> Figure() const;
    void CommitKept();
    void UndoOrRedo();
    void Remove(std::unique_ptr<TAction> action, const State& before);
    void Toggle(DiagramShape* shape);
    void Drag(uint8_t which, int8_t dx, int8_t dy);
    void Make(uint8_t which);
    void TypeValue(uint8_t which, uint8_t multiple, uint8_t locked);
    void SaveAndRead();
    std::vector<DiagramShape*> Parts() const;
    // The removed drawing and records the kept action holds for this drawing.
    std::pair<const DiagramComp*, const DiagramEditList*> Held(const DiagramComp* d) const;

    Options options;
    FakeUserInterface ui;
    FakeClipboard platform;
    DocClipboard clipboard;
    DrawingView view;
    ActionViewScope scope{&view};
    std::unique_ptr<Document> document = std::make_unique<Document>();
    int current = 0;
    std::unique_ptr<TAction> kept;
    State keptBefore, keptAfter;
    Exactness keptExactness;
    std::string phase;
};

History::History(Scene scene, Options given) : options(given)
{
    auto* first = new DiagramComp;
    auto* second = new DiagramComp;
    for (DiagramComp* d : {first, second}) {
        d->SetSize(2000, 2000);
        d->GetDC().SetWorldOrigin(DPoint(-5, 5));
        document->Append(d);
    }
    kScenes[static_cast<size_t>(scene)](*first);
    BuildOther(*second);
    // The scene as its file holds it.
    document = Document::Read(document->Write());
    Check(" read");
}

History::~History()
{
    kept.reset();
    document.reset();
}

State History::Capture() const
{
    return {document->Write(), {SelectionText(*document->drawings[0]), SelectionText(*document->drawings[1])}};
}

void History::Expect(const State& expected, bool withSelection, const std::string& what)
{
    const State now = Capture();
    const size_t d = keptExactness.drawing;
    if (now.bytes != expected.bytes)
        Fault(what + " does not give the document's bytes back");
    if (withSelection && now.selection[d] != expected.selection[d])
        Fault(what + " selects " + now.selection[d] + " instead of " + expected.selection[d]);
}

std::pair<const DiagramComp*, const DiagramEditList*> History::Held(const DiagramComp* d) const
{
    if (auto* remove = dynamic_cast<TDeleteDrawingAction*>(kept.get()); remove && remove->GetDiagram() == d)
        return {remove->GetRemoved(), &remove->GetEdits()};
    if (auto* cut = dynamic_cast<TCutDrawingAction*>(kept.get()); cut && cut->GetDiagram() == d)
        return {cut->GetRemoved(), &cut->GetEdits()};
    if (auto* paste = dynamic_cast<TPasteDrawingAction*>(kept.get()); paste && paste->GetDiagram() == d)
        return {paste->GetRemoved(), &paste->GetEdits()};
    return {nullptr, nullptr};
}

void History::Check(const std::string& during)
{
    phase = during;
    for (size_t i = 0; i < document->drawings.size(); ++i) {
        DiagramComp* d = document->drawings[i];
        // As the view paints: labels placed, the picture recorded again.
        d->RebuildPicture();
        d->Render();
        auto [removed, edits] = Held(d);
        std::vector<const DiagramComp*> drawings{d};
        if (removed)
            drawings.push_back(removed);
        if (const std::string found = OwnershipFaults(drawings, edits); !found.empty())
            Fault("drawing " + std::to_string(i + 1) + (removed ? " and what it removed: " : ": ") + found);
    }
    for (DiagramComp* d : document->drawings)
        for (DrawConstraint* constraint : d->GetConstraints())
            if (constraint->GetLabel() && !ShowsOnly(*constraint->GetLabel()->GetText(), document->drawings))
                Fault("a constraint's label shows a value no drawing of the document holds");
    const std::vector<uint8_t> written = document->Write();
    const std::unique_ptr<Document> read = Document::Read(written);
    if (read->Write() != written)
        Fault("the document saved and read back saves other bytes");
    for (DiagramComp* d : read->drawings)
        if (const std::string found = OwnershipFaults({d}); !found.empty())
            Fault("read back: " + found);
    phase.clear();
}

void History::CommitKept()
{
    if (kept)
        kept->Commit();
    kept.reset();
}

// Every vertex's place and every circle's radius, as the figure stands.
std::vector<double> History::Figure() const
{
    std::vector<double> figure;
    for (DiagramComp* d : document->drawings) {
        for (VertexShape* vertex : CollectVertices(d->GetShapes()))
            figure.insert(figure.end(), {vertex->GetPoint().x, vertex->GetPoint().y});
        for (DiagramShape* shape : d->GetShapes())
            if (auto* circle = dynamic_cast<CircleShape*>(shape))
                figure.push_back(circle->GetRadius());
    }
    return figure;
}

void History::Perform(std::unique_ptr<TAction> action, const State& before, Exactness exactness)
{
    const std::vector<double> figure = Figure();
    action->Perform();
    // A refused step leaves everything as it was, and the view keeps the
    // step before it for Undo.
    if (action->WasRefused()) {
        if (Figure() != figure)
            Fault("a refused step leaves the figure moved");
        if (Capture().bytes != before.bytes)
            Fault("a refused step does not leave the document as it was");
        action->Commit();
        Check(", refused");
        return;
    }
    CommitKept();
    kept = std::move(action);
    keptBefore = before;
    keptAfter = Capture();
    keptExactness = exactness;
    Check(", done");
    UndoOrRedo();
    UndoOrRedo();
}

// Whatever the order of the selection, a shape selected whole leaves no
// side or edge behind.
void History::Remove(std::unique_ptr<TAction> action, const State& before)
{
    DiagramComp& d = Current();
    std::set<DiagramShape*> whole;
    for (DiagramShape* shape : d.GetSelectedShapes())
        if (!shape->IsVertexShape() && d.GetShapes().Contains(shape))
            for (DiagramShape* part : shape->GetParts())
                if (!part->IsVertexShape())
                    whole.insert(part);
    Perform(std::move(action), before, {true, true, Index(d)});
    for (DiagramShape* part : Reachable(d))
        if (whole.count(part)) {
            Fault("a side of a shape removed whole stays in the drawing");
            break;
        }
}

void History::UndoOrRedo()
{
    if (!kept)
        return;
    const bool undo = kept->IsDone();
    if (undo)
        kept->Revert();
    else
        kept->Redo();
    const std::string what = undo ? "undo" : "redo";
    phase = ", " + what;
    Expect(undo ? keptBefore : keptAfter, undo ? keptExactness.undoSelection : keptExactness.redoSelection, what);
    Check(", " + what);
}

void History::Toggle(DiagramShape* shape)
{
    // As a shift-click: a part of a selected shape is not picked on its own.
    DiagramShape* owner = shape->GetOwnerShape();
    if (owner && owner->IsSelected() && !Current().GetSelectedShapes().Contains(shape))
        return;
    Current().SelectShape(shape, true);
}

std::vector<DiagramShape*> History::Parts() const
{
    std::vector<DiagramShape*> parts;
    for (DiagramShape* shape : Current().GetShapes())
        for (DiagramShape* part : shape->GetParts())
            if (!part->IsVertexShape())
                parts.push_back(part);
    return parts;
}

void History::Drag(uint8_t which, int8_t dx, int8_t dy)
{
    const ItemArray<VertexShape> vertices = CollectVertices(Current().GetShapes());
    if (vertices.IsEmpty())
        return;
    DiagramComp& d = Current();
    const IntPoint from = d.GetDC().WorldToScreen(vertices.GetAt(which % vertices.GetCount())->GetPoint());
    const IntPoint to(from.x + dx, from.y + dy);
    const State before = Capture();
    VertexDragTracker tracker(view, &d);
    tracker.MouseDown(from);
    tracker.MouseMove(IntPoint(from.x + dx / 2, from.y + dy / 2));
    tracker.MouseUp(to);
    if (std::unique_ptr<TAction> action{tracker.TakeAction()})
        Perform(std::move(action), before, {});
}

void History::Make(uint8_t which)
{
    DiagramComp& d = Current();
    const DrawingMaker& maker = *Makers()[which % Makers().size()];
    if (!maker.CanMake(d.GetSelectedShapes(), d.GetDC()))
        return;
    const State before = Capture();
    if (std::unique_ptr<TAction> action{maker.Make(&view, d.GetSelectedShapes(), d, DPoint(1, 1))})
        Perform(std::move(action), before, {});
}

// As the value display's dialog does on OK: the typed text, Locked kept or
// set (a value a constraint locks, a fixed radius, is never unlocked here),
// one step the view performs and keeps.
void History::TypeValue(uint8_t which, uint8_t multiple, uint8_t locked)
{
    std::vector<DrawVariable*> values;
    for (DrawConstraint* constraint : Current().GetConstraints())
        if (DrawVariable* variable = constraint->GetVariable(0))
            values.push_back(variable);
    if (values.empty())
        return;
    static constexpr double kMultiples[] = {0.5, 0.8, 1.25, 1.5, 2.0};
    DrawVariable* variable = values[which % values.size()];
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", variable->GetValue() * kMultiples[multiple % std::size(kMultiples)]);
    DrawValueComp display(variable);
    const State before = Capture();
    if (std::unique_ptr<TAction> edit = display.MakeEdit(locked % 2 == 1 || variable->IsFixed(), Str255(text)))
        Perform(std::move(edit), before, {});
    else
        Fault(std::string("the value ") + text + " is refused");
}

// The figure measured against each constraint, to a ten-millionth of its
// extent. A lock (a fixed point, a fixed radius) holds its variable at the
// value it holds, which a value typed for a fixed radius moves; a lock
// cleared holds nothing. A name its label gives holds in place of a
// constraint's own value.
std::set<const ConstraintEqn*> History::Broken() const
{
    std::set<const ConstraintEqn*> broken;
    for (DiagramComp* d : document->drawings)
        for (const ConstraintEqn* equation : FigureMisses(*d, kFigureShare))
            broken.insert(equation);
    return broken;
}

Measures History::Measure() const
{
    Measures measures;
    auto span = [](const DrawVariable* x1, const DrawVariable* y1, const DrawVariable* x2, const DrawVariable* y2) {
        return std::hypot(x1->GetValue() - x2->GetValue(), y1->GetValue() - y2->GetValue());
    };
    for (DiagramComp* d : document->drawings) {
        for (DiagramShape* shape : d->GetShapes()) {
            for (DiagramShape* side : shape->GetSides())
                if (auto* segment = dynamic_cast<SegmentShape*>(side))
                    measures.figures[{segment, 0}] =
                        segment->GetStart()->GetPoint().Distance(segment->GetEnd()->GetPoint());
            if (auto* circle = dynamic_cast<CircleShape*>(shape)) {
                measures.figures[{circle, 0}] = std::fabs(circle->GetRadius());
                measures.lengths[circle->GetRadiusVar()] = circle->GetRadius();
            }
        }
        for (DrawConstraint* constraint : d->GetConstraints()) {
            if (dynamic_cast<DistanceConstraint*>(constraint) || dynamic_cast<EqualLengthConstraint*>(constraint) ||
                dynamic_cast<RadiusConstraint*>(constraint))
                measures.lengths[constraint->GetVariable(0)] = constraint->GetVariable(0)->GetValue();
            for (int i = 0; i < constraint->GetEquationCount(); ++i)
                if (const auto* angle = dynamic_cast<const AngleEqn*>(constraint->GetEquation(i))) {
                    auto f = [angle](int k) { return angle->GetField(k); };
                    measures.figures[{angle, 0}] = span(f(0), f(1), f(2), f(3));
                    measures.figures[{angle, 1}] = span(f(4), f(5), f(2), f(3));
                }
        }
    }
    return measures;
}

void History::CheckSolved(const std::set<const ConstraintEqn*>& brokenBefore, const Measures& before, size_t toldBefore)
{
    if (Told() != toldBefore)
        return;
    for (const ConstraintEqn* equation : Broken())
        if (!brokenBefore.count(equation)) {
            Fault("an equation does not hold, and the user was not told");
            return;
        }
    // Ten times the share of the larger figure's extent is a point.
    const double point = 10.0 * kFigureShare *
        std::max(FigureExtent(*document->drawings[0]), FigureExtent(*document->drawings[1]));
    const Measures now = Measure();
    for (const auto& [variable, value] : now.lengths)
        if (value < 0.0 && !(before.lengths.count(variable) && before.lengths.at(variable) < 0.0)) {
            Fault("a length turned negative (" + std::to_string(value) + "), and the user was not told");
            return;
        }
    for (const auto& [figure, length] : now.figures)
        if (auto was = before.figures.find(figure);
            was != before.figures.end() && was->second > point && !(length > point)) {
            Fault("a figure " + std::to_string(was->second) + " long shrank to a point, and the user was not told");
            return;
        }
}

// The view goes with the document: the kept action is committed first.
void History::SaveAndRead()
{
    CommitKept();
    document = Document::Read(document->Write());
}

void History::Do(Step step, const uint8_t*& at, const uint8_t* end)
{
    const auto next = [&]() -> uint8_t { return at < end ? *at++ : 0; };
    DiagramComp& d = Current();
    switch (step) {
    case Step::SelectVertex: {
        const ItemArray<VertexShape> vertices = CollectVertices(d.GetShapes());
        const uint8_t which = next();
        if (!vertices.IsEmpty())
            Toggle(vertices.GetAt(which % vertices.GetCount()));
        break;
    }
    case Step::SelectShape: {
        const uint8_t which = next();
        if (!d.GetShapes().IsEmpty())
            Toggle(d.GetShapes().GetAt(which % d.GetShapes().GetCount()));
        break;
    }
    case Step::SelectPart: {
        const std::vector<DiagramShape*> parts = Parts();
        const uint8_t which = next();
        if (!parts.empty())
            Toggle(parts[which % parts.size()]);
        break;
    }
    case Step::SelectConstraint: {
        const uint8_t which = next();
        if (!d.GetConstraints().IsEmpty())
            d.SelectConstraint(d.GetConstraints().GetAt(which % d.GetConstraints().GetCount()), true);
        break;
    }
    case Step::SelectLabel: {
        const uint8_t which = next();
        if (!d.GetLabels().IsEmpty())
            d.ClickLabel(d.GetLabels().GetAt(which % d.GetLabels().GetCount()), true);
        break;
    }
    case Step::SelectAll: d.SelectInRect(DPoint(-1000, 1000), DPoint(1000, -1000), false); break;
    case Step::Deselect: d.DeselectAll(true); break;
    case Step::Delete:
        if (d.HasSelection())
            Remove(std::make_unique<TDeleteDrawingAction>(&d), Capture());
        break;
    case Step::Cut:
        if (d.HasSelection())
            Remove(std::make_unique<TCutDrawingAction>(&d, &clipboard), Capture());
        break;
    case Step::Copy:
        if (d.HasSelection())
            Perform(std::make_unique<TCopyAction>(DocSelection::SelectObject(&d), &clipboard), Capture(), {});
        break;
    case Step::Paste:
    case Step::PasteInOther: {
        // Paste is offered only while the clipboard holds something.
        if (!clipboard.HasData())
            break;
        DiagramComp* target = step == Step::Paste ? &d : document->drawings[static_cast<size_t>(1 - current)];
        Perform(std::make_unique<TPasteDrawingAction>(target, &clipboard), Capture(), {false, true, Index(*target)});
        break;
    }
    case Step::Undo: UndoOrRedo(); break;
    case Step::Commit: CommitKept(); break;
    case Step::Drag: {
        const uint8_t which = next();
        const auto dx = static_cast<int8_t>(next());
        const auto dy = static_cast<int8_t>(next());
        Drag(which, dx, dy);
        break;
    }
    case Step::Make: Make(next()); break;
    case Step::SaveAndRead: SaveAndRead(); break;
    case Step::OtherDrawing: current = 1 - current; break;
    case Step::TypeValue: {
        const uint8_t which = next();
        const uint8_t multiple = next();
        TypeValue(which, multiple, next());
        break;
    }
    case Step::CountWhenSolving: break;
    }
}

const char* const kStepNames[] = {"select vertex", "select shape", "select part", "select constraint",
                                  "select label",  "select all",   "deselect",    "delete",
                                  "cut",           "copy",         "paste",       "paste in the other drawing",
                                  "undo",          "commit",       "drag",        "make",
                                  "save and read", "other drawing", "type value"};
static_assert(std::size(kStepNames) == static_cast<size_t>(Step::CountWhenSolving));

bool Solves(Step step)
{
    return step == Step::Make || step == Step::TypeValue || step == Step::Drag;
}

} // namespace

std::vector<uint8_t> Script(Scene scene, std::initializer_list<ScriptStep> steps)
{
    return Script(scene, std::vector<ScriptStep>(steps));
}

std::vector<uint8_t> Script(Scene scene, const std::vector<ScriptStep>& steps)
{
    std::vector<uint8_t> bytes{static_cast<uint8_t>(scene)};
    for (const ScriptStep& step : steps) {
        bytes.push_back(static_cast<uint8_t>(step.step));
        bytes.insert(bytes.end(), step.arguments.begin(), step.arguments.end());
    }
    return bytes;
}

std::vector<uint8_t> RandomScript(uint32_t seed, int steps, Options options)
{
    // How often each step is drawn and how many argument bytes it takes, in
    // the order of Step: selections, removals and undo more often.
    constexpr int kWeights[] = {3, 2, 1, 1, 1, 1, 1, 2, 1, 1, 1, 1, 2, 1, 1, 2, 1, 1};
    constexpr int kArguments[] = {1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 1, 0, 0};
    static_assert(std::size(kWeights) == static_cast<size_t>(Step::Count));
    static_assert(std::size(kArguments) == static_cast<size_t>(Step::Count));
    std::vector<Step> drawn;
    for (size_t step = 0; step < std::size(kWeights); ++step)
        drawn.insert(drawn.end(), static_cast<size_t>(kWeights[step]), static_cast<Step>(step));
    if (options.solving)
        drawn.insert(drawn.end(), 2, Step::TypeValue);
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes{static_cast<uint8_t>(random() % static_cast<uint32_t>(Scene::Count))};
    for (int i = 0; i < steps; ++i) {
        const Step step = drawn[random() % drawn.size()];
        bytes.push_back(static_cast<uint8_t>(step));
        const int arguments = step == Step::TypeValue ? 3 : kArguments[static_cast<size_t>(step)];
        for (int a = 0; a < arguments; ++a)
            bytes.push_back(static_cast<uint8_t>(random() & 0xFF));
    }
    return bytes;
}

std::string RunHistory(const uint8_t* data, size_t size, Options options)
{
    if (size == 0)
        return {};
    const uint8_t* at = data + 1;
    const uint8_t* end = data + size;
    const auto scenes = static_cast<uint8_t>(options.solving ? Scene::CountWhenSolving : Scene::Count);
    History history(static_cast<Scene>(data[0] % scenes), options);
    const auto kinds = static_cast<uint8_t>(options.solving ? Step::CountWhenSolving : Step::Count);
    // The first step that finds a fault ends the run: what follows it
    // would mostly repeat it.
    for (int number = 1; at < end && history.faults.empty(); ++number) {
        const auto step = static_cast<Step>(*at++ % kinds);
        history.stepName = std::to_string(number) + " " + kStepNames[static_cast<size_t>(step)];
        const bool solves = options.solving && Solves(step);
        const std::set<const ConstraintEqn*> broken = solves ? history.Broken() : std::set<const ConstraintEqn*>{};
        const Measures measures = solves ? history.Measure() : Measures{};
        const size_t told = history.Told();
        history.Do(step, at, end);
        if (solves)
            history.CheckSolved(broken, measures, told);
        history.Check();
    }
    return history.faults;
}

} // namespace drawing_history
