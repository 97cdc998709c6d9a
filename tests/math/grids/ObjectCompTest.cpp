// Links and pictures: geometry, editing, equality and export forms.
#include "GridTestSupport.h"

#include <memory>

namespace {

// A picture of the given frame, read from a record as a file stores it.
std::unique_ptr<PictureComp> PictureOfSize(int32_t width, int32_t height, HENHMETAFILE bits)
{
    auto bytes = GridTest::Store([&](DocWriter& writer) {
        writer.WriteLong(width);
        writer.WriteLong(height);
        int32_t count = bits ? static_cast<int32_t>(bits->Bytes().size()) : 0;
        writer.WriteLong(count);
        if (count)
            writer.WriteBytes(bits->Bytes().constData(), count);
    });
    MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    DocReader reader(&stream);
    auto picture = std::make_unique<PictureComp>();
    picture->Read(reader);
    return picture;
}

} // namespace

class ObjectCompTest : public GridTest {
protected:
    ObjectCompTest()
    {
        gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 40, 20));
        gDrawContext.DrawLine(IntPoint(0, 0), IntPoint(40, 20));
        recorded = gDrawContext.EndMetafile();
    }
    ~ObjectCompTest() override
    {
        DrawContext::DeleteMetafile(recorded);
        HyperlinkComp::SetPropertiesPrompt(nullptr);
    }

    HENHMETAFILE recorded = nullptr;
};

TEST_F(ObjectCompTest, PictureSizeIsConvertedOnceFromHundredthsOfAMillimetre)
{
    auto picture = PictureOfSize(2540, 1270, recorded);
    EXPECT_EQ(LaTeX(*picture), "\\fbox{$[picture 72x36]$} ");
    picture->Measure();
    Rect bounds;
    picture->GetBounds(bounds);
    EXPECT_EQ(bounds, Rect(0, -48, 96, 0));  // 1 inch by half an inch at 96 dpi
    picture->SetOrigin(IntPoint(10, 100));
    EXPECT_EQ(picture->GetDrawRect(), Rect(10, 52, 106, 100));

    // Converting through truncated points first would give 26 and 27 pixels here.
    EXPECT_EQ(PictureComp::ToPoints(1000), 28);
    EXPECT_EQ(PictureComp::ToDevice(1000, 96), 37);

    // Drawing plays the held picture into the rectangle.
    gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 200, 200));
    HENHMETAFILE empty = gDrawContext.EndMetafile();
    gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 200, 200));
    picture->Draw();
    HENHMETAFILE drawn = gDrawContext.EndMetafile();
    EXPECT_GT(drawn->Bytes().size(), empty->Bytes().size());
    DrawContext::DeleteMetafile(empty);
    DrawContext::DeleteMetafile(drawn);
}

// A picture 0x7fffffff wide and high overflowed layout; every size, read or
// pasted, is scaled down to the limit keeping its shape.
TEST_F(ObjectCompTest, PictureSizesBeyondTheLimitAreScaledDownKeepingTheirShape)
{
    constexpr int32_t max = PictureComp::kMaxSize;
    const struct {
        int32_t width, height, shownWidth, shownHeight;
    } cases[] = {
        {2540, 1270, 2540, 1270},
        {max, max, max, max},
        {2 * max, max, max, max / 2},
        {max / 4, 4 * max, max / 16, max},
        {0x7fffffff, 0x7fffffff, max, max},
        {-5, 300, 0, 300},
    };
    for (const auto& c : cases) {
        auto picture = PictureOfSize(c.width, c.height, nullptr);
        EXPECT_EQ(picture->GetWidth100(), c.shownWidth) << c.width << " x " << c.height;
        EXPECT_EQ(picture->GetHeight100(), c.shownHeight) << c.width << " x " << c.height;
    }

    // Another program's picture with a frame of about ten by five metres.
    gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 40000, 20000));
    gDrawContext.DrawLine(IntPoint(0, 0), IntPoint(40000, 20000));
    HENHMETAFILE huge = gDrawContext.EndMetafile();
    PictureComp pasted(huge);
    EXPECT_EQ(pasted.GetWidth100(), max);
    EXPECT_NEAR(pasted.GetHeight100(), max / 2, 1);
    DrawContext::DeleteMetafile(huge);
}

