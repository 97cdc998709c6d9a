#include "kernel/PlotNodes.h"

#include "kernel/CompositeNode.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/NodeSupport.h"

#include "foundation/CompList.h"

namespace {

TwoDPlotComponentMaker gTwoDPlotMaker = nullptr;
ThreeDPlotComponentMaker gThreeDPlotMaker = nullptr;

ExprNode* ListOrNothing(ExprNode* node)
{
    if (node && node->GetTag() == tag_lisN)
        return node;
    delete node;
    return nullptr;
}

ListNode* RangeList(ExprNode* symbol, ExprNode* minimum, ExprNode* maximum)
{
    auto* range = new ListNode;
    range->AppendChild(symbol);
    range->AppendChild(minimum);
    range->AppendChild(maximum);
    return range;
}

void PutPlot(MLINK link, const ExprNode* function, const char* head, std::initializer_list<const ExprNode*> ranges)
{
    MLPutFunction(link, head, static_cast<int>(ranges.size()) + 1);
    nodes::PutOrNull(function, link, 0, true);
    for (const ExprNode* range : ranges)
        nodes::PutOrNull(range, link, 0, true);
}

// head[f, ranges...] for one function, else Show[List[head[f1, ranges...], ...]].
void PutPlainPlots(MLINK link, const ExprNode* functionList, const char* head,
                   std::initializer_list<const ExprNode*> ranges)
{
    auto* functions = static_cast<const CompositeNode*>(functionList);
    const int count = functions ? functions->Count() : 0;
    if (count == 1) {
        PutPlot(link, functions->First(), head, ranges);
        return;
    }
    MLPutFunction(link, "Show", 1);
    MLPutFunction(link, "List", count);
    for (const ExprNode* f = functions ? functions->First() : nullptr; f; f = f->next)
        PutPlot(link, f, head, ranges);
}

} // namespace

void InstallTwoDPlotComponentMaker(TwoDPlotComponentMaker maker)
{
    gTwoDPlotMaker = maker;
}

void InstallThreeDPlotComponentMaker(ThreeDPlotComponentMaker maker)
{
    gThreeDPlotMaker = maker;
}

// ---- graphics ----

void GraphicsPrimitiveNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    const int count = UsedChildren();
    MLPutFunction(link, m_head, count);
    for (int i = 0; i < count; ++i)
        nodes::PutOrNull(Part(i), link, mode, false);
}

void GraphicsPrimitiveNode::BuildComponents(CompList& list, int level)
{
    nodes::AppendTextChars(list, m_head);
    nodes::AppendMathChar(list, '[');
    const int count = UsedChildren();
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            nodes::AppendMathChar(list, ',');
        if (Part(i))
            Part(i)->BuildComponents(list, level);
    }
    nodes::AppendMathChar(list, ']');
    nodes::AppendMathChar(list, ' ');
}

GraphicsNode::GraphicsNode(ExprNode* content, ExprNode* options, bool twoDimensional)
    : GraphicsPrimitiveNode(twoDimensional ? "Graphics" : "Graphics3D", 2), m_twoDimensional(twoDimensional)
{
    SetPart(0, content);
    SetPart(1, options);
}

// Graphics without options shows "{}" in their place.
void GraphicsNode::BuildComponents(CompList& list, int level)
{
    if (Options()) {
        GraphicsPrimitiveNode::BuildComponents(list, level);
        return;
    }
    GraphicsNode shown(Content() ? Content()->Clone() : nullptr, new ListNode, m_twoDimensional);
    shown.GraphicsPrimitiveNode::BuildComponents(list, level);
}

GraphicsTextNode::GraphicsTextNode(ExprNode* text, ExprNode* position) : GraphicsPrimitiveNode("Text", 2)
{
    SetPart(0, text);
    SetPart(1, position);
}

SurfaceGraphicsNode::SurfaceGraphicsNode(ExprNode* heights, ExprNode* options)
    : GraphicsPrimitiveNode("SurfaceGraphics", 2)
{
    SetPart(0, heights);
    SetPart(1, options);
}

// ---- the plot commands ----

void PlotCommandNode::SetParts(ExprNode* functions, std::initializer_list<ExprNode*> ranges, ExprNode* extra)
{
    SetPart(0, ListOrNothing(functions));
    int i = 1;
    for (ExprNode* range : ranges)
        SetPart(i++, ListOrNothing(range));
    SetPart(m_axes + 1, extra);
}

void PlotCommandNode::SetRange(int axis, ExprNode* symbol, ExprNode* minimum, ExprNode* maximum)
{
    SetPart(axis + 1, RangeList(symbol, minimum, maximum));
}

// The functions come from separate rows of the plot: the list's range is
// not stretched over them.
void PlotCommandNode::AddFunction(ExprNode* function)
{
    if (!Part(0))
        SetPart(0, new ListNode);
    if (function)
        static_cast<ListNode*>(Part(0))->ChainAll({function});
}

void PlotCommandNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, m_head, m_axes + 1);
    if (Functions())
        Functions()->PutPackageForm(link, mode);
    else
        MLPutFunction(link, "List", 0);
    for (int axis = 0; axis < m_axes; ++axis)
        nodes::PutOrNull(Part(axis + 1), link, mode, false);
}

void PlotCommandNode::BuildComponents(CompList& list, int level)
{
    if (TextComp* plot = MakeComponent()) {
        list.Append(plot);
        return;
    }
    nodes::AppendTextChars(list, m_head);
    nodes::AppendMathChar(list, '[');
    for (int i = 0; i <= m_axes; ++i) {
        if (i > 0)
            nodes::AppendMathChar(list, ',');
        if (Part(i))
            Part(i)->BuildComponents(list, level);
    }
    nodes::AppendMathChar(list, ']');
}

TwoDPlotNode::TwoDPlotNode(ExprNode* functions, ExprNode* xRange, ExprNode* yRange, ExprNode* extra) : TwoDPlotNode()
{
    SetParts(functions, {xRange, yRange}, extra);
}

void TwoDPlotNode::PutPlainForm(MLINK link) const
{
    PutPlainPlots(link, Functions(), "Plot", {XRange()});
}

TextComp* TwoDPlotNode::MakeComponent()
{
    return gTwoDPlotMaker ? gTwoDPlotMaker(*this) : nullptr;
}

ThreeDPlotNode::ThreeDPlotNode(ExprNode* functions, ExprNode* xRange, ExprNode* yRange, ExprNode* zRange,
                               ExprNode* extra)
    : ThreeDPlotNode()
{
    SetParts(functions, {xRange, yRange, zRange}, extra);
}

void ThreeDPlotNode::PutPlainForm(MLINK link) const
{
    PutPlainPlots(link, Functions(), "Plot3D", {XRange(), YRange()});
}

TextComp* ThreeDPlotNode::MakeComponent()
{
    return gThreeDPlotMaker ? gThreeDPlotMaker(*this) : nullptr;
}
