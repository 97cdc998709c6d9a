#pragma once
// Comparing a painted picture with a reference image kept in a test's data.
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdlib>

// Pixels whose colour differs in some channel by more than the tolerance.
inline int DifferentPixels(const QImage& a, const QImage& b, int tolerance)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance
                || std::abs(qBlue(p) - qBlue(q)) > tolerance)
                ++count;
        }
    return count;
}

// The most differing pixels (as DifferentPixels counts them) inside any
// block of block x block pixels: the font engine's anti-aliasing may differ
// in a scattered pixel or two, while a missing or moved character, however
// small, differs in a cluster.
inline int DifferentPixelsInWorstBlock(const QImage& a, const QImage& b, int tolerance, int block = 8)
{
    int worst = 0;
    for (int top = 0; top < a.height(); top += block)
        for (int left = 0; left < a.width(); left += block) {
            const QRect area(left, top, std::min(block, a.width() - left), std::min(block, a.height() - top));
            worst = std::max(worst, DifferentPixels(a.copy(area), b.copy(area), tolerance));
        }
    return worst;
}

// The reference image at path in the image's format; with QV_UPDATE_REFERENCE
// set, the image first becomes the reference.
inline QImage LoadReference(const QImage& image, const QString& path)
{
    if (std::getenv("QV_UPDATE_REFERENCE"))
        image.save(path);
    return QImage(path).convertToFormat(image.format());
}
