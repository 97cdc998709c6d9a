// The export picture surface: drawing, saving as PNG, and failing cleanly.
#include "export/CWebImageDC.h"

#include "PngChunks.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QThread>
#include <QFile>
#include <QImage>

#include <fstream>

#include <sys/stat.h>

namespace {

std::string OutputPath(const std::string& name)
{
    QDir().mkpath(QV_TEST_OUTPUT);
    std::string path = std::string(QV_TEST_OUTPUT) + "/" + name;
    QFile::remove(QString::fromStdString(path));
    return path;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray all = file.readAll();
    return std::vector<std::uint8_t>(all.begin(), all.end());
}

// A small picture with fills, a line and text.
void DrawPicture(CWebImageDC& dc)
{
    dc.FillSolidRect(CRect(0, 0, dc.Width(), dc.Height()), RGB(255, 255, 255));
    dc.FillSolidRect(CRect(5, 5, 30, 20), RGB(200, 30, 40));
    CPen pen(PS_SOLID, 2, RGB(0, 0, 255));
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(0, 35);
    dc.LineTo(60, 10);
    dc.SelectObject(old);
    dc.TextOut(32, 22, "x+1");
}

}  // namespace

TEST(CWebImageDC, SavedPictureReadsBackAsDrawnAtEveryScreenDepth)
{
    for (int depth : {32, 24, 16}) {
        CWebImageDC dc;
        ASSERT_TRUE(dc.Create(CSize(61, 40), depth));
        DrawPicture(dc);
        std::string path = OutputPath("drawn-" + std::to_string(depth) + ".png");
        ASSERT_TRUE(dc.SaveAsPNG(path, true, false, RGB(255, 255, 255))) << dc.LastMessage();
        QImage back(QString::fromStdString(path));
        ASSERT_EQ(back.size(), QSize(61, 40));
        QImage drawn = dc.Image().convertToFormat(QImage::Format_RGB32);
        int differences = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 61; ++x) {
                QRgb want = drawn.pixel(x, y), got = back.pixel(x, y);
                if (depth == 16)  // 5 bits a channel come back as the top bits of a byte
                    want = qRgb(qRed(want) & 0xF8, qGreen(want) & 0xF8, qBlue(want) & 0xF8);
                differences += (want & 0xFFFFFF) != (got & 0xFFFFFF);
            }
        EXPECT_EQ(differences, 0) << depth;
        EXPECT_EQ(back.pixel(10, 10) & 0xFFFFFF, depth == 16 ? 0xC81828u : 0xC81E28u) << depth;
    }
}

TEST(CWebImageDC, WritesTheFixedChunks)
{
    CWebImageDC dc;
    ASSERT_TRUE(dc.Create(CSize(20, 10), 24));
    std::string path = OutputPath("chunks.png");
    ASSERT_TRUE(dc.SaveAsPNG(path, true, false, RGB(255, 255, 255)));
    std::vector<PngChunk> chunks = ReadPngChunks(ReadBytes(path));
    ASSERT_FALSE(chunks.empty());
    EXPECT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.back().type, "IEND");
    const std::vector<std::uint8_t>& header = chunks.front().data;
    ASSERT_EQ(header.size(), 13u);
    EXPECT_EQ(BigEndian32(&header[0]), 20u);
    EXPECT_EQ(BigEndian32(&header[4]), 10u);
    EXPECT_EQ(header[8], 8);   // bit depth
    EXPECT_EQ(header[9], 2);   // RGB
    EXPECT_EQ(header[12], 1);  // Adam7
    EXPECT_EQ(CountChunks(chunks, "tEXt"), 1);
    const PngChunk* text = FindChunk(chunks, "tEXt");
    std::string entry(text->data.begin(), text->data.end());
    EXPECT_EQ(entry, std::string("Quorvant\0CWebImageDC / PNG", 26));
    EXPECT_EQ(CountChunks(chunks, "tIME"), 0);
    EXPECT_EQ(CountChunks(chunks, "tRNS"), 0);
    EXPECT_EQ(CountChunks(chunks, "gAMA"), 0);
    EXPECT_EQ(CountChunks(chunks, "PLTE"), 0);

    ASSERT_TRUE(dc.SaveAsPNG(path, false, false, RGB(255, 255, 255)));
    chunks = ReadPngChunks(ReadBytes(path));
    ASSERT_FALSE(chunks.empty());
    EXPECT_EQ(chunks.front().data[12], 0);
}

TEST(CWebImageDC, TheSamePictureSavedTwiceGivesTheSameBytes)
{
    CWebImageDC dc;
    ASSERT_TRUE(dc.Create(CSize(30, 12), 24));
    dc.MoveTo(0, 0);
    dc.LineTo(29, 11);
    std::string first = OutputPath("same-1.png"), second = OutputPath("same-2.png");
    ASSERT_TRUE(dc.SaveAsPNG(first, true, false, RGB(255, 255, 255)));
    // Far enough apart that a clock written into the file would show.
    QThread::msleep(1100);
    ASSERT_TRUE(dc.SaveAsPNG(second, true, false, RGB(255, 255, 255)));
    EXPECT_EQ(ReadBytes(first), ReadBytes(second));
}

