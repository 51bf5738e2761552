#include "render/BitmapBlit.h"

#include <cstring>

#include "render/Blend.h"
#include "render/BlockClip.h"
#include "render/simd/RowKernels.h"

bool ClipBitmapBlit(const PixelSurface& surface, int bitmapWidth, int bitmapHeight, int64_t x, int64_t y, int64_t srcX,
                    int64_t srcY, int64_t width, int64_t height, BitmapBlit* out) {
    if (!surface.Writable() || bitmapWidth <= 0 || bitmapHeight <= 0) return false;
    const int64_t W = bitmapWidth, H = bitmapHeight;
    // A window larger than the bitmap is cut to it (a negative size stays negative).
    if (width > W) width = W;
    if (height > H) height = H;
    ClippedBlock block;
    if (!ClipBlockToSurface(surface.width, surface.height, W, H, x, y, srcX, srcY, width, height, block)) return false;
    *out = BitmapBlit{block.x, block.y, block.srcX, block.srcY, block.width, block.height};
    return true;
}

int64_t MemoryImageBytes(int width, int height) {
    if (width < 0) return -1;
    const int64_t rows = height < 0 ? -int64_t(height) : int64_t(height);
    return 3 * int64_t(width) * rows;
}

namespace {

// A blit the kernels accept: inside the surface and inside the source rows. The clip above only
// makes such blits; this keeps a wrong caller from writing or reading out of bounds.
bool Fits(const PixelSurface& s, const BitmapRows& src, const BitmapBlit& b) {
    if (!s.Writable() || !src.bits || b.width <= 0 || b.height <= 0) return false;
    if (b.dstX < 0 || b.dstY < 0 || int64_t(b.dstX) + b.width > s.width || int64_t(b.dstY) + b.height > s.height)
        return false;
    if (b.srcX < 0 || b.srcY < 0 || int64_t(b.srcX) + b.width > src.width || int64_t(b.srcY) + b.height > src.height)
        return false;
    // Locked rows may run upwards in memory (negative stride); each still holds 3 * width bytes.
    return (src.stride < 0 ? -src.stride : src.stride) >= 3 * int64_t(src.width);
}

unsigned char* DestRow(const PixelSurface& s, const BitmapBlit& b, int k) {
    return s.pixels + int64_t(b.dstY + k) * s.stride + 3 * int64_t(b.dstX);
}

const unsigned char* SourceRow(const BitmapRows& src, const BitmapBlit& b, int k) {
    const int64_t row = src.bottomUp ? int64_t(b.srcY) + b.height - 1 - k : int64_t(b.srcY) + k;
    return src.bits + row * src.stride + 3 * int64_t(b.srcX);
}

bool IsKey(const unsigned char* p, ColorKey key) { return p[0] == key.b && p[1] == key.g && p[2] == key.r; }

}  // namespace

// Reference rows.
void CopyBytesScalar(uint8_t* d, const uint8_t* s, size_t bytes) { std::memcpy(d, s, bytes); }

void KeyedCopyRowScalar(uint8_t* d, const uint8_t* s, int n, ColorKey key) {
    for (int i = 0; i < n; ++i, d += 3, s += 3) {
        if (IsKey(s, key)) continue;
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
    }
}

void BlendRowScalar(uint8_t* d, const uint8_t* s, int n, unsigned opacity) {
    for (int i = 0; i < n; ++i, d += 3, s += 3) {
        d[0] = BlendChannel(d[0], s[0], opacity);
        d[1] = BlendChannel(d[1], s[1], opacity);
        d[2] = BlendChannel(d[2], s[2], opacity);
    }
}

void BlendKeyedRowScalar(uint8_t* d, const uint8_t* s, int n, unsigned opacity, ColorKey key) {
    for (int i = 0; i < n; ++i, d += 3, s += 3) {
        if (!IsKey(s, key)) BlendRowScalar(d, s, 1, opacity);
    }
}

void CopyBitmapRows(const PixelSurface& surface, const BitmapRows& src, const BitmapBlit& blit) {
    if (!Fits(surface, src, blit)) return;
    const size_t rowBytes = size_t(3) * size_t(blit.width);
    const auto copy = ActiveRows().copyBytes;
    for (int k = 0; k < blit.height; ++k) copy(DestRow(surface, blit, k), SourceRow(src, blit, k), rowBytes);
}

void CopyBitmapRowsKeyed(const PixelSurface& surface, const BitmapRows& src, const BitmapBlit& blit, ColorKey key) {
    if (!Fits(surface, src, blit)) return;
    const auto row = ActiveRows().keyedCopyRow;
    for (int k = 0; k < blit.height; ++k) row(DestRow(surface, blit, k), SourceRow(src, blit, k), blit.width, key);
}

void BlendBitmapRows(const PixelSurface& surface, const BitmapRows& src, const BitmapBlit& blit, unsigned opacity) {
    if (!Fits(surface, src, blit)) return;
    const auto row = ActiveRows().blendRow;
    for (int k = 0; k < blit.height; ++k) row(DestRow(surface, blit, k), SourceRow(src, blit, k), blit.width, opacity);
}

void BlendBitmapRowsKeyed(const PixelSurface& surface, const BitmapRows& src, const BitmapBlit& blit, unsigned opacity,
                          ColorKey key) {
    if (!Fits(surface, src, blit)) return;
    const auto row = ActiveRows().blendKeyedRow;
    for (int k = 0; k < blit.height; ++k)
        row(DestRow(surface, blit, k), SourceRow(src, blit, k), blit.width, opacity, key);
}
