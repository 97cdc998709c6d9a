#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/ConstraintEqn.h"
#include "drawing/ValueConstraint.h"
#include "drawing/CurveShape.h"
#include "drawing/PlotShape.h"
#include "drawing/PolygonShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/DiagramEdit.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingComponents.h"
#include "drawing/DrawingMaker.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/LinkRemap.h"
#include "foundation/LinkTarget.h"
#include "foundation/TAction.h"
#include "foundation/MemoryStream.h"
#include "foundation/ParagraphComp.h"
#include "foundation/TextLayoutItemMaker.h"
#include "math/MathComponents.h"
#include "plot/PlotCurveSet.h"
#include "plot/PlotItems.h"
#include "support/model/ArchiveStore.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace {

void BindLink(TargetLink* link, LinkTarget* target)
{
    link->SetTarget(target);
}

std::unique_ptr<CompArray> Chars(FontManager& fonts, const std::string& text)
{
    auto array = std::make_unique<CompArray>();
    for (char c : text)
        array->Append(fonts.GetFace(0)->GetCharacter(static_cast<unsigned char>(c)));
    return array;
}

} // namespace

namespace {
StatusRecorder* gRecorder = nullptr;
}

StatusRecorder::StatusRecorder()
{
    gRecorder = this;
    SetStatusTextSink([](const char* text) { gRecorder->texts.push_back(text ? text : ""); });
}

StatusRecorder::~StatusRecorder()
{
    SetStatusTextSink(nullptr);
    gRecorder = nullptr;
}

void ListDeleter::operator()(ParagraphList* list) const
{
    list->DeleteAll();
    delete list;
}

DrawingTest::DrawingTest() : image(420, 560, QImage::Format_RGB32)
{
    RegisterMathComponents();
    RegisterDrawingComponents();
    InstallTextLayout();
    image.fill(Qt::white);
    SetImageDpi(image, 96);
    dc = std::make_unique<CImageDC>(image);
    gDrawContext.BeginDrawOnDC(&screen, dc.get());
    gDrawContext.SetBaseSize(DrawContext::kDefaultBaseSize);
    gDrawContext.SetFontFamily(0);
}

DrawingTest::~DrawingTest()
{
    UnwindDrawContext();
}

SampleParts DrawingTest::MakeSample()
{
    SampleParts s;
    s.diagram = new DiagramComp;
    s.diagram->SetSize(2000, 2000);
    s.diagram->GetDC().SetWorldOrigin(DPoint(-5.0, 4.0));
    s.a = new VertexShape(-2.5, 0.5);
    s.c1 = new CircleShape(s.a, new DrawVariable(1.5, false));
    s.b = new VertexShape(1.5, 0.0);
    s.c2 = new CircleShape(s.b, new DrawVariable(1.0, false));
    ShapeStyle filled;
    filled.filled = true;
    filled.fillColour = RGB(200, 220, 255);
    filled.penStyle = drawing::kThick;
    s.c3 = new CircleShape(s.b, new DrawVariable(2.0, true), filled);
    s.diagram->AddShape(s.c3);
    s.diagram->AddShape(s.c1);
    s.diagram->AddShape(s.c2);
    s.diagram->AddLabel(s.a->MakeLabel(s.diagram));
    auto row = Chars(fonts, "r=");
    row->Append(new DrawValueComp(s.c1->GetRadiusVar()));
    s.diagram->AddLabel(new DrawLabel(s.diagram, DPoint(-0.5, 3.0), DPoint(0.0, 0.0), true, new CompList(std::move(row))));
    s.diagram->GetVariables().SetNamed(Str255("a"), 2.5);
    return s;
}

