// The pixel view of a surface; empty unless the surface holds 24-bit pixels.
#pragma once
#include "CVorGraphics.h"
#include "render/PixelSurface.h"

inline PixelSurface PixelsOf(const CVorGraphics& g) {
    PixelSurface s = {nullptr, 0, 0, 0};
    if (g.GetBitsPerPixel() != 24 || !g.GetPixels()) return s;
    s.pixels = g.GetPixels();
    s.stride = g.GetStride();
    s.width = int(g.GetWidth());
    s.height = int(g.GetHeight());
    return s;
}
