#include "platform/draw/MeasureDC.h"

#include "platform/draw/ImageDC.h"

CMeasureDC::CMeasureDC(int dpi, CSize size)
    : m_dpi(dpi > 0 ? dpi : 96), m_size(size), m_device(1, 1, QImage::Format_ARGB32_Premultiplied)
{
    SetImageDpi(m_device, m_dpi);
}

CMeasureDC::~CMeasureDC() = default;

QPaintDevice* CMeasureDC::metricsDevice() const { return &m_device; }
