#include "drawing/CurveShape.h"
#include "drawing/DrawVariable.h"
#include "drawing/CurveConstraints.h"

#include "drawing/DiagramDC.h"
#include "drawing/DiagramEdit.h"
#include "drawing/DrawLabel.h"
#include "drawing/ItemCopyMap.h"
#include "drawing/VertexShape.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"

#include <cstdio>

using namespace drawing;

const BezierTables& GetBezierTables()
{
    static const BezierTables tables = [] {
        BezierTables t;
        constexpr int n = kBezierChords;
        for (int k = 1; k < n; ++k) {
            const double s = static_cast<double>(k) / n;
            const double r = 1.0 - s;
            t.a[static_cast<size_t>(k)] = r * r * r;
            t.b[static_cast<size_t>(k)] = 3.0 * s * r * r;
        }
        t.a[0] = 1.0;
        return t;
    }();
    return tables;
}

void InitBezierTables()
{
    (void)GetBezierTables();
}

CurveShape::CurveShape(VertexShape* start, VertexShape* end, VertexShape* control1, VertexShape* control2,
                       DiagramShape* owner)
    : EdgeShape(start, end, owner), m_control1(control1), m_control2(control2)
{
    m_control1->AddUse();
    m_control2->AddUse();
    if (!owner) {
        m_control1->SetOwner(this);
        m_control2->SetOwner(this);
    }
}

CurveShape::CurveShape(VertexShape* start, VertexShape* end, VertexShape* control1, VertexShape* control2,
                       bool handlesShown, DrawLabel* label, int32_t penStyle, COLORREF colour, DiagramShape* owner)
    : EdgeShape(start, end, label, penStyle, colour, owner), m_control1(control1), m_control2(control2),
      m_handlesShown(handlesShown)
{
    m_control1->AddUse();
    m_control2->AddUse();
    if (!owner) {
        m_control1->SetOwner(this);
        m_control2->SetOwner(this);
    }
}

CurveShape::~CurveShape()
{
    LetGo(m_control1);
    LetGo(m_control2);
}

std::vector<VertexShape**> CurveShape::VertexSlots()
{
    return {&m_start, &m_end, &m_control1, &m_control2};
}

VertexShape* CurveShape::GetControlPoint(int index) const
{
    switch (index) {
    case 0:
        return m_start;
    case 1:
        return m_control1;
    case 2:
        return m_control2;
    default:
        return m_end;
    }
}

std::vector<DPoint> CurveShape::Flatten(bool forward) const
{
    const BezierTables& t = GetBezierTables();
    const DPoint p0 = m_start->GetPoint(), p1 = m_control1->GetPoint();
    const DPoint p2 = m_control2->GetPoint(), p3 = m_end->GetPoint();
    constexpr int n = kBezierChords;
    auto at = [&](int k) {
        const auto i = static_cast<size_t>(k), j = static_cast<size_t>(n - k);
        return p0 * t.a[i] + p1 * t.b[i] + p2 * t.b[j] + p3 * t.a[j];
    };
    std::vector<DPoint> points;
    points.reserve(n);
    for (int step = 1; step < n; ++step)
        points.push_back(at(forward ? step : n - step));
    points.push_back(forward ? p3 : p0);
    return points;
}

DiagramItem* CurveShape::HitTest(const DPoint& point, const DiagramDC& dc)
{
    for (VertexShape* vertex : VertexList())
        if (DiagramItem* hit = vertex->HitTest(point, dc))
            return hit;
    const double tolerance = kHitPoints * dc.GetBaseScale();
    DPoint from = m_start->GetPoint();
    for (const DPoint& to : Flatten(true)) {
        if (IsNearSegment(point, from, to, tolerance))
            return this;
        from = to;
    }
    return nullptr;
}

void CurveShape::DrawHandles(DiagramDC& dc) const
{
    if (!m_handlesShown)
        return;
    dc.SetConstraintPen(IsSelected());
    if (m_control1->IsVisible())
        dc.Line(m_start->GetPoint(), m_control1->GetPoint());
    if (m_control2->IsVisible())
        dc.Line(m_end->GetPoint(), m_control2->GetPoint());
    m_control1->Draw(dc);
    m_control2->Draw(dc);
}

