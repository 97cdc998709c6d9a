// The drawing's transform and pens on a 96-dpi screen and a 600-dpi device.
#include "DrawingTestSupport.h"

#include "drawing/DiagramDC.h"
#include "drawing/DrawingCodes.h"
#include "foundation/DrawContext.h"

#include <cmath>

using namespace drawing;

namespace {

// Draws on an image of the given resolution for the length of a scope.
class DeviceAt {
public:
    explicit DeviceAt(int dpi) : m_image(200, 40, QImage::Format_RGB32)
    {
        m_image.fill(Qt::white);
        SetImageDpi(m_image, dpi);
        m_dc = std::make_unique<CImageDC>(m_image);
        gDrawContext.BeginDrawOnDC(nullptr, m_dc.get());
    }
    ~DeviceAt() { gDrawContext.EndDraw(); }
    const QImage& Image() const { return m_image; }

private:
    QImage m_image;
    std::unique_ptr<CImageDC> m_dc;
};

int DarkInRow(const QImage& image, int y)
{
    int n = 0;
    for (int x = 0; x < image.width(); ++x)
        n += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return n;
}

} // namespace

TEST_F(DrawingTest, WorldToScreenAndBackAt96And600Dpi)
{
    struct Case {
        int dpi;
        DPoint world;
        IntPoint device;
    };
    // Origin (1, 2) at pixel (10, 20), 0.04 world units per point.
    const Case cases[] = {
        {96, {1.04, 2.0}, {11, 20}},  // one point: round(1) * 96 / 72 = 1 pixel
        {96, {1.0, 1.0}, {10, 53}},   // 25 points down: 25 * 96 / 72 = 33
        {96, {0.0, 2.0}, {-23, 20}},  // -25 points: truncated toward zero
        {600, {1.04, 2.0}, {18, 20}},  // 600 / 72 = 8 pixels a point
        {600, {1.0, 1.0}, {10, 228}},
        {600, {-1.0, 4.0}, {-406, -396}},
    };
    for (const Case& c : cases) {
        DeviceAt device(c.dpi);
        DiagramDC dc;
        dc.SetWorldOrigin(DPoint(1.0, 2.0));
        dc.SetScale(0.04);
        dc.SetPixelOrigin(IntPoint(10, 20));
        const IntPoint d = dc.WorldToScreen(c.world);
        EXPECT_EQ(d.x, c.device.x) << c.dpi << " dpi";
        EXPECT_EQ(d.y, c.device.y) << c.dpi << " dpi";
        const DPoint back = dc.ScreenToWorld(d);
        const double pixel = dc.PixelsToWorld(1);
        EXPECT_NEAR(back.x, c.world.x, pixel) << c.dpi << " dpi";
        EXPECT_NEAR(back.y, c.world.y, pixel) << c.dpi << " dpi";
    }
}

TEST_F(DrawingTest, PenWidthsAreHalfOneAndTwoPointsOnEveryDevice)
{
    struct Case {
        int dpi;
        int thin, medium, thick;
    };
    for (const Case& c : {Case{96, 1, 1, 2}, Case{600, 4, 8, 16}, Case{72, 1, 1, 2}}) {
        DeviceAt device(c.dpi);
        EXPECT_EQ(DiagramDC::PenWidthFor(kThin), c.thin) << c.dpi;
        EXPECT_EQ(DiagramDC::PenWidthFor(kMedium), c.medium) << c.dpi;
        EXPECT_EQ(DiagramDC::PenWidthFor(kThick), c.thick) << c.dpi;
        EXPECT_EQ(DiagramDC::PenWidthFor(5), 1) << c.dpi;
    }
}