TEST(CWebImageDC, WritingAFileDirectlyGivesTheSameBytesAndFailsOnlyCleanly)
{
    CWebImageDC dc;
    ASSERT_TRUE(dc.Create(CSize(16, 9), 24));
    dc.MoveTo(0, 8);
    dc.LineTo(15, 0);
    std::string saved = OutputPath("saved.png"), written = OutputPath("written.png");
    ASSERT_TRUE(dc.SaveAsPNG(saved, true, false, RGB(255, 255, 255)));
    {
        std::ofstream older(written);
        older << std::string(5000, 'x');
    }
    // The file is made new: one that is there already is left as it is.
    EXPECT_FALSE(dc.WritePNGFile(written, true, false, RGB(255, 255, 255)));
    EXPECT_EQ(ReadBytes(written).size(), 5000u);
    QFile::remove(QString::fromStdString(written));
    ASSERT_TRUE(dc.WritePNGFile(written, true, false, RGB(255, 255, 255)));
    EXPECT_EQ(ReadBytes(saved), ReadBytes(written));

    std::string missingFolder = std::string(QV_TEST_OUTPUT) + "/no-such-folder/direct.png";
    EXPECT_FALSE(dc.WritePNGFile(missingFolder, true, false, RGB(255, 255, 255)));
    EXPECT_FALSE(dc.LastMessage().empty());
    // A device is neither written nor removed.
    if (QFile::exists("/dev/full")) {
        EXPECT_FALSE(dc.WritePNGFile("/dev/full", true, false, RGB(255, 255, 255)));
        EXPECT_TRUE(QFile::exists("/dev/full"));
    }
}

TEST(CWebImageDC, TransparentColourBecomesATransparencyChunk)
{
    CWebImageDC dc;
    ASSERT_TRUE(dc.Create(CSize(8, 8), 32));
    dc.FillSolidRect(CRect(0, 0, 8, 8), RGB(10, 20, 30));
    dc.FillSolidRect(CRect(0, 0, 4, 4), RGB(200, 0, 0));
    std::string path = OutputPath("transparent.png");
    ASSERT_TRUE(dc.SaveAsPNG(path, true, true, RGB(10, 20, 30)));
    std::vector<PngChunk> chunks = ReadPngChunks(ReadBytes(path));
    const PngChunk* trns = FindChunk(chunks, "tRNS");
    ASSERT_NE(trns, nullptr);
    EXPECT_EQ(trns->data, (std::vector<std::uint8_t>{0, 10, 0, 20, 0, 30}));
    QImage back(QString::fromStdString(path));
    EXPECT_EQ(qAlpha(back.pixel(6, 6)), 0);
    EXPECT_EQ(back.pixel(1, 1), qRgba(200, 0, 0, 255));
}

TEST(CWebImageDC, SurfaceNeverCreatedAnswersFalse)
{
    CWebImageDC dc;
    EXPECT_FALSE(dc.HasBitmap());
    std::string path = OutputPath("never-created.png");
    EXPECT_FALSE(dc.SaveAsPNG(path, true, false, RGB(255, 255, 255)));
    EXPECT_FALSE(dc.LastMessage().empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
    // Drawing on it does nothing and breaks nothing.
    dc.FillSolidRect(CRect(0, 0, 10, 10), RGB(0, 0, 0));

    EXPECT_FALSE(dc.Create(CSize(0, 10)));
    EXPECT_FALSE(dc.Create(CSize(10, -1)));
    EXPECT_FALSE(dc.Create(CSize(100000, 100000)));
    EXPECT_FALSE(dc.HasBitmap());
}

TEST(CWebImageDC, UnwritablePlacesAnswerFalseAndLeaveNoFile)
{
    CWebImageDC dc;
    ASSERT_TRUE(dc.Create(CSize(4, 4)));
    std::string missingFolder = std::string(QV_TEST_OUTPUT) + "/no-such-folder/picture.png";
    EXPECT_FALSE(dc.SaveAsPNG(missingFolder, true, false, RGB(255, 255, 255)));
    EXPECT_FALSE(dc.LastMessage().empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(missingFolder)));

    std::string folder = OutputPath("a-folder.png");
    QDir().mkpath(QString::fromStdString(folder));
    EXPECT_FALSE(dc.SaveAsPNG(folder, true, false, RGB(255, 255, 255)));
    EXPECT_TRUE(QFileInfo(QString::fromStdString(folder)).isDir());

    // A read-only file keeps its content.
    std::string locked = OutputPath("locked.png");
    {
        QFile file(QString::fromStdString(locked));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    ::chmod(locked.c_str(), 0444);
    if (::access(locked.c_str(), W_OK) != 0) {  // not when the tests run as root
        EXPECT_FALSE(dc.SaveAsPNG(locked, true, false, RGB(255, 255, 255)));
        EXPECT_EQ(ReadBytes(locked), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    }
    ::chmod(locked.c_str(), 0644);
    // Nothing half written was left beside the targets.
    QDir output(QV_TEST_OUTPUT);
    EXPECT_TRUE(output.entryList({".*.tmp"}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST(CWebImageDC, CreatingAgainGivesAFreshPicture)
{
    CWebImageDC dc;
    ASSERT_TRUE(dc.Create(CSize(10, 10), 32));
    dc.FillSolidRect(CRect(0, 0, 10, 10), RGB(0, 0, 0));
    ASSERT_TRUE(dc.Create(CSize(5, 3), 32));
    EXPECT_EQ(dc.Width(), 5);
    EXPECT_EQ(dc.Height(), 3);
    EXPECT_EQ(dc.Image().pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 5);
    dc.FillSolidRect(CRect(0, 0, 1, 1), RGB(0, 255, 0));
    EXPECT_EQ(dc.Image().pixel(0, 0), qRgb(0, 255, 0));
}
