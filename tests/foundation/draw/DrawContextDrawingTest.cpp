// Real drawing through the drawing context into images and pictures.
#include "DrawTestSupport.h"

#include "platform/draw/MeasureDC.h"

#include <vector>

class DrawContextDrawingTest : public DrawTest {
protected:
    void SetUp() override { gDrawContext.BeginDraw(&view); }
    ImageView view{400, 300};
};

TEST_F(DrawContextDrawingTest, TallDelimitersFillTheirSpan)
{
    for (unsigned char c : {'(', ')', '{', '}'}) {
        view.image.fill(Qt::white);
        gDrawContext.MoveTo(IntPoint(50, 0));
        gDrawContext.DrawTallDelimiter(c, 40, 240);
        EXPECT_EQ(gDrawContext.GetFontFamily(), 0);
        // Ink near the top, the middle and the bottom of the span, none far outside.
        EXPECT_GT(InkedPixels(view.image, QRect(40, 40, 60, 30)), 0) << c;
        EXPECT_GT(InkedPixels(view.image, QRect(40, 125, 60, 30)), 0) << c;
        EXPECT_GT(InkedPixels(view.image, QRect(40, 210, 60, 30)), 0) << c;
        EXPECT_EQ(InkedPixels(view.image, QRect(0, 0, 400, 30)), 0) << c;
        EXPECT_EQ(InkedPixels(view.image, QRect(0, 252, 400, 48)), 0) << c;
        // The pieces join into one vertical stroke: the columns that hold
        // ink over a good part of the span are next to each other.
        std::vector<int> strokeColumns;
        for (int x = 30; x < 110; ++x)
            if (InkedPixels(view.image, QRect(x, 70, 1, 140)) >= 20)
                strokeColumns.push_back(x);
        ASSERT_FALSE(strokeColumns.empty()) << c;
        EXPECT_LE(strokeColumns.back() - strokeColumns.front(), 2) << c << " " << ::testing::PrintToString(strokeColumns);
    }
}

namespace {

// The outer edge of the ink of each row: the leftmost inked column for an
// opening parenthesis, the rightmost for a closing one (-1: no ink).
std::vector<int> OuterEdges(const QImage& image, bool left)
{
    std::vector<int> edges(size_t(image.height()), -1);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(left ? x : image.width() - 1 - x, y)) < 128) {
                edges[size_t(y)] = left ? x : image.width() - 1 - x;
                break;
            }
    return edges;
}

}  // namespace

// At a printer's resolution a stem is many pixels wide: the pieces of a tall
// parenthesis must still join into one stroke, without a step where a hook
// meets a straight extension.
TEST_F(DrawTest, TallParenthesesJoinAtThePrintersResolution)
{
    for (unsigned char c : {'(', ')'}) {
        ImageView tall(1000, 1600);
        SetImageDpi(tall.image, 600);
        gDrawContext.BeginDraw(&tall);
        gDrawContext.MoveTo(IntPoint(300, 0));
        gDrawContext.DrawTallDelimiter(c, 200, 1400);
        gDrawContext.EndDraw();
        const std::vector<int> edges = OuterEdges(tall.image, c == '(');
        // Away from the tips, the stroke's edge moves by a pixel or two from
        // one row to the next; where misplaced pieces meet it jumps.
        std::vector<size_t> inked;
        for (size_t y = 0; y < edges.size(); ++y)
            if (edges[y] >= 0)
                inked.push_back(y);
        ASSERT_GT(inked.size(), 100u) << c;
        std::vector<size_t> jumps;
        for (size_t k = 15; k + 16 < inked.size(); ++k)
            if (std::abs(edges[inked[k + 1]] - edges[inked[k]]) > 3)
                jumps.push_back(inked[k]);
        EXPECT_TRUE(jumps.empty()) << c << " jumps at rows " << ::testing::PrintToString(jumps);
    }
}

