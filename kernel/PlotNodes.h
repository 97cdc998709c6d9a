#pragma once
// The nodes a plot talks to the kernel with: the 2-D plot command
// (VXTwoDPlot[{f...}, {x, xmin, xmax}, {y, ymin, ymax}], sent as the
// argument of VXComputePlot) and the graphics the kernel answers with
// (Graphics, Line, Point, Text, Polygon, SurfaceGraphics); the 3-D command
// VXThreeDPlot adds a z range. A graphics node
// shows in a document as its text, "Line[...]"; a plot command read back
// from the kernel becomes a plot component.
#include "kernel/FixedNode.h"
#include "mathlink/MathLink.h"

#include <initializer_list>
#include <string>

class TextComp;
class ThreeDPlotNode;
class TwoDPlotNode;

// The plot component a plot command read from the kernel becomes; the plot
// code installs it, and without it such a command shows as its text.
using TwoDPlotComponentMaker = TextComp* (*)(TwoDPlotNode& node);
void InstallTwoDPlotComponentMaker(TwoDPlotComponentMaker maker);
using ThreeDPlotComponentMaker = TextComp* (*)(ThreeDPlotNode& node);
void InstallThreeDPlotComponentMaker(ThreeDPlotComponentMaker maker);

// A kernel head applied to a fixed number of children (some may be null).
class GraphicsPrimitiveNode : public FixedNode {
public:
    void PutPackageForm(MLINK link, int mode) const override;
    // "Head[" the children separated by "," "]" and a blank.
    void BuildComponents(CompList& list, int level) override;
    ExprNode* Child(int i) const { return i < GetChildCount() ? Part(i) : nullptr; }

protected:
    GraphicsPrimitiveNode(const char* head, int partCount) : FixedNode(partCount), m_head(head) {}
    GraphicsPrimitiveNode(const GraphicsPrimitiveNode& other) = default;
    virtual int UsedChildren() const { return GetChildCount(); }

private:
    const char* m_head;
};

// Graphics[content, options] or Graphics3D[...].
class GraphicsNode : public GraphicsPrimitiveNode {
public:
    GraphicsNode(ExprNode* content, ExprNode* options, bool twoDimensional);
    ExprNode* Clone() const override { return CloneOf(*this); }
    void BuildComponents(CompList& list, int level) override;
    TypeTag GetTag() const override { return tag_grfN; }
    ExprNode* Content() const { return Part(0); }
    ExprNode* Options() const { return Part(1); }
    bool IsTwoDimensional() const { return m_twoDimensional; }

private:
    bool m_twoDimensional;
};

// Line[{p1, p2, ...}].
class GraphicsLineNode : public GraphicsPrimitiveNode {
public:
    explicit GraphicsLineNode(ExprNode* points) : GraphicsPrimitiveNode("Line", 1) { SetPart(0, points); }
    ExprNode* Clone() const override { return CloneOf(*this); }
    TypeTag GetTag() const override { return tag_linN; }
    ExprNode* Points() const { return Part(0); }
};

// Point[{x, y}].
class GraphicsPointNode : public GraphicsPrimitiveNode {
public:
    explicit GraphicsPointNode(ExprNode* point) : GraphicsPrimitiveNode("Point", 1) { SetPart(0, point); }
    ExprNode* Clone() const override { return CloneOf(*this); }
    TypeTag GetTag() const override { return tag_poiN; }
    ExprNode* Point() const { return Part(0); }
};

// Polygon[{p1, p2, ...}].
class GraphicsPolygonNode : public GraphicsPrimitiveNode {
public:
    explicit GraphicsPolygonNode(ExprNode* points) : GraphicsPrimitiveNode("Polygon", 1) { SetPart(0, points); }
    ExprNode* Clone() const override { return CloneOf(*this); }
    TypeTag GetTag() const override { return tag_plyN; }
    ExprNode* Points() const { return Part(0); }
};

// Text[text, {x, y}].
class GraphicsTextNode : public GraphicsPrimitiveNode {
public:
    GraphicsTextNode(ExprNode* text, ExprNode* position);
    ExprNode* Clone() const override { return CloneOf(*this); }
    TypeTag GetTag() const override { return tag_texN; }
    ExprNode* Text() const { return Part(0); }
    ExprNode* Position() const { return Part(1); }
};

