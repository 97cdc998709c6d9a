#include "kernelproc/PlotRequests.h"

#include "kernelproc/PlotFunction.h"
#include "kernelproc/PlotSampler.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace kernelproc {

using wire::Expr;

namespace {

using Function = std::function<double(double)>;
using Values = std::map<std::string, double>;

// Coordinates travel with eight significant digits: finer than any screen.
constexpr int kCoordinateDigits = 8;
constexpr double kDefaultXFrom = -10;
constexpr double kDefaultXTo = 10;
// A surface is sampled on this many points along each of x and y.
constexpr int kSurfaceGrid = 25;

struct Axis {
    std::string name;
    double from = -1;
    double to = 1;
};

Expr list(std::vector<Expr> items)
{
    return Expr::function("List", std::move(items));
}

Expr coordinate(double v)
{
    return Expr::realText(wire::formatReal(v, kCoordinateDigits));
}

std::optional<Axis> axisOf(const Expr& range)
{
    if (!range.hasHead("List", 3) || !range.arg(0).isSymbol())
        return std::nullopt;
    std::optional<double> from = numericValue(range.arg(1));
    std::optional<double> to = numericValue(range.arg(2));
    if (!from || !to)
        return std::nullopt;
    return Axis{range.arg(0).text, *from, *to};
}

Expr substituted(const Expr& e, const std::string& x, double value, const Values& values)
{
    if (e.isSymbol()) {
        if (e.text == x)
            return Expr::real(value);
        if (auto found = values.find(e.text); found != values.end())
            return Expr::real(found->second);
        return e;
    }
    Expr copy = e;
    for (std::size_t i = 1; i < copy.parts.size(); ++i)
        copy.parts[i] = substituted(copy.parts[i], x, value, values);
    return copy;
}

// The function compiled for sampling; a function with a head the sampler
// does not know is evaluated point by point by the kernel instead. Nothing
// when f has symbols without values.
std::optional<Function> functionOf(const Expr& f, const std::string& x, const Values& values,
                                   const PlotRequests::Evaluate& evaluate)
{
    std::vector<std::string> unknowns;
    if (std::optional<PlotFunction> compiled = PlotFunction::compile(f, x, values, unknowns))
        return Function(*compiled);
    if (!unknowns.empty())
        return std::nullopt;
    return Function([f, x, values, evaluate](double v) {
        std::optional<double> y = numericValue(evaluate(Expr::function("N", {substituted(f, x, v, values)})));
        return y ? *y : std::nan("");
    });
}

// One function's curve: a list of Line pieces (empty when nothing shows).
Expr curveOf(const std::optional<Function>& f, const Axis& x, const Axis& y)
{
    Expr curve = list({});
    if (!f)
        return curve;
    SamplingLimits limits;
    limits.stopped = [] { return GiacEvaluator::interrupted(); };
    for (const Polyline& piece : samplePlot(*f, x.from, x.to, y.from, y.to, limits)) {
        Expr points = list({});
        for (const PlotPoint& p : piece)
            points.parts.push_back(list({coordinate(p.x), coordinate(p.y)}));
        curve.parts.push_back(Expr::function("Line", {std::move(points)}));
    }
    return curve;
}

// The value the user gives a parameter; nothing when the question is
// cancelled or the answer is no number.
std::optional<double> askValue(const std::string& name, const PlotRequests::Ask& ask)
{
    if (!ask)
        return std::nullopt;
    std::optional<Expr> reply = ask(1, list({Expr::string("Value of " + name + " for the plot:"), Expr::integer(1)}));
    if (!reply || reply->isSymbol("$Canceled"))
        return std::nullopt;
    return numericValue(*reply);
}

// Rules {name -> value, ...} as values; rules that are not numeric are left out.
Values valuesOf(const Expr& rules)
{
    Values values;
    if (!rules.hasHead("List"))
        return values;
    for (std::size_t i = 0; i < rules.argCount(); ++i) {
        const Expr& rule = rules.arg(i);
        if (!rule.hasHead("Rule", 2) || !rule.arg(0).isSymbol())
            continue;
        if (std::optional<double> v = numericValue(rule.arg(1)))
            values[rule.arg(0).text] = *v;
    }
    return values;
}

// The parameters of the functions that have no value yet, asked of the
// user; false when one stays without a value. The axis names are no
// parameters.
bool askParameters(const Expr& functions, const std::vector<std::string>& axes, Values& values,
                   const PlotRequests::Ask& ask)
{
    for (std::size_t i = 0; i < functions.argCount(); ++i)
        for (const std::string& name : plotParameters(functions.arg(i), axes.front())) {
            if (values.count(name) || std::find(axes.begin(), axes.end(), name) != axes.end())
                continue;
            std::optional<double> v = askValue(name, ask);
            if (!v)
                return false;
            values[name] = *v;
        }
    return true;
}

// True when a function has a parameter without a value.
bool lacksValues(const Expr& functions, const std::vector<std::string>& axes, const Values& values)
{
    for (std::size_t i = 0; i < functions.argCount(); ++i)
        for (const std::string& name : plotParameters(functions.arg(i), axes.front()))
            if (!values.count(name) && std::find(axes.begin(), axes.end(), name) == axes.end())
                return true;
    return false;
}

// The value a point of a surface is drawn at: inside the z range, whose
// bottom also stands for a point outside the function's domain.
double surfaceHeight(double z, const Axis& zAxis)
{
    const double low = std::min(zAxis.from, zAxis.to);
    const double high = std::max(zAxis.from, zAxis.to);
    if (std::isnan(z))
        return low;
    return std::clamp(z, low, high);
}

// f's heights on the surface grid: one row for each y step, from y's
// minimum, each a height for each x step. Nothing when f has symbols
// without values.
std::optional<std::vector<std::vector<double>>> heightsOf(const Expr& f, const Axis& x, const Axis& y, const Axis& z,
                                                          Values values, const PlotRequests::Evaluate& evaluate)
{
    std::vector<std::vector<double>> rows;
    for (int r = 0; r < kSurfaceGrid; ++r) {
        values[y.name] = y.from + r * (y.to - y.from) / (kSurfaceGrid - 1);
        std::optional<Function> row = functionOf(f, x.name, values, evaluate);
        if (!row)
            return std::nullopt;
        std::vector<double> heights;
        for (int c = 0; c < kSurfaceGrid; ++c) {
            if (GiacEvaluator::interrupted())
                return std::nullopt;
            heights.push_back(surfaceHeight((*row)(x.from + c * (x.to - x.from) / (kSurfaceGrid - 1)), z));
        }
        rows.push_back(std::move(heights));
    }
    return rows;
}

Expr point3d(double x, double y, double z)
{
    return list({coordinate(x), coordinate(y), coordinate(z)});
}

// The heights as SurfaceGraphics[{{z...}...}, {}].
Expr surfaceOf(const std::vector<std::vector<double>>& rows)
{
    Expr heights = list({});
    for (const std::vector<double>& row : rows) {
        Expr values = list({});
        for (double z : row)
            values.parts.push_back(coordinate(z));
        heights.parts.push_back(std::move(values));
    }
    return Expr::function("SurfaceGraphics", {std::move(heights), list({})});
}

// The heights as a mesh of four-sided polygons, one for each grid cell.
Expr meshOf(const std::vector<std::vector<double>>& rows, const Axis& x, const Axis& y)
{
    const auto xAt = [&](std::size_t c) { return x.from + double(c) * (x.to - x.from) / (kSurfaceGrid - 1); };
    const auto yAt = [&](std::size_t r) { return y.from + double(r) * (y.to - y.from) / (kSurfaceGrid - 1); };
    Expr mesh = list({});
    for (std::size_t r = 0; r + 1 < rows.size(); ++r)
        for (std::size_t c = 0; c + 1 < rows[r].size(); ++c) {
            Expr corners = list({point3d(xAt(c), yAt(r), rows[r][c]), point3d(xAt(c + 1), yAt(r), rows[r][c + 1]),
                                 point3d(xAt(c + 1), yAt(r + 1), rows[r + 1][c + 1]),
                                 point3d(xAt(c), yAt(r + 1), rows[r + 1][c])});
            mesh.parts.push_back(Expr::function("Polygon", {std::move(corners)}));
        }
    return mesh;
}

// The graphics of a 3-D command: SurfaceGraphics of heights on the grid for
// one function, Graphics3D with one polygon mesh for each of several.
Expr computeSurface(const Expr& command, Values values, const PlotRequests::Evaluate& evaluate,
                    const PlotRequests::Ask* ask)
{
    if (command.argCount() < 4 || !command.arg(0).hasHead("List"))
        return Expr::symbol("$Failed");
    std::optional<Axis> x = axisOf(command.arg(1));
    std::optional<Axis> y = axisOf(command.arg(2));
    std::optional<Axis> z = axisOf(command.arg(3));
    if (!x || !y || !z)
        return Expr::symbol("$Failed");
    const Expr& functions = command.arg(0);
    if (ask && !askParameters(functions, {x->name, y->name, z->name}, values, *ask))
        return Expr::symbol("$Canceled");
    std::vector<std::vector<std::vector<double>>> surfaces;
    for (std::size_t i = 0; i < functions.argCount(); ++i) {
        auto heights = heightsOf(functions.arg(i), *x, *y, *z, values, evaluate);
        if (GiacEvaluator::interrupted())
            return Expr::symbol("$Aborted");
        surfaces.push_back(heights ? std::move(*heights) : std::vector<std::vector<double>>{});
    }
    if (surfaces.size() == 1 && !surfaces.front().empty())
        return surfaceOf(surfaces.front());
    Expr meshes = list({});
    for (const auto& heights : surfaces)
        meshes.parts.push_back(meshOf(heights, *x, *y));
    return Expr::function("Graphics3D", {std::move(meshes), list({})});
}

// The Graphics of a 2-D command; $Canceled when a parameter stays without a
// value and `ask` may ask for it, $Failed for a command of another shape.
Expr compute(const Expr& command, Values values, const PlotRequests::Evaluate& evaluate, const PlotRequests::Ask* ask)
{
    if (command.hasHead("VXThreeDPlot"))
        return computeSurface(command, std::move(values), evaluate, ask);
    if (!command.hasHead("VXTwoDPlot") || command.argCount() < 3 || !command.arg(0).hasHead("List"))
        return Expr::symbol("$Failed");
    std::optional<Axis> x = axisOf(command.arg(1));
    std::optional<Axis> y = axisOf(command.arg(2));
    if (!x || !y)
        return Expr::symbol("$Failed");
    const Expr& functions = command.arg(0);
    if (ask && !askParameters(functions, {x->name, y->name}, values, *ask))
        return Expr::symbol("$Canceled");
    // Named values are given, not asked for: a function with a name that has
    // none is refused, so that the drawing keeps the curve it shows.
    if (!ask && lacksValues(functions, {x->name, y->name}, values))
        return Expr::symbol("$Failed");
    Expr curves = list({});
    for (std::size_t i = 0; i < functions.argCount(); ++i)
        curves.parts.push_back(curveOf(functionOf(functions.arg(i), x->name, values, evaluate), *x, *y));
    return Expr::function("Graphics", {std::move(curves), list({})});
}

} // namespace

