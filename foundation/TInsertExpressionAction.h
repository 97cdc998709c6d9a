#pragma once
// Insert expression: gives the plot enclosing the selection (a 2-D plot
// first, else a 3-D plot) a new empty function line. Outside a plot, or in
// a plot that holds all the lines it can store (a beep), it does nothing,
// and so does its Undo.
#include "foundation/TSelectionAction.h"

class PlotFunctionLines;

class TInsertExpressionAction : public TSelectionAction {
public:
    explicit TInsertExpressionAction(const DocSelection& selection);

    void Do() override;
    void Undo() override;

private:
    PlotFunctionLines* m_plot = nullptr;
    bool m_added = false;
};
