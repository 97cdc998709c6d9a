#include "drawing/LocalSolver.h"

#include "drawing/DiagramComp.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawVariable.h"
#include "drawing/NamedValues.h"
#include "drawing/NormalMatrix.h"
#include "drawing/VariableUses.h"
#include "drawing/VertexShape.h"

#include <Eigen/SparseCholesky>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>

namespace {

using RowMatrix = Eigen::SparseMatrix<double, Eigen::RowMajor>;

// Times the normal matrix's largest diagonal entry, added to its diagonal.
constexpr double kRegularisation = 1e-12;

// A held variable's column is scaled down by this factor, so that moving it
// costs the square of the factor more than moving any other variable: the
// minimum-norm step moves it only along what the others cannot absorb.
constexpr double kHeldWeight = 1e4;

// Steps of least change after a solve that moved the figure further than
// the change asked of it, and the share of the distance to the start below
// which one more is not worth taking.
constexpr int kNearingSteps = 20;
constexpr double kNearingGain = 1e-3;

// A held value the weighted run left within this share of the figure's
// extent is put on its value exactly, the rest solved around it.
constexpr double kHairShare = 1e-6;

// A run that holds variables gives up at a step that leaves more than this
// share of the residual: Newton steps that converge take far more off.
constexpr double kSteadyDecrease = 0.75;

// A step of such a run that makes the residual larger went too far: it is
// halved until a share t of it takes t / 4 of the residual off, down to this
// share, below which the run gives up.
constexpr double kShortestShare = 0x1p-50;

} // namespace

struct LocalSolver::Workspace {
    // For each field of each equation, in order, its column, or -1 for a
    // variable outside the cluster, and its place among the Jacobian's
    // stored values.
    std::vector<int> fieldStart{0};
    std::vector<int> fieldColumns;
    std::vector<int> fieldSlots;
    RowMatrix jacobian;
    NormalMatrix normal;
    Eigen::VectorXd negResidual;
    // The squared length of each row's gradient, then one over the length.
    Eigen::VectorXd rowScale;
    Eigen::VectorXd values;
    // The values before the last step, and that step.
    Eigen::VectorXd base;
    Eigen::VectorXd step;
    // 1 for every column, at most 1 / kHeldWeight for a held variable's.
    Eigen::VectorXd columnScale;
    // The gathering order is breadth-first from the changed variables, which
    // keeps a chain or a mesh of constraints banded; a fill-reducing
    // reordering at every gathering costs more than it saves on the clusters
    // of a drawing.
    Eigen::SimplicialLDLT<NormalMatrix::Matrix, Eigen::Upper, Eigen::NaturalOrdering<int>> factor;
    bool analysed = false;
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

LocalSolver::LocalSolver(DiagramComp& diagram, DrawConstraint* constraint, const ItemArray<DrawVariable>& moved)
    : m_tolerance(0.0)
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
    for (DrawVariable* variable : moved)
        start.AddOnce(variable);
    HoldNamedValues(diagram, start);
    Gather(DiagramEquations(diagram), start);
    Prepare();
    PrepareCheck(&diagram);
}

LocalSolver::LocalSolver(DiagramComp& diagram, const ItemArray<DrawVariable>& variables)
    : m_tolerance(0.0)
{
    ItemArray<DrawVariable> start = variables;
    HoldNamedValues(diagram, start);
    Gather(DiagramEquations(diagram), start);
    Prepare();
    PrepareCheck(&diagram);
}

LocalSolver::LocalSolver(const std::vector<ConstraintEqn*>& pool, const ItemArray<DrawVariable>& variables,
                         double tolerance)
    : m_tolerance(tolerance)
{
    Gather(pool, variables);
    Prepare();
    PrepareCheck(nullptr);
}

LocalSolver::~LocalSolver() = default;

// A value a label's name gives is held at the name's value: the editor
// cannot solve the equations that may move a name, only the kernel can. A
// variable that had drifted from its name is brought back, and solved from,
// as is one whose name the change starts from.
void LocalSolver::HoldNamedValues(const DiagramComp& diagram, ItemArray<DrawVariable>& start)
{
    for (const NamedValue& named : NamedValuesOf(diagram)) {
        if (m_named.Contains(named.own))
            continue;
        m_named.Add(named.own);
        const double value = named.name->GetValue();
        if (named.own->GetValue() != value && std::isfinite(value)) {
            Follow(named.own, value);
            start.AddOnce(named.own);
        }
        if (start.Contains(named.name))
            start.AddOnce(named.own);
    }
}

