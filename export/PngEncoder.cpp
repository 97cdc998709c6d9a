#include "export/PngEncoder.h"

#include <png.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>

namespace {

// More pixels than any exported picture has; larger bitmaps are refused
// before anything is allocated for them.
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;

std::string formatted(const char* pattern, int value)
{
    char text[160];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string formatted(const char* pattern, int value, int second)
{
    char text[160];
    std::snprintf(text, sizeof text, pattern, value, second);
    return text;
}

bool fail(std::string& message, std::string text)
{
    message = std::move(text);
    return false;
}

std::size_t stride(int width, int bits)
{
    return ((std::size_t(width) * std::size_t(bits) + 31) / 32) * 4;
}

std::uint32_t littleEndian16(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}

std::uint32_t littleEndian32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// One channel of a bit-field pixel: the mask's bits moved down to the bottom
// and widened to 8 bits. Masks wider than 8 bits keep their top 8 bits.
class BitFieldChannel {
public:
    explicit BitFieldChannel(std::uint32_t mask) : m_mask(mask)
    {
        if (mask == 0)
            return;
        m_shift = std::countr_zero(mask);
        int ones = std::popcount(mask >> m_shift);
        if (ones > 8)
            m_shift += ones - 8;
        else
            m_widen = 8 - ones;
    }
    std::uint8_t operator()(std::uint32_t pixel) const
    {
        return std::uint8_t((((pixel & m_mask) >> m_shift) & 255) << m_widen);
    }

private:
    std::uint32_t m_mask;
    int m_shift = 0;
    int m_widen = 0;
};

// The checks every bitmap passes before conversion, in this order.
bool checkDib(const PngWriteParams& params, std::string& message)
{
    const WebImageDib& dib = *params.dib;
    if (dib.headerSize == 12)
        return fail(message, "DIB has BITMAPCOREHEADER.\n\rUnsupported DIB type.");
    if (dib.headerSize != 40 && dib.headerSize != 108)
        return fail(message, "Invalid DIB BITMAPINFOHEADER");
    if (dib.compression == 1 || dib.compression == 2)
        return fail(message, formatted("DIB Compression Type: %d, not supported.", int(dib.compression)));
    if (params.transparentCount < 0 || params.transparentCount > 256)
        return fail(message, formatted("Illegal # of transparent entries in palette: %d.", params.transparentCount));
    // The sizes must describe the bits that are there.
    if (dib.width <= 0 || dib.height <= 0 || std::int64_t(dib.width) * dib.height > kMaxPixels)
        return fail(message, formatted("Invalid DIB size: %d x %d.", dib.width, dib.height));
    if (dib.bitCount <= 32 && dib.bits.size() < stride(dib.width, dib.bitCount) * std::size_t(dib.height))
        return fail(message, "DIB bits are shorter than its size.");
    return true;
}

void pointRows(PngImage& image, const std::uint8_t* buffer)
{
    image.rows.resize(std::size_t(image.height));
    for (int i = 0; i < image.height; ++i)
        image.rows[std::size_t(i)] = buffer + std::size_t(image.height - 1 - i) * image.rowLength;
}

bool convertGrey(const WebImageDib& dib, PngImage& image, std::string& message)
{
    int bits = dib.bitCount;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16)
        return fail(message, formatted("Bit depth of %d is invalid\nfor color type %d.", bits, kPngColourGrey));
    image.bitDepth = bits;
    image.rowLength = stride(dib.width, bits);
    pointRows(image, dib.bits.data());
    return true;
}

bool convertRgb(const WebImageDib& dib, PngImage& image, std::string& message)
{
    int bits = dib.bitCount;
    bool sixteenOr32 = bits == 16 || bits == 32;
    if (sixteenOr32 && dib.compression != 0 && dib.compression != 3)
        return fail(message, formatted("Invalid DIB Compression Type: %d.", int(dib.compression)));
    if (!sixteenOr32 && bits != 24)
        return fail(message, formatted("Bit depth of %d is invalid\nfor color type %d.", bits, kPngColourRgb));
    std::size_t source = stride(dib.width, bits);
    image.rowLength = stride(dib.width, 24);
    image.pixels.assign(image.rowLength * std::size_t(dib.height), 0);
    BitFieldChannel red(dib.masks[0]), green(dib.masks[1]), blue(dib.masks[2]);
    bool fields = dib.compression == 3;
    for (int row = 0; row < dib.height; ++row) {
        const std::uint8_t* in = dib.bits.data() + std::size_t(row) * source;
        std::uint8_t* out = image.pixels.data() + std::size_t(row) * image.rowLength;
        for (int x = 0; x < dib.width; ++x, out += 3) {
            if (bits == 24) {
                out[0] = in[3 * x + 2], out[1] = in[3 * x + 1], out[2] = in[3 * x];
                continue;
            }
            std::uint32_t p = bits == 16 ? littleEndian16(in + 2 * x) : littleEndian32(in + 4 * x);
            if (fields) {
                out[0] = red(p), out[1] = green(p), out[2] = blue(p);
            } else if (bits == 16) {  // 5-5-5
                out[0] = std::uint8_t((p >> 7) & 0xF8);
                out[1] = std::uint8_t((p >> 2) & 0xF8);
                out[2] = std::uint8_t((p & 0x1F) << 3);
            } else {
                out[0] = std::uint8_t(p >> 16), out[1] = std::uint8_t(p >> 8), out[2] = std::uint8_t(p);
            }
        }
    }
    image.bitDepth = 8;
    pointRows(image, image.pixels.data());
    return true;
}

bool convertPalette(const PngWriteParams& params, PngImage& image, std::string& message)
{
    const WebImageDib& dib = *params.dib;
    int bits = dib.bitCount;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8)
        return fail(message, formatted("Bit depth of %d is invalid\nfor color type %d.", bits, kPngColourPalette));
    std::uint32_t most = 1u << bits;
    if (dib.clrUsed > most)
        return fail(message, formatted("Invalid biClrUsed field value: %d", int(dib.clrUsed)));
    int count = dib.clrUsed == 0 ? int(most) : int(dib.clrUsed);
    if (count < 1 || std::uint32_t(count) > most)
        return fail(message, formatted("Illegal num_colors: %d", count));
    image.palette.resize(std::size_t(count));
    // A colour table shorter than its count leaves the rest black.
    for (std::size_t i = 0; i < image.palette.size() && i < dib.colours.size(); ++i)
        image.palette[i] = {dib.colours[i][2], dib.colours[i][1], dib.colours[i][0]};
    // The transparent colour is the first palette entry of that colour;
    // entries before it stay opaque.
    if (params.transparent) {
        for (std::size_t i = 0; i < image.palette.size(); ++i)
            if (image.palette[i] == *params.transparent) {
                image.paletteAlpha.assign(i + 1, 255);
                image.paletteAlpha[i] = 0;
                break;
            }
    }
    image.bitDepth = bits;
    image.rowLength = stride(dib.width, bits);
    pointRows(image, dib.bits.data());
    return true;
}

