// The drawing's conversation with the kernel: its equation system, its named
// variables, the shapes of kernel answers and the plots the kernel computes.
#include "drawing/DiagramComp.h"

#include "drawing/DiagramActions.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingNodes.h"
#include "drawing/GroupConstraints.h"
#include "drawing/KernelSolver.h"
#include "drawing/PlotShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/VariableValueQuestion.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/Str255.h"
#include "foundation/TAction.h"
#include "kernel/KernelLink.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/NodeBuilders.h"
#include "kernel/OperatorNodes.h"
#include "platform/UserInterface.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

using Node = std::unique_ptr<ExprNode>;

const TypeTag kList("lisN");
const TypeTag kRule("rulN");
const TypeTag kPoint("qvPt");
const TypeTag kInteger("intN");

// The end-arrowhead bit of a line's pen style.
constexpr int32_t kEndArrow = 0x40;
// A vector that is no point is drawn this many points long.
constexpr double kDefaultVectorLength = 75.0;

KernelLink* ReadyLink()
{
    KernelLink* link = KernelLink::Get();
    return link && link->IsReady() ? link : nullptr;
}

const CompositeNode* AsList(const ExprNode* node)
{
    return node && node->GetTag() == kList ? dynamic_cast<const CompositeNode*>(node) : nullptr;
}

std::string TextOf(ExprNode& node)
{
    Str255 text;
    node.GetText(text);
    return std::string(text.GetText());
}

ExprNode* Symbol(const Str255& name) { return new SymbolNode(std::string(name.GetText())); }

struct KernelPoint {
    double x = 0.0;
    double y = 0.0;
    bool isPoint = false;
};

KernelPoint PointOf(const ExprNode* node)
{
    const auto* point = node && node->GetTag() == kPoint ? dynamic_cast<const CompositeNode*>(node) : nullptr;
    if (!point || point->Count() != 2)
        return {};
    const double x = point->ChildAt(1)->GetRealValue();
    const double y = point->ChildAt(2)->GetRealValue();
    if (!std::isfinite(x) || !std::isfinite(y))
        return {};
    return {x, y, true};
}

// The shapes of one answer before they join the drawing.
struct Imported {
    std::vector<std::unique_ptr<DiagramShape>> shapes;
    ItemArray<DrawVariable> newVariables;
};

} // namespace

// ---- the equation system ----

ExprNode* DiagramComp::BuildEquationSystem(bool withDefinitions)
{
    auto* system = new ListNode;
    auto addEquations = [&](const ItemArray<DrawConstraint>& constraints) {
        for (DrawConstraint* constraint : constraints) {
            if (m_equationsLeftOut && dynamic_cast<EquationConstraint*>(constraint))
                continue;
            for (int i = 0; i < constraint->GetKernelEquationCount(); ++i)
                if (ExprNode* equation = constraint->BuildEquationExpr(i, this))
                    system->AppendChild(equation);
        }
    };
    addEquations(m_constraints);
    addEquations(m_dragConstraints);
    if (withDefinitions)
        m_variables.AppendEquations(*system);
    ItemArray<VertexShape> vertices;
    for (DiagramShape* shape : m_shapes) {
        if (shape->IsVertexShape())
            vertices.AddOnce(static_cast<VertexShape*>(shape));
        for (VertexShape* vertex : shape->GetVertices())
            vertices.AddOnce(vertex);
    }
    for (VertexShape* vertex : vertices) {
        CompList* text = vertex->HasLabel() ? vertex->GetLabel()->GetText() : nullptr;
        if (!text)
            continue;
        Node place(text->BuildNode());
        system->AppendChild(MakeRelation(new DrawVarNode(vertex->GetXVar()), MakeXCoord(place->Clone())));
        system->AppendChild(MakeRelation(new DrawVarNode(vertex->GetYVar()), MakeYCoord(place.release())));
    }
    return system;
}

bool DiagramComp::HasActingEquations() const
{
    for (DrawConstraint* constraint : m_constraints)
        if (auto* equation = dynamic_cast<EquationConstraint*>(constraint); equation && equation->IsUsable())
            return true;
    return false;
}

