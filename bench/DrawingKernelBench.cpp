// A vertex drag through the kernel against the editor's own solver, on the
// same drawing in one run: a zigzag chain of distance constraints with its
// first vertex fixed and 50 unknowns. Each iteration moves the last vertex
// back or forth by a hundredth of a segment and solves, as a mouse move
// does: through the kernel that is one QVConstrainedMin round trip (the
// model's rules written, the kernel's answer read and applied).
#include "drawing/DiagramComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/KernelSolver.h"
#include "drawing/LocalSolver.h"
#include "drawing/PointConstraints.h"
#include "drawing/VertexShape.h"
#include "kernel/KernelLink.h"
#include "kernel/ListNodes.h"
#include "kernel/KernelServices.h"
#include "kernel/KernelSettings.h"
#include "platform/AppProfile.h"
#include "tests/support/kernel/SilentQuestions.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <thread>

namespace {

constexpr int kUnknowns = 50;

// A message from the link ends the run: the measurement would be wrong.
class Silent : public SilentQuestions {
public:
    void ShowMessage(const std::string& text) override { throw std::runtime_error(text); }
};

// The kernel program next to the benchmarks' folder, started once.
KernelLink& Kernel()
{
    static QTemporaryDir settings;
    static Silent questions;
    static KernelLink* link = [] {
        AppProfile::SetFolder(settings.path());
        KernelSettings folder;
        folder.kernelPath = QCoreApplication::applicationDirPath().toStdString() + "/../kernelproc";
        folder.Save();
        auto* kernel = new KernelLink;
        kernel->SetQuestions(&questions);
        KernelLink::Set(kernel);
        kernel->StartKernel();
        while (kernel->IsStarting())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        kernel->EndStartup();
        if (!kernel->IsReady())
            throw std::runtime_error("the kernel did not start");
        return kernel;
    }();
    return *link;
}

struct Chain {
    std::unique_ptr<DiagramComp> drawing = std::make_unique<DiagramComp>();
    std::vector<VertexShape*> vertices;
};

Chain MakeChain()
{
    Chain chain;
    DPoint p(0, 0);
    for (int i = 0; i <= kUnknowns / 2; ++i) {
        auto* vertex = new VertexShape(p.x, p.y);
        chain.drawing->AddShape(vertex);
        if (!chain.vertices.empty())
            chain.drawing->AddConstraint(new DistanceConstraint(chain.vertices.back(), vertex));
        chain.vertices.push_back(vertex);
        p = p + DPoint(std::cos(i % 2 ? -0.3 : 0.3), std::sin(i % 2 ? -0.3 : 0.3));
    }
    auto* fixed = new FixedPointConstraint(chain.vertices.front());
    chain.drawing->AddConstraint(fixed);
    fixed->ApplyLock();
    return chain;
}

int Unknowns(const KernelSolver& solver) { return solver.GetRules() ? solver.GetRules()->Count() : 0; }
int Unknowns(const LocalSolver& solver) { return solver.GetVariables().GetCount(); }

template <typename Solver>
void Drag(benchmark::State& state)
{
    Chain chain = MakeChain();
    VertexShape* last = chain.vertices.back();
    ItemArray<DrawVariable> moved;
    moved.Add(last->GetXVar());
    moved.Add(last->GetYVar());
    Solver solver(*chain.drawing, moved);
    ItemArray<VertexShape> dragged;
    dragged.Add(last);
    double step = 0.01;
    for (auto _ : state) {
        if (!solver.SolveDrag(DPoint(step, step), dragged, last))
            state.SkipWithError("a drag step found no solution");
        step = -step;
    }
    state.counters["unknowns"] = Unknowns(solver);
    // The chain's last link after the drag, which the solver keeps at its length.
    const VertexShape* before = chain.vertices[chain.vertices.size() - 2];
    state.counters["last_link"] = before->GetPoint().Distance(last->GetPoint());
}

void ThroughTheKernel(benchmark::State& state)
{
    Kernel();
    Drag<KernelSolver>(state);
}

void EditorSolver(benchmark::State& state)
{
    KernelLink::Set(nullptr);
    Drag<LocalSolver>(state);
    KernelLink::Set(&Kernel());
}

BENCHMARK(ThroughTheKernel)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorSolver)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    InstallKernelServices();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (KernelLink* kernel = KernelLink::Get())
        kernel->QuitKernel();
    return 0;
}