TEST_F(ObjectCompTest, PictureTakesItsSizeFromTheFrameAndCopiesTheBits)
{
    ASSERT_NE(recorded, nullptr);
    PictureComp picture(recorded);
    CRect frame = recorded->GetFrame();
    EXPECT_EQ(picture.GetWidth100(), frame.right - frame.left);
    EXPECT_EQ(picture.GetHeight100(), frame.bottom - frame.top);
    EXPECT_NE(picture.GetMetafile(false), recorded);
    EXPECT_EQ(*picture.GetMetafile(false), *recorded);

    LinkRemap remap;
    std::unique_ptr<TextComp> clone(picture.Clone(remap));
    auto& cloned = static_cast<PictureComp&>(*clone);
    EXPECT_EQ(*cloned.GetMetafile(false), *recorded);
    // Two pictures never compare equal, not even a picture and its copy.
    EXPECT_FALSE(picture.IsEqual(cloned));
    EXPECT_EQ(LinearText(picture), "picture");
}

// The XHTML table stands outside any paragraph and is centred by its class.
TEST_F(ObjectCompTest, PictureExportFormsUseLowerCaseInXhtml)
{
    auto picture = PictureOfSize(2540, 1270, recorded);
    RecordingElements xhtml;
    picture->WriteXHTML(xhtml);
    EXPECT_EQ(xhtml.text, "<table class=picture border=2><tr><td>[img 96x48]</td></tr></table>");
    for (const std::string& name : xhtml.names)
        for (char c : name)
            EXPECT_FALSE(std::isupper(static_cast<unsigned char>(c))) << name;

    RecordingElements html;
    picture->WriteHTML(html);
    EXPECT_EQ(html.text, "<TABLE ALIGN=CENTER BORDER=2><TR><TD>[img 96x48]</TD></TR></TABLE>");
}

TEST_F(ObjectCompTest, DamagedPictureCountsAreRefused)
{
    for (int32_t count : {-1, 1000, 0x7FFFFFFF}) {
        auto bytes = Store([&](DocWriter& writer) {
            writer.WriteLong(100);
            writer.WriteLong(100);
            writer.WriteLong(count);
            writer.WriteLong(0);
        });
        MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
        DocReader reader(&stream);
        PictureComp picture;
        EXPECT_THROW(picture.Read(reader), CFormatException) << count;
    }
}

TEST_F(ObjectCompTest, LinkShowsItsTextAndIsOneUnitForTheCaret)
{
    CompList row(Chars("ab"));
    auto* link = new HyperlinkComp("http://example.org/", "Example", true);
    row.InsertAt(link, 2);
    link->Measure();
    Rect bounds;
    link->GetBounds(bounds);
    // Measured in the bold face the link is drawn in, not the text face.
    gDrawContext.SetFontFamily(0);
    const int regular = gDrawContext.GetStringWidth(Str255("Example"));
    gDrawContext.SetFontFamily(2);
    const int drawn = gDrawContext.GetStringWidth(Str255("Example"));
    gDrawContext.SetFontFamily(0);
    EXPECT_GT(drawn, regular);
    EXPECT_EQ(bounds.Width(), drawn);
    link->SetOrigin(IntPoint(50, 20));
    DocPosition position;
    link->PositionFromPoint(position, IntPoint(50 + bounds.right - 1, 20), true);
    EXPECT_EQ(position, DocPosition(&row, 2));
    EXPECT_EQ(LinearText(*link), "Example");
    EXPECT_EQ(LaTeX(*link), "[link http://example.org/|Example]");

    HyperlinkComp same("http://example.org/", "Example", false);
    HyperlinkComp other("http://example.org/x", "Example", true);
    EXPECT_TRUE(link->IsEqual(same));
    EXPECT_FALSE(link->IsEqual(other));
}

TEST_F(ObjectCompTest, EditingThroughTheLinkDialog)
{
    CompList row(Chars("word"));
    auto* link = new HyperlinkComp("a.vxm", "old", false);
    row.Append(link);
    std::string proposed;
    HyperlinkComp::SetPropertiesPrompt([&](Str255& url, Str255& text) {
        proposed = text.GetText();
        return false;
    });
    DocSelection characters(&row, 1, 5);
    EXPECT_FALSE(link->Edit(&characters));
    EXPECT_EQ(proposed, "word");  // the selected characters are proposed
    EXPECT_STREQ(link->GetDisplayText().GetText(), "old");  // Cancel keeps the link

    HyperlinkComp::SetPropertiesPrompt([](Str255& url, Str255& text) {
        url = "http://example.org/";
        text = "new";
        return true;
    });
    EXPECT_TRUE(link->Edit(nullptr));
    EXPECT_STREQ(link->GetURL().GetText(), "http://example.org/");
    EXPECT_TRUE(link->IsDirty());

    HyperlinkComp::SetPropertiesPrompt(nullptr);
    EXPECT_FALSE(link->Edit(&characters));
    EXPECT_STREQ(link->GetDisplayText().GetText(), "new");
}
