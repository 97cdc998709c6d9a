// What the drawing properties dialog computes without its window: sizes
// typed in a unit and shown in another, and the sizes refused.
#include "drawing/DrawingSizeUnits.h"

#include <gtest/gtest.h>

using namespace sizeunits;

TEST(DrawingSizeUnitsTest, TypedSizesBecomePixelsOfOneNinetySixthInch)
{
    struct Row {
        const char* text;
        SizeUnit unit;
        int32_t pixels;
    };
    const Row rows[] = {
        {"2.54", SizeUnit::Centimeters, 96}, {"1", SizeUnit::Inches, 96},     {"96", SizeUnit::Pixels, 96},
        {"10.9", SizeUnit::Pixels, 10},      {" 2.5 ", SizeUnit::Inches, 240}, {"1.3", SizeUnit::Centimeters, 49},
        {"0.01", SizeUnit::Inches, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const SizeReading reading = ReadSize(row.text, row.unit, "width");
        ASSERT_TRUE(reading.ok()) << reading.error;
        EXPECT_EQ(reading.pixels, row.pixels);
    }
}

TEST(DrawingSizeUnitsTest, PixelsShowInEachUnit)
{
    EXPECT_EQ(FormatInUnit(96, SizeUnit::Inches), "1.00");
    EXPECT_EQ(FormatInUnit(96, SizeUnit::Centimeters), "2.54");
    EXPECT_EQ(FormatInUnit(300, SizeUnit::Pixels), "300");
    EXPECT_EQ(FormatInUnit(100, SizeUnit::Inches), "1.04");
    // Round trips through a unit keep whole pixels.
    for (int pixels : {1, 37, 298, 1000})
        for (SizeUnit unit : {SizeUnit::Centimeters, SizeUnit::Inches})
            EXPECT_NEAR(ToPixels(*ParseNumber(FormatInUnit(pixels, unit)), unit), pixels, 1) << pixels;
    EXPECT_EQ(UnitOf("Inches"), SizeUnit::Inches);
    EXPECT_EQ(UnitOf("Centimeters"), SizeUnit::Centimeters);
    EXPECT_EQ(UnitOf("Points"), SizeUnit::Pixels);
    EXPECT_STREQ(UnitText(SizeUnit::Pixels), "Points");
}

TEST(DrawingSizeUnitsTest, SizesThatAreNoPositiveNumberAreRefusedWithTheirReason)
{
    for (const char* text : {"", "  ", "abc", "12px", "1e999", "nan", "inf"}) {
        SCOPED_TRACE(text);
        const SizeReading reading = ReadSize(text, SizeUnit::Pixels, "height");
        EXPECT_FALSE(reading.ok());
        EXPECT_EQ(reading.error, "Please enter the drawing's height as a number.");
    }
    struct Row {
        const char* text;
        SizeUnit unit;
    };
    for (const Row& row : {Row{"0", SizeUnit::Pixels}, Row{"-5", SizeUnit::Pixels}, Row{"0.9", SizeUnit::Pixels},
                           Row{"0.001", SizeUnit::Inches}, Row{"-2.54", SizeUnit::Centimeters},
                           Row{"40000", SizeUnit::Pixels}, Row{"1000", SizeUnit::Inches}}) {
        SCOPED_TRACE(row.text);
        const SizeReading reading = ReadSize(row.text, row.unit, "width");
        EXPECT_FALSE(reading.ok());
        EXPECT_NE(reading.error.find("width must be at least 1 point (1/96 inch)"), std::string::npos)
            << reading.error;
    }
    // The limit a drawing gives is named in the unit of the field.
    const SizeReading tooWide = ReadSize("20", SizeUnit::Inches, "width", 960);
    EXPECT_EQ(tooWide.error, "The drawing's width must be at least 1 point (1/96 inch) and at most 10.00 inches.");
    EXPECT_TRUE(ReadSize("10", SizeUnit::Inches, "width", 960).ok());
}
