#include "drawing/LineConstraints.h"

#include "drawing/ConstraintMarks.h"
#include "drawing/DiagramDC.h"
#include "drawing/DrawVariable.h"
#include "drawing/SegmentShape.h"
#include "drawing/ValueConstraint.h"
#include "drawing/VertexShape.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "platform/Exceptions.h"

using namespace marks;

// ---- point on segment ----

PointOnSegmentConstraint::PointOnSegmentConstraint(VertexShape* e1, VertexShape* e2, VertexShape* p, bool visible)
    : m_p(p), m_e1(e1), m_e2(e2)
{
    m_visible = visible;
    Build();
}

void PointOnSegmentConstraint::Build() { m_equation = std::make_unique<CollinearEqn>(m_e1, m_p, m_e2); }

void PointOnSegmentConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_e1);
    writer.WriteSharedObject(m_e2);
    writer.WriteSharedObject(m_p);
}

void PointOnSegmentConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_e1 = ReadBoundVertex(reader);
    m_e2 = ReadBoundVertex(reader);
    m_p = ReadBoundVertex(reader);
    Build();
}

DiagramItem* PointOnSegmentConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    return HitRingMarker(this, m_p, point, dc);
}

void PointOnSegmentConstraint::Draw(DiagramDC& dc)
{
    DrawRingMarker(dc, m_visible, IsSelected(), m_p);
}

void PointOnSegmentConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    SvgRingMarker(writer, dc, m_visible, m_p);
}

bool PointOnSegmentConstraint::CanCopy(const ItemCopyMap& map) const { return AllCopied(map, {m_e1, m_e2, m_p}); }

DrawConstraint* PointOnSegmentConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    return new PointOnSegmentConstraint(Image(map, m_e1), Image(map, m_e2), Image(map, m_p), m_visible);
}

int PointOnSegmentConstraint::SelectionCode() const { return marks::SelectionCode({m_e1, m_e2, m_p}); }

std::vector<const DiagramItem*> PointOnSegmentConstraint::GetBoundItems() const { return {m_e1, m_e2, m_p}; }

bool PointOnSegmentConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    return m_p->IsInRect(topLeft, bottomRight);
}

bool PointOnSegmentConstraint::HitsBoundVertex(const DPoint& point, const DiagramDC& dc) const
{
    return m_p->HitTest(point, dc) != nullptr;
}

DiagramItem* PointOnSegmentConstraint::GetFirstItem() const { return m_p; }

DiagramItem* PointOnSegmentConstraint::GetSecondItem() const
{
    DiagramShape* owner = m_e1->GetOwnerShape();
    return owner ? owner->FindSide(m_e1, m_e2) : nullptr;
}

bool PointOnSegmentConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return AnyOwnedBy(shape, {m_e1, m_e2, m_p});
}

// ---- parallel ----

ParallelConstraint::ParallelConstraint(VertexShape* a1, VertexShape* a2, VertexShape* b1, VertexShape* b2,
                                       bool visible)
    : m_a1(a1), m_a2(a2), m_b1(b1), m_b2(b2)
{
    m_visible = visible;
    Build();
}

void ParallelConstraint::Build() { m_equation = std::make_unique<ParallelEqn>(m_a1, m_a2, m_b1, m_b2); }

void ParallelConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    for (VertexShape* vertex : {m_a1, m_a2, m_b1, m_b2})
        writer.WriteSharedObject(vertex);
}

void ParallelConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_a1 = ReadBoundVertex(reader);
    m_a2 = ReadBoundVertex(reader);
    m_b1 = ReadBoundVertex(reader);
    m_b2 = ReadBoundVertex(reader);
    Build();
}

void ParallelConstraint::Strokes(const DiagramDC& dc, DPoint (&points)[6]) const
{
    const DPoint m1 = (m_a1->GetPoint() + m_a2->GetPoint()) * 0.5;
    const DPoint m2 = (m_b1->GetPoint() + m_b2->GetPoint()) * 0.5;
    const DPoint k = (m1 + m2) * 0.5;
    const double b = dc.GetBaseScale();
    points[0] = m1;
    points[1] = m2;
    points[2] = {k.x - 2.0 * b, k.y - 4.0 * b};
    points[3] = {k.x - 2.0 * b, k.y + 4.0 * b};
    points[4] = {k.x + 2.0 * b, k.y - 4.0 * b};
    points[5] = {k.x + 2.0 * b, k.y + 4.0 * b};
}

DiagramItem* ParallelConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    DPoint points[6];
    Strokes(dc, points);
    return HitsStroke(point, points[0], points[1], dc) ? this : nullptr;
}

void ParallelConstraint::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    dc.SetConstraintPen(IsSelected());
    DPoint points[6];
    Strokes(dc, points);
    DrawStrokes(dc, points);
}

void ParallelConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!m_visible)
        return;
    DPoint points[6];
    Strokes(dc, points);
    SvgStrokes(writer, dc, points);
}

