#include "drawing/PointConstraints.h"

#include "drawing/ConstraintMarks.h"
#include "drawing/DiagramDC.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawVariable.h"
#include "drawing/VertexShape.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "platform/Exceptions.h"

#include <cmath>

using namespace marks;

namespace {

bool InRect(const VertexShape* vertex, const DPoint& topLeft, const DPoint& bottomRight)
{
    return vertex->IsInRect(topLeft, bottomRight);
}

} // namespace

// ---- angle ----

AngleConstraint::AngleConstraint(VertexShape* p1, VertexShape* apex, VertexShape* p2)
    : m_p1(p1), m_apex(apex), m_p2(p2),
      m_angle(new DrawVariable(AngleAt(p1->GetPoint(), apex->GetPoint(), p2->GetPoint()), true))
{
    Build();
}

AngleConstraint::AngleConstraint(VertexShape* p1, VertexShape* apex, VertexShape* p2, DrawVariable* angle,
                                 bool visible, DrawLabel* label)
    : m_p1(p1), m_apex(apex), m_p2(p2), m_angle(angle)
{
    m_visible = visible;
    SetLabel(label);
    Build();
}

AngleConstraint::~AngleConstraint()
{
    m_equation.reset();
    delete m_angle;
}

void AngleConstraint::Build() { m_equation = std::make_unique<AngleEqn>(m_p1, m_apex, m_p2, m_angle); }

void AngleConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_p1);
    writer.WriteSharedObject(m_apex);
    writer.WriteSharedObject(m_p2);
    writer.WriteVariableRef(m_angle);
    WriteLabel(writer);
}

void AngleConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_p1 = ReadBoundVertex(reader);
    m_apex = ReadBoundVertex(reader);
    m_p2 = ReadBoundVertex(reader);
    m_angle = DrawVariable::ReadOwned(reader);
    ReadLabel(reader, context);
    Build();
}

// The angle held is the one below a half turn (its value is never more):
// the marker's arms in the order that makes the arc turn through it.
std::pair<DPoint, DPoint> AngleConstraint::MarkerArms() const
{
    const DPoint a = m_apex->GetPoint(), p1 = m_p1->GetPoint(), p2 = m_p2->GetPoint();
    if (CounterClockwiseTurn(p2 - a, p1 - a) <= M_PI)
        return {p1, p2};
    return {p2, p1};
}

DiagramItem* AngleConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    const auto [first, second] = MarkerArms();
    return HitsArc(point, m_apex->GetPoint(), first, second, dc) ? this : nullptr;
}

void AngleConstraint::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    dc.SetConstraintPen(IsSelected());
    const auto [first, second] = MarkerArms();
    DrawArc(dc, m_apex->GetPoint(), first, second);
}

void AngleConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    const auto [first, second] = MarkerArms();
    if (m_visible)
        SvgArc(writer, dc, m_apex->GetPoint(), first, second);
}

DPoint AngleConstraint::LabelPlace(const DiagramDC& dc) const
{
    const DPoint a = m_apex->GetPoint();
    const DPoint w = Unit((Unit(m_p1->GetPoint() - a) + Unit(m_p2->GetPoint() - a)) * 0.5);
    return a + w * (kArcRadius * dc.GetBaseScale());
}

DPoint AngleConstraint::GetLabelAnchor(const DiagramDC& dc) const
{
    const DPoint a = m_apex->GetPoint();
    const double radius = kArcRadius * dc.GetBaseScale();
    const DPoint middle = (Unit(m_p1->GetPoint() - a) + Unit(m_p2->GetPoint() - a)) * (radius * 0.5);
    return a + Unit(middle) * radius;
}

bool AngleConstraint::CanCopy(const ItemCopyMap& map) const { return AllCopied(map, {m_p1, m_apex, m_p2}); }

DrawConstraint* AngleConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    return new AngleConstraint(Image(map, m_p1), Image(map, m_apex), Image(map, m_p2),
                               map.FindOrCloneVariable(m_angle), m_visible, CopyLabel(map));
}

int AngleConstraint::SelectionCode() const { return marks::SelectionCode({m_p1, m_apex, m_p2}); }

std::vector<const DiagramItem*> AngleConstraint::GetBoundItems() const { return {m_p1, m_apex, m_p2}; }

