#pragma once
// The SVG primitives through which drawing shapes, constraint markers,
// labels and plot items write themselves: the svg root, coordinates and
// lengths through the drawing's transform, point lists, arcs, strokes with
// dash patterns, fills and arrowheads. While an svg element is open the
// transform writes ten times the pixel values, and the view box scales them
// back, so that the picture keeps a tenth of a pixel's precision.
#include "drawing/ShapeStyle.h"
#include "foundation/DPoint.h"

#include <string>
#include <vector>

class CompList;
class DiagramDC;
class MathMLOutput;
struct IntPoint;

namespace svg {

constexpr const char* kNamespace = "http://www.w3.org/2000/svg";
constexpr int kFactor = 10;

// The CSS font size of type of the point size inside an svg element: the
// view box scales it back by the factor.
std::string FontSize(int pointSize);

// Opens the svg element of width by height pixels and sets the transform's
// output factor; End closes it and puts the factor back.
void Start(MathMLOutput& writer, DiagramDC& dc, int width, int height);
void End(MathMLOutput& writer, DiagramDC& dc);

void PointAttributes(MathMLOutput& writer, const DiagramDC& dc, const char* xName, const char* yName,
                     const DPoint& point);
void LengthAttribute(MathMLOutput& writer, const DiagramDC& dc, const char* name, double length);
// "x,y x,y ..." of the device points.
void PointsAttribute(MathMLOutput& writer, const DiagramDC& dc, const char* name, const std::vector<DPoint>& points);
// "d" of an arc of the radius from start to end (small arc, positive sweep).
void ArcPath(MathMLOutput& writer, const DiagramDC& dc, double radius, const DPoint& start, const DPoint& end);
// The stroke of a style without fill (with its dash pattern).
void Stroke(MathMLOutput& writer, const ShapeStyle& style);
// The stroke, and the fill colour when the style is filled.
void FillStroke(MathMLOutput& writer, const ShapeStyle& style);
// The stroke width of a pen style at ten times the pixel size.
int StrokeWidth(int32_t penStyle);
// A filled arrowhead with its tip at tip, pointing away from from.
void Arrowhead(MathMLOutput& writer, const DiagramDC& dc, const DPoint& tip, const DPoint& from, int32_t penStyle,
               COLORREF colour);

// The writer of label rows: an XML writer that can write component rows
// (text, MathML, or both) offers it; without it a label is plain text.
class LabelRowWriter {
public:
    virtual ~LabelRowWriter() = default;
    // The row in its frame (device corners, already through the transform),
    // at the point size.
    virtual void WriteLabelRow(const IntPoint& topLeft, const IntPoint& bottomRight, CompList& row,
                               int pointSize) = 0;
};

} // namespace svg
