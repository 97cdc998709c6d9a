#include "drawing/CurveConstraints.h"

#include "drawing/CircleShape.h"
#include "drawing/ConstraintMarks.h"
#include "drawing/CurveShape.h"
#include "drawing/DiagramDC.h"
#include "drawing/DrawVariable.h"
#include "drawing/PlotShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "platform/Exceptions.h"

using namespace marks;

namespace {

constexpr double kMiddleParameter = 0.5;

CurveShape* ReadCurve(DocReader& reader)
{
    auto* curve = dynamic_cast<CurveShape*>(reader.ReadCurveRef());
    if (!curve)
        throw CFormatException("A constraint names an item that is not a curve");
    return curve;
}

PlotShape* ReadPlot(DocReader& reader)
{
    auto* plot = dynamic_cast<PlotShape*>(reader.ReadPlotShapeRef());
    if (!plot)
        throw CFormatException("A constraint names an item that is not a plot");
    return plot;
}

DrawVariable* ReadVariable(DocReader& reader)
{
    DrawVariable* variable = DrawVariable::ReadOwned(reader);
    if (!variable)
        throw CFormatException("A constraint names no variable");
    return variable;
}

ExprNode* ExprOf(const ConstraintEqn* eqn, DiagramComp* context)
{
    return eqn ? eqn->BuildExpr(nullptr, context) : nullptr;
}

} // namespace

// ---- a vertex on an item ----

DiagramItem* PointOnItemConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    return HitRingMarker(this, m_p, point, dc);
}

void PointOnItemConstraint::Draw(DiagramDC& dc)
{
    DrawRingMarker(dc, m_visible, IsSelected(), m_p);
}

void PointOnItemConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    SvgRingMarker(writer, dc, m_visible, m_p);
}

bool PointOnItemConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    return m_p->IsInRect(topLeft, bottomRight);
}

bool PointOnItemConstraint::HitsBoundVertex(const DPoint& point, const DiagramDC& dc) const
{
    return m_p->HitTest(point, dc) != nullptr;
}

DiagramItem* PointOnItemConstraint::GetFirstItem() const { return m_p; }

// ---- point on curve ----

PointOnCurveConstraint::PointOnCurveConstraint(CurveShape* curve, VertexShape* p)
    : PointOnCurveConstraint(curve, p, new DrawVariable(kMiddleParameter, false), true)
{
}

PointOnCurveConstraint::PointOnCurveConstraint(CurveShape* curve, VertexShape* p, DrawVariable* t, bool visible)
    : m_curve(curve), m_t(t)
{
    m_p = p;
    m_visible = visible;
    Build();
}

PointOnCurveConstraint::~PointOnCurveConstraint() { delete m_t; }

void PointOnCurveConstraint::Build()
{
    auto c = [this](int i) { return m_curve->GetControlPoint(i); };
    m_equation = std::make_unique<BezierPointEqn>(m_p->GetXVar(), c(0)->GetXVar(), c(1)->GetXVar(),
                                                  c(2)->GetXVar(), c(3)->GetXVar(), m_t);
    m_yEquation = std::make_unique<BezierPointEqn>(m_p->GetYVar(), c(0)->GetYVar(), c(1)->GetYVar(),
                                                   c(2)->GetYVar(), c(3)->GetYVar(), m_t);
}

void PointOnCurveConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_curve);
    writer.WriteVariableRef(m_t);
    writer.WriteSharedObject(m_p);
}

void PointOnCurveConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_curve = ReadCurve(reader);
    m_t = ReadVariable(reader);
    m_p = ReadBoundVertex(reader);
    Build();
}

bool PointOnCurveConstraint::CanCopy(const ItemCopyMap& map) const { return AllCopied(map, {m_curve, m_p}); }

DrawConstraint* PointOnCurveConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    return new PointOnCurveConstraint(Image(map, m_curve), Image(map, m_p), map.FindOrCloneVariable(m_t),
                                      m_visible);
}

int PointOnCurveConstraint::SelectionCode() const { return marks::SelectionCode({m_curve, m_p}); }

std::vector<const DiagramItem*> PointOnCurveConstraint::GetBoundItems() const { return {m_curve, m_p}; }

void PointOnCurveConstraint::SetVariableTag(DiagramComp* diagram) { m_t->SetOwner(diagram); }

DiagramItem* PointOnCurveConstraint::GetSecondItem() const { return m_curve; }

