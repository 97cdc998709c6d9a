// The 3-D plot component: its frame (steps, box, the faces and labels the
// view direction picks), the kernel's SurfaceGraphics and Graphics3D answers
// (a surface with uneven rows refused, the old items kept), its record read
// and written back to the same bytes, copies, the command it sends, and the
// trackball's arithmetic and undoable turn.
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "platform/draw/ImageDC.h"
#include "foundation/ExprNode.h"
#include "foundation/LinkRemap.h"
#include "kernel/KernelServices.h"
#include "kernel/PlotNodes.h"
#include "plot/PlotComponents.h"
#include "plot/PlotCurveSet.h"
#include "plot/PlotScene3D.h"
#include "plot/TRotatePlotAction.h"
#include "plot/ThreeDPlotComp.h"
#include "plot/Trackball.h"
#include "support/kernel/NodeWireText.h"
#include "support/math/MathTestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

namespace {

class ThreeDPlotCompTest : public MathTest {
protected:
    ThreeDPlotCompTest()
    {
        InstallKernelServices();
        RegisterPlotComponents();
    }

    static std::unique_ptr<ThreeDPlotComp> Plot(const char* function)
    {
        auto plot = std::make_unique<ThreeDPlotComp>();
        std::unique_ptr<ExprNode> node(NodeFrom(function));
        CompList row;
        node->BuildComponents(row, 1);
        plot->GetChild(1)->InsertAllAt(row.DetachAll(), 1);
        return plot;
    }

    // The items of one kind in every list after the frame's two.
    static int KernelItems(const ThreeDPlotComp& plot, int32_t kind)
    {
        int n = 0;
        for (int i = 2; i < plot.GetCurves()->GetCurveCount(); ++i)
            for (const auto& item : plot.GetCurves()->GetCurve(i))
                n += item->GetKind() == kind ? 1 : 0;
        return n;
    }

    static std::vector<std::string> Labels(const ThreeDPlotComp& plot)
    {
        std::vector<std::string> labels;
        for (const auto& item : plot.GetCurves()->GetCurve(1))
            if (auto* text = dynamic_cast<const PlotText3D*>(item.get()))
                labels.push_back(text->GetLabel());
        return labels;
    }

