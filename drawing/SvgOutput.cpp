#include "drawing/SvgOutput.h"

#include "drawing/DiagramDC.h"
#include "drawing/DrawingCodes.h"
#include "foundation/IntPoint.h"
#include "kernel/MathMLOutput.h"

#include <cmath>
#include <cstdio>

namespace svg {

namespace {

std::string Rgb(COLORREF colour)
{
    char text[48];
    std::snprintf(text, sizeof text, "rgb(%d,%d,%d)", int(GetRValue(colour)), int(GetGValue(colour)),
                  int(GetBValue(colour)));
    return text;
}

void StrokeColourAndWidth(MathMLOutput& writer, const ShapeStyle& style)
{
    writer.WriteAttribute("stroke", Rgb(style.lineColour).c_str());
    writer.WriteIntAttribute("stroke-width", StrokeWidth(style.penStyle));
}

void DashPattern(MathMLOutput& writer, int32_t penStyle)
{
    const int dash = (penStyle >> 3) & 7;
    if (dash == 0)
        return;
    const drawing::DashRow& row = drawing::kDashTable[static_cast<size_t>(dash)];
    char text[96];
    std::snprintf(text, sizeof text, "stroke-dasharray: %d, %d, %d, %d", row[0] * kFactor,
                  (row[1] - row[0]) * kFactor, (row[2] - row[1]) * kFactor, (row[3] - row[2]) * kFactor);
    writer.WriteAttribute("style", text);
}

} // namespace

void Start(MathMLOutput& writer, DiagramDC& dc, int width, int height)
{
    dc.SetOutputFactor(kFactor);
    writer.StartElement("svg", true);
    writer.WriteAttribute("width", (std::to_string(width) + "px").c_str());
    writer.WriteAttribute("height", (std::to_string(height) + "px").c_str());
    const std::string box = "0 0 " + std::to_string(kFactor * width) + " " + std::to_string(kFactor * height);
    writer.WriteAttribute("viewBox", box.c_str());
    writer.WriteAttribute("xmlns", kNamespace);
    writer.WriteAttribute("version", "1.1");
    writer.EndPendingTag(true);
}

void End(MathMLOutput& writer, DiagramDC& dc)
{
    writer.EndElement("svg", true);
    dc.SetOutputFactor(1);
}

void PointAttributes(MathMLOutput& writer, const DiagramDC& dc, const char* xName, const char* yName,
                     const DPoint& point)
{
    const IntPoint device = dc.WorldToScreen(point);
    writer.WriteIntAttribute(xName, device.x);
    writer.WriteIntAttribute(yName, device.y);
}

void LengthAttribute(MathMLOutput& writer, const DiagramDC& dc, const char* name, double length)
{
    writer.WriteIntAttribute(name, dc.WorldToPixels(length));
}

void PointsAttribute(MathMLOutput& writer, const DiagramDC& dc, const char* name, const std::vector<DPoint>& points)
{
    std::string text;
    for (const DPoint& point : points) {
        const IntPoint device = dc.WorldToScreen(point);
        if (!text.empty())
            text += ' ';
        text += std::to_string(device.x) + ',' + std::to_string(device.y);
    }
    writer.WriteAttribute(name, text.c_str());
}

void ArcPath(MathMLOutput& writer, const DiagramDC& dc, double radius, const DPoint& start, const DPoint& end)
{
    const IntPoint a = dc.WorldToScreen(start);
    const IntPoint b = dc.WorldToScreen(end);
    const int r = dc.WorldToPixels(radius);
    char d[128];
    std::snprintf(d, sizeof d, "M%d,%d A%d,%d 0 0,1 %d,%d", a.x, a.y, r, r, b.x, b.y);
    writer.WriteAttribute("d", d);
}

std::string FontSize(int pointSize)
{
    return "font-size: " + std::to_string(kFactor * pointSize) + "pt";
}

int StrokeWidth(int32_t penStyle)
{
    switch (penStyle & 7) {
    case 0: return 5;
    case 2: return 20;
    default: return 10;
    }
}

void Stroke(MathMLOutput& writer, const ShapeStyle& style)
{
    DashPattern(writer, style.penStyle);
    StrokeColourAndWidth(writer, style);
    writer.WriteAttribute("fill", "none");
}

void FillStroke(MathMLOutput& writer, const ShapeStyle& style)
{
    StrokeColourAndWidth(writer, style);
    writer.WriteAttribute("fill", style.filled ? Rgb(style.fillColour).c_str() : "none");
}

void Arrowhead(MathMLOutput& writer, const DiagramDC& dc, const DPoint& tip, const DPoint& from, int32_t penStyle,
               COLORREF colour)
{
    const DPoint d = from - tip;
    const double length = std::sqrt(d.Dot(d));
    if (!(length > 0.0) || !std::isfinite(length))
        return;
    const DPoint u = d / length;
    const DPoint n(-u.y, u.x);
    const double l = 12.0 * 0.8 * dc.GetBaseScale();
    const IntPoint p = dc.WorldToScreen(tip);
    const IntPoint a = dc.WorldToScreen(tip + u * (1.5 * l) - n * (0.5 * l));
    const IntPoint b = dc.WorldToScreen(tip + u * (1.5 * l) + n * (0.5 * l));
    char text[160];
    std::snprintf(text, sizeof text, "M %d %d L %d %d %d %d %d %d", p.x, p.y, a.x, a.y, b.x, b.y, p.x, p.y);
    writer.StartEmptyElement("path");
    writer.WriteAttribute("d", text);
    FillStroke(writer, ShapeStyle{penStyle & ~0xF8, colour, colour, true});
    writer.EndPendingTag(true);
}

} // namespace svg
