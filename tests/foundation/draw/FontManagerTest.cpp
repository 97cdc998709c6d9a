#include "DrawTestSupport.h"


using FontManagerTest = DrawTest;

TEST_F(FontManagerTest, CharactersAreSharedPerCodeAndFace)
{
    FontFace* text = fonts.GetFace(0);
    FontFace* math = fonts.GetFace(3);
    EXPECT_EQ(text->GetCharacter('x'), text->GetCharacter('x'));
    EXPECT_NE(text->GetCharacter('x'), math->GetCharacter('x'));
    EXPECT_EQ(math->GetCharacter(185)->GetFontId(), 3);

    // Deleting or cloning a shared character leaves the one object in place.
    CharComp* x = text->GetCharacter('x');
    x->Delete();
    alignas(16) unsigned char storage[64] = {};
    EXPECT_EQ(x->Clone(*reinterpret_cast<LinkRemap*>(storage)), x);
    EXPECT_EQ(x->ComponentAt(IntPoint(5, 5)), x);
    EXPECT_EQ(text->GetCharacter('x')->GetChar(), 'x');

    EXPECT_EQ(fonts.GetFace(8), nullptr);
    EXPECT_EQ(fonts.GetFace(-1), nullptr);
    EXPECT_EQ(fonts.GetStyleFace(2), fonts.GetFace(6));
    EXPECT_EQ(fonts.GetStyleFace(-7), fonts.GetFace(7));
}

TEST_F(FontManagerTest, FontsAreKeptPerLevelAndResolution)
{
    FontFace* text = fonts.GetFace(0);
    EXPECT_EQ(text->GetFont(12, 96), text->GetFont(9, 96));  // levels past the last use the last
    // A font made for the screen is not the printer's.
    CFont* screen = text->GetFont(5, 96);
    EXPECT_NE(text->GetFont(5, 600), screen);
    EXPECT_EQ(text->GetFont(5, 96), screen);
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
    EXPECT_TRUE(fonts.GetFace(2)->GetName().EqualsText("Liberation Sans"));

    fonts.DropFonts();
    EXPECT_EQ(fonts.GetFace(4)->CachedFontCount(), 0);
}