    static Matrix3d Turned(double degrees)
    {
        const double a = degrees * 3.14159265358979 / 180;
        Matrix3d m;
        mIdentity(&m);
        m.m[1][1] = m.m[2][2] = Fixed(std::cos(a) * 65536);
        m.m[1][2] = Fixed(std::sin(a) * 65536);
        m.m[2][1] = -m.m[1][2];
        return m;
    }
};

TEST_F(ThreeDPlotCompTest, StepsAndBoxHoldTheRangesInWholeSteps)
{
    EXPECT_DOUBLE_EQ(plot3d::TickStep(2), 0.25);
    EXPECT_DOUBLE_EQ(plot3d::TickStep(2.4), 0.25);
    EXPECT_DOUBLE_EQ(plot3d::TickStep(10), 1);
    EXPECT_DOUBLE_EQ(plot3d::TickStep(60), 10);
    EXPECT_DOUBLE_EQ(plot3d::TickStep(0.3), 0.05);
    double low = 0, high = 0;
    plot3d::BoxRange(0.3, 2.7, 0.25, low, high);
    EXPECT_DOUBLE_EQ(low, 0.25);
    EXPECT_DOUBLE_EQ(high, 2.75);
    plot3d::BoxRange(-1, 1, 0.25, low, high);
    EXPECT_DOUBLE_EQ(low, -1);
    EXPECT_DOUBLE_EQ(high, 1);
    // Equal, reversed and endless ranges still give a box with room in it.
    const PlotFrame3D frame = plot3d::FrameFor({{2, 1, -INFINITY}, {2, -1, 1}});
    EXPECT_LT(frame.boxMinimum.x, 2);
    EXPECT_GT(frame.boxMaximum.x, 2);
    EXPECT_DOUBLE_EQ(frame.boxMinimum.y, -1);
    EXPECT_DOUBLE_EQ(frame.boxMaximum.y, 1);
    EXPECT_LT(frame.boxMinimum.z, frame.boxMaximum.z);
    EXPECT_EQ(plot3d::TickLabel(1e-7), "0.0");
    EXPECT_EQ(plot3d::TickLabel(-0.75), "-0.75");
}

TEST_F(ThreeDPlotCompTest, TheDefaultViewPicksFarFacesAndLabelsEveryOtherTick)
{
    CompList row;
    auto* plot = new ThreeDPlotComp;
    row.Append(plot);
    row.Layout(10000);
    ASSERT_NE(plot->GetPicture(), nullptr);
    ASSERT_EQ(plot->GetCurves()->GetCurveCount(), 2);
    EXPECT_EQ(plot->GetTickSteps(), (Point3D{0.25, 0.25, 0.25}));
    auto* box = dynamic_cast<const PlotBox3D*>(plot->GetCurves()->GetCurve(0).at(0).get());
    ASSERT_NE(box, nullptr);
    // The eye (-140, 70, -140) as it is: faces x 1, y 0, z 2 show their grid.
    for (int face : {1, 0, 2})
        EXPECT_TRUE(box->HasFace(face)) << face;
    for (int face : {4, 3, 5})
        EXPECT_FALSE(box->HasFace(face)) << face;
    // Eight steps on each axis, every other one labelled: four per axis.
    const std::vector<std::string> labels = Labels(*plot);
    ASSERT_EQ(labels.size(), 12u);
    EXPECT_EQ(labels[0], "-0.75");
    EXPECT_EQ(std::count(labels.begin(), labels.end(), "0.0"), 0);
    EXPECT_EQ(plot->GetCurves()->GetCurve(1).size(), 24u);  // each label with its tick
}

TEST_F(ThreeDPlotCompTest, LookingDownTheZAxisDropsItsLabelsAndTurnsTheFaces)
{
    auto plot = Plot("x");
    // Turned so that the eye lies straight above the box: the turn carrying
    // the eye onto the vertical.
    const double length0 = std::sqrt(140.0 * 140 * 2 + 70 * 70);
    const trackball::Matrix t = trackball::RotationBetween({-140 / length0, 70 / length0, -140 / length0}, {0, 1, 0});
    Matrix3d above;
    mIdentity(&above);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            above.m[i][j] = Fixed(t[j][i] * 65536);
    plot->SetRotation(above);
    plot->ResetToFrame();
    const Point3d view = plot3d::ViewDirection(plot->GetRotation(), Point3d{-140 * 65536, 70 * 65536, -140 * 65536, 0});
    const double length = std::hypot(view.x, view.y, view.z);
    ASSERT_GE(std::abs(view.y) / length, 0.9);
    for (const std::string& label : Labels(*plot))
        EXPECT_NE(label, "1") << "no z label at the top";
    const BoxFaces3D faces = plot3d::FacesFor(view);
    EXPECT_EQ(faces.y, view.y <= 0 ? 3 : 0);
}

TEST_F(ThreeDPlotCompTest, ThePictureIsCentredOnEveryResolution)
{
    // A printer's resolution and the screen's: the box lies in the middle of
    // the picture either way, whatever size the picture has.
    for (int dpi : {96, 300}) {
        SCOPED_TRACE(dpi);
        QImage page(2400, 2400, QImage::Format_RGB32);
        SetImageDpi(page, dpi);
        CImageDC pageDc(page);
        gDrawContext.BeginDrawOnDC(nullptr, &pageDc);
        ThreeDPlotComp plot;
        HENHMETAFILE picture = plot.CopyPicture();
        const int w = plot.GetPictureWidth(), h = plot.GetPictureHeight();
        gDrawContext.EndDraw();
        ASSERT_NE(picture, nullptr);
        EXPECT_NEAR(w, 360 * dpi / 72, 1);
        QImage shown(w, h, QImage::Format_RGB32);
        shown.fill(Qt::white);
        {
            CImageDC dc(shown);
            dc.PlayEnhMetaFile(*picture, CRect(0, 0, w, h));
        }
        DrawContext::DeleteMetafile(picture);
        QRect ink;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (shown.pixel(x, y) != qRgb(255, 255, 255))
                    ink |= QRect(x, y, 1, 1);
        EXPECT_NEAR(ink.center().x(), w / 2, w / 20);
        EXPECT_NEAR(ink.center().y(), h / 2, h / 10);
        EXPECT_GT(ink.width(), w / 2);
        EXPECT_LT(ink.width(), w);
    }
}

TEST_F(ThreeDPlotCompTest, SurfaceAnswersBecomeAGridOverTheRanges)
{
    auto plot = Plot("x");
    plot->SetXVariable("x", -1, 1);
    plot->SetYVariable("y", 0, 1);
    ASSERT_TRUE(plot->SetResult(NodeFrom("SurfaceGraphics[List[List[1, 2, 3, 4], List[5, 6, 7, 8], "
                                         "List[9, 10, 11, 12]]]")));
    ASSERT_EQ(plot->GetCurves()->GetCurveCount(), 3);
    auto* surface = dynamic_cast<const PlotSurface3D*>(plot->GetCurves()->GetCurve(2).at(0).get());
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(surface->GetPoints().size(), 12u);
    EXPECT_NEAR(surface->GetPoints()[1].x, -1 + 2.0 / 3, 1e-12);
    EXPECT_NEAR(surface->GetPoints()[4].y, 0.5, 1e-12);
    EXPECT_NEAR(surface->GetPoints()[11].x, 1, 1e-12);
    EXPECT_NEAR(surface->GetPoints()[11].y, 1, 1e-12);
    EXPECT_EQ(surface->GetPoints()[11].z, 12);

    // One row lies at y minimum, one column at x minimum: no division by zero.
    ASSERT_TRUE(plot->SetResult(NodeFrom("SurfaceGraphics[List[List[1, 2, 3]]]")));
    surface = dynamic_cast<const PlotSurface3D*>(plot->GetCurves()->GetCurve(2).at(0).get());
    for (const Point3D& p : surface->GetPoints())
        EXPECT_EQ(p.y, 0);
    ASSERT_TRUE(plot->SetResult(NodeFrom("SurfaceGraphics[List[List[1], List[2]]]")));
    surface = dynamic_cast<const PlotSurface3D*>(plot->GetCurves()->GetCurve(2).at(0).get());
    for (const Point3D& p : surface->GetPoints())
        EXPECT_EQ(p.x, -1);

    // Rows of unequal length are refused with a message; the plot keeps its surface.
    EXPECT_FALSE(plot->SetResult(NodeFrom("SurfaceGraphics[List[List[1, 2], List[3]]]")));
    EXPECT_EQ(plot->ResultProblem(), kUnevenSurfaceMessage);
    EXPECT_EQ(KernelItems(*plot, plot::kSurface3D), 1);
    EXPECT_FALSE(plot->SetResult(NodeFrom("List[1, 2]")));
    EXPECT_TRUE(plot->ResultProblem().empty()) << "no graphics: the view says \"Graphing Error\"";
    EXPECT_EQ(KernelItems(*plot, plot::kSurface3D), 1);
}

TEST_F(ThreeDPlotCompTest, Graphics3DMeshesShareVerticesAndPrimitivesDraw)
{
    auto plot = Plot("x");
    ASSERT_TRUE(plot->SetResult(NodeFrom(
        "Graphics3D[List[List[Polygon[List[List[0, 0, 0], List[1, 0, 0], List[1, 1, 0]]], "
        "Polygon[List[List[0, 0, 0], List[1, 1, 0], List[0, 1, 0.5]]]], List[], "
        "Line[List[List[0, 0, 0], List[1, 1, 1]]], Point[List[0.5, 0.5, 0.5]], Text[\"top\", List[0, 0, 1]]]]")));
    EXPECT_EQ(KernelItems(*plot, plot::kPolygon3D), 1);
    EXPECT_EQ(KernelItems(*plot, plot::kLine3D), 1);
    EXPECT_EQ(KernelItems(*plot, plot::kPoint3D), 1);
    EXPECT_EQ(KernelItems(*plot, plot::kText3D), 1);
    auto* mesh = dynamic_cast<const PlotPolygon3D*>(plot->GetCurves()->GetCurve(2).at(0).get());
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetVertices().size(), 4u);
    CompList row;
    row.Append(plot.release());
    row.Layout(10000);
    EXPECT_NE(static_cast<ThreeDPlotComp*>(row.GetAt(1))->GetPicture(), nullptr);
}

