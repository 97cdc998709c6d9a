#pragma once
// The style record that shapes hand out and take: pen style (thickness and
// dash bits, arrowhead bits on edges), line colour, fill colour and whether
// the shape is filled. A vertex keeps only the pen style and line colour.
#include "drawing/DrawingCodes.h"

#include <cstdint>

struct ShapeStyle {
    int32_t penStyle = drawing::kDefaultPenStyle;
    COLORREF lineColour = drawing::kBlack;
    COLORREF fillColour = drawing::kWhite;
    bool filled = false;

    bool operator==(const ShapeStyle&) const = default;
};
