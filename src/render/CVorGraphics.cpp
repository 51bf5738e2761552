// Surface life cycle and presentation.
#include "CVorGraphics.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>

#include "base/GdiplusNew.h"
#include "render/PageBlock.h"
#include "render/PresentArea.h"
#include "render/SurfaceShares.h"

namespace {

// Biggest back buffer we make: its byte count must fit a signed 32-bit value.
const int64_t kMaxBufferBytes = INT_MAX;

void AddRef(VorBackBufferShare* s) {
    if (s) ++s->refs;
}
void AddRef(VorDeviceShare* s) {
    if (s) ++s->refs;
}
void AddRef(VorGraphicsShare* s) {
    if (s) ++s->refs;
}

void Release(VorBackBufferShare*& s) {
    if (!s) return;
    if (--s->refs == 0) {
        delete[] reinterpret_cast<BYTE*>(s->info);
        FreePageBlock(s->backCopy, s->backCopyBytes);
        if (s->bitmap) ::DeleteObject(s->bitmap);
        delete s;
    }
    s = nullptr;
}

// Puts the DC's own bitmap back and lets go of the back buffer it held.
void Deselect(VorDeviceShare* d) {
    if (!d || !d->selected) return;
    ::SelectObject(d->dc.m_hDC, d->originalBitmap);
    d->originalBitmap = nullptr;
    Release(d->selected);
}

void Release(VorDeviceShare*& s) {
    if (!s) return;
    if (--s->refs == 0) {
        Deselect(s);
        s->dc.DeleteDC();
        delete s;
    }
    s = nullptr;
}

void Release(VorGraphicsShare*& s) {
    if (!s) return;
    if (--s->refs == 0) {
        delete s->graphics;
        delete s;
    }
    s = nullptr;
}

VorGraphicsShare* MakeGraphics(HDC hdc) {
    VorGraphicsShare* share = new (std::nothrow) VorGraphicsShare();
    if (!share) return nullptr;
    share->refs = 1;
    share->graphics = NewGdiplus<Gdiplus::Graphics>(hdc);
    return share;
}

}  // namespace

CVorGraphics::CVorGraphics()
    : m_gdiplusToken(0), m_buffer(nullptr), m_device(nullptr), m_graphics(nullptr), m_targetDC(nullptr), m_stride(0),
      m_width(0), m_height(0), m_bitsPerPixel(24), m_spriteOrder(0), m_nowFont(nullptr), m_lastPresented(0),
      m_exactPresent(0) {}

CVorGraphics::CVorGraphics(HDC hdc) : CVorGraphics() { InitGraphics(hdc); }

CVorGraphics::CVorGraphics(const CVorGraphics& other)
    : m_gdiplusToken(other.m_gdiplusToken), m_buffer(other.m_buffer), m_device(other.m_device),
      m_graphics(other.m_graphics), m_targetDC(other.m_targetDC), m_stride(other.m_stride), m_width(other.m_width),
      m_height(other.m_height), m_bitsPerPixel(other.m_bitsPerPixel), m_sprites(other.m_sprites),
      m_listed(other.m_listed), m_zang(other.m_zang), m_spriteOrder(other.m_spriteOrder), m_nowFont(other.m_nowFont),
      m_lastPresented(0), m_exactPresent(other.m_exactPresent) {
    AddRef(m_buffer);
    AddRef(m_device);
    AddRef(m_graphics);
}

CVorGraphics& CVorGraphics::operator=(const CVorGraphics& other) {
    if (this == &other) return *this;
    AddRef(other.m_buffer);
    AddRef(other.m_device);
    AddRef(other.m_graphics);
    ReleaseGraphics();
    ReleaseDevice();
    ReleaseBackBuffer();
    m_gdiplusToken = other.m_gdiplusToken;
    m_buffer = other.m_buffer;
    m_device = other.m_device;
    m_graphics = other.m_graphics;
    m_targetDC = other.m_targetDC;
    m_stride = other.m_stride;
    m_width = other.m_width;
    m_height = other.m_height;
    m_bitsPerPixel = other.m_bitsPerPixel;
    m_sprites = other.m_sprites;
    m_listed = other.m_listed;
    m_zang = other.m_zang;
    m_spriteOrder = other.m_spriteOrder;
    m_nowFont = other.m_nowFont;
    m_lastPresented = 0;  // as for a copy: this surface has presented nothing yet
    m_exactPresent = other.m_exactPresent;
    return *this;
}

CVorGraphics::~CVorGraphics() {
    ReleaseGraphics();
    ReleaseDevice();
    ReleaseBackBuffer();
}

void CVorGraphics::ReleaseGraphics() { Release(m_graphics); }
void CVorGraphics::ReleaseDevice() { Release(m_device); }

void CVorGraphics::ReleaseBackBuffer() {
    // A DIB still selected into a DC cannot be deleted: take it out of our memory DC first. A DC
    // shared with copies stays as it is: they still draw through it, and its own reference keeps
    // the buffer alive until it lets go.
    if (m_device && m_device->refs == 1 && m_buffer && m_device->selected == m_buffer) Deselect(m_device);
    Release(m_buffer);
}

void CVorGraphics::GdiInit() {
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread on
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr);
}