ConstraintEqn* PointOnCurveConstraint::GetEquation(int i) const
{
    return i == 0 ? m_equation.get() : i == 1 ? m_yEquation.get() : nullptr;
}

ExprNode* PointOnCurveConstraint::BuildEquationExpr(int i, DiagramComp* context) const
{
    return ExprOf(GetEquation(i), context);
}

bool PointOnCurveConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return shape == m_curve || AnyOwnedBy(shape, {m_p});
}

// ---- point on circle ----

PointOnCircleConstraint::PointOnCircleConstraint(VertexShape* centre, DrawVariable* radius, VertexShape* p,
                                                 bool visible)
    : m_centre(centre), m_radius(radius)
{
    m_p = p;
    m_visible = visible;
    m_equation = std::make_unique<DistanceEqn>(m_centre, m_p, m_radius);
}

void PointOnCircleConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_centre);
    writer.WriteVariableRef(m_radius);
    writer.WriteSharedObject(m_p);
}

void PointOnCircleConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_centre = ReadBoundVertex(reader);
    m_radius = ReadHeldVariable(reader, m_ownedRadius);
    m_p = ReadBoundVertex(reader);
    m_equation = std::make_unique<DistanceEqn>(m_centre, m_p, m_radius);
}

// The radius is the circle's: the constraint goes with that circle only.
bool PointOnCircleConstraint::CanCopy(const ItemCopyMap& map) const
{
    return AllCopied(map, {m_centre, m_p}) && HeldVariableCopied(map, m_radius, m_ownedRadius != nullptr);
}

DrawConstraint* PointOnCircleConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    std::unique_ptr<DrawVariable> owned;
    DrawVariable* radius = CopyHeldVariable(map, m_radius, m_ownedRadius != nullptr, owned);
    auto* copy = new PointOnCircleConstraint(Image(map, m_centre), radius, Image(map, m_p), m_visible);
    copy->m_ownedRadius = std::move(owned);
    return copy;
}

int PointOnCircleConstraint::SelectionCode() const { return marks::SelectionCode({m_centre, m_p}); }

std::vector<const DiagramItem*> PointOnCircleConstraint::GetBoundItems() const { return {m_centre, m_p}; }

std::vector<const DrawVariable*> PointOnCircleConstraint::GetUsedVariables() const
{
    std::vector<const DrawVariable*> used = DrawConstraint::GetUsedVariables();
    used.push_back(m_radius);
    return used;
}

DiagramItem* PointOnCircleConstraint::GetSecondItem() const { return m_centre->GetOwnerShape(); }

bool PointOnCircleConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return AnyOwnedBy(shape, {m_centre, m_p});
}

// ---- point on plot ----

PointOnPlotConstraint::PointOnPlotConstraint(PlotShape* plot, VertexShape* p, bool visible) : m_plot(plot)
{
    m_p = p;
    m_visible = visible;
    m_equation = std::make_unique<PlotPointEqn>(m_plot, m_p);
}

void PointOnPlotConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_p);
    writer.WriteSharedObject(m_plot);
}

void PointOnPlotConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_p = ReadBoundVertex(reader);
    m_plot = ReadPlot(reader);
    m_equation = std::make_unique<PlotPointEqn>(m_plot, m_p);
}

bool PointOnPlotConstraint::CanCopy(const ItemCopyMap& map) const { return AllCopied(map, {m_plot, m_p}); }

DrawConstraint* PointOnPlotConstraint::Copy(ItemCopyMap& map)
{
    return CanCopy(map) ? new PointOnPlotConstraint(Image(map, m_plot), Image(map, m_p), m_visible) : nullptr;
}

int PointOnPlotConstraint::SelectionCode() const { return marks::SelectionCode({m_plot, m_p}); }

std::vector<const DiagramItem*> PointOnPlotConstraint::GetBoundItems() const { return {m_plot, m_p}; }

DiagramItem* PointOnPlotConstraint::GetSecondItem() const { return m_plot; }

bool PointOnPlotConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return shape == m_plot || AnyOwnedBy(shape, {m_p});
}

// ---- arc ----

ArcConstraint::ArcConstraint(CurveShape* curve, VertexShape* centre) : m_curve(curve), m_centre(centre)
{
    const DPoint c = centre->GetPoint();
    const DPoint c0 = curve->GetControlPoint(0)->GetPoint(), c3 = curve->GetControlPoint(3)->GetPoint();
    m_radius = new DrawVariable((c0.Distance(c) + c3.Distance(c)) / 2.0, false);
    m_angle = new DrawVariable(AngleAt(c0, c, c3), false);
    Build();
}

