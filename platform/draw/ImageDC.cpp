#include "platform/draw/ImageDC.h"

#include <cmath>

namespace {

int dpiOf(int dotsPerMetre)
{
    int dpi = int(std::lround(dotsPerMetre * 0.0254));
    return dpi > 0 ? dpi : 96;
}

}  // namespace

void SetImageDpi(QImage& image, int dpi)
{
    int dpm = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
}

CImageDC::CImageDC(QImage& image) : m_image(image)
{
    beginPainting(m_image.isNull() ? nullptr : &m_image);
}

CImageDC::~CImageDC()
{
    endPainting();
}

QPaintDevice* CImageDC::metricsDevice() const { return &m_image; }
int CImageDC::dpiX() const { return dpiOf(m_image.dotsPerMeterX()); }
int CImageDC::dpiY() const { return dpiOf(m_image.dotsPerMeterY()); }
CSize CImageDC::deviceSize() const { return CSize(m_image.width(), m_image.height()); }
int CImageDC::bitsPerPixel() const { return m_image.depth(); }
