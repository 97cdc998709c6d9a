#include "drawing/DiagramActions.h"

#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawVariable.h"
#include "drawing/GroupConstraints.h"
#include "drawing/KernelSolver.h"
#include "drawing/LocalSolver.h"
#include "drawing/NamedValuesSnapshot.h"
#include "drawing/VertexShape.h"
#include "foundation/ActionNames.h"
#include "foundation/DrawContext.h"
#include "foundation/ExprNode.h"
#include "foundation/TAction.h"
#include "kernel/KernelLink.h"

#include <utility>

namespace {

bool KernelReady()
{
    KernelLink* link = KernelLink::Get();
    return link && link->IsReady();
}

// An equation constraint that cannot act in this solve says so once, in the
// status bar: an unfinished one is left out of the kernel's system, and
// without the kernel none is solved. The shapes it would tie stay free.
void NoteIgnoredEquations(const DiagramComp& diagram, bool kernel)
{
    const char* text = nullptr;
    for (DrawConstraint* constraint : diagram.GetConstraints()) {
        auto* equation = dynamic_cast<EquationConstraint*>(constraint);
        if (!equation || !equation->HasText())
            continue;
        if (!kernel && equation->NoteIgnored(EquationConstraint::Ignored::NoKernel))
            text = kNoKernelForEquations;
        else if (kernel && !equation->IsUsable() && equation->NoteIgnored(EquationConstraint::Ignored::Unfinished))
            text = kUnfinishedEquation;
    }
    if (text)
        SetStatusText(text);
}

} // namespace

namespace {

// The kernel's solver while the kernel is ready, the editor's otherwise,
// with the named variables as they stand before the kernel's model fills any.
template <class... Seed>
std::unique_ptr<ConstraintCluster> GatheringCluster(DiagramComp& diagram, const Seed&... seed)
{
    NoteIgnoredEquations(diagram, KernelReady());
    auto named = std::make_unique<NamedValuesSnapshot>(diagram.GetVariables());
    std::unique_ptr<ConstraintCluster> cluster;
    if (KernelReady())
        cluster = std::make_unique<KernelSolver>(diagram, seed...);
    else
        cluster = std::make_unique<LocalSolver>(diagram, seed...);
    cluster->GatherNamed(std::move(named));
    return cluster;
}

} // namespace

std::unique_ptr<ConstraintCluster> NewCluster(DiagramComp& diagram, DrawConstraint* constraint,
                                              const ItemArray<DrawVariable>& moved)
{
    return GatheringCluster(diagram, constraint, moved);
}

std::unique_ptr<ConstraintCluster> NewCluster(DiagramComp& diagram, const ItemArray<DrawVariable>& variables)
{
    return GatheringCluster(diagram, variables);
}

namespace {

// A new cluster, solved. What the kernel cannot solve (no model, no
// solution, an answer it cannot use) the editor's own solver tries from the
// same values, so that an edit is never left unsolved while the kernel
// runs; a kernel solver that already handed over to it is not tried again.
// An edit that began while the kernel was ready and was solved after it
// stopped (the solve, or a request of the edit before it, found it gone) was
// solved by the editor's own solver: the user is told, as a drag tells.
void NoteKernelStopped(bool wasReady)
{
    if (wasReady && !KernelReady())
        ShowMessageOrBeep(KernelSolver::kKernelStopped);
}

template <class Seed, class... Moved>
std::unique_ptr<ConstraintCluster> SolvedCluster(DiagramComp& diagram, const Seed& seed,
                                                 const ItemArray<DrawVariable>& held, bool& solved,
                                                 const Moved&... moved)
{
    std::unique_ptr<ConstraintCluster> cluster = NewCluster(diagram, seed, moved...);
    solved = cluster->SolveHolding(held);
    auto* kernel = dynamic_cast<KernelSolver*>(cluster.get());
    if (!solved && kernel && !kernel->HasFallenBack()) {
        std::unique_ptr<NamedValuesSnapshot> named = cluster->TakeNamed();
        cluster = std::make_unique<LocalSolver>(diagram, seed, moved...);
        cluster->GatherNamed(std::move(named));
        solved = cluster->SolveHolding(held);
    }
    return cluster;
}

void AddLocked(DiagramComp& diagram, DrawConstraint* constraint)
{
    diagram.AddConstraint(constraint);
    constraint->ApplyLock();
}

void RemoveUnlocked(DiagramComp& diagram, DrawConstraint* constraint)
{
    diagram.RemoveConstraint(constraint);
    constraint->ReleaseLock();
    diagram.ReapplyLocks();
}

// A shape out of the drawing is not counted among its vertices' uses.
void CountUses(DiagramShape* shape, int step)
{
    for (VertexShape* vertex : shape->GetVertexUses())
        if (step > 0)
            vertex->AddUse();
        else
            vertex->RemoveUse();
}

} // namespace

