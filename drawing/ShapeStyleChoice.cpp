#include "drawing/ShapeStyleChoice.h"

namespace {
constexpr int kThicknessBits = 7;
constexpr int kDashShift = 3;
} // namespace

ShapeStyleChoice ShapeStyleChoice::FromStyle(const ShapeStyle& style)
{
    ShapeStyleChoice choice;
    choice.thickness = style.penStyle & kThicknessBits;
    choice.dash = (style.penStyle >> kDashShift) & 7;
    choice.lineColour = style.lineColour;
    choice.fillColour = style.fillColour;
    choice.useFill = style.filled;
    choice.otherPenBits = style.penStyle & ~(kThicknessBits | (7 << kDashShift));
    return choice;
}

ShapeStyle ShapeStyleChoice::ToStyle() const
{
    ShapeStyle style;
    style.penStyle = thickness >= 0 ? thickness : 1;
    if (dash > 0)
        style.penStyle += dash * 8;
    style.penStyle |= otherPenBits;
    style.lineColour = lineColour;
    style.fillColour = fillColour;
    style.filled = useFill;
    return style;
}

namespace gridpen {

const char* ThicknessText(int thickness)
{
    if (thickness == 0)
        return kThicknessTexts[0];
    return thickness == 2 ? kThicknessTexts[2] : kThicknessTexts[1];
}

int ThicknessIndex(const std::string& text)
{
    if (text == kThicknessTexts[0])
        return 0;
    return text == kThicknessTexts[2] ? 2 : 1;
}

} // namespace gridpen
