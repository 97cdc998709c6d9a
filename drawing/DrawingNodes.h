#pragma once
// The kernel-expression nodes of drawings. A DrawVarNode ("dVrN") carries one
// drawing variable: a free one goes to the kernel as an unknown,
// "VXDrawVar"[number], a fixed one as its value, "VXDrawValue"[x]. A
// DrawingNode ("drwN") carries a whole drawing as "VXDrawing"[number, x name,
// y name, labels...]: its children are the expressions of the drawing's
// labels, so that a selection inside a label reaches the kernel marked.
//
// The numbers are the drawing's identities (DrawIdentities); a number read
// back that names no live variable gives a node without a variable, which
// every reader of answers refuses.
#include "kernel/CompositeNode.h"

class DiagramComp;
class DrawVariable;

class DrawVarNode : public ExprNode {
public:
    explicit DrawVarNode(DrawVariable* variable) : m_variable(variable) {}
    DrawVarNode(const SourceRange& range, DrawVariable* variable) : ExprNode(range), m_variable(variable) {}
    // The node a "VXDrawVar"[identity] answer becomes; takes the argument.
    static ExprNode* FromKernel(ExprNode* identity);

    ExprNode* Clone() const override { return new DrawVarNode(*this); }
    void PutPackageForm(MLINK link, int mode) const override;
    void WriteMathML(MathMLOutput& writer) override;
    bool IsNumericExpr() const override { return true; }
    double GetRealValue() const override;
    void GetText(Str255& out) override;
    TypeTag GetTag() const override { return TypeTag("dVrN"); }

    // Null when the kernel named a variable that does not exist (any more).
    DrawVariable* GetVariable() const { return m_variable; }

private:
    DrawVariable* m_variable;
};

class DrawingNode : public CompositeNode {
public:
    explicit DrawingNode(DiagramComp* diagram) : m_diagram(diagram) {}
    DrawingNode(const SourceRange& range, DiagramComp* diagram) : CompositeNode(range), m_diagram(diagram) {}

    CompositeNode* NewWithFirstClone() const override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    // The drawing itself, as SVG; its labels' expressions are not shown apart.
    void WriteMathML(MathMLOutput& writer) override;
    TypeTag GetTag() const override { return TypeTag("drwN"); }

    DiagramComp* GetDiagram() const { return m_diagram; }

private:
    DiagramComp* m_diagram;
};

// The drawing's node with the expressions of its labels, in label order.
ExprNode* MakeDrawingNode(DiagramComp* diagram);
ExprNode* MakeDrawVarNode(DrawVariable* variable);
