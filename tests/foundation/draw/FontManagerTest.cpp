#include "DrawTestSupport.h"

#include "foundation/MemoryStream.h"
#include "foundation/TextOutBuffer.h"

using FontManagerTest = DrawTest;

TEST_F(FontManagerTest, CharactersAreSharedPerCodeAndFace)
{
    FontFace* text = fonts.GetFace(0);
    FontFace* math = fonts.GetFace(3);
    EXPECT_EQ(text->GetCharacter('x'), text->GetCharacter('x'));
    EXPECT_NE(text->GetCharacter('x'), math->GetCharacter('x'));
    EXPECT_EQ(math->GetCharacter(185)->GetFontId(), 3);
    EXPECT_EQ(math->GetCharacter(185)->GetChar(), 185);
    EXPECT_EQ(text->GetCharacter(0)->Tag(), tag_Char);

    // Deleting or cloning a shared character leaves the one object in place.
    CharComp* x = text->GetCharacter('x');
    x->Delete();
    alignas(16) unsigned char storage[64] = {};
    EXPECT_EQ(x->Clone(*reinterpret_cast<LinkRemap*>(storage)), x);
    EXPECT_EQ(x->ComponentAt(IntPoint(5, 5)), x);
    EXPECT_EQ(text->GetCharacter('x')->GetChar(), 'x');
}

TEST_F(FontManagerTest, FacesFollowThePreferencesAndTheFixedTable)
{
    EXPECT_EQ(fonts.GetFace(8), nullptr);
    EXPECT_EQ(fonts.GetFace(-1), nullptr);
    EXPECT_EQ(gFontManager, &fonts);
    EXPECT_EQ(gTextFace, fonts.GetFace(0));
    EXPECT_EQ(gMathFace, fonts.GetFace(3));

    EXPECT_TRUE(fonts.GetFace(3)->GetName().EqualsText("Corvell Math"));
    EXPECT_TRUE(fonts.GetFace(4)->GetName().EqualsText("Courier"));
    EXPECT_TRUE(fonts.GetFace(1)->IsItalic());
    EXPECT_TRUE(fonts.GetFace(2)->IsBold());
    EXPECT_TRUE(fonts.GetFace(6)->IsBold());
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(fonts.GetFace(i)->GetFontId(), i);

    EXPECT_EQ(fonts.GetStyleFace(0), fonts.GetFace(5));
    EXPECT_EQ(fonts.GetStyleFace(4), fonts.GetFace(5));
    EXPECT_EQ(fonts.GetStyleFace(2), fonts.GetFace(6));
    EXPECT_EQ(fonts.GetStyleFace(3), fonts.GetFace(7));
    EXPECT_EQ(fonts.GetStyleFace(-7), fonts.GetFace(7));
}

TEST_F(FontManagerTest, FontsAreMadeBySizeLevelAndResolution)
{
    FontFace* text = fonts.GetFace(0);
    const LOGFONT& level5 = text->GetFont(5, 96)->GetLogFont();
    EXPECT_EQ(level5.lfHeight, -18);  // 96 x 14 / 72
    EXPECT_EQ(level5.lfWeight, FW_NORMAL);
    EXPECT_EQ(level5.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(level5.lfOutPrecision, OUT_TT_PRECIS);
    EXPECT_EQ(level5.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(level5.lfPitchAndFamily, FF_ROMAN);
    EXPECT_EQ(level5.lfFaceName, "Corvell Roman");

    EXPECT_EQ(text->GetFont(12, 96), text->GetFont(9, 96));
    EXPECT_EQ(text->GetFont(12, 96)->GetLogFont().lfHeight, -(96 * 8 / 72));
    EXPECT_EQ(text->GetFont(0, 96)->GetLogFont().lfHeight, -(96 * 28 / 72));

    // A font made for the screen is not the printer's.
    CFont* screen = text->GetFont(5, 96);
    CFont* printer = text->GetFont(5, 600);
    EXPECT_NE(screen, printer);
    EXPECT_EQ(printer->GetLogFont().lfHeight, -(600 * 14 / 72));
    EXPECT_EQ(text->GetFont(5, 96), screen);

    EXPECT_EQ(fonts.GetFace(3)->GetFont(5, 96)->GetLogFont().lfCharSet, SYMBOL_CHARSET);
    for (int id : {0, 1, 2, 4, 5, 6, 7})
        EXPECT_EQ(fonts.GetFace(id)->GetFont(5, 96)->GetLogFont().lfCharSet, ANSI_CHARSET) << id;
    EXPECT_EQ(fonts.GetFace(2)->GetFont(5, 96)->GetLogFont().lfWeight, FW_BOLD);
    EXPECT_EQ(fonts.GetFace(1)->GetFont(5, 96)->GetLogFont().lfItalic, 1);
}

TEST_F(FontManagerTest, UpdatingTheTextFacesDropsTheirFonts)
{
    fonts.GetFace(0)->GetFont(5, 96);
    fonts.GetFace(4)->GetFont(5, 96);
    TextPrefs chosen;
    chosen.textFont.AssignText("DejaVu Sans");
    chosen.italicFont.AssignText("DejaVu Serif");
    chosen.boldFont.AssignText("Liberation Sans");
    fonts.UpdateTextFaces(chosen);

    EXPECT_EQ(fonts.GetFace(0)->CachedFontCount(), 0);
    EXPECT_EQ(fonts.GetFace(4)->CachedFontCount(), 1);  // the code face keeps its own
    EXPECT_EQ(fonts.GetFace(0)->GetFont(5, 96)->GetLogFont().lfFaceName, "DejaVu Sans");
    EXPECT_TRUE(fonts.GetFace(1)->IsItalic());
    EXPECT_FALSE(fonts.GetFace(1)->IsBold());
    EXPECT_TRUE(fonts.GetFace(2)->IsBold());
    EXPECT_TRUE(fonts.GetFace(2)->GetName().EqualsText("Liberation Sans"));

    fonts.DropFonts();
    EXPECT_EQ(fonts.GetFace(4)->CachedFontCount(), 0);
}

TEST_F(FontManagerTest, ACharacterWritesItsCodeAsText)
{
    unsigned char block[4] = {};
    MemoryStream stream(block, sizeof block);
    TextOutBuffer out(&stream);
    fonts.GetFace(3)->GetCharacter(185)->WriteText(out);
    fonts.GetFace(0)->GetCharacter('a')->WriteText(out);
    out.Flush();
    EXPECT_EQ(stream.GetPosition(), 2);
    EXPECT_EQ(block[0], 185);
    EXPECT_EQ(block[1], 'a');
}