bool CVorGraphics::Init(int width, int height) {
    ReleaseBackBuffer();
    m_bitsPerPixel = 24;
    m_width = width;
    m_height = height;
    m_stride = 0;

    // Sizes in 64 bits: a negative size or one whose byte count does not fit gives a surface with
    // a header but no pixels, and still counts as made.
    int64_t stride = (int64_t(width) * 3 + 3) & ~int64_t(3);
    int64_t bytes = stride * int64_t(height);
    const bool sized = width >= 0 && height >= 0 && stride <= kMaxBufferBytes && bytes <= kMaxBufferBytes;
    if (!sized) stride = bytes = 0;
    m_stride = int(stride);

    VorBackBufferShare* share = new (std::nothrow) VorBackBufferShare();
    if (!share) return false;
    share->refs = 1;
    share->bitmap = nullptr;
    share->pixels = nullptr;
    share->backCopy = nullptr;
    share->backCopyBytes = 0;
    share->info = reinterpret_cast<BITMAPINFO*>(new (std::nothrow) BYTE[sizeof(BITMAPINFO)]());
    if (!share->info) {
        delete share;
        return false;
    }
    BITMAPINFOHEADER& h = share->info->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = -height;  // top-down: row 0 is the top row
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    h.biSizeImage = DWORD(bytes);
    m_buffer = share;

    // The background copy ends on a page boundary, before a page that is never mapped.
    if (bytes > 0) {
        share->backCopy = AllocatePageBlock(size_t(bytes));
        share->backCopyBytes = share->backCopy ? size_t(bytes) : 0;
    }

    if (!sized) return true;
    HWND active = ::GetActiveWindow();
    HDC screen = ::GetDC(active);
    void* bits = nullptr;
    share->bitmap = ::CreateDIBSection(screen, share->info, DIB_RGB_COLORS, &bits, nullptr, 0);
    share->pixels = share->bitmap ? static_cast<BYTE*>(bits) : nullptr;
    ::ReleaseDC(active, screen);
    return true;
}

void CVorGraphics::InitGraphics(HDC hdc) {
    ReleaseGraphics();
    m_graphics = MakeGraphics(hdc);
}

void CVorGraphics::InitGraphics(CPaintDC* dc) {
    ReleaseGraphics();
    ReleaseDevice();
    m_targetDC = dc;

    VorDeviceShare* device = new (std::nothrow) VorDeviceShare();
    if (!device) return;
    device->refs = 1;
    device->originalBitmap = nullptr;
    device->selected = nullptr;
    device->dc.Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
    m_device = device;
    if (m_buffer && m_buffer->bitmap && device->dc.m_hDC) {
        device->originalBitmap = ::SelectObject(device->dc.m_hDC, m_buffer->bitmap);
        device->selected = m_buffer;
        AddRef(m_buffer);
    }
    m_graphics = MakeGraphics(device->dc.m_hDC);
}

void CVorGraphics::DeleteGraphics() {
    ReleaseGraphics();
    ReleaseDevice();
}

void CVorGraphics::DrawDC() {
    m_lastPresented = 0;
    if (!m_targetDC || !m_targetDC->m_hDC) return;
    HDC source = m_device ? m_device->dc.m_hDC : nullptr;
    if (!source) return;
    // The same pixels as one origin-to-far-corner copy per dirty rectangle, each copied once; or,
    // when asked, the dirty rectangles alone.
    m_lastPresented = m_exactPresent ? ExactBands(m_zang.GetRects(), m_width, m_height, m_presentBands)
                                     : PresentBands(m_zang.GetRects(), m_width, m_height, m_presentBands);
    for (const CVorRect& b : m_presentBands)
        ::BitBlt(m_targetDC->m_hDC, b.X, b.Y, b.Width, b.Height, source, b.X, b.Y, SRCCOPY);
}

long long CVorGraphics::GetLastPresentedPixels() const { return m_lastPresented; }
void CVorGraphics::SetExactPresent(int exact) { m_exactPresent = exact ? 1 : 0; }
int CVorGraphics::GetExactPresent() const { return m_exactPresent; }

Gdiplus::Graphics* CVorGraphics::GetGraphics() const { return m_graphics ? m_graphics->graphics : nullptr; }
HBITMAP CVorGraphics::GetBitmap() const { return m_buffer ? m_buffer->bitmap : nullptr; }
CDC* CVorGraphics::GetMemDC() const { return m_device ? &m_device->dc : nullptr; }
CPaintDC* CVorGraphics::GetTargetDC() const { return m_targetDC; }
unsigned long CVorGraphics::GetWidth() const { return (unsigned long)m_width; }
unsigned long CVorGraphics::GetHeight() const { return (unsigned long)m_height; }
BYTE* CVorGraphics::GetPixels() const { return m_buffer ? m_buffer->pixels : nullptr; }
int CVorGraphics::GetStride() const { return m_stride; }
int CVorGraphics::GetBitsPerPixel() const { return m_bitsPerPixel; }
BITMAPINFO* CVorGraphics::GetBitmapInfo() const { return m_buffer ? m_buffer->info : nullptr; }
BYTE* CVorGraphics::GetBackCopy() const { return m_buffer ? m_buffer->backCopy : nullptr; }
