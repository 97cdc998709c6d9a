#include "resources/ProgramImages.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPainterPath>

#include "platform/draw/TextCodec.h"
#include "platform/framework/ResourceStore.h"
#include "resources/GlyphPainter.h"
#include "resources/SymbolPalette.h"

using namespace GlyphPainter;

namespace {

QPointF at(const QRect& c, double x, double y)
{
    return QPointF(c.left() + x, c.top() + y);
}

void pen(QPainter& p, double width = 1.0)
{
    p.setPen(QPen(Ink(), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

void line(QPainter& p, const QRect& c, double x1, double y1, double x2, double y2)
{
    p.drawLine(at(c, x1, y1), at(c, x2, y2));
}

// Several glyphs drawn over one another in the same cell.
Glyph both(Glyph a, Glyph b)
{
    return [a, b](QPainter& p, const QRect& c) {
        a(p, c);
        b(p, c);
    };
}

// Text placed at an offset from the cell's centre.
Glyph textAt(const QString& text, int size, double dx, double dy, bool italic = false)
{
    Glyph g = Text(text, size, italic);
    return [g, dx, dy](QPainter& p, const QRect& c) { g(p, c.translated(int(dx), int(dy))); };
}

// --- File and clipboard commands -------------------------------------------

void page(QPainter& p, const QRect& c, double x, double y, double w, double h)
{
    QPainterPath path(at(c, x, y));
    path.lineTo(at(c, x + w - 3, y));
    path.lineTo(at(c, x + w, y + 3));
    path.lineTo(at(c, x + w, y + h));
    path.lineTo(at(c, x, y + h));
    path.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.setBrush(Qt::NoBrush);
}

std::vector<Glyph> fileGlyphs()
{
    Glyph newDoc = [](QPainter& p, const QRect& c) {
        pen(p);
        page(p, c, 3.5, 1.5, 9, 12);
    };
    Glyph open = [](QPainter& p, const QRect& c) {
        pen(p);
        QPainterPath path(at(c, 1.5, 3.5));
        path.lineTo(at(c, 5.5, 3.5));
        path.lineTo(at(c, 6.5, 5.5));
        path.lineTo(at(c, 13.5, 5.5));
        path.lineTo(at(c, 13.5, 12.5));
        path.lineTo(at(c, 1.5, 12.5));
        path.closeSubpath();
        p.drawPath(path);
        line(p, c, 1.5, 12.5, 4.5, 7.5);
        line(p, c, 4.5, 7.5, 15, 7.5);
        line(p, c, 15, 7.5, 13.5, 12.5);
    };
    Glyph save = [](QPainter& p, const QRect& c) {
        pen(p);
        p.drawRect(QRectF(at(c, 2.5, 1.5), QSizeF(11, 11)));
        p.drawRect(QRectF(at(c, 5, 1.5), QSizeF(6, 4)));
        p.drawRect(QRectF(at(c, 4.5, 8), QSizeF(7, 4.5)));
    };
    Glyph copy = [](QPainter& p, const QRect& c) {
        pen(p);
        page(p, c, 1.5, 1.5, 8, 9);
        page(p, c, 6.5, 4.5, 8, 9);
    };
    Glyph paste = [](QPainter& p, const QRect& c) {
        pen(p);
        p.drawRect(QRectF(at(c, 2.5, 2.5), QSizeF(9, 11)));
        p.setBrush(Ink());
        p.drawRect(QRectF(at(c, 5, 1), QSizeF(4, 2.5)));
        p.setBrush(Qt::NoBrush);
        page(p, c, 7.5, 6.5, 7, 8);
    };
    Glyph print = [](QPainter& p, const QRect& c) {
        pen(p);
        page(p, c, 4.5, 1.5, 7, 5);
        p.drawRect(QRectF(at(c, 1.5, 6.5), QSizeF(13, 5)));
        page(p, c, 4.5, 9.5, 7, 4);
    };
    return {newDoc, open, save, Text(QString(QChar(0x2702)), 13), copy, paste, print};
}

// --- Element buttons ---------------------------------------------------------

std::vector<Glyph> elementGlyphs()
{
    auto script = [](double dy) {
        return Glyph([dy](QPainter& p, const QRect& c) {
            Slot(p, c, 6, 8.5, 7);
            Slot(p, c, 12.5, 8.5 + dy, 4);
        });
    };
    Glyph fraction = [](QPainter& p, const QRect& c) {
        Slot(p, c, 8, 3.5, 5);
        line(p, c, 3, 7.5, 13, 7.5);
        Slot(p, c, 8, 11.5, 5);
    };
    Glyph radical = [](QPainter& p, const QRect& c) {
        pen(p);
        QPainterPath path(at(c, 1.5, 8.5));
        path.lineTo(at(c, 3.5, 7.5));
        path.lineTo(at(c, 5.5, 13));
        path.lineTo(at(c, 8, 2.5));
        path.lineTo(at(c, 15, 2.5));
        p.drawPath(path);
        Slot(p, c, 11.5, 8.5, 5);
    };
    Glyph overscript = [](QPainter& p, const QRect& c) {
        pen(p);
        line(p, c, 5, 5, 8, 2);
        line(p, c, 8, 2, 11, 5);
        Slot(p, c, 8, 10, 6);
    };
    auto primed = [](const QString& marks) {
        return both([](QPainter& p, const QRect& c) { Slot(p, c, 6, 8.5, 7); }, textAt(marks, 12, 4, -2));
    };
    Glyph matrix = [](QPainter& p, const QRect& c) {
        pen(p);
        line(p, c, 2.5, 2, 2.5, 13);
        line(p, c, 13.5, 2, 13.5, 13);
        for (double x : {6.0, 10.0})
            for (double y : {5.0, 10.0})
                Slot(p, c, x, y, 3);
    };
    Glyph table = [](QPainter& p, const QRect& c) {
        pen(p);
        p.drawRect(QRectF(at(c, 1.5, 2.5), QSizeF(13, 10)));
        line(p, c, 1.5, 7.5, 14.5, 7.5);
        line(p, c, 8, 2.5, 8, 12.5);
    };
    auto braced = [](bool split) {
        return both(textAt("{", 13, -4, 0), [split](QPainter& p, const QRect& c) {
            Slot(p, c, split ? 8 : 10, 4.5, 4);
            Slot(p, c, split ? 8 : 10, 10.5, 4);
            if (split) {
                Slot(p, c, 13, 4.5, 3);
                Slot(p, c, 13, 10.5, 3);
            }
        });
    };
    Glyph group = both(Text("( )", 12), [](QPainter& p, const QRect& c) { Slot(p, c, 8, 8, 4); });
    Glyph absolute = both(Text("|  |", 12), [](QPainter& p, const QRect& c) { Slot(p, c, 8, 8, 5); });
    Glyph plot2 = [](QPainter& p, const QRect& c) {
        pen(p);
        line(p, c, 2, 13, 14, 13);
        line(p, c, 2, 13, 2, 1);
        QPainterPath curve(at(c, 3, 11));
        curve.cubicTo(at(c, 6, 0), at(c, 9, 16), at(c, 14, 3));
        p.drawPath(curve);
    };
    Glyph plot3 = [](QPainter& p, const QRect& c) {
        pen(p);
        line(p, c, 6, 9, 6, 1);
        line(p, c, 6, 9, 15, 9);
        line(p, c, 6, 9, 1, 14);
        QPainterPath curve(at(c, 4, 6));
        curve.quadTo(at(c, 9, 0), at(c, 14, 5));
        p.drawPath(curve);
    };
    Glyph link = [](QPainter& p, const QRect& c) {
        pen(p, 1.4);
        p.drawRoundedRect(QRectF(at(c, 1.5, 5.5), QSizeF(8, 5)), 2.5, 2.5);
        p.drawRoundedRect(QRectF(at(c, 6.5, 5.5), QSizeF(8, 5)), 2.5, 2.5);
    };
    Glyph drawing = [](QPainter& p, const QRect& c) {
        pen(p);
        p.drawPolygon(QPolygonF({at(c, 2, 13), at(c, 8, 2), at(c, 14, 13)}));
        p.setBrush(Ink());
        for (QPointF v : {at(c, 2, 13), at(c, 8, 2), at(c, 14, 13)})
            p.drawEllipse(v, 1.2, 1.2);
    };
    return {fraction,
            script(-4),
            script(4),
            radical,
            overscript,
            Text("d/dx", 8, true),
            primed(QString(QChar(0x2032))),
            primed(QString(QChar(0x2033))),
            Text(QString(QChar(0x2202)), 13, true),
            Text(QString(QChar(0x222B)), 14),
            Text(QString(QChar(0x03A3)), 13),
            Text("lim", 9),
            matrix,
            table,
            braced(false),
            braced(true),
            group,
            absolute,
            plot2,
            plot3,
            link,
            drawing};
}

// --- Drawing palette ---------------------------------------------------------

void dot(QPainter& p, QPointF at, double r = 1.6)
{
    p.setBrush(Ink());
    p.drawEllipse(at, r, r);
    p.setBrush(Qt::NoBrush);
}

std::vector<Glyph> drawingGlyphs()
{
    Glyph pointer = [](QPainter& p, const QRect& c) {
        pen(p);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({at(c, 4, 1), at(c, 4, 13), at(c, 7, 10), at(c, 9.5, 14.5), at(c, 11, 13.5),
                                 at(c, 8.5, 9.5), at(c, 12, 9.5)}));
    };
    Glyph pencil = [](QPainter& p, const QRect& c) {
        pen(p);
        p.drawPolygon(QPolygonF({at(c, 2, 14), at(c, 3, 10), at(c, 12, 1), at(c, 15, 4), at(c, 6, 13)}));
        line(p, c, 3, 10, 6, 13);
    };
    Glyph grabber = [](QPainter& p, const QRect& c) {
        pen(p);
        p.drawRoundedRect(QRectF(at(c, 4, 7), QSizeF(9, 7)), 2, 2);
        for (double x : {5.0, 7.5, 10.0, 12.5})
            line(p, c, x, 7, x, 2.5);
        line(p, c, 4, 10, 1.5, 7.5);
    };
    Glyph magnifier = [](QPainter& p, const QRect& c) {
        pen(p, 1.3);
        p.drawEllipse(at(c, 6.5, 6), 4.5, 4.5);
        pen(p, 2);
        line(p, c, 10, 9.5, 14, 13.5);
    };
    Glyph point = [](QPainter& p, const QRect& c) { dot(p, at(c, 8, 7.5), 2.2); };
    Glyph segment = [](QPainter& p, const QRect& c) {
        pen(p);
        line(p, c, 2.5, 12.5, 13.5, 2.5);
        dot(p, at(c, 2.5, 12.5));
        dot(p, at(c, 13.5, 2.5));
    };
    Glyph circle = [](QPainter& p, const QRect& c) {
        pen(p);
        p.drawEllipse(at(c, 8, 7.5), 6, 6);
        dot(p, at(c, 8, 7.5), 1);
    };
    Glyph triangle = [](QPainter& p, const QRect& c) {
        pen(p);
        p.drawPolygon(QPolygonF({at(c, 2, 13), at(c, 8, 2), at(c, 14, 13)}));
    };
    Glyph rectangle = [](QPainter& p, const QRect& c) {
        pen(p);
        p.drawRect(QRectF(at(c, 2.5, 3.5), QSizeF(11, 8)));
    };
    Glyph bezier = [](QPainter& p, const QRect& c) {
        pen(p);
        QPainterPath curve(at(c, 2, 12));
        curve.cubicTo(at(c, 4, 1), at(c, 12, 14), at(c, 14, 3));
        p.drawPath(curve);
        dot(p, at(c, 2, 12), 1.3);
        dot(p, at(c, 14, 3), 1.3);
    };
    Glyph plot = [](QPainter& p, const QRect& c) {
        pen(p);
        line(p, c, 1.5, 8, 14.5, 8);
        line(p, c, 8, 1.5, 8, 14);
        QPainterPath curve(at(c, 2, 13));
        curve.quadTo(at(c, 8, 2), at(c, 14, 13));
        p.drawPath(curve);
    };
    Glyph midpoint = [](QPainter& p, const QRect& c) {
        pen(p);
        line(p, c, 1.5, 7.5, 14.5, 7.5);
        dot(p, at(c, 1.5, 7.5), 1.2);
        dot(p, at(c, 14.5, 7.5), 1.2);
        dot(p, at(c, 8, 7.5), 2);
    };
    Glyph equalLength = [](QPainter& p, const QRect& c) {
        pen(p);
        line(p, c, 2, 5, 14, 5);
        line(p, c, 2, 10, 14, 10);
        line(p, c, 7, 3, 9, 7);
        line(p, c, 7, 8, 9, 12);
    };
    Glyph fixPoint = [](QPainter& p, const QRect& c) {
        pen(p);
        dot(p, at(c, 8, 7.5), 2);
        p.drawRect(QRectF(at(c, 3.5, 3), QSizeF(9, 9)));
    };
    Glyph arc = [](QPainter& p, const QRect& c) {
        pen(p);
        p.drawArc(QRectF(at(c, 2, 3), QSizeF(12, 16)), 20 * 16, 140 * 16);
        dot(p, at(c, 8, 11), 1.2);
    };
    auto level = [](bool horizontal) {
        return Glyph([horizontal](QPainter& p, const QRect& c) {
            pen(p);
            if (horizontal) {
                line(p, c, 2, 9.5, 14, 9.5);
                line(p, c, 2, 12.5, 14, 12.5);
            } else {
                line(p, c, 5.5, 2, 5.5, 14);
                line(p, c, 8.5, 2, 8.5, 14);
            }
            dot(p, horizontal ? at(c, 8, 4) : at(c, 12.5, 8), 1.2);
        });
    };
    Glyph slope = [](QPainter& p, const QRect& c) {
        pen(p);
        line(p, c, 2, 13, 14, 3);
        line(p, c, 8, 8, 14, 8);
        line(p, c, 14, 8, 14, 3);
    };
    Glyph tangent = [](QPainter& p, const QRect& c) {
        pen(p);
        p.drawEllipse(at(c, 8, 9.5), 4.5, 4.5);
        line(p, c, 1, 5, 15, 5);
        dot(p, at(c, 8, 5), 1.2);
    };
    return {pointer,
            pencil,
            grabber,
            magnifier,
            point,
            segment,
            circle,
            triangle,
            rectangle,
            bezier,
            plot,
            Text("A", 12),
            Text(QString(QChar(0x2225)), 13),
            Text(QString(QChar(0x22A5)), 13),
            Text(QString(QChar(0x2220)), 13),
            Text(QString(QChar(0x2194)), 13),
            midpoint,
            equalLength,
            fixPoint,
            arc,
            level(true),
            level(false),
            slope,
            tangent};
}

// --- Symbols palette ---------------------------------------------------------

QString symbolText(UINT id)
{
    char32_t ch = TextCodec::ToUnicode(static_cast<unsigned char>(SymbolPaletteCode(id)), SYMBOL_CHARSET);
    return ch == TextCodec::kNoCharacter ? QString("?") : QString::fromUcs4(&ch, 1);
}

std::vector<Glyph> symbolGlyphs()
{
    std::vector<Glyph> glyphs;
    for (UINT id = kFirstSymbolCommand; id < kFirstSymbolCommand + kSymbolPaletteCount; ++id)
        glyphs.push_back(Text(symbolText(id), 13));
    return glyphs;
}

}

QImage ToolbarImage(UINT toolbarId)
{
    switch (toolbarId) {
    case 128: {
        std::vector<Glyph> glyphs = fileGlyphs();
        for (Glyph& g : elementGlyphs())
            glyphs.push_back(std::move(g));
        return Strip(glyphs, QSize(16, 15));
    }
    case 138:
        return Strip(symbolGlyphs(), QSize(15, 20));
    case 179:
        return Strip(drawingGlyphs(), QSize(16, 15));
    default:
        return QImage();
    }
}

QByteArray SymbolPaletteStrings()
{
    QJsonObject strings;
    for (UINT id = kFirstSymbolCommand; id < kFirstSymbolCommand + kSymbolPaletteCount; ++id) {
        QString symbol = symbolText(id);
        strings[QString::number(id)] = QString("Type the symbol %1\n%1").arg(symbol);
    }
    return QJsonDocument(QJsonObject{{"strings", strings}}).toJson(QJsonDocument::Compact);
}