DiagramComp* DrawingTest::MakeShapeKinds()
{
    auto* d = new DiagramComp;
    d->SetSize(2000, 2000);
    d->GetDC().SetWorldOrigin(DPoint(-5.0, 4.0));
    auto* segment = new SegmentShape(new VertexShape(-4.5, 3.5), new VertexShape(-2.5, 2.2));
    ShapeStyle arrows;
    arrows.penStyle = drawing::kThick | drawing::kStartArrowBit | drawing::kEndArrowBit;
    arrows.lineColour = RGB(0, 0, 200);
    segment->SetStyle(arrows);
    d->AddShape(segment);
    d->AddLabel(segment->MakeLabel(d));
    auto* curve = new CurveShape(new VertexShape(-1.8, 3.5), new VertexShape(1.2, 3.5), new VertexShape(-1.5, 1.8),
                                 new VertexShape(0.9, 1.8));
    ShapeStyle dashed;
    dashed.penStyle = drawing::kMedium | (2 << drawing::kDashShift) | drawing::kEndArrowBit;
    curve->SetStyle(dashed);
    d->AddShape(curve);
    auto* triangle = new TriangleShape(new VertexShape(-4.5, 0.0), new VertexShape(-2.5, 0.0),
                                       new VertexShape(-3.5, 1.3));
    ShapeStyle filled;
    filled.filled = true;
    filled.fillColour = RGB(255, 220, 160);
    triangle->SetStyle(filled);
    d->AddShape(triangle);
    d->AddShape(new RectangleShape(new VertexShape(-2.0, 0.0), new VertexShape(0.0, 0.0), new VertexShape(0.0, 1.2),
                                   new VertexShape(-2.0, 1.2)));
    auto* a = new VertexShape(0.5, 0.0);
    auto* b = new VertexShape(1.5, 1.3);
    ItemArray<EdgeShape> open;
    open.Add(new SegmentShape(a, b));
    open.Add(new CurveShape(b, new VertexShape(3.3, 0.0), new VertexShape(3.3, 1.8), new VertexShape(2.5, -0.8)));
    d->AddShape(new PolygonShape(open));
    VertexShape* c[] = {new VertexShape(-4.5, -2.3), new VertexShape(-2.5, -2.3), new VertexShape(-3.5, -0.6)};
    ItemArray<EdgeShape> closed;
    closed.Add(new SegmentShape(c[0], c[1]));
    closed.Add(new CurveShape(c[1], c[2], new VertexShape(-1.5, -1.5), new VertexShape(-2.3, -0.5)));
    closed.Add(new SegmentShape(c[2], c[0]));
    auto* polygon = new PolygonShape(closed);
    filled.fillColour = RGB(190, 230, 190);
    polygon->SetStyle(filled);
    d->AddShape(polygon);
    auto* plot = new PlotShape(new CompList(Chars(fonts, "sin(2x)")), false);
    auto curves = std::make_unique<PlotCurveSet>();
    curves->BeginCurve();
    std::vector<DPoint> points;
    for (int i = 0; i <= 40; ++i)
        points.emplace_back(-0.5 + i * 0.1, -1.5 + 0.6 * std::sin(2 * (-0.5 + i * 0.1)));
    curves->AddItem(std::make_unique<PlotPolyline>(std::move(points)));
    curves->EndCurve();
    plot->SetCurves(std::move(curves));
    plot->SetPending(true);
    ShapeStyle red;
    red.lineColour = RGB(200, 0, 0);
    plot->SetStyle(red);
    d->AddShape(plot);
    DrawLabel* formula = plot->MakeLabel(d);
    formula->SetOffset(DPoint(2.0, -1.6));
    d->AddLabel(formula);
    return d;
}

ListPtr DrawingTest::ListOf(DiagramComp* drawing)
{
    auto list = NewList();
    auto row = std::make_unique<CompArray>();
    row->Append(drawing);
    list->Append(new ParagraphComp(std::move(row), 3));
    return list;
}

MakerTest::MakerTest() : drawing(new DiagramComp), list(ListOf(drawing))
{
    drawing->SetSize(2000, 2000);
    drawing->GetDC().SetWorldOrigin(DPoint(-5.0, 6.0));
}

