// A vertex drag of a chain of rigid segments (equal lengths, and distances
// across every two segments, the first vertex fixed) solved by the kernel:
// each iteration moves the last vertex by a hundredth of a segment and asks
// QVConstrainedMin for the new drawing, as a mouse move does. Measured through
// the link (the round trip the editor waits for), in this process without
// the link, and by the drawing's numeric solver on the same chain.
#include "BenchKernel.h"
#include "drawing/ConstraintEqn.h"
#include "drawing/DrawVariable.h"
#include "drawing/LocalSolver.h"
#include "drawing/VertexShape.h"
#include "kernelproc/DrawModel.h"
#include "mathlink/Expr.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

using wire::Expr;

constexpr double kLength = 1.0;

struct Point {
    double x = 0;
    double y = 0;
};

// A zigzag with as many unknowns (free coordinates) as asked.
std::vector<Point> Zigzag(int unknowns)
{
    std::vector<Point> points;
    Point p;
    for (int i = 0; i <= unknowns / 2; ++i) {
        points.push_back(p);
        const double heading = i % 2 ? -0.3 : 0.3;
        p = {p.x + std::cos(heading) * kLength, p.y + std::sin(heading) * kLength};
    }
    return points;
}

double Distance(Point a, Point b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

double DragStep(int64_t iteration)
{
    return (iteration % 2 ? -0.01 : 0.01) * kLength;
}

// The kernel's chain: vertex i is (VXDrawVar[2i + 1], VXDrawVar[2i + 2]); the first is fixed.
struct KernelChain {
    std::vector<Point> points;
    Expr system = Expr::function("List", {});

    Expr Coordinate(std::size_t vertex, int axis) const
    {
        if (vertex == 0)
            return Expr::function("VXDrawValue", {Expr::real(axis == 0 ? points[0].x : points[0].y)});
        return Expr::function("VXDrawVar", {Expr::integer(static_cast<long long>(2 * vertex) + 1 + axis)});
    }

    void Join(std::size_t a, std::size_t b, double length)
    {
        auto square = [&](int axis) {
            Expr difference = Expr::function(
                "Plus", {Coordinate(a, axis), Expr::function("Times", {Expr::integer(-1), Coordinate(b, axis)})});
            return Expr::function("Power", {difference, Expr::integer(2)});
        };
        system.parts.push_back(
            Expr::function("Equal", {Expr::function("Plus", {square(0), square(1)}), Expr::real(length * length)}));
    }

    explicit KernelChain(int unknowns) : points(Zigzag(unknowns))
    {
        for (std::size_t i = 0; i + 1 < points.size(); ++i)
            Join(i, i + 1, kLength);
        for (std::size_t i = 0; i + 2 < points.size(); ++i)
            Join(i, i + 2, Distance(points[i], points[i + 2]));
    }

    Expr Rules() const
    {
        Expr rules = Expr::function("List", {});
        for (std::size_t i = 1; i < points.size(); ++i)
            for (int axis = 0; axis < 2; ++axis)
                rules.parts.push_back(
                    Expr::function("Rule", {Coordinate(i, axis), Expr::real(axis == 0 ? points[i].x : points[i].y)}));
        return rules;
    }

    Expr LastVertex() const
    {
        return Expr::function("List", {Coordinate(points.size() - 1, 0), Coordinate(points.size() - 1, 1)});
    }

    Expr Target() const
    {
        const Point& p = points.back();
        return Expr::function("List",
                              {Expr::function("Rule", {Coordinate(points.size() - 1, 0), Expr::real(p.x)}),
                               Expr::function("Rule", {Coordinate(points.size() - 1, 1), Expr::real(p.y)})});
    }

    // Takes a solve answer's values; false for no solution.
    bool Take(const Expr& answer)
    {
        if (!answer.hasHead("List", 2) || answer.arg(0) != Expr::integer(1))
            return false;
        for (std::size_t i = 0; i < answer.arg(1).argCount(); ++i) {
            const Expr& rule = answer.arg(1).arg(i);
            const long long id = std::stoll(rule.arg(0).arg(0).text);
            Point& p = points[static_cast<std::size_t>((id - 1) / 2)];
            ((id - 1) % 2 ? p.y : p.x) = std::stod(rule.arg(1).text);
        }
        return true;
    }

    // One drag step: the request QVConstrainedMin[before, moved, target].
    Expr DragRequest(int64_t iteration)
    {
        Expr before = Rules();
        points.back().x += DragStep(iteration);
        points.back().y += DragStep(iteration);
        return Expr::function("QVConstrainedMin", {std::move(before), Rules(), Target()});
    }
};

void KernelDragThroughLink(benchmark::State& state)
{
    BenchKernel& kernel = BenchKernel::instance();
    KernelChain chain(static_cast<int>(state.range(0)));
    const Expr built = kernel.roundTrip(Expr::function("QVBuildModelFromVars", {chain.system, chain.LastVertex()}));
    int64_t iteration = 0, failures = 0;
    for (auto _ : state)
        failures += chain.Take(kernel.roundTrip(chain.DragRequest(iteration++))) ? 0 : 1;
    state.counters["unknowns"] = static_cast<double>(built.argCount());
    state.counters["failures"] = static_cast<double>(failures);
}

void KernelDragInProcess(benchmark::State& state)
{
    KernelChain chain(static_cast<int>(state.range(0)));
    kernelproc::DrawModel model;
    model.buildFromVariables(chain.system, chain.LastVertex(), {});
    int64_t iteration = 0, failures = 0;
    for (auto _ : state) {
        const Expr request = chain.DragRequest(iteration++);
        failures += chain.Take(model.constrainedMin(request.arg(0), request.arg(1), request.arg(2))) ? 0 : 1;
    }
    state.counters["unknowns"] = static_cast<double>(model.unknownCount());
    state.counters["failures"] = static_cast<double>(failures);
}

// The drawing's numeric solver on the same chain and the same drag.
void NumericSolverDrag(benchmark::State& state)
{
    const std::vector<Point> points = Zigzag(static_cast<int>(state.range(0)));
    std::vector<std::unique_ptr<VertexShape>> vertices;
    std::vector<std::unique_ptr<DrawVariable>> lengths;
    std::vector<std::unique_ptr<ConstraintEqn>> equations;
    for (const Point& p : points)
        vertices.push_back(std::make_unique<VertexShape>(p.x, p.y));
    vertices.front()->Fix();
    auto join = [&](std::size_t a, std::size_t b, double length) {
        lengths.push_back(std::make_unique<DrawVariable>(length, true));
        equations.push_back(std::make_unique<DistanceEqn>(vertices[a].get(), vertices[b].get(), lengths.back().get()));
    };
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        join(i, i + 1, kLength);
    for (std::size_t i = 0; i + 2 < points.size(); ++i)
        join(i, i + 2, Distance(points[i], points[i + 2]));
    std::vector<ConstraintEqn*> pool;
    for (auto& e : equations)
        pool.push_back(e.get());
    VertexShape* last = vertices.back().get();
    ItemArray<DrawVariable> start;
    start.Add(last->GetXVar());
    start.Add(last->GetYVar());
    ItemArray<VertexShape> dragged;
    dragged.Add(last);
    LocalSolver solver(pool, start, 1e-6 * kLength);
    int64_t iteration = 0, failures = 0;
    for (auto _ : state) {
        const double step = DragStep(iteration++);
        failures += solver.SolveDrag(DPoint(step, step), dragged, last) ? 0 : 1;
    }
    state.counters["unknowns"] = static_cast<double>(solver.GetVariables().GetCount());
    state.counters["failures"] = static_cast<double>(failures);
}

} // namespace

BENCHMARK(KernelDragThroughLink)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(KernelDragInProcess)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(NumericSolverDrag)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