TEST_F(ThreeDPlotCompTest, RecordsReadBackToTheSameBytes)
{
    const std::function<std::unique_ptr<ThreeDPlotComp>()> makers[] = {
        [] { return std::make_unique<ThreeDPlotComp>(); },
        [] {
            auto plot = Plot("VXTimes[VXSin[x], VXCos[y]]");
            plot->SetZVariable("height", -2, 3.5);
            plot->SetResult(NodeFrom("SurfaceGraphics[List[List[1, 2], List[3, 4]]]"));
            plot->SetRotation(Turned(30));
            plot->BuildScene(true);
            return plot;
        },
        [] {
            auto plot = Plot("x");
            plot->SetResult(NodeFrom("Graphics3D[List[List[Polygon[List[List[0, 0, 0], List[1, 0, 0], "
                                     "List[1, 1, 0], List[0, 1, 0], List[0, 0, 1]]]], Text[\"a\", List[0, 0, 1]]]]"));
            return plot;
        },
    };
    for (const auto& make : makers) {
        CompList row;
        row.Append(make().release());
        const std::vector<uint8_t> bytes = WriteRow(row);
        std::unique_ptr<CompList> read = ReadRow(bytes);
        ASSERT_EQ(read->GetCount(), 1);
        EXPECT_EQ(WriteRow(*read), bytes);
        auto* original = static_cast<ThreeDPlotComp*>(row.GetAt(1));
        auto* copy = dynamic_cast<ThreeDPlotComp*>(read->GetAt(1));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->GetZName(), original->GetZName());
        EXPECT_EQ(copy->GetBoxMaximum(), original->GetBoxMaximum());
        EXPECT_EQ(0, std::memcmp(&copy->GetRotation(), &original->GetRotation(), sizeof(Matrix3d)));
    }
}