const ItemArray<DiagramShape>& MakerTest::Select(const std::vector<DiagramShape*>& shapes)
{
    drawing->DeselectAll(false);
    for (DiagramShape* shape : shapes)
        drawing->SelectShape(shape, true);
    return drawing->GetSelectedShapes();
}

std::string MakerTest::Accepts(std::span<const DrawingMaker* const> makers,
                               const ItemArray<DiagramShape>& selected) const
{
    std::string answers;
    for (const DrawingMaker* maker : makers)
        answers += maker->CanMake(selected, drawing->GetDC()) ? '1' : '0';
    return answers;
}

void MakerTest::ExpectUndoRedo(TAction& action, const std::vector<uint8_t>& before, int rounds)
{
    const std::vector<uint8_t> done = WriteComponent(*drawing);
    for (int round = 0; round < rounds; ++round) {
        action.Revert();
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        EXPECT_EQ(WriteComponent(*drawing), before) << "undone";
        action.Redo();
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        EXPECT_EQ(WriteComponent(*drawing), done) << "redone";
    }
}

ListPtr DrawingTest::NewList()
{
    return ListPtr(new ParagraphList(&document));
}

ListPtr DrawingTest::MakeSampleDocument()
{
    auto list = NewList();
    SampleParts first = MakeSample();
    auto line = Chars(fonts, "Circles ");
    line->Append(first.diagram);
    list->Append(new ParagraphComp(std::move(line), 3));

    LinkRemap remap;
    auto* copy = static_cast<DiagramComp*>(first.diagram->Clone(remap));
    remap.RebindLinks();
    auto second = std::make_unique<CompArray>();
    second->Append(copy);
    second->Append(new DrawValueComp(first.a->GetXVar()));
    list->Append(new ParagraphComp(std::move(second), 3));
    return list;
}

std::vector<uint8_t> DrawingTest::WriteList(const ParagraphList& list)
{
    return StoreArchive([&list](DocWriter& writer) { list.Write(writer, false); });
}

ListPtr DrawingTest::ReadList(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> copy = bytes;
    MemoryStream stream(copy.data(), static_cast<int32_t>(copy.size()));
    DocReader reader(&stream);
    auto list = NewList();
    list->ReadCounted(reader);
    reader.ResolveLinks(BindLink);
    return list;
}

std::vector<uint8_t> DrawingTest::WriteComponent(TextComp& comp)
{
    return StoreArchive([&comp](DocWriter& writer) { writer.WriteComponentRecord(&comp); });
}

std::unique_ptr<TextComp, void (*)(TextComp*)> DrawingTest::ReadComponent(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> copy = bytes;
    MemoryStream stream(copy.data(), static_cast<int32_t>(copy.size()));
    DocReader reader(&stream);
    TextComp* comp = reader.ReadComponent();
    reader.ResolveLinks(BindLink);
    return {comp, [](TextComp* c) { c->Delete(); }};
}

QString DrawingTest::OutputDir()
{
    QString dir = QStringLiteral(QV_TEST_OUTPUT);
    QDir().mkpath(dir);
    return dir;
}