TDiagramAction::TDiagramAction(int16_t nameId, DiagramComp* diagram)
    : TAction(nameId, DocSelection::SelectObject(diagram)), m_diagram(diagram)
{
}

void TDiagramAction::Refresh()
{
    m_diagram->Repaint();
}

void TDiagramAction::SelectText(DrawLabel* label)
{
    if (label)
        RestoreSelection(DocSelection::SelectAll(label->GetText()));
}

// ---- one constraint, solved ----

TAddConstraintAction::TAddConstraintAction(DiagramComp* diagram, DrawConstraint* constraint, VertexShape* newPoint)
    : TDiagramAction(ActionNames::kAddConstraint, diagram), m_constraint(constraint), m_newPoint(newPoint)
{
}

TAddConstraintAction::~TAddConstraintAction() { Commit(); }

void TAddConstraintAction::Do()
{
    if (m_refused)
        return;
    const bool first = !m_cluster;
    if (first) {
        m_pickedShapes = m_diagram->GetSelectedShapes();
        m_pickedConstraints = m_diagram->GetSelectedConstraints();
    }
    if (m_newPoint)
        m_diagram->AddShape(m_newPoint);
    AddLocked(*m_diagram, m_constraint);
    m_diagram->SelectConstraint(m_constraint, false);
    bool solved = true;
    if (m_cluster)
        m_cluster->SwapGathered();
    else {
        const bool kernelWasReady = KernelReady();
        m_cluster = SolvedCluster(*m_diagram, m_constraint, {}, solved, m_moved);
        NoteKernelStopped(kernelWasReady);
    }
    if (!solved) {
        TakeBack();
        m_refused = true;
    }
    Refresh();
    if (m_refused)
        ShowMessageOrBeep(TUpdateDiagramAction::kNoSolution);
}

void TAddConstraintAction::Undo()
{
    if (m_refused)
        return;
    RemoveUnlocked(*m_diagram, m_constraint);
    if (m_cluster)
        m_cluster->SwapGathered();
    if (m_newPoint)
        m_diagram->TakeOutShape(m_newPoint);
    Refresh();
}

// The refused constraint goes, every value the solve touched comes back,
// and what the user had selected is selected again.
void TAddConstraintAction::TakeBack()
{
    RemoveUnlocked(*m_diagram, m_constraint);
    m_cluster->SwapGathered();
    if (m_newPoint)
        m_diagram->TakeOutShape(m_newPoint);
    m_diagram->DeselectAll(false);
    for (DiagramShape* shape : m_pickedShapes)
        m_diagram->SelectShape(shape, true);
    for (DrawConstraint* constraint : m_pickedConstraints)
        m_diagram->SelectConstraint(constraint, true);
}

void TAddConstraintAction::Commit()
{
    if (!m_done || m_refused) {
        delete std::exchange(m_constraint, nullptr);
        delete std::exchange(m_newPoint, nullptr);
    }
    m_newPoint = nullptr;
    m_cluster.reset();
}

// ---- one constraint, not solved ----

TAddConstraintNoSolveAction::TAddConstraintNoSolveAction(DiagramComp* diagram, DrawConstraint* constraint)
    : TDiagramAction(ActionNames::kAddConstraint, diagram), m_constraint(constraint)
{
}

TAddConstraintNoSolveAction::~TAddConstraintNoSolveAction() { Commit(); }

void TAddConstraintNoSolveAction::Do()
{
    AddLocked(*m_diagram, m_constraint);
    m_diagram->SelectConstraint(m_constraint, false);
    Refresh();
}

void TAddConstraintNoSolveAction::Undo()
{
    RemoveUnlocked(*m_diagram, m_constraint);
    Refresh();
}

void TAddConstraintNoSolveAction::Commit()
{
    if (!m_done)
        delete std::exchange(m_constraint, nullptr);
}

// ---- several constraints ----

