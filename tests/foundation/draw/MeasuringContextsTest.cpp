// Text measured through the drawing context on a measuring context of its
// own per font must answer exactly what the target device answers.
#include "DrawTestSupport.h"

#include "foundation/MeasuringContexts.h"
#include "platform/draw/MeasureDC.h"
#include "platform/draw/PainterDC.h"

#include <string>
#include <vector>

namespace {

const char* const kSamples[] = {"the layout of", "f(x)=y", "WAVY", "x+1", " ", "integral 2.5", "\xe9t\xe9"};

// A context of a kind the measuring contexts do not know.
class OtherDC : public CPainterDC {
public:
    explicit OtherDC(int dpi) : m_dpi(dpi), m_device(1, 1, QImage::Format_RGB32) { SetImageDpi(m_device, dpi); }

protected:
    QPaintDevice* metricsDevice() const override { return &m_device; }
    int dpiX() const override { return m_dpi; }
    int dpiY() const override { return m_dpi; }
    CSize deviceSize() const override { return CSize(100, 100); }

private:
    int m_dpi;
    mutable QImage m_device;
};

// A kind made from the image context, as the views' client contexts are.
class ClientImageDC : public CImageDC {
public:
    using CImageDC::CImageDC;
};

int DirectWidth(const CDC& dc, const std::string& text)
{
    return dc.GetTextExtent(text).cx;
}

std::vector<int> DirectPositions(const CDC& dc, const std::string& text)
{
    std::vector<int> extents(text.size());
    dc.GetTextExtentExPoint(text.data(), int(text.size()), extents.data());
    return extents;
}

std::vector<int> ContextPositions(const std::string& text)
{
    std::vector<int32_t> widths(text.size());
    gDrawContext.GetCharPositions(Str255(text.c_str()), widths.data());
    return {widths.begin(), widths.end()};
}

} // namespace

class MeasuringContextsTest : public DrawTest {
protected:
    // Every face at every size, switching back and forth, against the target
    // measured itself with the same font selected.
    void ExpectSameAsTarget(CDC& target)
    {
        gDrawContext.BeginDrawOnDC(nullptr, &target);
        for (int round = 0; round < 2; ++round) {
            for (int level = 0; level <= 9; level += 3) {
                gDrawContext.SetBaseSize(level);
                for (int face = 0; face < FontManager::kFaceCount; ++face) {
                    gDrawContext.SetFontFamily(face);
                    for (const char* sample : kSamples) {
                        SCOPED_TRACE(std::string(sample) + " face " + std::to_string(face) + " level " +
                                     std::to_string(level));
                        const Str255 text(sample);
                        EXPECT_EQ(gDrawContext.GetStringWidth(text), DirectWidth(target, sample));
                        EXPECT_EQ(gDrawContext.GetCharWidth('W'), DirectWidth(target, "W"));
                        EXPECT_EQ(ContextPositions(sample), DirectPositions(target, sample));
                    }
                }
            }
        }
        gDrawContext.EndDraw();
    }
};

TEST_F(MeasuringContextsTest, WidthsEqualTheTargetsOnImagesAtAnyResolution)
{
    for (int dpi : {96, 120, 300}) {
        SCOPED_TRACE(dpi);
        QImage image(50, 50, QImage::Format_RGB32);
        SetImageDpi(image, dpi);
        CImageDC imageDc(image);
        ExpectSameAsTarget(imageDc);
        CMeasureDC measureDc(dpi);
        ExpectSameAsTarget(measureDc);
        ClientImageDC clientDc(image);
        ExpectSameAsTarget(clientDc);
    }
}

TEST_F(MeasuringContextsTest, OnlyImageBackedContextsAreServedByAnotherContext)
{
    QImage image(10, 10, QImage::Format_RGB32);
    SetImageDpi(image, 96);
    ClientImageDC known(image);
    OtherDC other(96);
    CFont font;
    font.CreatePixelFont("Arial", 20);
    known.SelectObject(&font);
    other.SelectObject(&font);

    const CDC& measuring = MeasuringContexts::For(known);
    EXPECT_NE(&measuring, &known);
    EXPECT_EQ(measuring.CurrentLogFont(), font.GetLogFont());
    EXPECT_EQ(&MeasuringContexts::For(known), &measuring);  // kept while the font is the same
    EXPECT_EQ(&MeasuringContexts::For(other), &other);

    // Other targets are still measured, by themselves.
    ExpectSameAsTarget(other);
}

