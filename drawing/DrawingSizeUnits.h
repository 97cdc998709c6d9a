#pragma once
// The units in which the drawing properties dialog shows the drawing's size.
// The size itself is kept in screen pixels of 1/96 inch (the list calls them
// "Points"); centimetres and inches are converted to and from them, so that
// 2.54 cm and 1 inch are both 96 pixels.
#include <cstdint>
#include <optional>
#include <string>

enum class SizeUnit { Pixels = 0, Centimeters = 1, Inches = 2 };

namespace sizeunits {

inline constexpr double kPixelsPerInch = 96.0;
inline constexpr double kPixelsPerCentimeter = 96.0 / 2.54;
// The largest size the dialog accepts, in pixels: far beyond any page.
inline constexpr int32_t kMaxPixels = 32767;

// The entries of the unit lists, in the order of SizeUnit.
const char* UnitText(SizeUnit unit);
// The unit a list text names; pixels for any other text.
SizeUnit UnitOf(const std::string& text);

// A number as the field holds it (leading and trailing blanks allowed);
// none for empty text, text that is not a number, or a number that is not
// finite.
std::optional<double> ParseNumber(const std::string& text);
// A length in the unit as whole pixels: pixels are truncated, centimetres
// and inches rounded.
double ToPixels(double value, SizeUnit unit);
// Pixels shown in the unit: pixels as a whole number, the others with two
// decimals.
std::string FormatInUnit(double pixels, SizeUnit unit);

// A typed size as pixels, or the message that says why it is refused
// (what names the field: "width" or "height"): sizes must be at least one
// pixel and at most maxPixels.
struct SizeReading {
    int32_t pixels = 0;
    std::string error;
    bool ok() const { return error.empty(); }
};
SizeReading ReadSize(const std::string& text, SizeUnit unit, const char* what, int32_t maxPixels = kMaxPixels);

} // namespace sizeunits
