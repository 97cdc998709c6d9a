#pragma once
// Extents of the short texts of layout runs, kept by font id, size level and
// resolution, so that laying out unchanged text again does not shape it
// again. Entries are dropped when a face changes its name or style, and the
// cache is emptied when it grows large.
#include "foundation/Rect.h"

class Str255;

namespace RunExtentCache {

// The extent of the text in the font id at the drawing context's current
// size (GetTextExtent), selecting the font id as the context's family.
void GetTextExtent(int fontId, const Str255& text, Rect& out);
// The same for the count bytes at text (runs keep their characters in place).
void GetTextExtent(int fontId, const char* text, int count, Rect& out);
// Forgets every extent (after fonts or devices change).
void Clear();

} // namespace RunExtentCache