bool LocalSolver::Stays(const DrawVariable* variable) const
{
    return variable->IsFixed() || m_named.Contains(variable);
}

// The cluster's variables are its free ones: a fixed variable is answered
// at once, and the sorted list for the others is made at the first such
// question (a chain of fixed lengths asks none).
void LocalSolver::PrepareCheck(const DiagramComp* diagram)
{
    std::vector<const DrawVariable*> moves;
    auto isMoved = [this, &moves](const DrawVariable* v) {
        if (Stays(v))
            return false;
        if (moves.empty()) {
            moves.assign(m_variables.begin(), m_variables.end());
            std::sort(moves.begin(), moves.end(), std::less<>());
        }
        return std::binary_search(moves.begin(), moves.end(), v, std::less<>());
    };
    m_check.Gather(diagram, {m_equations.begin(), m_equations.end()}, isMoved, m_tolerance);
}

void LocalSolver::TurnArms(const ItemArray<DrawVariable>& held)
{
    m_check.TurnArms(held, [&](const DrawVariable* v) { return !held.Contains(v) && m_variables.Contains(v); });
}

namespace {

// The variables a gathering has met, in order, with their numbers.
struct Met {
    explicit Met(int count) : seen(static_cast<size_t>(count), 0) {}
    void Add(DrawVariable* variable, int n)
    {
        if (!seen[static_cast<size_t>(n)]) {
            seen[static_cast<size_t>(n)] = 1;
            variables.push_back(variable);
            numbers.push_back(n);
        }
    }
    std::vector<char> seen;
    std::vector<DrawVariable*> variables;
    std::vector<int> numbers;
};

} // namespace

// The transitive closure over shared free variables: a fixed variable ends a
// path, and an equation that asks to stay out (a fixed value) is not
// followed. Variables keep the order in which they were met.
void LocalSolver::Gather(const std::vector<ConstraintEqn*>& pool, const ItemArray<DrawVariable>& variables)
{
    std::vector<ConstraintEqn*> equations = pool;
    std::vector<int> cluster = PlaceFirstEquations(equations);
    const VariableUses uses(equations, variables);
    Met met(uses.GetCount());
    for (int i = 0; i < variables.GetCount(); ++i)
        met.Add(variables.GetAt(i), uses.GivenNumber(i));
    // A met equation is asked once whether it stays out.
    enum : char { kUnmet, kFollowed, kLeftOut };
    std::vector<char> state(equations.size(), kUnmet);
    std::vector<char> listed(equations.size(), 0);
    for (int e : cluster)
        listed[static_cast<size_t>(e)] = 1;
    for (size_t i = 0; i < met.variables.size(); ++i)
        for (const int e : uses.Users(met.numbers[i])) {
            ConstraintEqn* eqn = equations[static_cast<size_t>(e)];
            char& seen = state[static_cast<size_t>(e)];
            if (seen != kUnmet)
                continue;
            seen = eqn->PrepareForCluster() ? kLeftOut : kFollowed;
            if (seen == kLeftOut)
                continue;
            for (int k = 0; k < eqn->GetFieldCount(); ++k)
                if (!Stays(eqn->GetField(k)))
                    met.Add(eqn->GetField(k), uses.FieldNumber(e, k));
            if (!listed[static_cast<size_t>(e)]) {
                listed[static_cast<size_t>(e)] = 1;
                cluster.push_back(e);
            }
        }
    m_equations.Reserve(static_cast<int>(cluster.size()));
    for (size_t i = static_cast<size_t>(m_equations.GetCount()); i < cluster.size(); ++i)
        m_equations.Add(equations[static_cast<size_t>(cluster[i])]);
    std::vector<int> columnOf(static_cast<size_t>(uses.GetCount()), -1);
    m_variables.Reserve(static_cast<int>(met.variables.size()));
    for (size_t i = 0; i < met.variables.size(); ++i)
        if (!Stays(met.variables[i])) {
            columnOf[static_cast<size_t>(met.numbers[i])] = m_variables.GetCount();
            m_variables.Add(met.variables[i]);
            AddSnapshots(met.variables[i]);
        }
    m_work = std::make_unique<Workspace>();
    for (int e : cluster) {
        const ConstraintEqn* eqn = equations[static_cast<size_t>(e)];
        for (int k = 0; k < eqn->GetFieldCount(); ++k)
            m_work->fieldColumns.push_back(columnOf[static_cast<size_t>(uses.FieldNumber(e, k))]);
        m_work->fieldStart.push_back(static_cast<int>(m_work->fieldColumns.size()));
    }
}

