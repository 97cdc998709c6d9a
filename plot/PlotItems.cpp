#include "plot/PlotItems.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/Str255.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/MathMLOutput.h"
#include "kernel/PlotNodes.h"
#include "plot/PlotGeometry.h"
#include "plot/PlotStyle.h"
#include "plot/PlotTransform.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace plot;

namespace {

void WritePoint(DocWriter& writer, const DPoint& point)
{
    writer.WriteDouble(point.x);
    writer.WriteDouble(point.y);
}

DPoint ReadPoint(DocReader& reader)
{
    const double x = reader.ReadDouble();
    return {x, reader.ReadDouble()};
}

void WriteLabel(DocWriter& writer, const std::string& label)
{
    writer.WritePString(Str255(label.c_str()), true);
}

// Up to 255 characters are read; a label keeps 31.
std::string ReadLabel(DocReader& reader)
{
    Str255 text;
    reader.ReadPString(text, true);
    std::string label(text.GetText(), static_cast<size_t>(text.GetLength()));
    if (label.size() > static_cast<size_t>(kMaxLabel))
        label.resize(kMaxLabel);
    return label;
}

std::string Cut(std::string label)
{
    if (label.size() > static_cast<size_t>(kMaxLabel))
        label.resize(kMaxLabel);
    return label;
}

int TickLength(int resolution)
{
    return resolution * kTickPoints / 72;
}

Rect TextExtent(const std::string& text)
{
    Rect extent;
    gDrawContext.GetTextExtent(Str255(text.c_str()), extent);
    return extent;
}

void TextAt(const std::string& text, int x, int y)
{
    gDrawContext.MoveTo(IntPoint(x, y));
    gDrawContext.TextOutAt(text.c_str());
}

bool NearPoint(const DPoint& p, const DPoint& q, double tolerance)
{
    return p.Distance(q) < tolerance;
}

// ---- SVG ----

// SVG lengths are written at ten times the device's pixels.
constexpr int kSvgScale = 10;
constexpr int kSvgTickStroke = 5;

void SvgPoint(MathMLOutput& writer, const char* x, const char* y, const IntPoint& p)
{
    writer.WriteIntAttribute(x, p.x);
    writer.WriteIntAttribute(y, p.y);
}

void SvgTickLine(MathMLOutput& writer, const IntPoint& from, const IntPoint& to)
{
    writer.StartEmptyElement("line");
    SvgPoint(writer, "x1", "y1", from);
    SvgPoint(writer, "x2", "y2", to);
    writer.WriteAttribute("stroke", "black");
    writer.WriteIntAttribute("stroke-width", kSvgTickStroke);
    writer.EndPendingTag(true);
}

// A tick label: the anchor (empty for the start) and the label size in
// points, written as valid CSS.
void SvgTickLabel(MathMLOutput& writer, const IntPoint& at, const char* anchor, const std::string& label)
{
    const int size = kSvgScale * PlotStyle().GetFontSize();
    std::string style = anchor[0] ? std::string("text-anchor: ") + anchor + "; " : std::string();
    style += "font-family: monospace; font-size: " + std::to_string(size) + "pt";
    writer.Indent();
    writer.WriteIndent();
    writer.StartElement("text", false);
    SvgPoint(writer, "x", "y", at);
    writer.WriteAttribute("style", style.c_str());
    writer.EndPendingTag(false);
    writer.WriteEscapedCString(label.c_str());
    writer.EndElement("text", false);
    writer.NewLine();
    writer.Outdent();
}

// ---- kernel forms ----

ExprNode* PointNode2(const DPoint& p)
{
    auto* list = new ListNode;
    list->AppendChild(new RealNode(p.x));
    list->AppendChild(new RealNode(p.y));
    return list;
}

ExprNode* PointsNode(const std::vector<DPoint>& points)
{
    auto* list = new ListNode;
    for (const DPoint& p : points)
        list->AppendChild(PointNode2(p));
    return list;
}

ExprNode* TickNode(const DPoint& from, const DPoint& to, const DPoint& textAt, const std::string& label)
{
    auto* list = new ListNode;
    list->AppendChild(new GraphicsLineNode(PointsNode({from, to})));
    list->AppendChild(new GraphicsTextNode(new StringNode(label), PointNode2(textAt)));
    return list;
}

} // namespace

PlotTick::PlotTick(const DPoint& point, int32_t side, double labelValue) : m_point(point), m_side(side)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", labelValue);
    m_label = Cut(text);
}

