#include "platform/draw/EmfWriter.h"

#include "platform/draw/EmfFormat.h"

#include <cstring>

namespace {

void put32(QByteArray& data, int offset, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        data[offset + i] = char((v >> (8 * i)) & 0xFF);
}

void append32(QByteArray& data, std::uint32_t v)
{
    char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
    data.append(b, 4);
}

}  // namespace

EmfWriter::Record& EmfWriter::Record::u32(std::uint32_t v)
{
    append32(m_body, v);
    return *this;
}

EmfWriter::Record& EmfWriter::Record::u16(std::uint16_t v)
{
    m_body.append(char(v & 0xFF));
    m_body.append(char(v >> 8));
    return *this;
}

EmfWriter::Record& EmfWriter::Record::u8(std::uint8_t v)
{
    m_body.append(char(v));
    return *this;
}

EmfWriter::Record& EmfWriter::Record::f32(float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return u32(bits);
}

EmfWriter::Record& EmfWriter::Record::rect(const QRect& r)
{
    return i32(r.x()).i32(r.y()).i32(r.x() + r.width()).i32(r.y() + r.height());
}

EmfWriter::Record& EmfWriter::Record::rectInclusive(const QRect& r)
{
    return i32(r.x()).i32(r.y()).i32(r.x() + r.width() - 1).i32(r.y() + r.height() - 1);
}

EmfWriter::Record& EmfWriter::Record::bytes(const QByteArray& b)
{
    m_body.append(b);
    return *this;
}

EmfWriter::Record& EmfWriter::Record::utf16(const QString& text, int padToChars)
{
    int n = 0;
    for (QChar c : text) {
        if (padToChars > 0 && n >= padToChars - 1)
            break;
        u16(c.unicode());
        ++n;
    }
    for (; n < padToChars; ++n)
        u16(0);
    return *this;
}

EmfWriter::Record& EmfWriter::Record::regionData(const QRegion& region)
{
    QRect box = region.boundingRect();
    u32(32).u32(1).u32(std::uint32_t(region.rectCount())).u32(std::uint32_t(16 * region.rectCount()));
    rect(box);
    for (const QRect& r : region)
        rect(r);
    return *this;
}

EmfWriter::EmfWriter(int dpi, const QString& description) : m_dpi(dpi > 0 ? dpi : 96), m_handles(1, true)
{
    // The header; bounds, frame, sizes and counts are filled in by Finish.
    Record header(emf::EMR_HEADER);
    for (int i = 0; i < 8; ++i)
        header.i32(0);                 // bounds, frame
    header.u32(emf::kSignature);
    header.u32(0x10000);               // version
    header.u32(0).u32(0);              // bytes, records
    header.u16(1).u16(0);              // handles, reserved
    int descriptionChars = description.isEmpty() ? 0 : int(description.size()) + 2;
    header.u32(std::uint32_t(descriptionChars));
    header.u32(descriptionChars ? emf::kHeaderSize : 0);
    header.u32(0);                     // palette entries
    // A reference device of ten inches square: 254 mm at exactly this resolution.
    header.i32(10 * m_dpi).i32(10 * m_dpi);
    header.i32(254).i32(254);
    header.u32(0).u32(0).u32(0);       // pixel format, OpenGL
    header.u32(254000).u32(254000);    // micrometres
    if (descriptionChars) {
        header.utf16(description);
        header.u16(0).u16(0);
        while (header.size() % 4)
            header.u8(0);
    }
    add(header);
}

void EmfWriter::add(const Record& record)
{
    QByteArray body = record.body();
    while (body.size() % 4)
        body.append('\0');
    append32(m_data, record.type());
    append32(m_data, std::uint32_t(8 + body.size()));
    m_data.append(body);
    ++m_records;
}

std::uint32_t EmfWriter::AllocateHandle()
{
    for (std::size_t i = 1; i < m_handles.size(); ++i)
        if (!m_handles[i]) {
            m_handles[i] = true;
            return std::uint32_t(i);
        }
    m_handles.push_back(true);
    return std::uint32_t(m_handles.size() - 1);
}

void EmfWriter::ReleaseHandle(std::uint32_t handle)
{
    if (handle > 0 && handle < m_handles.size())
        m_handles[handle] = false;
}

QByteArray EmfWriter::Finish(const QRect& bounds, const QRect& frame)
{
    Record eof(emf::EMR_EOF);
    eof.u32(0).u32(16).u32(20);
    add(eof);
    auto mm100 = [this](int px) { return std::int32_t(std::int64_t(px) * 2540 / m_dpi); };
    if (bounds.isEmpty()) {
        put32(m_data, 8, 0);
        put32(m_data, 12, 0);
        put32(m_data, 16, std::uint32_t(-1));
        put32(m_data, 20, std::uint32_t(-1));
    } else {
        put32(m_data, 8, std::uint32_t(bounds.x()));
        put32(m_data, 12, std::uint32_t(bounds.y()));
        put32(m_data, 16, std::uint32_t(bounds.x() + bounds.width() - 1));
        put32(m_data, 20, std::uint32_t(bounds.y() + bounds.height() - 1));
    }
    put32(m_data, 24, std::uint32_t(mm100(frame.x())));
    put32(m_data, 28, std::uint32_t(mm100(frame.y())));
    put32(m_data, 32, std::uint32_t(mm100(frame.x() + frame.width())));
    put32(m_data, 36, std::uint32_t(mm100(frame.y() + frame.height())));
    put32(m_data, 48, std::uint32_t(m_data.size()));
    put32(m_data, 52, std::uint32_t(m_records));
    std::uint32_t handles = std::uint32_t(m_handles.size());
    m_data[56] = char(handles & 0xFF);
    m_data[57] = char((handles >> 8) & 0xFF);
    return m_data;
}
