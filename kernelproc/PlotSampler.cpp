#include "kernelproc/PlotSampler.h"

#include <algorithm>
#include <cmath>

namespace kernelproc {

namespace {

struct Sample {
    double x;
    double y;
    // The interval up to this sample holds a jump: the curve breaks before it.
    bool breakBefore = false;
};

bool finite(double y)
{
    return std::isfinite(y);
}

// A rise over this fraction of the y range makes an interval worth refining,
// and at the finest step one to look at as a possible jump.
constexpr double kJumpFraction = 32;

class Sampler {
public:
    Sampler(const std::function<double(double)>& f, double yLow, double yHigh, int maxDepth)
        : f_(f), span_(yHigh - yLow), maxDepth_(maxDepth)
    {}

    std::vector<Sample> samples;

    void start(double x) { samples.push_back({x, f_(x)}); }

    // Adds the samples after `a` up to and including x1.
    void interval(const Sample a, double x1, int depth)
    {
        const Sample b{x1, f_(x1)};
        refine(a, b, depth);
    }

private:
    void refine(const Sample a, const Sample b, int depth)
    {
        const bool finiteA = finite(a.y), finiteB = finite(b.y);
        const double xm = (a.x + b.x) / 2;
        if (depth < maxDepth_ && xm > a.x && xm < b.x) {
            const double ym = f_(xm);
            const bool domainEdge = finiteA != finiteB || finite(ym) != finiteA;
            const bool bends = finiteA && finiteB && finite(ym) && std::abs(ym - (a.y + b.y) / 2) > span_ / 400;
            const bool steep = finiteA && finiteB && std::abs(b.y - a.y) > span_ / kJumpFraction;
            if (domainEdge || bends || steep) {
                const Sample m{xm, ym};
                refine(a, m, depth + 1);
                refine(Sample{samples.back().x, samples.back().y}, b, depth + 1);
                return;
            }
        }
        Sample added = b;
        added.breakBefore = finiteA && finiteB && std::abs(b.y - a.y) > span_ / kJumpFraction && isJump(a, b);
        samples.push_back(added);
    }

    // A rise that refining no longer shortens is a jump (a pole, a step)
    // when the middle of the step is not between its ends, as on any curve
    // however steep, but near one of them.
    bool isJump(const Sample& a, const Sample& b) const
    {
        const double xm = (a.x + b.x) / 2;
        if (!(xm > a.x && xm < b.x))
            return true;
        const double ym = f_(xm);
        return !finite(ym) || std::abs(ym - (a.y + b.y) / 2) > std::abs(b.y - a.y) / 4;
    }

    const std::function<double(double)>& f_;
    double span_;
    int maxDepth_;
};

// Where the segment from a to b crosses the level y.
PlotPoint crossing(const PlotPoint& a, const PlotPoint& b, double y)
{
    const double t = (y - a.y) / (b.y - a.y);
    return {a.x + t * (b.x - a.x), y};
}

// Clips runs of finite samples to [low, high]: a piece ends where the curve
// leaves the band and a new one starts where it comes back.
class Clipper {
public:
    Clipper(double low, double high) : low_(low), high_(high) {}

    std::vector<Polyline> pieces;

    void breakHere() { finish(); }

    void add(const PlotPoint& p)
    {
        if (!has_) {
            has_ = true;
            last_ = p;
            if (inside(p))
                current_.push_back(p);
            return;
        }
        const PlotPoint a = last_;
        last_ = p;
        const bool inA = inside(a), inB = inside(p);
        if (inA && inB) {
            current_.push_back(p);
            return;
        }
        if (inA) {
            current_.push_back(crossing(a, p, p.y > high_ ? high_ : low_));
            finish();
            return;
        }
        if (inB) {
            current_.push_back(crossing(a, p, a.y > high_ ? high_ : low_));
            current_.push_back(p);
            return;
        }
        // Both outside: the segment may pass right through the band.
        if ((a.y < low_ && p.y > high_) || (a.y > high_ && p.y < low_)) {
            const double first = a.y < low_ ? low_ : high_;
            const double second = a.y < low_ ? high_ : low_;
            current_.push_back(crossing(a, p, first));
            current_.push_back(crossing(a, p, second));
            finish();
        }
    }

    void finish()
    {
        if (current_.size() >= 2)
            pieces.push_back(std::move(current_));
        current_.clear();
        has_ = false;
    }

private:
    bool inside(const PlotPoint& p) const { return p.y >= low_ && p.y <= high_; }

    double low_, high_;
    Polyline current_;
    PlotPoint last_{};
    bool has_ = false;
};

} // namespace

std::vector<Polyline> samplePlot(const std::function<double(double)>& f, double xFrom, double xTo, double yFrom,
                                 double yTo, const SamplingLimits& limits)
{
    const double xLow = std::min(xFrom, xTo), xHigh = std::max(xFrom, xTo);
    const double yLow = std::min(yFrom, yTo), yHigh = std::max(yFrom, yTo);
    if (!(xHigh > xLow) || !std::isfinite(xHigh - xLow) || !(yHigh > yLow) || !std::isfinite(yHigh - yLow))
        return {};
    const int n = std::max(1, limits.initialIntervals);
    Sampler sampler(f, yLow, yHigh, std::max(0, limits.maxDepth));
    sampler.start(xLow);
    for (int i = 1; i <= n; ++i) {
        if (limits.stopped && limits.stopped())
            break;
        const double x = i == n ? xHigh : xLow + (xHigh - xLow) * i / n;
        sampler.interval(sampler.samples.back(), x, 0);
    }
    Clipper clipper(yLow, yHigh);
    for (const Sample& s : sampler.samples) {
        if (s.breakBefore)
            clipper.breakHere();
        if (finite(s.y))
            clipper.add({s.x, s.y});
        else
            clipper.breakHere();
    }
    clipper.finish();
    return std::move(clipper.pieces);
}

std::pair<double, double> suggestYRange(const std::function<double(double)>& f, double xFrom, double xTo)
{
    constexpr int kSamples = 400;
    std::vector<double> values;
    for (int i = 0; i <= kSamples; ++i) {
        const double y = f(xFrom + (xTo - xFrom) * i / kSamples);
        if (std::isfinite(y))
            values.push_back(y);
    }
    if (values.empty())
        return {-1, 1};
    std::sort(values.begin(), values.end());
    const double low = values[values.size() * 2 / 100];
    const double high =
        values[values.size() * 98 / 100 == values.size() ? values.size() - 1 : values.size() * 98 / 100];
    if (!(high > low))
        return {low - 1, low + 1};
    // Widened a little and rounded out to tenths of the span's power of ten,
    // so that the ends read well in the parameter dialog.
    const double pad = (high - low) * 0.05;
    const double unit = std::pow(10.0, std::floor(std::log10(high - low))) / 10;
    return {std::floor((low - pad) / unit) * unit, std::ceil((high + pad) / unit) * unit};
}

} // namespace kernelproc
