// The 8-bit character codes of the text faces and of the mathematics face.
#include "platform/draw/TextCodec.h"

#include <gtest/gtest.h>

using namespace TextCodec;

TEST(TextCodec, CodesOfTheTextAndMathematicsFaces)
{
    struct Code {
        int charSet;
        unsigned char code;
        char32_t ch;
    };
    const Code codes[] = {
        // Text faces: Windows-1252, with the program's own codes in place of some characters.
        {ANSI_CHARSET, 0xE9, U'é'}, {ANSI_CHARSET, 0x93, U'\u201C'}, {ANSI_CHARSET, 0x80, U'∞'},
        {ANSI_CHARSET, 0x8D, U'π'}, {ANSI_CHARSET, 0x8E, U'≤'}, {ANSI_CHARSET, 0x8F, U'≥'},
        {ANSI_CHARSET, 0x7F, U'≠'}, {ANSI_CHARSET, 0x9D, U'∑'}, {ANSI_CHARSET, 0x9E, U'∏'},
        // The mathematics face, including the pieces of tall delimiters.
        {SYMBOL_CHARSET, 189, U'∫'}, {SYMBOL_CHARSET, 190, U'∑'}, {SYMBOL_CHARSET, 219, U'∂'},
        {SYMBOL_CHARSET, 183, U'′'}, {SYMBOL_CHARSET, 242, U'″'}, {SYMBOL_CHARSET, 178, U'∞'},
        {SYMBOL_CHARSET, 188, U'π'}, {SYMBOL_CHARSET, 168, U'α'}, {SYMBOL_CHARSET, 215, U'Ψ'},
        {SYMBOL_CHARSET, 'x', U'x'}, {SYMBOL_CHARSET, 147, U'⎛'}, {SYMBOL_CHARSET, 169, U'⎜'},
        {SYMBOL_CHARSET, 145, U'⎝'}, {SYMBOL_CHARSET, 148, U'⎞'}, {SYMBOL_CHARSET, 153, U'⎟'},
        {SYMBOL_CHARSET, 146, U'⎠'}, {SYMBOL_CHARSET, 163, U'⎧'}, {SYMBOL_CHARSET, 149, U'⎨'},
        {SYMBOL_CHARSET, 167, U'⎩'}, {SYMBOL_CHARSET, 182, U'⎫'}, {SYMBOL_CHARSET, 174, U'⎬'},
        {SYMBOL_CHARSET, 223, U'⎭'},
    };
    for (const Code& c : codes) {
        EXPECT_EQ(ToUnicode(c.code, c.charSet), c.ch) << int(c.code);
        EXPECT_EQ(FromUnicode(c.ch, c.charSet), int(c.code)) << int(c.code);
    }
    // The characters the program's codes displaced have no code (typing them does nothing).
    EXPECT_EQ(FromUnicode(U'€', ANSI_CHARSET), kNoCode);
    EXPECT_EQ(FromUnicode(U'Ž', ANSI_CHARSET), kNoCode);
    EXPECT_EQ(FromUnicode(U'\u4E2D', ANSI_CHARSET), kNoCode);
    EXPECT_EQ(FromUnicode(U'€', SYMBOL_CHARSET), kNoCode);
    EXPECT_EQ(ToUnicode(141, SYMBOL_CHARSET), kNoCharacter);
    EXPECT_EQ(FromUnicode(U'∂', ANSI_CHARSET), 0x90); // partial has two codes; the main one answers
}

TEST(TextCodec, EveryCodeWithACharacterRoundTrips)
{
    for (int charSet : {ANSI_CHARSET, SYMBOL_CHARSET}) {
        int mapped = 0;
        for (int code = 0; code < 256; ++code) {
            char32_t ch = ToUnicode(static_cast<unsigned char>(code), charSet);
            if (ch == kNoCharacter && code != 0)
                continue;
            ++mapped;
            int back = FromUnicode(ch, charSet);
            ASSERT_NE(back, kNoCode) << charSet << " " << code;
            // Aliases map back to a code of the same character.
            EXPECT_EQ(ToUnicode(static_cast<unsigned char>(back), charSet), ch) << code;
        }
        EXPECT_GT(mapped, 200);
    }
}

TEST(TextCodec, StringsDecodeAndEncode)
{
    const char bytes[] = {'a', '\x80', '\x8E', 'b'};
    QString text = Decode(bytes, 4, ANSI_CHARSET);
    EXPECT_EQ(text, QString::fromUtf8("a∞≤b"));
    bool complete = false;
    EXPECT_EQ(Encode(text, ANSI_CHARSET, &complete), std::string(bytes, 4));
    EXPECT_TRUE(complete);
    EXPECT_EQ(Encode(QString::fromUtf8("a€b"), ANSI_CHARSET, &complete), "ab");
    EXPECT_FALSE(complete);
    // A code without a character shows as the replacement character.
    const char unknown[] = {'\x8D'};
    EXPECT_EQ(Decode(unknown, 1, SYMBOL_CHARSET), QString(QChar(QChar::ReplacementCharacter)));
    EXPECT_EQ(CharSetOfFontId(3), SYMBOL_CHARSET);
    EXPECT_EQ(CharSetOfFontId(0), ANSI_CHARSET);
}
