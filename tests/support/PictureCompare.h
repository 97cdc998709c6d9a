#pragma once
// Comparing a painted picture with a reference image kept in a test's data.
#include <QDir>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

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

#ifdef QV_TEST_OUTPUT
// The test folder's output directory, made when missing.
inline QString TestOutputDir()
{
    const QString dir = QStringLiteral(QV_TEST_OUTPUT);
    QDir().mkpath(dir);
    return dir;
}

#ifdef QV_TEST_DATA
// The picture saved under the output directory and compared with the kept
// reference of the same name: at most `limit` pixels may differ by more than
// a small tolerance.
inline void ExpectLikeReference(const QImage& picture, const QString& name, int limit)
{
    picture.save(TestOutputDir() + "/" + name);
    const QImage reference = LoadReference(picture, QStringLiteral(QV_TEST_DATA) + "/" + name);
    ASSERT_FALSE(reference.isNull()) << "no reference picture " << name.toStdString();
    ASSERT_EQ(reference.size(), picture.size());
    EXPECT_LT(DifferentPixels(reference, picture, 64), limit)
        << "compare " << TestOutputDir().toStdString() << "/" << name.toStdString() << " with the reference";
}
#endif
#endif
