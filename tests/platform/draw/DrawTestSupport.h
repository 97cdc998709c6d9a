#pragma once
// Helpers shared by the drawing tests: white images at 96 dpi and pixel checks.
#include "platform/draw/GdiTypes.h"

#include "platform/draw/EmfWriter.h"
#include "platform/draw/EnhMetafile.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>

#include <functional>
#include <initializer_list>

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

inline int darkPixels(const QImage& image, const QRect& area)
{
    return countPixels(image, area, [&](int x, int y) { return isDark(image, x, y); });
}

// Adds a record made of 32-bit values, as other programs' pictures hold them.
inline void addRecord(EmfWriter& writer, std::uint32_t type, std::initializer_list<std::int32_t> values)
{
    EmfWriter::Record record(type);
    for (std::int32_t v : values)
        record.i32(v);
    writer.add(record);
}

inline QString testOutput(const QString& name)
{
    QDir().mkpath(QV_TEST_OUTPUT);
    return QString(QV_TEST_OUTPUT) + "/" + name;
}

// Writes the picture under the test output and converts it with emf2svg-conv;
// the SVG's text, or empty when the conversion failed.
inline QString convertWithEmf2Svg(const EnhMetafile& picture, const QString& name)
{
    const QString emfPath = testOutput(name + ".emf"), svgPath = testOutput(name + ".svg");
    QFile::remove(svgPath);
    QFile emf(emfPath);
    if (!emf.open(QIODevice::WriteOnly))
        return {};
    emf.write(picture.Bytes());
    emf.close();
    QProcess convert;
    convert.start("emf2svg-conv", {"-i", emfPath, "-o", svgPath});
    if (!convert.waitForFinished(60000) || convert.exitCode() != 0)
        return {};
    QFile svg(svgPath);
    return svg.open(QIODevice::ReadOnly) ? QString::fromUtf8(svg.readAll()) : QString();
}