ArcConstraint::ArcConstraint(CurveShape* curve, VertexShape* centre, DrawVariable* angle, DrawVariable* radius,
                             bool visible, DrawLabel* label)
    : m_curve(curve), m_centre(centre), m_angle(angle), m_radius(radius)
{
    m_visible = visible;
    SetLabel(label);
    Build();
}

ArcConstraint::~ArcConstraint()
{
    delete m_angle;
    delete m_radius;
}

void ArcConstraint::Build()
{
    auto c = [this](int i) { return m_curve->GetControlPoint(i); };
    m_equation = std::make_unique<ArcMidpointEqn>(m_curve, m_centre, m_radius);
    m_more[0] = std::make_unique<PerpendicularEqn>(m_centre, c(0), c(1));
    m_more[1] = std::make_unique<PerpendicularEqn>(m_centre, c(3), c(2));
    m_more[2] = std::make_unique<DistanceEqn>(m_centre, c(0), m_radius);
    m_more[3] = std::make_unique<DistanceEqn>(m_centre, c(3), m_radius);
    m_more[4] = std::make_unique<AngleEqn>(c(0), m_centre, c(3), m_angle);
}

void ArcConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_curve);
    writer.WriteSharedObject(m_centre);
    writer.WriteVariableRef(m_angle);
    writer.WriteVariableRef(m_radius);
    WriteLabel(writer);
}

void ArcConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_curve = ReadCurve(reader);
    m_centre = ReadBoundVertex(reader);
    m_angle = ReadVariable(reader);
    m_radius = ReadVariable(reader);
    ReadLabel(reader, context);
    Build();
}

DPoint ArcConstraint::End(int index) const { return m_curve->GetControlPoint(index)->GetPoint(); }

DiagramItem* ArcConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    return HitsArc(point, m_centre->GetPoint(), End(0), End(3), dc) ? this : nullptr;
}

// The screen arc covers the region the hit test takes as inside the arc.
void ArcConstraint::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    dc.SetConstraintPen(IsSelected());
    const DPoint c = m_centre->GetPoint();
    DrawArc(dc, c, End(0), End(3));
    dc.Line(c, End(0));
    dc.Line(c, End(3));
}

void ArcConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!m_visible)
        return;
    // The arc and its two radii, as the screen draws them.
    const DPoint c = m_centre->GetPoint();
    SvgArc(writer, dc, c, End(0), End(3));
    SvgLine(writer, dc, c, End(0));
    SvgLine(writer, dc, c, End(3));
}

DPoint ArcConstraint::LabelPlace(const DiagramDC& dc) const
{
    const DPoint c = m_centre->GetPoint();
    const DPoint w = Unit((Unit(End(0) - c) + Unit(End(3) - c)) * 0.5);
    return c + w * (kArcRadius * dc.GetBaseScale());
}

bool ArcConstraint::CanCopy(const ItemCopyMap& map) const { return AllCopied(map, {m_centre, m_curve}); }

DrawConstraint* ArcConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    return new ArcConstraint(Image(map, m_curve), Image(map, m_centre), map.FindOrCloneVariable(m_angle),
                             map.FindOrCloneVariable(m_radius), m_visible, CopyLabel(map));
}

int ArcConstraint::SelectionCode() const
{
    if (m_centre->IsSelected() && m_curve->IsSelected())
        return 5;
    if (m_centre->IsSelected() || m_curve->IsSelected())
        return 4;
    for (int i = 0; i < 4; ++i)
        if (m_curve->GetControlPoint(i)->IsSelected())
            return 4;
    return 0;
}

std::vector<const DiagramItem*> ArcConstraint::GetBoundItems() const { return {m_centre, m_curve}; }

void ArcConstraint::SetVariableTag(DiagramComp* diagram)
{
    m_angle->SetOwner(diagram);
    m_radius->SetOwner(diagram);
}

bool ArcConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    return m_centre->IsInRect(topLeft, bottomRight) && m_curve->GetControlPoint(0)->IsInRect(topLeft, bottomRight) &&
           m_curve->GetControlPoint(3)->IsInRect(topLeft, bottomRight);
}

DrawVariable* ArcConstraint::GetVariable(int i) const { return i == 0 ? m_radius : i == 1 ? m_angle : nullptr; }

ConstraintEqn* ArcConstraint::GetEquation(int i) const
{
    if (i == 0)
        return m_equation.get();
    return i > 0 && i < kEquations ? m_more[i - 1].get() : nullptr;
}

