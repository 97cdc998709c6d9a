#pragma once
// The nodes a plot talks to the kernel with: the 2-D plot command
// (VXTwoDPlot[{f...}, {x, xmin, xmax}, {y, ymin, ymax}], sent as the
// argument of VXComputePlot) and the graphics the kernel answers with
// (Graphics, Line, Point, Text, Polygon, SurfaceGraphics). A graphics node
// shows in a document as its text, "Line[...]"; a plot command read back
// from the kernel becomes a plot component.
#include "kernel/FixedNode.h"
#include "mathlink/MathLink.h"

#include <string>

class TextComp;
class TwoDPlotNode;

// The plot component a plot command read from the kernel becomes; the plot
// code installs it, and without it such a command shows as its text.
using TwoDPlotComponentMaker = TextComp* (*)(TwoDPlotNode& node);
void InstallTwoDPlotComponentMaker(TwoDPlotComponentMaker maker);

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

// The 2-D plot command. The x and y ranges are lists {name, min, max}; the
// functions a list made on the first AddFunction; the extra part is the
// computed graphics of a command the kernel answered, which is never sent.
class TwoDPlotNode : public FixedNode {
public:
    TwoDPlotNode() : FixedNode(4) {}
    explicit TwoDPlotNode(const SourceRange& range) : FixedNode(range, 4) {}
    // As read from the kernel: the first three parts are kept only when they
    // are lists, the fourth whatever it is.
    TwoDPlotNode(ExprNode* functions, ExprNode* xRange, ExprNode* yRange, ExprNode* extra);
    ExprNode* Clone() const override { return CloneOf(*this); }

    // VXTwoDPlot[functions, x range, y range].
    void PutPackageForm(MLINK link, int mode) const override;
    // Plot[f, x range] for one function, else Show[List[Plot[f1, x range], ...]].
    void PutPlainForm(MLINK link) const override;
    // A new plot component, or the command's text when no maker is installed.
    void BuildComponents(CompList& list, int level) override;

    void SetXRange(ExprNode* symbol, ExprNode* minimum, ExprNode* maximum);
    void SetYRange(ExprNode* symbol, ExprNode* minimum, ExprNode* maximum);
    void AddFunction(ExprNode* function);

    ExprNode* Functions() const { return Part(0); }
    ExprNode* XRange() const { return Part(1); }
    ExprNode* YRange() const { return Part(2); }
    ExprNode* Extra() const { return Part(3); }
    // Hands the computed graphics to the caller.
    ExprNode* TakeExtra() { return TakePart(3); }
};
