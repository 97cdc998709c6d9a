// Regions: rectangles exclude their right and bottom edges.
#include "platform/draw/CRgn.h"

#include <gtest/gtest.h>

TEST(Region, RectangleExcludesRightAndBottomEdges)
{
    CRgn r(CRect(0, 0, 10, 10));
    EXPECT_TRUE(r.PtInRegion(0, 0));
    EXPECT_TRUE(r.PtInRegion(9, 9));
    EXPECT_FALSE(r.PtInRegion(10, 5));
    EXPECT_FALSE(r.PtInRegion(5, 10));
    EXPECT_EQ(r.Kind(), SIMPLEREGION);

    EXPECT_TRUE(CRgn(CRect(5, 5, 5, 9)).IsEmpty());
    EXPECT_TRUE(CRgn(CRect(5, 5, 3, 9)).IsEmpty());
    EXPECT_EQ(CRgn().GetBox(), CRect());
}

TEST(Region, UnionXorAndOffset)
{
    CRgn a(CRect(0, 0, 10, 10));
    a.UnionWith(CRgn(CRect(20, 0, 30, 10)));
    EXPECT_EQ(a.GetBox(), CRect(0, 0, 30, 10));
    EXPECT_FALSE(a.PtInRegion(15, 5));
    EXPECT_EQ(a.Kind(), COMPLEXREGION);

    CRgn b(CRect(0, 0, 10, 10));
    b.XorWith(CRgn(CRect(5, 0, 15, 10)));
    EXPECT_TRUE(b.PtInRegion(2, 2));
    EXPECT_FALSE(b.PtInRegion(7, 2));
    EXPECT_TRUE(b.PtInRegion(12, 2));
    b.XorWith(CRgn(CRect(0, 0, 5, 10)));
    b.XorWith(CRgn(CRect(10, 0, 15, 10)));
    EXPECT_TRUE(b.IsEmpty());

    CRgn c(CRect(0, 0, 4, 4));
    c.OffsetRgn(10, 20);
    EXPECT_EQ(c.GetBox(), CRect(10, 20, 14, 24));
    EXPECT_TRUE(c.RectInRegion(CRect(13, 23, 20, 30)));
    EXPECT_FALSE(c.RectInRegion(CRect(14, 24, 20, 30)));
}

TEST(Region, CombineAcceptsItselfAsOperand)
{
    CRgn a(CRect(0, 0, 10, 10));
    EXPECT_EQ(a.CombineRgn(&a, &a, RGN_OR), SIMPLEREGION);
    EXPECT_EQ(a.GetBox(), CRect(0, 0, 10, 10));
    EXPECT_EQ(a.CombineRgn(&a, &a, RGN_XOR), NULLREGION);
    EXPECT_TRUE(a.IsEmpty());

    CRgn b(CRect(1, 2, 3, 4));
    CRgn& alias = b;
    b = alias;
    EXPECT_EQ(b.GetBox(), CRect(1, 2, 3, 4));
    CRgn c;
    c.CopyRgn(&b);
    b.OffsetRgn(100, 0);
    EXPECT_EQ(c.GetBox(), CRect(1, 2, 3, 4));  // a copy, not a shared region
    EXPECT_EQ(a.CombineRgn(nullptr, &b, RGN_OR), RGN_ERROR);
}

TEST(Region, FrameIsTheRegionLessItsShrunkCopy)
{
    CRgn r(CRect(0, 0, 10, 8));
    CRgn frame = r.Frame(2, 1);
    for (auto [x, y, in] : {std::tuple{0, 4, true}, {1, 4, true}, {2, 4, false}, {7, 4, false}, {8, 4, true},
                            {5, 0, true}, {5, 1, false}, {5, 7, true}})
        EXPECT_EQ(frame.PtInRegion(x, y), in) << x << "," << y;
    EXPECT_EQ(frame.GetBox(), r.GetBox());

    // An L shape: the inner corner is framed too, and a part thinner than
    // the frame is all frame.
    CRgn l(CRect(0, 0, 10, 3));
    l.UnionWith(CRgn(CRect(0, 0, 3, 10)));
    CRgn lf = l.Frame(1, 1);
    EXPECT_TRUE(lf.PtInRegion(3, 2));   // below the top bar's lower edge
    EXPECT_TRUE(lf.PtInRegion(2, 5));   // the vertical bar's right edge
    EXPECT_FALSE(lf.PtInRegion(1, 1));
    EXPECT_TRUE(CRgn(CRect(0, 0, 2, 10)).Frame(1, 1).EqualRgn(CRgn(CRect(0, 0, 2, 10))));
}
