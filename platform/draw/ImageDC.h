#pragma once
// A device context over a QImage: pictures for export, and the view's backing
// image (the view shows the image; drawing outside a paint event goes here).
// The image must outlive the context; its resolution comes from the image's
// dots per metre (96 dpi unless set otherwise).
#include "platform/draw/PainterDC.h"

class CImageDC : public CPainterDC {
public:
    explicit CImageDC(QImage& image);
    ~CImageDC() override;

    QImage& image() { return m_image; }

protected:
    QPaintDevice* metricsDevice() const override;
    int dpiX() const override;
    int dpiY() const override;
    CSize deviceSize() const override;
    int bitsPerPixel() const override;

private:
    QImage& m_image;
};

// Sets an image's resolution in dots per inch.
void SetImageDpi(QImage& image, int dpi);
