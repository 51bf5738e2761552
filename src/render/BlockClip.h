// Clipping shared by the picture blitters, free of Windows: a block of a picture drawn somewhere on
// a surface is cut to what lies inside both. All sums are 64-bit, so no position or size overflows.
#pragma once
#include <cstdint>

// What survives clipping: width x height pixels from (srcX, srcY) of the picture to (x, y) of the
// surface, wholly inside both, width and height > 0.
struct ClippedBlock {
    int x, y;
    int srcX, srcY;
    int width, height;
};

// Clips the block (srcX, srcY, width, height) of a pictureWidth x pictureHeight picture drawn at
// (x, y) of a surfaceWidth x surfaceHeight surface; width and height are already at most the
// picture's. In this order: a negative x (y) moves the source right (down) and shrinks the block;
// the block is cut at the surface's right and bottom edges; nothing is drawn for a source position
// outside the picture or an empty block; the block is cut at the picture's right and bottom edges.
// False: nothing to draw.
inline bool ClipBlockToSurface(int64_t surfaceWidth, int64_t surfaceHeight, int64_t pictureWidth, int64_t pictureHeight,
                               int64_t x, int64_t y, int64_t srcX, int64_t srcY, int64_t width, int64_t height,
                               ClippedBlock& out) {
    if (x < 0) {
        srcX -= x;
        width += x;
        x = 0;
    }
    if (y < 0) {
        srcY -= y;
        height += y;
        y = 0;
    }
    if (x + width > surfaceWidth) width = surfaceWidth - x;
    if (y + height > surfaceHeight) height = surfaceHeight - y;
    if (srcX < 0 || srcX >= pictureWidth || srcY < 0 || srcY >= pictureHeight) return false;
    if (width <= 0 || height <= 0) return false;
    if (srcX + width > pictureWidth) width = pictureWidth - srcX;
    if (srcY + height > pictureHeight) height = pictureHeight - srcY;
    out = ClippedBlock{int(x), int(y), int(srcX), int(srcY), int(width), int(height)};
    return true;
}
