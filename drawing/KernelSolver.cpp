#include "drawing/KernelSolver.h"

#include "drawing/ConstraintEqn.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingNodes.h"
#include "drawing/LocalSolver.h"
#include "drawing/NamedValues.h"
#include "drawing/ValueConstraint.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "kernel/KernelLink.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/OperatorNodes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

const TypeTag kList("lisN");
const TypeTag kRule("rulN");
const TypeTag kVariable("dVrN");
const TypeTag kReal("reaN");
const TypeTag kInteger("intN");

using Node = std::unique_ptr<ExprNode>;

KernelLink* ReadyLink()
{
    KernelLink* link = KernelLink::Get();
    return link && link->IsReady() ? link : nullptr;
}

const CompositeNode* AsList(const ExprNode* node)
{
    return node && node->GetTag() == kList ? dynamic_cast<const CompositeNode*>(node) : nullptr;
}

// The variable and real of a rule "VXDrawVar"[n] -> real; null for any other node.
DrawVariable* RuleVariable(const ExprNode* node, const ExprNode** right = nullptr)
{
    const auto* rule = node && node->GetTag() == kRule ? dynamic_cast<const RuleNode*>(node) : nullptr;
    if (!rule || !rule->Left() || !rule->Right() || rule->Left()->GetTag() != kVariable)
        return nullptr;
    if (right)
        *right = rule->Right();
    return static_cast<const DrawVarNode*>(rule->Left())->GetVariable();
}

// A locked variable a value edit changed travels as an unknown while a
// request is written (a locked one is written as its number), and is locked
// again at once.
class LockedAsUnknowns {
public:
    explicit LockedAsUnknowns(const ItemArray<DrawVariable>& locked) : m_locked(locked)
    {
        for (DrawVariable* variable : m_locked)
            variable->SetFixed(false);
    }
    ~LockedAsUnknowns()
    {
        for (DrawVariable* variable : m_locked)
            variable->SetFixed(true);
    }
    LockedAsUnknowns(const LockedAsUnknowns&) = delete;
    LockedAsUnknowns& operator=(const LockedAsUnknowns&) = delete;

private:
    const ItemArray<DrawVariable>& m_locked;
};

// The equations of the drawing that read a variable the model moves, those
// the kernel reads as the editor does: a fixed value and a point or a
// direction on a plot mean something else to the kernel (a lock it leaves to
// the variable's flag, the plot's own curve). Where a label gives the value,
// the label's name stands in place of the constraint's value variable: such
// an equation goes to `named`, to be checked with the name's value once the
// kernel reports it; one whose label is an expression of names is not.
std::vector<ConstraintEqn*> CheckedEquations(const DiagramComp& diagram, const AnswerCheck::Filter& moves,
                                             std::vector<KernelSolver::NamedEquation>& named)
{
    std::vector<ConstraintEqn*> checked;
    for (const ItemArray<DrawConstraint>* list : {&diagram.GetConstraints(), &diagram.GetDragConstraints()})
        for (DrawConstraint* constraint : *list) {
            const bool given = LabelGivesValue(*constraint);
            const std::string name = GivenName(*constraint);
            for (int i = 0; i < constraint->GetEquationCount(); ++i) {
                ConstraintEqn* equation = constraint->GetEquation(i);
                if (!equation || dynamic_cast<FixValueEqn*>(equation) || dynamic_cast<PlotPointEqn*>(equation) ||
                    dynamic_cast<PlotTangentEqn*>(equation))
                    continue;
                bool reads = false;
                DrawVariable* readsGiven = nullptr;
                for (int k = 0; k < equation->GetFieldCount(); ++k) {
                    reads = reads || moves(equation->GetField(k));
                    for (int v = 0; given && v < constraint->GetVariableCount(); ++v)
                        if (equation->GetField(k) == constraint->GetVariable(v))
                            readsGiven = constraint->GetVariable(v);
                }
                if (reads && !readsGiven)
                    checked.push_back(equation);
                else if (reads && !name.empty())
                    named.push_back({equation, readsGiven, name});
            }
        }
    return checked;
}

