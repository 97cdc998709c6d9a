// The Edit menu's clipboard commands on the system clipboard, read back as
// another program reads it: Copy as/Metafile puts the selected formula there
// as an enhanced metafile, a PNG image and SVG text, which Qt reads back as a
// picture of the selection; what was copied or cut last is there whatever
// the user undid before.
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

class SystemClipboardTest : public ViewTest {
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

    static std::string ClipboardText() { return QGuiApplication::clipboard()->text().toStdString(); }

private:
    PlatformClipboard* m_fake = nullptr;
};

TEST_F(SystemClipboardTest, TheSelectedFormulaIsOnTheClipboardAsEmfPngAndSvg)
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

TEST_F(SystemClipboardTest, OnlyASelectionInsideOneFormulaCopiesAsAPicture)
{
    Type("x+1");
    PutCaret(1, 2);
    EXPECT_FALSE(Update(kCopyMetafile).enabled);
    Select(1, 1, 3);
    EXPECT_TRUE(Update(kCopyMetafile).enabled);
}

// Copy, Cut or Paste after an undone Copy, Cut or Paste: the copy or cut is
// what the clipboard holds, and a paste pastes what it showed and leaves it
// there. An undone copy or cut that found the clipboard empty empties it
// when it is dropped only while nothing was copied, cut or pasted since.
TEST_F(SystemClipboardTest, WhatWasCopiedOrCutLastStaysAfterAnUndoneCopyCutOrPaste)
{
    constexpr UINT kTextStyle = 32701 + 3; // also drops the undo step
    struct Step {
        const char* name;
        UINT command;
        int from, to;
    };
    // In "one two", the first step takes "one" from an empty clipboard, or
    // pastes "zz" from another program at the end; it is undone. The second
    // takes "two", or pastes at the start.
    const Step first[] = {{"copy", ID_EDIT_COPY, 1, 4}, {"cut", ID_EDIT_CUT, 1, 4}, {"paste", ID_EDIT_PASTE, 8, 8}};
    const Step then[] = {{"copy", ID_EDIT_COPY, 5, 8}, {"cut", ID_EDIT_CUT, 5, 8}, {"paste", ID_EDIT_PASTE, 1, 1}};
    for (const auto& f : first) {
        for (const auto& t : then) {
            SCOPED_TRACE(std::string(t.name) + " after an undone " + f.name);
            Command(kTextStyle);
            Select(1, 1, Row(1)->GetCount() + 1);
            Type("one two");
            if (f.command == ID_EDIT_PASTE)
                QGuiApplication::clipboard()->setText("zz");
            else
                QGuiApplication::clipboard()->clear();
            ProcessEvents();
            Select(1, f.from, f.to);
            Command(f.command);
            Command(ID_EDIT_UNDO);
            ASSERT_EQ(Text(1), "one two");
            // An undone copy or cut of an empty clipboard leaves its own
            // content there until it is dropped.
            const std::string shown = f.command == ID_EDIT_PASTE ? "zz" : "one";
            EXPECT_EQ(ClipboardText(), shown);
            Select(1, t.from, t.to);
            Command(t.command);
            ProcessEvents();
            const std::string expected = t.command == ID_EDIT_PASTE ? shown : "two";
            EXPECT_EQ(ClipboardText(), expected);
            EXPECT_EQ(Text(1), t.command == ID_EDIT_CUT    ? "one " :
                               t.command == ID_EDIT_PASTE ? expected + "one two" : "one two");
            Command(kTextStyle);
            EXPECT_EQ(ClipboardText(), expected);
        }
    }
}

}  // namespace
