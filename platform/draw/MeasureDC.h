#pragma once
// A device context that only measures: font metrics and resolution, no
// drawing (every drawing call is accepted and does nothing). Layout uses it.
#include "platform/draw/CDC.h"

class CMeasureDC : public CDC {
public:
    explicit CMeasureDC(int dpi = 96, CSize size = CSize(816, 1056));
    ~CMeasureDC() override;

protected:
    QPaintDevice* metricsDevice() const override;
    int dpiX() const override { return m_dpi; }
    int dpiY() const override { return m_dpi; }
    CSize deviceSize() const override { return m_size; }

    void drawPolyline(const QPolygon&) override {}
    void drawPolygon(const QPolygon&) override {}
    void drawRectangle(const QRect&) override {}
    void drawEllipse(const QRect&) override {}
    void drawArc(ArcKind, const QRect&, QPoint, QPoint) override {}
    void drawBezier(const QPolygon&) override {}
    void drawPath(const QPainterPath&, bool, bool) override {}
    void drawText(QPoint, QPoint, const QString&, const std::vector<int>&, int) override {}
    void fillRegion(const QRegion&, COLORREF) override {}
    void invertRegion(const QRegion&) override {}
    void drawImage(const QRect&, const QImage&) override {}

private:
    int m_dpi;
    CSize m_size;
    mutable QImage m_device;
};
