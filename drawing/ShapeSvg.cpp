// The SVG forms of the drawing shapes: every coordinate goes through the
// drawing's transform as integer device units; hidden shapes write nothing.
#include "drawing/CircleShape.h"
#include "drawing/CurveShape.h"
#include "drawing/DiagramDC.h"
#include "drawing/PlotShape.h"
#include "drawing/PolygonShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/SvgOutput.h"
#include "drawing/VertexShape.h"
#include "foundation/IntPoint.h"
#include "kernel/MathMLOutput.h"
#include "plot/PlotCurveSet.h"
#include "plot/PlotItems.h"

namespace {

constexpr int32_t kStartArrow = 0x80;
constexpr int32_t kEndArrow = 0x40;

void WriteVertex(MathMLOutput& writer, const DiagramDC& dc, const VertexShape* vertex)
{
    if (vertex)
        vertex->WriteSVG(writer, dc);
}

// Closes an edge's element with its stroke, then writes the arrowheads its
// pen asks for and its two end vertices.
void WriteStrokeAndEnds(MathMLOutput& writer, const DiagramDC& dc, const ShapeStyle& style, const EdgeShape& edge)
{
    svg::Stroke(writer, style);
    writer.EndPendingTag(true);
    const DPoint start = edge.GetStart()->GetPoint();
    const DPoint end = edge.GetEnd()->GetPoint();
    if (style.penStyle & kStartArrow)
        svg::Arrowhead(writer, dc, start, end, style.penStyle, style.lineColour);
    if (style.penStyle & kEndArrow)
        svg::Arrowhead(writer, dc, end, start, style.penStyle, style.lineColour);
    WriteVertex(writer, dc, edge.GetStart());
    WriteVertex(writer, dc, edge.GetEnd());
}

std::string DeviceText(const DiagramDC& dc, const DPoint& point)
{
    const IntPoint p = dc.WorldToScreen(point);
    return std::to_string(p.x) + " " + std::to_string(p.y) + " ";
}

// The stroke of a plot item: the plot shape's pen, filled in its colour
// for points.
class ShapeStroke : public SvgStroke {
public:
    explicit ShapeStroke(const ShapeStyle& style) : m_style(style) {}
    void WriteStroke(MathMLOutput& writer, bool filled) const override
    {
        if (!filled) {
            svg::Stroke(writer, m_style);
            return;
        }
        ShapeStyle style = m_style;
        style.fillColour = style.lineColour;
        style.filled = true;
        svg::FillStroke(writer, style);
    }

private:
    ShapeStyle m_style;
};

} // namespace

// A dot of 1.5 base units, in the vertex's colour.
void VertexShape::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!IsVisible())
        return;
    const ShapeStyle own = GetStyle();
    writer.StartEmptyElement("circle");
    svg::PointAttributes(writer, dc, "cx", "cy", GetPoint());
    svg::LengthAttribute(writer, dc, "r", 1.5 * dc.GetBaseScale());
    svg::FillStroke(writer, ShapeStyle{own.penStyle, own.lineColour, own.lineColour, true});
    writer.EndPendingTag(true);
}

void CircleShape::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!IsVisible())
        return;
    writer.StartEmptyElement("circle");
    svg::PointAttributes(writer, dc, "cx", "cy", m_centre->GetPoint());
    svg::LengthAttribute(writer, dc, "r", GetRadius());
    svg::FillStroke(writer, m_style);
    writer.EndPendingTag(true);
    WriteVertex(writer, dc, m_centre);
}

void SegmentShape::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!IsVisible())
        return;
    const ShapeStyle style = GetStyle();
    writer.StartEmptyElement("line");
    svg::PointAttributes(writer, dc, "x1", "y1", GetStart()->GetPoint());
    svg::PointAttributes(writer, dc, "x2", "y2", GetEnd()->GetPoint());
    WriteStrokeAndEnds(writer, dc, style, *this);
}