TAddConstraintsAction::TAddConstraintsAction(DiagramComp* diagram, ItemArray<DrawConstraint> constraints)
    : TDiagramAction(ActionNames::kAddConstraint, diagram), m_constraints(std::move(constraints))
{
}

TAddConstraintsAction::~TAddConstraintsAction() { Commit(); }

void TAddConstraintsAction::Do()
{
    m_diagram->DeselectAll(false);
    for (DrawConstraint* constraint : m_constraints) {
        AddLocked(*m_diagram, constraint);
        m_diagram->SelectConstraint(constraint, true);
    }
    Refresh();
}

void TAddConstraintsAction::Undo()
{
    m_diagram->DeselectAll(false);
    for (DrawConstraint* constraint : m_constraints)
        RemoveUnlocked(*m_diagram, constraint);
    Refresh();
}

void TAddConstraintsAction::Commit()
{
    if (!m_done)
        for (DrawConstraint* constraint : m_constraints)
            delete constraint;
    m_constraints.Clear();
}

// ---- an equation constraint ----

TAddEquationConstraintAction::TAddEquationConstraintAction(DiagramComp* diagram, DrawConstraint* constraint)
    : TDiagramAction(ActionNames::kAddConstraint, diagram), m_constraint(constraint)
{
}

TAddEquationConstraintAction::~TAddEquationConstraintAction() { Commit(); }

void TAddEquationConstraintAction::Do()
{
    m_diagram->AddConstraint(m_constraint);
    m_diagram->DeselectAll(false);
    Refresh();
    SelectText(m_constraint->GetLabel());
}

void TAddEquationConstraintAction::Undo()
{
    m_diagram->RemoveConstraint(m_constraint);
    Refresh();
}

void TAddEquationConstraintAction::Commit()
{
    if (!m_done)
        delete std::exchange(m_constraint, nullptr);
}

// ---- a shape ----

TAddShapeAction::TAddShapeAction(DiagramComp* diagram, DiagramShape* shape)
    : TDiagramAction(ActionNames::kAddShape, diagram), m_shape(shape)
{
}

TAddShapeAction::TAddShapeAction(DiagramComp* diagram, Builder build)
    : TDiagramAction(ActionNames::kAddShape, diagram), m_shape(nullptr), m_build(std::move(build))
{
}

TAddShapeAction::~TAddShapeAction() { Commit(); }

void TAddShapeAction::Do()
{
    if (!m_shape && m_build)
        m_shape = std::exchange(m_build, nullptr)();
    if (!m_shape)
        return;
    if (m_added) {
        CountUses(m_shape, +1);
        m_diagram->InsertShape(m_shape);
    } else
        m_diagram->AddShape(m_shape);
    TakeListedVertices();
    m_added = true;
    m_diagram->DeselectAll(true);
    Refresh();
}

void TAddShapeAction::Undo()
{
    if (!m_shape)
        return;
    m_diagram->TakeOutShape(m_shape);
    CountUses(m_shape, -1);
    for (auto it = m_taken.rbegin(); it != m_taken.rend(); ++it) {
        m_diagram->InsertShapeAt(it->index, it->vertex);
        it->vertex->ClearOwnerLink();
    }
    Refresh();
}

// The first time the shape's own constructor made it their owner; redoing
// makes it so again.
void TAddShapeAction::TakeListedVertices()
{
    if (!m_added)
        for (VertexShape* vertex : m_shape->GetVertices())
            if (vertex != m_shape && m_diagram->GetShapes().Contains(vertex))
                m_taken.push_back({vertex, 0, vertex->GetOwnerShape() ? vertex->GetOwnerShape() : m_shape});
    // Each place as the list stands when the vertex leaves it, so that undo
    // (in the reverse order) puts each back where it was.
    for (Taken& taken : m_taken) {
        taken.index = m_diagram->GetShapes().IndexOf(taken.vertex);
        m_diagram->Unselect(taken.vertex);
        taken.vertex->Deselect();
        taken.vertex->DiagramShape::SetOwner(taken.owner);
    }
}

void TAddShapeAction::Commit()
{
    if (m_done || !m_shape)
        return;
    // The shape's destructor lets go of the uses it counts.
    if (m_added)
        CountUses(m_shape, +1);
    delete std::exchange(m_shape, nullptr);
}

// ---- a label ----

TAddLabelAction::TAddLabelAction(DiagramComp* diagram, DiagramItem* owner, DrawLabel* label)
    : TDiagramAction(ActionNames::kAddLabel, diagram), m_owner(owner), m_label(label)
{
}

