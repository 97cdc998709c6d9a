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

// A shape's own style with what the user changed from the style shown to
// the one chosen taken over (thickness, dash pattern, each arrowhead, line
// colour, fill colour, fill) and everything else kept.
ShapeStyle Restyled(const ShapeStyle& own, const ShapeStyle& shown, const ShapeStyle& chosen);