TEST_F(DrawingTest, DashesCarryTheirPhaseAcrossPolylinePieces)
{
    const int32_t dashed = 1 << kDashShift;  // 10 on, 6 off, 10 on, 6 off
    int whole = 0;
    int pieces = 0;
    for (bool split : {false, true}) {
        DeviceAt device(96);
        DiagramDC dc;
        dc.SetWorldOrigin(DPoint(0, 0));
        dc.SetScale(0.03);  // one pixel is 0.0225 world units at 96 dpi
        const double px = dc.PixelsToWorld(1);
        dc.BeginPen();
        dc.SetPen(kThin, kBlack, true);
        if (split) {
            for (int x = 0; x < 128; x += 7)
                dc.DashedLine(DPoint(x * px, -10 * px), DPoint(std::min(x + 7, 128) * px, -10 * px), dashed, kBlack,
                              false);
            pieces = DarkInRow(device.Image(), 10);
        } else {
            dc.DashedLine(DPoint(0, -10 * px), DPoint(128 * px, -10 * px), dashed, kBlack, false);
            whole = DarkInRow(device.Image(), 10);
            EXPECT_LT(std::fmod(dc.GetDashPhase() / px + 0.5, 32.0), 1.0) << "128 pixels end with a period";
        }
        dc.EndPen();
    }
    EXPECT_NEAR(whole, 80, 6) << "four periods of 20 pixels drawn";
    EXPECT_NEAR(pieces, whole, 6) << "seven-pixel pieces continue the pattern";

    DeviceAt device(96);
    DiagramDC dc;
    dc.SetScale(0.03);
    const double px = dc.PixelsToWorld(1);
    dc.DashedLine(DPoint(0, 0), DPoint(5 * px, 0), dashed, kBlack, true);
    EXPECT_NEAR(dc.GetDashPhase() / px, 5.0, 1e-6);
    dc.DashedLine(DPoint(0, 0), DPoint(8 * px, 0), dashed, kBlack, false);
    EXPECT_NEAR(dc.GetDashPhase() / px, 13.0, 1e-6) << "a line ending in the first gap leaves the phase there";
    dc.SetDash(dashed);
    EXPECT_EQ(dc.GetDashPhase(), 0.0);
    dc.EndPen();
}

TEST_F(DrawingTest, ZoomLimitsAreLeftOnceAndReEntered)
{
    DiagramDC dc;
    struct Step {
        double factor;
        bool zooms;
        double scaleAfter;
    };
    dc.SetScale(0.0003);
    const Step steps[] = {
        {2.0, true, 0.00015},   // inside the range: taken, and now outside it
        {2.0, false, 0.00015},  // further out: refused
        {0.5, true, 0.0003},    // back towards the range: taken
    };
    for (const Step& s : steps) {
        EXPECT_EQ(dc.ZoomAbout(IntPoint(30, 40), s.factor), s.zooms) << s.factor;
        EXPECT_NEAR(dc.GetBaseScale(), s.scaleAfter, 1e-12) << s.factor;
    }
    dc.SetScale(0.0002);
    EXPECT_TRUE(dc.ZoomAbout(IntPoint(0, 0), 2.0)) << "at exactly the limit";
    EXPECT_FALSE(dc.ZoomAbout(IntPoint(0, 0), 4.0));
    EXPECT_TRUE(dc.ZoomAbout(IntPoint(0, 0), 0.25));
    EXPECT_NEAR(dc.GetBaseScale(), 0.0004, 1e-12);
    dc.SetScale(5000.0);
    EXPECT_TRUE(dc.ZoomAbout(IntPoint(0, 0), 0.5));
    EXPECT_FALSE(dc.ZoomAbout(IntPoint(0, 0), 0.5));
    EXPECT_TRUE(dc.ZoomAbout(IntPoint(0, 0), 4.0));
    EXPECT_NEAR(dc.GetBaseScale(), 2500.0, 1e-9);
}

TEST_F(DrawingTest, ZoomKeepsTheWorldPointUnderTheDevicePoint)
{
    DiagramDC dc;
    dc.SetPixelOrigin(IntPoint(5, 5));
    const IntPoint at(60, 45);
    const DPoint before = dc.ScreenToWorld(at);
    ASSERT_TRUE(dc.ZoomAbout(at, 3.0));
    const DPoint after = dc.ScreenToWorld(at);
    EXPECT_NEAR(after.x, before.x, 1e-9);
    EXPECT_NEAR(after.y, before.y, 1e-9);
}

TEST_F(DrawingTest, HighlightsNestAndPensAreSelectedOnlyOnChange)
{
    DiagramDC dc;
    dc.BeginPen();
    dc.Highlight();
    dc.Highlight();
    dc.Unhighlight();
    dc.SetPen(kThick, kBlack, false);
    EXPECT_EQ(dc.GetPenColour(), kHighlightRed) << "still inside one highlight";
    dc.Unhighlight();
    EXPECT_EQ(dc.GetPenColour(), kBlack);

    const int before = dc.GetPenSelections();
    dc.SetPen(kMedium, RGB(0, 0, 200), false);
    EXPECT_EQ(dc.GetPenSelections(), before + 1) << "a new colour is a new pen";
    dc.SetPen(kMedium, RGB(0, 0, 200), false);
    EXPECT_EQ(dc.GetPenSelections(), before + 1) << "the same style and colour select nothing";
    dc.EndPen();
}
