#include "resources/ProgramImages.h"

#include <QPainterPath>

#include "platform/framework/ResourceStore.h"
#include "resources/GlyphPainter.h"

namespace {

// Cursors are white shapes with a dark outline, so they show on any ground.
void outline(QPainter& p, double width = 1.2)
{
    p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
}

void arrow(QPainter& p)
{
    outline(p);
    p.drawPolygon(QPolygonF({{1, 1}, {1, 17}, {5, 13}, {8, 20}, {10.5, 19}, {7.5, 12.5}, {13, 12.5}}));
}

// An open hand (fingers spread) or a closed one (fingers folded).
void hand(QPainter& p, bool open)
{
    outline(p);
    double fingerTop = open ? 3 : 9;
    for (double x : {9.0, 13.0, 17.0, 21.0})
        p.drawRoundedRect(QRectF(x, fingerTop + (x == 9.0 || x == 21.0 ? 2 : 0), 4, 14), 2, 2);
    if (open)
        p.drawRoundedRect(QRectF(3, 13, 10, 4), 2, 2);  // thumb
    p.drawRoundedRect(QRectF(8, 13, 18, 13), 5, 5);
}

void magnifier(QPainter& p, bool zoomIn)
{
    outline(p, 1.5);
    p.drawEllipse(QPointF(11, 11), 8, 8);
    p.drawLine(QPointF(7, 11), QPointF(15, 11));
    if (zoomIn)
        p.drawLine(QPointF(11, 7), QPointF(11, 15));
    p.setPen(QPen(Qt::black, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17, 17), QPointF(27, 27));
}

void pencil(QPainter& p)
{
    outline(p);
    p.drawPolygon(QPolygonF({{1, 30}, {4, 21}, {22, 3}, {28, 9}, {10, 27}}));
    p.drawLine(QPointF(4, 21), QPointF(10, 27));
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF({{1, 30}, {2.5, 25.5}, {5.5, 28.5}}));
}

// The arrow with a small page: a term dragged to a place with several choices.
void dragArrow(QPainter& p)
{
    arrow(p);
    outline(p);
    p.drawRect(QRectF(12.5, 17.5, 10, 8));
    p.drawLine(QPointF(15, 20.5), QPointF(20, 20.5));
    p.drawLine(QPointF(15, 23), QPointF(20, 23));
}

struct CursorShape {
    UINT id;
    void (*draw)(QPainter&);
    QPoint hotSpot;
};

const CursorShape kCursors[] = {
    {151, dragArrow, {1, 1}},
    {181, [](QPainter& p) { hand(p, true); }, {16, 16}},
    {187, pencil, {1, 30}},
    {188, [](QPainter& p) { magnifier(p, true); }, {11, 11}},
    {189, [](QPainter& p) { magnifier(p, false); }, {11, 11}},
    {190, [](QPainter& p) { hand(p, false); }, {16, 16}},
};

}

const std::vector<UINT>& DrawnCursorIds()
{
    static const std::vector<UINT> ids = [] {
        std::vector<UINT> v;
        for (const CursorShape& c : kCursors)
            v.push_back(c.id);
        return v;
    }();
    return ids;
}

QImage CursorImage(UINT cursorId)
{
    for (const CursorShape& c : kCursors) {
        if (c.id != cursorId)
            continue;
        QImage image = GlyphPainter::Picture([&c](QPainter& p, const QRect&) { c.draw(p); }, QSize(32, 32));
        image.setText("hotspot", QString("%1,%2").arg(c.hotSpot.x()).arg(c.hotSpot.y()));
        return image;
    }
    return QImage();
}
