#include "kernel/PlotNodes.h"

#include "kernel/CompositeNode.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/NodeSupport.h"

#include "foundation/CompList.h"

namespace {

TwoDPlotComponentMaker gTwoDPlotMaker = nullptr;

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

void PutPlot(MLINK link, const ExprNode* function, const ExprNode* xRange)
{
    MLPutFunction(link, "Plot", 2);
    nodes::PutOrNull(function, link, 0, true);
    nodes::PutOrNull(xRange, link, 0, true);
}

} // namespace

void InstallTwoDPlotComponentMaker(TwoDPlotComponentMaker maker)
{
    gTwoDPlotMaker = maker;
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

// ---- the 2-D plot command ----

TwoDPlotNode::TwoDPlotNode(ExprNode* functions, ExprNode* xRange, ExprNode* yRange, ExprNode* extra) : FixedNode(4)
{
    SetPart(0, ListOrNothing(functions));
    SetPart(1, ListOrNothing(xRange));
    SetPart(2, ListOrNothing(yRange));
    SetPart(3, extra);
}

void TwoDPlotNode::SetXRange(ExprNode* symbol, ExprNode* minimum, ExprNode* maximum)
{
    SetPart(1, RangeList(symbol, minimum, maximum));
}

void TwoDPlotNode::SetYRange(ExprNode* symbol, ExprNode* minimum, ExprNode* maximum)
{
    SetPart(2, RangeList(symbol, minimum, maximum));
}

// The functions come from separate rows of the plot: the list's range is
// not stretched over them.
void TwoDPlotNode::AddFunction(ExprNode* function)
{
    if (!Part(0))
        SetPart(0, new ListNode);
    if (function)
        static_cast<ListNode*>(Part(0))->ChainAll({function});
}

void TwoDPlotNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "VXTwoDPlot", 3);
    if (Functions())
        Functions()->PutPackageForm(link, mode);
    else
        MLPutFunction(link, "List", 0);
    nodes::PutOrNull(XRange(), link, mode, false);
    nodes::PutOrNull(YRange(), link, mode, false);
}

void TwoDPlotNode::PutPlainForm(MLINK link) const
{
    auto* functions = static_cast<CompositeNode*>(Functions());
    const int count = functions ? functions->Count() : 0;
    if (count == 1) {
        PutPlot(link, functions->First(), XRange());
        return;
    }
    MLPutFunction(link, "Show", 1);
    MLPutFunction(link, "List", count);
    for (ExprNode* f = functions ? functions->First() : nullptr; f; f = f->next)
        PutPlot(link, f, XRange());
}

void TwoDPlotNode::BuildComponents(CompList& list, int level)
{
    if (gTwoDPlotMaker) {
        if (TextComp* plot = gTwoDPlotMaker(*this))
            list.Append(plot);
        return;
    }
    nodes::AppendTextChars(list, "VXTwoDPlot[");
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            nodes::AppendMathChar(list, ',');
        if (Part(i))
            Part(i)->BuildComponents(list, level);
    }
    nodes::AppendMathChar(list, ']');
}
