#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

#include "platform/clipboard/ClipboardText.h"
#include "platform/clipboard/QtClipboard.h"

namespace {

const std::vector<uint8_t> archiveBytes{'d', 'r', 'a', 'P', 0, 0, 0, 0, 0xff, 0x0d, 0x0a, 0x80};

// Puts text on the system clipboard as another program would.
void OtherProgramPuts(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

void ExpectOwnFormatsRoundTrip(PlatformClipboard& clipboard)
{
    ClipboardData data;
    data.privateData = archiveBytes;
    data.text = "First paragraph\rSecond\r";
    ASSERT_TRUE(clipboard.Put(data));
    EXPECT_TRUE(clipboard.OwnsClipboard());
    EXPECT_EQ(clipboard.GetPriorityFormat({PlatformClipboard::PrivateFormat, PlatformClipboard::TextFormat,
                                           PlatformClipboard::MetafileFormat}),
              PlatformClipboard::PrivateFormat);
    EXPECT_EQ(clipboard.GetPrivateData(), archiveBytes);
    EXPECT_EQ(clipboard.GetText(), "First paragraph\rSecond\r");
    EXPECT_FALSE(clipboard.HasFormat(PlatformClipboard::MetafileFormat));
    EXPECT_FALSE(clipboard.GetMetafile());
}

} // namespace

TEST(ClipboardTextTest, LineEndsAndNulsConvertBothWays)
{
    using namespace std::string_literals;
    const std::pair<std::string, std::string> forProgram[] = {
        {"a\r\nb\nc\rd\n\ne", "a\rb\rc\rd\r\re"}, {"\r\n\r\r\n\n", "\r\r\r\r"},
        {"kept\0dropped\r\n"s, "kept"}, {"\xe2\x88\x9e\r\n", "\xe2\x88\x9e\r"}};
    for (const auto& [in, out] : forProgram)
        EXPECT_EQ(ClipboardText::ForProgram(in), out);
    EXPECT_EQ(ClipboardText::ForOtherPrograms("p1\rp2\r"), "p1\np2\n");
    EXPECT_EQ(ClipboardText::ForOtherPrograms("a\r\nb\nc"), "a\nb\nc");
    EXPECT_EQ(ClipboardText::ForOtherPrograms("x\r\0"s), "x\n");
}

TEST(QtClipboardTest, PrivateFormatAndTextRoundTrip)
{
    QtClipboard clipboard;
    ExpectOwnFormatsRoundTrip(clipboard);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasFormat("application/x-quorvant-data"));
    EXPECT_EQ(mime->text(), "First paragraph\nSecond\n"); // other programs see line feeds
}

TEST(QtClipboardTest, AnotherProgramTakesOwnership)
{
    QtClipboard clipboard;
    ClipboardData data;
    data.privateData = archiveBytes;
    data.text = "ours";
    ASSERT_TRUE(clipboard.Put(data));
    EXPECT_TRUE(clipboard.HasFormat(PlatformClipboard::PrivateFormat));

    OtherProgramPuts(QStringLiteral("theirs\r\nline two"));
    EXPECT_FALSE(clipboard.OwnsClipboard());
    EXPECT_FALSE(clipboard.HasFormat(PlatformClipboard::PrivateFormat));
    EXPECT_EQ(clipboard.GetPriorityFormat({PlatformClipboard::PrivateFormat, PlatformClipboard::TextFormat}),
              PlatformClipboard::TextFormat);
    EXPECT_EQ(clipboard.GetText(), "theirs\rline two");
    OtherProgramPuts(QString::fromUtf8("x\xe2\x88\x9e\r\ny\0z", 10));
    EXPECT_EQ(clipboard.GetText(), "x\xe2\x88\x9e\ry"); // foreign text ends at its first NUL

    // Clearing no longer touches what the other program put.
    const QString theirs = QGuiApplication::clipboard()->text();
    clipboard.Clear();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), theirs);

    // A second instance of the clipboard object does not own what the first put.
    QtClipboard other;
    ASSERT_TRUE(clipboard.Put(data));
    EXPECT_FALSE(other.OwnsClipboard());
    clipboard.Clear();
    EXPECT_FALSE(clipboard.HasFormat(PlatformClipboard::TextFormat));
}

TEST(QtClipboardTest, PicturesMathMLAndSvgGoUnderTheirMimeTypes)
{
    QtClipboard clipboard;
    ClipboardData picture;
    picture.metafile = std::vector<uint8_t>{1, 0, 0, 0, 0x6c, 0, 0, 0};
    picture.png = std::vector<uint8_t>{0x89, 'P', 'N', 'G'};
    picture.svg = "<svg/>";
    ASSERT_TRUE(clipboard.Put(picture));
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(mime->data("image/x-emf"), QByteArray("\x01\0\0\0\x6c\0\0\0", 8));
    EXPECT_EQ(mime->data("image/png"), QByteArray("\x89PNG"));
    EXPECT_EQ(mime->data("image/svg+xml"), QByteArray("<svg/>"));
    EXPECT_FALSE(mime->hasText());
    EXPECT_EQ(clipboard.GetPriorityFormat({PlatformClipboard::PrivateFormat, PlatformClipboard::TextFormat,
                                           PlatformClipboard::MetafileFormat}),
              PlatformClipboard::MetafileFormat);
    EXPECT_EQ(clipboard.GetMetafile(), picture.metafile);

    ClipboardData mathml;
    mathml.text = "<math><mi>x</mi></math>";
    mathml.mathml = mathml.text;
    ASSERT_TRUE(clipboard.Put(mathml));
    mime = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(mime->text(), "<math><mi>x</mi></math>");
    EXPECT_EQ(mime->data("application/mathml+xml"), QByteArray("<math><mi>x</mi></math>"));

    // Another program's metafile under the other common name is read too.
    auto* foreign = new QMimeData;
    foreign->setData("image/emf", QByteArray("EMF"));
    QGuiApplication::clipboard()->setMimeData(foreign);
    EXPECT_TRUE(clipboard.HasFormat(PlatformClipboard::MetafileFormat));
    EXPECT_EQ(clipboard.GetMetafile(), (std::vector<uint8_t>{'E', 'M', 'F'}));
}

// Text that another program offers only under the UTF-8 form of the text type
// is read as text, and the program's own text is offered under that form too.
TEST(QtClipboardTest, TextOfferedOnlyAsUtf8PlainTextIsRead)
{
    QtClipboard clipboard;
    auto* mime = new QMimeData;
    mime->setData("text/plain;charset=utf-8", QByteArray("\xce\xb1 \xc3\xa9\n"));
    QGuiApplication::clipboard()->setMimeData(mime);
    EXPECT_TRUE(clipboard.HasFormat(PlatformClipboard::TextFormat));
    EXPECT_EQ(clipboard.GetText(), "\xce\xb1 \xc3\xa9\r");

    ClipboardData data;
    data.text = "\xce\xb1\r";
    ASSERT_TRUE(clipboard.Put(data));
    const QMimeData* put = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(put->data("text/plain;charset=utf-8"), QByteArray("\xce\xb1\n"));
    EXPECT_EQ(put->text(), QString::fromUtf8("\xce\xb1\n"));
}