void DiagramComp::NoteEquationsRefused()
{
    bool told = false;
    for (DrawConstraint* constraint : m_constraints)
        if (auto* equation = dynamic_cast<EquationConstraint*>(constraint); equation && equation->IsUsable())
            told = equation->NoteIgnored(EquationConstraint::Ignored::Refused) || told;
    if (told)
        SetStatusText(kRefusedEquation);
}

// ---- named variables ----

void DiagramComp::UpdateNamedVariables()
{
    KernelLink* link = ReadyLink();
    if (!link)
        return;
    Node system(BuildEquationSystem(false));
    Node functions(new ListNode);
    for (DiagramShape* shape : m_shapes)
        if (shape->IsPlot())
            functions->AppendChild(static_cast<PlotShape*>(shape)->CopyFunction());
    Node rules(m_variables.ToRuleList());
    Node answer(link->VariableCheck(system.get(), functions.get(), rules.get()));
    // Only a list of rules replaces the table: a failed request empties nothing.
    if (AsList(answer.get()))
        m_variables.ReplaceFromRules(answer.release());
    SymbolNode x(std::string(m_xName.GetText()));
    SymbolNode y(std::string(m_yName.GetText()));
    for (DiagramShape* shape : m_shapes) {
        auto* plot = shape->IsPlot() ? static_cast<PlotShape*>(shape) : nullptr;
        if (!plot || !plot->InSystem() || !plot->UsesVariables())
            continue;
        Node function(plot->CopyFunction());
        Node used(link->GetPlotVars(function.get(), &x, &y));
        if (AsList(used.get()))
            m_variables.FixNamed(*used);
    }
}

void DiagramComp::ResolveDeficits()
{
    KernelLink* link = ReadyLink();
    if (!link)
        return;
    Node system(BuildEquationSystem(false));
    Node rules(m_variables.ToRuleList());
    Node answer(link->CheckDeficit(system.get(), rules.get()));
    const CompositeNode* list = AsList(answer.get());
    // {names, {variables}}: anything shorter or of another form asks nothing.
    if (!list || list->Count() < 2)
        return;
    ExprNode* names = list->ChildAt(1);
    const CompositeNode* variables = AsList(list->ChildAt(2));
    if (!names || names->GetChildCount() == 0 || !variables)
        return;
    Node values(new ListNode);
    for (const ExprNode* node = variables->First(); node; node = node->next) {
        const auto* variable = node->GetTag() == TypeTag("dVrN") ? static_cast<const DrawVarNode*>(node) : nullptr;
        if (variable && variable->GetVariable())
            values->AppendChild(new RuleNode(variable->Clone(), new RealNode(variable->GetRealValue())));
    }
    Node resolved(link->ResolveDeficits(rules.get(), names, values.get()));
    if (AsList(resolved.get()))
        ApplyRules(resolved.release());
}

void DiagramComp::ApplyRules(ExprNode* answer)
{
    Node owned(answer);
    const CompositeNode* list = AsList(answer);
    for (const ExprNode* node = list ? list->First() : nullptr; node; node = node->next) {
        const auto* rule = node->GetTag() == kRule ? dynamic_cast<const RuleNode*>(node) : nullptr;
        if (!rule || !rule->Left() || !rule->Right() || !rule->Right()->IsNumericFactor())
            continue;
        const double value = rule->Right()->GetRealValue();
        const std::string name = TextOf(*rule->Left());
        if (name.empty() || !std::isfinite(value))
            continue;
        m_variables.SetNamed(Str255(name.c_str()), value);
    }
}

// ---- plots ----

