#pragma once
// The in-program solver of a drawing. It gathers the cluster of equations
// connected through free variables to the variables that changed, then runs
// a Newton iteration in the least-squares sense: each step is the
// minimum-norm solution of the linearised equations, so over- and
// under-determined clusters are handled alike. The cluster is accepted only
// when every equation holds within a tolerance measured as a distance in
// drawing units (the residual over the length of its gradient), a share of
// the figure's own extent whatever the zoom, and the answer passes the check every answer
// passes (no shape shrunk to a point, lengths kept positive); otherwise
// every variable goes back to its last committed value. No value that is not
// finite is ever written.
//
// A solve may hold some variables at the values they were given (a dragged
// vertex under the pointer, a value the user typed): the rest of the cluster
// gives way, and a held variable moves only where the constraints leave no
// other way. A value a label's name gives (a side labelled b) holds the
// name's value throughout.
//
// The Jacobian and the normal matrix are sparse; their patterns, the
// residuals and the factorisation are kept from one step to the next.
#include "drawing/ConstraintCluster.h"

#include <memory>
#include <utility>
#include <vector>

class ConstraintEqn;
class DiagramComp;
class DrawConstraint;
class DrawVariable;

class LocalSolver : public ConstraintCluster {
public:
    static constexpr int kMaxSteps = 100;

    // Collapsed: the equations hold only where a shape shrinks to a point.
    enum class Outcome { Solved, NotConverged, NotFinite, Collapsed };

    // The cluster of a constraint just added: its equations, then what is
    // connected to their variables and to those moved for it.
    LocalSolver(DiagramComp& diagram, DrawConstraint* constraint, const ItemArray<DrawVariable>& moved = {});
    // The cluster of the given variables (the coordinates of moved vertices).
    LocalSolver(DiagramComp& diagram, const ItemArray<DrawVariable>& variables);
    // A cluster gathered from the given equations instead of a drawing's,
    // with a tolerance in drawing units below which it never goes.
    LocalSolver(const std::vector<ConstraintEqn*>& pool, const ItemArray<DrawVariable>& variables, double tolerance);
    ~LocalSolver() override;

    bool Solve() override;
    bool SolveDrag(const DPoint& offset, const ItemArray<VertexShape>& vertices, VertexShape* dragged) override;
    bool SolveHolding(const ItemArray<DrawVariable>& held) override;

    const ItemArray<DrawVariable>& GetVariables() const { return m_variables; }
    const ItemArray<ConstraintEqn>& GetEquations() const { return m_equations; }
    // The tolerance at the present values.
    double GetTolerance() const { return m_check.Tolerance(); }
    void SetTolerance(double tolerance)
    {
        m_tolerance = tolerance;
        m_check.SetTolerance(tolerance);
    }
    // What the last solve did and how many Newton steps it took.
    Outcome GetOutcome() const { return m_outcome; }
    int GetStepCount() const { return m_steps; }
    // Whether equation i holds within the tolerance at the present values.
    bool Holds(int i) const;

private:
    struct Workspace;

    void Gather(const std::vector<ConstraintEqn*>& pool, const ItemArray<DrawVariable>& variables);
    // Sets each value a name gives to the name's value, and keeps it there.
    void HoldNamedValues(const DiagramComp& diagram, ItemArray<DrawVariable>& start);
    // Fixed, or held at a name's value: no column of the cluster.
    bool Stays(const DrawVariable* variable) const;
    // SolveHolding, after a change asked of the figure that moved values by
    // as much as `asked` (the pointer's step of a drag).
    bool SolveHeld(const ItemArray<DrawVariable>& held, double asked);
    // The answer check over the cluster, with the drawing's shapes when there is one.
    void PrepareCheck(const DiagramComp* diagram);
    // Turns the arms of angles that do not hold, those the cluster moves and that are not held.
    void TurnArms(const ItemArray<DrawVariable>& held);
    std::vector<int> PlaceFirstEquations(std::vector<ConstraintEqn*>& equations) const;
    void Prepare();
    // Fills the residuals and the Jacobian; answers whether every equation holds.
    bool Evaluate();
    bool Factorize();
    bool Step();
    bool TakeShare(double share);
    bool Run(bool steady);
    // Puts each (column, value) back on its value when every equation holds
    // there, and commits; answers whether it did.
    bool ReturnToWanted(const std::vector<std::pair<int, double>>& wanted);
    // Scales down the columns of the held (column, value) pairs.
    void WeighHeld(const std::vector<std::pair<int, double>>& wanted);
    // A run, then the nearing from where it started.
    bool RunNear(double asked);
    // Towards the start along the solutions, after a solve that moved a
    // value further than the change asked for.
    void ComeNear(const std::vector<double>& start, double asked);
    // One linearised step towards the start that keeps the equations.
    bool StepToward(const std::vector<double>& start);
    // The figure as the solve begins, for the check and the nearing.
    void NoteStart();
    std::vector<double> Values() const;
    void SetValues(const std::vector<double>& values);
    // How far the farthest of the (column, value) pairs is from its value.
    double GapTo(const std::vector<std::pair<int, double>>& wanted) const;

    ItemArray<DrawVariable> m_variables;
    ItemArray<ConstraintEqn> m_equations;
    // The values held at the names their labels give.
    ItemArray<DrawVariable> m_named;
    double m_tolerance;
    Outcome m_outcome = Outcome::Solved;
    int m_steps = 0;
    // The values as the last solve began (before a drag step's move).
    std::vector<double> m_before;
    // Whether the last run had to shorten a step.
    bool m_shortened = false;
    std::unique_ptr<Workspace> m_work;
};

// Every equation of the drawing's constraints and of its drag constraints.
std::vector<ConstraintEqn*> DiagramEquations(const DiagramComp& diagram);
