// A vertex drag re-solve of a chain of rigid segments (equal lengths, fixed
// angles at every joint, the first vertex fixed), by the drawing's numeric
// solver and, as a reference, by libslvs on the same system built from the
// same description. Each iteration moves the last vertex back or forth by a
// hundredth of a segment and solves again, as a mouse move does.
#include "drawing/ConstraintEqn.h"
#include "drawing/DrawVariable.h"
#include "drawing/LocalSolver.h"
#include "drawing/VertexShape.h"

#include <slvs.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double kLength = 1.0;

// The chain: its vertices and, at every joint, the angle between the arms.
struct Chain {
    std::vector<DPoint> points;
    std::vector<double> joints;
};

// A zigzag with as many unknowns (free coordinates) as asked.
Chain Describe(int unknowns)
{
    Chain chain;
    const int vertices = unknowns / 2 + 1;
    DPoint p(0, 0);
    for (int i = 0; i < vertices; ++i) {
        chain.points.push_back(p);
        const double heading = (i % 2 ? -0.3 : 0.3);
        p = p + DPoint(std::cos(heading), std::sin(heading)) * kLength;
    }
    for (int i = 1; i + 1 < vertices; ++i) {
        const DPoint a = chain.points[static_cast<size_t>(i - 1)] - chain.points[static_cast<size_t>(i)];
        const DPoint b = chain.points[static_cast<size_t>(i + 1)] - chain.points[static_cast<size_t>(i)];
        chain.joints.push_back(std::acos(a.Dot(b) / std::sqrt(a.Dot(a) * b.Dot(b))));
    }
    return chain;
}

DPoint DragOffset(int64_t iteration)
{
    const double step = (iteration % 2 ? -0.01 : 0.01) * kLength;
    return {step, step};
}

void LocalSolverDrag(benchmark::State& state)
{
    const Chain chain = Describe(static_cast<int>(state.range(0)));
    std::vector<std::unique_ptr<VertexShape>> vertices;
    for (const DPoint& p : chain.points)
        vertices.push_back(std::make_unique<VertexShape>(p.x, p.y));
    vertices.front()->Fix();
    DrawVariable length(kLength, true);
    std::vector<std::unique_ptr<DrawVariable>> angles;
    std::vector<std::unique_ptr<ConstraintEqn>> equations;
    for (size_t i = 0; i + 1 < vertices.size(); ++i)
        equations.push_back(std::make_unique<DistanceEqn>(vertices[i].get(), vertices[i + 1].get(), &length));
    for (size_t i = 1; i + 1 < vertices.size(); ++i) {
        angles.push_back(std::make_unique<DrawVariable>(chain.joints[i - 1], true));
        equations.push_back(std::make_unique<AngleEqn>(vertices[i - 1].get(), vertices[i].get(),
                                                       vertices[i + 1].get(), angles.back().get()));
    }
    std::vector<ConstraintEqn*> pool;
    for (auto& e : equations)
        pool.push_back(e.get());
    VertexShape* last = vertices.back().get();
    ItemArray<DrawVariable> start;
    start.Add(last->GetXVar());
    start.Add(last->GetYVar());
    LocalSolver solver(pool, start, 1e-6 * kLength);
    ItemArray<VertexShape> dragged;
    dragged.Add(last);
    int64_t iteration = 0, failures = 0, steps = 0;
    for (auto _ : state) {
        failures += solver.SolveDrag(DragOffset(iteration++), dragged, last) ? 0 : 1;
        steps += solver.GetStepCount();
    }
    state.counters["steps"] = static_cast<double>(steps) / static_cast<double>(std::max<int64_t>(iteration, 1));
    state.counters["unknowns"] = static_cast<double>(solver.GetVariables().GetCount());
    state.counters["failures"] = static_cast<double>(failures);
}

void SlvsDrag(benchmark::State& state)
{
    const Chain chain = Describe(static_cast<int>(state.range(0)));
    std::vector<Slvs_Param> params;
    std::vector<Slvs_Entity> entities;
    std::vector<Slvs_Constraint> constraints;
    constexpr Slvs_hGroup kFixed = 1, kSolved = 2;
    constexpr Slvs_hEntity kPlane = 1;
    // The workplane: origin and normal, fixed.
    for (double v : {0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0})
        params.push_back(Slvs_MakeParam(static_cast<Slvs_hParam>(params.size() + 1), kFixed, v));
    entities.push_back(Slvs_MakePoint3d(101, kFixed, 1, 2, 3));
    entities.push_back(Slvs_MakeNormal3d(102, kFixed, 4, 5, 6, 7));
    entities.push_back(Slvs_MakeWorkplane(kPlane, kFixed, 101, 102));
    std::vector<Slvs_hEntity> points;
    for (size_t i = 0; i < chain.points.size(); ++i) {
        const Slvs_hGroup group = i == 0 ? kFixed : kSolved;
        const auto u = static_cast<Slvs_hParam>(params.size() + 1);
        params.push_back(Slvs_MakeParam(u, group, chain.points[i].x));
        params.push_back(Slvs_MakeParam(u + 1, group, chain.points[i].y));
        points.push_back(static_cast<Slvs_hEntity>(1000 + i));
        entities.push_back(Slvs_MakePoint2d(points.back(), group, kPlane, u, u + 1));
    }
    std::vector<Slvs_hEntity> lines;
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        lines.push_back(static_cast<Slvs_hEntity>(100000 + i));
        entities.push_back(Slvs_MakeLineSegment(lines.back(), kSolved, kPlane, points[i], points[i + 1]));
        constraints.push_back(Slvs_MakeConstraint(static_cast<Slvs_hConstraint>(constraints.size() + 1), kSolved,
                                                  SLVS_C_PT_PT_DISTANCE, kPlane, kLength, points[i], points[i + 1], 0,
                                                  0));
    }
    // The angle between consecutive directions is the joint's supplement.
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        constraints.push_back(Slvs_MakeConstraint(static_cast<Slvs_hConstraint>(constraints.size() + 1), kSolved,
                                                  SLVS_C_ANGLE, kPlane, 180.0 - chain.joints[i] * 180.0 / M_PI, 0, 0,
                                                  lines[i], lines[i + 1]));
    std::vector<Slvs_hConstraint> failed(constraints.size());
    Slvs_System sys{};
    sys.param = params.data();
    sys.params = static_cast<int>(params.size());
    sys.entity = entities.data();
    sys.entities = static_cast<int>(entities.size());
    sys.constraint = constraints.data();
    sys.constraints = static_cast<int>(constraints.size());
    sys.failed = failed.data();
    sys.faileds = static_cast<int>(failed.size());
    Slvs_Param& lastX = params[params.size() - 2];
    Slvs_Param& lastY = params[params.size() - 1];
    sys.dragged[0] = lastX.h;
    sys.dragged[1] = lastY.h;
    int64_t iteration = 0, failures = 0;
    for (auto _ : state) {
        const DPoint offset = DragOffset(iteration++);
        lastX.val += offset.x;
        lastY.val += offset.y;
        Slvs_Solve(&sys, kSolved);
        failures += sys.result == SLVS_RESULT_OKAY ? 0 : 1;
    }
    state.counters["unknowns"] = static_cast<double>(2 * (chain.points.size() - 1));
    state.counters["failures"] = static_cast<double>(failures);
}

} // namespace

BENCHMARK(LocalSolverDrag)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);
BENCHMARK(SlvsDrag)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
