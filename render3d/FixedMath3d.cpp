// 16.16 fixed-point arithmetic, 4 x 4 matrices of row vectors, and the small
// vector helpers of the renderer's inner parts.
#include "render3d/Render3dState.h"

#include <climits>
#include <cmath>
#include <utility>

namespace {

// Four products of two 32-bit words can pass the 64-bit range.
__extension__ typedef __int128 ProductSum;

Fixed saturate(ProductSum v)
{
    if (v > INT32_MAX)
        return INT32_MAX;
    if (v < INT32_MIN)
        return INT32_MIN;
    return Fixed(v);
}

// A sum of products of two 16.16 numbers back in 16.16, rounded to nearest.
Fixed fromProductSum(ProductSum sum)
{
    return saturate((sum + 0x8000) >> 16);
}

}  // namespace

Fixed fix_neg(Fixed a)
{
    return a == INT32_MIN ? INT32_MAX : -a;
}

Fixed fix_div(Fixed a, Fixed b)
{
    if (b == 0) {
        if (a == 0)
            return 0;
        return a > 0 ? INT32_MAX : INT32_MIN;
    }
    return saturate((ProductSum(a) * 65536) / b);
}

void mIdentity(Matrix3d* m)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m->m[i][j] = i == j ? kFixedOne : 0;
}

void mTranspose(Matrix3d* m)
{
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            std::swap(m->m[i][j], m->m[j][i]);
}

void mMult4x4(const Matrix3d* a, const Matrix3d* b, Matrix3d* out)
{
    Matrix3d product;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            ProductSum sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += ProductSum(a->m[i][k]) * b->m[k][j];
            product.m[i][j] = fromProductSum(sum);
        }
    *out = product;
}

void ApplyTransform(const Point3d* point, Point3d* out, const Matrix3d* m)
{
    const ProductSum in[3] = {point->x, point->y, point->z};
    Fixed result[4];
    for (int j = 0; j < 4; ++j) {
        ProductSum sum = ProductSum(m->m[3][j]) * kFixedOne;
        for (int k = 0; k < 3; ++k)
            sum += in[k] * m->m[k][j];
        result[j] = fromProductSum(sum);
    }
    out->x = result[0];
    out->y = result[1];
    out->z = result[2];
    out->w = result[3];
}

void SetPt3d(Point3d* point, Fixed x, Fixed y, Fixed z)
{
    point->x = x;
    point->y = y;
    point->z = z;
}

Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Dot(const Vec3& a, const Vec3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3 Normalised(const Vec3& a)
{
    double length = std::sqrt(Dot(a, a));
    if (length == 0 || !std::isfinite(length))
        return {0, 0, 0};
    return {a[0] / length, a[1] / length, a[2] / length};
}

Vec3 TransformVec(const Vec3& p, const Matrix3d& m)
{
    Vec3 out;
    for (int j = 0; j < 3; ++j)
        out[j] = p[0] * FixedToDouble(m.m[0][j]) + p[1] * FixedToDouble(m.m[1][j]) + p[2] * FixedToDouble(m.m[2][j]) +
                 FixedToDouble(m.m[3][j]);
    return out;
}