std::optional<Expr> PlotRequests::answer(const Expr& expr, const Evaluate& evaluate, const Ask& ask)
{
    if (expr.hasHead("VXComputePlot", 1))
        return compute(expr.arg(0), {}, evaluate, &ask);
    if (expr.hasHead("VXResolvePlot", 2))
        return compute(expr.arg(0), valuesOf(expr.arg(1)), evaluate, nullptr);
    return std::nullopt;
}

Expr PlotRequests::plotOf(const Expr& f, const std::string& x, const Evaluate& evaluate)
{
    std::optional<Function> function = functionOf(f, x, {}, evaluate);
    if (!function)
        return Expr::symbol("$Failed");
    const auto [yFrom, yTo] = suggestYRange(*function, kDefaultXFrom, kDefaultXTo);
    const Axis xAxis{x, kDefaultXFrom, kDefaultXTo};
    const Axis yAxis{"y", yFrom, yTo};
    Expr graphics = Expr::function("Graphics", {list({curveOf(function, xAxis, yAxis)}), list({})});
    return Expr::function("VXTwoDPlot",
                          {list({f}), list({Expr::symbol(x), Expr::real(kDefaultXFrom), Expr::real(kDefaultXTo)}),
                           list({Expr::symbol("y"), coordinate(yFrom), coordinate(yTo)}), std::move(graphics)});
}

} // namespace kernelproc
