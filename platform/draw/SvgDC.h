#pragma once
// A device context whose drawing becomes an SVG document (pictures offered
// to other programs as SVG). Finish ends the drawing and answers the SVG text.
#include "platform/draw/PainterDC.h"

#include <QBuffer>
#include <QByteArray>
#include <QSvgGenerator>

class CSvgDC : public CPainterDC {
public:
    // size: the drawing's size in pixels at the given resolution.
    explicit CSvgDC(CSize size, int dpi = 96);
    ~CSvgDC() override;

    QByteArray Finish();

protected:
    QPaintDevice* metricsDevice() const override;
    int dpiX() const override { return m_dpi; }
    int dpiY() const override { return m_dpi; }
    CSize deviceSize() const override { return m_size; }

private:
    CSize m_size;
    int m_dpi;
    QByteArray m_svg;
    QBuffer m_buffer;
    QSvgGenerator m_generator;
    mutable QImage m_metrics;
    bool m_finished = false;
};

class EnhMetafile;

// A picture drawn at its frame's size (times scale) on white, as an image at
// 96 dpi times scale, and as SVG text.
QImage RenderPictureToImage(const EnhMetafile& picture, double scale = 1.0);
QByteArray RenderPictureToSvg(const EnhMetafile& picture);
