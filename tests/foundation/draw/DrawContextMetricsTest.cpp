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

TEST_F(DrawContextMetricsTest, SizeStepsStayWithinTheLevelsAndLeaveThePageAlone)
{
    const LOGFONT before = dc.CurrentLogFont();
    gDrawContext.PushSize(2);
    EXPECT_NE(dc.CurrentLogFont().lfHeight, before.lfHeight);
    gDrawContext.PopSize();
    EXPECT_EQ(dc.CurrentLogFont().lfHeight, before.lfHeight);
    gDrawContext.SetBaseSize(9);
    gDrawContext.PushSize(3);
    EXPECT_EQ(gDrawContext.GetSizeLevel(), 9);
    gDrawContext.PopSize();
    gDrawContext.SetBaseSize(0);
    gDrawContext.PushSize(-1);
    EXPECT_EQ(gDrawContext.GetSizeLevel(), 0);
    gDrawContext.PopSize();
    // The page follows the base level only.
    gDrawContext.SetBaseSize(5);
    const int paper = gDrawContext.GetPaperIndex();
    gDrawContext.PushSize(-3);
    EXPECT_EQ(gDrawContext.GetPaperIndex(), paper);
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
