#pragma once
// A picture: the bytes of an enhanced metafile (the standard EMF format), held
// as a value. Copying copies the bytes; Delete empties it. The bounds (device
// pixels of the recording device) and the frame (hundredths of a millimetre)
// come from the header.
#include "platform/draw/GdiTypes.h"

#include <QByteArray>

class EnhMetafile {
public:
    EnhMetafile() = default;
    // Takes the bytes as they are; IsValid says whether they have an EMF header.
    explicit EnhMetafile(QByteArray bytes) : m_bytes(std::move(bytes)) {}

    bool IsNull() const { return m_bytes.isEmpty(); }
    // The bytes start with a well-formed header record whose sizes fit the data.
    bool IsValid() const;
    const QByteArray& Bytes() const { return m_bytes; }
    void Delete() { m_bytes.clear(); }

    // Header fields; empty rectangles when the header is not valid.
    CRect GetBounds() const;  // inclusive-exclusive box of what was drawn, device pixels
    CRect GetFrame() const;   // the picture frame in 0.01 mm, as stored in the header
    // The reference device's resolution in pixels per inch, from the header's
    // device size in pixels and in millimetres (96 when they are unusable).
    double ReferenceDpiX() const;
    double ReferenceDpiY() const;
    // The frame in pixels of the reference device (left, top, right, bottom with
    // right/bottom excluded).
    CRect FrameInPixels() const;

    bool operator==(const EnhMetafile& other) const { return m_bytes == other.m_bytes; }

private:
    QByteArray m_bytes;
};

// The handle form of pictures used where the drawing code passes metafiles by
// handle: a heap copy that its holder deletes.
using HENHMETAFILE = EnhMetafile*;
HENHMETAFILE CopyEnhMetaFile(HENHMETAFILE source);
bool DeleteEnhMetaFile(HENHMETAFILE handle);