// The named values of the kernel's rules name -> real.
std::map<std::string, double> NamedValues(const ExprNode* answer)
{
    std::map<std::string, double> values;
    const CompositeNode* list = AsList(answer);
    for (const ExprNode* node = list ? list->First() : nullptr; node; node = node->next) {
        const auto* rule = node->GetTag() == kRule ? dynamic_cast<const RuleNode*>(node) : nullptr;
        if (!rule || !rule->Left() || !rule->Right() || !rule->Right()->IsNumericFactor())
            continue;
        Str255 name;
        rule->Left()->GetText(name);
        values[std::string(name.GetText())] = rule->Right()->GetRealValue();
    }
    return values;
}

} // namespace

KernelSolver::KernelSolver(DiagramComp& diagram, DrawConstraint* constraint, const ItemArray<DrawVariable>& moved)
    : m_diagram(diagram)
{
    auto* core = new ListNode;
    for (int i = 0; i < constraint->GetKernelEquationCount(); ++i)
        core->AppendChild(constraint->BuildEquationExpr(i, &diagram));
    for (int i = 0; i < constraint->GetEquationCount(); ++i)
        if (const ConstraintEqn* equation = constraint->GetEquation(i))
            for (DrawVariable* variable : equation->Variables())
                if (!variable->IsFixed())
                    m_seed.AddOnce(variable);
    for (DrawVariable* variable : moved)
        m_seed.AddOnce(variable);
    Build(core, true, m_seed);
}

KernelSolver::KernelSolver(DiagramComp& diagram, const ItemArray<DrawVariable>& variables)
    : m_diagram(diagram), m_seed(variables)
{
    Build(SeedList(), false, variables);
}

ListNode* KernelSolver::SeedList() const
{
    auto* list = new ListNode;
    for (const ItemArray<DrawVariable>* seeds : {&m_seed, &m_heldNames})
        for (DrawVariable* variable : *seeds)
            list->AppendChild(new DrawVarNode(variable));
    return list;
}

// A drag leaves a locked variable a number; a value typed for one is held
// in a model built again with it as an unknown. The drawing's names are held
// at their values as the model's seeds are, so that a value typed moves the
// figure without changing a length a name gives unless it must.
void KernelSolver::HoldSeeds()
{
    if (m_fromCore || std::exchange(m_seedsHeld, true))
        return;
    for (DrawVariable* variable : m_seed)
        if (variable->IsFixed())
            m_locked.AddOnce(variable);
    const DrawVarTable& names = m_diagram.GetVariables();
    for (int i = 0; i < names.GetCount(); ++i)
        if (DrawVariable* name = names.GetAt(i).variable.get(); !name->IsFixed() && !m_seed.Contains(name))
            m_heldNames.AddOnce(name);
    if (!m_locked.IsEmpty() || !m_heldNames.IsEmpty())
        Build(SeedList(), false, m_seed);
}

// Names held where the value asked for moves one of them (b = 2a with a
// typed), or where nothing meets them held, are let go for another try.
bool KernelSolver::ReleaseNames()
{
    if (m_heldNames.IsEmpty() || KernelGone())
        return false;
    m_heldNames.Clear();
    Build(SeedList(), false, m_seed);
    return true;
}

KernelSolver::~KernelSolver() = default;