void PlotTick::Write(DocWriter& writer)
{
    writer.WriteByte(static_cast<uint8_t>(m_side));
    WritePoint(writer, m_point);
    WriteLabel(writer, m_label);
}

void PlotTick::Read(DocReader& reader, void*)
{
    m_side = reader.ReadByte();
    m_point = ReadPoint(reader);
    m_label = ReadLabel(reader);
}

void PlotTickX::DrawInDiagram(const PlotTransform& transform) const
{
    const IntPoint p = transform.WorldToScreen(m_point);
    const int length = TickLength(gDrawContext.GetResolutionY());
    gDrawContext.DrawLine(p, IntPoint(p.x, m_side == 0 ? p.y - length : p.y + length));
    const Rect extent = TextExtent(m_label);
    const int y = m_side == 0 ? p.y - extent.top + length : p.y - extent.bottom - length;
    TextAt(m_label, p.x - extent.Width() / 2, y);
}

void PlotTickX::WriteSVG(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke&) const
{
    const IntPoint p = transform.WorldToScreen(m_point);
    const int length = kSvgScale * TickLength(gDrawContext.GetResolutionY());
    const int font = kSvgScale * PlotStyle().GetFontSize();
    SvgTickLine(writer, p, IntPoint(p.x, m_side == 0 ? p.y - length : p.y + length));
    SvgTickLabel(writer, IntPoint(p.x, m_side == 0 ? p.y + font + length : p.y - length), "middle", m_label);
}

ExprNode* PlotTickX::ToExpression(const PlotGeometry& geometry) const
{
    const IntPoint p = geometry.PlotToDevice(m_point);
    const int y1 = m_side == 0 ? p.y - 4 : p.y + 4;
    const Rect extent = TextExtent(m_label);
    const int half = (extent.top - extent.bottom) / 2;
    const int textY = m_side == 0 ? y1 + 8 + half : y1 - 8 - half;
    const DPoint end(m_point.x, geometry.DeviceToPlot(IntPoint(p.x, y1)).y);
    const DPoint text(m_point.x, geometry.DeviceToPlot(IntPoint(p.x, textY)).y);
    return TickNode(m_point, end, text, m_label);
}

void PlotTickY::WriteSVG(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke&) const
{
    const IntPoint p = transform.WorldToScreen(m_point);
    const int length = kSvgScale * TickLength(gDrawContext.GetResolutionY());
    SvgTickLine(writer, p, IntPoint(m_side == 0 ? p.x + length : p.x - length, p.y));
    if (m_side == 0)
        SvgTickLabel(writer, IntPoint(p.x - length, p.y), "end", m_label);
    else
        SvgTickLabel(writer, IntPoint(p.x + length, p.y), "", m_label);
}

ExprNode* PlotTickY::ToExpression(const PlotGeometry& geometry) const
{
    const IntPoint p = geometry.PlotToDevice(m_point);
    const int x1 = m_side == 0 ? p.x + 4 : p.x - 4;
    const int half = TextExtent(m_label).Width() / 2;
    const int textX = m_side == 0 ? x1 - 8 - half : x1 + 8 + half;
    const DPoint end(geometry.DeviceToPlot(IntPoint(x1, p.y)).x, m_point.y);
    const DPoint text(geometry.DeviceToPlot(IntPoint(textX, p.y)).x, m_point.y);
    return TickNode(m_point, end, text, m_label);
}

void PlotTickY::DrawInDiagram(const PlotTransform& transform) const
{
    const IntPoint p = transform.WorldToScreen(m_point);
    const int length = TickLength(gDrawContext.GetResolutionX());
    gDrawContext.DrawLine(p, IntPoint(m_side == 0 ? p.x + length : p.x - length, p.y));
    const Rect extent = TextExtent(m_label);
    const int x = m_side == 0 ? p.x - extent.Width() - length : p.x + length;
    TextAt(m_label, x, p.y - (extent.top + extent.bottom) / 3);
}

void PlotLine::DrawInDiagram(const PlotTransform& transform) const
{
    gDrawContext.DrawLine(transform.WorldToScreen(m_a), transform.WorldToScreen(m_b));
}

bool PlotLine::HitTest(const DPoint& point, const PlotTransform& transform) const
{
    const double tolerance = transform.PixelsToWorld(kHitPixels);
    return NearPoint(point, m_a, tolerance) || NearPoint(point, m_b, tolerance) ||
           IsNearSegment(point, m_a, m_b, tolerance);
}

