#pragma once
// Builds the bytes of an enhanced metafile record by record: a header that is
// completed when the picture is closed, the records, and the end record.
#include "platform/draw/GdiTypes.h"

#include <QByteArray>
#include <QRect>
#include <QRegion>
#include <QString>

#include <cstdint>
#include <vector>

class EmfWriter {
public:
    // dpi: the recording device's resolution; description: stored in the header.
    EmfWriter(int dpi, const QString& description);

    // One record: its type and body (padded to a multiple of four bytes).
    class Record {
    public:
        explicit Record(std::uint32_t type) : m_type(type) {}
        Record& u32(std::uint32_t v);
        Record& i32(std::int32_t v) { return u32(std::uint32_t(v)); }
        Record& u16(std::uint16_t v);
        Record& u8(std::uint8_t v);
        Record& f32(float v);
        Record& rect(const QRect& r);  // left, top, right (excl.), bottom (excl.)
        Record& rectInclusive(const QRect& r);
        Record& bytes(const QByteArray& b);
        Record& utf16(const QString& text, int padToChars = 0);
        Record& regionData(const QRegion& region);
        int size() const { return 8 + int(m_body.size()); }
        std::uint32_t type() const { return m_type; }
        const QByteArray& body() const { return m_body; }

    private:
        std::uint32_t m_type;
        QByteArray m_body;
    };

    void add(const Record& record);

    // A free object slot; Release gives it back.
    std::uint32_t AllocateHandle();
    void ReleaseHandle(std::uint32_t handle);

    // Writes the end record, completes the header and answers the bytes.
    // bounds: what was drawn (device pixels, right/bottom excluded); frame: the
    // picture's frame in device pixels.
    QByteArray Finish(const QRect& bounds, const QRect& frame);

    static int regionDataSize(const QRegion& region) { return 32 + 16 * int(region.rectCount()); }

private:
    QByteArray m_data;
    int m_records = 0;
    int m_dpi;
    std::vector<bool> m_handles;  // slot 0 is the metafile itself
};
