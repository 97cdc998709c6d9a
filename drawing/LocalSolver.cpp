#include "drawing/LocalSolver.h"

#include "drawing/DiagramComp.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawVariable.h"
#include "drawing/VertexShape.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace {

using SparseMatrix = Eigen::SparseMatrix<double>;
using RowMatrix = Eigen::SparseMatrix<double, Eigen::RowMajor>;

// A tiny multiple of the largest diagonal entry is added to the normal
// matrix so that a rank-deficient cluster still gives a step.
constexpr double kRegularisation = 1e-12;

std::vector<DrawVariable*> ToVector(const ItemArray<DrawVariable>& variables)
{
    return {variables.begin(), variables.end()};
}

} // namespace

struct LocalSolver::Workspace {
    RowMatrix jacobian;
    // For each field of each equation, in order, its place among the
    // Jacobian's stored values, or -1 for a variable outside the cluster.
    std::vector<int> fieldSlots;
    std::vector<int> fieldStart;
    Eigen::VectorXd negResidual;
    Eigen::VectorXd gradientNorm;
    Eigen::VectorXd values;
    SparseMatrix normal;
    SparseMatrix identity;
    Eigen::SimplicialLDLT<SparseMatrix> factor;
    bool analysed = false;
    bool fewerRows = true;
};

std::vector<ConstraintEqn*> DiagramEquations(const DiagramComp& diagram)
{
    std::vector<ConstraintEqn*> equations;
    for (const ItemArray<DrawConstraint>* list : {&diagram.GetConstraints(), &diagram.GetDragConstraints()})
        for (DrawConstraint* constraint : *list)
            for (int i = 0; i < constraint->GetEquationCount(); ++i)
                if (ConstraintEqn* eqn = constraint->GetEquation(i))
                    equations.push_back(eqn);
    return equations;
}

namespace {

double ToleranceOf(const DiagramComp& diagram)
{
    return LocalSolver::kTolerancePoints * diagram.GetDC().GetCurrentScale();
}

} // namespace

LocalSolver::LocalSolver(DiagramComp& diagram, DrawConstraint* constraint) : m_tolerance(ToleranceOf(diagram))
{
    ItemArray<DrawVariable> start;
    for (int i = 0; i < constraint->GetEquationCount(); ++i) {
        ConstraintEqn* eqn = constraint->GetEquation(i);
        if (!eqn)
            continue;
        m_equations.AddOnce(eqn);
        for (DrawVariable* variable : eqn->Variables())
            start.AddOnce(variable);
    }
    Gather(DiagramEquations(diagram), ToVector(start));
}

LocalSolver::LocalSolver(DiagramComp& diagram, const ItemArray<DrawVariable>& variables)
    : m_tolerance(ToleranceOf(diagram))
{
    Gather(DiagramEquations(diagram), ToVector(variables));
}

LocalSolver::LocalSolver(const std::vector<ConstraintEqn*>& pool, const ItemArray<DrawVariable>& variables,
                         double tolerance)
    : m_tolerance(tolerance)
{
    Gather(pool, ToVector(variables));
}

LocalSolver::~LocalSolver() = default;

// The transitive closure over shared free variables: a fixed variable ends a
// path, and an equation that asks to stay out (a fixed value) is not
// followed. Variables keep the order in which they were met.
void LocalSolver::Gather(const std::vector<ConstraintEqn*>& pool, std::vector<DrawVariable*> start)
{
    std::unordered_map<const DrawVariable*, std::vector<ConstraintEqn*>> using_;
    for (ConstraintEqn* eqn : pool)
        for (DrawVariable* variable : eqn->Variables())
            using_[variable].push_back(eqn);
    std::unordered_map<const DrawVariable*, bool> inStart;
    for (DrawVariable* variable : start)
        inStart[variable] = true;
    std::unordered_map<const ConstraintEqn*, bool> inCluster;
    for (ConstraintEqn* eqn : m_equations)
        inCluster[eqn] = true;
    for (size_t i = 0; i < start.size(); ++i) {
        auto found = using_.find(start[i]);
        if (found == using_.end())
            continue;
        for (ConstraintEqn* eqn : found->second) {
            if (eqn->PrepareForCluster())
                continue;
            for (DrawVariable* variable : eqn->Variables())
                if (!variable->IsFixed() && !inStart[variable]) {
                    inStart[variable] = true;
                    start.push_back(variable);
                }
            if (!inCluster[eqn]) {
                inCluster[eqn] = true;
                m_equations.Add(eqn);
            }
        }
    }
    for (DrawVariable* variable : start)
        if (!variable->IsFixed()) {
            m_variables.Add(variable);
            AddSnapshots(variable);
        }
}

