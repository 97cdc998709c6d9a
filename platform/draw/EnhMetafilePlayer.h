#pragma once
// Plays an enhanced metafile onto any device context, its frame scaled into a
// logical rectangle. Reads the records of our own recorder and the common
// records of other programs' files (mapping modes, world transforms, pens,
// brushes, fonts, lines, shapes, paths, text, clipping and device-independent
// bitmaps). Every record is bounds-checked: a damaged file is drawn as far as
// it is sound and then playing stops.
#include "platform/draw/GdiTypes.h"

class CDC;
class EnhMetafile;

namespace EnhMetafilePlayer {

struct Result {
    bool headerValid = false;  // the bytes start with an EMF header
    bool complete = false;     // every record was read up to EMR_EOF
    int recordsPlayed = 0;
};

Result Play(CDC& dc, const EnhMetafile& picture, const CRect& dest);

}  // namespace EnhMetafilePlayer