// SurfaceGraphics[heights, options]: options may be missing.
class SurfaceGraphicsNode : public GraphicsPrimitiveNode {
public:
    SurfaceGraphicsNode(ExprNode* heights, ExprNode* options);
    ExprNode* Clone() const override { return CloneOf(*this); }
    TypeTag GetTag() const override { return tag_surN; }
    ExprNode* Heights() const { return Part(0); }

protected:
    int UsedChildren() const override { return Part(1) ? 2 : 1; }
};

// A plot command: the function list made on the first AddFunction, a range
// list {name, min, max} for each axis, and an extra part: the computed
// graphics of a command the kernel answered, which is never sent.
class PlotCommandNode : public FixedNode {
public:
    // Head[functions, range...].
    void PutPackageForm(MLINK link, int mode) const override;
    // A new plot component, or the command's text when no maker is installed.
    void BuildComponents(CompList& list, int level) override;

    void SetXRange(ExprNode* symbol, ExprNode* minimum, ExprNode* maximum) { SetRange(0, symbol, minimum, maximum); }
    void SetYRange(ExprNode* symbol, ExprNode* minimum, ExprNode* maximum) { SetRange(1, symbol, minimum, maximum); }
    void AddFunction(ExprNode* function);

    ExprNode* Functions() const { return Part(0); }
    ExprNode* XRange() const { return Part(1); }
    ExprNode* YRange() const { return Part(2); }
    ExprNode* Extra() const { return Part(m_axes + 1); }
    // Hands the computed graphics to the caller.
    ExprNode* TakeExtra() { return TakePart(m_axes + 1); }

protected:
    PlotCommandNode(const char* head, int axes) : FixedNode(axes + 2), m_head(head), m_axes(axes) {}
    PlotCommandNode(const SourceRange& range, const char* head, int axes)
        : FixedNode(range, axes + 2), m_head(head), m_axes(axes)
    {}
    PlotCommandNode(const PlotCommandNode& other) = default;
    // As read from the kernel: the functions and ranges are kept only when
    // they are lists, the extra part whatever it is.
    void SetParts(ExprNode* functions, std::initializer_list<ExprNode*> ranges, ExprNode* extra);
    void SetRange(int axis, ExprNode* symbol, ExprNode* minimum, ExprNode* maximum);
    // The plot component the command becomes, or null.
    virtual TextComp* MakeComponent() = 0;

private:
    const char* m_head;
    int m_axes;
};

// The 2-D plot command VXTwoDPlot[functions, x range, y range].
class TwoDPlotNode : public PlotCommandNode {
public:
    TwoDPlotNode() : PlotCommandNode("VXTwoDPlot", 2) {}
    explicit TwoDPlotNode(const SourceRange& range) : PlotCommandNode(range, "VXTwoDPlot", 2) {}
    TwoDPlotNode(ExprNode* functions, ExprNode* xRange, ExprNode* yRange, ExprNode* extra);
    ExprNode* Clone() const override { return CloneOf(*this); }
    // Plot[f, x range] for one function, else Show[List[Plot[f1, x range], ...]].
    void PutPlainForm(MLINK link) const override;

protected:
    TextComp* MakeComponent() override;
};

// The 3-D plot command VXThreeDPlot[functions, x range, y range, z range].
class ThreeDPlotNode : public PlotCommandNode {
public:
    ThreeDPlotNode() : PlotCommandNode("VXThreeDPlot", 3) {}
    explicit ThreeDPlotNode(const SourceRange& range) : PlotCommandNode(range, "VXThreeDPlot", 3) {}
    ThreeDPlotNode(ExprNode* functions, ExprNode* xRange, ExprNode* yRange, ExprNode* zRange, ExprNode* extra);
    ExprNode* Clone() const override { return CloneOf(*this); }
    // Plot3D[f, x range, y range] for one function, else
    // Show[List[Plot3D[f1, x range, y range], ...]]; the z range is not sent.
    void PutPlainForm(MLINK link) const override;

    void SetZRange(ExprNode* symbol, ExprNode* minimum, ExprNode* maximum) { SetRange(2, symbol, minimum, maximum); }
    ExprNode* ZRange() const { return Part(3); }

protected:
    TextComp* MakeComponent() override;
};