// The places in the list of the equations the cluster starts with; those
// the list lacks are appended to it.
std::vector<int> LocalSolver::PlaceFirstEquations(std::vector<ConstraintEqn*>& equations) const
{
    std::vector<int> places(static_cast<size_t>(m_equations.GetCount()), -1);
    if (m_equations.IsEmpty())
        return places;
    for (size_t e = 0; e < equations.size(); ++e) {
        const int i = m_equations.IndexOf(equations[e]);
        if (i >= 0 && places[static_cast<size_t>(i)] < 0)
            places[static_cast<size_t>(i)] = static_cast<int>(e);
    }
    for (size_t i = 0; i < places.size(); ++i)
        if (places[i] < 0) {
            places[i] = static_cast<int>(equations.size());
            equations.push_back(m_equations.GetAt(static_cast<int>(i)));
        }
    return places;
}

// The Jacobian's pattern: one stored value per distinct cluster variable of
// each equation, so that a variable held twice gets the sum of its partials.
void LocalSolver::Prepare()
{
    Workspace& work = *m_work;
    const int rows = m_equations.GetCount();
    const int cols = m_variables.GetCount();
    SparsePattern byRow;
    std::vector<int> distinct;
    for (int i = 0; i < rows; ++i) {
        const auto begin = work.fieldColumns.begin() + work.fieldStart[static_cast<size_t>(i)];
        const auto end = work.fieldColumns.begin() + work.fieldStart[static_cast<size_t>(i) + 1];
        distinct.clear();
        std::copy_if(begin, end, std::back_inserter(distinct), [](int c) { return c >= 0; });
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        const int first = byRow.start.back();
        for (size_t n = 0; n < distinct.size(); ++n)
            byRow.entries.push_back({distinct[n], first + static_cast<int>(n)});
        byRow.start.push_back(first + static_cast<int>(distinct.size()));
        for (auto field = begin; field != end; ++field)
            work.fieldSlots.push_back(
                *field < 0 ? -1
                           : first +
                        static_cast<int>(std::lower_bound(distinct.begin(), distinct.end(), *field) -
                                         distinct.begin()));
    }
    work.jacobian.resize(rows, cols);
    work.jacobian.resizeNonZeros(static_cast<Eigen::Index>(byRow.entries.size()));
    std::copy(byRow.start.begin(), byRow.start.end(), work.jacobian.outerIndexPtr());
    for (size_t s = 0; s < byRow.entries.size(); ++s)
        work.jacobian.innerIndexPtr()[s] = byRow.entries[s].index;
    work.normal.Build(byRow, cols);
    work.negResidual.resize(rows);
    work.rowScale.resize(rows);
    work.values.resize(cols);
    work.base.resize(cols);
    work.columnScale = Eigen::VectorXd::Ones(cols);
}