ExprNode* ArcConstraint::BuildEquationExpr(int i, DiagramComp* context) const
{
    const ConstraintEqn* eqn = GetEquation(i);
    return eqn ? eqn->BuildExpr(i == kEquations - 1 ? m_label : nullptr, context) : nullptr;
}

bool ArcConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return shape == m_curve || AnyOwnedBy(shape, {m_centre});
}

// ---- tangency ----

TangentConstraint::TangentConstraint(SegmentShape* segment, VertexShape* t)
    : TangentConstraint(segment, t, new DrawVariable(segment->GetEnd()->GetX() - segment->GetStart()->GetX(), false),
                        new DrawVariable(segment->GetEnd()->GetY() - segment->GetStart()->GetY(), false), true)
{
}

TangentConstraint::TangentConstraint(SegmentShape* segment, VertexShape* t, DrawVariable* dx, DrawVariable* dy,
                                     bool visible)
    : m_t(t), m_segment(segment), m_dx(dx), m_dy(dy)
{
    m_visible = visible;
}

TangentConstraint::~TangentConstraint()
{
    delete m_dx;
    delete m_dy;
}

void TangentConstraint::BuildBase()
{
    m_equation = std::make_unique<CollinearEqn>(m_segment->GetStart(), m_t, m_segment->GetEnd());
    m_direction = std::make_unique<DirectionEqn>(m_segment->GetStart(), m_segment->GetEnd(), m_dx, m_dy);
}

void TangentConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteVariableRef(m_dx);
    writer.WriteVariableRef(m_dy);
    writer.WriteSharedObject(m_segment);
    writer.WriteSharedObject(m_t);
}

void TangentConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_dx = ReadVariable(reader);
    m_dy = ReadVariable(reader);
    m_segment = dynamic_cast<SegmentShape*>(reader.ReadSegmentRef());
    if (!m_segment)
        throw CFormatException("A tangency names an item that is not a segment");
    m_t = ReadBoundVertex(reader);
    ReadKind(reader);
    BuildBase();
    BuildKind();
}

void TangentConstraint::Strokes(const DiagramDC& dc, DPoint (&points)[6]) const
{
    const DPoint t = m_t->GetPoint();
    const DPoint u = Unit({m_dx->GetValue(), m_dy->GetValue()});
    const DPoint n(u.y, -u.x);
    const double b = dc.GetBaseScale();
    const DPoint above = t + n * (4.0 * b), below = t - n * (4.0 * b);
    points[0] = above;
    points[1] = below;
    points[2] = above + u * (6.0 * b);
    points[3] = above - u * (6.0 * b);
    points[4] = below + u * (6.0 * b);
    points[5] = below - u * (6.0 * b);
}

DiagramItem* TangentConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    if (DiagramItem* hit = m_t->HitTest(point, dc))
        return hit;
    DPoint points[6];
    Strokes(dc, points);
    for (int i = 0; i < 6; i += 2)
        if (HitsStroke(point, points[i], points[i + 1], dc))
            return this;
    return nullptr;
}

void TangentConstraint::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    dc.SetConstraintPen(IsSelected());
    DPoint points[6];
    Strokes(dc, points);
    DrawStrokes(dc, points);
}

void TangentConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!m_visible)
        return;
    DPoint points[6];
    Strokes(dc, points);
    SvgStrokes(writer, dc, points);
}

bool TangentConstraint::CanCopy(const ItemCopyMap& map) const { return AllCopied(map, {m_segment, m_t}); }

int TangentConstraint::SelectionCode() const { return marks::SelectionCode({m_segment, m_t}); }

std::vector<const DiagramItem*> TangentConstraint::GetBoundItems() const { return {m_segment, m_t}; }

void TangentConstraint::SetVariableTag(DiagramComp* diagram)
{
    m_dx->SetOwner(diagram);
    m_dy->SetOwner(diagram);
}

bool TangentConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    return m_t->IsInRect(topLeft, bottomRight);
}

bool TangentConstraint::HitsBoundVertex(const DPoint& point, const DiagramDC& dc) const
{
    return m_t->HitTest(point, dc) != nullptr;
}

DiagramItem* TangentConstraint::GetFirstItem() const { return m_segment; }

DiagramItem* TangentConstraint::GetSecondItem() const { return m_t; }

ConstraintEqn* TangentConstraint::GetEquation(int i) const
{
    if (i == 0)
        return m_equation.get();
    if (i == 1)
        return m_direction.get();
    return i >= 2 && i < GetEquationCount() ? KindEquation(i - 2) : nullptr;
}