namespace {

void Fault(std::string& faults, const std::string& text)
{
    faults += text + "; ";
}

// The shapes a listed shape holds, down to the edges of polygons.
ItemArray<DiagramShape> PartsOf(DiagramShape* shape)
{
    ItemArray<DiagramShape> parts;
    for (DiagramShape* part : shape->GetParts()) {
        parts.AddOnce(part);
        for (DiagramShape* inner : part->GetParts())
            parts.AddOnce(inner);
    }
    return parts;
}

// Edges and circles, each once: what the use counts count.
void AddUsers(DiagramShape* shape, std::set<DiagramShape*>& users)
{
    if (shape->IsEdge() || shape->IsCircle())
        users.insert(shape);
    for (DiagramShape* part : shape->GetParts())
        if (part->IsEdge())
            users.insert(part);
}

std::set<DiagramShape*> Reachable(const DiagramComp& diagram)
{
    std::set<DiagramShape*> reachable;
    for (DiagramShape* shape : diagram.GetShapes()) {
        reachable.insert(shape);
        for (DiagramShape* part : PartsOf(shape))
            reachable.insert(part);
    }
    return reachable;
}

void AddHeld(const std::set<DiagramShape*>& shapes, std::set<const DiagramItem*>& held)
{
    for (DiagramShape* shape : shapes) {
        held.insert(shape);
        for (DiagramShape* part : PartsOf(shape))
            held.insert(part);
        for (VertexShape* vertex : shape->GetVertices())
            held.insert(vertex);
    }
}

// A removed part may keep sharing vertices with what stayed: owners are
// looked for in every drawing checked (all). Shapes that another drawing
// answers for (elsewhere: a point it lists, a vertex the first drawing holds
// that a removed shape shares) are selected and labelled there.
void CheckDrawing(const DiagramComp& diagram, const std::set<DiagramShape*>& listed, const std::set<DiagramShape*>& all,
                  const std::set<DiagramShape*>& elsewhere, const std::set<const DiagramItem*>& alive,
                  std::string& faults)
{
    std::set<DiagramShape*> reachable;
    std::set<DiagramShape*> parts;
    for (DiagramShape* shape : diagram.GetShapes()) {
        if (shape->GetOwnerShape())
            Fault(faults, "a listed shape has an owner");
        reachable.insert(shape);
        for (DiagramShape* part : PartsOf(shape)) {
            if (!part->IsVertexShape() && !parts.insert(part).second)
                Fault(faults, "a part belongs to two shapes");
            reachable.insert(part);
            if (!part->IsVertexShape() && part->GetOwnerShape() != shape && part->GetOwnerShape()->GetOwnerShape())
                Fault(faults, "a side is not owned by its shape");
        }
    }
    std::set<DiagramShape*> once;
    for (DiagramShape* shape : diagram.GetShapes())
        if (!once.insert(shape).second)
            Fault(faults, "a shape is listed twice");
    for (DiagramShape* shape : diagram.GetShapes()) {
        if (!shape->IsVertexShape())
            continue;
        for (DiagramShape* other : diagram.GetShapes())
            if (other != shape && other->GetVertexUses().Contains(static_cast<VertexShape*>(shape)))
                Fault(faults, "a listed vertex is used by another shape");
    }
    for (DiagramShape* shape : diagram.GetShapes())
        for (VertexShape* vertex : shape->GetVertexUses()) {
            DiagramShape* owner = vertex->GetOwnerShape();
            if (listed.count(vertex)) {
                if (owner)
                    Fault(faults, "a listed vertex has an owner");
                continue;
            }
            if (!owner || owner->IsVertexShape() || !all.count(owner) || !owner->GetVertices().Contains(vertex))
                Fault(faults, "a vertex is not owned by a shape that holds it");
        }
    std::set<DrawLabel*> labels;
    for (DrawLabel* label : diagram.GetLabels()) {
        if (!labels.insert(label).second)
            Fault(faults, "a label is listed twice");
        auto* owner = dynamic_cast<DiagramShape*>(label->GetOwner());
        if (label->GetOwner() && owner && !reachable.count(owner))
            Fault(faults, "a label belongs to an item not in the drawing");
        if (owner && owner->GetLabel() != label)
            Fault(faults, "a label's item does not hold it");
        if (label->GetDiagram() != &diagram)
            Fault(faults, "a label names another drawing");
    }
    const auto listedElsewhere = [&](const DrawLabel* label) {
        auto* owner = dynamic_cast<DiagramShape*>(label->GetOwner());
        return owner && elsewhere.count(owner);
    };
    for (DiagramShape* shape : diagram.GetShapes())
        for (DrawLabel* label : shape->GetLabels())
            if (!labels.count(label) && !listedElsewhere(label))
                Fault(faults, "a label of a shape is not listed");
    for (DiagramShape* shape : diagram.GetSelectedShapes())
        if (!reachable.count(shape) || !shape->IsSelected())
            Fault(faults,
                  std::string("the selection lists a shape that is not selected") +
                      (reachable.count(shape) ? " (not marked)" : " (not held)"));
    for (DiagramShape* shape : diagram.GetShapes())
        if (shape->IsSelected() && !diagram.GetSelectedShapes().Contains(shape))
            Fault(faults, "a selected shape is not in the selection");
    // A selected shape marks its parts and vertices selected too.
    std::set<DiagramShape*> covered;
    for (DiagramShape* shape : diagram.GetSelectedShapes()) {
        covered.insert(shape);
        for (DiagramShape* part : PartsOf(shape))
            covered.insert(part);
        for (VertexShape* vertex : shape->GetVertices())
            covered.insert(vertex);
    }
    for (DiagramShape* shape : reachable) {
        if (elsewhere.count(shape) || (shape->GetOwnerShape() && !reachable.count(shape->GetOwnerShape())))
            continue;
        bool listedSelection = false;
        for (DiagramShape* up = shape; up && !listedSelection; up = up->GetOwnerShape())
            listedSelection = covered.count(up) > 0;
        if (shape->IsSelected() && !listedSelection)
            Fault(faults, "a selected part is not in the selection");
    }
    for (DrawConstraint* constraint : diagram.GetSelectedConstraints())
        if (!diagram.GetConstraints().Contains(constraint) || !constraint->IsSelected())
            Fault(faults, "the selection lists a constraint that is not selected");
    std::set<const DiagramItem*> held;
    AddHeld(reachable, held);
    for (DrawConstraint* constraint : diagram.GetConstraints()) {
        if (constraint->IsSelected() && !diagram.GetSelectedConstraints().Contains(constraint))
            Fault(faults, "a selected constraint is not in the selection");
        const std::vector<const DiagramItem*> bound = constraint->GetBoundItems();
        for (const DiagramItem* item : bound)
            if (!held.count(item) && !alive.count(item))
                Fault(faults, "a constraint binds an item that its drawing does not hold");
        if (constraint->GetTag() == tag_EqlC &&
            std::set<const DiagramItem*>(bound.begin(), bound.end()).size() < bound.size())
            Fault(faults, "an equal-length constraint holds a segment twice");
    }
}

} // namespace