// A damaged record's turn or box left the picture empty (a turn of the most
// negative words ended the sanitizer build): such a plot opens unturned in
// the box of its ranges, and saves as the sound plot does.
TEST_F(ThreeDPlotCompTest, ARecordOfNoTurnOrNoBoxOpensUnturnedInTheBoxOfItsRanges)
{
    CompList row;
    auto* plot = Plot("VXPlus[x, y]").release();
    row.Append(plot);
    plot->ResetToFrame();
    const std::vector<uint8_t> sound = WriteRow(row);
    Matrix3d most;
    for (auto& words : most.m)
        std::fill(std::begin(words), std::end(words), INT32_MIN);
    plot->SetRotation(most);
    std::unique_ptr<CompList> read = ReadRow(WriteRow(row));
    read->Layout(10000);
    EXPECT_NE(static_cast<ThreeDPlotComp*>(read->GetAt(1))->GetPicture(), nullptr);
    EXPECT_EQ(WriteRow(*read), sound);

    auto identityWith = [](int i, int j, Fixed word) {
        Matrix3d m;
        mIdentity(&m);
        m.m[i][j] = word;
        return m;
    };
    EXPECT_TRUE(plot3d::IsRotation(Turned(30)));
    for (const Matrix3d& turn : {most, Matrix3d{}, identityWith(0, 0, -kFixedOne), identityWith(3, 0, kFixedOne),
                                 identityWith(1, 3, 5), identityWith(2, 2, 2 * kFixedOne)})
        EXPECT_FALSE(plot3d::IsRotation(turn));
    const double nan = std::nan("");
    EXPECT_TRUE(plot3d::IsFrame(PlotFrame3D{}));
    for (const PlotFrame3D& frame : {PlotFrame3D{{nan, -1, -1}}, PlotFrame3D{{-1, -1, -1}, {0.5, 0, 0.5}},
                                     PlotFrame3D{{-1, -1, -1}, {0.5, 0.5, 0.5}, {1, -2, 1}},
                                     PlotFrame3D{{-1, -1, -1e308}, {0.5, 0.5, 0.5}, {1, 1, 1e308}}})
        EXPECT_FALSE(plot3d::IsFrame(frame));
}