bool AngleConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    return InRect(m_p1, topLeft, bottomRight) && InRect(m_apex, topLeft, bottomRight) &&
           InRect(m_p2, topLeft, bottomRight);
}

bool AngleConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return AnyOwnedBy(shape, {m_p1, m_apex, m_p2});
}

// ---- coincident ----

CoincidentConstraint::CoincidentConstraint(VertexShape* p, VertexShape* q, bool visible) : m_p(p), m_q(q)
{
    m_visible = visible;
    Build();
}

void CoincidentConstraint::Build()
{
    m_equation = std::make_unique<EqualEqn>(m_p->GetXVar(), m_q->GetXVar());
    m_yEquation = std::make_unique<EqualEqn>(m_p->GetYVar(), m_q->GetYVar());
}

void CoincidentConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_p);
    writer.WriteSharedObject(m_q);
}

void CoincidentConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_p = ReadBoundVertex(reader);
    m_q = ReadBoundVertex(reader);
    Build();
}

DiagramItem* CoincidentConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    return HitRingMarker(this, m_p, point, dc);
}

void CoincidentConstraint::Draw(DiagramDC& dc)
{
    DrawRingMarker(dc, m_visible, IsSelected(), m_p);
}

void CoincidentConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    SvgRingMarker(writer, dc, m_visible, m_p);
}

bool CoincidentConstraint::CanCopy(const ItemCopyMap& map) const { return AllCopied(map, {m_p, m_q}); }

DrawConstraint* CoincidentConstraint::Copy(ItemCopyMap& map)
{
    return CanCopy(map) ? new CoincidentConstraint(Image(map, m_p), Image(map, m_q), m_visible) : nullptr;
}

int CoincidentConstraint::SelectionCode() const { return marks::SelectionCode({m_p, m_q}); }

std::vector<const DiagramItem*> CoincidentConstraint::GetBoundItems() const { return {m_p, m_q}; }

bool CoincidentConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    return InRect(m_p, topLeft, bottomRight);
}

bool CoincidentConstraint::HitsBoundVertex(const DPoint& point, const DiagramDC& dc) const
{
    return m_p->HitTest(point, dc) != nullptr;
}

DiagramItem* CoincidentConstraint::GetFirstItem() const { return m_p; }
DiagramItem* CoincidentConstraint::GetSecondItem() const { return m_q; }

ConstraintEqn* CoincidentConstraint::GetEquation(int i) const
{
    return i == 0 ? m_equation.get() : i == 1 ? m_yEquation.get() : nullptr;
}

ExprNode* CoincidentConstraint::BuildEquationExpr(int i, DiagramComp* context) const
{
    ConstraintEqn* eqn = GetEquation(i);
    return eqn ? eqn->BuildExpr(nullptr, context) : nullptr;
}

bool CoincidentConstraint::IsAttachedTo(const DiagramShape* shape) const { return AnyOwnedBy(shape, {m_p, m_q}); }

// ---- distance ----

DistanceConstraint::DistanceConstraint(VertexShape* p1, VertexShape* p2)
    : m_p1(p1), m_p2(p2), m_distance(new DrawVariable(p1->GetPoint().Distance(p2->GetPoint()), true))
{
    Build();
}

DistanceConstraint::DistanceConstraint(VertexShape* p1, VertexShape* p2, DrawVariable* distance, bool side,
                                       bool visible, DrawLabel* label)
    : m_p1(p1), m_p2(p2), m_distance(distance), m_side(side)
{
    m_visible = visible;
    SetLabel(label);
    Build();
}

DistanceConstraint::~DistanceConstraint()
{
    m_equation.reset();
    delete m_distance;
}

void DistanceConstraint::Build() { m_equation = std::make_unique<DistanceEqn>(m_p1, m_p2, m_distance); }

void DistanceConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_p1);
    writer.WriteSharedObject(m_p2);
    writer.WriteVariableRef(m_distance);
    writer.WriteByte(m_side ? 1 : 0);
    WriteLabel(writer);
}

void DistanceConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_p1 = ReadBoundVertex(reader);
    m_p2 = ReadBoundVertex(reader);
    m_distance = DrawVariable::ReadOwned(reader);
    m_side = reader.ReadBool();
    ReadLabel(reader, context);
    Build();
}

