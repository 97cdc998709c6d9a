#include "plot/PlotItems.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/Str255.h"
#include "plot/PlotTransform.h"

#include <cstdio>

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
