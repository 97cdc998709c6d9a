#pragma once
// Device-independent bitmaps as pictures carry them: a bitmap header (the
// core or the info form) with its colour table or masks, and the rows of
// pixels. 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with bit
// fields; every size and offset is checked against the bytes.
#include "platform/draw/EmfFormat.h"

#include <QImage>

#include <cstdint>

namespace DibImage {

enum class Status {
    Decoded,
    Skipped,  // a compressed bitmap: nothing to draw, but not damage
    Bad,      // sizes or offsets that do not fit
};

// The bitmap whose header lies at offBmi (cbBmi bytes) and pixels at offBits
// (cbBits bytes) of r. Pixels of 32-bit bitmaps whose alpha bytes are all 0
// are opaque.
QImage Decode(const emf::Reader& r, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
              std::uint32_t cbBits, Status* status);

}  // namespace DibImage
