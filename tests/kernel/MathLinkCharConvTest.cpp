// Program character codes to link text and back.
#include "foundation/Str255.h"
#include "kernel/MathLinkCharConv.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(MathLinkCharConv, AsciiTravelsUnchanged)
{
    EXPECT_EQ(MathLinkCharConv::MakeLinkString("x"), "x");
    EXPECT_EQ(MathLinkCharConv::MakeLinkString("VXCompute`"), "VXCompute`");
    EXPECT_EQ(MathLinkCharConv::MakeLinkString(nullptr), "");
    EXPECT_EQ(MathLinkCharConv::MakeLinkString(Str255("abc")), "abc");
}

TEST(MathLinkCharConv, MathematicalCharactersBecomeUnicode)
{
    EXPECT_EQ(MathLinkCharConv::MakeLinkString("\x8D"), "\xCF\x80");        // pi in the text faces
    EXPECT_EQ(MathLinkCharConv::MakeLinkString("a\x80"), "a\xE2\x88\x9E");  // infinity
    EXPECT_EQ(MathLinkCharConv::CharToUnicodeA(0x8E), 0x2264);              // less or equal
    EXPECT_EQ(MathLinkCharConv::CharToUnicodeB(178), 0x221E);               // the math face's infinity
    EXPECT_EQ(MathLinkCharConv::CharToUnicodeB(168), 0x03B1);               // the math face's alpha
    EXPECT_EQ(MathLinkCharConv::UnicodeAt(176), 0x221E);                    // the stored set: 176 infinity
    EXPECT_EQ(MathLinkCharConv::UnicodeAt(185), 0x03C0);                    // and 185 pi
    EXPECT_EQ(MathLinkCharConv::MakeLinkStringDirect("\xB9"), "\xCF\x80");
    // Position 172 is a text sign but the math face's alpha.
    EXPECT_EQ(MathLinkCharConv::MathUnicodeAt(172), 0x03B1);
    EXPECT_NE(MathLinkCharConv::UnicodeAt(172), 0x03B1);
    EXPECT_EQ(MathLinkCharConv::MakeLinkString("\xA8", true), "\xCE\xB1");
    EXPECT_EQ(MathLinkCharConv::ReadLinkString(std::string_view("\xCE\xB1")), "\xA8");   // the math face's code for alpha
}

TEST(MathLinkCharConv, ControlCharactersAndUnknownCharacters)
{
    char text[] = "a\tb\nc\r";
    EXPECT_EQ(MathLinkCharConv::ReadLinkString(text), 6);
    EXPECT_STREQ(text, "a b\rc\r");

    // A character with no place in the table reads as the code of position 42.
    char unknown[] = "\xE4\xB8\xAD!";
    EXPECT_EQ(MathLinkCharConv::ReadLinkString(unknown), 2);
    EXPECT_STREQ(unknown, "*!");

    // Counted text (fetched as data) may hold no terminator of its own.
    char counted[] = {'\xCF', '\x80', 'x', 'y'};
    EXPECT_EQ(MathLinkCharConv::ReadLinkString(counted, 3), 2);
    EXPECT_EQ(counted[0], '\x8D');
    EXPECT_EQ(counted[1], 'x');
    EXPECT_EQ(MathLinkCharConv::ReadLinkString(nullptr), 0);
}
