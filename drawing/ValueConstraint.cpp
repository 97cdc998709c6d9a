#include "drawing/ValueConstraint.h"

#include "drawing/DiagramComp.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingNodes.h"
#include "drawing/ItemCopyMap.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <memory>

ValueConstraint::~ValueConstraint() { delete m_label; }

bool ValueConstraint::CanShowLabel() const { return !m_label || !m_label->IsShown(); }

DrawLabel* ValueConstraint::MakeLabel(DiagramComp* diagram)
{
    auto* row = new CompList;
    if (DrawVariable* variable = LabelledVariable())
        row->Append(new DrawValueComp(variable));
    delete m_label;
    m_label = new DrawLabel(this, diagram, row);
    if (diagram)
        PlaceLabel(diagram->GetDC());
    return m_label;
}

void ValueConstraint::SetLabel(DrawLabel* label)
{
    m_label = label;
    if (label)
        label->SetOwner(this);
}

void ValueConstraint::PlaceLabel(const DiagramDC& dc)
{
    if (m_label)
        m_label->SetAnchor(LabelPlace(dc));
}

void ValueConstraint::WriteLabel(DocWriter& writer) const
{
    writer.WriteByte(m_label ? 1 : 0);
    if (m_label)
        m_label->Write(writer);
}

void ValueConstraint::ReadLabel(DocReader& reader, void* context)
{
    if (reader.ReadBool())
        SetLabel(DrawLabel::ReadFor(this, reader, context));
}

DrawLabel* ValueConstraint::CopyLabel(ItemCopyMap& map) const { return m_label ? m_label->Clone(map) : nullptr; }

void ValueConstraint::SetOwnedVariableTag(DrawVariable* variable, DiagramComp* diagram)
{
    if (variable)
        variable->SetOwner(diagram);
}

DrawVariable* ReadHeldVariable(DocReader& reader, std::unique_ptr<DrawVariable>& owned)
{
    DrawVariable* variable = DrawVariable::ReadShared(reader);
    if (!variable)
        throw CFormatException("A constraint names no variable");
    if (variable->Claim())
        owned.reset(variable);
    return variable;
}

bool HeldVariableCopied(const ItemCopyMap& map, DrawVariable* variable, bool owned)
{
    return owned || map.LookupVariable(variable);
}

DrawVariable* CopyHeldVariable(ItemCopyMap& map, DrawVariable* variable, bool owned,
                               std::unique_ptr<DrawVariable>& copyOwned)
{
    DrawVariable* copy = map.FindOrCloneVariable(variable);
    if (owned)
        copyOwned.reset(copy);
    return copy;
}

VertexShape* ReadBoundVertex(DocReader& reader)
{
    auto* vertex = dynamic_cast<VertexShape*>(reader.ReadVertexRef());
    if (!vertex)
        throw CFormatException("A constraint names an item that is not a vertex");
    return vertex;
}

double AngleAt(const DPoint& first, const DPoint& apex, const DPoint& second)
{
    const double a = first.Distance(apex);
    const double c = second.Distance(apex);
    if (!(a > 0.0) || !(c > 0.0))
        return 0.0;
    const double cosine = (a * a + c * c - first.SquaredDistance(second)) / (2.0 * a * c);
    if (!std::isfinite(cosine))
        return 0.0;
    return std::acos(std::clamp(cosine, -1.0, 1.0));
}

std::vector<const DrawVariable*> DrawConstraint::GetUsedVariables() const
{
    std::vector<const DrawVariable*> used;
    for (int i = 0; i < GetEquationCount(); ++i)
        if (const ConstraintEqn* equation = GetEquation(i))
            for (DrawVariable* variable : equation->Variables())
                used.push_back(variable);
    return used;
}

ExprNode* DrawConstraint::BuildEquationExpr(int i, DiagramComp* context) const
{
    ConstraintEqn* eqn = i == 0 ? m_equation.get() : nullptr;
    return eqn ? eqn->BuildExpr(GetLabel(), context) : nullptr;
}

bool LabelGivesValue(const DrawConstraint& constraint)
{
    DrawLabel* label = constraint.GetLabel();
    CompList* text = label ? label->GetText() : nullptr;
    const std::unique_ptr<ExprNode> given(text ? text->BuildNode() : nullptr);
    if (!given)
        return false;
    const auto* shown = given->GetTag() == TypeTag("dVrN") ? static_cast<const DrawVarNode*>(given.get()) : nullptr;
    for (int i = 0; shown && i < constraint.GetVariableCount(); ++i)
        if (constraint.GetVariable(i) == shown->GetVariable())
            return false;
    return true;
}