std::string OwnershipFaults(const std::vector<const DiagramComp*>& drawings, const DiagramEditList* edits)
{
    std::string faults;
    std::set<DiagramShape*> users;
    std::set<DiagramShape*> listed;
    std::set<DiagramShape*> all;
    for (const DiagramComp* diagram : drawings) {
        listed.insert(diagram->GetShapes().begin(), diagram->GetShapes().end());
        for (DiagramShape* shape : Reachable(*diagram))
            all.insert(shape);
    }
    // A removal's constraints may bind what stays and what its records hold
    // until the removal is final; the drawing that stays binds only what it
    // holds itself.
    std::set<const DiagramItem*> alive;
    for (const DiagramComp* diagram : drawings)
        AddHeld(Reachable(*diagram), alive);
    if (edits)
        for (DiagramEdit* edit : edits->GetEdits())
            if (auto* group = dynamic_cast<DiagramEditGroup*>(edit); group && group->Owns())
                AddHeld({group->GetCompound()}, alive);
    // A removed drawing frees the vertices it lists: none may be one the
    // first drawing still holds.
    const std::set<DiagramShape*> kept = Reachable(*drawings.front());
    for (size_t i = 1; i < drawings.size(); ++i)
        for (DiagramShape* shape : drawings[i]->GetShapes())
            if (shape->IsVertexShape() && kept.count(shape))
                Fault(faults, "a vertex the removed drawing lists is held by the drawing");
    for (const DiagramComp* diagram : drawings) {
        std::set<DiagramShape*> elsewhere;
        for (DiagramShape* shape : listed)
            if (!diagram->GetShapes().Contains(shape))
                elsewhere.insert(shape);
        if (diagram != drawings.front())
            for (DiagramShape* shape : kept)
                elsewhere.insert(shape);
        CheckDrawing(*diagram, listed, all, elsewhere,
                     diagram == drawings.front() ? std::set<const DiagramItem*>() : alive, faults);
        for (DiagramShape* shape : diagram->GetShapes())
            AddUsers(shape, users);
    }
    if (edits)
        for (DiagramEdit* edit : edits->GetEdits())
            if (auto* group = dynamic_cast<DiagramEditGroup*>(edit); group && group->Owns())
                AddUsers(group->GetCompound(), users);
    std::map<VertexShape*, int> uses;
    for (const DiagramComp* diagram : drawings)
        for (DiagramShape* shape : diagram->GetShapes())
            for (VertexShape* vertex : shape->GetVertices())
                uses.try_emplace(vertex, 0);
    for (DiagramShape* user : users)
        for (VertexShape* vertex : user->GetVertexUses())
            ++uses[vertex];
    for (auto [vertex, count] : uses)
        if (vertex->GetUseCount() != count)
            Fault(faults, "a vertex's use count is " + std::to_string(vertex->GetUseCount()) + ", its uses " +
                              std::to_string(count));
    return faults;
}

