#include "drawing/DrawingSizeUnits.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sizeunits {

namespace {
constexpr const char* kUnitTexts[] = {"Points", "Centimeters", "Inches"};

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}
// The unit as a message names it.
const char* UnitName(SizeUnit unit)
{
    constexpr const char* names[] = {"points", "centimeters", "inches"};
    return names[static_cast<int>(unit)];
}
} // namespace

const char* UnitText(SizeUnit unit)
{
    return kUnitTexts[static_cast<int>(unit)];
}

SizeUnit UnitOf(const std::string& text)
{
    for (int i = 0; i < 3; ++i)
        if (text == kUnitTexts[i])
            return static_cast<SizeUnit>(i);
    return SizeUnit::Pixels;
}

std::optional<double> ParseNumber(const std::string& text)
{
    const std::string trimmed = Trimmed(text);
    if (trimmed.empty())
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double ToPixels(double value, SizeUnit unit)
{
    switch (unit) {
    case SizeUnit::Centimeters:
        return std::trunc(value * kPixelsPerCentimeter + 0.5);
    case SizeUnit::Inches:
        return std::trunc(value * kPixelsPerInch + 0.5);
    case SizeUnit::Pixels:
        break;
    }
    return std::trunc(value);
}

std::string FormatInUnit(double pixels, SizeUnit unit)
{
    char text[64];
    if (unit == SizeUnit::Pixels)
        std::snprintf(text, sizeof text, "%.0f", std::trunc(pixels));
    else
        std::snprintf(text, sizeof text, "%.2f",
                      pixels / (unit == SizeUnit::Inches ? kPixelsPerInch : kPixelsPerCentimeter));
    return text;
}

SizeReading ReadSize(const std::string& text, SizeUnit unit, const char* what, int32_t maxPixels)
{
    SizeReading reading;
    const std::optional<double> value = ParseNumber(text);
    if (!value) {
        reading.error = std::string("Please enter the drawing's ") + what + " as a number.";
        return reading;
    }
    const double pixels = ToPixels(*value, unit);
    if (pixels < 1 || pixels > maxPixels) {
        reading.error = std::string("The drawing's ") + what + " must be at least 1 point (1/96 inch) and at most " +
                        FormatInUnit(maxPixels, unit) + " " + UnitName(unit) + ".";
        return reading;
    }
    reading.pixels = static_cast<int32_t>(pixels);
    return reading;
}

} // namespace sizeunits