bool DiagramComp::AskPlotValues(const ExprNode& function, bool& usesVariables)
{
    usesVariables = false;
    KernelLink* link = ReadyLink();
    if (!link)
        return true;
    SymbolNode x(std::string(m_xName.GetText()));
    SymbolNode y(std::string(m_yName.GetText()));
    Node used(link->GetPlotVars(&function, &x, &y));
    if (!AsList(used.get()) || used->GetChildCount() == 0)
        return true;
    usesVariables = true;
    Node rules(m_variables.ToRuleList());
    Node missing(link->PlotDeficit(&function, rules.get(), &x, &y));
    std::vector<std::pair<std::string, double>> values;
    const CompositeNode* names = AsList(missing.get());
    for (ExprNode* name = names ? names->First() : nullptr; name; name = name->next) {
        double value = 1.0;
        const std::string text = TextOf(*name);
        if (!AskVariableValue(text, value))
            return false;
        values.emplace_back(text, value);
    }
    // Nothing is stored before every value has been given.
    for (const auto& [name, value] : values)
        m_variables.SetNamed(Str255(name.c_str()), value);
    return true;
}

PlotShape* DiagramComp::NewComputedPlot(CompList* function, bool usesVariables)
{
    auto* plot = new PlotShape(function, usesVariables);
    DPoint topLeft;
    DPoint bottomRight;
    GetVisibleWorld(topLeft, bottomRight);
    plot->Compute(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y, m_variables.ToRuleList(),
                  Symbol(m_xName), Symbol(m_yName));
    return plot;
}

namespace {

// Adding a plot shows the axes it is drawn against; undo puts the drawing's
// own setting back.
class TAddPlotAction : public TAddShapeAction {
public:
    TAddPlotAction(DiagramComp* diagram, Builder build) : TAddShapeAction(diagram, std::move(build)), m_diagram(diagram) {}

    void Do() override
    {
        m_axesShown = m_diagram->GetShowAxes();
        m_diagram->SetShowAxes(true);
        TAddShapeAction::Do();
    }
    void Undo() override
    {
        TAddShapeAction::Undo();
        m_diagram->SetShowAxes(m_axesShown);
    }

private:
    DiagramComp* m_diagram;
    bool m_axesShown = false;
};

}  // namespace

TAction* DiagramComp::AddPlot(CompList* function)
{
    auto row = std::make_shared<std::unique_ptr<CompList>>(function);
    UpdateNamedVariables();
    Node expression((*row)->BuildNode());
    bool usesVariables = false;
    if (!expression || !AskPlotValues(*expression, usesVariables))
        return nullptr;
    // The drawing changes only when the action is done: a dropped action
    // leaves it as it was (and frees the function).
    return new TAddPlotAction(this, [this, row, usesVariables]() -> DiagramShape* {
        return NewComputedPlot(row->release(), usesVariables);
    });
}

void DiagramComp::RecomputePlots(bool redraw)
{
    ComputePlots(PlotsDue::Pending);
    m_active = true;
    if (redraw || m_pictureStale)
        InvalidateBox();
}

namespace {

const char* const kPlotsWaitForKernel = "The plots keep their previous curves until the kernel is running.";

std::vector<std::pair<std::string, double>> NamedValues(const DrawVarTable& table)
{
    std::vector<std::pair<std::string, double>> values;
    for (int i = 0; i < table.GetCount(); ++i)
        values.emplace_back(table.GetAt(i).name.GetText(), table.GetAt(i).variable->GetValue());
    return values;
}

// A refused plot is tried again when a view starts editing the drawing or
// its range changes, not at every change.
bool IsDue(const PlotShape& plot, DiagramComp::PlotsDue due, bool valuesChanged)
{
    using Due = DiagramComp::PlotsDue;
    const bool pending = plot.IsPending() && (due != Due::Changed || !plot.WasRefused());
    return due == Due::All || pending || (plot.UsesVariables() && valuesChanged);
}

} // namespace