// ---- libpng ----
// Everything the encoding needs, in plain data, so that nothing with a
// destructor lives where libpng may jump back from an error.
struct PngJob {
    const PngImage* image;
    const PngWriteParams* params;
    png_color* palette;
    png_text* text;
    png_color_16* transparentColour;
    PngByteSink* sink;
    const char* failure;
    char detail[200];
};

void keepDetail(PngJob* job, png_const_charp text)
{
    std::snprintf(job->detail, sizeof job->detail, "%s", text ? text : "");
}

[[noreturn]] void onPngError(png_structp png, png_const_charp text)
{
    keepDetail(static_cast<PngJob*>(png_get_error_ptr(png)), text);
    png_longjmp(png, 1);
}

void onPngWarning(png_structp png, png_const_charp text)
{
    keepDetail(static_cast<PngJob*>(png_get_error_ptr(png)), text);
}

void writeBlock(png_structp png, png_bytep data, size_t length)
{
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (!job->sink->Write(data, length))
        png_error(png, "the bytes could not be written");
}

void flushNothing(png_structp) {}

void setTime(png_structp png, png_infop info)
{
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    png_time t{};
    t.year = png_uint_16(utc.tm_year + 1900);
    t.month = png_byte(utc.tm_mon + 1);
    t.day = png_byte(utc.tm_mday);
    t.hour = png_byte(utc.tm_hour);
    t.minute = png_byte(utc.tm_min);
    t.second = png_byte(utc.tm_sec);
    png_set_tIME(png, info, &t);
}

