// Pictures of the 3-D renderer at 96 dpi compared with reference images: a
// cube whose faces turned away are culled, a patch of a sphere and a saddle,
// each lit from the viewer and drawn back to front.
#include "render3d/Render3d.h"

#include "platform/draw/ImageDC.h"
#include "support/PictureCompare.h"
#include "SurfaceLook.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

namespace {

constexpr int kSize = 300;

Fixed F(double v) { return Fixed(std::lround(v * 65536)); }

Point3d P(double x, double y, double z)
{
    Point3d p{};
    SetPt3d(&p, F(x), F(y), F(z));
    return p;
}

// Renders the groups that fill makes, seen from eye with the plots' light,
// into a white picture; also kept under the test output.
QImage Render(const char* name, Point3d eye, const std::function<Group3d*()>& fill)
{
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    {
        CImageDC dc(image);
        Init3d(0);
        SetCurrentDC(&dc);
        SetCenter(F(kSize / 2.0), F(kSize / 2.0));
        SetZoom(F(1));
        Point3d target = P(0, 0, 0);
        AimCamera(&eye, &target, F(40), 0);
        CombineReferenceFrames();
        LightSource3d source{};
        Set3dLtSource(&source, 65535, 65535, 65535, F(2), 0, F(480), 0);
        Lighting3d* lighting = NewLighting(0, 0, 65535, 0x4000, 1, &source);
        TransformLighting(lighting, GetMatrix(2));
        Collection3d* collection = NewCollection(1);
        collection->groups[1] = fill();
        xfRenderCollection(collection, GetMatrix(3), lighting, 0);
        DisposeCollection(collection);
        DisposeLighting(lighting);
        SetCurrentDC(nullptr);
    }
    QDir().mkpath(QV_TEST_OUTPUT);
    image.save(QString(QV_TEST_OUTPUT) + "/" + name + ".png");
    return image;
}

void ExpectLikeReference(const QImage& image, const char* name)
{
    const QImage expected = LoadReference(image, QString(QV_TEST_DATA) + "/" + name + ".png");
    ASSERT_EQ(expected.size(), image.size()) << name;
    EXPECT_LE(DifferentPixels(image, expected, 24), kSize * kSize / 200) << name;
}

// The mean blue of the drawn (not white) pixels in the area.
double MeanBlue(const QImage& image, const QRect& area)
{
    double sum = 0;
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                sum += qBlue(image.pixel(x, y));
                ++count;
            }
    return count ? sum / count : 0;
}

// A grid patch of rows x columns points made by at (row, column).
Group3d* Grid(int rows, int columns, const std::function<Point3d(int, int)>& at, const SurfaceAttributes3d& look)
{
    std::vector<Point3d> points;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            points.push_back(at(r, c));
    Group3d* group = NewGroup(1);
    EXPECT_EQ(xfMatrix2Patch(group, 0, 0, 0, rows, int(points.size()), points.data(), &look, nullptr), kRender3dOk);
    return group;
}

}  // namespace

TEST(Render3dPictures, CubeCullsItsFarFacesAndShadesTheNearOnes)
{
    // Corners wound counter-clockwise seen from outside; without the
    // back-face flag only the three faces towards the eye are drawn.
    const QImage image = Render("cube", P(-60, 50, -70), [] {
        Group3d* group = NewGroup(6);
        const int axis[6] = {0, 1, 2, 0, 1, 2};
        const double side[6] = {-10, 10, -10, 10, -10, 10};
        const QRgb colours[6] = {qRgb(255, 80, 80), qRgb(80, 200, 80), qRgb(80, 80, 255),
                                 qRgb(0, 0, 0),     qRgb(0, 0, 0),     qRgb(0, 0, 0)};
        for (int f = 0; f < 6; ++f) {
            const double u[4] = {-10, 10, 10, -10}, v[4] = {-10, -10, 10, 10};
            Point3d corners[4];
            for (int k = 0; k < 4; ++k) {
                double p[3];
                p[axis[f]] = side[f];
                p[(axis[f] + 1) % 3] = side[f] < 0 ? v[k] : u[k];
                p[(axis[f] + 2) % 3] = side[f] < 0 ? u[k] : v[k];
                corners[k] = P(p[0], p[1], p[2]);
            }
            std::int32_t order[4] = {0, 1, 2, 3};
            Facet3d facet;
            MakePolyFacet(&facet, 4, order, corners);
            const SurfaceAttributes3d look = Look(qRed(colours[f]), qGreen(colours[f]), qBlue(colours[f]),
                                                  kSurfaceFill | kSurfaceShade | kSurfaceEdges);
            EXPECT_EQ(NewPatch(group, f, 4, corners, 1, &facet, &look, nullptr), kRender3dOk);
        }
        return group;
    });
    int black = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            black += image.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
    EXPECT_LT(black, 200);  // the far faces' black never fills an area; edges are dark, not black
    ExpectLikeReference(image, "cube");
}

TEST(Render3dPictures, SpherePatchIsBrightestWhereItFacesTheLight)
{
    const QImage image = Render("sphere-patch", P(0, 0, -100), [] {
        return Grid(
            13, 13,
            [](int r, int c) {
                const double lat = (r - 6) * std::numbers::pi / 16, lon = (c - 6) * std::numbers::pi / 16;
                return P(14 * std::cos(lat) * std::sin(lon), 14 * std::sin(lat), -14 * std::cos(lat) * std::cos(lon));
            },
            Look(64, 64, 255, 0x1F));
    });
    // Lit from the viewer: the middle, facing the light, is brighter than the rim.
    EXPECT_GT(MeanBlue(image, QRect(135, 135, 30, 30)), MeanBlue(image, QRect(84, 135, 12, 30)) + 20);
    ExpectLikeReference(image, "sphere-patch");
}

TEST(Render3dPictures, SaddleNearPartsCoverFarParts)
{
    const QImage image = Render("saddle", P(-60, 45, -60), [] {
        return Grid(
            21, 21,
            [](int r, int c) {
                const double x = (c - 10) * 1.5, y = (r - 10) * 1.5;
                return P(y, (x * x - y * y) / 15, -x);
            },
            Look(64, 64, 255, 0x1F));
    });
    ExpectLikeReference(image, "saddle");
}