// Each row is then divided by the length of its gradient, which leaves the
// solutions of the linear equations as they are but gives every equation the
// same weight in the normal matrix, whatever its units. That pass is apart
// so that the square roots do not hold up the evaluation.
bool LocalSolver::Evaluate()
{
    Workspace& work = *m_work;
    double* stored = work.jacobian.valuePtr();
    std::fill(stored, stored + work.jacobian.nonZeros(), 0.0);
    std::array<double, ConstraintEqn::kMaxVariables> partials{};
    bool holds = true;
    const double tolerance = m_check.Tolerance();
    for (int i = 0; i < m_equations.GetCount(); ++i) {
        const ConstraintEqn* eqn = m_equations.GetAt(i);
        const double residual = eqn->Residual();
        eqn->Partials(partials.data());
        double squares = 0.0;
        double size = 0.0;
        const int first = work.fieldStart[static_cast<size_t>(i)];
        for (int k = 0; k < eqn->GetFieldCount(); ++k) {
            const double partial = partials[static_cast<size_t>(k)];
            squares += partial * partial;
            size = std::max(size, std::fabs(eqn->GetField(k)->GetValue()));
            const auto f = static_cast<size_t>(first + k);
            if (work.fieldSlots[f] >= 0)
                stored[work.fieldSlots[f]] += partial * work.columnScale[work.fieldColumns[f]];
        }
        if (holds && !HoldsWithin(eqn->Distance(residual, squares), size, tolerance))
            holds = false;
        work.negResidual[i] = -residual;
        work.rowScale[i] = squares;
    }
    for (int i = 0; i < m_equations.GetCount(); ++i)
        work.rowScale[i] = work.rowScale[i] > 0.0 ? 1.0 / std::sqrt(work.rowScale[i]) : 1.0;
    const int* outer = work.jacobian.outerIndexPtr();
    for (int i = 0; i < m_equations.GetCount(); ++i) {
        for (int s = outer[i]; s < outer[i + 1]; ++s)
            stored[s] *= work.rowScale[i];
        work.negResidual[i] *= work.rowScale[i];
    }
    return holds;
}

bool LocalSolver::Holds(int i) const
{
    return EquationHolds(*m_equations.GetAt(i), m_check.Tolerance());
}

// Fills the normal matrix from the Jacobian and factorises it, its pattern
// analysed once per workspace.
bool LocalSolver::Factorize()
{
    Workspace& work = *m_work;
    work.normal.Fill(work.jacobian.valuePtr(), kRegularisation);
    if (!work.analysed) {
        work.factor.analyzePattern(work.normal.Get());
        work.analysed = true;
    }
    work.factor.factorize(work.normal.Get());
    return work.factor.info() == Eigen::Success;
}

// The minimum-norm least-squares step: J^T (J J^T)^-1 (-R) with fewer
// equations than variables, (J^T J)^-1 J^T (-R) otherwise. A held column
// was scaled down in J, so its share of the step is scaled down again.
bool LocalSolver::Step()
{
    if (!Factorize())
        return false;
    Workspace& work = *m_work;
    const RowMatrix& j = work.jacobian;
    Eigen::VectorXd delta;
    if (work.normal.OfRows())
        delta = j.transpose() * work.factor.solve(work.negResidual);
    else
        delta = work.factor.solve(Eigen::VectorXd(j.transpose() * work.negResidual));
    for (int c = 0; c < m_variables.GetCount(); ++c)
        work.base[c] = m_variables.GetAt(c)->GetValue();
    work.step = delta.cwiseProduct(work.columnScale);
    return TakeShare(1.0);
}

// The values before the last step, moved by the share of it.
bool LocalSolver::TakeShare(double share)
{
    Workspace& work = *m_work;
    work.values = work.base + share * work.step;
    if (!work.values.allFinite())
        return false;
    for (int c = 0; c < m_variables.GetCount(); ++c)
        m_variables.GetAt(c)->SetValue(work.values[c]);
    return true;
}

bool LocalSolver::Solve()
{
    m_steps = 0;
    NoteStart();
    TurnArms({});
    return RunNear(0.0);
}

// A steady run first: from far off (a length typed many times what it
// measures) a full Newton step throws the figure far beyond, and the run may
// settle from there on solutions turned over, which no nearing comes back
// from. Where a steady run cannot go on, a plain one tries from the start.
bool LocalSolver::RunNear(double asked)
{
    const std::vector<double> start = Values();
    if (!Run(true)) {
        SetValues(start);
        m_steps = 0;
        if (!Run(false))
            return false;
    }
    ComeNear(start, asked);
    return true;
}

void LocalSolver::NoteStart()
{
    m_check.NoteFigureBefore();
    m_before = Values();
}

