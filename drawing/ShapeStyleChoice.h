#pragma once
// What the colour and fill dialog and the drawing properties dialog choose,
// read from and written back to the drawing's style records: the thickness
// index (pen style bits 0-2), the dash index (bits 3-5), the two colours and
// whether the shape is filled; and the grid pen's thickness as the grid
// list names it.
#include "drawing/ShapeStyle.h"

#include <string>

struct ShapeStyleChoice {
    int thickness = 1;  // list index, -1: nothing chosen
    int dash = 0;       // list index, -1: nothing chosen
    COLORREF lineColour = drawing::kBlack;
    COLORREF fillColour = drawing::kWhite;
    bool useFill = false;
    // The pen bits the dialogs do not show (arrowheads), kept as they were.
    int32_t otherPenBits = 0;

    static ShapeStyleChoice FromStyle(const ShapeStyle& style);
    // Nothing chosen in a list counts as medium thickness and no dashing.
    ShapeStyle ToStyle() const;
};

namespace gridpen {
// The entries of the thickness lists, in index order.
inline constexpr const char* kThicknessTexts[3] = {"0.5 Thin", "1.0 Medium", "2.0 Thick"};
// The list text of a pen style: thin for 0, thick for 2, medium otherwise.
const char* ThicknessText(int thickness);
// The index of a list text: 0 thin, 2 thick, 1 for anything else.
int ThicknessIndex(const std::string& text);
} // namespace gridpen
