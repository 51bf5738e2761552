// Drawing CVorBitmap pictures: the memory path (our own kernels on the memory pixels), the locked
// path (the same kernels on the locked rows of a GDI+ bitmap), the GDI+ path (the graphics object
// draws) and the zoom path (GDI stretches a memory image onto the memory DC).
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "CVorBitmap.h"
#include "CVorGraphics.h"
#include "render/BitmapBlit.h"
#include "render/SurfaceView.h"

namespace {

// A picture with something to draw: memory pixels or a GDI+ bitmap. A never loaded one draws nothing.
bool HasSource(CVorBitmap* bitmap) { return bitmap && (bitmap->GetMemBitmap() || bitmap->GetBitmap()); }

bool IsMemory(CVorBitmap* bitmap) { return bitmap->GetMemBitmap() != nullptr; }

ColorKey KeyOf(CVorBitmap* bitmap) { return ColorKey{bitmap->GetKeyB(), bitmap->GetKeyG(), bitmap->GetKeyR()}; }

// The memory rows of a memory image, when its block holds all width x height pixels; a shorter
// block is never read.
bool MemoryRows(CVorBitmap* bitmap, BitmapRows* rows) {
    const int width = bitmap->GetWidth(), height = bitmap->GetHeight();
    if (width <= 0 || height <= 0) return false;
    if (int64_t(bitmap->GetMemSize()) < MemoryImageBytes(width, height)) return false;
    *rows = BitmapRows{bitmap->GetMemBitmap(), 3 * int64_t(width), width, height, true};
    return true;
}

// Copies or blends (opacity below 255) rows into the surface, keyed when the picture has a key.
void Blit(const PixelSurface& surface, const BitmapRows& rows, const BitmapBlit& blit, unsigned opacity,
          CVorBitmap* bitmap) {
    const bool keyed = bitmap->IsColorKey() != 0;
    if (opacity >= 255) {
        if (keyed)
            CopyBitmapRowsKeyed(surface, rows, blit, KeyOf(bitmap));
        else
            CopyBitmapRows(surface, rows, blit);
    } else {
        if (keyed)
            BlendBitmapRowsKeyed(surface, rows, blit, opacity, KeyOf(bitmap));
        else
            BlendBitmapRows(surface, rows, blit, opacity);
    }
}

void DrawMemory(const PixelSurface& surface, CVorBitmap* bitmap, const BitmapBlit& blit, unsigned opacity) {
    BitmapRows rows;
    if (MemoryRows(bitmap, &rows)) Blit(surface, rows, blit, opacity, bitmap);
}

// Locks the blit's source window as 24-bit rows (GDI+ converts any other pixel format), draws them
// top row first, unlocks. A failed lock draws nothing; its status stays with the GDI+ bitmap.
void DrawLocked(const PixelSurface& surface, CVorBitmap* bitmap, const BitmapBlit& blit, unsigned opacity) {
    Gdiplus::Bitmap* image = bitmap->GetBitmap();
    Gdiplus::Rect window(blit.srcX, blit.srcY, blit.width, blit.height);
    Gdiplus::BitmapData data;
    std::memset(&data, 0, sizeof data);
    if (image->LockBits(&window, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data) != Gdiplus::Ok) return;
    if (data.Scan0 && data.Width == UINT(blit.width) && data.Height == UINT(blit.height)) {
        const BitmapRows rows{static_cast<const unsigned char*>(data.Scan0), int64_t(data.Stride), blit.width,
                              blit.height, false};
        BitmapBlit local = blit;  // the lock starts at the window's corner
        local.srcX = 0;
        local.srcY = 0;
        Blit(surface, rows, local, opacity, bitmap);
    }
    image->UnlockBits(&data);
}

// Memory or locked path for an already clipped blit.
void DrawBytes(const PixelSurface& surface, CVorBitmap* bitmap, const BitmapBlit& blit, unsigned opacity) {
    if (IsMemory(bitmap))
        DrawMemory(surface, bitmap, blit, opacity);
    else
        DrawLocked(surface, bitmap, blit, opacity);
}

// True when the rectangle (x, y, width, height), either size possibly negative (a mirrored
// rectangle), has its far corner within 32 bits and meets the w x h surface.
bool MeetsSurface(int64_t x, int64_t y, int64_t width, int64_t height, int64_t w, int64_t h) {
    if (width == 0 || height == 0) return false;
    const int64_t x1 = x + width, y1 = y + height;
    if (x1 < INT_MIN || x1 > INT_MAX || y1 < INT_MIN || y1 > INT_MAX) return false;
    const int64_t left = width < 0 ? x1 : x, right = width < 0 ? x : x1;
    const int64_t top = height < 0 ? y1 : y, bottom = height < 0 ? y : y1;
    return right > 0 && bottom > 0 && left < w && top < h;
}

// A destination rectangle GDI+ may be handed: its far corner fits 32 bits. Whether it meets the
// back buffer is GDI+'s to judge, as it draws on whatever DC the graphics object is bound to.
bool FarCornerFits(int64_t x, int64_t y, int64_t width, int64_t height) {
    const int64_t x1 = x + width, y1 = y + height;
    return x1 >= INT_MIN && x1 <= INT_MAX && y1 >= INT_MIN && y1 <= INT_MAX;
}

bool IsFinite(const Gdiplus::RectF& r) {
    return std::isfinite(r.X) && std::isfinite(r.Y) && std::isfinite(r.Width) && std::isfinite(r.Height) &&
           std::isfinite(double(r.X) + r.Width) && std::isfinite(double(r.Y) + r.Height);
}

// Zoom path: GDI stretches the source window (srcX, srcY) to the far corner of the memory image
// into (x, y, width, height) on the memory DC. The memory rows are unpadded and bottom row first;
// GDI wants rows padded to 4 bytes, so odd widths go through a padded copy. No colour key.
void DrawZoomed(const CVorGraphics& g, CVorBitmap* bitmap, int x, int y, int srcX, int srcY, int width, int height) {
    CDC* dc = g.GetMemDC();
    if (!dc || !dc->m_hDC) return;
    BitmapRows rows;
    if (!MemoryRows(bitmap, &rows)) return;
    if (srcX < 0 || srcY < 0 || srcX >= rows.width || srcY >= rows.height) return;
    // GDI mirrors a negative size by negating it, which INT_MIN cannot survive (wine divides by zero).
    if (width == INT_MIN || height == INT_MIN) return;
    if (!MeetsSurface(x, y, width, height, int64_t(g.GetWidth()), int64_t(g.GetHeight()))) return;

    const int64_t rowBytes = 3 * int64_t(rows.width);
    const int64_t dibStride = (rowBytes + 3) & ~int64_t(3);
    const unsigned char* dib = rows.bits;
    unsigned char* padded = nullptr;
    if (dibStride != rowBytes) {
        padded = new (std::nothrow) unsigned char[size_t(dibStride * rows.height)];
        if (!padded) return;
        for (int r = 0; r < rows.height; ++r) {
            unsigned char* out = padded + r * dibStride;
            std::memcpy(out, rows.bits + r * rowBytes, size_t(rowBytes));
            std::memset(out + rowBytes, 0, size_t(dibStride - rowBytes));
        }
        dib = padded;
    }
    // Our own header, so GDI reads exactly the rows we hold, whatever the caller's header said.
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = rows.width;
    info.bmiHeader.biHeight = rows.height;  // bottom row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = DWORD(dibStride * rows.height);
    ::SetStretchBltMode(dc->m_hDC, COLORONCOLOR);
    ::StretchDIBits(dc->m_hDC, x, y, width, height, srcX, srcY, rows.width - srcX, rows.height - srcY, dib, &info,
                    DIB_RGB_COLORS, SRCCOPY);
    ::GdiFlush();
    delete[] padded;
}

}  // namespace

