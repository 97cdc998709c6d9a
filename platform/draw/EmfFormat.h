#pragma once
// The little of the EMF format that the recorder, the player and the picture
// value share: record types, stock object flags, the header's layout and
// bounds-checked little-endian reading.
#include <QByteArray>

#include <cstdint>
#include <cstring>

namespace emf {

enum RecordType : std::uint32_t {
    EMR_HEADER = 1,
    EMR_POLYBEZIER = 2,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6,
    EMR_POLYPOLYLINE = 7,
    EMR_POLYPOLYGON = 8,
    EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10,
    EMR_SETVIEWPORTEXTEX = 11,
    EMR_SETVIEWPORTORGEX = 12,
    EMR_EOF = 14,
    EMR_SETPIXELV = 15,
    EMR_SETMAPMODE = 17,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETROP2 = 20,
    EMR_SETSTRETCHBLTMODE = 21,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_OFFSETCLIPRGN = 26,
    EMR_MOVETOEX = 27,
    EMR_EXCLUDECLIPRECT = 29,
    EMR_INTERSECTCLIPRECT = 30,
    EMR_SCALEVIEWPORTEXTEX = 31,
    EMR_SCALEWINDOWEXTEX = 32,
    EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34,
    EMR_SETWORLDTRANSFORM = 35,
    EMR_MODIFYWORLDTRANSFORM = 36,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ANGLEARC = 41,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_ROUNDRECT = 44,
    EMR_ARC = 45,
    EMR_CHORD = 46,
    EMR_PIE = 47,
    EMR_LINETO = 54,
    EMR_ARCTO = 55,
    EMR_SETARCDIRECTION = 57,
    EMR_BEGINPATH = 59,
    EMR_ENDPATH = 60,
    EMR_CLOSEFIGURE = 61,
    EMR_FILLPATH = 62,
    EMR_STROKEANDFILLPATH = 63,
    EMR_STROKEPATH = 64,
    EMR_ABORTPATH = 68,
    EMR_FILLRGN = 71,
    EMR_FRAMERGN = 72,
    EMR_INVERTRGN = 73,
    EMR_PAINTRGN = 74,
    EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76,
    EMR_STRETCHBLT = 77,
    EMR_SETDIBITSTODEVICE = 80,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTA = 83,
    EMR_EXTTEXTOUTW = 84,
    EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_POLYBEZIERTO16 = 88,
    EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90,
    EMR_POLYPOLYGON16 = 91,
    EMR_CREATEMONOBRUSH = 93,
    EMR_CREATEDIBPATTERNBRUSHPT = 94,
    EMR_EXTCREATEPEN = 95,
    EMR_ALPHABLEND = 114,
    EMR_TRANSPARENTBLT = 116,
};

// Text output options.
constexpr std::uint32_t ETO_OPAQUE = 0x2;
constexpr std::uint32_t ETO_CLIPPED = 0x4;

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kStockObject = 0x80000000;
// Stock object indices.
constexpr std::uint32_t WHITE_BRUSH = 0;
constexpr std::uint32_t LTGRAY_BRUSH = 1;
constexpr std::uint32_t GRAY_BRUSH = 2;
constexpr std::uint32_t DKGRAY_BRUSH = 3;
constexpr std::uint32_t BLACK_BRUSH = 4;
constexpr std::uint32_t NULL_BRUSH = 5;
constexpr std::uint32_t WHITE_PEN = 6;
constexpr std::uint32_t BLACK_PEN = 7;
constexpr std::uint32_t NULL_PEN = 8;
constexpr std::uint32_t SYSTEM_FONT = 13;
constexpr std::uint32_t DEFAULT_GUI_FONT = 17;

// Raster operations used by the bitmap records.
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t DSTINVERT = 0x00550009;
constexpr std::uint32_t PATCOPY = 0x00F00021;
constexpr std::uint32_t BLACKNESS = 0x00000042;
constexpr std::uint32_t WHITENESS = 0x00FF0062;

constexpr int kHeaderMinSize = 88;
constexpr int kHeaderSize = 108;  // with the pixel format and micrometre fields

// Little-endian reads that answer false instead of reading past the data.
class Reader {
public:
    Reader(const char* data, std::size_t size) : m_data(data), m_size(size) {}
    std::size_t size() const { return m_size; }
    bool has(std::size_t offset, std::size_t count) const
    {
        return offset <= m_size && count <= m_size - offset;
    }
    bool u32(std::size_t offset, std::uint32_t& out) const
    {
        if (!has(offset, 4))
            return false;
        const auto* p = reinterpret_cast<const unsigned char*>(m_data + offset);
        out = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
        return true;
    }
    bool i32(std::size_t offset, std::int32_t& out) const
    {
        std::uint32_t v;
        if (!u32(offset, v))
            return false;
        out = std::int32_t(v);
        return true;
    }
    bool u16(std::size_t offset, std::uint16_t& out) const
    {
        if (!has(offset, 2))
            return false;
        const auto* p = reinterpret_cast<const unsigned char*>(m_data + offset);
        out = std::uint16_t(p[0] | (p[1] << 8));
        return true;
    }
    bool i16(std::size_t offset, std::int16_t& out) const
    {
        std::uint16_t v;
        if (!u16(offset, v))
            return false;
        out = std::int16_t(v);
        return true;
    }
    bool f32(std::size_t offset, float& out) const
    {
        std::uint32_t v;
        if (!u32(offset, v))
            return false;
        std::memcpy(&out, &v, 4);
        return true;
    }
    const char* at(std::size_t offset) const { return m_data + offset; }

private:
    const char* m_data;
    std::size_t m_size;
};

}  // namespace emf
