#pragma once
// A drawing's own coordinate transform and pen state. World coordinates are
// doubles with y growing upwards; device points are integers of the drawing
// context's current device with y growing downwards, in document coordinates
// (the drawing context adds its origin and scroll). Lengths in points become
// pixels by the device resolution / 72, so a drawing looks the same on the
// screen, in a picture and on a printer.
//
// Pens: thickness comes from the style's low bits (0.5, 1 or 2 points, at
// least one pixel); dashing is not done by the pen but by DashedLine, which
// draws the "on" pieces as separate lines and carries the pattern's phase
// from one line to the next. While highlights are open every pen is red.
#include "foundation/DPoint.h"
#include "foundation/IntPoint.h"
#include "platform/draw/GdiTypes.h"
#include "plot/PlotTransform.h"

#include <array>
#include <cstdint>
#include <vector>

class DocReader;
class DocWriter;

class DiagramDC : public PlotTransform {
public:
    DiagramDC();
    // Origin, both scales and pixel origin; no highlight and no window size.
    DiagramDC(const DiagramDC& other);
    DiagramDC& operator=(const DiagramDC& other);

    // ---- transform ----
    IntPoint WorldToScreen(const DPoint& world) const override;
    DPoint ScreenToWorld(const IntPoint& device) const;
    double PixelsToWorld(double pixels) const override;
    int WorldToPixels(double length) const;
    // The scale in use becomes the base scale divided by factor.
    void SetZoom(double factor);
    // Zooms by factor keeping the world point under the device point in
    // place. Free while the base scale lies within its range; outside it only
    // a zoom back towards the range is taken. Answers whether it zoomed.
    bool ZoomAbout(const IntPoint& device, double factor);
    // Moves the picture by a device offset.
    void ScrollBy(int dx, int dy);
    void SetPixelOrigin(const IntPoint& origin) { m_pixelOrigin = origin; }
    IntPoint SwapPixelOrigin(const IntPoint& origin);
    IntPoint GetPixelOrigin() const { return m_pixelOrigin; }
    void SetWindowSize(int width, int height);
    // Device coordinates and lengths come out this many times larger (SVG
    // output works at ten times the pixel values; 1 otherwise).
    void SetOutputFactor(int factor) { m_outputFactor = factor > 0 ? factor : 1; }
    int GetOutputFactor() const { return m_outputFactor; }
    int GetWindowWidth() const { return m_windowWidth; }
    int GetWindowHeight() const { return m_windowHeight; }
    DPoint WindowCentre() const;
    DPoint GetWorldOrigin() const { return {m_x0, m_y0}; }
    void SetWorldOrigin(const DPoint& origin);
    double GetBaseScale() const { return m_baseScale; }
    double GetCurrentScale() const { return m_currentScale; }
    // Sets both scales; the scale must be positive and finite.
    void SetScale(double scale);

    void Write(DocWriter& writer) const;
    // Raises CFormatException for a scale that is not positive and finite or
    // an origin that is not finite.
    void Read(DocReader& reader);

    // ---- pens ----
    void SetPen(int32_t style, COLORREF colour, bool force);
    // A one-pixel solid black pen for a drawing pass, and back afterwards.
    void BeginPen();
    void EndPen();
    void SetDash(int32_t style);
    void Highlight();
    void Unhighlight();
    void SetConstraintPen(bool selected);
    int32_t GetPenStyle() const { return m_penStyle; }
    COLORREF GetPenColour() const { return m_penColour; }
    int GetPenWidth() const { return m_penWidth; }
    // How many pens have been selected (tests).
    int GetPenSelections() const { return m_penSelections; }
    double GetDashPhase() const { return m_dashPhase; }
    int GetHighlightDepth() const { return m_highlightDepth; }
    // The width in pixels of a pen style on the current device.
    static int PenWidthFor(int32_t style);

    // ---- primitives (world coordinates) ----
    void Line(const DPoint& p, const DPoint& q);
    void DashedLine(const DPoint& p, const DPoint& q, int32_t style, COLORREF colour, bool force);
    void Polyline(const std::vector<DPoint>& points);
    void VertexMark(const DPoint& point, int32_t style, COLORREF colour);
    void CircleOutline(const DPoint& centre, double radius, int32_t style, COLORREF colour);
    void Circle(const DPoint& centre, double radius);
    void Disc(const DPoint& centre, double radius, COLORREF colour);
    // The closed outline filled with the colour, without a border.
    void FillPolygon(const std::vector<DPoint>& points, COLORREF colour);
    void Arc(const DPoint& centre, double radius, const DPoint& from, const DPoint& to);
    void SelectionFrame(const DPoint& topLeft, const DPoint& bottomRight);
    void LabelFrame(const DPoint& topLeft, const DPoint& bottomRight, const DPoint& anchor);

private:
    int DeviceLength(double length, int resolution) const;
    void DeviceLine(const IntPoint& a, const IntPoint& b);
    void SelectDevicePen();
    void ReloadDashes();

    double m_x0 = 0.0;
    double m_y0 = 0.0;
    double m_baseScale;
    double m_currentScale;
    IntPoint m_pixelOrigin;
    int m_highlightDepth = 0;
    int32_t m_penStyle = -1;
    COLORREF m_penColour = 0;
    int m_penWidth = 1;
    int m_windowWidth = 0;
    int m_windowHeight = 0;
    std::array<double, 4> m_dashLengths{};
    int m_dashIndex = 0;
    double m_dashPhase = 0.0;
    int m_penSelections = 0;
    int m_outputFactor = 1;
};
