#pragma once
// A plot whose function lines hold the given functions, each written in
// full form as the kernel sends it.
#include "foundation/CompList.h"
#include "plot/TwoDPlotComp.h"
#include "support/kernel/NodeWireText.h"

#include <memory>
#include <vector>

// Puts the functions into the plot's lines: the first line, then one new
// line for each further function.
inline void AddFunctionsFromText(PlotComp& plot, const std::vector<const char*>& functions)
{
    bool first = true;
    for (const char* f : functions) {
        std::unique_ptr<ExprNode> node(NodeFrom(f));
        CompList row;
        node->BuildComponents(row, 1);
        if (first)
            plot.GetChild(1)->InsertAllAt(row.DetachAll(), 1);
        else
            plot.AddFunction(row.DetachAll());
        first = false;
    }
}

inline std::unique_ptr<TwoDPlotComp> PlotOfFunctions(const std::vector<const char*>& functions)
{
    auto plot = std::make_unique<TwoDPlotComp>();
    AddFunctionsFromText(*plot, functions);
    return plot;
}
