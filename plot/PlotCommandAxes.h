#pragma once
// The axes of the plot commands: a variable's name as the kernel's symbol,
// and an axis read back from a command the kernel answered.
#include "plot/PlotComp.h"

class ExprNode;

namespace plot {
// A variable's name as a kernel symbol: a name the kernel knows by its entry.
ExprNode* NameNode(const std::string& name);
// The axis {name, min, max} of a command, each part only when present; the
// default name and -1..1 otherwise.
PlotAxisParameters AxisOf(const ExprNode* range, const char* defaultName);
} // namespace plot
