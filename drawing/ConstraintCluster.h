#pragma once
// The variables that one solve may move, with two snapshots of each: the
// working value (the last committed one, put back when a solve fails) and
// the gathered value (the value before the action, for undo and redo). The
// numeric and the kernel solver build on it.
#include "drawing/AnswerCheck.h"
#include "drawing/ItemArray.h"
#include "foundation/DPoint.h"

#include <memory>
#include <unordered_map>
#include <vector>

class DrawVariable;
class ExprNode;
class NamedValuesSnapshot;
class VertexShape;

class VarSnapshot {
public:
    explicit VarSnapshot(DrawVariable* variable);
    void Capture();
    // The variable takes the saved value and the saved value the variable's.
    void Swap();
    // The same with the variable's value as it was read before.
    void Swap(double present);
    DrawVariable* GetVariable() const { return m_variable; }
    double GetSaved() const { return m_saved; }

private:
    DrawVariable* m_variable;
    double m_saved;
};

class ConstraintCluster {
public:
    ConstraintCluster();
    virtual ~ConstraintCluster();
    ConstraintCluster(const ConstraintCluster&) = delete;
    ConstraintCluster& operator=(const ConstraintCluster&) = delete;

    virtual bool IsIdle() const { return true; }
    // Moves the vertices by the offset (fixed coordinates stay), then solves.
    virtual bool SolveDrag(const DPoint& offset, const ItemArray<VertexShape>& vertices, VertexShape* dragged) = 0;
    // True when solved (values kept), false when every value was put back.
    virtual bool Solve() = 0;
    // Solves after the given variables were set to values the user asked
    // for, which they keep wherever the constraints allow. The kernel
    // solver's model takes the present values as they are.
    virtual bool SolveHolding(const ItemArray<DrawVariable>&) { return Solve(); }
    // A new empty list; the kernel solver answers its rules.
    virtual ExprNode* Finalize();

    void Commit();
    // Every variable back to its last committed value.
    void Restore();
    // Between the gathered values and the present ones, named variables
    // included; twice is no change.
    void SwapGathered();
    // The named variables as they stood before the cluster was made.
    void GatherNamed(std::unique_ptr<NamedValuesSnapshot> named);
    std::unique_ptr<NamedValuesSnapshot> TakeNamed();

protected:
    void AddSnapshots(DrawVariable* variable);
    // Moves a variable that no solve of the cluster moves to a value it must
    // hold: undo puts it back, a failed solve does not.
    void Follow(DrawVariable* variable, double value);
    // The last committed value of a variable of the cluster; the present
    // value of any other.
    double CommittedValue(const DrawVariable* variable) const;
    // Whether the present values pass the answer check against the last
    // committed ones (a negative length is turned back first); `held` as
    // the check takes it.
    bool Accept(bool held = false)
    {
        return m_check.Accept([this](const DrawVariable* v) { return CommittedValue(v); }, held);
    }

    AnswerCheck m_check;

private:
    std::vector<VarSnapshot> m_working;
    std::vector<VarSnapshot> m_gathered;
    // The place of each variable among the working snapshots, filled up to
    // m_placed at the first question: most solves ask none.
    mutable std::unordered_map<const DrawVariable*, size_t> m_places;
    mutable size_t m_placed = 0;
    std::unique_ptr<NamedValuesSnapshot> m_named;
};