void CurveShape::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!IsVisible())
        return;
    const ShapeStyle style = GetStyle();
    const std::string d = "M " + DeviceText(dc, GetStart()->GetPoint()) + "C " + DeviceText(dc, m_control1->GetPoint()) +
                          DeviceText(dc, m_control2->GetPoint()) + DeviceText(dc, GetEnd()->GetPoint());
    writer.StartEmptyElement("path");
    writer.WriteAttribute("d", d.substr(0, d.size() - 1).c_str());
    WriteStrokeAndEnds(writer, dc, style, *this);
}

// Triangles and rectangles: one polygon element; the sides write nothing.
void SidedShape::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!IsVisible())
        return;
    std::vector<DPoint> points;
    for (const VertexShape* vertex : m_vertices)
        points.push_back(vertex->GetPoint());
    writer.StartEmptyElement("polygon");
    svg::PointsAttribute(writer, dc, "points", points);
    svg::FillStroke(writer, GetStyle());
    writer.EndPendingTag(true);
    for (const SegmentShape* side : m_sides) {
        const DPoint start = side->GetStart()->GetPoint(), end = side->GetEnd()->GetPoint();
        if (side->GetPenStyle() & kStartArrow)
            svg::Arrowhead(writer, dc, start, end, side->GetPenStyle(), side->GetPenColour());
        if (side->GetPenStyle() & kEndArrow)
            svg::Arrowhead(writer, dc, end, start, side->GetPenStyle(), side->GetPenColour());
    }
    for (const VertexShape* vertex : m_vertices)
        WriteVertex(writer, dc, vertex);
}

// One path walked edge by edge from an open end (or, closed, from the last
// vertex), filled when closed.
void PolygonShape::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!IsVisible() || m_edges.IsEmpty() || m_vertices.IsEmpty())
        return;
    auto endsAt = [this](const VertexShape* vertex) {
        int count = 0;
        for (const EdgeShape* edge : m_edges)
            count += edge->HasEnd(vertex) ? 1 : 0;
        return count;
    };
    VertexShape* start = m_vertices.GetAt(m_vertices.GetCount() - 1);
    for (VertexShape* vertex : m_vertices) {
        if (endsAt(vertex) == 1) {
            start = vertex;
            break;
        }
    }
    const EdgeShape* edge = nullptr;
    for (const EdgeShape* candidate : m_edges)
        if (candidate->HasEnd(start))
            edge = candidate;
    if (!edge)
        return;
    std::string d;
    d.reserve(256);
    d = "M " + DeviceText(dc, start->GetPoint());
    VertexShape* current = start;
    bool line = edge->IsCurve();
    const EdgeShape* firstWalked = edge;
    const EdgeShape* lastWalked = edge;
    for (int step = 0; step < m_edges.GetCount() && edge; ++step) {
        line = edge->AppendPathStep(dc, d, line, current);
        lastWalked = edge;
        const EdgeShape* next = nullptr;
        for (const EdgeShape* candidate : m_edges) {
            if (candidate != edge && candidate->HasEnd(current)) {
                next = candidate;
                break;
            }
        }
        edge = next;
    }
    if (!d.empty() && d.back() == ' ')
        d.pop_back();
    const ShapeStyle style = GetStyle();
    writer.StartEmptyElement("path");
    writer.WriteAttribute("d", d.c_str());
    if (IsClosed())
        svg::FillStroke(writer, style);
    else
        svg::Stroke(writer, style);
    writer.EndPendingTag(true);
    if (!IsClosed()) {
        if (style.penStyle & kStartArrow) {
            const VertexShape* tip = firstWalked->GetStart();
            svg::Arrowhead(writer, dc, tip->GetPoint(), firstWalked->OtherEnd(tip)->GetPoint(), style.penStyle,
                           style.lineColour);
        }
        if (style.penStyle & kEndArrow) {
            const VertexShape* tip = lastWalked->GetEnd();
            svg::Arrowhead(writer, dc, tip->GetPoint(), lastWalked->OtherEnd(tip)->GetPoint(), style.penStyle,
                           style.lineColour);
        }
    }
    for (const VertexShape* vertex : m_vertices)
        WriteVertex(writer, dc, vertex);
}

void PlotShape::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!IsVisible() || !m_curves)
        return;
    m_curves->WriteSVGAll(writer, dc, ShapeStroke(GetStyle()));
}
