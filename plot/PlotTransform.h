#pragma once
// How 2-D plot items drawn inside a drawing find their device points: the
// drawing's world-to-device transform.
#include "foundation/DPoint.h"
#include "foundation/IntPoint.h"

class PlotTransform {
public:
    virtual ~PlotTransform() = default;
    virtual IntPoint WorldToScreen(const DPoint& world) const = 0;
    virtual double PixelsToWorld(double pixels) const = 0;
};