TEST_F(MeasuringContextsTest, ManyFontsAndClearingKeepTheAnswersRight)
{
    CMeasureDC dc(96);
    // More fonts than the contexts keep: they are made afresh on the way.
    std::vector<CFont> fonts(150);
    for (size_t i = 0; i < fonts.size(); ++i)
        fonts[i].CreatePixelFont(i % 2 ? "Arial" : "Courier", int(6 + i / 2));
    for (int round = 0; round < 2; ++round) {
        for (CFont& font : fonts) {
            dc.SelectObject(&font);
            EXPECT_EQ(MeasuringContexts::For(dc).GetTextExtent("quickly", 7).cx, DirectWidth(dc, "quickly"));
        }
        MeasuringContexts::Clear();
    }
}

TEST_F(MeasuringContextsTest, FollowsTheTargetsFontAndKeepsTheSavedFontOfTheLevel)
{
    CMeasureDC dc(96);
    CFont outside;
    outside.CreatePixelFont("Courier", 11);
    dc.SelectObject(&outside);

    gDrawContext.BeginDrawOnDC(nullptr, &dc);
    CFont* chosen = dc.GetCurrentFont();
    EXPECT_NE(chosen, &outside);
    const Rect box = gDrawContext.GetCurrentCharBox();
    gDrawContext.PushSize(0);  // the same font again
    EXPECT_EQ(dc.GetCurrentFont(), chosen);
    EXPECT_EQ(gDrawContext.GetCurrentCharBox(), box);
    gDrawContext.PopSize();

    // A font selected into the target directly is followed.
    const int textWidth = gDrawContext.GetStringWidth(Str255("WAVY"));
    CFont large;
    large.CreatePixelFont("Arial", 40);
    CFont* previous = dc.SelectObject(&large);
    EXPECT_EQ(gDrawContext.GetStringWidth(Str255("WAVY")), DirectWidth(dc, "WAVY"));
    EXPECT_GT(gDrawContext.GetStringWidth(Str255("WAVY")), textWidth);
    dc.SelectObject(previous);
    EXPECT_EQ(gDrawContext.GetStringWidth(Str255("WAVY")), textWidth);
    gDrawContext.EndDraw();
    EXPECT_EQ(dc.GetCurrentFont(), &outside);
}

TEST_F(MeasuringContextsTest, TextDrawnWithKnownAdvancesLooksAsTheDevicesOwn)
{
    QImage ours(420, 260, QImage::Format_RGB32);
    QImage theirs(420, 260, QImage::Format_RGB32);
    for (QImage* image : {&ours, &theirs}) {
        image->fill(Qt::white);
        SetImageDpi(*image, 96);
    }
    {
        CImageDC dc(ours);
        gDrawContext.BeginDrawOnDC(nullptr, &dc);
        for (int face = 0; face < FontManager::kFaceCount; ++face) {
            gDrawContext.SetFontFamily(face);
            gDrawContext.MoveTo(IntPoint(5, 25 + 30 * face));
            gDrawContext.DrawString(Str255("Wavy f(x)=y \xe9t\xe9 2.5"));
            gDrawContext.DrawChar('Q');
        }
        gDrawContext.EndDraw();
    }
    {
        CImageDC dc(theirs);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextAlign(TA_BASELINE | TA_LEFT);
        for (int face = 0; face < FontManager::kFaceCount; ++face) {
            dc.SelectObject(fonts.GetFace(face)->GetFont(DrawContext::kDefaultBaseSize, 96));
            dc.TextOut(5, 25 + 30 * face, "Wavy f(x)=y \xe9t\xe9 2.5");
            dc.TextOut(5, 25 + 30 * face, "Q");
        }
    }
    EXPECT_GT(InkedPixels(ours), 1000);
    EXPECT_TRUE(ours == theirs);
}
