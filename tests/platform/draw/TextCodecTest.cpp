// The 8-bit character codes of the text faces and of the mathematics face.
#include "platform/draw/TextCodec.h"

#include <gtest/gtest.h>

using namespace TextCodec;

TEST(TextCodec, TextFacesAreWindows1252WithTheMathematicalCodes)
{
    EXPECT_EQ(ToUnicode('A', ANSI_CHARSET), U'A');
    EXPECT_EQ(ToUnicode(0xE9, ANSI_CHARSET), U'é');
    EXPECT_EQ(ToUnicode(0x93, ANSI_CHARSET), U'\u201C');  // left double quote
    // The program's own codes take the place of Windows-1252 characters.
    EXPECT_EQ(ToUnicode(0x80, ANSI_CHARSET), U'∞');
    EXPECT_EQ(ToUnicode(0x8D, ANSI_CHARSET), U'π');
    EXPECT_EQ(ToUnicode(0x8E, ANSI_CHARSET), U'≤');
    EXPECT_EQ(ToUnicode(0x8F, ANSI_CHARSET), U'≥');
    EXPECT_EQ(ToUnicode(0x7F, ANSI_CHARSET), U'≠');
    EXPECT_EQ(ToUnicode(0x9D, ANSI_CHARSET), U'∑');
    EXPECT_EQ(ToUnicode(0x9E, ANSI_CHARSET), U'∏');
    // so the characters they displaced have no code (typing them does nothing).
    EXPECT_EQ(FromUnicode(U'€', ANSI_CHARSET), kNoCode);
    EXPECT_EQ(FromUnicode(U'Ž', ANSI_CHARSET), kNoCode);
    EXPECT_EQ(FromUnicode(U'\u4E2D', ANSI_CHARSET), kNoCode);
    // Partial has two codes; it maps back to the main one.
    EXPECT_EQ(FromUnicode(U'∂', ANSI_CHARSET), 0x90);
}

TEST(TextCodec, MathFaceCodes)
{
    EXPECT_EQ(ToUnicode(189, SYMBOL_CHARSET), U'∫');
    EXPECT_EQ(ToUnicode(190, SYMBOL_CHARSET), U'∑');
    EXPECT_EQ(ToUnicode(219, SYMBOL_CHARSET), U'∂');
    EXPECT_EQ(ToUnicode(183, SYMBOL_CHARSET), U'′');
    EXPECT_EQ(ToUnicode(242, SYMBOL_CHARSET), U'″');
    EXPECT_EQ(ToUnicode(178, SYMBOL_CHARSET), U'∞');
    EXPECT_EQ(ToUnicode(188, SYMBOL_CHARSET), U'π');
    EXPECT_EQ(ToUnicode(168, SYMBOL_CHARSET), U'α');
    EXPECT_EQ(ToUnicode(215, SYMBOL_CHARSET), U'Ψ');
    EXPECT_EQ(ToUnicode('x', SYMBOL_CHARSET), U'x');
    EXPECT_EQ(ToUnicode('(', SYMBOL_CHARSET), U'(');
    EXPECT_EQ(ToUnicode(141, SYMBOL_CHARSET), kNoCharacter);
    EXPECT_EQ(FromUnicode(U'∂', SYMBOL_CHARSET), 219);
    EXPECT_EQ(FromUnicode(U'€', SYMBOL_CHARSET), kNoCode);
}

TEST(TextCodec, TallDelimiterPiecesAreTheBracketPieceCharacters)
{
    struct Piece {
        unsigned char code;
        char32_t ch;
    };
    // Upper hook, extension and lower hook of each delimiter; the middle of the braces.
    const Piece pieces[] = {
        {147, U'⎛'}, {169, U'⎜'}, {145, U'⎝'},  // (
        {148, U'⎞'}, {153, U'⎟'}, {146, U'⎠'},  // )
        {163, U'⎧'}, {149, U'⎨'}, {167, U'⎩'},  // {
        {182, U'⎫'}, {174, U'⎬'}, {223, U'⎭'},  // }
    };
    for (const Piece& p : pieces) {
        EXPECT_EQ(ToUnicode(p.code, SYMBOL_CHARSET), p.ch) << int(p.code);
        EXPECT_EQ(FromUnicode(p.ch, SYMBOL_CHARSET), int(p.code));
    }
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