void KernelSolver::Build(ExprNode* second, bool fromCore, const ItemArray<DrawVariable>& seed)
{
    Node argument(second);
    m_fromCore = fromCore;
    m_built = true;
    m_model.clear();
    m_rules = std::make_unique<ListNode>();
    m_diagram.ResolveDeficits();
    Node system(m_diagram.BuildEquationSystem(true));
    KernelLink* link = KernelLink::Get();
    Node answer;
    {
        LockedAsUnknowns locked(m_locked);
        answer.reset(!link      ? new ErrorNode
                     : fromCore ? link->BuildModelFromCore(system.get(), argument.get())
                                : link->BuildModelFromVars(system.get(), argument.get()));
    }
    TakeModel(answer.get());
    // The variables the change starts from are kept too, so that undo puts
    // them back whatever the kernel's model holds.
    for (DrawVariable* variable : seed)
        if (!InModel(variable))
            SnapshotOnce(variable);
    const AnswerCheck::Filter moves = [this](const DrawVariable* v) { return Moves(v); };
    m_named.clear();
    m_check.Gather(&m_diagram, CheckedEquations(m_diagram, moves, m_named), moves, 0.0);
    // A value a name gives follows the name.
    for (const NamedEquation& named : m_named)
        SnapshotOnce(named.value);
}

bool KernelSolver::Moves(const DrawVariable* variable) const
{
    return InModel(variable) || m_seed.Contains(variable);
}

void KernelSolver::SnapshotOnce(DrawVariable* variable)
{
    if (m_snapshotted.insert(variable).second)
        AddSnapshots(variable);
}

// A step the kernel cannot take with an equation constraint in the system
// (a function it cannot compute, an equation the figure cannot meet) would
// leave every shape tied to it frozen without a word: the model is built
// again without the equations, which then stop acting, and the user is told.
bool KernelSolver::LeaveOutEquations()
{
    if (m_equationsLeftOut || m_fromCore || m_fallback || KernelGone() || !m_diagram.HasActingEquations())
        return false;
    m_equationsLeftOut = true;
    m_diagram.SetEquationsLeftOut(true);
    Build(SeedList(), false, m_seed);
    m_diagram.SetEquationsLeftOut(false);
    return true;
}

void KernelSolver::NoteEquationsLeftOut()
{
    if (m_equationsLeftOut)
        m_diagram.NoteEquationsRefused();
}

void KernelSolver::TakeModel(const ExprNode* answer)
{
    const CompositeNode* list = AsList(answer);
    if (!list)
        return;
    std::vector<DrawVariable*> variables;
    for (const ExprNode* element = list->First(); element; element = element->next) {
        DrawVariable* variable =
            element->GetTag() == kVariable ? static_cast<const DrawVarNode*>(element)->GetVariable() : nullptr;
        if (!variable) {
            // A model that names what the drawing never handed out is no model.
            m_built = false;
            m_rules.reset();
            return;
        }
        if (std::find(variables.begin(), variables.end(), variable) == variables.end())
            variables.push_back(variable);
    }
    for (DrawVariable* variable : variables) {
        m_rules->AppendChild(new RuleNode(new DrawVarNode(variable), new RealNode(variable->GetValue())));
        m_model.insert(variable);
        SnapshotOnce(variable);
    }
}

bool KernelSolver::InModel(const DrawVariable* variable) const { return m_model.count(variable) != 0; }

void KernelSolver::RefreshRules()
{
    for (ExprNode* rule = m_rules->First(); rule; rule = rule->next) {
        const ExprNode* right = nullptr;
        DrawVariable* variable = RuleVariable(rule, &right);
        if (variable && right->GetTag() == kReal)
            static_cast<RuleNode*>(rule)->SetRight(new RealNode(variable->GetValue()));
    }
}

bool KernelSolver::ApplySolution(const ExprNode* answer)
{
    const CompositeNode* list = AsList(answer);
    if (!list || list->Count() < 2 || list->First()->GetTag() != kInteger || list->First()->GetIntegerValue() != 1)
        return false;
    const CompositeNode* rules = AsList(list->ChildAt(2));
    if (!rules)
        return false;
    std::vector<std::pair<DrawVariable*, double>> values;
    for (const ExprNode* node = rules->First(); node; node = node->next) {
        const auto* rule = node->GetTag() == kRule ? dynamic_cast<const RuleNode*>(node) : nullptr;
        if (!rule || !rule->Left() || !rule->Right() || rule->Left()->GetTag() != kVariable)
            continue;
        // A number the drawing did not hand out for this model, or a value
        // that is no finite real, makes the whole answer unusable.
        DrawVariable* variable = static_cast<const DrawVarNode*>(rule->Left())->GetVariable();
        if (!variable || !InModel(variable))
            return false;
        // A locked value stays exactly as it was typed.
        if (rule->Right()->GetTag() != kReal || m_locked.Contains(variable))
            continue;
        const double value = rule->Right()->GetRealValue();
        if (!std::isfinite(value))
            return false;
        values.emplace_back(variable, value);
    }
    for (auto& [variable, value] : values)
        variable->SetValue(value);
    return true;
}

