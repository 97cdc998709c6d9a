#pragma once
// Small pictures for buttons and cursors, drawn at run time in one plain
// style: dark strokes one pixel wide on a transparent ground, text in
// DejaVu Sans. A glyph paints itself into the cell rectangle it is given.
#include <QImage>
#include <QPainter>
#include <QString>
#include <functional>
#include <vector>

using Glyph = std::function<void(QPainter&, const QRect&)>;

namespace GlyphPainter {

// The ink of every button picture.
QColor Ink();

// A text centred in the cell, at a pixel size (italic for variables).
Glyph Text(const QString& text, int pixelSize, bool italic = false);
// An empty placeholder square of side s, centred at (cx, cy) of the cell.
void Slot(QPainter& p, const QRect& cell, double cx, double cy, double s);

// One row of cells, glyph i in cell i, each cell of the given size.
QImage Strip(const std::vector<Glyph>& glyphs, QSize cell);
// A single picture of the given size.
QImage Picture(const Glyph& glyph, QSize size);

}
