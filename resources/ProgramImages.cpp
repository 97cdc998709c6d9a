#include "resources/ProgramImages.h"
#include <cmath>

#include "platform/framework/ResourceStore.h"
#include "resources/GlyphPainter.h"

namespace {

// Three axes from a corner, numbered as the 3-D plot dialog names them.
QImage axesPicture()
{
    return GlyphPainter::Picture(
        [](QPainter& p, const QRect&) {
            p.setPen(QPen(GlyphPainter::Ink(), 1.5, Qt::SolidLine, Qt::RoundCap));
            QPointF origin(44, 58);
            QPointF ends[] = {{16, 84}, {86, 58}, {44, 18}};
            const char* names[] = {"1", "2", "3"};
            QFont font("DejaVu Sans");
            font.setPixelSize(12);
            p.setFont(font);
            for (int i = 0; i < 3; ++i) {
                p.drawLine(origin, ends[i]);
                QPointF d = ends[i] - origin;
                QPointF label = ends[i] + d * (10.0 / std::hypot(d.x(), d.y()));
                p.drawText(QRectF(label.x() - 6, label.y() - 7, 12, 14), Qt::AlignCenter, names[i]);
            }
        },
        QSize(100, 96));
}

QImage programIcon()
{
    return GlyphPainter::Picture(
        [](QPainter& p, const QRect& r) {
            p.setPen(QPen(QColor(30, 60, 120), 1.5));
            p.setBrush(QColor(225, 233, 247));
            p.drawRoundedRect(QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
            GlyphPainter::Text(QString(QChar(0x2211)), 22)(p, r);
        },
        QSize(32, 32));
}

}

void RegisterProgramImages()
{
    ResourceStore& store = ResourceStore::instance();
    for (UINT id : {128u, 138u, 179u})
        store.addImage(QString("toolbar%1").arg(id), ToolbarImage(id));
    for (UINT id : DrawnCursorIds())
        store.addImage(QString("cursor:%1").arg(id), CursorImage(id));
    store.addImage("bitmap:149", axesPicture());
    store.addImage("icon:quorvant", programIcon());
}