std::vector<double> LocalSolver::Values() const
{
    std::vector<double> values;
    values.reserve(static_cast<size_t>(m_variables.GetCount()));
    for (const DrawVariable* variable : m_variables)
        values.push_back(variable->GetValue());
    return values;
}

void LocalSolver::SetValues(const std::vector<double>& values)
{
    for (int c = 0; c < m_variables.GetCount(); ++c)
        m_variables.GetAt(c)->SetValue(values[static_cast<size_t>(c)]);
}

// Newton steps from far off (a length typed a million times over, or many
// times what a small part of a larger figure measures) find a solution, not
// the nearest one: the first steps of the squares throw the figure far
// beyond, and what the equations leave free stays there. From a solved
// figure of which a value moved further from where the solve began than the
// change asked for (the pointer's step of a drag; none for an edit), each
// step goes towards the start as far as the linearised equations allow and
// Newton steps return onto them; a step that does not bring the figure
// nearer ends the search at the last solution. Held columns (weighted down)
// stay where they are.
void LocalSolver::ComeNear(const std::vector<double>& start, double asked)
{
    Workspace& work = *m_work;
    const auto gapTo = [&start](const std::vector<double>& values) {
        double sum = 0.0;
        for (size_t c = 0; c < values.size(); ++c)
            sum += (values[c] - start[c]) * (values[c] - start[c]);
        return std::sqrt(sum);
    };
    std::vector<double> solved = Values();
    double gap = gapTo(solved);
    const double moved = std::transform_reduce(solved.begin(), solved.end(), m_before.begin(), 0.0,
                                               [](double a, double b) { return std::max(a, b); },
                                               [](double a, double b) { return std::fabs(a - b); });
    if (!(moved > asked + m_check.Tolerance()))
        return;
    const Outcome outcome = m_outcome;
    const int steps = m_steps;
    for (int c = 0; c < m_variables.GetCount(); ++c)
        if (work.columnScale[c] < 1.0)
            work.columnScale[c] = 0.0;
    for (int n = 0; n < kNearingSteps; ++n) {
        if (!StepToward(start) || !Run(false)) {
            SetValues(solved);
            break;
        }
        const std::vector<double> now = Values();
        const double left = gapTo(now);
        if (!(left < (1.0 - kNearingGain) * gap)) {
            if (!(left < gap))
                SetValues(solved);
            break;
        }
        solved = now;
        gap = left;
    }
    Commit();
    work.columnScale.setOnes();
    m_outcome = outcome;
    m_steps = steps;
}

// delta = d + J+ (-R - J d) with d the way to the start: the part of d the
// linearised equations leave free, and the Newton correction.
bool LocalSolver::StepToward(const std::vector<double>& start)
{
    Workspace& work = *m_work;
    Evaluate();
    const RowMatrix& j = work.jacobian;
    Eigen::VectorXd d(m_variables.GetCount());
    for (int c = 0; c < m_variables.GetCount(); ++c) {
        work.base[c] = m_variables.GetAt(c)->GetValue();
        d[c] = work.columnScale[c] > 0.0 ? start[static_cast<size_t>(c)] - work.base[c] : 0.0;
    }
    if (!Factorize())
        return false;
    const Eigen::VectorXd rest = work.negResidual - j * d;
    Eigen::VectorXd correction;
    if (work.normal.OfRows())
        correction = j.transpose() * work.factor.solve(rest);
    else
        correction = work.factor.solve(Eigen::VectorXd(j.transpose() * rest));
    work.step = (d + correction).cwiseProduct(work.columnScale);
    return TakeShare(1.0);
}