void CVorGraphics::Draw(CVorBitmap* bitmap, int x, int y) {
    if (!HasSource(bitmap) || m_bitsPerPixel != 24) return;
    const PixelSurface surface = PixelsOf(*this);
    const int width = bitmap->GetWidth(), height = bitmap->GetHeight();
    BitmapBlit blit;
    if (!ClipBitmapBlit(surface, width, height, x, y, 0, 0, width, height, &blit)) return;
    if (IsMemory(bitmap) || bitmap->IsColorKey()) {
        DrawBytes(surface, bitmap, blit, 255);
        return;
    }
    // GDI+ path: the whole picture at (x, y), one source pixel to one back-buffer pixel whatever
    // the file's resolution says; GDI+ clips to the back buffer.
    Gdiplus::Graphics* graphics = GetGraphics();
    if (!graphics) return;
    graphics->DrawImage(bitmap->GetBitmap(), Gdiplus::Rect(x, y, width, height), 0, 0, width, height,
                        Gdiplus::UnitPixel);
    ::GdiFlush();
}

void CVorGraphics::DrawImage(CVorBitmap* bitmap, int x, int y) { Draw(bitmap, x, y); }

void CVorGraphics::Draw(CVorBitmap* bitmap, int x, int y, unsigned char alpha) {
    if (alpha == 255) {
        Draw(bitmap, x, y);
        return;
    }
    if (alpha == 0 || !HasSource(bitmap) || m_bitsPerPixel != 24) return;
    const PixelSurface surface = PixelsOf(*this);
    const int width = bitmap->GetWidth(), height = bitmap->GetHeight();
    BitmapBlit blit;
    if (ClipBitmapBlit(surface, width, height, x, y, 0, 0, width, height, &blit))
        DrawBytes(surface, bitmap, blit, alpha);
}

