#pragma once
// The surface attributes the renderer's tests paint with: a colour given in
// 8-bit channels, full intensity, the plots' diffuse and ambient shares.
#include "render3d/Render3d.h"

#include <cstdint>

inline SurfaceAttributes3d Look(int red, int green, int blue,
                                std::uint16_t flags = kSurfaceFill | kSurfaceBackFaces)
{
    SurfaceAttributes3d a{};
    a.red = std::uint16_t(red * 257);
    a.green = std::uint16_t(green * 257);
    a.blue = std::uint16_t(blue * 257);
    a.intensity = 65535;
    a.flags = flags;
    a.diffuse = 32767;
    a.ambient = 4096;
    return a;
}
