// 3-D plots computed by the real kernel program: a surface of one function
// (SurfaceGraphics) and the meshes of two (Graphics3D) drawn at 96 dpi
// against kept reference pictures, and turned by a scripted trackball drag
// that changes the picture and is undone to the very same picture.
#include "kernel/link/PlotKernelTest.h"

#include "foundation/ActionView.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/ExprNode.h"
#include "kernel/KernelServices.h"
#include "kernel/PlotNodes.h"
#include "platform/draw/ImageDC.h"
#include "plot/PlotComponents.h"
#include "plot/PlotCurveSet.h"
#include "plot/TRotatePlotAction.h"
#include "plot/ThreeDPlotComp.h"
#include "plot/TrackballTracker.h"
#include "foundation/TAction.h"
#include "support/PictureCompare.h"
#include "support/kernel/NodeWireText.h"
#include "support/math/MathTestSupport.h"
#include "support/plot/PlotFromText.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

using Node = std::unique_ptr<ExprNode>;

struct SurfaceCase {
    const char* name;
    std::vector<const char*> functions;  // full form
    double minimum;
    double maximum;
    int32_t kind;  // of the kernel's items
};

const SurfaceCase kCases[] = {
    {"sin-x-cos-y", {"VXTimes[VXSin[x], VXCos[y]]"}, -3, 3, plot::kSurface3D},
    {"saddle", {"VXPlus[VXPower[x, 2], VXTimes[-1, VXPower[y, 2]]]"}, -1, 1, plot::kSurface3D},
    {"two-meshes", {"VXTimes[x, y]", "VXTimes[0.5, y]"}, -1, 1, plot::kPolygon3D},
};

// A view that only counts what the actions ask of it.
class CountingView : public ActionView {
public:
    DocSelection GetSelection() const override { return {}; }
    void SetSelection(const DocSelection&, bool) override {}
    void ScrollToShow(const DocSelection&) override {}
    void UpdateLayoutFrom(int, int) override {}
    void SetDocumentModified() override {}
    void InvalidateSelection(const DocSelection&) override {}
    void ShowSelection(const DocSelection&) override {}
    ParagraphList* GetParagraphList() const override { return nullptr; }
};

class ThreeDPlotComputationTest : public PlotKernelTest {
protected:
    // A plot of the case in a row of its own, computed by the kernel.
    ThreeDPlotComp* Computed(const SurfaceCase& c)
    {
        auto* plot = new ThreeDPlotComp;
        row->Append(plot);
        AddFunctionsFromText(*plot, c.functions);
        plot->SetXVariable("x", c.minimum, c.maximum);
        plot->SetYVariable("y", c.minimum, c.maximum);
        plot->SetZVariable("z", c.minimum, c.maximum);
        Node command(plot->BuildNode());
        ExprNode* answer = link.ComputePlot(command.get());
        EXPECT_TRUE(answer && plot->SetResult(answer)) << c.name;
        return plot;
    }

    // The plot's picture played at 96 dpi.
    QImage Picture(ThreeDPlotComp& plot)
    {
        row->Layout(10000);
        EXPECT_NE(plot.GetPicture(), nullptr);
        const int w = plot.GetPictureWidth(), h = plot.GetPictureHeight();
        QImage picture(w, h, QImage::Format_RGB32);
        picture.fill(Qt::white);
        SetImageDpi(picture, 96);
        if (plot.GetPicture()) {
            CImageDC dc(picture);
            dc.PlayEnhMetaFile(*plot.GetPicture(), CRect(0, 0, w, h));
        }
        return picture;
    }

    std::unique_ptr<CompList> row = std::make_unique<CompList>();
};

TEST_F(ThreeDPlotComputationTest, SurfacesAndMeshesAreDrawnAsTheReferencePicturesShow)
{
    for (const SurfaceCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ThreeDPlotComp* plot = Computed(c);
        ASSERT_GE(plot->GetCurves()->GetCurveCount(), 3);
        int items = 0;
        for (int i = 2; i < plot->GetCurves()->GetCurveCount(); ++i)
            for (const auto& item : plot->GetCurves()->GetCurve(i))
                items += item->GetKind() == c.kind ? 1 : 0;
        EXPECT_EQ(items, int(c.functions.size()));
        ExpectLikeReference(Picture(*plot), QString("plot3d-%1.png").arg(c.name), 120);
        row = std::make_unique<CompList>();
    }
}

TEST_F(ThreeDPlotComputationTest, ATrackballDragTurnsThePictureAndUndoBringsItBack)
{
    ThreeDPlotComp* plot = Computed(kCases[0]);
    row->Layout(10000);
    row->SetOrigin(IntPoint(0, 0));
    const QImage before = Picture(*plot);
    plot->Select();
    CountingView view;
    const Rect r = plot->GetPlotRect();
    const IntPoint centre((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    TrackballTracker tracker(view, *plot);
    tracker.MouseDown(centre);
    for (int step = 1; step <= 6; ++step)
        tracker.MouseMove(IntPoint(centre.x + 12 * step, centre.y - 3 * step));
    tracker.MouseUp(IntPoint(centre.x + 80, centre.y - 20));
    std::unique_ptr<TAction> action(tracker.TakeAction());
    ASSERT_NE(action, nullptr);
    action->Perform();
    const QImage turned = Picture(*plot);
    EXPECT_GT(DifferentPixels(before, turned, 64), 2000) << "the turn shows";
    ExpectLikeReference(turned, "plot3d-turned.png", 120);
    action->Revert();
    EXPECT_EQ(DifferentPixels(before, Picture(*plot), 0), 0) << "undone to the same picture";
    plot->Deselect();
}

} // namespace
