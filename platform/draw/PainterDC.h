#pragma once
// A device context that draws with a QPainter on a paint device. The image,
// view and printer contexts are made of it. Contexts open on the same device
// at the same time (nested drawing on a view's image) share one painter;
// each sets its own pen, brush, font and clipping before it draws.
#include "platform/draw/CDC.h"

#include <QPainter>
#include <QRawFont>

#include <memory>

class CPainterDC : public CDC {
public:
    ~CPainterDC() override;

    // What this context has drawn on its device, in device pixels: regions
    // and pictures by the box around them; anything else counts as the
    // whole device.
    bool DrewAnywhere() const { return m_drewAnywhere; }
    const QRect& DrawnBox() const { return m_drawn; }

protected:
    CPainterDC() = default;

    // The painter draws on this device; null while there is none (nothing is drawn).
    void beginPainting(QPaintDevice* device);
    // False when the painter this context was the last to use could not end
    // its device's work (a paint engine that failed to finish).
    bool endPainting();
    QPainter* painter() { return m_painter; }
    // Colours are drawn as their greys: a page printed in grayscale.
    void setGreyscale(bool grey) { m_grey = grey; }

    void drawPolyline(const QPolygon& points) override;
    void drawPolygon(const QPolygon& points) override;
    void drawRectangle(const QRect& box) override;
    void drawEllipse(const QRect& box) override;
    void drawArc(ArcKind kind, const QRect& box, QPoint start, QPoint end) override;
    void drawBezier(const QPolygon& points) override;
    void drawPath(const QPainterPath& path, bool stroke, bool fill) override;
    void drawText(QPoint ref, QPoint baselineLeft, const QString& text,
                  const std::vector<int>& advances, int width) override;
    void fillRegion(const QRegion& region, COLORREF colour) override;
    void invertRegion(const QRegion& region) override;
    void drawImage(const QRect& dest, const QImage& image) override;

private:
    // Readies the painter for a drawing that covers area, or an area not
    // worked out when it is null. A drawing whose extent (in device pixels)
    // is known and lies inside the clip is recorded for a preview unclipped.
    bool prepare(bool usePen, bool useBrush, const QRegion* area = nullptr, const QRect* extent = nullptr);
    QPen currentPen() const;
    QColor colourOf(COLORREF colour) const;
    // The box a stroke through these points covers with the current pen.
    QRect strokeExtent(const QRect& points) const;
    // Whether the painter records pages for a preview, which draws them
    // scaled to its zoom.
    bool recordsPreview() const;
    // A preview's fill of a rectangle two points thin or less (an empty
    // slot's one-pixel frame, or such a frame played from a picture): the
    // fill with a line of one device pixel along its middle, which a preview
    // that scales the rectangle below a pixel still draws, where the fill
    // alone would fade away. False for any other fill, left to the caller.
    bool fillHairline(const QRectF& rect, const QColor& colour);
    // A stretch of a small shape's outline, drawn alone in a preview.
    void markSmallShape(const QRect& box, const QLineF& alongTop);

    QPaintDevice* m_device = nullptr;
    QPainter* m_painter = nullptr;
    int m_appliedClip = -1;
    QRect m_drawn;
    bool m_drewAnywhere = false;
    bool m_grey = false;
    QFont m_rawFontOf;
    QRawFont m_rawFont;
};
