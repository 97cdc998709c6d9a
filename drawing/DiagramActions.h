#pragma once
// The undoable changes a drawing's commands and makers make: adding
// constraints (solved at once or not), shapes and labels, and applying the
// pending value edits of a drawing. While an action is done the drawing
// owns what it added; an action dropped while undone frees it. A constraint
// that locks a value (a fixed point, a radius) lets go of it while the
// action is undone and locks it again on redo.
#include "drawing/DiagramComp.h"
#include "drawing/ItemArray.h"
#include "foundation/TAction.h"

#include <functional>
#include <memory>
#include <vector>

class ConstraintCluster;
class DrawConstraint;
class DrawLabel;
class DiagramItem;
class DiagramShape;
class DrawVariable;
class VertexShape;

// The solver of a drawing's cluster: the kernel's while the kernel is
// ready, the editor's own otherwise.
// The status texts of equation constraints that do not act.
inline constexpr const char* kUnfinishedEquation =
    "An equation constraint is not a finished equation: it is ignored until it is corrected.";
inline constexpr const char* kRefusedEquation =
    "The kernel cannot solve an equation constraint: it is ignored until it is changed.";
inline constexpr const char* kNoKernelForEquations =
    "Equation constraints are solved only by the kernel: they are ignored until it runs.";
// A constraint's cluster; `moved` are variables its action moved first,
// whose own equations are solved with it.
std::unique_ptr<ConstraintCluster> NewCluster(DiagramComp& diagram, DrawConstraint* constraint,
                                              const ItemArray<DrawVariable>& moved = {});
std::unique_ptr<ConstraintCluster> NewCluster(DiagramComp& diagram, const ItemArray<DrawVariable>& variables);

// The base of the drawing's actions: the drawing, selected as one object.
class TDiagramAction : public TAction {
public:
    TDiagramAction(int16_t nameId, DiagramComp* diagram);

protected:
    // Every step ends with a new picture of the drawing.
    void Refresh();
    // The caret takes all of the label's text, ready for typing.
    void SelectText(DrawLabel* label);

    DiagramComp* m_diagram;
};

// A constraint that must hold at once: its cluster is solved when it is
// added; undo and redo exchange the values from before and after the solve.
// A new point the constraint binds (a midpoint, an arc's centre) is added
// with it and taken out again with it. A constraint that cannot be met is
// refused: the drawing is left as it was (values, constraints, selection)
// and the user is told.
class TAddConstraintAction : public TDiagramAction {
public:
    TAddConstraintAction(DiagramComp* diagram, DrawConstraint* constraint, VertexShape* newPoint = nullptr);
    ~TAddConstraintAction() override;

    void Do() override;
    void Undo() override;
    void Commit() override;
    bool WasRefused() const override { return m_refused; }

protected:
    // Variables moved before the first Do: the solve takes in their equations.
    void SetMoved(ItemArray<DrawVariable> moved) { m_moved = std::move(moved); }

private:
    void TakeBack();

    DrawConstraint* m_constraint;
    VertexShape* m_newPoint;
    std::unique_ptr<ConstraintCluster> m_cluster;
    bool m_refused = false;
    ItemArray<DrawVariable> m_moved;
    ItemArray<DiagramShape> m_pickedShapes;
    ItemArray<DrawConstraint> m_pickedConstraints;
};

class TAddConstraintNoSolveAction : public TDiagramAction {
public:
    TAddConstraintNoSolveAction(DiagramComp* diagram, DrawConstraint* constraint);
    ~TAddConstraintNoSolveAction() override;

    void Do() override;
    void Undo() override;
    void Commit() override;

private:
    DrawConstraint* m_constraint;
};

// Several constraints at once (one fixed point per selected vertex); all
// of them end up selected.
class TAddConstraintsAction : public TDiagramAction {
public:
    TAddConstraintsAction(DiagramComp* diagram, ItemArray<DrawConstraint> constraints);
    ~TAddConstraintsAction() override;

    void Do() override;
    void Undo() override;
    void Commit() override;

private:
    ItemArray<DrawConstraint> m_constraints;
};

// An equation constraint: the caret goes into its label for typing.
class TAddEquationConstraintAction : public TDiagramAction {
public:
    TAddEquationConstraintAction(DiagramComp* diagram, DrawConstraint* constraint);
    ~TAddEquationConstraintAction() override;

    void Do() override;
    void Undo() override;
    void Commit() override;

private:
    DrawConstraint* m_constraint;
};

// A new shape: attached to the drawing the first time, only listed again
// on redo; nothing stays selected. Free vertices of the drawing that the
// shape is built on leave the shape list while the action is done and come
// back to their places on undo.
class TAddShapeAction : public TDiagramAction {
public:
    using Builder = std::function<DiagramShape*()>;

    // A shape made of vertices of its own.
    TAddShapeAction(DiagramComp* diagram, DiagramShape* shape);
    // A shape built on vertices the drawing holds: building it makes them
    // its own, so it is built when the action is first done, and a dropped
    // action that never ran leaves the drawing untouched.
    TAddShapeAction(DiagramComp* diagram, Builder build);
    ~TAddShapeAction() override;

    void Do() override;
    void Undo() override;
    void Commit() override;

private:
    struct Taken {
        DiagramShape* vertex;
        int index;
        DiagramShape* owner;
    };
    void TakeListedVertices();

    DiagramShape* m_shape;
    Builder m_build;
    bool m_added = false;
    std::vector<Taken> m_taken;
};

// A label: a free one (no owner, no label given), the owner's new label,
// or the owner's hidden label shown again (the action keeps none then).
class TAddLabelAction : public TDiagramAction {
public:
    TAddLabelAction(DiagramComp* diagram, DiagramItem* owner, DrawLabel* label = nullptr);
    ~TAddLabelAction() override;

    void Do() override;
    void Undo() override;
    void Commit() override;

    DrawLabel* GetLabel() const { return m_label; }

private:
    void FirstDo();
    void Attach();

    DiagramItem* m_owner;
    DrawLabel* m_label;
    bool m_performed = false;
};

// Applies the drawing's pending value edits and solves what they touch.
// A failed solve says so and leaves the values as they were. Undo puts back
// every value the edits and the solve moved; redo gives back the values the
// solve found, without solving again, whichever solver runs by then.
class TUpdateDiagramAction : public TDiagramAction {
public:
    static constexpr const char* kNoSolution = "Unable to find a solution.";

    explicit TUpdateDiagramAction(DiagramComp* diagram);
    ~TUpdateDiagramAction() override;

    void Do() override;
    void Undo() override;
    void Commit() override;

protected:
    // The edits given, not the drawing's pending ones: dropped undone, the
    // action leaves nothing pending.
    TUpdateDiagramAction(DiagramComp* diagram, std::vector<PendingMove> moves);
    // Whether the edits were solved (undo and redo then move values).
    bool IsSolved() const { return m_cluster != nullptr; }
    bool HasMoves() const { return !m_moves.empty(); }

private:
    // Each variable and its record exchange values, in list order.
    void ApplyMoves();
    // The exchange in reverse order: a variable edited twice gets back the
    // value it had before the first edit.
    void RevertMoves();

    // Whether the kernel was ready when the edit began.
    bool m_kernelWasReady;
    std::unique_ptr<ConstraintCluster> m_cluster;
    std::vector<PendingMove> m_moves;
    bool m_fromPending = true;
    bool m_solveRun = false;
    bool m_committed = false;
};