void PlotLine::WriteSVG(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke& stroke) const
{
    writer.StartEmptyElement("line");
    SvgPoint(writer, "x1", "y1", transform.WorldToScreen(m_b));
    SvgPoint(writer, "x2", "y2", transform.WorldToScreen(m_a));
    stroke.WriteStroke(writer, false);
    writer.EndPendingTag(true);
}

ExprNode* PlotLine::ToExpression(const PlotGeometry&) const
{
    return new GraphicsLineNode(PointsNode({m_a, m_b}));
}

void PlotLine::Write(DocWriter& writer)
{
    WritePoint(writer, m_a);
    WritePoint(writer, m_b);
}

void PlotLine::Read(DocReader& reader, void*)
{
    m_a = ReadPoint(reader);
    m_b = ReadPoint(reader);
}

void PlotPoint::DrawInDiagram(const PlotTransform& transform) const
{
    const IntPoint p = transform.WorldToScreen(m_point);
    gDrawContext.DrawRectangle(Rect(p.x - 2, p.y - 2, p.x + 2, p.y + 2));
}

void PlotPoint::WriteSVG(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke& stroke) const
{
    constexpr double kRadiusPixels = 2;
    const IntPoint p = transform.WorldToScreen(m_point);
    const DPoint edge(m_point.x + transform.PixelsToWorld(kRadiusPixels), m_point.y);
    writer.StartEmptyElement("circle");
    SvgPoint(writer, "cx", "cy", p);
    writer.WriteIntAttribute("r", std::abs(transform.WorldToScreen(edge).x - p.x));
    stroke.WriteStroke(writer, true);
    writer.EndPendingTag(true);
}

ExprNode* PlotPoint::ToExpression(const PlotGeometry&) const
{
    return new GraphicsPointNode(PointNode2(m_point));
}

void PlotPoint::Write(DocWriter& writer)
{
    WritePoint(writer, m_point);
}

void PlotPoint::Read(DocReader& reader, void*)
{
    m_point = ReadPoint(reader);
}

void PlotPolyline::DrawInDiagram(const PlotTransform& transform) const
{
    for (size_t i = 1; i < m_points.size(); ++i)
        gDrawContext.DrawLine(transform.WorldToScreen(m_points[i - 1]), transform.WorldToScreen(m_points[i]));
}

bool PlotPolyline::HitTest(const DPoint& point, const PlotTransform& transform) const
{
    const double tolerance = transform.PixelsToWorld(kHitPixels);
    for (size_t i = 0; i < m_points.size(); ++i) {
        if (NearPoint(point, m_points[i], tolerance))
            return true;
        if (i > 0 && IsNearSegment(point, m_points[i - 1], m_points[i], tolerance))
            return true;
    }
    return false;
}

void PlotPolyline::WriteSVG(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke& stroke) const
{
    std::string points;
    for (const DPoint& point : m_points) {
        const IntPoint p = transform.WorldToScreen(point);
        if (!points.empty())
            points += ' ';
        points += std::to_string(p.x) + ',' + std::to_string(p.y);
    }
    writer.StartEmptyElement("polyline");
    writer.WriteAttribute("points", points.c_str());
    stroke.WriteStroke(writer, false);
    writer.EndPendingTag(true);
}

ExprNode* PlotPolyline::ToExpression(const PlotGeometry&) const
{
    return new GraphicsLineNode(PointsNode(m_points));
}

void PlotPolyline::Write(DocWriter& writer)
{
    writer.WriteLong(static_cast<int32_t>(m_points.size()));
    for (const DPoint& point : m_points)
        WritePoint(writer, point);
}

void PlotPolyline::Read(DocReader& reader, void*)
{
    constexpr int32_t kPointBytes = 16;
    const int32_t count = reader.ReadCount(kPointBytes);
    m_points.clear();
    m_points.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        m_points.push_back(ReadPoint(reader));
}

PlotText::PlotText(const DPoint& point, std::string label) : m_point(point), m_label(Cut(std::move(label))) {}

void PlotText::DrawInDiagram(const PlotTransform& transform) const
{
    const IntPoint p = transform.WorldToScreen(m_point);
    TextAt(m_label, p.x - TextExtent(m_label).Width() / 2, p.y);
}

ExprNode* PlotText::ToExpression(const PlotGeometry&) const
{
    return new GraphicsTextNode(new StringNode(m_label), PointNode2(m_point));
}

void PlotText::Write(DocWriter& writer)
{
    WritePoint(writer, m_point);
    WriteLabel(writer, m_label);
}

void PlotText::Read(DocReader& reader, void*)
{
    m_point = ReadPoint(reader);
    m_label = ReadLabel(reader);
}