bool ParallelConstraint::CanCopy(const ItemCopyMap& map) const { return AllCopied(map, {m_a1, m_a2, m_b1, m_b2}); }

DrawConstraint* ParallelConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    return new ParallelConstraint(Image(map, m_a1), Image(map, m_a2), Image(map, m_b1), Image(map, m_b2),
                                  m_visible);
}

int ParallelConstraint::SelectionCode() const { return marks::SelectionCode({m_a1, m_a2, m_b1, m_b2}); }

std::vector<const DiagramItem*> ParallelConstraint::GetBoundItems() const { return {m_a1, m_a2, m_b1, m_b2}; }

bool ParallelConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    for (const VertexShape* vertex : {m_a1, m_a2, m_b1, m_b2})
        if (!vertex->IsInRect(topLeft, bottomRight))
            return false;
    return true;
}

bool ParallelConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return AnyOwnedBy(shape, {m_a1, m_a2, m_b1, m_b2});
}

// ---- perpendicular ----

PerpendicularConstraint::PerpendicularConstraint(VertexShape* p1, VertexShape* corner, VertexShape* p2,
                                                 bool visible)
    : m_p1(p1), m_corner(corner), m_p2(p2)
{
    m_visible = visible;
    Build();
}

void PerpendicularConstraint::Build() { m_equation = std::make_unique<PerpendicularEqn>(m_p1, m_corner, m_p2); }

void PerpendicularConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_p1);
    writer.WriteSharedObject(m_corner);
    writer.WriteSharedObject(m_p2);
}

void PerpendicularConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_p1 = ReadBoundVertex(reader);
    m_corner = ReadBoundVertex(reader);
    m_p2 = ReadBoundVertex(reader);
    Build();
}

void PerpendicularConstraint::Corner(const DiagramDC& dc, DPoint& b1, DPoint& r, DPoint& b2) const
{
    const DPoint q = m_corner->GetPoint();
    const double side = 8.0 * dc.GetBaseScale();
    const DPoint w1 = Unit(m_p1->GetPoint() - q);
    const DPoint w2 = Unit(m_p2->GetPoint() - q);
    b1 = q + w1 * side;
    b2 = q + w2 * side;
    r = q + (w1 + w2) * side;
}

DiagramItem* PerpendicularConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    DPoint b1, r, b2;
    Corner(dc, b1, r, b2);
    return HitsStroke(point, b1, r, dc) || HitsStroke(point, b2, r, dc) ? this : nullptr;
}

void PerpendicularConstraint::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    dc.SetConstraintPen(IsSelected());
    DPoint b1, r, b2;
    Corner(dc, b1, r, b2);
    dc.Line(b1, r);
    dc.Line(b2, r);
}

void PerpendicularConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!m_visible)
        return;
    DPoint b1, r, b2;
    Corner(dc, b1, r, b2);
    SvgLine(writer, dc, b1, r);
    SvgLine(writer, dc, b2, r);
}

bool PerpendicularConstraint::CanCopy(const ItemCopyMap& map) const
{
    return AllCopied(map, {m_p1, m_p2, m_corner});
}

DrawConstraint* PerpendicularConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    return new PerpendicularConstraint(Image(map, m_p1), Image(map, m_corner), Image(map, m_p2), m_visible);
}

int PerpendicularConstraint::SelectionCode() const { return marks::SelectionCode({m_p1, m_p2, m_corner}); }

std::vector<const DiagramItem*> PerpendicularConstraint::GetBoundItems() const { return {m_p1, m_p2, m_corner}; }

bool PerpendicularConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    return m_corner->IsInRect(topLeft, bottomRight);
}

bool PerpendicularConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return AnyOwnedBy(shape, {m_p1, m_p2, m_corner});
}

// ---- line direction ----

LineDirectionConstraint::LineDirectionConstraint(VertexShape* p1, VertexShape* p2, bool visible)
    : m_p1(p1), m_p2(p2)
{
    m_visible = visible;
}

void LineDirectionConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_p1);
    writer.WriteSharedObject(m_p2);
}

void LineDirectionConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_p1 = ReadBoundVertex(reader);
    m_p2 = ReadBoundVertex(reader);
    BuildEquations();
}

void LineDirectionConstraint::Bars(const DiagramDC& dc, DPoint (&points)[4]) const
{
    const DPoint p1 = m_p1->GetPoint(), p2 = m_p2->GetPoint();
    const DPoint u = Unit(p2 - p1);
    const DPoint n(u.y, -u.x);
    const DPoint k = (p1 + p2) * 0.5;
    const double b = dc.GetBaseScale();
    const DPoint f1 = k + n * (3.0 * b), f2 = k - n * (3.0 * b);
    points[0] = f1 + u * (6.0 * b);
    points[1] = f1 - u * (6.0 * b);
    points[2] = f2 + u * (6.0 * b);
    points[3] = f2 - u * (6.0 * b);
}

