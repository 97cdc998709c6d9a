#pragma once
// Helpers shared by the drawing tests: white images at 96 dpi and pixel checks.
#include "platform/draw/GdiTypes.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>

#include <functional>

inline QImage whiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(3780);  // 96 dpi
    image.setDotsPerMeterY(3780);
    return image;
}

inline bool isColour(const QImage& image, int x, int y, COLORREF c, int tolerance = 8)
{
    QColor p = image.pixelColor(x, y);
    return std::abs(p.red() - GetRValue(c)) <= tolerance && std::abs(p.green() - GetGValue(c)) <= tolerance
        && std::abs(p.blue() - GetBValue(c)) <= tolerance;
}

inline bool isDark(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// The number of pixels in a rectangle for which the test holds.
inline int countPixels(const QImage& image, const QRect& area, const std::function<bool(int, int)>& test)
{
    int n = 0;
    QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += test(x, y) ? 1 : 0;
    return n;
}

inline QString testOutput(const QString& name)
{
    QDir().mkpath(QV_TEST_OUTPUT);
    return QString(QV_TEST_OUTPUT) + "/" + name;
}