// Newton steps until every equation holds, then a commit; when the steps
// run out, or with `steady` at the first step that does not take a quarter
// off the residual, every variable goes back to its last committed value.
// With `steady`, a step that makes the residual larger is first shortened:
// far from where they hold, equations of squares (a distance asked to grow
// many times over) send a full step far beyond.
bool LocalSolver::Run(bool steady)
{
    m_outcome = Outcome::Solved;
    if (m_equations.IsEmpty())
        return true;
    double last = std::numeric_limits<double>::infinity();
    double share = 1.0;
    m_shortened = false;
    for (int steps = 0;; ++steps) {
        // The check's equations are the cluster's: Evaluate has just found them held.
        if (Evaluate()) {
            if (Accept(true)) {
                Commit();
                return true;
            }
            m_outcome = Outcome::Collapsed;
            break;
        }
        const double size = m_work->negResidual.norm();
        if (steady && !(size <= (1.0 - (1.0 - kSteadyDecrease) * share) * last)) {
            const bool overshot = share < 1.0 || size > last;
            share *= 0.5;
            if (overshot && share >= kShortestShare) {
                m_shortened = true;
                if (TakeShare(share))
                    continue;
                m_outcome = Outcome::NotFinite;
                break;
            }
            m_outcome = Outcome::NotConverged;
            break;
        }
        if (steps >= kMaxSteps) {
            m_outcome = Outcome::NotConverged;
            break;
        }
        last = size;
        share = 1.0;
        if (!Step()) {
            m_outcome = Outcome::NotFinite;
            break;
        }
        ++m_steps;
    }
    Restore();
    return false;
}

// First one Newton run in which moving a held variable costs far more than
// moving any other: the rest of the cluster gives way, and a held variable
// moves only along what the constraints leave it no other way to meet.
// Holding it exactly would need a second run whenever the constraints do
// not allow it; the weight leaves it a hair's breadth off instead, and it
// is put back exactly on its value when every equation still holds there.
// When the rest of the cluster cannot give way smoothly (the held value is
// beyond its reach, and it would swing about to try), that run stops at
// once, and every variable takes its share of the correction instead.
//
// A run that came from far off (its steps had to be shortened) lets the
// held variables drift on the way, by their small share of those long
// steps. From where it ended, with the held values given again, the next
// run starts near and takes them much nearer; the runs go on while each
// halves what is left, so that a value the constraints forbid costs one
// more run only.
bool LocalSolver::SolveHolding(const ItemArray<DrawVariable>& held)
{
    NoteStart();
    return SolveHeld(held, 0.0);
}

bool LocalSolver::SolveHeld(const ItemArray<DrawVariable>& held, double asked)
{
    m_steps = 0;
    if (m_equations.IsEmpty())
        return Run(false);
    TurnArms(held);
    std::vector<std::pair<int, double>> wanted;
    for (DrawVariable* variable : held) {
        const int c = m_variables.IndexOf(variable);
        if (c >= 0)
            wanted.emplace_back(c, variable->GetValue());
    }
    if (wanted.empty())
        return RunNear(asked);
    WeighHeld(wanted);
    std::vector<double> given;
    for (DrawVariable* variable : m_variables)
        given.push_back(variable->GetValue());
    const bool solved = Run(true);
    if (solved) {
        const bool cameFar = m_shortened;
        double far = std::numeric_limits<double>::infinity();
        while (!ReturnToWanted(wanted) && cameFar) {
            const double left = GapTo(wanted);
            if (!(left < 0.5 * far))
                break;
            far = left;
            for (const auto& [c, value] : wanted)
                m_variables.GetAt(c)->SetValue(value);
            // A failed run puts back the last solved values.
            if (!Run(true))
                break;
        }
        // What the weight left a hair's breadth off goes on its value, the
        // held columns out of the steps, when the rest can meet it there.
        for (const auto& [c, value] : wanted)
            m_work->columnScale[c] = 0.0;
        const double gap = GapTo(wanted);
        if (gap > 0.0 && gap <= kHairShare * m_check.Extent()) {
            for (const auto& [c, value] : wanted)
                m_variables.GetAt(c)->SetValue(value);
            Run(false);
        }
        ComeNear(given, asked);
        m_work->columnScale.setOnes();
        return true;
    }
    m_work->columnScale.setOnes();
    SetValues(given);
    return RunNear(asked);
}