void CVorGraphics::Draw(CVorBitmap* bitmap, int x, int y, int srcX, int srcY, int width, int height) {
    if (!HasSource(bitmap)) return;
    if (IsMemory(bitmap) && bitmap->IsZoom()) {
        DrawZoomed(*this, bitmap, x, y, srcX, srcY, width, height);
        return;
    }
    if (m_bitsPerPixel != 24) return;
    const PixelSurface surface = PixelsOf(*this);
    BitmapBlit blit;
    if (!ClipBitmapBlit(surface, bitmap->GetWidth(), bitmap->GetHeight(), x, y, srcX, srcY, width, height, &blit))
        return;
    if (IsMemory(bitmap) || bitmap->IsColorKey()) {
        DrawBytes(surface, bitmap, blit, 255);
        return;
    }
    // GDI+ path: the clipped window, unscaled.
    Gdiplus::Graphics* graphics = GetGraphics();
    if (!graphics) return;
    graphics->DrawImage(bitmap->GetBitmap(), Gdiplus::Rect(blit.dstX, blit.dstY, blit.width, blit.height), blit.srcX,
                        blit.srcY, blit.width, blit.height, Gdiplus::UnitPixel);
    ::GdiFlush();
}

void CVorGraphics::Draw(CVorBitmap* bitmap, int x, int y, int srcX, int srcY, int width, int height,
                        unsigned char alpha) {
    if (alpha == 255) {
        Draw(bitmap, x, y, srcX, srcY, width, height);
        return;
    }
    if (alpha == 0 || !HasSource(bitmap) || m_bitsPerPixel != 24) return;
    const PixelSurface surface = PixelsOf(*this);
    BitmapBlit blit;
    if (ClipBitmapBlit(surface, bitmap->GetWidth(), bitmap->GetHeight(), x, y, srcX, srcY, width, height, &blit))
        DrawBytes(surface, bitmap, blit, alpha);
}

void CVorGraphics::DrawImage(CVorBitmap* bitmap, int x, int y, int width, int height) {
    Gdiplus::Graphics* graphics = GetGraphics();
    if (!bitmap || !graphics) return;
    // No clipping of our own: GDI+ clips to the DC it draws on (the back buffer after
    // InitGraphics(CPaintDC*), the caller's DC after InitGraphics(HDC)).
    if (!FarCornerFits(x, y, width, height)) return;
    // A memory image has no GDI+ bitmap: GDI+ refuses the null image and the graphics object
    // records the refusal.
    Gdiplus::Bitmap* image = bitmap->GetBitmap();
    if (!bitmap->IsColorKey()) {
        graphics->DrawImage(image, x, y, width, height);
    } else {
        const int w = image ? bitmap->GetWidth() : 0, h = image ? bitmap->GetHeight() : 0;
        graphics->DrawImage(image, Gdiplus::Rect(x, y, width, height), 0, 0, w, h, Gdiplus::UnitPixel,
                            bitmap->GetImageAttributes());
    }
    ::GdiFlush();
}

void CVorGraphics::DrawImage(CVorBitmap* bitmap, const Gdiplus::Rect& dest) {
    DrawImage(bitmap, dest.X, dest.Y, dest.Width, dest.Height);
}

void CVorGraphics::DrawImage(CVorBitmap* bitmap, const Gdiplus::RectF& dest, const Gdiplus::RectF& src) {
    Gdiplus::Graphics* graphics = GetGraphics();
    if (!bitmap || !graphics) return;
    if (!IsFinite(dest) || !IsFinite(src)) return;
    graphics->DrawImage(bitmap->GetBitmap(), dest, src.X, src.Y, src.Width, src.Height, Gdiplus::UnitPixel,
                        bitmap->GetImageAttributes());
    ::GdiFlush();
}
