// Fixed-point arithmetic and the matrix calls of the 3-D renderer.
#include "render3d/Render3d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr Fixed F(double v) { return Fixed(v * 65536); }

Matrix3d rotationAboutY(double degrees)
{
    double a = degrees * 3.14159265358979323846 / 180;
    Matrix3d m;
    mIdentity(&m);
    m.m[0][0] = Fixed(std::lround(std::cos(a) * 65536));
    m.m[0][2] = Fixed(std::lround(-std::sin(a) * 65536));
    m.m[2][0] = Fixed(std::lround(std::sin(a) * 65536));
    m.m[2][2] = Fixed(std::lround(std::cos(a) * 65536));
    return m;
}

Matrix3d numbered()
{
    Matrix3d m;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m.m[i][j] = F(i * 4 + j + 1);
    return m;
}

bool sameMatrix(const Matrix3d& a, const Matrix3d& b, int tolerance = 0)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (std::abs(a.m[i][j] - b.m[i][j]) > tolerance)
                return false;
    return true;
}

}  // namespace

TEST(FixedMath3d, DividesInSixteenSixteenAndSaturates)
{
    EXPECT_EQ(fix_div(F(-3), F(2)), F(-1.5));
    EXPECT_EQ(fix_div(F(32), F(3.2)), 655360);  // 10.0, the step rounded in 16.16
    EXPECT_EQ(fix_div(F(32), 0), INT32_MAX);
    EXPECT_EQ(fix_div(F(-1), 0), INT32_MIN);
    EXPECT_EQ(fix_div(0, 0), 0);
    EXPECT_EQ(fix_div(INT32_MAX, 1), INT32_MAX);   // 32767.99 / (1 / 65536)
    EXPECT_EQ(fix_div(INT32_MIN, -kFixedOne), INT32_MAX);
    EXPECT_EQ(fix_div(INT32_MIN, 1), INT32_MIN);
}

TEST(FixedMath3d, MultiplyAppliesTheFirstMatrixFirstAndMayWriteOverEitherInput)
{
    Matrix3d m = numbered();
    // Row 0 times column 0 of the numbered matrix: 1*1 + 2*5 + 3*9 + 4*13 = 90.
    Matrix3d square;
    mMult4x4(&m, &m, &square);
    EXPECT_EQ(square.m[0][0], F(90));

    Matrix3d a = rotationAboutY(30), b = rotationAboutY(60), expected;
    mMult4x4(&a, &b, &expected);
    Matrix3d intoA = a;
    mMult4x4(&intoA, &b, &intoA);
    EXPECT_TRUE(sameMatrix(intoA, expected));
    Matrix3d intoB = b;
    mMult4x4(&a, &intoB, &intoB);
    EXPECT_TRUE(sameMatrix(intoB, expected));
    // 30 then 60 degrees is a quarter turn, within rounding.
    EXPECT_TRUE(sameMatrix(expected, rotationAboutY(90), 4));
}

TEST(FixedMath3d, ApplyTransformUsesRowVectorsWithTheTranslationInTheLastRow)
{
    Matrix3d m = rotationAboutY(90);
    m.m[3][0] = F(1);
    m.m[3][1] = F(2);
    m.m[3][2] = F(3);
    Point3d p{F(1), F(5), F(0), 12345};  // the fourth word is never read
    Point3d out{};
    ApplyTransform(&p, &out, &m);
    // (1, 5, 0) turned a quarter about y gives (0, 5, -1); then translated.
    EXPECT_NEAR(out.x, F(1), 2);
    EXPECT_EQ(out.y, F(7));
    EXPECT_NEAR(out.z, F(2), 2);
    EXPECT_EQ(out.w, kFixedOne);

    ApplyTransform(&p, &p, &m);  // into itself
    EXPECT_EQ(p.x, out.x);
    EXPECT_EQ(p.y, out.y);
    EXPECT_EQ(p.z, out.z);
}

TEST(FixedMath3d, TransposedRotationTurnsAPointBack)
{
    // How the plots find their view direction: the eye through the rotation's transpose.
    Matrix3d r = rotationAboutY(37), back = r;
    mTranspose(&back);
    mTranspose(&back);
    EXPECT_TRUE(sameMatrix(back, r));  // twice in place is the matrix itself
    mTranspose(&back);
    Point3d eye, turned, again;
    SetPt3d(&eye, F(-140), F(70), F(-140));
    ApplyTransform(&eye, &turned, &r);
    ApplyTransform(&turned, &again, &back);
    EXPECT_NEAR(again.x, eye.x, 16);
    EXPECT_NEAR(again.y, eye.y, 16);
    EXPECT_NEAR(again.z, eye.z, 16);
}

// Words from a damaged file reach the renderer: sums past the 64-bit range
// (four products of the most negative word), the negation of that word in
// the light matrix and an eye farther than the words reach saturate instead
// of overflowing.
TEST(FixedMath3d, WordsBeyondTheRangeSaturateInsteadOfOverflowing)
{
    Matrix3d most;
    for (auto& row : most.m)
        std::fill(std::begin(row), std::end(row), INT32_MIN);
    Matrix3d square;
    mMult4x4(&most, &most, &square);
    EXPECT_EQ(square.m[0][0], INT32_MAX);
    Point3d p{INT32_MIN, INT32_MIN, INT32_MIN, 0}, out{};
    ApplyTransform(&p, &out, &most);
    EXPECT_EQ(out.x, INT32_MAX);
    EXPECT_EQ(fix_neg(INT32_MIN), INT32_MAX);

    Init3d(0);
    SetMatrix(1, &most);
    CombineReferenceFrames();
    EXPECT_EQ(GetMatrix(2)->m[2][0], INT32_MAX);
    Init3d(0);
    Point3d eye, target;
    SetPt3d(&eye, F(32767), F(32767), F(32767));
    SetPt3d(&target, 0, 0, 0);
    AimCamera(&eye, &target, F(32), 0);
    CombineReferenceFrames();
    EXPECT_EQ(GetMatrix(3)->m[3][2], INT32_MAX); // 56,754 units away
    Init3d(0);
}