ExprNode* TangentConstraint::BuildEquationExpr(int i, DiagramComp* context) const
{
    return ExprOf(GetEquation(i), context);
}

bool TangentConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return shape == m_segment || (m_segment && m_segment->GetOwnerShape() == shape) || AnyOwnedBy(shape, {m_t});
}

void TangentConstraint::AlignDirection()
{
    m_dx->SetValue(m_segment->GetEnd()->GetX() - m_segment->GetStart()->GetX());
    m_dy->SetValue(m_segment->GetEnd()->GetY() - m_segment->GetStart()->GetY());
}

SegmentShape* TangentConstraint::SegmentImage(ItemCopyMap& map) const { return Image(map, m_segment); }

// circle

CircleTangentConstraint::CircleTangentConstraint(SegmentShape* segment, VertexShape* t, CircleShape* circle)
    : TangentConstraint(segment, t), m_centre(circle->GetCentre()), m_radius(circle->GetRadiusVar())
{
    BuildBase();
    BuildKind();
}

CircleTangentConstraint::CircleTangentConstraint(SegmentShape* segment, VertexShape* t, DrawVariable* dx,
                                                 DrawVariable* dy, VertexShape* centre, DrawVariable* radius,
                                                 bool visible)
    : TangentConstraint(segment, t, dx, dy, visible), m_centre(centre), m_radius(radius)
{
    BuildBase();
    BuildKind();
}

void CircleTangentConstraint::BuildKind()
{
    m_kind[0] = std::make_unique<DistanceEqn>(m_centre, m_t, m_radius);
    m_kind[1] = std::make_unique<NormalEqn>(m_centre, m_t, m_dx, m_dy);
}

void CircleTangentConstraint::Write(DocWriter& writer)
{
    TangentConstraint::Write(writer);
    writer.WriteSharedObject(m_centre);
    writer.WriteVariableRef(m_radius);
}

void CircleTangentConstraint::ReadKind(DocReader& reader)
{
    m_centre = ReadBoundVertex(reader);
    m_radius = ReadHeldVariable(reader, m_ownedRadius);
}

DiagramItem* CircleTangentConstraint::GetCurveItem() const { return m_centre->GetOwnerShape(); }

// The circle is the one whose radius the constraint reads (the centre may
// be another circle's too).
bool CircleTangentConstraint::CanCopy(const ItemCopyMap& map) const
{
    return TangentConstraint::CanCopy(map) && AllCopied(map, {m_centre}) &&
        HeldVariableCopied(map, m_radius, m_ownedRadius != nullptr);
}

DrawConstraint* CircleTangentConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    std::unique_ptr<DrawVariable> owned;
    DrawVariable* radius = CopyHeldVariable(map, m_radius, m_ownedRadius != nullptr, owned);
    auto* copy = new CircleTangentConstraint(SegmentImage(map), Image(map, m_t), map.FindOrCloneVariable(m_dx),
                                             map.FindOrCloneVariable(m_dy), Image(map, m_centre), radius, m_visible);
    copy->m_ownedRadius = std::move(owned);
    return copy;
}

int CircleTangentConstraint::SelectionCode() const
{
    return marks::SelectionCode({m_centre->GetOwnerShape(), m_segment, m_t});
}

std::vector<const DiagramItem*> CircleTangentConstraint::GetBoundItems() const { return {m_centre, m_segment, m_t}; }

std::vector<const DrawVariable*> CircleTangentConstraint::GetUsedVariables() const
{
    std::vector<const DrawVariable*> used = TangentConstraint::GetUsedVariables();
    used.push_back(m_radius);
    return used;
}

bool CircleTangentConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return TangentConstraint::IsAttachedTo(shape) || AnyOwnedBy(shape, {m_centre});
}

// curve

CurveTangentConstraint::CurveTangentConstraint(SegmentShape* segment, VertexShape* t, CurveShape* curve)
    : TangentConstraint(segment, t), m_curve(curve), m_parameter(new DrawVariable(kMiddleParameter, false))
{
    BuildBase();
    BuildKind();
}

CurveTangentConstraint::CurveTangentConstraint(SegmentShape* segment, VertexShape* t, DrawVariable* dx,
                                               DrawVariable* dy, CurveShape* curve, DrawVariable* parameter,
                                               bool visible)
    : TangentConstraint(segment, t, dx, dy, visible), m_curve(curve), m_parameter(parameter)
{
    BuildBase();
    BuildKind();
}