bool KernelSolver::KernelGone() const
{
    KernelLink* link = KernelLink::Get();
    return !link || !link->IsReady();
}

bool KernelSolver::FallBack()
{
    if (!m_fallback) {
        ShowMessageOrBeep(kKernelStopped);
        m_fallback = std::make_unique<LocalSolver>(m_diagram, m_seed);
        // What the editor's solver moves beyond the kernel's model has not
        // moved yet: its present values are the ones undo goes back to.
        for (DrawVariable* variable : m_fallback->GetVariables())
            if (!InModel(variable) && !m_seed.Contains(variable))
                SnapshotOnce(variable);
    }
    return true;
}

// Its values before the step are kept for undo, as the kernel's are.
bool KernelSolver::SolveStepLocally(const DPoint& offset, const ItemArray<VertexShape>& vertices, VertexShape* dragged)
{
    LocalSolver step(m_diagram, m_seed);
    for (DrawVariable* variable : step.GetVariables())
        SnapshotOnce(variable);
    if (!step.SolveDrag(offset, vertices, dragged))
        return false;
    Commit();
    return true;
}

bool KernelSolver::IsIdle() const
{
    KernelLink* link = KernelLink::Get();
    return !link || !link->IsBusy();
}

bool KernelSolver::Solve()
{
    if (m_fallback)
        return m_fallback->Solve();
    HoldSeeds();
    Outcome outcome = SolveModel();
    if (outcome != Outcome::Solved && ReleaseNames())
        outcome = SolveModel();
    if (outcome == Outcome::NoAnswer)
        return LeaveOutEquations() && Solve();
    return outcome == Outcome::Solved;
}

KernelSolver::Outcome KernelSolver::SolveModel()
{
    if (!m_built || !m_rules) {
        Restore();
        return Outcome::NoAnswer;
    }
    m_check.NoteFigureBefore();
    // The values a user gave are held, and an angle typed turns its arms first.
    const ItemArray<DrawVariable> held = m_fromCore ? ItemArray<DrawVariable>() : m_seed;
    m_check.TurnArms(held, [&](const DrawVariable* v) { return InModel(v) && !v->IsFixed() && !held.Contains(v); });
    RefreshRules();
    KernelLink* link = KernelLink::Get();
    Node answer;
    {
        LockedAsUnknowns locked(m_locked);
        answer.reset(link ? link->SolveSystem(m_rules.get(), nullptr, nullptr) : new ErrorNode);
    }
    if (!ApplySolution(answer.get())) {
        Restore();
        return Outcome::NoAnswer;
    }
    // An answer that does not hold is the editor's solver's to try.
    const Outcome outcome = TakeAnswer();
    if (outcome == Outcome::Solved)
        NoteEquationsLeftOut();
    return outcome;
}

// Commits the answer applied when it passes the check and the names hold;
// puts every value back otherwise.
KernelSolver::Outcome KernelSolver::TakeAnswer()
{
    m_stale = true;
    const Outcome outcome = !Accept() ? Outcome::Refused : !NamedHold() ? Outcome::NamesRefused : Outcome::Solved;
    if (outcome != Outcome::Solved) {
        Restore();
        return outcome;
    }
    m_stale = false;
    Commit();
    return outcome;
}