namespace {

struct Vec {
    double x, y;
};

Vec Sub(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
double Cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double Norm(Vec a) { return std::hypot(a.x, a.y); }

// The unsigned angle between the two directions times the shorter of them.
double TurnMiss(Vec a, Vec c, double wanted)
{
    const double angle = std::atan2(std::fabs(Cross(a, c)), Dot(a, c));
    return std::fabs(angle - wanted) * std::min(Norm(a), Norm(c));
}

// Field k of the equation, or the named value standing in for it.
double Field(const ConstraintEqn& e, int k, const DrawVariable* own, double named)
{
    return e.GetField(k) == own ? named : e.GetField(k)->GetValue();
}

// The cubic with the four controls at t, built by de Casteljau's halving of
// the control polygon: the point, and the last chord of the construction,
// which is a third of the curve's derivative there.
std::pair<double, double> Casteljau(std::array<double, 4> c, double t)
{
    const auto between = [t](double a, double b) { return a + (b - a) * t; };
    for (size_t level = 3; level > 1; --level)
        for (size_t i = 0; i < level; ++i)
            c[i] = between(c[i], c[i + 1]);
    return {between(c[0], c[1]), c[1] - c[0]};
}

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return Sub(a, b); }
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k}; }

// The plot a constraint holds a point on, or null.
const PlotShape* PlotOf(const DrawConstraint& constraint)
{
    if (auto* plot = dynamic_cast<const PlotShape*>(constraint.GetCurveItem()))
        return plot;
    return dynamic_cast<const PlotShape*>(constraint.GetSecondItem());
}

// The point of the constraint that its point-on-plot equation holds.
std::optional<Vec> PlotPointOf(const DrawConstraint& constraint)
{
    for (int i = 0; i < constraint.GetEquationCount(); ++i)
        if (auto* e = dynamic_cast<const PlotPointEqn*>(constraint.GetEquation(i)))
            return Vec{e->GetField(0)->GetValue(), e->GetField(1)->GetValue()};
    return std::nullopt;
}

// The angle between two lines, either way round: in [0, pi/2].
double LineAngle(Vec a, Vec c)
{
    const double angle = std::atan2(std::fabs(Cross(a, c)), Dot(a, c));
    return std::min(angle, M_PI - angle);
}

// Where a plot's computed curve passes nearest a point: the distance to the
// nearest chord of its polylines, less what a smooth curve may bow away
// from that chord (an eighth of the second difference of the samples
// around it); the chord, and how far its neighbours turn from it.
struct PlotNearest {
    double distance = INFINITY;
    Vec chord{0, 0};
    double turn = 0;
};

