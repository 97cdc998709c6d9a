// The 3-D plot's picture: a surface of 50 x 50 heights (sin x cos y) rendered
// and played at 96 dpi as the view shows it, and one trackball step (the
// turn and the frame grid previewed over the picture).
#include "BenchDocumentText.h"

#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/TextLayoutItemMaker.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/PlotNodes.h"
#include "platform/draw/ImageDC.h"
#include "plot/PlotComponents.h"
#include "plot/ThreeDPlotComp.h"
#include "plot/Trackball.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr int kGrid = 50;

ExprNode* Surface()
{
    auto* rows = new ListNode;
    for (int r = 0; r < kGrid; ++r) {
        auto* row = new ListNode;
        for (int c = 0; c < kGrid; ++c) {
            const double x = -3 + 6.0 * c / (kGrid - 1), y = -3 + 6.0 * r / (kGrid - 1);
            row->AppendChild(new RealNode(std::sin(x) * std::cos(y)));
        }
        rows->AppendChild(row);
    }
    return new SurfaceGraphicsNode(rows, nullptr);
}

struct Screen {
    Screen() : image(800, 800, QImage::Format_RGB32), dc((SetImageDpi(image, 96), image))
    {
        image.fill(Qt::white);
        InstallTextLayout();
        gDrawContext.BeginDrawOnDC(nullptr, &dc);
        gDrawContext.SetBaseSize(DrawContext::kDefaultBaseSize);
        RegisterPlotComponents();
        plot = new ThreeDPlotComp;
        row.Append(plot);
        plot->SetXVariable("x", -3, 3);
        plot->SetYVariable("y", -3, 3);
        plot->SetResult(Surface());
        row.Layout(10000);
        row.SetOrigin(IntPoint(20, 700));
    }
    QImage image;
    CImageDC dc;
    CompList row;
    ThreeDPlotComp* plot = nullptr;
};

// Pixels drawn in the rectangle: the picture is really there.
double Ink(const QImage& image, const Rect& r)
{
    int ink = 0;
    for (int y = std::max(0, r.top); y < std::min(image.height(), r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(image.width(), r.right); ++x)
            ink += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
    return ink;
}

Screen& TheScreen()
{
    static Screen screen;
    return screen;
}

void BM_RenderSurfaceIntoTheView(benchmark::State& state)
{
    Screen& screen = TheScreen();
    for (auto _ : state) {
        screen.plot->SetPicture(nullptr);
        HENHMETAFILE copy = screen.plot->CopyPicture();
        gDrawContext.PlayMetafile(screen.plot->GetPicture(), screen.plot->GetPlotRect());
        DrawContext::DeleteMetafile(copy);
    }
    state.counters["ink"] = Ink(screen.image, screen.plot->GetPlotRect());
}
BENCHMARK(BM_RenderSurfaceIntoTheView)->Unit(benchmark::kMillisecond);

void BM_TrackballStep(benchmark::State& state)
{
    Screen& screen = TheScreen();
    const Rect r = screen.plot->GetPlotRect();
    const trackball::Ball ball = trackball::BallOf(r.left, r.top, r.right, r.bottom);
    Point3d right{}, up{}, eye{};
    screen.plot->GetViewFrame(right, up, eye);
    int x = ball.centreX;
    for (auto _ : state) {
        const trackball::Vector a = trackball::MapToSphere(ball, x, ball.centreY);
        x = x + 3 > r.right ? ball.centreX : x + 3;
        const trackball::Vector b = trackball::MapToSphere(ball, x, ball.centreY);
        screen.plot->ApplyRotation(trackball::ComposeWithView(trackball::RotationBetween(a, b), right, up, eye));
        gDrawContext.SetClipRegion(r);
        gDrawContext.EraseRect(r);
        screen.plot->RenderWireframe(r);
    }
    state.counters["ink"] = Ink(screen.image, r);
}
BENCHMARK(BM_TrackballStep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return benchdoc::RunBenchmarks(argc, argv);
}
