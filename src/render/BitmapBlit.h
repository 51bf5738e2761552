// Scalar kernels of the bitmap blitters: clipping, row copy, colour-key copy and opacity blend of
// 24-bit pixels (blue, green, red) into a back buffer. No Windows types: the surface calls them on
// memory images and on the rows of a locked GDI+ bitmap. They are the reference for faster versions.
#pragma once
#include <cstdint>

#include "render/PixelSurface.h"

// Rows of 3-byte pixels that a blitter reads. Row r starts at bits + r * stride.
struct BitmapRows {
    const unsigned char* bits;  // row 0
    int64_t stride;             // bytes from one row to the next (|stride| at least 3 * width)
    int width;                  // pixels in a row
    int height;                 // rows
    // Memory images keep their picture bottom row first: destination row k of a blit then takes
    // row srcY + height - 1 - k of the source window, so the picture appears upright. Locked rows
    // (top row first) are read in order: destination row k takes row srcY + k.
    bool bottomUp;
};

// A clipped blit: every pixel it names lies inside both the surface and the source rows.
struct BitmapBlit {
    int dstX, dstY;
    int srcX, srcY;
    int width, height;
};

// The colour that is not drawn: a pixel is transparent when all three bytes equal these.
struct ColorKey {
    uint8_t b, g, r;
};

// Clips a blit of the source window (srcX, srcY, width, height) of a bitmapWidth x bitmapHeight
// bitmap to (x, y) on the surface, in 64 bits. A window larger than the bitmap is cut to it; rows and
// columns off the surface are dropped from the window; a negative size, a negative source origin or a
// source origin past the bitmap draws nothing. False when nothing is left to draw.
bool ClipBitmapBlit(const PixelSurface& surface, int bitmapWidth, int bitmapHeight, int64_t x, int64_t y, int64_t srcX,
                    int64_t srcY, int64_t width, int64_t height, BitmapBlit* out);

// Bytes a memory image of width x |height| pixels needs (rows of exactly 3 * width bytes);
// -1 for a negative width.
int64_t MemoryImageBytes(int width, int height);

// Copies the blit's rows into the surface, one block per row.
void CopyBitmapRows(const PixelSurface& surface, const BitmapRows& src, const BitmapBlit& blit);
// The same, pixel by pixel, leaving out pixels of the key colour.
void CopyBitmapRowsKeyed(const PixelSurface& surface, const BitmapRows& src, const BitmapBlit& blit, ColorKey key);
// Blends the blit's pixels over the surface with one opacity (1..254): d + ((s - d) * opacity >> 8).
void BlendBitmapRows(const PixelSurface& surface, const BitmapRows& src, const BitmapBlit& blit, unsigned opacity);
// The same, leaving out pixels of the key colour.
void BlendBitmapRowsKeyed(const PixelSurface& surface, const BitmapRows& src, const BitmapBlit& blit, unsigned opacity,
                          ColorKey key);