TAddLabelAction::~TAddLabelAction() { Commit(); }

void TAddLabelAction::Do()
{
    if (!m_performed) {
        FirstDo();
    } else {
        m_diagram->DeselectAll(false);
        if (m_label)
            Attach();
        else if (m_owner)
            m_owner->GetLabel()->Show();
    }
    m_performed = true;
    Refresh();
    SelectText(m_label);
}

void TAddLabelAction::FirstDo()
{
    if (!m_label && !m_owner)
        m_label = new DrawLabel(nullptr, m_diagram, nullptr);
    else if (!m_label && !m_owner->HasLabel())
        m_label = m_owner->MakeLabel(m_diagram);
    else if (!m_label) {
        m_owner->GetLabel()->Show();
        m_diagram->DeselectAll(false);
        return;
    }
    Attach();
}

void TAddLabelAction::Attach()
{
    if (m_owner)
        m_owner->SetLabel(m_label);
    m_diagram->AddLabel(m_label);
    m_diagram->DeselectAll(false);
}

void TAddLabelAction::Undo()
{
    if (m_label) {
        if (m_owner)
            m_owner->ClearLabel();
        m_diagram->RemoveLabel(m_label);
    } else if (m_owner) {
        m_owner->GetLabel()->Hide();
    }
    Refresh();
}

void TAddLabelAction::Commit()
{
    if (!m_done)
        delete std::exchange(m_label, nullptr);
}

// ---- applying pending value edits ----

TUpdateDiagramAction::TUpdateDiagramAction(DiagramComp* diagram)
    : TDiagramAction(ActionNames::kUpdateDiagram, diagram), m_kernelWasReady(KernelReady()),
      m_moves(diagram->TakePendingMoves())
{
}

// Whether the kernel was ready is read before the named values are checked
// with it.
TUpdateDiagramAction::TUpdateDiagramAction(DiagramComp* diagram, std::vector<PendingMove> moves)
    : TDiagramAction(ActionNames::kUpdateDiagram, diagram), m_kernelWasReady(KernelReady()),
      m_moves(moves.empty() ? std::move(moves) : diagram->RefreshForMoves(std::move(moves))), m_fromPending(false)
{
}

TUpdateDiagramAction::~TUpdateDiagramAction() { Commit(); }

void TUpdateDiagramAction::ApplyMoves()
{
    for (PendingMove& move : m_moves) {
        const double previous = move.variable->GetValue();
        move.variable->SetValue(move.value);
        move.value = previous;
    }
}

void TUpdateDiagramAction::RevertMoves()
{
    for (auto move = m_moves.rbegin(); move != m_moves.rend(); ++move) {
        const double wanted = move->variable->GetValue();
        move->variable->SetValue(move->value);
        move->value = wanted;
    }
}

void TUpdateDiagramAction::Do()
{
    if (m_moves.empty())
        return;
    // A redo: the values the solve found come back exactly.
    if (m_solveRun) {
        if (m_cluster) {
            ApplyMoves();
            m_cluster->SwapGathered();
            Refresh();
        }
        return;
    }
    m_solveRun = true;
    ApplyMoves();
    ItemArray<DrawVariable> variables;
    for (const PendingMove& move : m_moves)
        variables.AddOnce(move.variable);
    bool solved = false;
    m_cluster = SolvedCluster(*m_diagram, variables, variables, solved);
    NoteKernelStopped(m_kernelWasReady);
    if (!solved) {
        ShowMessageOrBeep(kNoSolution);
        // The names the kernel's model filled go with the failed solve.
        std::unique_ptr<NamedValuesSnapshot> named = m_cluster->TakeNamed();
        m_cluster.reset();
        if (named)
            named->Swap();
        RevertMoves();
    } else {
        // The kernel's rules for the named variables; the in-program solver answers none.
        m_diagram->ApplyRules(m_cluster->Finalize());
    }
    Refresh();
}

void TUpdateDiagramAction::Undo()
{
    if (!m_cluster)
        return;
    m_cluster->SwapGathered();
    RevertMoves();
    Refresh();
}

void TUpdateDiagramAction::Commit()
{
    m_cluster.reset();
    if (m_committed)
        return;
    m_committed = true;
    if (!m_done && m_fromPending)
        m_diagram->SetPendingMoves(std::exchange(m_moves, {}));
    m_moves.clear();
}