// The Jacobian's pattern: one stored value per distinct cluster variable of
// each equation.
void LocalSolver::Prepare()
{
    m_work = std::make_unique<Workspace>();
    Workspace& work = *m_work;
    std::unordered_map<const DrawVariable*, int> column;
    for (int j = 0; j < m_variables.GetCount(); ++j)
        column[m_variables.GetAt(j)] = j;
    const int rows = m_equations.GetCount();
    const int cols = m_variables.GetCount();
    std::vector<Eigen::Triplet<double>> entries;
    std::vector<int> fieldColumns;
    for (int i = 0; i < rows; ++i) {
        const ConstraintEqn* eqn = m_equations.GetAt(i);
        work.fieldStart.push_back(static_cast<int>(fieldColumns.size()));
        for (int k = 0; k < eqn->GetFieldCount(); ++k) {
            auto found = column.find(eqn->GetField(k));
            const int c = found == column.end() ? -1 : found->second;
            fieldColumns.push_back(c);
            if (c >= 0)
                entries.emplace_back(i, c, 1.0);
        }
    }
    work.fieldStart.push_back(static_cast<int>(fieldColumns.size()));
    work.jacobian.resize(rows, cols);
    // Repeated entries (a variable held twice) become one stored value.
    work.jacobian.setFromTriplets(entries.begin(), entries.end());
    work.jacobian.makeCompressed();
    work.fieldSlots.assign(fieldColumns.size(), -1);
    for (int i = 0; i < rows; ++i) {
        const int begin = work.jacobian.outerIndexPtr()[i];
        const int end = work.jacobian.outerIndexPtr()[i + 1];
        for (int f = work.fieldStart[static_cast<size_t>(i)]; f < work.fieldStart[static_cast<size_t>(i) + 1]; ++f) {
            const int c = fieldColumns[static_cast<size_t>(f)];
            if (c < 0)
                continue;
            for (int s = begin; s < end; ++s)
                if (work.jacobian.innerIndexPtr()[s] == c)
                    work.fieldSlots[static_cast<size_t>(f)] = s;
        }
    }
    work.negResidual.resize(rows);
    work.gradientNorm.resize(rows);
    work.values.resize(cols);
    work.fewerRows = rows <= cols;
    const int size = work.fewerRows ? rows : cols;
    work.identity.resize(size, size);
    work.identity.setIdentity();
}

bool LocalSolver::Evaluate()
{
    Workspace& work = *m_work;
    double* stored = work.jacobian.valuePtr();
    std::fill(stored, stored + work.jacobian.nonZeros(), 0.0);
    std::array<double, ConstraintEqn::kMaxVariables> partials{};
    bool holds = true;
    for (int i = 0; i < m_equations.GetCount(); ++i) {
        const ConstraintEqn* eqn = m_equations.GetAt(i);
        const double residual = eqn->Residual();
        eqn->Partials(partials.data());
        double squares = 0.0;
        const int first = work.fieldStart[static_cast<size_t>(i)];
        for (int k = 0; k < eqn->GetFieldCount(); ++k) {
            const double partial = partials[static_cast<size_t>(k)];
            squares += partial * partial;
            const int slot = work.fieldSlots[static_cast<size_t>(first + k)];
            if (slot >= 0)
                stored[slot] += partial;
        }
        work.negResidual[i] = -residual;
        work.gradientNorm[i] = std::sqrt(squares);
        // A held variable has no column: the step leaves it where it is.
        for (int k = 0; k < eqn->GetFieldCount(); ++k) {
            const int slot = work.fieldSlots[static_cast<size_t>(first + k)];
            if (slot >= 0 && IsHeld(eqn->GetField(k)))
                stored[slot] = 0.0;
        }
        // A residual that is not a number never holds.
        if (!(std::fabs(residual) <= m_tolerance * work.gradientNorm[i]))
            holds = false;
    }
    return holds;
}

