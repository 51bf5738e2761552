// The TGA blitters' reference code, free of Windows: clipping of a draw request against the
// picture and the back buffer, and the per-pixel alpha writers. Faster versions must give the
// same bytes as these.
#pragma once
#include <cstdint>

#include "image/TgaRuns.h"
#include "render/Blend.h"
#include "render/PixelSurface.h"

// A picture to draw from: width * height pixels, top row first, 4 bytes each (blue, green, red,
// alpha), no padding between rows; and the runs of its rows prepared at load, when it has them.
struct TgaSource {
    const uint8_t* pixels;
    uint32_t width;
    uint32_t height;
    const TgaRunTable* runs = nullptr;  // null: every pixel goes through the per-pixel rule
};

// What survives clipping: a block of width x height pixels, from (srcX, srcY) of the picture to
// (x, y) of the back buffer, lying wholly inside both.
struct TgaBlitArea {
    int x, y;
    uint32_t srcX, srcY;
    int width, height;  // both > 0
};

// Clips a request for the block of width x height at (srcX, srcY) of a picture of
// pictureWidth x pictureHeight, drawn at (x, y) of a surface of surfaceWidth x surfaceHeight.
// Rules, in this order:
//   1. width and height larger than the picture, compared as unsigned values, become the
//      picture's (so a negative width or height means "all of it");
//   2. a negative x (y) moves the source right (down) by -x (-y) and shrinks the block;
//   3. the block is cut at the surface's right and bottom edges;
//   4. nothing is drawn for a source position outside the picture (a negative one included) or an
//      empty block;
//   5. the block is cut at the picture's right and bottom edges.
// All sums are 64-bit, so extreme positions and sizes cannot overflow. False: nothing to draw.
bool ClipTgaBlit(int surfaceWidth, int surfaceHeight, uint32_t pictureWidth, uint32_t pictureHeight, int x, int y,
                 int srcX, int srcY, int width, int height, TgaBlitArea& area);

// The whole picture at (x, y): rules 2 to 5 above.
bool ClipTgaBlitWhole(int surfaceWidth, int surfaceHeight, uint32_t pictureWidth, uint32_t pictureHeight, int x, int y,
                      TgaBlitArea& area);

// Writes one source pixel s (blue, green, red) onto destination pixel d with effective alpha a:
// 255 copies, 0 keeps d, anything else blends each channel as d + ((s - d) * a >> 8).
inline void WriteTgaPixel(uint8_t* d, const uint8_t* s, unsigned a) {
    if (a == 255) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
    } else if (a != 0) {
        d[0] = BlendChannel(d[0], s[0], a);
        d[1] = BlendChannel(d[1], s[1], a);
        d[2] = BlendChannel(d[2], s[2], a);
    }
}

// Draws a clipped block with each pixel's own alpha. With the picture's runs, transparent runs are
// skipped, opaque runs copied from their packed bytes (or blended with one weight under an
// opacity) and only partial runs blended pixel by pixel; the bytes are those of the per-pixel rule.
void BlitTgaAlpha(const PixelSurface& surface, const TgaSource& source, const TgaBlitArea& area);

// Draws a clipped block with each pixel's alpha scaled by opacity: a = A * opacity >> 8, or A
// itself when opacity is 255.
void BlitTgaAlphaOpacity(const PixelSurface& surface, const TgaSource& source, const TgaBlitArea& area,
                         uint8_t opacity);
