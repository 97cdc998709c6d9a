// Measurements of the drawing context on a 96-dpi measuring device.
#include "DrawTestSupport.h"

#include "platform/draw/FontMap.h"
#include "platform/draw/MeasureDC.h"

#include <algorithm>

class DrawContextMetricsTest : public DrawTest {
protected:
    void SetUp() override { gDrawContext.BeginDrawOnDC(nullptr, &dc); }
    CMeasureDC dc{96};
};

TEST_F(DrawContextMetricsTest, SizeArithmeticAtLevelFive)
{
    EXPECT_EQ(gDrawContext.GetFontSize(), 14);
    EXPECT_EQ(gDrawContext.GetAscent(), -13);
    EXPECT_EQ(gDrawContext.GetDescent(), 5);
    EXPECT_EQ(gDrawContext.GetMarginUnit(), 56);
    EXPECT_EQ(gDrawContext.GetSubscriptDrop(), 5 * 96 / 72);  // 410 x 14 / 1024 = 5
    EXPECT_EQ(gDrawContext.GetEmBox(), Rect(0, -12, 9, 2));  // 9, 7, 2 points
    EXPECT_TRUE(gDrawContext.IsTallerThanLine(0, 29));        // 21 points = 28 pixels
    EXPECT_FALSE(gDrawContext.IsTallerThanLine(0, 28));
    EXPECT_EQ(gDrawContext.PointsToDevY(-3), -4);

    // The selected font is the text face's level-5 font for this device.
    EXPECT_EQ(dc.CurrentLogFont().lfHeight, -18);
    EXPECT_EQ(dc.GetCurrentFont(), fonts.GetFace(0)->GetFont(5, 96));

    // Size steps move the level within 0 to 9.
    gDrawContext.PushSize(2);
    EXPECT_EQ(gDrawContext.GetFontSize(), 10);
    EXPECT_EQ(dc.CurrentLogFont().lfHeight, -(96 * 10 / 72));
    gDrawContext.PopSize();
    EXPECT_EQ(dc.CurrentLogFont().lfHeight, -18);
    gDrawContext.SetBaseSize(9);
    gDrawContext.PushSize(3);
    EXPECT_EQ(gDrawContext.GetSizeLevel(), 9);
    gDrawContext.PopSize();
    gDrawContext.SetBaseSize(0);
    gDrawContext.PushSize(-1);
    EXPECT_EQ(gDrawContext.GetSizeLevel(), 0);
    gDrawContext.PopSize();
}

TEST_F(DrawContextMetricsTest, TheSizeStackHoldsAtMost255Steps)
{
    for (int i = 0; i < 255; ++i)
        gDrawContext.PushSize(1);
    EXPECT_EQ(gDrawContext.GetSizeDepth(), 255);
    gDrawContext.PushSize(-2);  // the 256th overwrites the top
    EXPECT_EQ(gDrawContext.GetSizeDepth(), 255);
    EXPECT_EQ(gDrawContext.GetTopStep(), -2);
    EXPECT_EQ(gDrawContext.GetSizeLevel(), 3);
    gDrawContext.PopSize();
    EXPECT_EQ(gDrawContext.GetSizeDepth(), 254);
    EXPECT_EQ(gDrawContext.GetTopStep(), 1);

    while (gDrawContext.GetSizeDepth() > 0)
        gDrawContext.PopSize();
    gDrawContext.PopSize();
    EXPECT_EQ(gDrawContext.GetSizeDepth(), 0);
    EXPECT_EQ(gDrawContext.GetTopStep(), 0);
}

TEST_F(DrawContextMetricsTest, PageRowsFollowTheBaseLevel)
{
    struct Case {
        int level;
        int paper;
        int widthPoints;
        int heightPoints;
    };
    for (const Case& c : {Case{0, 4, 756, 693}, Case{3, 4, 756, 693}, Case{4, 3, 588, 539},
                          Case{6, 2, 504, 462}, Case{9, 1, 420, 385}}) {
        gDrawContext.SetBaseSize(c.level);
        EXPECT_EQ(gDrawContext.GetPaperIndex(), c.paper) << c.level;
        EXPECT_EQ(gDrawContext.GetPageWidth(), c.widthPoints * 96 / 72) << c.level;
        EXPECT_EQ(gDrawContext.GetPageHeight(), c.heightPoints * 96 / 72) << c.level;
        EXPECT_EQ(gDrawContext.GetLeftMargin(), 16 * 96 / 72);
        EXPECT_EQ(gDrawContext.GetTopMargin(), 16 * 96 / 72);
    }
    // A step on the size stack does not change the page.
    gDrawContext.SetBaseSize(5);
    gDrawContext.PushSize(-3);
    EXPECT_EQ(gDrawContext.GetPaperIndex(), 3);
    gDrawContext.PopSize();
    EXPECT_EQ(gDrawContext.GetPrintableHeight(), 1056 - 5 * 56 / 2);
}

TEST_F(DrawContextMetricsTest, MathFaceExtentsComeFromItsGlyphTables)
{
    const FontMap::SymbolMetrics& metrics = FontMap::MathMetrics();
    gDrawContext.SetFontFamily(DrawContext::kMathFamily);
    EXPECT_EQ(dc.CurrentLogFont().lfCharSet, SYMBOL_CHARSET);

    Str255 text("(a");
    Rect extent;
    gDrawContext.GetTextExtent(text, extent);
    const int top = std::min({0, metrics.top['('], metrics.top['a']});
    const int bottom = std::max({0, metrics.bottom['('], metrics.bottom['a']});
    EXPECT_EQ(extent.top, top * 14 / 1024 * 96 / 72 - 1);
    EXPECT_EQ(extent.bottom, bottom * 14 / 1024 * 96 / 72 + 1);
    EXPECT_EQ(extent.right, gDrawContext.GetStringWidth(text));
    EXPECT_GT(extent.right, 0);
    EXPECT_EQ(gDrawContext.GetCharAdvance('A'), metrics.advance['A'] * 14 / 1024 * 96 / 72);

    Rect large;
    gDrawContext.GetLargeCharBox(183, large);
    EXPECT_EQ(gDrawContext.GetSizeDepth(), 0);
    EXPECT_EQ(large.top, std::min(0, metrics.top[183]) * 18 / 1024 * 96 / 72 - 1);  // level 3

    gDrawContext.SetFontFamily(0);
    gDrawContext.GetTextExtent(text, extent);
    EXPECT_EQ(extent.top, -13);
    EXPECT_EQ(extent.bottom, 5);
}

TEST(TallDelimiterLayout, CountsAreOddAndCoverTheSpan)
{
    // Shorter than one extension piece: only the middle piece between the ends.
    EXPECT_EQ(LayOutTallDelimiter(9, 10).count, 1);
    // One to two extension heights: 2, made 3.
    EXPECT_EQ(LayOutTallDelimiter(10, 10).count, 3);
    EXPECT_EQ(LayOutTallDelimiter(20, 10).count, 3);
    EXPECT_EQ(LayOutTallDelimiter(30, 10).count, 5);
    // The step is the span divided by the count, rounded up.
    EXPECT_EQ(LayOutTallDelimiter(19, 10).step, 7);
    EXPECT_EQ(LayOutTallDelimiter(30, 10).step, 6);
    // A degenerate piece height or span does not divide by zero.
    EXPECT_EQ(LayOutTallDelimiter(50, 0).count, 51);
    EXPECT_EQ(LayOutTallDelimiter(-5, 10).count, 1);
    EXPECT_EQ(LayOutTallDelimiter(-5, 10).step, 0);
}