CurveTangentConstraint::~CurveTangentConstraint() { delete m_parameter; }

void CurveTangentConstraint::BuildKind()
{
    auto c = [this](int i) { return m_curve->GetControlPoint(i); };
    m_kind[0] = std::make_unique<BezierPointEqn>(m_t->GetXVar(), c(0)->GetXVar(), c(1)->GetXVar(), c(2)->GetXVar(),
                                                 c(3)->GetXVar(), m_parameter);
    m_kind[1] = std::make_unique<BezierPointEqn>(m_t->GetYVar(), c(0)->GetYVar(), c(1)->GetYVar(), c(2)->GetYVar(),
                                                 c(3)->GetYVar(), m_parameter);
    m_kind[2] = std::make_unique<CurveDirectionEqn>(m_curve, m_parameter, m_dx, m_dy);
}

void CurveTangentConstraint::Write(DocWriter& writer)
{
    TangentConstraint::Write(writer);
    writer.WriteSharedObject(m_curve);
    writer.WriteVariableRef(m_parameter);
}

void CurveTangentConstraint::ReadKind(DocReader& reader)
{
    m_curve = ReadCurve(reader);
    m_parameter = ReadVariable(reader);
}

DiagramItem* CurveTangentConstraint::GetCurveItem() const { return m_curve; }

bool CurveTangentConstraint::CanCopy(const ItemCopyMap& map) const
{
    return TangentConstraint::CanCopy(map) && AllCopied(map, {m_curve});
}

DrawConstraint* CurveTangentConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    return new CurveTangentConstraint(SegmentImage(map), Image(map, m_t), map.FindOrCloneVariable(m_dx),
                                      map.FindOrCloneVariable(m_dy), Image(map, m_curve),
                                      map.FindOrCloneVariable(m_parameter), m_visible);
}

int CurveTangentConstraint::SelectionCode() const { return marks::SelectionCode({m_curve, m_segment, m_t}); }

std::vector<const DiagramItem*> CurveTangentConstraint::GetBoundItems() const { return {m_curve, m_segment, m_t}; }

void CurveTangentConstraint::SetVariableTag(DiagramComp* diagram)
{
    TangentConstraint::SetVariableTag(diagram);
    m_parameter->SetOwner(diagram);
}

bool CurveTangentConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return TangentConstraint::IsAttachedTo(shape) || shape == m_curve ||
           (m_curve && m_curve->GetOwnerShape() == shape);
}

// plot

PlotTangentConstraint::PlotTangentConstraint(SegmentShape* segment, VertexShape* t, PlotShape* plot)
    : TangentConstraint(segment, t), m_plot(plot)
{
    BuildBase();
    BuildKind();
}

PlotTangentConstraint::PlotTangentConstraint(SegmentShape* segment, VertexShape* t, DrawVariable* dx,
                                             DrawVariable* dy, PlotShape* plot, bool visible)
    : TangentConstraint(segment, t, dx, dy, visible), m_plot(plot)
{
    BuildBase();
    BuildKind();
}

void PlotTangentConstraint::BuildKind()
{
    m_kind[0] = std::make_unique<PlotPointEqn>(m_plot, m_t);
    m_kind[1] = std::make_unique<PlotTangentEqn>(m_plot, m_t, m_dx, m_dy);
}

void PlotTangentConstraint::Write(DocWriter& writer)
{
    TangentConstraint::Write(writer);
    writer.WriteSharedObject(m_plot);
}

void PlotTangentConstraint::ReadKind(DocReader& reader) { m_plot = ReadPlot(reader); }

DiagramItem* PlotTangentConstraint::GetCurveItem() const { return m_plot; }

bool PlotTangentConstraint::CanCopy(const ItemCopyMap& map) const
{
    return TangentConstraint::CanCopy(map) && AllCopied(map, {m_plot});
}

DrawConstraint* PlotTangentConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    return new PlotTangentConstraint(SegmentImage(map), Image(map, m_t), map.FindOrCloneVariable(m_dx),
                                     map.FindOrCloneVariable(m_dy), Image(map, m_plot), m_visible);
}

int PlotTangentConstraint::SelectionCode() const { return marks::SelectionCode({m_plot, m_segment, m_t}); }

std::vector<const DiagramItem*> PlotTangentConstraint::GetBoundItems() const { return {m_plot, m_segment, m_t}; }

bool PlotTangentConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return shape == m_plot || TangentConstraint::IsAttachedTo(shape);
}
