// The face map, the installed families and the mathematics face's metrics.
#include "platform/draw/FontMap.h"
#include "platform/draw/TextCodec.h"

#include <QFontInfo>
#include <QRawFont>

#include <gtest/gtest.h>

TEST(FontMap, ProgramFacesMapToInstalledFamilies)
{
    EXPECT_EQ(FontMap::FamilyFor("Corvell Roman"), "Liberation Serif");
    EXPECT_EQ(FontMap::FamilyFor("Courier"), "Liberation Mono");
    EXPECT_EQ(FontMap::FamilyFor("Corvell Math"), FontMap::MathFamily());
    EXPECT_EQ(FontMap::FamilyFor("DejaVu Serif"), "DejaVu Serif");

    LOGFONT lf;
    lf.lfHeight = -18;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfFaceName = "Corvell Roman";
    QFont font = FontMap::ToQFont(lf);
    EXPECT_EQ(font.pixelSize(), 18);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Serif");
    // A positive height is the cell height: the em is smaller.
    lf.lfHeight = 18;
    EXPECT_LT(FontMap::ToQFont(lf).pixelSize(), 18);

    QStringList families = FontMap::InstalledFamilies();
    EXPECT_TRUE(families.contains("DejaVu Sans"));
    EXPECT_EQ(families.removeDuplicates(), 0);
}

TEST(FontMap, MathFaceHasARealGlyphForEverySymbol)
{
    QString family = FontMap::MathFamily();
    QFont font(family);
    font.setPixelSize(48);
    font.setStyleStrategy(QFont::NoFontMerging);
    QRawFont raw = QRawFont::fromFont(font);
    ASSERT_TRUE(raw.isValid());
    ASSERT_EQ(raw.familyName(), family);
    const QList<char32_t> needed = FontMap::RequiredMathCharacters();
    // The character table's symbols and the nineteen bracket pieces.
    EXPECT_GT(needed.size(), 150);
    for (char32_t ch = 0x239B; ch <= 0x23AD; ++ch)
        EXPECT_TRUE(needed.contains(ch));
    for (char32_t ch : needed) {
        ASSERT_TRUE(raw.supportsCharacter(uint(ch))) << std::hex << uint(ch);
        QList<quint32> glyphs = raw.glyphIndexesForString(QString::fromUcs4(&ch, 1));
        ASSERT_EQ(glyphs.size(), 1);
        EXPECT_NE(glyphs.first(), 0u) << std::hex << uint(ch);  // not the missing-glyph box
        EXPECT_FALSE(raw.boundingRect(glyphs.first()).isEmpty()) << std::hex << uint(ch);
    }
}

TEST(FontMap, MathMetricTables)
{
    const FontMap::SymbolMetrics& m = FontMap::MathMetrics();
    // "(" reaches above the cap height and below the baseline.
    EXPECT_LT(m.top['('], -600);
    EXPECT_GT(m.bottom['('], 100);
    // "a" sits on the baseline: its top is about the x-height.
    EXPECT_LT(m.top['a'], -400);
    EXPECT_GT(m.top['a'], -700);
    EXPECT_LE(std::abs(m.bottom['a']), 30);
    EXPECT_GT(m.bottom['p'], 150);
    EXPECT_GT(m.advance['M'], m.advance['i']);
    // The integral (189) is tall; a space has an advance but no ink.
    EXPECT_LT(m.top[189], -600);
    EXPECT_EQ(m.top[' '], 0);
    EXPECT_GT(m.advance[' '], 0);
    // Codes without a character have zeros.
    ASSERT_EQ(TextCodec::ToUnicode(141, SYMBOL_CHARSET), TextCodec::kNoCharacter);
    EXPECT_EQ(m.top[141] | m.bottom[141] | m.advance[141], 0);
    // Every character of the face has an advance.
    for (int code = 32; code < 256; ++code) {
        if (TextCodec::ToUnicode(static_cast<unsigned char>(code), SYMBOL_CHARSET) > 0x20) {
            EXPECT_GT(m.advance[code], 0) << code;
        }
    }
}