void DistanceConstraint::Strokes(const DiagramDC& dc, DPoint (&points)[6]) const
{
    const DPoint p1 = m_p1->GetPoint(), p2 = m_p2->GetPoint();
    const DPoint d = Unit(p2 - p1);
    DPoint n(d.y, -d.x);
    if (!m_side)
        n = n * -1.0;
    const double b = dc.GetBaseScale();
    points[0] = p1 + n * (4.0 * b);
    points[1] = p1 + n * (12.0 * b);
    points[2] = points[1];
    points[3] = p2 + n * (12.0 * b);
    points[4] = points[3];
    points[5] = p2 + n * (4.0 * b);
}

DiagramItem* DistanceConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    DPoint points[6];
    Strokes(dc, points);
    return HitsStroke(point, points[2], points[3], dc) ? this : nullptr;
}

void DistanceConstraint::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    dc.SetConstraintPen(IsSelected());
    DPoint points[6];
    Strokes(dc, points);
    DrawStrokes(dc, points);
}

void DistanceConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!m_visible)
        return;
    DPoint points[6];
    Strokes(dc, points);
    SvgStrokes(writer, dc, points);
}

DPoint DistanceConstraint::LabelPlace(const DiagramDC& dc) const
{
    DPoint points[6];
    Strokes(dc, points);
    return (points[2] + points[3]) * 0.5;
}

bool DistanceConstraint::CanCopy(const ItemCopyMap& map) const { return AllCopied(map, {m_p1, m_p2}); }

DrawConstraint* DistanceConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    return new DistanceConstraint(Image(map, m_p1), Image(map, m_p2), map.FindOrCloneVariable(m_distance), m_side,
                                  m_visible, CopyLabel(map));
}

int DistanceConstraint::SelectionCode() const { return marks::SelectionCode({m_p1, m_p2}); }

std::vector<const DiagramItem*> DistanceConstraint::GetBoundItems() const { return {m_p1, m_p2}; }

bool DistanceConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    return InRect(m_p1, topLeft, bottomRight) && InRect(m_p2, topLeft, bottomRight);
}

bool DistanceConstraint::IsAttachedTo(const DiagramShape* shape) const { return AnyOwnedBy(shape, {m_p1, m_p2}); }

// ---- fixed point ----

FixedPointConstraint::FixedPointConstraint(VertexShape* p, bool visible) : m_p(p)
{
    m_visible = visible;
    p->Fix();
    Build();
}

void FixedPointConstraint::Build()
{
    m_equation = std::make_unique<FixValueEqn>(m_p->GetXVar());
    m_yEquation = std::make_unique<FixValueEqn>(m_p->GetYVar());
}

void FixedPointConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_p);
}

void FixedPointConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_p = ReadBoundVertex(reader);
    Build();
}

DiagramItem* FixedPointConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    if (DiagramItem* hit = m_p->HitTest(point, dc))
        return hit;
    const DPoint p = m_p->GetPoint();
    const double b = dc.GetBaseScale();
    const bool near = point.Distance(p) <= 4.0 * b;
    return near && (std::fabs(point.x - p.x) < 2.0 * b || std::fabs(point.y - p.y) < 2.0 * b) ? this : nullptr;
}

void FixedPointConstraint::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    dc.SetConstraintPen(IsSelected());
    const DPoint p = m_p->GetPoint();
    const double arm = 6.0 * dc.GetBaseScale();
    dc.Line({p.x, p.y - arm}, {p.x, p.y + arm});
    dc.Line({p.x - arm, p.y}, {p.x + arm, p.y});
}

void FixedPointConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!m_visible)
        return;
    const DPoint p = m_p->GetPoint();
    const double arm = 6.0 * dc.GetBaseScale();
    SvgLine(writer, dc, {p.x, p.y + arm}, {p.x, p.y - arm});
    SvgLine(writer, dc, {p.x - arm, p.y}, {p.x + arm, p.y});
}

bool FixedPointConstraint::CanCopy(const ItemCopyMap& map) const { return AllCopied(map, {m_p}); }

