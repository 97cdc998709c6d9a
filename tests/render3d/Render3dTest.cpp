// The 3-D renderer drawing into an image: projection, wire frames, points,
// text, and collections of patches drawn back to front.
#include "render3d/Render3d.h"

#include "platform/draw/ImageDC.h"
#include "platform/draw/MetaFileDC.h"
#include "SurfaceLook.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <cmath>

#include <memory>

namespace {

constexpr Fixed F(double v) { return Fixed(v * 65536); }

const QRgb kWhite = qRgb(255, 255, 255);

// An image with the renderer aimed at it: the eye on the given point, looking
// at the origin, with the plots' centre and zoom.
class Scene {
public:
    Scene(int width, int height, Point3d eye, double distance = 32) : image(width, height, QImage::Format_RGB32)
    {
        image.fill(kWhite);
        dc = std::make_unique<CImageDC>(image);
        Init3d(0);
        SetCurrentDC(dc.get());
        SetCenter(F(width / 2.0), F(height / 2.0));
        Matrix3d rotation;
        mIdentity(&rotation);
        SetMatrix(1, &rotation);
        SetZoom(F(1));
        Point3d target;
        SetPt3d(&target, 0, 0, 0);
        AimCamera(&eye, &target, F(distance), 0);
        CombineReferenceFrames();
        view = *GetMatrix(3);
        lights = *GetMatrix(2);
    }
    ~Scene() { SetCurrentDC(nullptr); }

    // Ends the drawing so the pixels can be read.
    QImage& Finish()
    {
        SetCurrentDC(nullptr);
        dc.reset();
        return image;
    }