bool writeWithLibpng(PngJob* job)
{
    const PngImage& image = *job->image;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, job, onPngError, onPngWarning);
    if (!png) {
        job->failure = "Pnglib couldn't create a write structure.";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        job->failure = "Pnglib couldn't create an info structure.";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        job->failure = "Pnglib error [from setjmp()].";
        return false;
    }
    png_set_write_fn(png, job, writeBlock, flushNothing);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), image.bitDepth, image.colourType,
                 job->params->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    int paletteCount = int(image.palette.size());
    if (paletteCount > 0 && image.colourType != PNG_COLOR_TYPE_GRAY && image.colourType != PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_PLTE(png, info, job->palette, paletteCount);
    if (job->params->gamma > 0)
        png_set_gAMA(png, info, job->params->gamma);
    png_set_text(png, info, job->text, 1);
    if (job->params->writeTime)
        setTime(png, info);
    if (image.colourType == PNG_COLOR_TYPE_PALETTE) {
        if (!image.paletteAlpha.empty())
            png_set_tRNS(png, info, image.paletteAlpha.data(), int(image.paletteAlpha.size()), nullptr);
    } else if (job->transparentColour) {
        png_set_tRNS(png, info, nullptr, job->params->transparentCount, job->transparentColour);
    }
    png_write_info(png, info);
    int passes = job->params->interlaced ? png_set_interlace_handling(png) : 1;
    for (int pass = 0; pass < passes; ++pass)
        for (const std::uint8_t* row : image.rows)
            png_write_row(png, row);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

PngWriteParams MakePngWriteParams(const WebImageDib& dib, bool interlaced, std::optional<PngRgb> transparent)
{
    PngWriteParams params;
    params.dib = &dib;
    int bits = dib.bitCount;
    params.colourType = bits == 1 || bits == 2 || bits == 4 || bits == 8 ? kPngColourPalette : kPngColourRgb;
    params.interlaced = interlaced;
    params.textKeyword = "Quorvant";
    params.text = "CWebImageDC / PNG";
    // No time chunk: the same picture always encodes to the same bytes.
    params.writeTime = false;
    params.transparent = transparent;
    params.transparentCount = transparent ? 1 : 0;
    return params;
}

bool ConvertDibForPng(const PngWriteParams& params, PngImage& image, std::string& message)
{
    if (!params.dib)
        return fail(message, "No DIB to convert.");
    if (!checkDib(params, message))
        return false;
    const WebImageDib& dib = *params.dib;
    image = PngImage();
    image.width = dib.width;
    image.height = dib.height;
    image.colourType = params.colourType;
    try {
        switch (params.colourType) {
        case kPngColourGrey: return convertGrey(dib, image, message);
        case kPngColourRgb: return convertRgb(dib, image, message);
        case kPngColourPalette: return convertPalette(params, image, message);
        default: return fail(message, formatted("Invalid color type: %d", params.colourType));
        }
    } catch (const std::bad_alloc&) {
        return fail(message, "Couldn't allocate enough memory");
    }
}

bool EncodePng(const PngImage& image, const PngWriteParams& params, PngByteSink& sink, std::string& message,
               std::string* detail)
{
    if (image.rows.size() != std::size_t(image.height) || image.height <= 0 || image.width <= 0)
        return fail(message, "No rows to encode.");
    std::vector<png_color> palette;
    for (const PngRgb& c : image.palette)
        palette.push_back({c.red, c.green, c.blue});
    std::string keyword = params.textKeyword, text = params.text;
    png_text entry{};
    entry.compression = PNG_TEXT_COMPRESSION_NONE;
    entry.key = keyword.data();
    entry.text = text.data();
    entry.text_length = text.size();
    png_color_16 transparent{};
    if (params.transparent) {
        transparent.index = 0;
        transparent.red = params.transparent->red;
        transparent.green = params.transparent->green;
        transparent.blue = params.transparent->blue;
        transparent.gray = 0;
    }
    PngJob job{&image, &params, palette.data(), &entry,
               params.transparent && params.transparentCount > 0 ? &transparent : nullptr, &sink, nullptr, {}};
    if (writeWithLibpng(&job))
        return true;
    message = job.failure;
    if (detail)
        *detail = job.detail;
    return false;
}
