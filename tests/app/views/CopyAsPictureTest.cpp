// Edit/Copy as/Metafile on the system clipboard: the selected formula goes
// there as an enhanced metafile, a PNG image and SVG text, which Qt reads
// back as a picture of the selection.
#include "ViewFixture.h"

#include "foundation/DrawTargetScope.h"
#include "platform/clipboard/PlatformClipboard.h"
#include "platform/draw/EnhMetafile.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QXmlStreamReader>

#include <cstring>

namespace {

constexpr UINT kCopyMetafile = 34010;

std::uint32_t Little32(const QByteArray& bytes, int at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.constData() + at, 4);
    return value;
}

class CopyAsPictureTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        // The system clipboard through Qt, in place of the fake.
        m_fake = PlatformClipboard::Install(nullptr);
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override
    {
        PlatformClipboard::Install(m_fake);
        ViewTest::TearDown();
    }

private:
    PlatformClipboard* m_fake = nullptr;
};

TEST_F(CopyAsPictureTest, TheSelectedFormulaIsOnTheClipboardAsEmfPngAndSvg)
{
    Type("x+1=y");
    Select(1, 1, 6);
    ASSERT_TRUE(Update(kCopyMetafile).enabled);
    Command(kCopyMetafile);
    ProcessEvents();

    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);

    // An enhanced metafile: its header record, the " EMF" signature, and a
    // frame of the formula's size.
    ASSERT_TRUE(mime->hasFormat(PlatformClipboard::metafileMimeType));
    const QByteArray emf = mime->data(PlatformClipboard::metafileMimeType);
    ASSERT_GT(emf.size(), 88);
    EXPECT_EQ(Little32(emf, 0), 1u);
    EXPECT_EQ(Little32(emf, 40), 0x464D4520u);
    EnhMetafile picture(emf);
    ASSERT_TRUE(picture.IsValid());
    const QSize frame(picture.FrameInPixels().Width(), picture.FrameInPixels().Height());
    EXPECT_GT(frame.width(), 30);
    EXPECT_GT(frame.height(), 10);

    // A PNG image of the same size with the formula's ink.
    ASSERT_TRUE(mime->hasFormat(PlatformClipboard::pngMimeType));
    QImage image = QImage::fromData(mime->data(PlatformClipboard::pngMimeType), "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), frame);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(ink, 20);

    // SVG text: well-formed, an svg root.
    ASSERT_TRUE(mime->hasFormat(PlatformClipboard::svgMimeType));
    QXmlStreamReader svg(mime->data(PlatformClipboard::svgMimeType));
    ASSERT_TRUE(svg.readNextStartElement());
    EXPECT_EQ(svg.name(), QStringLiteral("svg"));
    while (!svg.atEnd())
        svg.readNext();
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
}

TEST_F(CopyAsPictureTest, OnlyASelectionInsideOneFormulaCopiesAsAPicture)
{
    Type("x+1");
    PutCaret(1, 2);
    EXPECT_FALSE(Update(kCopyMetafile).enabled);
    Select(1, 1, 3);
    EXPECT_TRUE(Update(kCopyMetafile).enabled);
}

}  // namespace