    QImage image;
    std::unique_ptr<CImageDC> dc;
    Matrix3d view;
    Matrix3d lights;
};

Point3d P(double x, double y, double z)
{
    Point3d p{};
    SetPt3d(&p, F(x), F(y), F(z));
    return p;
}

// A square facing the eye on the -z axis, centred on (x, y) at depth z.
void addSquare(Group3d* group, int index, double x, double y, double z, double half, const SurfaceAttributes3d& a)
{
    Point3d corners[4] = {P(x - half, y - half, z), P(x + half, y - half, z), P(x + half, y + half, z),
                          P(x - half, y + half, z)};
    std::int32_t order[4] = {0, 1, 2, 3};
    Facet3d facet;
    MakePolyFacet(&facet, 4, order, corners);
    ASSERT_EQ(NewPatch(group, index, 4, corners, 1, &facet, &a, nullptr), kRender3dOk);
}

Collection3d* collectionOf(Group3d* group)
{
    Collection3d* collection = NewCollection(1);
    collection->groups[1] = group;
    return collection;
}

int countPixels(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

QRect inkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

}  // namespace

TEST(Render3d, ProjectsThroughTheCentreWithoutMirroring)
{
    Scene scene(400, 400, P(0, 0, -100));
    Point3d origin = P(0, 0, 0), right = P(10, 0, 0), up = P(0, 10, 0);
    xfDrawPt(&origin, &scene.view);
    xfDrawPt(&right, &scene.view);
    xfDrawPt(&up, &scene.view);
    QImage& image = scene.Finish();
    // 10 units at the target's depth: 10 * 200 / 32 = 62.5 pixels.
    EXPECT_EQ(image.pixel(200, 200), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(263, 200), qRgb(0, 0, 0));  // +x to the right
    EXPECT_EQ(image.pixel(200, 137), qRgb(0, 0, 0));  // +y upwards
    EXPECT_EQ(countPixels(image, qRgb(0, 0, 0)), 27);  // three dots of 3 x 3
}

TEST(Render3d, TheTargetLandsOnTheCentreGivenOrTheClipBoxMiddle)
{
    Scene scene(600, 300, P(0, 0, -100));
    Point3d origin = P(0, 0, 0);
    xfDrawPt(&origin, &scene.view);  // the middle of the whole image
    SetCenter(F(350), F(130));       // a device point
    xfDrawPt(&origin, &scene.view);
    scene.dc->IntersectClipRect(0, 0, 100, 100);
    Init3d(0);                       // no centre given: the clip box's middle
    SetCurrentDC(scene.dc.get());
    Point3d eye = P(0, 0, -100);
    AimCamera(&eye, &origin, F(32), 0);
    CombineReferenceFrames();
    xfDrawPt(&origin, GetMatrix(3));
    QImage& image = scene.Finish();
    EXPECT_EQ(image.pixel(300, 150), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(350, 130), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(50, 50), qRgb(0, 0, 0));
}

TEST(Render3d, RecordedIntoAPictureItPlaysBackTheSame)
{
    // How the plots draw: into a metafile clipped to the picture's rectangle.
    CMetaFileDC recorder;
    CRect frame(0, 0, 300, 200);
    ASSERT_TRUE(recorder.CreateEnhanced(nullptr, &frame));
    recorder.IntersectClipRect(frame);
    Init3d(0);
    SetCurrentDC(&recorder);
    SetCenter(F(150), F(100));
    SetZoom(F(1));
    Point3d eye = P(0, 0, -100), target = P(0, 0, 0);
    AimCamera(&eye, &target, F(32), 0);
    CombineReferenceFrames();
    Group3d* group = NewGroup(2);
    addSquare(group, 0, 0, 0, -10, 8, Look(255, 0, 0));
    addSquare(group, 1, 4, 4, 10, 8, Look(0, 0, 255));
    Collection3d* collection = collectionOf(group);
    xfRenderCollection(collection, GetMatrix(3), nullptr, 0);
    DisposeCollection(collection);
    SetCurrentDC(nullptr);
    EnhMetafile picture = recorder.CloseEnhanced();
    ASSERT_TRUE(picture.IsValid());

    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(kWhite);
    {
        CImageDC dc(image);
        ASSERT_TRUE(dc.PlayEnhMetaFile(picture, frame));
    }
    EXPECT_EQ(image.pixel(150, 100), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(215, 35), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(10, 10), kWhite);
}

TEST(Render3d, PlotBoxFitsThePictureOfEverySizeClass)
{
    // The plots' camera: eye (-140, 70, -140), the cube of side 32, and the
    // camera distance and picture size (96 dpi) of each size class.
    struct Case {
        double distance;
        int width;
        int height;
    };
    for (Case c : {Case{42, 324, 304}, Case{32, 410, 384}, Case{23, 617, 578}}) {
        Scene scene(c.width, c.height, P(-140, 70, -140), c.distance);
        Point3d low = P(-16, -16, -16), high = P(16, 16, 16), divisions = P(8, 8, 8);
        xfGrid(&low, &high, &divisions, 0x3F | kGridInnerLines | kGridBorder, &scene.view);
        QRect ink = inkBounds(scene.Finish());
        SCOPED_TRACE(c.distance);
        EXPECT_GT(ink.left(), 0);
        EXPECT_GT(ink.top(), 0);
        EXPECT_LT(ink.right(), c.width - 1);
        EXPECT_LT(ink.bottom(), c.height - 1);
        EXPECT_GT(ink.height(), c.height * 6 / 10);
        EXPECT_NEAR(ink.center().x(), c.width / 2, 3);
    }
}

TEST(Render3d, GridRulesOnlyTheChosenFaces)
{
    Scene scene(400, 400, P(0, 0, -100));
    Point3d low = P(-16, -16, -16), high = P(16, 16, 16), two = P(2, 2, 2);
    // The far wall (z high, 116 from the eye): its border lies 16 * 200/32 *
    // 100/116 = 86 pixels from the middle, its inner lines cross the middle.
    xfGrid(&low, &high, &two, kGridZHigh | kGridBorder, &scene.view);
    QImage borderOnly = scene.image.copy();
    xfGrid(&low, &high, &two, kGridZHigh | kGridInnerLines, &scene.view);
    QImage& both = scene.Finish();
    EXPECT_EQ(borderOnly.pixel(200, 114), qRgb(0, 0, 0));
    EXPECT_EQ(borderOnly.pixel(286, 200), qRgb(0, 0, 0));
    EXPECT_EQ(borderOnly.pixel(200, 200), kWhite);
    EXPECT_EQ(both.pixel(200, 200), qRgb(0, 0, 0));
    // The near wall's border (84 from the eye, 119 pixels out) is not drawn.
    EXPECT_EQ(both.pixel(200, 81), kWhite);
}

TEST(Render3d, LinesFollowThePenAndStopAtTheEye)
{
    Scene scene(400, 400, P(0, 0, -100));
    Point3d a = P(-16, 0, 0), b = P(16, 0, 0), c = P(16, 16, 0);
    xfMovetoPt(&a, &scene.view);
    xfLinetoPt(&b, &scene.view);
    xfLinetoPt(&c, &scene.view);
    // A line from in front of the eye to behind it is cut at the near plane.
    Point3d front = P(0, -10, 0), behind = P(0, -10, -200);
    xfMovetoPt(&front, &scene.view);
    xfLinetoPt(&behind, &scene.view);
    QImage& image = scene.Finish();
    EXPECT_EQ(image.pixel(150, 200), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(300, 150), qRgb(0, 0, 0));  // on the second leg
    EXPECT_EQ(image.pixel(200, 263), qRgb(0, 0, 0));  // the start of the cut line
}

TEST(Render3d, CubeShowsItsThreeNearFacesOnly)
{
    // A cube seen from a corner: the faces at x, y and z low face the eye.
    Scene scene(400, 400, P(-60, 50, -70));
    const QRgb colours[6] = {qRgb(255, 0, 0), qRgb(0, 160, 0),   qRgb(0, 0, 255),
                             qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(255, 0, 255)};
    // Faces: x low, y high, z low (near); x high, y low, z high (far).
    const int axis[6] = {0, 1, 2, 0, 1, 2};
    const double side[6] = {-10, 10, -10, 10, -10, 10};
    Group3d* group = NewGroup(6);
    for (int f = 0; f < 6; ++f) {
        Point3d corners[4];
        const double u[4] = {-10, 10, 10, -10}, v[4] = {-10, -10, 10, 10};
        for (int k = 0; k < 4; ++k) {
            double p[3];
            p[axis[f]] = side[f];
            p[(axis[f] + 1) % 3] = u[k];
            p[(axis[f] + 2) % 3] = v[k];
            corners[k] = P(p[0], p[1], p[2]);
        }
        std::int32_t order[4] = {0, 1, 2, 3};
        Facet3d facet;
        MakePolyFacet(&facet, 4, order, corners);
        SurfaceAttributes3d a = Look(qRed(colours[f]), qGreen(colours[f]), qBlue(colours[f]));
        // Far faces first, so that only the sorting can put the near ones on top.
        ASSERT_EQ(NewPatch(group, 5 - f, 4, corners, 1, &facet, &a, nullptr), kRender3dOk);
    }
    Collection3d* collection = collectionOf(group);
    xfRenderCollection(collection, &scene.view, nullptr, 0);
    DisposeCollection(collection);
    QImage& image = scene.Finish();
    for (int f = 0; f < 3; ++f)
        EXPECT_GT(countPixels(image, colours[f]), 1500) << f;
    for (int f = 3; f < 6; ++f)
        EXPECT_EQ(countPixels(image, colours[f]), 0) << f;
}

TEST(Render3d, FacesTurnedFromTheLightAreDarker)
{
    Scene scene(400, 400, P(0, 0, -100));
    LightSource3d source;
    Set3dLtSource(&source, 65535, 65535, 65535, F(2), 0, F(480), 0);
    Lighting3d* lighting = NewLighting(0, 0, 65535, 0x4000, 1, &source);
    TransformLighting(lighting, &scene.lights);
    SurfaceAttributes3d a = Look(64, 64, 255, 0x1F);
    Group3d* group = NewGroup(2);
    addSquare(group, 0, -10, 0, 0, 6, a);  // faces the viewer, and so the light
    // A square turned 70 degrees about the vertical.
    Point3d tilted[4] = {P(6, -6, -5.6), P(14, -6, 16.4), P(14, 6, 16.4), P(6, 6, -5.6)};
    std::int32_t order[4] = {0, 1, 2, 3};
    Facet3d facet;
    MakePolyFacet(&facet, 4, order, tilted);
    ASSERT_EQ(NewPatch(group, 1, 4, tilted, 1, &facet, &a, nullptr), kRender3dOk);
    Collection3d* collection = collectionOf(group);
    xfRenderCollection(collection, &scene.view, lighting, 0);
    DisposeCollection(collection);
    DisposeLighting(lighting);
    QImage& image = scene.Finish();
    QRgb facing = image.pixel(138, 200), turned = image.pixel(265, 200);
    EXPECT_EQ(facing, qRgb(64, 64, 255));
    EXPECT_LT(qBlue(turned), qBlue(facing) - 40);
    EXPECT_GT(qBlue(turned), qRed(turned));
}

TEST(Render3d, LightStaysWithTheViewerWhenTheModelTurns)
{
    // Turned half round, the square shows its other side to the viewer; lit
    // from the viewer's side, it looks the same.
    Scene scene(400, 400, P(0, 0, -100));
    Matrix3d half;
    mIdentity(&half);
    half.m[0][0] = half.m[2][2] = -kFixedOne;
    SetMatrix(1, &half);
    CombineReferenceFrames();
    LightSource3d source;
    Set3dLtSource(&source, 65535, 65535, 65535, 0, 0, F(480), 0);
    Lighting3d* lighting = NewLighting(0, 0, 65535, 0, 1, &source);
    TransformLighting(lighting, GetMatrix(2));
    SurfaceAttributes3d a = Look(200, 100, 50, kSurfaceFill | kSurfaceShade | kSurfaceBackFaces);
    a.ambient = 0;
    Group3d* group = NewGroup(1);
    addSquare(group, 0, 0, 0, 0, 6, a);
    Collection3d* collection = collectionOf(group);
    xfRenderCollection(collection, GetMatrix(3), lighting, 0);
    DisposeCollection(collection);
    DisposeLighting(lighting);
    EXPECT_EQ(scene.Finish().pixel(200, 200), qRgb(200, 100, 50));
}

TEST(Render3d, SurfaceGridBecomesOneFacetPerCell)
{
    Scene scene(400, 400, P(0, 0, -100));
    // A 3 x 3 grid of points facing the eye: four cells, outlined in a dark shade.
    Point3d points[9];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            points[r * 3 + c] = P(-12 + 12 * c, -12 + 12 * r, 0);
    SurfaceAttributes3d a = Look(0, 0, 255, kSurfaceFill | kSurfaceEdges | kSurfaceBackFaces);
    Group3d* group = NewGroup(1);
    EXPECT_EQ(xfMatrix2Patch(group, 0, 0, 0, 3, 8, points, &a, nullptr), kRender3dBadArgument);
    ASSERT_EQ(xfMatrix2Patch(group, 0, 0, 0, 3, 9, points, &a, nullptr), kRender3dOk);
    Collection3d* collection = collectionOf(group);
    xfRenderCollection(collection, &scene.view, nullptr, 0);
    DisposeCollection(collection);
    QImage& image = scene.Finish();
    const QRgb edge = qRgb(0, 0, 102);
    EXPECT_EQ(image.pixel(162, 162), qRgb(0, 0, 255));  // inside a cell
    EXPECT_EQ(image.pixel(200, 162), edge);             // the line between cells
    EXPECT_EQ(image.pixel(162, 200), edge);
    EXPECT_EQ(image.pixel(110, 110), kWhite);           // outside the grid
}

TEST(Render3d, NullOrEmptyCollectionsAndAnInterruptDrawNothing)
{
    Scene scene(200, 200, P(0, 0, -100));
    Matrix3d view = scene.view;
    xfRenderCollection(nullptr, &view, nullptr, 0);
    DisposeCollection(nullptr);
    Collection3d* empty = NewCollection(0);
    xfRenderCollection(empty, &view, nullptr, 0);
    DisposeCollection(empty);
    Collection3d* unfilled = NewCollection(2);  // entries never filled
    xfRenderCollection(unfilled, &view, nullptr, 0);
    DisposeCollection(unfilled);
    EXPECT_EQ(NewCollection(-1), nullptr);

    int calls = 0;
    Set3dInterrupt([](void* data) { return ++*static_cast<int*>(data) > 0; }, &calls, 1);
    Group3d* group = NewGroup(1);
    addSquare(group, 0, 0, 0, 0, 8, Look(255, 0, 0));
    Collection3d* collection = collectionOf(group);
    xfRenderCollection(collection, &view, nullptr, 0);
    DisposeCollection(collection);
    Set3dInterrupt(0, 0, 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(countPixels(scene.Finish(), kWhite), 200 * 200);
}

TEST(Render3d, PatchesWithBadArgumentsAreRefusedAndLeaveTheGroupAsItWas)
{
    Group3d* group = NewGroup(1);
    Point3d corners[3] = {P(0, 0, 0), P(1, 0, 0), P(0, 1, 0)};
    std::int32_t bad[3] = {0, 1, 3};
    Facet3d facet;
    MakePolyFacet(&facet, 3, bad, corners);
    SurfaceAttributes3d a = Look(255, 0, 0);
    EXPECT_EQ(NewPatch(group, 0, 3, corners, 1, &facet, &a, nullptr), kRender3dBadArgument);
    EXPECT_EQ(NewPatch(group, 1, 3, corners, 0, nullptr, &a, nullptr), kRender3dBadArgument);
    EXPECT_EQ(NewPatch(nullptr, 0, 3, corners, 0, nullptr, &a, nullptr), kRender3dBadArgument);
    DisposeGroup(group);
    DisposeGroup(nullptr);

    // A facet keeps at most eight corners; the rest of its record is -1.
    std::int32_t many[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    MakePolyFacet(&facet, 10, many, nullptr);
    EXPECT_EQ(facet.index[7], 7);
    MakePolyFacet(&facet, 3, many, nullptr);
    EXPECT_EQ(facet.index[3], -1);
    static_assert(sizeof(Facet3d) == 32);
}

TEST(Render3d, TextIsCentredOnItsPointThroughTheViewMatrix)
{
    Scene scene(400, 400, P(0, 0, -100));
    DrawString3d(F(10), 0, 0, "0.25");
    QRect ink = inkBounds(scene.Finish());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), 263, 3);
    EXPECT_NEAR(ink.center().y(), 200, 4);
    EXPECT_LT(ink.width(), 60);
}

TEST(Render3d, WithoutADeviceNothingIsDrawnAndNothingBreaks)
{
    Init3d(0);
    Matrix3d view = *GetMatrix(3);
    Point3d p = P(1, 2, 3);
    xfMovetoPt(&p, &view);
    xfLinetoPt(&p, &view);
    xfDrawPt(&p, &view);
    DrawString3d(0, 0, 0, "x");
    xfGrid(&p, &p, &p, 0xFFFF, &view);
    Group3d* group = NewGroup(1);
    Collection3d* collection = collectionOf(group);
    xfRenderCollection(collection, &view, nullptr, 0);
    DisposeCollection(collection);
    EXPECT_EQ(GetMatrix(4), nullptr);
    EXPECT_EQ(GetMatrix(-1), nullptr);
}

TEST(Render3d, PlotSceneRendersGridSurfaceAndLabels)
{
    // The plots' whole sequence: camera, lighting, back grid, a lit surface,
    // labels in front. The picture is kept under the test output for a look.
    Scene scene(617, 578, P(-140, 70, -140), 23);
    LightSource3d source;
    Set3dLtSource(&source, 65535, 65535, 65535, F(2), 0, F(480), 0);
    Lighting3d* lighting = NewLighting(0, 0, 65535, 0x4000, 1, &source);
    TransformLighting(lighting, &scene.lights);
    Set3dInterrupt(0, 0, 0);

    Point3d low = P(-16, -16, -16), high = P(16, 16, 16), divisions = P(8, 8, 8);
    xfGrid(&low, &high, &divisions, kGridXHigh | kGridYLow | kGridZHigh | kGridInnerLines | kGridBorder, &scene.view);

    constexpr int n = 25;
    std::vector<Point3d> grid;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            double u = -16 + 32.0 * c / (n - 1), v = -16 + 32.0 * r / (n - 1);
            grid.push_back(P(u, 10 * std::sin(u / 6) * std::cos(v / 6), v));
        }
    SurfaceAttributes3d a{0x3FFF, 0x3FFF, 0xFFFF, 65535, 0, 0, 0x1F, 0, 32767, 0, 4096, {0, 0, 0, 0, 0}};
    Group3d* group = NewGroup(1);
    ASSERT_EQ(xfMatrix2Patch(group, 0, 0, 0, n, n * n, grid.data(), &a, nullptr), kRender3dOk);
    Collection3d* collection = collectionOf(group);
    xfRenderCollection(collection, &scene.view, lighting, 0);
    DisposeCollection(collection);
    DisposeLighting(lighting);
    DrawString3d(F(-16), F(-16), F(20), "-1.0");
    DrawString3d(F(0), F(-16), F(20), "0.0");

    QImage& image = scene.Finish();
    QDir().mkpath(QV_TEST_OUTPUT);
    image.save(QString(QV_TEST_OUTPUT) + "/plot-scene.png");
    int bluish = 0, black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = image.pixel(x, y);
            bluish += qBlue(p) > qRed(p) + 40;
            black += p == qRgb(0, 0, 0);
        }
    EXPECT_GT(bluish, 40000);
    EXPECT_GT(black, 1000);
}
