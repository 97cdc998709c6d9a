// The cache of run extents.
#include "LayoutTestSupport.h"

#include "foundation/RunExtentCache.h"

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
