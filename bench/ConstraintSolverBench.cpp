// A vertex drag re-solve of a chain of rigid segments (equal lengths and
// either fixed angles at every joint or distances across every two
// segments), by the drawing's numeric solver (with its cluster kept or
// gathered again for every move) and, as a reference, by libslvs on the
// same system built from the same description. Each iteration moves the
// last vertex back or forth by a hundredth of a segment and solves again, as
// a mouse move does.
//
// With the first vertex fixed the chain can only turn about it, so the
// pointer's diagonal moves leave the circle the last vertex is held to: the
// pointer cannot be reached, and the vertex gives way along the radius.
// With the first vertex free ("Reachable") the whole chain follows the
// pointer. The counter off_pointer is the mean distance, in segments, from
// the dragged vertex to where the move put the pointer.
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

// How the chain is held rigid: by a length and a fixed angle at every
// joint, or by the distances between points i and i+1 and between i and
// i+2 alone (triangles), which keeps the reference solver off its costly
// angle constraint.
enum class Rigid { Angles, Distances };

// The drawing solver's equations over the chain's vertices.
struct LocalSystem {
    std::vector<std::unique_ptr<VertexShape>> vertices;
    std::vector<std::unique_ptr<DrawVariable>> values;
    std::vector<std::unique_ptr<ConstraintEqn>> equations;
    std::vector<ConstraintEqn*> pool;

    DrawVariable* Value(double value)
    {
        values.push_back(std::make_unique<DrawVariable>(value, true));
        return values.back().get();
    }
};

// Whether the first vertex is fixed (the pointer out of reach) or free.
enum class Reach { Beyond, Pointer };

void BuildLocal(const Chain& chain, Rigid rigid, Reach reach, LocalSystem& system)
{
    for (const DPoint& p : chain.points)
        system.vertices.push_back(std::make_unique<VertexShape>(p.x, p.y));
    if (reach == Reach::Beyond)
        system.vertices.front()->Fix();
    auto& v = system.vertices;
    DrawVariable* length = system.Value(kLength);
    for (size_t i = 0; i + 1 < v.size(); ++i)
        system.equations.push_back(std::make_unique<DistanceEqn>(v[i].get(), v[i + 1].get(), length));
    for (size_t i = 1; i + 1 < v.size(); ++i) {
        if (rigid == Rigid::Angles) {
            system.equations.push_back(std::make_unique<AngleEqn>(v[i - 1].get(), v[i].get(), v[i + 1].get(),
                                                                  system.Value(chain.joints[i - 1])));
        } else {
            const double span = chain.points[i - 1].Distance(chain.points[i + 1]);
            system.equations.push_back(
                std::make_unique<DistanceEqn>(v[i - 1].get(), v[i + 1].get(), system.Value(span)));
        }
    }
    for (auto& e : system.equations)
        system.pool.push_back(e.get());
}

// Each iteration drags the last vertex; with rebuild the cluster is gathered
// again for every move, as the reference builds its whole system every call.
void LocalDrag(benchmark::State& state, Rigid rigid, bool rebuild, Reach reach = Reach::Beyond)
{
    const Chain chain = Describe(static_cast<int>(state.range(0)));
    LocalSystem system;
    BuildLocal(chain, rigid, reach, system);
    VertexShape* last = system.vertices.back().get();
    ItemArray<DrawVariable> start;
    start.Add(last->GetXVar());
    start.Add(last->GetYVar());
    ItemArray<VertexShape> dragged;
    dragged.Add(last);
    auto solver = std::make_unique<LocalSolver>(system.pool, start, 1e-6 * kLength);
    int64_t iteration = 0, failures = 0, steps = 0;
    double off = 0.0;
    for (auto _ : state) {
        if (rebuild)
            solver = std::make_unique<LocalSolver>(system.pool, start, 1e-6 * kLength);
        const DPoint offset = DragOffset(iteration++);
        const DPoint pointer = last->GetPoint() + offset;
        failures += solver->SolveDrag(offset, dragged, last) ? 0 : 1;
        steps += solver->GetStepCount();
        off += last->GetPoint().Distance(pointer);
    }
    const auto moves = static_cast<double>(std::max<int64_t>(iteration, 1));
    state.counters["steps"] = static_cast<double>(steps) / moves;
    state.counters["off_pointer"] = off / moves / kLength;
    state.counters["unknowns"] = static_cast<double>(solver->GetVariables().GetCount());
    state.counters["failures"] = static_cast<double>(failures);
}

