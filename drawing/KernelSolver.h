#pragma once
// The solver of a drawing while the kernel is ready. It hands the drawing's
// equation system to the kernel once, which builds a model of the variables
// connected to the change (a constraint just added, or moved variables) and
// answers them; then each solve sends the model's variables with their
// present values, and each drag step the values before and after the move
// with the dragged vertex's target, and applies the rules the kernel answers.
//
// Kernel answers are checked before anything changes: a rule names a
// variable of the model, through a number the drawing handed out, and gives
// a finite real; an answer of another form leaves every value as it was.
// Then the values are held to the check every answer passes (each equation
// of the drawing the model moves holds within the drawing's tolerance, no
// shape shrinks to a point): a solve whose answer fails it fails, for the
// editor's own solver to try, and a drag step is taken by the editor's
// solver instead.
// A kernel that stops during a drag leaves the rest of the drag to the
// editor's own solver, with a message. A drag step the kernel finds no
// answer for is the editor's solver's to take.
//
// A value typed for a locked variable (a fixed length or radius) changes a
// variable the kernel would only see as a number: the solve builds the model
// again with it travelling as an unknown held at its new value, so that the
// model holds what it binds and moves it there. The drawing's names are held
// at their values too, and let go only when no answer holds them.
//
// Where a label gives a constraint's value as a name (a side labelled b),
// the kernel solves for the name, and the constraint's own value variable
// takes the name's value with each answer taken.
#include "drawing/ConstraintCluster.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class ConstraintEqn;
class DiagramComp;
class DrawConstraint;
class DrawVariable;
class ListNode;
class LocalSolver;

class KernelSolver : public ConstraintCluster {
public:
    static constexpr const char* kKernelStopped =
        "The kernel has stopped. The drawing is solved by the editor's own solver until it is started again.";

    // The model of a constraint just added. Variables moved for it are
    // kept for undo and their equations checked: what the model leaves out
    // of them is the editor's solver's to solve.
    KernelSolver(DiagramComp& diagram, DrawConstraint* constraint, const ItemArray<DrawVariable>& moved = {});
    // The model of the given variables (moved ones, or new ones of an import).
    KernelSolver(DiagramComp& diagram, const ItemArray<DrawVariable>& variables);
    ~KernelSolver() override;

    // False while a request of the kernel link runs.
    bool IsIdle() const override;
    bool Solve() override;
    bool SolveDrag(const DPoint& offset, const ItemArray<VertexShape>& vertices, VertexShape* dragged) override;
    // The kernel's rules of the named variables for the solved model; an
    // error node, sent nothing, while the link is closed or busy.
    ExprNode* Finalize() override;

    // An equation whose value variable a label's name stands in for.
    struct NamedEquation {
        ConstraintEqn* equation;
        DrawVariable* value;
        std::string name;
    };

    // Whether the kernel built the model (false after an unusable answer).
    bool IsBuilt() const { return m_built; }
    // The model's rules variable -> value; null after an unusable answer.
    const ListNode* GetRules() const { return m_rules.get(); }
    // Whether the editor's own solver took over (the kernel stopped).
    bool HasFallenBack() const { return m_fallback != nullptr; }

private:
    // Refused: the answer fails the check every answer passes; NamesRefused:
    // the names it reports do not hold.
    enum class Outcome { Solved, Refused, NamesRefused, NoAnswer };

    void Build(ExprNode* second, bool fromCore, const ItemArray<DrawVariable>& seed);
    // The variables the model is built from, as a new list.
    ListNode* SeedList() const;
    void HoldSeeds();
    bool ReleaseNames();
    // One solve request of the model as it is built.
    Outcome SolveModel();
    Outcome TakeAnswer();
    // The kernel's rules name -> value for its last solution.
    ExprNode* AskNamedValues();
    void TakeModel(const ExprNode* answer);
    void RefreshRules();
    bool InModel(const DrawVariable* variable) const;
    // In the model, or one the change starts from.
    bool Moves(const DrawVariable* variable) const;
    bool SolveStepLocally(const DPoint& offset, const ItemArray<VertexShape>& vertices, VertexShape* dragged);
    // Sets the values an answer {1, {rules}} gives; false, nothing set, for
    // any other answer.
    bool ApplySolution(const ExprNode* answer);
    bool KernelGone() const;
    bool NamedHold();
    bool FallBack();
    // After a step the kernel could not take: builds the model again without
    // the drawing's equation constraints, once; false when there is nothing
    // to leave out (or it was left out already).
    bool LeaveOutEquations();
    // Tells, once per equation, that the kernel could not solve it.
    void NoteEquationsLeftOut();
    void SnapshotOnce(DrawVariable* variable);

    DiagramComp& m_diagram;
    std::unique_ptr<ListNode> m_rules;
    std::unordered_set<const DrawVariable*> m_model;
    bool m_built = true;
    ItemArray<DrawVariable> m_seed;
    // The locked variables a solve holds as unknowns.
    ItemArray<DrawVariable> m_locked;
    // The names a solve holds at their values, as seeds of the model.
    ItemArray<DrawVariable> m_heldNames;
    bool m_seedsHeld = false;
    // The kernel's last solution is an answer that was not taken.
    bool m_stale = false;
    std::unique_ptr<LocalSolver> m_fallback;
    bool m_fromCore = false;
    bool m_equationsLeftOut = false;
    std::unordered_set<const DrawVariable*> m_snapshotted;
    std::vector<NamedEquation> m_named;
    // The named values reported for the last answer taken, until Finalize hands them on.
    std::unique_ptr<ExprNode> m_finalized;
};
