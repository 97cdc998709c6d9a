// Bitmaps of every kind the picture stage meets: their checks, their
// conversion into PNG rows, and the encoding.
#include "export/CWebImageDC.h"

#include "PngChunks.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

class MemorySink : public PngByteSink {
public:
    bool Write(const std::uint8_t* data, std::size_t length) noexcept override
    {
        if (failAfter >= 0 && bytes.size() + length > std::size_t(failAfter))
            return false;
        bytes.insert(bytes.end(), data, data + length);
        return true;
    }
    std::vector<std::uint8_t> bytes;
    long failAfter = -1;
};

// A bitmap of width x height at the given depth with every row's bytes from row.
WebImageDib Dib(int width, int height, int bits, std::vector<std::uint8_t> row, std::uint32_t compression = 0)
{
    WebImageDib dib;
    dib.width = width;
    dib.height = height;
    dib.bitCount = std::uint16_t(bits);
    dib.compression = compression;
    std::size_t stride = ((std::size_t(width) * bits + 31) / 32) * 4;
    row.resize(stride, 0);
    for (int y = 0; y < height; ++y)
        dib.bits.insert(dib.bits.end(), row.begin(), row.end());
    return dib;
}

std::string FailureOf(const WebImageDib& dib, int transparentCount = 0)
{
    PngWriteParams params = MakePngWriteParams(dib, true, std::nullopt);
    params.transparentCount = transparentCount;
    MemorySink sink;
    std::string message;
    EXPECT_FALSE(CWebImageDC::WritePNG(params, sink, message));
    return message;
}

QImage Encoded(const WebImageDib& dib, MemorySink& sink, std::optional<PngRgb> transparent = std::nullopt)
{
    std::string message;
    EXPECT_TRUE(CWebImageDC::WritePNG(MakePngWriteParams(dib, true, transparent), sink, message)) << message;
    return QImage::fromData(sink.bytes.data(), int(sink.bytes.size()), "PNG");
}

}  // namespace

TEST(PngConversion, SixteenBitAndBitFieldPixelsMoveEachChannelDown)
{
    // Plain 16 bits are 5-5-5, widened to the top bits.
    MemorySink sink555;
    QImage image = Encoded(Dib(2, 1, 16, {0xFF, 0x7F, 0x1F, 0x00}), sink555);
    EXPECT_EQ(image.pixel(0, 0), qRgb(248, 248, 248));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 248));

    // 32 bits whose masks pick the third, second and first byte: unshifted.
    WebImageDib dib = Dib(1, 1, 32, {0x33, 0x22, 0x11, 0x00}, 3);
    dib.masks = {0xFF0000, 0xFF00, 0xFF};
    MemorySink sink;
    EXPECT_EQ(Encoded(dib, sink).pixel(0, 0), qRgb(0x11, 0x22, 0x33));

    // 16 bits 5-6-5: each channel widened to 8 bits.
    WebImageDib wide = Dib(1, 1, 16, {0xFF, 0xFF}, 3);
    wide.masks = {0xF800, 0x07E0, 0x001F};
    MemorySink sink565;
    EXPECT_EQ(Encoded(wide, sink565).pixel(0, 0), qRgb(248, 252, 248));

    // Masks wider than 8 bits keep their top 8 bits.
    WebImageDib tenBits = Dib(1, 1, 32, {0x00, 0x00, 0xF0, 0x3F}, 3);  // 0x3FF00000: all ten red bits
    tenBits.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
    MemorySink sinkTen;
    EXPECT_EQ(Encoded(tenBits, sinkTen).pixel(0, 0), qRgb(255, 0, 0));
}

