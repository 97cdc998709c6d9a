#pragma once
// What a plot component offers the insert-expression action: appending an
// empty function line and taking the last one away again. Plot components
// derive from it beside TextComp.
#include "foundation/DocPosition.h"

class PlotFunctionLines {
public:
    virtual ~PlotFunctionLines() = default;

    // Appends an empty function line; answers the start of its row, or no
    // position when the plot holds as many lines as it can store.
    virtual DocPosition AddFunction() = 0;
    virtual void RemoveLastFunction() = 0;
};
