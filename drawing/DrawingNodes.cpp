#include "drawing/DrawingNodes.h"

#include "drawing/DiagramComp.h"
#include "drawing/DrawIdentities.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawVariable.h"
#include "foundation/CompList.h"
#include "foundation/Str255.h"
#include "kernel/LeafNodes.h"
#include "kernel/MathMLOutput.h"
#include "kernel/NodeSupport.h"

#include <cstdio>
#include <memory>

ExprNode* DrawVarNode::FromKernel(ExprNode* identity)
{
    std::unique_ptr<ExprNode> argument(identity);
    // Only a whole number names a variable; anything else names none.
    const bool whole = argument && argument->GetTag() == TypeTag("intN");
    return new DrawVarNode(whole ? DrawIdentities::Variable(argument->GetIntegerValue()) : nullptr);
}

void DrawVarNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    if (!m_variable) {
        MLPutSymbol(link, "Null");
    } else if (m_variable->IsFixed()) {
        MLPutFunction(link, "VXDrawValue", 1);
        MLPutDouble(link, m_variable->GetValue());
    } else {
        MLPutFunction(link, "VXDrawVar", 1);
        MLPutLongInteger(link, DrawIdentities::OfVariable(m_variable));
    }
}

void DrawVarNode::WriteMathML(MathMLOutput& writer)
{
    writer.WriteIndent();
    writer.WriteRealElement("mn", GetRealValue());
    writer.NewLine();
}

double DrawVarNode::GetRealValue() const { return m_variable ? m_variable->GetValue() : 0.0; }

void DrawVarNode::GetText(Str255& out)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", GetRealValue());
    out = Str255(text);
}

CompositeNode* DrawingNode::NewWithFirstClone() const
{
    auto* copy = new DrawingNode(m_diagram);
    if (m_first)
        copy->AppendChild(m_first->Clone());
    return copy;
}

void DrawingNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "VXDrawing", 3 + m_count);
    MLPutLongInteger(link, DrawIdentities::OfDiagram(m_diagram));
    SymbolNode(std::string(m_diagram->GetXName().GetText())).PutPackageForm(link, 0);
    SymbolNode(std::string(m_diagram->GetYName().GetText())).PutPackageForm(link, 0);
    PutChildren(link, mode);
}

void DrawingNode::PutPlainForm(MLINK link) const
{
    MLPutFunction(link, "VXDrawing", 1);
    MLPutLongInteger(link, DrawIdentities::OfDiagram(m_diagram));
}

void DrawingNode::WriteMathML(MathMLOutput& writer)
{
    if (m_diagram)
        m_diagram->WriteSVG(writer);
}

ExprNode* MakeDrawingNode(DiagramComp* diagram)
{
    auto* node = new DrawingNode(diagram);
    for (DrawLabel* label : diagram->GetLabels())
        if (CompList* text = label->GetText())
            node->AppendChild(text->BuildNode());
    return node;
}

ExprNode* MakeDrawVarNode(DrawVariable* variable) { return new DrawVarNode(variable); }