PlotNearest NearestOnPlot(const PlotShape& plot, Vec p)
{
    PlotNearest nearest;
    const PlotCurveSet* curves = plot.GetCurves();
    for (int c = 0; curves && c < curves->GetCurveCount(); ++c)
        for (const auto& item : curves->GetCurve(c)) {
            auto* line = dynamic_cast<const PlotPolyline*>(item.get());
            const std::vector<DPoint> points = line ? line->GetPoints() : std::vector<DPoint>();
            // Samples before the first and after the last repeat the ends.
            const auto at = [&](size_t i, int step) {
                const DPoint q = points[std::clamp<ptrdiff_t>(ptrdiff_t(i) + step, 0, ptrdiff_t(points.size()) - 1)];
                return Vec{q.x, q.y};
            };
            for (size_t i = 0; i + 1 < points.size(); ++i) {
                const Vec a = at(i, 0), b = at(i, 1), chord = b - a;
                const double along =
                    Dot(chord, chord) > 0 ? std::clamp(Dot(p - a, chord) / Dot(chord, chord), 0.0, 1.0) : 0.0;
                const double bow = std::max(Norm(at(i, -1) - a * 2 + b), Norm(a - b * 2 + at(i, 2))) / 8;
                const double distance = std::max(0.0, Norm(p - (a + chord * along)) - bow);
                if (distance < nearest.distance)
                    nearest = {distance, chord,
                               std::max(LineAngle(a - at(i, -1), chord), LineAngle(at(i, 2) - b, chord))};
            }
        }
    return nearest;
}

double Miss(const DrawConstraint& constraint, const ConstraintEqn& e, const DrawVariable* own, double named)
{
    const auto v = [&](int k) { return Field(e, k, own, named); };
    const auto p = [&](int k) { return Vec{v(k), v(k + 1)}; };
    if (dynamic_cast<const DistanceEqn*>(&e))
        return std::fabs(Norm(Sub(p(1), p(3))) - v(0));
    if (dynamic_cast<const EqualEqn*>(&e))
        return std::fabs(v(0) - v(1));
    if (dynamic_cast<const MidpointEqn*>(&e))
        return std::fabs(2 * v(1) - v(0) - v(2)) / 2;
    if (dynamic_cast<const AngleEqn*>(&e))
        return TurnMiss(Sub(p(0), p(2)), Sub(p(4), p(2)), std::acos(std::cos(v(6))));
    if (dynamic_cast<const CollinearEqn*>(&e)) {
        const Vec line = Sub(p(4), p(0));
        return Norm(line) > 0 ? std::fabs(Cross(line, Sub(p(2), p(0)))) / Norm(line) : Norm(Sub(p(2), p(0)));
    }
    if (dynamic_cast<const ParallelEqn*>(&e)) {
        const Vec a = Sub(p(2), p(0)), c = Sub(p(6), p(4));
        return std::min(TurnMiss(a, c, 0.0), TurnMiss(a, c, M_PI));
    }
    if (dynamic_cast<const PerpendicularEqn*>(&e))
        return TurnMiss(Sub(p(0), p(2)), Sub(p(4), p(2)), M_PI / 2);
    if (dynamic_cast<const DirectionEqn*>(&e) || dynamic_cast<const NormalEqn*>(&e)) {
        const Vec d{v(0), v(1)}, line = Sub(p(4), p(2));
        const double across = dynamic_cast<const DirectionEqn*>(&e) ? Cross(line, d) : Dot(line, d);
        return Norm(d) > 0 ? std::fabs(across) / Norm(d) : 0.0;
    }
    if (dynamic_cast<const ArcMidpointEqn*>(&e)) {
        const Vec mid{(v(3) + 3 * v(5) + 3 * v(7) + v(9)) / 8, (v(4) + 3 * v(6) + 3 * v(8) + v(10)) / 8};
        return std::fabs(Norm(Sub(mid, p(0))) - std::fabs(v(2)));
    }
    // One coordinate of a point on a curve at its parameter: t, the point's coordinate, the four controls'.
    if (dynamic_cast<const BezierPointEqn*>(&e))
        return std::fabs(v(1) - Casteljau({v(2), v(3), v(4), v(5)}, v(0)).first);
    // The curve's direction at t (controls' x, their y, t) along (v, w), either way round.
    if (dynamic_cast<const CurveDirectionEqn*>(&e)) {
        const double t = v(8);
        const Vec along{Casteljau({v(0), v(1), v(2), v(3)}, t).second, Casteljau({v(4), v(5), v(6), v(7)}, t).second};
        return LineAngle(along, p(9)) * std::min(Norm(along), Norm(p(9)));
    }
    // A lock holds its variable at the value it was locked at, or at the
    // name its label gives; a lock cleared holds nothing.
    if (auto* fixed = dynamic_cast<const FixValueEqn*>(&e)) {
        const DrawVariable* held = e.GetField(0);
        if (held == own)
            return std::fabs(held->GetValue() - named);
        return held->IsFixed() ? std::fabs(held->GetValue() - fixed->GetConstant()) : 0.0;
    }
    // On the plot's computed curve; a tangent along it, within the turn of its samples there.
    const PlotShape* plot = PlotOf(constraint);
    if (dynamic_cast<const PlotPointEqn*>(&e))
        return plot ? NearestOnPlot(*plot, p(0)).distance : INFINITY;
    if (dynamic_cast<const PlotTangentEqn*>(&e)) {
        const std::optional<Vec> at = PlotPointOf(constraint);
        if (!plot || !at)
            return INFINITY;
        const PlotNearest nearest = NearestOnPlot(*plot, *at);
        return std::max(0.0, LineAngle(nearest.chord, p(0)) - nearest.turn) * Norm(p(0));
    }
    ADD_FAILURE() << "an equation of a kind the figure's measure does not know";
    return INFINITY;
}

} // namespace

