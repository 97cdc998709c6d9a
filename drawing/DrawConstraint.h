#pragma once
// The base of every constraint of a drawing. A constraint never moves
// anything itself: it states its meaning as scalar equations that the
// solvers satisfy, shows a small marker in the light constraint pen next to
// the items it binds, and writes that marker as SVG. Its record starts with
// the visible byte; equations are never stored but built again after
// construction, copying and reading.
//
// Markers are sized in the drawing's base scale b (they zoom with the
// drawing); the ring round a bound vertex in its current scale c (it keeps
// its size on the screen).
#include "drawing/ConstraintEqn.h"
#include "drawing/DiagramItem.h"

#include <memory>
#include <vector>

class DiagramShape;
class ItemCopyMap;
class MathMLOutput;

class DrawConstraint : public DiagramItem {
public:
    DrawConstraint() = default;
    // Equations are never copied: a copy builds its own.
    DrawConstraint(const DrawConstraint& other) : DiagramItem(other) {}
    DrawConstraint& operator=(const DrawConstraint&) = delete;

    // Hiding affects only the marker: a hidden constraint keeps its equations.
    void HideVertex() override { m_visible = false; }
    void HideConstraint() override { HideVertex(); }
    void ShowVertex() override { m_visible = true; }
    void ShowConstraint() override { ShowVertex(); }
    // Makes the drawing the owner of the variables the constraint holds as values.
    virtual void SetVariableTag(DiagramComp* diagram) {}
    // Whether every item the constraint binds has a copy in the map.
    virtual bool CanCopy(const ItemCopyMap& map) const { return false; }
    // A copy bound to the copies of its items, or null when one of them has none.
    virtual DrawConstraint* Copy(ItemCopyMap& map) = 0;
    virtual bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const { return false; }
    virtual bool IsKeptRecord() const { return false; }
    // How removing the selected items touches the constraint: 5 all items
    // it binds are selected, 4 some are, 0 none (the equal-length kinds add
    // their own codes).
    virtual int SelectionCode() const { return 0; }
    // Every shape the constraint binds (vertices, segments, curves, plots);
    // a removal that frees one of them takes the constraint with it.
    virtual std::vector<const DiagramItem*> GetBoundItems() const { return {}; }
    // Every variable the constraint reads: those of its equations and the
    // variables of shapes it holds without binding them (a circle's
    // radius). A removal that frees one of them takes the constraint along.
    virtual std::vector<const DrawVariable*> GetUsedVariables() const;
    // A constraint that binds variables only (an equation): a copy of
    // selected items takes it only when it is selected itself.
    virtual bool BindsNoItem() const { return false; }
    // A constraint that locks a variable unlocks it while removed and locks
    // it again when put back.
    virtual void ReleaseLock() {}
    virtual void ApplyLock() {}
    // The marker as SVG elements, only while visible.
    virtual void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const {}
    // Kinds that hold a vertex on another item: that vertex's hit test.
    virtual bool HitsBoundVertex(const DPoint& point, const DiagramDC& dc) const { return false; }
    virtual DiagramItem* GetFirstItem() const { return nullptr; }
    virtual DiagramItem* GetSecondItem() const { return nullptr; }
    virtual bool IsTangent() const { return false; }
    virtual DiagramItem* GetCurveItem() const { return nullptr; }
    // The value variables the constraint holds (angle, distance, radius...).
    virtual int GetVariableCount() const { return 0; }
    virtual DrawVariable* GetVariable(int i) const { return nullptr; }
    // The equations of the numeric solver.
    virtual int GetEquationCount() const { return m_equation ? 1 : 0; }
    virtual ConstraintEqn* GetEquation(int i) const { return i == 0 ? m_equation.get() : nullptr; }
    // The equations sent to the kernel, as new expression trees.
    virtual int GetKernelEquationCount() const { return GetEquationCount(); }
    virtual ExprNode* BuildEquationExpr(int i, DiagramComp* context) const;
    // Whether the constraint binds the shape or a vertex it owns.
    virtual bool IsAttachedTo(const DiagramShape* shape) const { return false; }

protected:
    std::unique_ptr<ConstraintEqn> m_equation;
};

// The constraint that a drawing reader makes for a tag, registered by
// RegisterConstraintKinds.
void RegisterConstraintKinds();
