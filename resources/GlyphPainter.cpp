#include "resources/GlyphPainter.h"

#include <QFont>

namespace GlyphPainter {

QColor Ink()
{
    return QColor(24, 24, 24);
}

Glyph Text(const QString& text, int pixelSize, bool italic)
{
    return [text, pixelSize, italic](QPainter& p, const QRect& cell) {
        QFont font("DejaVu Sans");
        font.setPixelSize(pixelSize);
        font.setItalic(italic);
        font.setStyleStrategy(QFont::PreferAntialias);
        p.setFont(font);
        p.setPen(Ink());
        p.drawText(cell, Qt::AlignCenter, text);
    };
}

void Slot(QPainter& p, const QRect& cell, double cx, double cy, double s)
{
    p.setPen(QPen(Ink(), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(cell.left() + cx - s / 2, cell.top() + cy - s / 2, s, s));
}

QImage Strip(const std::vector<Glyph>& glyphs, QSize cell)
{
    QImage image(cell.width() * int(glyphs.size()), cell.height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (size_t i = 0; i < glyphs.size(); ++i) {
        QRect r(int(i) * cell.width(), 0, cell.width(), cell.height());
        p.save();
        p.setClipRect(r);
        glyphs[i](p, r);
        p.restore();
    }
    return image;
}

QImage Picture(const Glyph& glyph, QSize size)
{
    return Strip({glyph}, size);
}

}