bool LocalSolver::IsHeld(const DrawVariable* variable) const
{
    return std::find(m_held.begin(), m_held.end(), variable) != m_held.end();
}

bool LocalSolver::Holds(int i) const
{
    const ConstraintEqn* eqn = m_equations.GetAt(i);
    std::array<double, ConstraintEqn::kMaxVariables> partials{};
    eqn->Partials(partials.data());
    double squares = 0.0;
    for (int k = 0; k < eqn->GetFieldCount(); ++k)
        squares += partials[static_cast<size_t>(k)] * partials[static_cast<size_t>(k)];
    return std::fabs(eqn->Residual()) <= m_tolerance * std::sqrt(squares);
}

// The minimum-norm least-squares step: J^T (J J^T)^-1 (-R) with fewer
// equations than variables, (J^T J)^-1 J^T (-R) otherwise.
bool LocalSolver::Step()
{
    Workspace& work = *m_work;
    const RowMatrix& j = work.jacobian;
    if (work.fewerRows)
        work.normal = SparseMatrix(j * j.transpose());
    else
        work.normal = SparseMatrix(j.transpose() * j);
    double largest = 0.0;
    for (int d = 0; d < work.normal.rows(); ++d)
        largest = std::max(largest, std::fabs(work.normal.coeff(d, d)));
    work.normal += (kRegularisation * std::max(largest, 1e-300)) * work.identity;
    if (!work.analysed) {
        work.factor.analyzePattern(work.normal);
        work.analysed = true;
    }
    work.factor.factorize(work.normal);
    if (work.factor.info() != Eigen::Success)
        return false;
    Eigen::VectorXd delta;
    if (work.fewerRows)
        delta = j.transpose() * work.factor.solve(work.negResidual);
    else
        delta = work.factor.solve(Eigen::VectorXd(j.transpose() * work.negResidual));
    for (int c = 0; c < m_variables.GetCount(); ++c) {
        work.values[c] = m_variables.GetAt(c)->GetValue() + delta[c];
        if (!std::isfinite(work.values[c]))
            return false;
    }
    for (int c = 0; c < m_variables.GetCount(); ++c)
        m_variables.GetAt(c)->SetValue(work.values[c]);
    return true;
}

bool LocalSolver::Solve()
{
    m_steps = 0;
    m_outcome = Outcome::Solved;
    if (m_equations.IsEmpty())
        return true;
    if (!m_work)
        Prepare();
    for (;;) {
        if (Evaluate()) {
            Commit();
            return true;
        }
        if (m_steps == kMaxSteps) {
            m_outcome = Outcome::NotConverged;
            break;
        }
        if (!Step()) {
            m_outcome = Outcome::NotFinite;
            break;
        }
        ++m_steps;
    }
    Restore();
    return false;
}

// The dragged vertex is held where the pointer put it while the rest of the
// cluster gives way; only when the constraints do not allow that does it
// take its share of the correction like every other variable. Otherwise a
// least-squares step would pull it back a little at every move, and the
// vertex would fall further and further behind the pointer.
bool LocalSolver::SolveDrag(const DPoint& offset, const ItemArray<VertexShape>& vertices, VertexShape* dragged)
{
    for (VertexShape* vertex : vertices)
        vertex->MoveBy(offset.x, offset.y);
    if (dragged && (m_variables.Contains(dragged->GetXVar()) || m_variables.Contains(dragged->GetYVar()))) {
        std::vector<double> moved;
        for (DrawVariable* variable : m_variables)
            moved.push_back(variable->GetValue());
        m_held = {dragged->GetXVar(), dragged->GetYVar()};
        const bool solved = Solve();
        m_held.clear();
        if (solved)
            return true;
        for (int c = 0; c < m_variables.GetCount(); ++c)
            m_variables.GetAt(c)->SetValue(moved[static_cast<size_t>(c)]);
    }
    return Solve();
}
