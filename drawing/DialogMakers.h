#pragma once
// The makers that ask the user first: a point at entered coordinates, and
// a plot of a typed function (only while the kernel is active, which
// computes its curve).
#include "drawing/DrawingMaker.h"

class PointMaker : public DrawingMaker {
public:
    // Any selection: the point does not build on it.
    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    // Null when the dialog is cancelled.
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
};

class PlotMaker : public DrawingMaker {
public:
    static constexpr const char* kPrompt = "Enter an expression to plot:";

    bool CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const override;
    // The new plot waits for its curve (it is pending) until the kernel
    // computes it. Null when the dialog is cancelled.
    TAction* Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                  const DPoint& at) const override;
    std::string GetErrorMessage() const override;
};
