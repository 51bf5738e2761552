// The background copy: SetBackBitmap fills it once from a picture, DrawBack restores the whole back
// buffer from it in one block copy.
#include <cstdint>
#include <cstring>

#include "CVorBitmap.h"
#include "CVorGraphics.h"
#include "render/BitmapBlit.h"
#include "render/simd/RowKernels.h"

namespace {

// The background copy seen as a surface: the back buffer's layout (24-bit, top row first, stride).
PixelSurface BackgroundOf(const CVorGraphics& g) {
    PixelSurface s = {g.GetBackCopy(), g.GetStride(), int(g.GetWidth()), int(g.GetHeight())};
    if (!s.Writable()) s.pixels = nullptr;
    return s;
}

// Memory image: row i of the block (3 * width bytes) goes to background row i, clipped to the
// background; the row padding is not written. For an image as wide as the surface with 3 * width a
// multiple of 4 this is one block copy, so a block stored top row first restores upright. A block
// shorter than width x height pixels is not read.
void SetMemoryBackground(const PixelSurface& back, CVorBitmap* image) {
    const int width = image->GetWidth(), height = image->GetHeight();
    if (width <= 0 || height <= 0) return;
    if (int64_t(image->GetMemSize()) < MemoryImageBytes(width, height)) return;
    const BitmapRows rows{image->GetMemBitmap(), 3 * int64_t(width), width, height, false};
    BitmapBlit blit;
    blit.dstX = 0;
    blit.dstY = 0;
    blit.srcX = 0;
    blit.srcY = 0;
    blit.width = width < back.width ? width : back.width;
    blit.height = height < back.height ? height : back.height;
    CopyBitmapRows(back, rows, blit);
}

// GDI+ image: its top-left part, as large as fits, locked as 24-bit rows (GDI+ converts any
// other pixel format) and copied top row first. A failed lock copies nothing; the status stays
// with the GDI+ bitmap.
void SetImageBackground(const PixelSurface& back, CVorBitmap* image) {
    Gdiplus::Bitmap* bitmap = image->GetBitmap();
    const int width = image->GetWidth(), height = image->GetHeight();
    if (width <= 0 || height <= 0) return;
    const int w = width < back.width ? width : back.width;
    const int h = height < back.height ? height : back.height;
    Gdiplus::Rect window(0, 0, w, h);
    Gdiplus::BitmapData data;
    std::memset(&data, 0, sizeof data);
    if (bitmap->LockBits(&window, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data) != Gdiplus::Ok) return;
    if (data.Scan0 && data.Width == UINT(w) && data.Height == UINT(h)) {
        const BitmapRows rows{static_cast<const unsigned char*>(data.Scan0), int64_t(data.Stride), w, h, false};
        const BitmapBlit blit{0, 0, 0, 0, w, h};
        CopyBitmapRows(back, rows, blit);
    }
    bitmap->UnlockBits(&data);
}

}  // namespace

void CVorGraphics::SetBackBitmap(CVorBitmap* image) {
    if (!image) return;
    const PixelSurface back = BackgroundOf(*this);
    if (!back.pixels) return;
    if (image->GetMemBitmap())
        SetMemoryBackground(back, image);
    else if (image->GetBitmap() && m_bitsPerPixel == 24)
        SetImageBackground(back, image);
}

void CVorGraphics::DrawBack() {
    BYTE* pixels = GetPixels();
    BYTE* back = GetBackCopy();
    if (!pixels || !back || m_stride <= 0 || m_height <= 0) return;
    ActiveRows().copyBytes(pixels, back, size_t(m_stride) * size_t(m_height));
}