DrawConstraint* FixedPointConstraint::Copy(ItemCopyMap& map)
{
    return CanCopy(map) ? new FixedPointConstraint(Image(map, m_p), m_visible) : nullptr;
}

int FixedPointConstraint::SelectionCode() const { return m_p->IsSelected() ? 5 : 0; }

std::vector<const DiagramItem*> FixedPointConstraint::GetBoundItems() const { return {m_p}; }

void FixedPointConstraint::ReleaseLock() { m_p->Unfix(); }

void FixedPointConstraint::ApplyLock() { m_p->Fix(); }

bool FixedPointConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    return InRect(m_p, topLeft, bottomRight);
}

ConstraintEqn* FixedPointConstraint::GetEquation(int i) const
{
    return i == 0 ? m_equation.get() : i == 1 ? m_yEquation.get() : nullptr;
}

ExprNode* FixedPointConstraint::BuildEquationExpr(int i, DiagramComp* context) const
{
    ConstraintEqn* eqn = GetEquation(i);
    return eqn ? eqn->BuildExpr(nullptr, context) : nullptr;
}

bool FixedPointConstraint::IsAttachedTo(const DiagramShape* shape) const { return AnyOwnedBy(shape, {m_p}); }

// ---- midpoint ----

MidpointConstraint::MidpointConstraint(VertexShape* e1, VertexShape* m, VertexShape* e2, bool visible)
    : m_e1(e1), m_m(m), m_e2(e2)
{
    m_visible = visible;
    Build();
}

void MidpointConstraint::Build()
{
    m_equation = std::make_unique<MidpointEqn>(m_e1->GetXVar(), m_m->GetXVar(), m_e2->GetXVar());
    m_yEquation = std::make_unique<MidpointEqn>(m_e1->GetYVar(), m_m->GetYVar(), m_e2->GetYVar());
}

void MidpointConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_m);
    writer.WriteSharedObject(m_e1);
    writer.WriteSharedObject(m_e2);
}

void MidpointConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_m = ReadBoundVertex(reader);
    m_e1 = ReadBoundVertex(reader);
    m_e2 = ReadBoundVertex(reader);
    Build();
}

void MidpointConstraint::Tick(const DiagramDC& dc, DPoint& a, DPoint& b) const
{
    const DPoint m = m_m->GetPoint();
    const DPoint u = Unit(m_e1->GetPoint() - m);
    const DPoint n(-u.y, u.x);
    const double half = 6.0 * dc.GetBaseScale();
    a = m - n * half;
    b = m + n * half;
}

DiagramItem* MidpointConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    if (DiagramItem* hit = m_m->HitTest(point, dc))
        return hit;
    return point.Distance(m_m->GetPoint()) < kHitReach * dc.GetBaseScale() ? this : nullptr;
}

void MidpointConstraint::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    dc.SetConstraintPen(IsSelected());
    DPoint a, b;
    Tick(dc, a, b);
    dc.Line(a, b);
}

void MidpointConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!m_visible)
        return;
    DPoint a, b;
    Tick(dc, a, b);
    SvgLine(writer, dc, a, b);
}

bool MidpointConstraint::CanCopy(const ItemCopyMap& map) const { return AllCopied(map, {m_e1, m_m, m_e2}); }

DrawConstraint* MidpointConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    return new MidpointConstraint(Image(map, m_e1), Image(map, m_m), Image(map, m_e2), m_visible);
}

int MidpointConstraint::SelectionCode() const { return marks::SelectionCode({m_e1, m_m, m_e2}); }

std::vector<const DiagramItem*> MidpointConstraint::GetBoundItems() const { return {m_e1, m_m, m_e2}; }

bool MidpointConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    return InRect(m_m, topLeft, bottomRight);
}

bool MidpointConstraint::HitsBoundVertex(const DPoint& point, const DiagramDC& dc) const
{
    return m_m->HitTest(point, dc) != nullptr;
}

ConstraintEqn* MidpointConstraint::GetEquation(int i) const
{
    return i == 0 ? m_equation.get() : i == 1 ? m_yEquation.get() : nullptr;
}

ExprNode* MidpointConstraint::BuildEquationExpr(int i, DiagramComp* context) const
{
    ConstraintEqn* eqn = GetEquation(i);
    return eqn ? eqn->BuildExpr(nullptr, context) : nullptr;
}

