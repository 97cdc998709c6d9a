// Light sources and flat shading.
#include "render3d/Render3dState.h"

#include <algorithm>
#include <cmath>

void Set3dLtSource(LightSource3d* source, unsigned red, unsigned green, unsigned blue, Fixed x, Fixed y,
                   Fixed z, Fixed w)
{
    source->red = std::uint16_t(std::min(red, 65535u));
    source->green = std::uint16_t(std::min(green, 65535u));
    source->blue = std::uint16_t(std::min(blue, 65535u));
    source->x = x;
    source->y = y;
    source->z = z;
    source->w = w;
}

Lighting3d* NewLighting(int, int, Fixed intensity, Fixed ambient, int sourceCount, const LightSource3d* sources)
{
    auto* lighting = new Lighting3d;
    lighting->intensity = std::max(0.0, FixedToDouble(intensity));
    lighting->ambient = std::max(0.0, FixedToDouble(ambient));
    for (int i = 0; sources && i < sourceCount; ++i) {
        const LightSource3d& s = sources[i];
        Vec3 direction = Normalised({FixedToDouble(s.x), FixedToDouble(s.y), FixedToDouble(s.z)});
        // Until TransformLighting says otherwise, the viewer looks down the model's -z.
        lighting->sources.push_back({{s.red / 65535.0, s.green / 65535.0, s.blue / 65535.0}, direction, direction});
    }
    return lighting;
}

void TransformLighting(Lighting3d* lighting, const Matrix3d* m)
{
    if (!lighting || !m)
        return;
    Matrix3d rotation = *m;
    rotation.m[3][0] = rotation.m[3][1] = rotation.m[3][2] = 0;
    for (Lighting3d::Source& source : lighting->sources)
        source.shadeDir = Normalised(TransformVec(source.viewerDir, rotation));
}

void DisposeLighting(Lighting3d* lighting)
{
    delete lighting;
}

Vec3 ShadeFacet(const Lighting3d& lighting, const Vec3& normal, bool twoSided)
{
    Vec3 brightness = {lighting.ambient, lighting.ambient, lighting.ambient};
    for (const Lighting3d::Source& source : lighting.sources) {
        double facing = Dot(normal, source.shadeDir);
        facing = twoSided ? std::abs(facing) : std::max(0.0, facing);
        for (int c = 0; c < 3; ++c)
            brightness[c] += lighting.intensity * source.colour[c] * facing;
    }
    return brightness;
}
