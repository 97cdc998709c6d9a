#include "platform/draw/SvgDC.h"

#include "platform/draw/EnhMetafile.h"
#include "platform/draw/ImageDC.h"

#include <algorithm>
#include <cmath>

CSvgDC::CSvgDC(CSize size, int dpi)
    : m_size(CSize(std::max(1, size.cx), std::max(1, size.cy))), m_dpi(dpi > 0 ? dpi : 96),
      m_buffer(&m_svg), m_metrics(1, 1, QImage::Format_ARGB32_Premultiplied)
{
    SetImageDpi(m_metrics, m_dpi);
    m_buffer.open(QIODevice::WriteOnly);
    m_generator.setOutputDevice(&m_buffer);
    m_generator.setSize(QSize(m_size.cx, m_size.cy));
    m_generator.setViewBox(QRect(0, 0, m_size.cx, m_size.cy));
    m_generator.setResolution(m_dpi);
    beginPainting(&m_generator);
}

CSvgDC::~CSvgDC()
{
    Finish();
}

QByteArray CSvgDC::Finish()
{
    if (!m_finished) {
        endPainting();
        m_buffer.close();
        m_finished = true;
    }
    return m_svg;
}

QPaintDevice* CSvgDC::metricsDevice() const { return &m_metrics; }

namespace {

// The picture's size in pixels at 96 dpi.
CSize pictureSize(const EnhMetafile& picture)
{
    CRect frame = picture.FrameInPixels();
    if (frame.IsRectEmpty())
        frame = picture.GetBounds();
    double toScreenX = 96.0 / picture.ReferenceDpiX(), toScreenY = 96.0 / picture.ReferenceDpiY();
    int w = int(std::lround(std::clamp(frame.Width() * toScreenX, 1.0, 20000.0)));
    int h = int(std::lround(std::clamp(frame.Height() * toScreenY, 1.0, 20000.0)));
    return CSize(w, h);
}

}  // namespace

QImage RenderPictureToImage(const EnhMetafile& picture, double scale)
{
    if (!picture.IsValid() || !(scale > 0))
        return {};
    CSize size = pictureSize(picture);
    int w = int(std::lround(std::clamp(size.cx * scale, 1.0, 20000.0)));
    int h = int(std::lround(std::clamp(size.cy * scale, 1.0, 20000.0)));
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    SetImageDpi(image, int(std::lround(96 * scale)));
    CImageDC dc(image);
    dc.PlayEnhMetaFile(picture, CRect(0, 0, w, h));
    return image;
}

QByteArray RenderPictureToSvg(const EnhMetafile& picture)
{
    if (!picture.IsValid())
        return {};
    CSize size = pictureSize(picture);
    CSvgDC dc(size);
    dc.PlayEnhMetaFile(picture, CRect(0, 0, size.cx, size.cy));
    return dc.Finish();
}