// The weight is taken against the other variables' partials in the same
// equations: a held variable whose partials dwarf theirs (a length typed far
// beyond the distance it measures, as the slopes of squares grow with the
// values) is weighted down by as much more, or the others would not give
// way first.
void LocalSolver::WeighHeld(const std::vector<std::pair<int, double>>& wanted)
{
    Workspace& work = *m_work;
    std::vector<double> dwarfs(static_cast<size_t>(m_variables.GetCount()), 1.0);
    std::vector<char> isHeld(static_cast<size_t>(m_variables.GetCount()), 0);
    for (const auto& [c, value] : wanted)
        isHeld[static_cast<size_t>(c)] = 1;
    std::array<double, ConstraintEqn::kMaxVariables> partials{};
    for (int i = 0; i < m_equations.GetCount(); ++i) {
        const ConstraintEqn* eqn = m_equations.GetAt(i);
        const auto begin = work.fieldColumns.begin() + work.fieldStart[static_cast<size_t>(i)];
        const auto end = work.fieldColumns.begin() + work.fieldStart[static_cast<size_t>(i) + 1];
        if (std::none_of(begin, end, [&isHeld](int c) { return c >= 0 && isHeld[static_cast<size_t>(c)]; }))
            continue;
        const int first = work.fieldStart[static_cast<size_t>(i)];
        eqn->Partials(partials.data());
        double others = 0.0;
        for (int k = 0; k < eqn->GetFieldCount(); ++k) {
            const int c = work.fieldColumns[static_cast<size_t>(first + k)];
            if (c >= 0 && !isHeld[static_cast<size_t>(c)])
                others = std::max(others, std::fabs(partials[static_cast<size_t>(k)]));
        }
        if (!(others > 0.0))
            continue;
        for (int k = 0; k < eqn->GetFieldCount(); ++k) {
            const int c = work.fieldColumns[static_cast<size_t>(first + k)];
            const double ratio = std::fabs(partials[static_cast<size_t>(k)]) / others;
            if (c >= 0 && isHeld[static_cast<size_t>(c)] && std::isfinite(ratio))
                dwarfs[static_cast<size_t>(c)] = std::max(dwarfs[static_cast<size_t>(c)], ratio);
        }
    }
    for (const auto& [c, value] : wanted)
        work.columnScale[c] = 1.0 / (kHeldWeight * dwarfs[static_cast<size_t>(c)]);
}

double LocalSolver::GapTo(const std::vector<std::pair<int, double>>& wanted) const
{
    double gap = 0.0;
    for (const auto& [c, value] : wanted)
        gap = std::max(gap, std::fabs(m_variables.GetAt(c)->GetValue() - value));
    return gap;
}

// Only the equations of the held variables can change: the others held
// when the last run committed.
bool LocalSolver::ReturnToWanted(const std::vector<std::pair<int, double>>& wanted)
{
    const Workspace& work = *m_work;
    std::vector<double> solved;
    for (const auto& [c, value] : wanted) {
        solved.push_back(m_variables.GetAt(c)->GetValue());
        m_variables.GetAt(c)->SetValue(value);
    }
    const double tolerance = m_check.Tolerance();
    bool holds = true;
    for (int i = 0; holds && i < m_equations.GetCount(); ++i) {
        const auto begin = work.fieldColumns.begin() + work.fieldStart[static_cast<size_t>(i)];
        const auto end = work.fieldColumns.begin() + work.fieldStart[static_cast<size_t>(i) + 1];
        const bool held = std::any_of(begin, end, [&](int c) {
            return std::any_of(wanted.begin(), wanted.end(), [c](const auto& w) { return w.first == c; });
        });
        holds = !held || EquationHolds(*m_equations.GetAt(i), tolerance);
    }
    if (holds && Accept(true)) {
        Commit();
        return true;
    }
    for (size_t i = 0; i < wanted.size(); ++i)
        m_variables.GetAt(wanted[i].first)->SetValue(solved[i]);
    return false;
}

// The dragged vertex is held where the pointer put it; otherwise each step
// would pull it back a little, and it would fall further and further behind
// the pointer.
bool LocalSolver::SolveDrag(const DPoint& offset, const ItemArray<VertexShape>& vertices, VertexShape* dragged)
{
    NoteStart();
    for (VertexShape* vertex : vertices)
        vertex->MoveBy(offset.x, offset.y);
    ItemArray<DrawVariable> held;
    if (dragged) {
        held.Add(dragged->GetXVar());
        held.Add(dragged->GetYVar());
    }
    return SolveHeld(held, std::hypot(offset.x, offset.y));
}
