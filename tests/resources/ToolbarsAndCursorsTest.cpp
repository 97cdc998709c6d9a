// The bars' button lists and their drawn pictures, and the program's cursors.
#include <QSet>

#include "LoadedResources.h"
#include "platform/framework/Cursors.h"
#include "resources/ProgramImages.h"
#include "resources/SymbolPalette.h"

namespace {

bool hasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128)
                return true;
    return false;
}

}

TEST(Toolbars, EveryButtonHasItsOwnPictureAndATip)
{
    RequireProgramResources();
    for (UINT barId : {128u, 138u, 179u}) {
        SCOPED_TRACE(barId);
        const ToolBarTemplate* bar = ResourceStore::instance().toolbar(barId);
        ASSERT_NE(bar, nullptr);
        QImage strip = ResourceStore::instance().image(bar->image);
        int cells = int(std::count_if(bar->buttons.begin(), bar->buttons.end(), [](UINT id) { return id != 0; }));
        ASSERT_EQ(strip.width(), cells * bar->buttonWidth);
        ASSERT_EQ(strip.height(), bar->buttonHeight);
        QSet<QByteArray> pictures;
        int cell = 0;
        for (UINT id : bar->buttons) {
            if (id == 0)
                continue;
            QImage picture = strip.copy(cell++ * bar->buttonWidth, 0, bar->buttonWidth, bar->buttonHeight);
            EXPECT_TRUE(hasInk(picture)) << "button " << id << " is blank";
            QByteArray bits(reinterpret_cast<const char*>(picture.constBits()), int(picture.sizeInBytes()));
            EXPECT_FALSE(pictures.contains(bits)) << "button " << id << " looks like another";
            pictures.insert(bits);
            EXPECT_FALSE(ToolTip(id).isEmpty()) << "button " << id << " has no tool tip";
        }
    }
}

TEST(Toolbars, SymbolPaletteTypesTheTableCharacters)
{
    EXPECT_EQ(SymbolPaletteCode(32901), 168);
    EXPECT_EQ(SymbolPaletteCode(32936), 185);
    EXPECT_EQ(SymbolPaletteCode(32972), 195);
    EXPECT_EQ(SymbolPaletteCode(32900), -1);
    EXPECT_EQ(SymbolPaletteCode(32973), -1);
}

TEST(Cursors, TheProgramsCursorsAreDrawnWithAHotSpotInside)
{
    RequireProgramResources();
    for (UINT id : {151u, 181u, 187u, 188u, 189u, 190u}) {
        SCOPED_TRACE(id);
        QCursor cursor = LoadAppCursor(id);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
        QImage image = CursorImage(id);
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(hasInk(image));
        EXPECT_TRUE(image.rect().contains(cursor.hotSpot()));
    }
    // The zoom-in and zoom-out cursors must tell themselves apart.
    EXPECT_NE(CursorImage(188), CursorImage(189));
    // The link hand stays the desktop's own pointing hand.
    EXPECT_EQ(LoadAppCursor(168).shape(), Qt::PointingHandCursor);
}