bool KernelSolver::SolveDrag(const DPoint& offset, const ItemArray<VertexShape>& vertices, VertexShape* dragged)
{
    if (!m_fallback && KernelGone())
        FallBack();
    if (m_fallback)
        return m_fallback->SolveDrag(offset, vertices, dragged);
    if (!m_built || !m_rules) {
        Restore();
        return LeaveOutEquations() && SolveDrag(offset, vertices, dragged);
    }
    RefreshRules();
    for (VertexShape* vertex : vertices)
        vertex->MoveBy(offset.x, offset.y);
    ListNode moved;
    for (const ExprNode* rule = m_rules->First(); rule; rule = rule->next)
        if (DrawVariable* variable = RuleVariable(rule))
            moved.AppendChild(new RuleNode(new DrawVarNode(variable), new RealNode(variable->GetValue())));
    // A locked coordinate of the dragged vertex is no unknown, and no target.
    ListNode target;
    for (DrawVariable* variable : {dragged->GetXVar(), dragged->GetYVar()})
        if (!variable->IsFixed())
            target.AppendChild(new RuleNode(new DrawVarNode(variable), new RealNode(variable->GetValue())));
    m_check.NoteFigureBefore();
    Node answer(KernelLink::Get()->SolveSystem(m_rules.get(), &moved, &target));
    if (ApplySolution(answer.get())) {
        const Outcome outcome = TakeAnswer();
        if (outcome == Outcome::Solved) {
            NoteEquationsLeftOut();
            return true;
        }
        // A step whose answer does not hold is taken by the editor's solver;
        // one whose equations give a name a value that cannot be (a length
        // below zero) is taken again without them, and the user is told.
        if (outcome == Outcome::NamesRefused && LeaveOutEquations())
            return SolveDrag(offset, vertices, dragged);
        return SolveStepLocally(offset, vertices, dragged);
    }
    Restore();
    // A kernel that stopped during the step leaves the drag to the editor.
    if (KernelGone())
        return FallBack() && m_fallback->SolveDrag(offset, vertices, dragged);
    if (LeaveOutEquations())
        return SolveDrag(offset, vertices, dragged);
    // A step the kernel finds no answer for (a lock cleared on one
    // coordinate of a point leaves its model short of a way to move) is
    // the editor's solver's to take, as one whose answer does not hold.
    return SolveStepLocally(offset, vertices, dragged);
}

// The named values the model reports for this answer: an equation a name
// stands in holds with the name's value, and a length a name gives is not
// negative (the equations read only its square). The value variable each
// name stands in for takes the name's value, and the names are kept for
// Finalize; those of the last answer taken stay when this one fails.
bool KernelSolver::NamedHold()
{
    if (m_named.empty()) {
        m_finalized.reset();
        return true;
    }
    Node reported(AskNamedValues());
    const std::map<std::string, double> values = NamedValues(reported.get());
    const double tolerance = m_check.Tolerance();
    for (const NamedEquation& named : m_named) {
        const auto value = values.find(named.name);
        if (value == values.end())
            continue;
        named.value->SetValue(value->second);
        if (!EquationHolds(*named.equation, tolerance) ||
            (IsLengthOf(*named.equation, named.value) && value->second < 0.0))
            return false;
    }
    m_finalized = std::move(reported);
    return true;
}

ExprNode* KernelSolver::Finalize()
{
    if (m_finalized)
        return m_finalized.release();
    if (m_fallback)
        return ConstraintCluster::Finalize();
    // After an answer that was not taken the kernel's last solution is not
    // the figure's: the names keep the values they have.
    if (m_stale)
        return m_diagram.GetVariables().ToRuleList();
    return AskNamedValues();
}

ExprNode* KernelSolver::AskNamedValues()
{
    // Nothing is written to a link that is closed or busy.
    KernelLink* link = ReadyLink();
    if (!link || link->IsBusy())
        return new ErrorNode;
    ListNode empty;
    LockedAsUnknowns locked(m_locked);
    return link->FinalizeModel(m_rules ? static_cast<const ExprNode*>(m_rules.get()) : &empty);
}
