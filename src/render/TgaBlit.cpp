#include "render/TgaBlit.h"

#include <cstddef>
#include <cstring>

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

namespace {

// Column of the first pixel of run i, in a row whose runs begin at rowFirst.
inline uint32_t RunStart(const TgaRunTable& t, size_t rowFirst, size_t i) {
    return i == rowFirst ? 0 : t.runs[i - 1].end;
}

// Pixels [from, to) of one picture row onto d (the destination of pixel from), by the row's runs,
// starting with run i (the one holding pixel from); the row's runs begin at rowFirst. Partial runs,
// and solid ones shorter than the level's runMinSolid, gather into stretches for alphaRow; a
// stretch is widened into the long run after it to whole blocks of runBlock pixels, so a vector
// row blends it without a scalar tail. Long transparent runs are skipped, long opaque ones copied
// from their packed bytes with the C runtime's copy (faster on rows than the level's own block copy,
// measured under wine: 54 against 66 us for a 1024x768 ground) or blended with one weight under an
// opacity.
void RunsRow(const RowKernels& rows, const TgaRunTable& t, const uint8_t* src, size_t rowFirst, size_t i, uint32_t from,
             uint32_t to, uint8_t* d, unsigned opacity, unsigned opaqueWeight) {
    const uint32_t minSolid = uint32_t(rows.runMinSolid), block = uint32_t(rows.runBlock);
    uint32_t stretch = from;  // pixels [stretch, x) wait for alphaRow
    for (uint32_t x = from; x < to;) {
        while (t.runs[i].end <= x) ++i;
        const TgaRun& run = t.runs[i];
        const uint32_t end = run.end < to ? run.end : to;
        if (run.kind == TgaRunKind::Partial || end - x < minSolid) {
            x = end;
            continue;
        }
        if (stretch < x) {
            const uint32_t n = x - stretch, widened = (n + block - 1) / block * block;
            const uint32_t stop = stretch + widened <= end ? stretch + widened : x;
            rows.alphaRow(d + size_t(3) * (stretch - from), src + size_t(4) * stretch, int(stop - stretch), opacity);
            x = stop;
        }
        if (run.kind == TgaRunKind::Opaque && x < end) {
            const uint8_t* packed = t.opaqueBgr.data() + run.packed + size_t(3) * (x - RunStart(t, rowFirst, i));
            uint8_t* dst = d + size_t(3) * (x - from);
            if (opaqueWeight == 255)
                std::memcpy(dst, packed, size_t(3) * (end - x));
            else if (opaqueWeight != 0)
                rows.blendRow(dst, packed, int(end - x), opaqueWeight);
        }
        x = end;
        stretch = end;
    }
    if (stretch < to)
        rows.alphaRow(d + size_t(3) * (stretch - from), src + size_t(4) * stretch, int(to - stretch), opacity);
}

}  // namespace

void BlitTgaAlphaOpacity(const PixelSurface& surface, const TgaSource& source, const TgaBlitArea& area,
                         uint8_t opacity) {
    if (opacity == 0) return;  // every effective alpha is 0
    const RowKernels& rows = ActiveRows();
    if (const TgaRunTable* t = source.runs) {
        const unsigned opaqueWeight = ScaleAlpha(255, opacity);
        const uint32_t from = area.srcX, to = area.srcX + uint32_t(area.width);
        for (int k = 0; k < area.height; ++k) {
            const uint32_t y = area.srcY + uint32_t(k);
            uint8_t* d = SurfacePixel(surface, area.x, area.y + k);
            if (t->rowLongest[y] < rows.runMinSolid) {  // nothing in the row worth taking out
                rows.alphaRow(d, SourcePixel(source, from, y), area.width, opacity);
                continue;
            }
            // The row's first run that ends after pixel from.
            const TgaRun* first = t->runs.data() + t->rowStart[y];
            const TgaRun* last = t->runs.data() + t->rowStart[y + 1];
            while (last - first > 8) {
                const TgaRun* mid = first + (last - first) / 2;
                if (mid->end <= from)
                    first = mid + 1;
                else
                    last = mid + 1;
            }
            while (first->end <= from) ++first;
            const size_t i = size_t(first - t->runs.data());
            if (first->end >= to && first->kind == TgaRunKind::Opaque && opaqueWeight == 255) {
                // The block lies in one opaque run (a ground picture): one copy.
                const uint32_t start = RunStart(*t, t->rowStart[y], i);
                std::memcpy(d, t->opaqueBgr.data() + first->packed + size_t(3) * (from - start),
                            size_t(3) * (to - from));
                continue;
            }
            RunsRow(rows, *t, SourcePixel(source, 0, y), t->rowStart[y], i, from, to, d, opacity, opaqueWeight);
        }
        return;
    }
    const auto row = rows.alphaRow;
    for (int k = 0; k < area.height; ++k)
        row(SurfacePixel(surface, area.x, area.y + k), SourcePixel(source, area.srcX, area.srcY + uint32_t(k)),
            area.width, opacity);
}

void BlitTgaAlpha(const PixelSurface& surface, const TgaSource& source, const TgaBlitArea& area) {
    BlitTgaAlphaOpacity(surface, source, area, 255);
}
