// Start-up of text layout and the cache of run extents.
#include "LayoutTestSupport.h"

#include "foundation/LayoutItemMaker.h"
#include "foundation/RunExtentCache.h"
#include "foundation/TextLayoutItemMaker.h"

TEST(TextLayoutStart, InstallsTheMakerAndTheElevenStyles)
{
    StyleTable* before = gStyleTable;
    gStyleTable = nullptr;
    LayoutItemMaker::Install(nullptr);
    InstallTextLayout();
    EXPECT_EQ(LayoutItemMaker::Get(), &TextLayoutItemMaker::Instance());
    ASSERT_NE(gStyleTable, nullptr);
    EXPECT_EQ(StyleTable::Lookup(6)->GetKind(), 6);
    // A table already set up is kept.
    StyleTable* made = gStyleTable;
    InstallTextLayout();
    EXPECT_EQ(gStyleTable, made);
    LayoutItemMaker::Install(nullptr);
    gStyleTable = before;
}

TEST_F(LayoutTest, RunExtentsFollowFaceChanges)
{
    Rect plain;
    RunExtentCache::GetTextExtent(0, Str255("Wide words"), plain);
    EXPECT_EQ(plain.Width(), Width("Wide words", 0));

    // The text face becomes the code face: the cached extent is not reused.
    TextPrefs code = prefs;
    code.textFont = prefs.codeFont;
    fonts.UpdateTextFaces(code);
    gDrawContext.SelectCurrentFont();
    Rect changed;
    RunExtentCache::GetTextExtent(0, Str255("Wide words"), changed);
    EXPECT_EQ(changed.Width(), Width("Wide words", 4));
    EXPECT_NE(changed.Width(), plain.Width());
    fonts.UpdateTextFaces(prefs);
    gDrawContext.SelectCurrentFont();
}
