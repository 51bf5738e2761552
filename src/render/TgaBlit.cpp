#include "render/TgaBlit.h"

#include <cstddef>

#include "render/BlockClip.h"
#include "render/simd/RowKernels.h"

namespace {
typedef int64_t i64;

// Rules 2 to 5 of the clipping; width and height are already at most the picture's (rule 1).
bool ClipBlock(i64 surfaceWidth, i64 surfaceHeight, i64 pictureWidth, i64 pictureHeight, i64 x, i64 y, i64 srcX,
               i64 srcY, i64 width, i64 height, TgaBlitArea& area) {
    ClippedBlock block;
    if (!ClipBlockToSurface(surfaceWidth, surfaceHeight, pictureWidth, pictureHeight, x, y, srcX, srcY, width, height,
                            block))
        return false;
    area = TgaBlitArea{block.x, block.y, uint32_t(block.srcX), uint32_t(block.srcY), block.width, block.height};
    return true;
}

// Start of pixel (x, y) of the surface and of pixel (x, y) of the picture.
inline uint8_t* SurfacePixel(const PixelSurface& s, int x, int y) {
    return s.pixels + ptrdiff_t(y) * s.stride + ptrdiff_t(3) * x;
}
inline const uint8_t* SourcePixel(const TgaSource& t, uint32_t x, uint32_t y) {
    return t.pixels + (size_t(y) * t.width + x) * 4;
}
}  // namespace

bool ClipTgaBlit(int surfaceWidth, int surfaceHeight, uint32_t pictureWidth, uint32_t pictureHeight, int x, int y,
                 int srcX, int srcY, int width, int height, TgaBlitArea& area) {
    i64 w = uint32_t(width) > pictureWidth ? i64(pictureWidth) : i64(width);
    i64 h = uint32_t(height) > pictureHeight ? i64(pictureHeight) : i64(height);
    return ClipBlock(surfaceWidth, surfaceHeight, pictureWidth, pictureHeight, x, y, srcX, srcY, w, h, area);
}

bool ClipTgaBlitWhole(int surfaceWidth, int surfaceHeight, uint32_t pictureWidth, uint32_t pictureHeight, int x, int y,
                      TgaBlitArea& area) {
    return ClipBlock(surfaceWidth, surfaceHeight, pictureWidth, pictureHeight, x, y, 0, 0, pictureWidth, pictureHeight,
                     area);
}

// The reference row: each pixel through WriteTgaPixel with its alpha scaled by the opacity.
void AlphaRowScalar(uint8_t* d, const uint8_t* s, int n, unsigned opacity) {
    for (int j = 0; j < n; ++j, d += 3, s += 4) WriteTgaPixel(d, s, ScaleAlpha(s[3], opacity));
}

void BlitTgaAlphaOpacity(const PixelSurface& surface, const TgaSource& source, const TgaBlitArea& area,
                         uint8_t opacity) {
    const auto row = ActiveRows().alphaRow;
    for (int k = 0; k < area.height; ++k)
        row(SurfacePixel(surface, area.x, area.y + k), SourcePixel(source, area.srcX, area.srcY + uint32_t(k)),
            area.width, opacity);
}

void BlitTgaAlpha(const PixelSurface& surface, const TgaSource& source, const TgaBlitArea& area) {
    BlitTgaAlphaOpacity(surface, source, area, 255);
}