TEST_F(DrawContextDrawingTest, LinesShapesAndRegions)
{
    gDrawContext.DrawLine(IntPoint(10, 10), IntPoint(110, 10));
    gDrawContext.DrawLineRel(0, 20);
    EXPECT_GT(InkedPixels(view.image, QRect(110, 10, 1, 20)), 15);

    gDrawContext.SelectPen(PS_SOLID, 3, RGB(255, 0, 0));
    gDrawContext.DrawRectangle(Rect(200, 50, 260, 90));
    gDrawContext.RestorePen();
    EXPECT_EQ(view.image.pixel(201, 70) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(InkedPixels(view.image, QRect(210, 60, 40, 20)), 0);  // an outline only

    const Region region = Region::RegionFromRect(Rect(20, 150, 60, 190));
    gDrawContext.FillRegionGray(region);
    EXPECT_EQ(view.image.pixel(40, 170) & 0xFFFFFF, 0x808080u);
    gDrawContext.FillRegionAndShow(region);
    EXPECT_EQ(view.image.pixel(40, 170) & 0xFFFFFF, 0x7F7F7Fu);
    ASSERT_FALSE(view.invalidated.empty());
    EXPECT_EQ(view.invalidated.back(), Rect(20, 150, 60, 190));

    gDrawContext.FrameRegion(Rect(100, 200, 140, 240));
    EXPECT_EQ(view.image.pixel(101, 220) & 0xFFFFFF, 0x000080u);  // the highlight colour
    EXPECT_EQ(view.image.pixel(103, 220) & 0xFFFFFF, 0xFFFFFFu);  // two pixels wide

    gDrawContext.SetClipRegion(Rect(300, 0, 320, 300));
    gDrawContext.FillRegion(Region::RegionFromRect(Rect(280, 200, 340, 210)), RGB(0, 0, 255));
    gDrawContext.ClearClipRegion();
    EXPECT_EQ(InkedPixels(view.image, QRect(280, 200, 60, 10)), 20 * 10);
}

TEST_F(DrawContextDrawingTest, LabelBoxesAndGreyBoxes)
{
    Str255 label("A1");
    Rect box;
    gDrawContext.MeasureLabel(IntPoint(100, 100), label, box);
    EXPECT_EQ(box.top, 100);
    Rect box2;
    gDrawContext.MeasureLabelLeftOf(IntPoint(100, 100), label, box2);
    EXPECT_EQ(box2.right, 100);
    EXPECT_EQ(box2.Width(), box.Width() + 4);
    EXPECT_EQ(box2.Height(), box.Height() + 2);
    // Measuring gives the current font back.
    EXPECT_EQ(gDrawContext.GetDC()->CurrentLogFont().lfHeight, -18);

    gDrawContext.DrawLabelBox(IntPoint(100, 100), label);
    EXPECT_GT(InkedPixels(view.image, QRect(box.left, box.top, box.Width(), box.Height())), box.Width() * box.Height() / 2);
    EXPECT_EQ(InkedPixels(view.image, QRect(box.right, box.top, 20, box.Height())), 0);

    gDrawContext.FillGrayBox(IntPoint(20, 50));
    // The em box (0, -12, 9, 2) four times as wide and shrunk by 2: (22, 40) to (54, 50).
    EXPECT_EQ(InkedPixels(view.image, QRect(0, 0, 100, 99)), 32 * 10);
    EXPECT_EQ(view.image.pixel(22, 40) & 0xFFFFFF, 0x808080u);
}

TEST_F(DrawContextDrawingTest, APictureRecordsWhatIsDrawnInItsRectangle)
{
    gDrawContext.BeginMetafile(&view, Rect(100, 100, 200, 150));
    EXPECT_TRUE(gDrawContext.IsRecording());
    gDrawContext.MoveTo(IntPoint(110, 130));
    gDrawContext.DrawString(Str255("xy"));
    gDrawContext.DrawLine(IntPoint(100, 100), IntPoint(150, 125));
    HENHMETAFILE picture = gDrawContext.EndMetafile();
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(gDrawContext.IsRecording());
    EXPECT_EQ(gDrawContext.GetDC()->CurrentLogFont().lfHeight, -18);
    EXPECT_EQ(InkedPixels(view.image), 0);  // nothing went to the view
    EXPECT_EQ(gDrawContext.EndMetafile(), nullptr);

    gDrawContext.PlayMetafile(picture, Rect(0, 0, 100, 50));
    EXPECT_GT(InkedPixels(view.image, QRect(0, 0, 100, 50)), 10);
    EXPECT_EQ(InkedPixels(view.image, QRect(101, 0, 299, 300)), 0);
    DrawContext::DeleteMetafile(picture);
}