TEST(PngConversion, TwentyFourBitRowsArePaddedAndRunTopToBottom)
{
    WebImageDib dib = Dib(3, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    PngImage image;
    std::string message;
    ASSERT_TRUE(ConvertDibForPng(MakePngWriteParams(dib, false, std::nullopt), image, message));
    EXPECT_EQ(image.rowLength, 12u);
    EXPECT_EQ(image.bitDepth, 8);
    EXPECT_EQ(image.colourType, kPngColourRgb);
    ASSERT_EQ(image.rows.size(), 2u);
    EXPECT_EQ(image.rows[0][0], 3);  // blue, green, red become red, green, blue
    EXPECT_EQ(image.rows[0][2], 1);

    // Bottom-up bitmap: its first row is the picture's last.
    WebImageDib twoRows = Dib(1, 2, 32, {0, 0, 255, 0});
    twoRows.bits[4] = 255, twoRows.bits[6] = 0;  // the second stored row, the top one, is blue
    MemorySink sink;
    QImage encoded = Encoded(twoRows, sink);
    EXPECT_EQ(encoded.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(encoded.pixel(0, 1), qRgb(255, 0, 0));
}

TEST(PngConversion, PaletteBitmapsKeepTheirRowsAndColours)
{
    WebImageDib dib = Dib(4, 1, 8, {0, 1, 2, 1});
    dib.colours.assign(3, {0, 0, 0, 0});
    dib.colours[1] = {255, 0, 0, 0};  // blue, green, red, reserved
    dib.colours[2] = {0, 128, 64, 0};
    MemorySink sink;
    QImage image = Encoded(dib, sink);
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(2, 0), qRgb(64, 128, 0));
    std::vector<PngChunk> chunks = ReadPngChunks(sink.bytes);
    EXPECT_EQ(chunks[0].data[8], 8);  // bit depth
    EXPECT_EQ(chunks[0].data[9], 3);  // palette
    // No colours-used count: the full 256 entries.
    ASSERT_NE(FindChunk(chunks, "PLTE"), nullptr);
    EXPECT_EQ(FindChunk(chunks, "PLTE")->data.size(), 768u);

    dib.clrUsed = 3;
    MemorySink three;
    Encoded(dib, three);
    EXPECT_EQ(FindChunk(ReadPngChunks(three.bytes), "PLTE")->data.size(), 9u);

    WebImageDib mono = Dib(9, 1, 1, {0xAA, 0x80});
    mono.colours = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    MemorySink monoSink;
    QImage bits = Encoded(mono, monoSink);
    EXPECT_EQ(bits.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(bits.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(bits.pixel(8, 0), qRgb(255, 255, 255));
}

TEST(PngConversion, TransparentPaletteColourMarksItsEntry)
{
    WebImageDib dib = Dib(2, 1, 8, {0, 2});
    dib.clrUsed = 3;
    dib.colours = {{0, 0, 0, 0}, {9, 9, 9, 0}, {255, 255, 255, 0}};
    MemorySink sink;
    QImage image = Encoded(dib, sink, PngRgb{255, 255, 255});
    std::vector<PngChunk> chunks = ReadPngChunks(sink.bytes);
    const PngChunk* trns = FindChunk(chunks, "tRNS");
    ASSERT_NE(trns, nullptr);
    EXPECT_EQ(trns->data, (std::vector<std::uint8_t>{255, 255, 0}));
    EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 255);

    MemorySink absent;  // a colour the palette lacks marks nothing
    Encoded(dib, absent, PngRgb{1, 2, 3});
    EXPECT_EQ(FindChunk(ReadPngChunks(absent.bytes), "tRNS"), nullptr);
}

TEST(PngConversion, BadBitmapsFailWithTheirMessages)
{
    WebImageDib dib = Dib(2, 2, 24, {});
    dib.headerSize = 12;
    EXPECT_EQ(FailureOf(dib), "DIB has BITMAPCOREHEADER.\n\rUnsupported DIB type.");
    dib.headerSize = 64;
    EXPECT_EQ(FailureOf(dib), "Invalid DIB BITMAPINFOHEADER");
    dib.headerSize = 108;
    dib.compression = 2;
    EXPECT_EQ(FailureOf(dib), "DIB Compression Type: 2, not supported.");
    dib.compression = 0;
    EXPECT_EQ(FailureOf(dib, 300), "Illegal # of transparent entries in palette: 300.");

    EXPECT_EQ(FailureOf(Dib(2, 2, 16, {}, 4)), "Invalid DIB Compression Type: 4.");
    EXPECT_EQ(FailureOf(Dib(2, 2, 12, {})), "Bit depth of 12 is invalid\nfor color type 2.");
    WebImageDib tooMany = Dib(2, 2, 4, {});
    tooMany.clrUsed = 17;
    EXPECT_EQ(FailureOf(tooMany), "Invalid biClrUsed field value: 17");

    WebImageDib grey = Dib(2, 2, 24, {});
    PngWriteParams params = MakePngWriteParams(grey, true, std::nullopt);
    params.colourType = kPngColourGrey;
    MemorySink sink;
    std::string message;
    EXPECT_FALSE(CWebImageDC::WritePNG(params, sink, message));
    EXPECT_EQ(message, "Bit depth of 24 is invalid\nfor color type 0.");
    params.colourType = 7;
    EXPECT_FALSE(CWebImageDC::WritePNG(params, sink, message));
    EXPECT_EQ(message, "Invalid color type: 7");
    EXPECT_TRUE(sink.bytes.empty());
}

TEST(PngConversion, SizesThatDoNotMatchTheBitsAreRefused)
{
    WebImageDib shortBits = Dib(4, 4, 32, {});
    shortBits.bits.resize(20);
    EXPECT_FALSE(FailureOf(shortBits).empty());
    WebImageDib flat = Dib(4, 1, 32, {});
    flat.height = 0;
    EXPECT_FALSE(FailureOf(flat).empty());
    WebImageDib topDown = Dib(4, 1, 32, {});
    topDown.height = -1;
    EXPECT_FALSE(FailureOf(topDown).empty());
}

TEST(PngConversion, AWriteFailureEndsCleanlyThroughTheErrorReturn)
{
    MemorySink sink;
    sink.failAfter = 40;  // the signature and header fit, the rest does not
    std::string message;
    WebImageDib dib = Dib(16, 16, 32, {1, 2, 3, 0});
    EXPECT_FALSE(CWebImageDC::WritePNG(MakePngWriteParams(dib, true, std::nullopt), sink, message));
    EXPECT_EQ(message, "Pnglib error [from setjmp()].");
}