void CurveShape::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    const bool free = !GetOwnerShape();
    if (free) {
        DrawHandles(dc);
        dc.SetDash(m_penStyle);
    }
    const bool selected = IsSelected();
    if (selected)
        dc.Highlight();
    DPoint from = m_start->GetPoint();
    for (const DPoint& to : Flatten(true)) {
        dc.DashedLine(from, to, m_penStyle, m_penColour, false);
        from = to;
    }
    if (free) {
        DrawStartArrow(dc);
        DrawEndArrow(dc);
        m_start->Draw(dc);
        m_end->Draw(dc);
    }
    if (selected)
        dc.Unhighlight();
}

DiagramShape* CurveShape::Clone(ItemCopyMap& map)
{
    auto* start = map.FindOrClone(m_start);
    auto* control1 = map.FindOrClone(m_control1);
    auto* end = map.FindOrClone(m_end);
    auto* control2 = map.FindOrClone(m_control2);
    DrawLabel* label = m_label ? m_label->Clone(map) : nullptr;
    auto* copy = new CurveShape(start, end, control1, control2, m_handlesShown, label, m_penStyle, m_penColour);
    copy->m_visible = m_visible;
    map.AddItem(this, copy);
    return copy;
}

DiagramShape* CurveShape::SetOwner(DiagramShape* owner)
{
    DiagramShape::SetOwner(owner);
    if (!owner)
        for (VertexShape* vertex : VertexList())
            if (vertex->GetUseCount() == 1)
                vertex->SetOwner(this);
    return owner;
}

void CurveShape::AppendOutlinePoints(std::vector<DPoint>& points) const
{
    const std::vector<DPoint> chords = Flatten(points.back() == m_start->GetPoint());
    points.insert(points.end(), chords.begin(), chords.end());
}

// Without one of its ends the control points shape nothing: they go with
// the curve, and only the other end stays.
DiagramEditGroup* CurveShape::RemovePart(DiagramShape* part)
{
    std::vector<VertexShape*> rest;
    if (part == m_start)
        rest = {m_end};
    else if (part == m_end)
        rest = {m_start};
    else if (part == m_control1)
        rest = {m_start, m_end, m_control2};
    else
        rest = {m_start, m_control1, m_end};
    ItemArray<DiagramShape> parts;
    for (VertexShape* vertex : rest) {
        vertex->DiagramShape::SetOwner(nullptr);
        parts.Add(vertex);
    }
    return new DiagramEditGroup(this, std::move(parts));
}

// On the screen the arrowheads follow the tangent at the end.
void CurveShape::DrawStartArrow(DiagramDC& dc) const
{
    if (m_penStyle & kStartArrowBit)
        DrawArrow(dc, m_start->GetPoint(), m_control1->GetPoint());
}

void CurveShape::DrawEndArrow(DiagramDC& dc) const
{
    if (m_penStyle & kEndArrowBit)
        DrawArrow(dc, m_end->GetPoint(), m_control2->GetPoint());
}

bool CurveShape::AppendPathStep(const DiagramDC& dc, std::string& text, bool lineBefore,
                                VertexShape*& current) const
{
    const bool backward = current != m_start;
    const VertexShape* first = backward ? m_control2 : m_control1;
    const VertexShape* second = backward ? m_control1 : m_control2;
    current = backward ? m_start : m_end;
    text += (lineBefore ? "C " : "") + DevicePointText(dc, first->GetPoint()) +
            DevicePointText(dc, second->GetPoint()) + DevicePointText(dc, current->GetPoint());
    return false;
}

void CurveShape::Write(DocWriter& writer)
{
    EdgeShape::Write(writer);
    writer.WriteSharedObject(m_control1);
    writer.WriteSharedObject(m_control2);
    writer.WriteByte(m_handlesShown ? 1 : 0);
}

void CurveShape::Read(DocReader& reader, void* context)
{
    EdgeShape::Read(reader, context);
    m_control1 = ReadUsedVertex(reader, this);
    m_control2 = ReadUsedVertex(reader, this);
    m_handlesShown = reader.ReadBool();
}

// The vertex starts at the parameter of the curve's point nearest to it,
// so that holding it on the curve moves nothing at first.
DrawConstraint* CurveShape::MakeAttachConstraint(VertexShape* vertex)
{
    constexpr int kSteps = 256;
    const DPoint p = vertex->GetPoint();
    double best = 0.0;
    double bestDistance = -1.0;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = static_cast<double>(i) / kSteps;
        const double u = 1.0 - t;
        DPoint at(0, 0);
        const double weights[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
        for (int k = 0; k < 4; ++k)
            at = at + GetControlPoint(k)->GetPoint() * weights[k];
        const double distance = at.Distance(p);
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = t;
        }
    }
    return new PointOnCurveConstraint(this, vertex, new DrawVariable(best, false), true);
}
