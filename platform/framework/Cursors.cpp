#include "platform/framework/Cursors.h"

#include <QApplication>
#include <QPalette>

#include "platform/framework/CWnd.h"
#include "platform/framework/ResourceStore.h"

HCURSOR LoadStandardCursor(Qt::CursorShape shape)
{
    return QCursor(shape);
}

HCURSOR LoadAppCursor(UINT id)
{
    QImage image = ResourceStore::instance().image(QString("cursor:%1").arg(id));
    if (image.isNull())
        return QCursor(id == 168 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QStringList hotSpot = image.text("hotspot").split(',');
    if (hotSpot.size() == 2)
        return QCursor(QPixmap::fromImage(image), hotSpot[0].toInt(), hotSpot[1].toInt());
    return QCursor(QPixmap::fromImage(image));
}

void SetCursor(const HCURSOR& cursor)
{
    SetCursorImage(cursor);
}

COLORREF GetSysColor(int index)
{
    QPalette palette = QApplication::palette();
    QColor c;
    switch (index) {
    case COLOR_WINDOW: c = palette.color(QPalette::Base); break;
    case COLOR_WINDOWTEXT: c = palette.color(QPalette::Text); break;
    case COLOR_BTNFACE: c = palette.color(QPalette::Button); break;
    case COLOR_BTNSHADOW: c = palette.color(QPalette::Dark); break;
    case COLOR_GRAYTEXT: c = palette.color(QPalette::Disabled, QPalette::Text); break;
    case COLOR_BTNTEXT: c = palette.color(QPalette::ButtonText); break;
    case COLOR_HIGHLIGHT: c = palette.color(QPalette::Highlight); break;
    case COLOR_HIGHLIGHTTEXT: c = palette.color(QPalette::HighlightedText); break;
    default: c = palette.color(QPalette::Window); break;
    }
    return RGB(c.red(), c.green(), c.blue());
}
