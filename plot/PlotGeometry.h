#pragma once
// Where a 2-D plot's points go in its picture: the plot area is the picture
// less four margins (none below 0, two opposite ones at most half of it);
// the x range runs left to right across it and the y range bottom to top.
// Ranges may be reversed (the picture is mirrored) or empty (every point
// maps to the middle of the area); no range and no picture size divides by
// zero, and points far outside the ranges are held a little beyond the
// picture rather than wrapping round.
#include "foundation/DPoint.h"
#include "foundation/IntPoint.h"
#include "plot/PlotTransform.h"

struct PlotRanges {
    double xMin = -1;
    double xMax = 1;
    double yMin = -1;
    double yMax = 1;
};

struct PlotMargins {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

class PlotGeometry : public PlotTransform {
public:
    PlotGeometry(const PlotRanges& ranges, const PlotMargins& margins, int width, int height);

    IntPoint PlotToDevice(const DPoint& point) const;
    DPoint DeviceToPlot(const IntPoint& device) const;

    IntPoint WorldToScreen(const DPoint& world) const override { return PlotToDevice(world); }
    double PixelsToWorld(double pixels) const override;

    // The plot area's width and height (at least 1).
    int AreaWidth() const { return m_width; }
    int AreaHeight() const { return m_height; }

private:
    PlotRanges m_ranges;
    PlotMargins m_margins;
    int m_width;
    int m_height;
};
