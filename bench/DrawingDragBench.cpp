// Dragging in a drawing through the real document view: a drawing of 100
// constrained triangles (one corner fixed, two sides held equal), a press on
// a corner and 200 mouse moves replayed through the view's mouse handler;
// each move is timed until the view has been repainted: the solve, the
// picture recorded again and the repaint. The corner of one triangle is
// dragged alone, then with every triangle selected (all 100 solved on each
// move). The release and the undo that puts everything back are not timed.
#include "app/CCorvellView.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawingComponents.h"
#include "drawing/GroupConstraints.h"
#include "drawing/PointConstraints.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DocClipboard.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "math/MathComponents.h"
#include "platform/framework/CMDIChildWnd.h"
#include "resources/ProgramResources.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "BenchDocumentText.h"
#include "BenchViewApp.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

namespace {

using benchdoc::BenchApp;
using benchdoc::Settle;

constexpr int kColumns = 10, kRows = 10, kMoves = 200;

struct World {
    World()
    {
        RegisterDrawingComponents();
        view = benchdoc::OpenNewDocumentView(app);
        if (!view)
            return;
        drawing = new DiagramComp;
        view->GetParagraphList()->GetAt(1)->GetRow()->Append(drawing);
        view->UpdateLayoutFrom(1, 1);
        FillDrawing();
        view->SetSelection(DocSelection::SelectObject(drawing), true);
        Settle();
    }

    // A 10 x 10 grid of equilateral triangles over the drawing's box.
    void FillDrawing()
    {
        DPoint topLeft, bottomRight;
        drawing->GetVisibleWorld(topLeft, bottomRight);
        const double cellWidth = (bottomRight.x - topLeft.x) / kColumns;
        const double cellHeight = (topLeft.y - bottomRight.y) / kRows;
        const double side = 0.6 * std::min(cellWidth, cellHeight);
        for (int row = 0; row < kRows; ++row)
            for (int column = 0; column < kColumns; ++column) {
                const double x = topLeft.x + (column + 0.2) * cellWidth;
                const double y = bottomRight.y + (row + 0.2) * cellHeight;
                auto* triangle = new TriangleShape(new VertexShape(x, y), new VertexShape(x + side, y),
                                                   new VertexShape(x + side / 2, y + side * std::sqrt(3.0) / 2));
                drawing->AddShape(triangle);
                drawing->AddConstraint(new FixedPointConstraint(triangle->GetVertex(0)));
                drawing->AddConstraint(new EqualLengthConstraint({triangle->GetSide(0), triangle->GetSide(1)}));
                triangles.push_back(triangle);
            }
    }

    TextPrefs prefs;
    FontManager fonts{prefs};
    DocClipboard clipboard;
    BenchApp app;
    CCorvellView* view = nullptr;
    DiagramComp* drawing = nullptr;
    std::vector<TriangleShape*> triangles;
};

// Made once and kept to the end of the process: its windows must not
// outlive the application object, which goes first.
World& TheWorld()
{
    static World* world = new World;
    return *world;
}

void Send(CCorvellView* view, QEvent::Type type, const IntPoint& point)
{
    const QPointF at(point.x - view->GetScrollPosition().x, point.y - view->GetScrollPosition().y);
    QWidget* surface = view->drawingWidget();
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, surface->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(surface, &event);
}

// Presses on the free corner of the middle triangle, replays the moves (a
// circle about the press point) one by one, each until repainted, and
// reports the median and the slowest move.
void Drag(benchmark::State& state, bool selectAll)
{
    World& world = TheWorld();
    if (!world.view) {
        state.SkipWithError("no document view");
        return;
    }
    CCorvellView* view = world.view;
    TriangleShape* dragged = world.triangles[world.triangles.size() / 2];
    const IntPoint press = world.drawing->GetDC().WorldToScreen(dragged->GetVertex(2)->GetPoint());
    std::vector<double> times;
    int apexesMoved = 0;
    for (auto _ : state) {
        state.PauseTiming();
        world.drawing->DeselectAll(false);
        if (selectAll)
            for (TriangleShape* triangle : world.triangles)
                world.drawing->SelectShape(triangle, true);
        Send(view, QEvent::MouseButtonPress, press);
        if (!view->GetTracker()) {
            state.SkipWithError("the press started no drag");
            return;
        }
        view->drawingWidget()->repaint();
        std::vector<DPoint> apexes;
        for (TriangleShape* triangle : world.triangles)
            apexes.push_back(triangle->GetVertex(2)->GetPoint());
        state.ResumeTiming();
        for (int i = 1; i <= kMoves; ++i) {
            const double angle = 2 * M_PI * i / kMoves;
            const IntPoint at(press.x + int(std::lround(20 * std::sin(angle))),
                              press.y + int(std::lround(20 * (1 - std::cos(angle)))));
            const auto start = std::chrono::steady_clock::now();
            Send(view, QEvent::MouseMove, at);
            view->drawingWidget()->repaint();
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            // What the drag moved, half way round (the circle ends where it began).
            if (i == kMoves / 2) {
                apexesMoved = 0;
                for (size_t t = 0; t < world.triangles.size(); ++t)
                    apexesMoved += world.triangles[t]->GetVertex(2)->GetPoint() == apexes[t] ? 0 : 1;
            }
        }
        state.PauseTiming();
        Send(view, QEvent::MouseButtonRelease, press);
        view->OnCmdMsg(ID_EDIT_UNDO, nullptr);
        Settle();
        state.ResumeTiming();
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p95_ms"] = times[times.size() * 95 / 100];
    state.counters["max_ms"] = times.back();
    state.counters["moves"] = double(times.size());
    state.counters["apexes_moved"] = apexesMoved;
}

void BM_DragOneCorner(benchmark::State& state) { Drag(state, false); }
void BM_DragAllSelected(benchmark::State& state) { Drag(state, true); }
BENCHMARK(BM_DragOneCorner)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DragAllSelected)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return benchdoc::RunBenchmarks<QApplication>(argc, argv);
}