TEST_F(ThreeDPlotCompTest, ACopyKeepsBoxRotationAndItemsAndTheCommandCarriesThreeRanges)
{
    auto plot = Plot("VXPlus[x, y]");
    plot->SetZVariable("w", 0, 4);
    plot->SetRotation(Turned(45));
    ASSERT_TRUE(plot->SetResult(NodeFrom("SurfaceGraphics[List[List[1, 2], List[3, 4]]]")));
    LinkRemap remap;
    std::unique_ptr<ThreeDPlotComp> copy(static_cast<ThreeDPlotComp*>(plot->Clone(remap)));
    EXPECT_TRUE(copy->IsEqual(*plot));
    EXPECT_EQ(copy->GetZName(), "w");
    EXPECT_EQ(copy->GetBoxMaximum(), plot->GetBoxMaximum());
    EXPECT_EQ(copy->GetRotation().m[1][2], plot->GetRotation().m[1][2]);
    EXPECT_EQ(copy->GetCurves()->GetCurveCount(), 3);
    std::unique_ptr<ExprNode> command(plot->BuildNode());
    EXPECT_EQ(FullFormOf(command.get()),
              "VXThreeDPlot[List[VXPlus[x, y]], List[x, -1., 1.], List[y, -1., 1.], List[w, 0., 4.]]");
}

TEST_F(ThreeDPlotCompTest, TheTrackballMapsOntoItsBallAndTurnsByTheDrag)
{
    const trackball::Ball ball = trackball::BallOf(0, 0, 200, 100);
    EXPECT_EQ(ball.radius, 100);
    const trackball::Vector centre = trackball::MapToSphere(ball, 100, 50);
    EXPECT_DOUBLE_EQ(centre[2], 1);
    const trackball::Vector rim = trackball::MapToSphere(ball, 400, 50);
    EXPECT_DOUBLE_EQ(rim[0], 1);
    EXPECT_DOUBLE_EQ(rim[2], 0);
    const trackball::Matrix same = trackball::RotationBetween(centre, centre);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(same[i][j], i == j ? 1 : 0, 1e-12);
    // A drag to the right turns about the vertical: the turn keeps y.
    const trackball::Matrix turn = trackball::RotationBetween(centre, trackball::MapToSphere(ball, 150, 50));
    EXPECT_NEAR(turn[1][1], 1, 1e-12);
    EXPECT_LT(turn[0][0], 1);
}

TEST_F(ThreeDPlotCompTest, ARotationIsOneUndoableStepThatChangesThePicture)
{
    CompList row;
    auto* plot = new ThreeDPlotComp;
    row.Append(plot);
    row.Layout(10000);
    const Matrix3d before = plot->GetRotation();
    Point3d right{}, up{}, eye{};
    plot->GetViewFrame(right, up, eye);
    const trackball::Ball ball{100, 100, 100};
    plot->ApplyRotation(trackball::ComposeWithView(
        trackball::RotationBetween(trackball::MapToSphere(ball, 100, 100), trackball::MapToSphere(ball, 160, 80)),
        right, up, eye));
    const Matrix3d after = plot->GetRotation();
    EXPECT_NE(after.m[0][0], before.m[0][0]);
    TRotatePlotAction action(plot, before, after);
    action.Perform();
    row.Layout(10000);
    ASSERT_NE(plot->GetPicture(), nullptr);
    EXPECT_EQ(0, std::memcmp(&plot->GetRotation(), &after, sizeof after));
    action.Revert();
    row.Layout(10000);
    EXPECT_EQ(0, std::memcmp(&plot->GetRotation(), &before, sizeof before));
    ASSERT_NE(plot->GetPicture(), nullptr);
}

} // namespace