void SlvsChainDrag(benchmark::State& state, Rigid rigid, Reach reach = Reach::Beyond)
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
        const Slvs_hGroup group = i == 0 && reach == Reach::Beyond ? kFixed : kSolved;
        const auto u = static_cast<Slvs_hParam>(params.size() + 1);
        params.push_back(Slvs_MakeParam(u, group, chain.points[i].x));
        params.push_back(Slvs_MakeParam(u + 1, group, chain.points[i].y));
        points.push_back(static_cast<Slvs_hEntity>(1000 + i));
        entities.push_back(Slvs_MakePoint2d(points.back(), group, kPlane, u, u + 1));
    }
    auto distance = [&](size_t a, size_t b, double value) {
        constraints.push_back(Slvs_MakeConstraint(static_cast<Slvs_hConstraint>(constraints.size() + 1), kSolved,
                                                  SLVS_C_PT_PT_DISTANCE, kPlane, value, points[a], points[b], 0, 0));
    };
    std::vector<Slvs_hEntity> lines;
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        lines.push_back(static_cast<Slvs_hEntity>(100000 + i));
        entities.push_back(Slvs_MakeLineSegment(lines.back(), kSolved, kPlane, points[i], points[i + 1]));
        distance(i, i + 1, kLength);
    }
    if (rigid == Rigid::Angles) {
        // The angle between consecutive directions is the joint's supplement.
        for (size_t i = 0; i + 1 < lines.size(); ++i)
            constraints.push_back(Slvs_MakeConstraint(static_cast<Slvs_hConstraint>(constraints.size() + 1), kSolved,
                                                      SLVS_C_ANGLE, kPlane, 180.0 - chain.joints[i] * 180.0 / M_PI, 0,
                                                      0, lines[i], lines[i + 1]));
    } else {
        for (size_t i = 0; i + 2 < points.size(); ++i)
            distance(i, i + 2, chain.points[i].Distance(chain.points[i + 2]));
    }
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
    double off = 0.0;
    for (auto _ : state) {
        const DPoint offset = DragOffset(iteration++);
        lastX.val += offset.x;
        lastY.val += offset.y;
        const DPoint pointer(lastX.val, lastY.val);
        Slvs_Solve(&sys, kSolved);
        failures += sys.result == SLVS_RESULT_OKAY ? 0 : 1;
        off += DPoint(lastX.val, lastY.val).Distance(pointer);
    }
    state.counters["off_pointer"] = off / static_cast<double>(std::max<int64_t>(iteration, 1)) / kLength;
    state.counters["unknowns"] = static_cast<double>(2 * (chain.points.size() - (reach == Reach::Beyond ? 1 : 0)));
    state.counters["failures"] = static_cast<double>(failures);
}

void LocalSolverDrag(benchmark::State& state) { LocalDrag(state, Rigid::Angles, false); }
void SlvsDrag(benchmark::State& state) { SlvsChainDrag(state, Rigid::Angles); }
void LocalSolverDistanceChainDrag(benchmark::State& state) { LocalDrag(state, Rigid::Distances, false); }
void LocalSolverDistanceChainRebuiltDrag(benchmark::State& state) { LocalDrag(state, Rigid::Distances, true); }
void SlvsDistanceChainDrag(benchmark::State& state) { SlvsChainDrag(state, Rigid::Distances); }
void LocalSolverDistanceChainReachableDrag(benchmark::State& state)
{
    LocalDrag(state, Rigid::Distances, false, Reach::Pointer);
}
void LocalSolverDistanceChainReachableRebuiltDrag(benchmark::State& state)
{
    LocalDrag(state, Rigid::Distances, true, Reach::Pointer);
}
void SlvsDistanceChainReachableDrag(benchmark::State& state)
{
    SlvsChainDrag(state, Rigid::Distances, Reach::Pointer);
}

} // namespace

BENCHMARK(LocalSolverDrag)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);
BENCHMARK(SlvsDrag)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);
BENCHMARK(LocalSolverDistanceChainDrag)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);
BENCHMARK(LocalSolverDistanceChainRebuiltDrag)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);
BENCHMARK(SlvsDistanceChainDrag)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);
BENCHMARK(LocalSolverDistanceChainReachableDrag)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);
BENCHMARK(LocalSolverDistanceChainReachableRebuiltDrag)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);
BENCHMARK(SlvsDistanceChainReachableDrag)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
