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
    void endPainting();
    QPainter* painter() { return m_painter; }

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
    // worked out when it is null.
    bool prepare(bool usePen, bool useBrush, const QRegion* area = nullptr);
    QPen currentPen() const;

    QPaintDevice* m_device = nullptr;
    QPainter* m_painter = nullptr;
    int m_appliedClip = -1;
    QRect m_drawn;
    bool m_drewAnywhere = false;
    QFont m_rawFontOf;
    QRawFont m_rawFont;
};
