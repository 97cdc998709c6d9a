#include "platform/draw/DibImage.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::int64_t kMaxImagePixels = std::int64_t(1) << 26;

// The 0..255 value of the bits of a colour mask.
int channel(std::uint32_t value, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    std::uint64_t max = mask >> shift;
    return int(std::uint64_t((value & mask) >> shift) * 255 / max);
}

}  // namespace

namespace DibImage {

QImage Decode(const emf::Reader& r, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
              std::uint32_t cbBits, Status* status)
{
    auto bad = [status] {
        *status = Status::Bad;
        return QImage();
    };
    auto skipped = [status] {
        *status = Status::Skipped;
        return QImage();
    };
    if (cbBmi < 12 || !r.has(offBmi, cbBmi) || !r.has(offBits, cbBits))
        return bad();
    std::uint32_t headerSize = 0;
    r.u32(offBmi, headerSize);
    std::int32_t width = 0, height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0, colours = 0;
    if (headerSize == 12) {  // the old core header
        std::uint16_t w = 0, h = 0;
        r.u16(offBmi + 4, w);
        r.u16(offBmi + 6, h);
        r.u16(offBmi + 10, bitCount);
        width = w, height = h;
    } else if (headerSize >= 40 && headerSize <= cbBmi) {
        r.i32(offBmi + 4, width);
        r.i32(offBmi + 8, height);
        r.u16(offBmi + 14, bitCount);
        r.u32(offBmi + 16, compression);
        r.u32(offBmi + 32, colours);
    } else {
        return bad();
    }
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return bad();
    bool topDown = height < 0;
    std::int64_t rows = topDown ? -std::int64_t(height) : height;
    if (std::int64_t(width) * rows > kMaxImagePixels)
        return bad();
    if (compression != 0 && compression != 3)
        return skipped();  // compressed bitmaps are passed over
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return bad();
    std::int64_t stride = ((std::int64_t(width) * bitCount + 31) / 32) * 4;
    if (stride * rows > std::int64_t(cbBits))
        return bad();
    // Colour masks for bit fields, and the palette for indexed bitmaps.
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bitCount == 32) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }
    std::size_t tableAt = offBmi + headerSize;
    if (compression == 3) {
        if (!r.has(tableAt, 12) && headerSize < 52)
            return bad();
        std::size_t maskAt = headerSize >= 52 ? offBmi + 40 : tableAt;
        for (int k = 0; k < 3; ++k)
            r.u32(maskAt + 4 * k, masks[k]);
        if (headerSize < 52)
            tableAt += 12;
    }
    std::vector<QRgb> palette;
    if (bitCount <= 8) {
        std::uint32_t entries = colours ? colours : (1u << bitCount);
        std::size_t entrySize = headerSize == 12 ? 3 : 4;
        entries = std::min<std::uint32_t>(entries, 256);
        if (!r.has(tableAt, entries * entrySize) || tableAt + entries * entrySize > std::size_t(offBmi) + cbBmi)
            return bad();
        for (std::uint32_t i = 0; i < entries; ++i) {
            const auto* p = reinterpret_cast<const unsigned char*>(r.at(tableAt + i * entrySize));
            palette.push_back(qRgb(p[2], p[1], p[0]));
        }
        palette.resize(std::size_t(1) << bitCount, qRgb(0, 0, 0));
    }
    QImage image(width, int(rows), QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (std::int64_t row = 0; row < rows; ++row) {
        const auto* src = reinterpret_cast<const unsigned char*>(r.at(offBits + std::size_t(row * stride)));
        int y = topDown ? int(row) : int(rows - 1 - row);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            switch (bitCount) {
            case 1: out[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: out[x] = palette[(src[x / 2] >> (x % 2 ? 0 : 4)) & 0xF]; break;
            case 8: out[x] = palette[src[x]]; break;
            case 16: {
                std::uint32_t v = std::uint32_t(src[2 * x] | (src[2 * x + 1] << 8));
                out[x] = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
                break;
            }
            case 24: out[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
            default: {
                const unsigned char* p = src + 4 * x;
                std::uint32_t v = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
                out[x] = qRgba(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]), p[3]);
                anyAlpha = anyAlpha || p[3] != 0;
                break;
            }
            }
        }
    }
    if (bitCount == 32 && (!anyAlpha || compression == 3)) {
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] |= 0xFF000000u;
        }
    }
    *status = Status::Decoded;
    return image;
}

}  // namespace DibImage
