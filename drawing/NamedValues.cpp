#include "drawing/NamedValues.h"

#include "drawing/ConstraintEqn.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/ValueConstraint.h"
#include "foundation/CompList.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsPlainName(const std::string& name)
{
    return !name.empty() && std::isalpha(static_cast<unsigned char>(name[0])) &&
        std::all_of(name.begin(), name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

bool ReadsVariable(const DrawConstraint& constraint, const DrawVariable* variable)
{
    for (int i = 0; i < constraint.GetEquationCount(); ++i)
        if (const ConstraintEqn* equation = constraint.GetEquation(i); equation && equation->DependsOn(variable))
            return true;
    return false;
}

} // namespace

std::string GivenName(const DrawConstraint& constraint)
{
    if (!LabelGivesValue(constraint))
        return {};
    Str255 text;
    constraint.GetLabel()->GetText()->GetPlainText(text);
    std::string name(text.GetText());
    return IsPlainName(name) ? name : std::string();
}

std::vector<NamedValue> NamedValuesOf(const DiagramComp& diagram)
{
    std::vector<NamedValue> named;
    if (diagram.GetVariables().GetCount() == 0)
        return named;
    for (const DrawConstraint* constraint : diagram.GetConstraints()) {
        const std::string name = GivenName(*constraint);
        DrawVariable* variable = name.empty() ? nullptr : diagram.GetVariables().Find(Str255(name.c_str()));
        for (int v = 0; variable && v < constraint->GetVariableCount(); ++v)
            if (DrawVariable* own = constraint->GetVariable(v);
                own && own != variable && ReadsVariable(*constraint, own))
                named.push_back({own, variable});
    }
    return named;
}