double FigureMiss(const DrawConstraint& constraint, const ConstraintEqn& equation)
{
    return Miss(constraint, equation, nullptr, 0.0);
}

double FigureExtent(const DiagramComp& drawing)
{
    double left = INFINITY, right = -INFINITY, bottom = INFINITY, top = -INFINITY, radius = 0;
    for (const VertexShape* vertex : CollectVertices(drawing.GetShapes())) {
        left = std::min(left, vertex->GetPoint().x);
        right = std::max(right, vertex->GetPoint().x);
        bottom = std::min(bottom, vertex->GetPoint().y);
        top = std::max(top, vertex->GetPoint().y);
    }
    for (const DiagramShape* shape : drawing.GetShapes())
        if (shape->IsCircle())
            radius = std::max(radius, std::fabs(static_cast<const CircleShape*>(shape)->GetRadius()));
    return std::max(left <= right ? std::hypot(right - left, top - bottom) : 0.0, radius);
}

std::vector<const ConstraintEqn*> FigureMisses(const DiagramComp& drawing, double share)
{
    std::vector<const ConstraintEqn*> misses;
    // A figure drawn together to a point is held to the rounding of its coordinates.
    double largest = 0.0;
    for (const VertexShape* vertex : CollectVertices(drawing.GetShapes()))
        largest = std::max({largest, std::fabs(vertex->GetPoint().x), std::fabs(vertex->GetPoint().y)});
    const double allowed = std::max(share * FigureExtent(drawing), 1e-13 * largest);
    for (const DrawConstraint* constraint : drawing.GetConstraints()) {
        const DrawVariable* own = nullptr;
        double named = 0.0;
        if (LabelGivesValue(*constraint)) {
            Str255 text;
            constraint->GetLabel()->GetText()->GetPlainText(text);
            const DrawVariable* name = drawing.GetVariables().Find(text);
            if (!name)
                continue;
            own = constraint->GetVariable(0);
            named = name->GetValue();
        }
        for (int i = 0; i < constraint->GetEquationCount(); ++i)
            if (const ConstraintEqn* equation = constraint->GetEquation(i);
                equation && !(Miss(*constraint, *equation, own, named) <= allowed))
                misses.push_back(equation);
    }
    return misses;
}