void DiagramComp::ComputePlots(PlotsDue due)
{
    DPoint topLeft;
    DPoint bottomRight;
    GetVisibleWorld(topLeft, bottomRight);
    // A box not laid out yet shows no range to compute over.
    if (!(topLeft.x < bottomRight.x && bottomRight.y < topLeft.y))
        return;
    std::vector<std::pair<std::string, double>> values = NamedValues(m_variables);
    const bool valuesChanged = values != m_plottedValues;
    m_plottedValues = std::move(values);
    bool waiting = false;
    bool refused = false;
    bool computed = false;
    for (DiagramShape* shape : m_shapes) {
        auto* plot = shape->IsPlot() ? static_cast<PlotShape*>(shape) : nullptr;
        if (!plot || !plot->GetFunction() || !IsDue(*plot, due, valuesChanged))
            continue;
        switch (plot->Recompute(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y, m_variables.ToRuleList(),
                                Symbol(m_xName), Symbol(m_yName))) {
        case PlotShape::Computed::Done: computed = true; break;
        case PlotShape::Computed::Pending: waiting = true; break;
        case PlotShape::Computed::Refused: refused = true; break;
        }
    }
    if (computed)
        m_pictureStale = true;
    if (!waiting && !refused) {
        m_plotNoteShown = m_plotNoteShown && !computed;
        return;
    }
    if (!m_plotNoteShown)
        UserInterface::Current().SetStatusText(waiting ? kPlotsWaitForKernel : PlotShape::kRefusedAnswer);
    m_plotNoteShown = true;
}

// ---- kernel results ----

bool DiagramComp::TakeKernelResult(ExprNode* answer)
{
    ImportKernelResult(answer);
    return true;
}

void DiagramComp::ImportKernelResult(ExprNode* result)
{
    Node owned(result);
    ResolveDeficits();
    const CompositeNode* list = AsList(result);
    if (!list || list->Count() != 3 || list->ChildAt(1)->GetTag() != kInteger) {
        Repaint();
        return;
    }
    const int kind = list->ChildAt(1)->GetIntegerValue();
    const bool withLabels = list->ChildAt(2)->GetIntegerValue() == 1;
    ExprNode* payload = list->ChildAt(3);
    UpdateNamedVariables();
    bool usesVariables = false;
    if (!AskPlotValues(*payload, usesVariables))
        return;

    Imported imported;
    auto vertexAt = [&](const ExprNode* node, const KernelPoint& at) {
        auto* vertex = new VertexShape(at.x, at.y);
        if (withLabels && node) {
            auto* label = new DrawLabel(vertex, this, const_cast<ExprNode*>(node)->ToCompList());
            vertex->SetLabel(label);
            vertex->PlaceLabel(m_dc);
        }
        return vertex;
    };
    auto addVertex = [&](const ExprNode* node) {
        VertexShape* vertex = vertexAt(node, PointOf(node));
        imported.shapes.emplace_back(vertex);
        imported.newVariables.Add(vertex->GetXVar());
        imported.newVariables.Add(vertex->GetYVar());
    };
    switch (kind) {
    case 1:
        addVertex(payload);
        break;
    case 2:
        if (const CompositeNode* points = AsList(payload))
            for (const ExprNode* point = points->First(); point; point = point->next)
                addVertex(point);
        break;
    case 3: {
        KernelPoint tip = PointOf(payload);
        if (!tip.isPoint)
            tip.x = kDefaultVectorLength * m_dc.GetCurrentScale();
        auto* tail = new VertexShape(0.0, 0.0);
        VertexShape* head = vertexAt(payload, tip);
        auto* arrow = new SegmentShape(tail, head);
        ShapeStyle style = arrow->GetStyle();
        style.penStyle |= kEndArrow;
        arrow->SetStyle(style);
        imported.shapes.emplace_back(arrow);
        imported.newVariables.Add(head->GetXVar());
        imported.newVariables.Add(head->GetYVar());
        break;
    }
    case 4:
        imported.shapes.emplace_back(NewComputedPlot(payload->ToCompList(), usesVariables));
        break;
    default:
        break;
    }
    for (auto& shape : imported.shapes)
        AddShape(shape.release());
    if (!imported.newVariables.IsEmpty() && ReadyLink()) {
        KernelSolver solver(*this, imported.newVariables);
        if (solver.Solve())
            ApplyRules(solver.Finalize());
    }
    Repaint();
}
