#pragma once
// The dialogs the Point and Plot drawing makers open: "Create Vertex" for a
// point's coordinates and the expression-input frame for a plot's function.
#include "drawing/MakerDialogs.h"

class AppMakerDialogs : public MakerDialogs {
public:
    std::optional<DPoint> AskVertex(const DPoint& at) override;
    CompList* AskPlotFunction(const std::string& prompt) override;
};