DiagramItem* LineDirectionConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    DPoint points[4];
    Bars(dc, points);
    return HitsStroke(point, points[0], points[1], dc) || HitsStroke(point, points[2], points[3], dc) ? this
                                                                                                       : nullptr;
}

void LineDirectionConstraint::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    dc.SetConstraintPen(IsSelected());
    DPoint points[4];
    Bars(dc, points);
    dc.Line(points[0], points[1]);
    dc.Line(points[2], points[3]);
}

void LineDirectionConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!m_visible)
        return;
    DPoint points[4];
    Bars(dc, points);
    SvgLine(writer, dc, points[0], points[1]);
    SvgLine(writer, dc, points[2], points[3]);
}

bool LineDirectionConstraint::CanCopy(const ItemCopyMap& map) const { return AllCopied(map, {m_p1, m_p2}); }

int LineDirectionConstraint::SelectionCode() const { return marks::SelectionCode({m_p1, m_p2}); }

std::vector<const DiagramItem*> LineDirectionConstraint::GetBoundItems() const { return {m_p1, m_p2}; }

bool LineDirectionConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    return m_p1->IsInRect(topLeft, bottomRight) && m_p2->IsInRect(topLeft, bottomRight);
}

bool LineDirectionConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    return AnyOwnedBy(shape, {m_p1, m_p2});
}

HorizontalConstraint::HorizontalConstraint(VertexShape* p1, VertexShape* p2, bool visible)
    : LineDirectionConstraint(p1, p2, visible)
{
    BuildEquations();
}

HorizontalConstraint::HorizontalConstraint(const SegmentShape* segment)
    : HorizontalConstraint(segment->GetStart(), segment->GetEnd())
{
}

DrawConstraint* HorizontalConstraint::Copy(ItemCopyMap& map)
{
    return CanCopy(map) ? new HorizontalConstraint(Image(map, m_p1), Image(map, m_p2), m_visible) : nullptr;
}

void HorizontalConstraint::BuildEquations()
{
    m_equation = std::make_unique<EqualEqn>(m_p1->GetYVar(), m_p2->GetYVar());
}

VerticalConstraint::VerticalConstraint(VertexShape* p1, VertexShape* p2, bool visible)
    : LineDirectionConstraint(p1, p2, visible)
{
    BuildEquations();
}

VerticalConstraint::VerticalConstraint(const SegmentShape* segment)
    : VerticalConstraint(segment->GetStart(), segment->GetEnd())
{
}

DrawConstraint* VerticalConstraint::Copy(ItemCopyMap& map)
{
    return CanCopy(map) ? new VerticalConstraint(Image(map, m_p1), Image(map, m_p2), m_visible) : nullptr;
}

void VerticalConstraint::BuildEquations()
{
    m_equation = std::make_unique<EqualEqn>(m_p1->GetXVar(), m_p2->GetXVar());
}

SlopeConstraint::SlopeConstraint(VertexShape* p1, VertexShape* p2, bool visible)
    : SlopeConstraint(p1, p2, new DrawVariable(p2->GetX() - p1->GetX(), true),
                      new DrawVariable(p2->GetY() - p1->GetY(), true), visible)
{
}

SlopeConstraint::SlopeConstraint(const SegmentShape* segment) : SlopeConstraint(segment->GetStart(), segment->GetEnd())
{
}

SlopeConstraint::SlopeConstraint(VertexShape* p1, VertexShape* p2, DrawVariable* dx, DrawVariable* dy, bool visible)
    : LineDirectionConstraint(p1, p2, visible), m_dx(dx), m_dy(dy)
{
    BuildEquations();
}

SlopeConstraint::~SlopeConstraint()
{
    m_equation.reset();
    delete m_dx;
    delete m_dy;
}

void SlopeConstraint::Write(DocWriter& writer)
{
    LineDirectionConstraint::Write(writer);
    writer.WriteVariableRef(m_dx);
    writer.WriteVariableRef(m_dy);
}

void SlopeConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_p1 = ReadBoundVertex(reader);
    m_p2 = ReadBoundVertex(reader);
    m_dx = DrawVariable::ReadOwned(reader);
    m_dy = DrawVariable::ReadOwned(reader);
    BuildEquations();
}

DrawConstraint* SlopeConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    return new SlopeConstraint(Image(map, m_p1), Image(map, m_p2), map.FindOrCloneVariable(m_dx),
                               map.FindOrCloneVariable(m_dy), m_visible);
}

void SlopeConstraint::SetVariableTag(DiagramComp* diagram)
{
    m_dx->SetOwner(diagram);
    m_dy->SetOwner(diagram);
}

// The direction is locked every time, also when a file held it free.
void SlopeConstraint::BuildEquations()
{
    m_dx->SetFixed(true);
    m_dy->SetFixed(true);
    m_equation = std::make_unique<DirectionEqn>(m_p1, m_p2, m_dx, m_dy);
}
