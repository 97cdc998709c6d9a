// The bars' button lists and their drawn pictures, and the program's cursors.
#include <QDir>
#include <QPainter>
#include <QSet>

#include "LoadedResources.h"
#include "platform/framework/Cursors.h"
#include "resources/ProgramImages.h"
#include "resources/SymbolPalette.h"

namespace {

std::vector<UINT> range(UINT first, UINT last)
{
    std::vector<UINT> ids;
    for (UINT id = first; id <= last; ++id)
        ids.push_back(id);
    return ids;
}

bool hasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128)
                return true;
    return false;
}

}

TEST(Toolbars, PalettesHoldTheirCommandsInOrder)
{
    RequireProgramResources();
    const ToolBarTemplate* symbols = ResourceStore::instance().toolbar(138);
    ASSERT_NE(symbols, nullptr);
    EXPECT_EQ(symbols->buttons, range(32901, 32972));
    EXPECT_EQ(symbols->buttonWidth, 15);
    EXPECT_EQ(symbols->buttonHeight, 20);
    const ToolBarTemplate* drawing = ResourceStore::instance().toolbar(179);
    ASSERT_NE(drawing, nullptr);
    EXPECT_EQ(drawing->buttons, range(34046, 34069));
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

TEST(Toolbars, ContactSheetForReview)
{
    // The pictures enlarged on one sheet, kept as a test artefact to look at.
    RequireProgramResources();
    const int scale = 3;
    QImage sheet(1200, 560, QImage::Format_ARGB32);
    sheet.fill(QColor(236, 236, 236));
    QPainter p(&sheet);
    int y = 8;
    for (UINT barId : {128u, 179u, 138u}) {
        const ToolBarTemplate* bar = ResourceStore::instance().toolbar(barId);
        ASSERT_NE(bar, nullptr);
        QImage strip = ResourceStore::instance().image(bar->image);
        int perRow = 1150 / (bar->buttonWidth * scale + 4);
        int cells = strip.width() / bar->buttonWidth;
        for (int i = 0; i < cells; ++i) {
            QImage cell = strip.copy(i * bar->buttonWidth, 0, bar->buttonWidth, bar->buttonHeight);
            p.drawImage(QPoint(8 + (i % perRow) * (bar->buttonWidth * scale + 4),
                               y + (i / perRow) * (bar->buttonHeight * scale + 4)),
                        cell.scaled(cell.size() * scale));
        }
        y += ((cells + perRow - 1) / perRow) * (bar->buttonHeight * scale + 4) + 10;
    }
    int x = 8;
    for (UINT id : DrawnCursorIds()) {
        p.drawImage(QPoint(x, y), CursorImage(id).scaled(64, 64));
        x += 72;
    }
    p.drawImage(QPoint(x, y), ResourceStore::instance().image("bitmap:149"));
    p.drawImage(QPoint(x + 110, y), ResourceStore::instance().image("icon:quorvant").scaled(64, 64));
    p.end();
    QDir().mkpath(QV_TEST_OUTPUT);
    EXPECT_TRUE(sheet.save(QString(QV_TEST_OUTPUT) + "/resource-pictures.png"));
}
