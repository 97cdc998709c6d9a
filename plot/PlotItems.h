#pragma once
// The items of a 2-D plot's curves: axis ticks with labels, lines,
// polylines, points and texts, in plot (world) coordinates. Each is one
// record: its kind, a length and its body. Drawings draw and hit them
// through their transform; drawing into a plot picture, the exported forms
// and the kernel forms come with the 2-D plots.
//
// Bodies: ticks: side byte, x, y, label (at most 31 characters); line: two
// points; point: x, y; polyline: a 32-bit count and the points; text: x,
// y, label.
#include "foundation/ArchiveItem.h"
#include "foundation/DPoint.h"

#include <memory>
#include <string>
#include <vector>

class ExprNode;
class MathMLOutput;
class PlotGeometry;
class PlotTransform;

// The stroke (and fill) attributes that end a plot item's SVG element: the
// pen of the drawing or plot the item belongs to.
class SvgStroke {
public:
    virtual ~SvgStroke() = default;
    // filled: the element is filled in the stroke's colour.
    virtual void WriteStroke(MathMLOutput& writer, bool filled) const = 0;
};

namespace plot {
constexpr int32_t kTickX = 1;
constexpr int32_t kTickY = 2;
constexpr int32_t kLine = 3;
constexpr int32_t kPoint = 4;
constexpr int32_t kPolyline = 5;
constexpr int32_t kText = 6;
constexpr int kMaxLabel = 31;
// A tick's mark is this many points long.
constexpr int kTickPoints = 4;
// Lines and polylines are hit within this many pixels.
constexpr double kHitPixels = 2.0;
} // namespace plot

class PlotItem : public ArchiveItem {
public:
    virtual std::unique_ptr<PlotItem> Clone() const = 0;
    int32_t GetKind() const override = 0;
    // Through the drawing's transform, with the drawing context's pen.
    virtual void DrawInDiagram(const PlotTransform& transform) const {}
    virtual bool HitTest(const DPoint& point, const PlotTransform& transform) const { return false; }
    virtual void WriteSVG(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke& stroke) const {}
    // The item as kernel graphics (owned by the caller), or null.
    virtual ExprNode* ToExpression(const PlotGeometry& geometry) const { return nullptr; }
};

// A point and a label; side 0 puts the label below the x axis or left of
// the y axis, any other value above or right.
class PlotTick : public PlotItem {
public:
    PlotTick() = default;
    // The label is the coordinate along the axis in "%g" form.
    PlotTick(const DPoint& point, int32_t side, double labelValue);
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;

    DPoint GetPoint() const { return m_point; }
    int32_t GetSide() const { return m_side; }
    const std::string& GetLabel() const { return m_label; }

protected:
    DPoint m_point;
    int32_t m_side = 0;
    std::string m_label;
};

class PlotTickX : public PlotTick {
public:
    PlotTickX() = default;
    PlotTickX(const DPoint& point, int32_t side) : PlotTick(point, side, point.x) {}
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotTickX>(*this); }
    int32_t GetKind() const override { return plot::kTickX; }
    void DrawInDiagram(const PlotTransform& transform) const override;
    void WriteSVG(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke& stroke) const override;
    ExprNode* ToExpression(const PlotGeometry& geometry) const override;
};

class PlotTickY : public PlotTick {
public:
    PlotTickY() = default;
    PlotTickY(const DPoint& point, int32_t side) : PlotTick(point, side, point.y) {}
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotTickY>(*this); }
    int32_t GetKind() const override { return plot::kTickY; }
    void DrawInDiagram(const PlotTransform& transform) const override;
    void WriteSVG(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke& stroke) const override;
    ExprNode* ToExpression(const PlotGeometry& geometry) const override;
};

class PlotLine : public PlotItem {
public:
    PlotLine() = default;
    PlotLine(const DPoint& a, const DPoint& b) : m_a(a), m_b(b) {}
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotLine>(*this); }
    int32_t GetKind() const override { return plot::kLine; }
    void DrawInDiagram(const PlotTransform& transform) const override;
    // Near either end, or near the segment between them.
    bool HitTest(const DPoint& point, const PlotTransform& transform) const override;
    void WriteSVG(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke& stroke) const override;
    ExprNode* ToExpression(const PlotGeometry& geometry) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DPoint GetA() const { return m_a; }
    DPoint GetB() const { return m_b; }

private:
    DPoint m_a;
    DPoint m_b;
};

class PlotPoint : public PlotItem {
public:
    PlotPoint() = default;
    explicit PlotPoint(const DPoint& point) : m_point(point) {}
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotPoint>(*this); }
    int32_t GetKind() const override { return plot::kPoint; }
    void DrawInDiagram(const PlotTransform& transform) const override;
    void WriteSVG(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke& stroke) const override;
    ExprNode* ToExpression(const PlotGeometry& geometry) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DPoint GetPoint() const { return m_point; }

private:
    DPoint m_point;
};

class PlotPolyline : public PlotItem {
public:
    PlotPolyline() = default;
    explicit PlotPolyline(std::vector<DPoint> points) : m_points(std::move(points)) {}
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotPolyline>(*this); }
    int32_t GetKind() const override { return plot::kPolyline; }
    void DrawInDiagram(const PlotTransform& transform) const override;
    bool HitTest(const DPoint& point, const PlotTransform& transform) const override;
    void WriteSVG(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke& stroke) const override;
    ExprNode* ToExpression(const PlotGeometry& geometry) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    const std::vector<DPoint>& GetPoints() const { return m_points; }

private:
    std::vector<DPoint> m_points;
};

class PlotText : public PlotItem {
public:
    PlotText() = default;
    PlotText(const DPoint& point, std::string label);
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotText>(*this); }
    int32_t GetKind() const override { return plot::kText; }
    void DrawInDiagram(const PlotTransform& transform) const override;
    ExprNode* ToExpression(const PlotGeometry& geometry) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DPoint GetPoint() const { return m_point; }
    const std::string& GetLabel() const { return m_label; }

private:
    DPoint m_point;
    std::string m_label;
};
