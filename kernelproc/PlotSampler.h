#pragma once
// Samples a function of one variable over a range for a 2-D plot: a regular
// grid refined where the curve bends, jumps or leaves its domain; the curve
// is broken at values that are not finite and at jumps (a pole, a step),
// and clipped to the plot's y range, so that each piece is a polyline that
// stays inside the plot.
#include <functional>
#include <vector>

namespace kernelproc {

struct PlotPoint {
    double x;
    double y;
};

using Polyline = std::vector<PlotPoint>;

struct SamplingLimits {
    int initialIntervals = 200;
    int maxDepth = 6;
    // Stops sampling early (an abort); checked between intervals.
    std::function<bool()> stopped;
};

// The pieces of f over [xFrom, xTo] inside [yFrom, yTo] (either range may
// be given in reverse order). An empty or non-finite range gives none.
std::vector<Polyline> samplePlot(const std::function<double(double)>& f, double xFrom, double xTo, double yFrom,
                                 double yTo, const SamplingLimits& limits = {});

// A y range showing most of f's values over [xFrom, xTo]: the values between
// the 2nd and the 98th percentile with a margin; -1..1 when f has none.
std::pair<double, double> suggestYRange(const std::function<double(double)>& f, double xFrom, double xTo);

} // namespace kernelproc
