// The packet codec shared by both ends, tested without a kernel.
#include "mathlink/Expr.h"
#include "mathlink/LinkCharacters.h"
#include "mathlink/WireFormat.h"

#include <gtest/gtest.h>

#include <random>

using namespace wire;

namespace {

Expr roundTrip(const Expr& e)
{
    PacketWriter writer;
    EXPECT_TRUE(writeExpr(writer, e));
    EXPECT_TRUE(writer.complete());
    PacketReader reader;
    reader.reset(writer.bytes());
    Expr back;
    EXPECT_TRUE(readExpr(reader, back));
    EXPECT_TRUE(reader.atEnd());
    return back;
}

} // namespace

TEST(WireFormat, EveryTokenKindAndDigitTextsOfAnyLengthRoundTrip)
{
    std::string digits(4000, '7');
    Expr e = Expr::function("f", {Expr::string("héllo \"q\""), Expr::symbol("x$vxhat"), Expr::integer(-42),
                                  Expr::realText("1.5e-7"), Expr::string(""), Expr::integerText(digits),
                                  Expr::realText(digits + ".25"),
                                  Expr::function(Expr::function("Derivative", {Expr::integer(2)}), {Expr::symbol("g")}),
                                  Expr::function("List", {})});
    EXPECT_EQ(roundTrip(e), e);
}

TEST(WireFormat, WriterKeepsOneWholeExpressionPerPacket)
{
    PacketWriter writer;
    EXPECT_TRUE(writer.complete());   // an empty packet is legal
    ASSERT_TRUE(writer.putFunction(2));
    ASSERT_TRUE(writer.putAtom(kTokenSymbol, "Plus"));
    ASSERT_TRUE(writer.putAtom(kTokenInteger, "1"));
    EXPECT_FALSE(writer.complete());
    ASSERT_TRUE(writer.putAtom(kTokenInteger, "1"));
    EXPECT_TRUE(writer.complete());
    EXPECT_FALSE(writer.putAtom(kTokenInteger, "2"));   // a second expression
    EXPECT_FALSE(writer.putAtom(99, "x"));

    PacketWriter pieces;
    ASSERT_TRUE(pieces.beginAtom(kTokenInteger, 6));
    ASSERT_TRUE(pieces.putAtomBytes("123"));
    EXPECT_FALSE(pieces.complete());
    EXPECT_FALSE(pieces.putAtomBytes("4567"));   // more than announced
    ASSERT_TRUE(pieces.putAtomBytes("456"));
    EXPECT_TRUE(pieces.complete());
}

TEST(WireFormat, ReaderPeeksAndReadsAtomsInPieces)
{
    PacketWriter writer;
    writeExpr(writer, Expr::function("List", {Expr::string("abcdef"), Expr::integer(5)}));
    PacketReader reader;
    reader.reset(writer.bytes());
    EXPECT_EQ(reader.peekType(), kTokenFunction);
    EXPECT_EQ(reader.peekType(), kTokenFunction);
    uint32_t count = 0;
    ASSERT_TRUE(reader.getArgCount(count));
    EXPECT_EQ(count, 2u);
    std::string head;
    EXPECT_FALSE(reader.getAtom(kTokenString, head));   // wrong kind: nothing consumed
    ASSERT_TRUE(reader.getAtom(kTokenSymbol, head));
    uint32_t left = 0;
    ASSERT_TRUE(reader.atomBytesLeft(left));
    EXPECT_EQ(left, 6u);
    char buffer[4];
    uint32_t taken = 0;
    ASSERT_TRUE(reader.getAtomBytes(buffer, 4, taken));
    EXPECT_EQ(std::string(buffer, taken), "abcd");
    ASSERT_TRUE(reader.atomBytesLeft(left));
    EXPECT_EQ(left, 2u);
    ASSERT_TRUE(reader.getAtomBytes(buffer, 4, taken));
    EXPECT_EQ(std::string(buffer, taken), "ef");
    EXPECT_EQ(reader.peekType(), kTokenInteger);
    ASSERT_TRUE(reader.skipExpression());
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.peekType(), kTokenError);
}

