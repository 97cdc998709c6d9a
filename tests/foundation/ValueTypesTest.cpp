// Type tags, short strings and the geometry values.
#include "foundation/DPoint.h"
#include "foundation/Rect.h"
#include "foundation/Region.h"
#include "foundation/Str255.h"
#include "foundation/TypeTag.h"
#include "platform/framework/CString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(TypeTag, FirstCharacterInHighByteAndBlankPadding)
{
    EXPECT_EQ(TypeTag("Frac").Value(), 0x46726163u);
    EXPECT_EQ(TypeTag("Sum"), TypeTag("Sum "));
    EXPECT_EQ(TypeTag("").Value(), 0x20202020u);
    EXPECT_EQ(TypeTag("Fracture"), tag_Frac);  // only the first four characters count
    char text[5];
    tag_Ref.ToChars(text);
    EXPECT_STREQ(text, "Ref ");
    // 0x80 as a signed byte is -128: it borrows from the bytes before it.
    const char high[] = {'A', char(0x80), 0};
    uint32_t expected = (((0x41u << 8) - 128u) << 8 | 0x20) << 8 | 0x20;
    EXPECT_EQ(TypeTag(high).Value(), expected);
}

namespace {

Str255 Repeat(char c, int n)
{
    Str255 s;
    for (int i = 0; i < n; ++i)
        s.AppendChar(c);
    return s;
}

} // namespace

TEST(Str255, AppendsStopAt255Characters)
{
    Str255 full = Repeat('a', 255);
    Str255 ten("0123456789");
    Str255 s = full;
    s.AppendChar('x');
    s.AppendText("xyz");
    s.Append(ten);
    s.AppendNumber(7);
    EXPECT_TRUE(s == full);

    Str255 t = Repeat('b', 250);
    t.Append(ten);
    ASSERT_EQ(t.GetLength(), 255);
    EXPECT_EQ(std::string(t.GetPtrAt(250), 5), "01234");

    Str255 self("abc");
    self.Append(self);
    EXPECT_TRUE(self.EqualsText("abcabc"));
}

TEST(Str255, NumbersComparisonAndSearch)
{
    Str255 s("x=");
    s.AppendNumber(-12);
    EXPECT_TRUE(s.EqualsText("x=-12"));
    EXPECT_FALSE(Str255("ab").EqualsText("abc"));
    EXPECT_FALSE(Str255("abc").EqualsText("ab"));
    EXPECT_FALSE(Str255("abc") == Str255("abd"));
    EXPECT_TRUE(Str255("hello world").ContainsText("lo w"));
    EXPECT_FALSE(Str255("hello world").ContainsText("worlds"));

    Str255 c;
    c.AssignCString(CString(std::string(300, 'q')));
    EXPECT_EQ(c.GetLength(), 255);
    Str255 longText;
    longText.AssignText(std::string(400, 'z').c_str());
    EXPECT_EQ(longText.GetLength(), 255);
}

TEST(Str255, CStrTerminatesInPlaceOrUsesTheSharedBuffer)
{
    Str255 s254 = Repeat('a', 254);
    EXPECT_EQ(s254.CStr(), s254.GetPtrAt(0));
    EXPECT_EQ(std::strlen(s254.CStr()), 254u);

    Str255 s255 = Repeat('b', 255);
    const char* q = s255.CStr();
    EXPECT_EQ(q, SharedConversionBuffer());
    EXPECT_EQ(std::strlen(q), 255u);

    const char* first = Str255("first").GetText();
    const char* second = Str255("second").GetText();
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "second");
}

TEST(Str255, MapHighCharsUsesTheReaderPlainTable)
{
    Str255 high("a");
    high.AppendChar(char(0xB0)); // stored infinity
    high.AppendChar(char(0x05)); // low codes stay
    high.MapHighChars();
    EXPECT_TRUE(high.EqualsText("a\x80\x05"));
}

