#pragma once
// The values of a drawing's constraints that a label gives as one of the
// drawing's names (a side labelled b). The kernel reads such a constraint
// with the name in place of the constraint's own value variable; the
// editor's solver holds that variable at the name's value; both leave the
// variable equal to the name, so that the figure, the name and a display of
// either show one value.
#include <string>
#include <vector>

class DiagramComp;
class DrawConstraint;
class DrawVariable;

// The name a constraint's label gives its value as, or "" when the label is
// no single name (an expression of names, a display of its own value, none).
std::string GivenName(const DrawConstraint& constraint);

struct NamedValue {
    // The constraint's own value variable, read by its equations.
    DrawVariable* own;
    // The name's variable in the drawing's table.
    DrawVariable* name;
};

// Each value variable of the drawing's constraints whose label gives a name
// the drawing's table holds.
std::vector<NamedValue> NamedValuesOf(const DiagramComp& diagram);