TEST(WireFormat, MalformedPacketsAreRefused)
{
    PacketReader reader;
    std::string truncated;
    truncated.push_back(char(kTokenString));
    appendU32(truncated, 100);
    truncated += "short";
    reader.reset(truncated);
    Expr e;
    EXPECT_FALSE(readExpr(reader, e));

    std::string missingArgs;
    missingArgs.push_back(char(kTokenFunction));
    appendU32(missingArgs, 0xFFFFFFFFu);
    reader.reset(missingArgs);
    EXPECT_FALSE(readExpr(reader, e));
    reader.reset(missingArgs);
    EXPECT_FALSE(reader.skipExpression());

    std::string nested;
    for (int i = 0; i < 10000; ++i) {
        nested.push_back(char(kTokenFunction));
        appendU32(nested, 0);
    }
    reader.reset(nested);
    EXPECT_FALSE(readExpr(reader, e));   // deeper than the limit, without overflowing the stack
}

TEST(WireFormat, RealsUseTheShortestTextWithAnEExponent)
{
    EXPECT_EQ(formatReal(2.0), "2.");
    EXPECT_EQ(formatReal(0.5), "0.5");
    EXPECT_EQ(formatReal(-0.1), "-0.1");
    EXPECT_EQ(formatReal(1.5e20), "1.5e20");
    EXPECT_EQ(formatReal(-3e-7), "-3.e-7");
    EXPECT_EQ(std::stod(formatReal(0.1 + 0.2)), 0.1 + 0.2);
}

TEST(WireFormat, FullFormTextReadsAndPrints)
{
    Expr e = parseFullForm("Plus[1, Times[-2, x], \"a \\\"b\\\"\", 2.5e3, Derivative[1][f][x]]");
    EXPECT_EQ(toFullForm(e), "Plus[1, Times[-2, x], \"a \\\"b\\\"\", 2.5e3, Derivative[1][f][x]]");
    EXPECT_EQ(e.arg(3).type, kTokenReal);
    EXPECT_EQ(e.arg(0).type, kTokenInteger);
    EXPECT_EQ(parseFullForm("VXCompute`"), Expr::symbol("VXCompute`"));
    EXPECT_THROW(parseFullForm("f[x"), std::invalid_argument);
    EXPECT_THROW(parseFullForm("f[x]]"), std::invalid_argument);
}

TEST(LinkCharacters, Utf8BothWaysWithAsciiUnchanged)
{
    unsigned char bytes[4];
    EXPECT_EQ(MLConvertCharacter('x', bytes), 1);
    EXPECT_EQ(bytes[0], 'x');
    EXPECT_EQ(MLConvertCharacter(0x3B1, nullptr), 2);      // alpha
    EXPECT_EQ(MLConvertCharacter(0x221E, nullptr), 3);     // infinity
    EXPECT_EQ(MLConvertCharacter(0x1D49C, nullptr), 4);
    EXPECT_EQ(MLConvertCharacter(0xD800, bytes), 3);       // a lone surrogate becomes U+FFFD
    EXPECT_EQ(bytes[0], 0xEF);

    const char* text = "a\xCE\xB1\xE2\x88\x9E\xFF";
    MLStringPosition pos = MLStringFirstPosFun(text);
    std::vector<int> seen;
    for (; MLStringCharacter(pos) >= 0; MLNextCharacter(pos))
        seen.push_back(MLStringCharacter(pos));
    EXPECT_EQ(seen, (std::vector<int>{'a', 0x3B1, 0x221E, 0xFFFD}));
    EXPECT_EQ(MLNextCharacter(pos), 0);
    MLStringPosition empty = MLStringFirstPosFun(nullptr);
    EXPECT_EQ(MLStringCharacter(empty), -1);
}

TEST(WireFormat, RandomBytesNeverReadAsMoreThanTheyHold)
{
    std::mt19937 random(12345);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(std::size_t(random() % 64), '\0');
        for (char& b : bytes) {
            // Mostly token types and small counts, so that the reader gets deep.
            int pick = int(random() % 8);
            b = char(pick == 0 ? kTokenFunction : pick == 1 ? kTokenSymbol : pick < 4 ? int(random() % 4) : int(random()));
        }
        PacketReader reader;
        reader.reset(bytes);
        Expr e;
        if (readExpr(reader, e)) {
            PacketWriter writer;
            ASSERT_TRUE(writeExpr(writer, e));
            EXPECT_EQ(writer.bytes(), bytes.substr(0, writer.bytes().size()));
        }
        reader.reset(bytes);
        reader.skipExpression();
    }
}