TEST(Str31, TruncatesTo31Characters)
{
    Str31 s;
    s.Assign(Repeat('a', 40));
    EXPECT_EQ(s.GetLength(), 31);
    s.AppendChar('b');
    s.AppendText("cd");
    EXPECT_EQ(s.GetLength(), 31);
    EXPECT_EQ(s.CStr(), SharedConversionBuffer());

    Str31 t;
    t.AssignCString(CString(std::string(50, 'x')));
    EXPECT_EQ(t.GetLength(), 31);
}

TEST(Rect, EdgesOverlapUnionAndIntersection)
{
    Rect r(0, 0, 10, 10);
    EXPECT_TRUE(r.Contains(IntPoint(10, 10)));  // edges inside, unlike a region
    EXPECT_FALSE(r.Contains(IntPoint(11, 5)));
    // Touching on the right or bottom edge is no overlap; on the left or top it is.
    EXPECT_FALSE(r.Intersects(Rect(10, 0, 20, 10)));
    EXPECT_TRUE(r.Intersects(Rect(-10, 0, 0, 10)));
    EXPECT_TRUE(r.Intersects(Rect(0, -10, 10, 0)));
    EXPECT_FALSE(r.Intersects(Rect(0, 10, 10, 20)));
    EXPECT_TRUE(Rect(5, 5, 5, 9).IsEmpty());
    r.Deflate(-1, -2);
    EXPECT_EQ(r, Rect(-1, -2, 11, 12));
    Rect out;
    Rect::Union(Rect(0, 0, 1, 1), Rect(5, 5, 5, 5), out); // empty rectangles count too
    EXPECT_EQ(out, Rect(0, 0, 5, 5));
    Rect::Intersection(Rect(0, 0, 4, 4), Rect(2, 1, 8, 3), out);
    EXPECT_EQ(out, Rect(2, 1, 4, 3));
}

TEST(DPoint, ArithmeticAndSegmentDistances)
{
    DPoint a(1, 2), b(4, 6);
    EXPECT_DOUBLE_EQ(a.Distance(b), 5.0);
    EXPECT_EQ(DPoint::Lerp(a, b, 0.5), DPoint(2.5, 4));

    DPoint o(0, 0);
    EXPECT_DOUBLE_EQ(DPoint::DistanceToSegment(o, o, DPoint(0, 1)), 1.0);
    EXPECT_DOUBLE_EQ(DPoint::DistanceToSegment(o, DPoint(10, 0), DPoint(5, 3)), 3.0);
    EXPECT_DOUBLE_EQ(DPoint::DistanceToSegment(o, DPoint(10, 0), DPoint(13, 4)), 5.0);
    EXPECT_DOUBLE_EQ(DPoint::DistanceToSegment(o, DPoint(10, 0), DPoint(-3, 4)), 5.0);

    DPoint end(10, 0);
    EXPECT_TRUE(IsNearSegment(DPoint(5, 1), o, end, 1.0));
    EXPECT_FALSE(IsNearSegment(DPoint(5, 1), o, end, 0.5));
    EXPECT_FALSE(IsNearSegment(DPoint(11, 0), o, end, 5.0));
    EXPECT_TRUE(IsNearSegment(DPoint(0, 1), o, o, 1.0));
}

// The region's own code; what a region contains is the platform region's.
TEST(Region, SelfAssignmentUnionIntoAndCopiesKeepTheirRegions)
{
    Region r = Region::RegionFromRect(Rect(0, 0, 10, 10));
    Region& alias = r;
    r = alias;
    Rect box;
    r.GetBox(box);
    EXPECT_EQ(box, Rect(0, 0, 10, 10));

    Region joined;
    r.UnionInto(Region::RegionFromRect(Rect(5, 0, 15, 10)), joined);
    joined.GetBox(box);
    EXPECT_EQ(box, Rect(0, 0, 15, 10));
    r.GetBox(box);
    EXPECT_EQ(box, Rect(0, 0, 10, 10));

    Region copy = Region::RegionCopy(r);
    r.Delete();
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_FALSE(copy.IsEmpty());
    EXPECT_TRUE(Region().IsEmpty());
}