bool MidpointConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return AnyOwnedBy(shape, {m_e1, m_e2, m_m});
}

// ---- radius ----

RadiusConstraint::RadiusConstraint(VertexShape* centre, DrawVariable* radius, bool visible, DrawLabel* label)
    : m_centre(centre), m_radius(radius)
{
    m_visible = visible;
    SetLabel(label);
    Build();
}

// The equation locks the radius and keeps its present value.
void RadiusConstraint::Build() { m_equation = std::make_unique<FixValueEqn>(m_radius); }

void RadiusConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteVariableRef(m_radius);
    writer.WriteSharedObject(m_centre);
    WriteLabel(writer);
}

void RadiusConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_radius = ReadHeldVariable(reader, m_ownedRadius);
    m_centre = ReadBoundVertex(reader);
    ReadLabel(reader, context);
    // The radius keeps the Locked state its record gives: the user may have
    // cleared it, and a file read and saved again keeps its bytes.
    m_locked = m_radius->IsFixed();
    Build();
    m_radius->SetFixed(m_locked);
}

int RadiusConstraint::GetKernelEquationCount() const
{
    return m_radius->IsFixed() || LabelGivesValue(*this) ? 1 : 0;
}

void RadiusConstraint::SetLocked(bool locked)
{
    m_locked = locked;
    m_radius->SetFixed(locked);
}

double RadiusConstraint::HoldRadius(double value)
{
    auto* held = static_cast<FixValueEqn*>(m_equation.get());
    const double previous = held->GetConstant();
    held->SetConstant(value);
    return previous;
}

DPoint RadiusConstraint::RadiusEnd() const
{
    const DPoint c = m_centre->GetPoint();
    return {c.x + m_radius->GetValue(), c.y};
}

DiagramItem* RadiusConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    if (DiagramItem* hit = m_centre->HitTest(point, dc))
        return hit;
    return HitsStroke(point, m_centre->GetPoint(), RadiusEnd(), dc) ? this : nullptr;
}

void RadiusConstraint::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    dc.SetConstraintPen(IsSelected());
    dc.Line(m_centre->GetPoint(), RadiusEnd());
}

void RadiusConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (m_visible)
        SvgLine(writer, dc, m_centre->GetPoint(), RadiusEnd());
}

DPoint RadiusConstraint::LabelPlace(const DiagramDC&) const
{
    const DPoint c = m_centre->GetPoint();
    return {c.x + m_radius->GetValue() / 2.0, c.y};
}

// The radius is the circle's: the constraint goes with that circle only.
bool RadiusConstraint::CanCopy(const ItemCopyMap& map) const
{
    return AllCopied(map, {m_centre}) && HeldVariableCopied(map, m_radius, m_ownedRadius != nullptr);
}

DrawConstraint* RadiusConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    std::unique_ptr<DrawVariable> owned;
    DrawVariable* radius = CopyHeldVariable(map, m_radius, m_ownedRadius != nullptr, owned);
    auto* copy = new RadiusConstraint(Image(map, m_centre), radius, m_visible, CopyLabel(map));
    copy->m_ownedRadius = std::move(owned);
    copy->SetLocked(m_locked);
    return copy;
}

int RadiusConstraint::SelectionCode() const { return m_centre->IsSelected() ? 5 : 0; }

std::vector<const DiagramItem*> RadiusConstraint::GetBoundItems() const { return {m_centre}; }

std::vector<const DrawVariable*> RadiusConstraint::GetUsedVariables() const
{
    std::vector<const DrawVariable*> used = DrawConstraint::GetUsedVariables();
    used.push_back(m_radius);
    return used;
}

// The circle's radius is free again while the constraint is out of the
// drawing, and locked as the user left it while it is in.
void RadiusConstraint::ReleaseLock() { m_radius->SetFixed(false); }

void RadiusConstraint::ApplyLock()
{
    m_radius->SetFixed(m_locked);
}

bool RadiusConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    return InRect(m_centre, topLeft, bottomRight);
}

bool RadiusConstraint::IsAttachedTo(const DiagramShape* shape) const { return AnyOwnedBy(shape, {m_centre}); }
