#pragma once
// The graph of a function of one variable inside a drawing ("Plot"), in the
// drawing's coordinates, so that vertices can be held on it. The function
// is kept as the component row the user typed (the kernel expression is
// built from it when the curve is computed); the curve is the plot items the
// kernel answered, which draw, hit and store it. The kernel computes the
// curve over the part of the plane the drawing shows, with the values of the
// drawing's named variables; without a kernel the plot stays pending and
// shows the curve it had.
//
// Record: visible, the function row, uses-variables byte, the curve set
// (a 16-bit list count, 0 when there is none, then the lists), a has-label
// byte and the label, pen style (16-bit), colour, pending byte, in-system
// byte.
#include "drawing/DiagramShape.h"

#include <memory>

class CompList;
class ExprNode;
class PlotCurveSet;

class PlotShape : public DiagramShape {
public:
    // For reading: no function, curve or label; pen 1, black.
    PlotShape();
    // Takes the row over.
    PlotShape(CompList* function, bool usesVariables);
    ~PlotShape() override;
    PlotShape(const PlotShape&) = delete;
    PlotShape& operator=(const PlotShape&) = delete;

    TypeTag GetTag() const override { return tag_Plot; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;

    // This shape where its curve passes; nothing before it has a curve.
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    DrawConstraint* MakeAttachConstraint(VertexShape* vertex) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool CanShowLabel() const override { return true; }
    // A label showing the formula.
    DrawLabel* MakeLabel(DiagramComp* diagram) override;
    bool HasLabel() const override { return m_label != nullptr; }
    DrawLabel* GetLabel() const override { return m_label; }
    void ClearLabel() override { m_label = nullptr; }
    void SetLabel(DrawLabel* label) override;
    // At the centre of the drawing's window.
    void PlaceLabel(const DiagramDC& dc) override;
    ItemArray<DrawLabel> GetLabels() const override;

    DiagramShape* Clone(ItemCopyMap& map) override;
    bool IsPlot() const override { return true; }
    ShapeStyle GetStyle() const override;
    void SetStyle(const ShapeStyle& style) override;

    // The computed curve replaces the old one as a whole.
    void SetCurves(std::unique_ptr<PlotCurveSet> curves);
    const PlotCurveSet* GetCurves() const { return m_curves.get(); }
    const CompList* GetFunction() const { return m_function; }
    // The curve waits for a computation: the last one could not reach the
    // kernel, or the kernel refused it.
    bool IsPending() const { return m_pending; }
    // The last computation reached the kernel and was refused.
    bool WasRefused() const { return m_refused; }
    void SetPending(bool pending) { m_pending = pending; }
    bool UsesVariables() const { return m_usesVariables; }
    bool InSystem() const { return m_inSystem; }
    void SetInSystem(bool inSystem) { m_inSystem = inSystem; }

    static constexpr const char* kRefusedAnswer =
        "The kernel could not compute the plot; the drawing keeps its previous curve.";
    enum class Computed { Done, Pending, Refused };
    // Computes the curve over xmin..xmax and ymin..ymax with the named
    // variables' rules and the drawing's plot variable symbols (the shape
    // takes the three nodes). Without a ready kernel the plot stays pending;
    // an answer that is no graphics keeps the old curve, leaves the plot
    // pending (it is tried again) and says so.
    Computed Compute(double xmin, double ymax, double xmax, double ymin, ExprNode* rules, ExprNode* x,
                     ExprNode* y);
    // The same without a message: the caller reports the outcome.
    Computed Recompute(double xmin, double ymax, double xmax, double ymin, ExprNode* rules, ExprNode* x, ExprNode* y);
    // A new kernel expression of the function.
    ExprNode* CopyFunction() const;

private:
    CompList* m_function = nullptr;
    DrawLabel* m_label = nullptr;
    std::unique_ptr<PlotCurveSet> m_curves;
    int32_t m_penStyle = drawing::kDefaultPenStyle;
    COLORREF m_penColour = drawing::kBlack;
    bool m_pending = false;
    bool m_refused = false;
    bool m_usesVariables = false;
    bool m_inSystem = false;
};
