// The C interface's surfaces: life cycle, binding to a window or DC, presentation, pixel access.
#include "CApiHandles.h"

#include <cstring>

using namespace capi;

namespace {

// A DC the host owns, presented to through the surface's CPaintDC slot; never deleted here.
class HostDC : public CPaintDC {
public:
    explicit HostDC(HDC hdc) : CPaintDC(nullptr, hdc) {}
    ~HostDC() { Detach(); }
};

int MakeBackBuffer(VorSurface* s, int width, int height) {
    if (width < 1 || height < 1) return Record(VOR_E_ARGUMENT);
    if (!s->graphics.Init(width, height) || !s->graphics.GetPixels()) return Record(VOR_E_MEMORY);
    return Record(VOR_OK);
}

void Unbind(VorSurface* s) {
    // The surface keeps its target pointer through DeleteGraphics: point it at no DC first.
    s->graphics.InitGraphics(static_cast<CPaintDC*>(nullptr));
    s->graphics.DeleteGraphics();
    s->target.reset();
    s->window = nullptr;
}

// Binds to dc (which the surface may own); VOR_OK when a memory DC could be made.
int Bind(VorSurface* s, std::unique_ptr<CPaintDC> dc, HWND window) {
    s->graphics.InitGraphics(dc.get());
    s->target = std::move(dc);
    s->window = window;
    return Record(s->graphics.GetMemDC() && s->graphics.GetMemDC()->m_hDC ? VOR_OK : VOR_E_WINDOW);
}

}  // namespace

VorSurface* vor_surface_create(int width, int height) {
    return GuardValue<VorSurface*>(nullptr, [&]() -> VorSurface* {
        if (width < 1 || height < 1) {
            Record(VOR_E_ARGUMENT);
            return nullptr;
        }
        EnsureGdiplus();
        VorSurface* s = NewHandle<VorSurface>();
        if (!s) return nullptr;
        if (MakeBackBuffer(s, width, height) != VOR_OK) {
            const int status = vor_last_status();
            DeleteHandle(s);
            Record(status);
            return nullptr;
        }
        return s;
    });
}

void vor_surface_destroy(VorSurface* surface) {
    Guard([&] {
        if (!surface) return Record(VOR_E_NULL_HANDLE);
        if (HandleStatus(surface) != VOR_OK) return Record(VOR_E_BAD_HANDLE);
        ForgetSurface(surface);
        Unbind(surface);
        DeleteHandle(surface);
        return Record(VOR_OK);
    });
}

int vor_surface_resize(VorSurface* surface, int width, int height) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        if (width < 1 || height < 1) return Record(VOR_E_ARGUMENT);
        const int status = MakeBackBuffer(surface, width, height);
        // The memory DC held the old back buffer: bind again to the same target.
        if (status == VOR_OK && surface->graphics.GetMemDC()) surface->graphics.InitGraphics(surface->target.get());
        return status;
    });
}

int vor_surface_width(const VorSurface* surface) {
    return Query<int>(surface, 0, [&] { return int(surface->graphics.GetWidth()); });
}

int vor_surface_height(const VorSurface* surface) {
    return Query<int>(surface, 0, [&] { return int(surface->graphics.GetHeight()); });
}

int vor_surface_bind_window(VorSurface* surface, void* hwnd) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        HWND window = static_cast<HWND>(hwnd);
        if (!window || !::IsWindow(window)) return Record(VOR_E_WINDOW);
        Unbind(surface);
        std::unique_ptr<CPaintDC> dc(new CClientDC(window));
        if (!dc->m_hDC) return Record(VOR_E_WINDOW);
        return Bind(surface, std::move(dc), window);
    });
}

int vor_surface_bind_dc(VorSurface* surface, void* hdc) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        Unbind(surface);
        std::unique_ptr<CPaintDC> dc;
        if (hdc) dc.reset(new HostDC(static_cast<HDC>(hdc)));
        return Bind(surface, std::move(dc), nullptr);
    });
}

int vor_surface_draw_gdiplus_to_dc(VorSurface* surface, void* hdc) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        if (!hdc) return Record(VOR_E_ARGUMENT);
        surface->graphics.InitGraphics(static_cast<HDC>(hdc));
        return Record(surface->graphics.GetGraphics() ? VOR_OK : VOR_E_GDIPLUS);
    });
}

int vor_surface_unbind(VorSurface* surface) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        Unbind(surface);
        return Record(VOR_OK);
    });
}

int vor_surface_present(VorSurface* surface) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        if (surface->window && !::IsWindow(surface->window)) return Record(VOR_E_WINDOW);
        if (!surface->target) return Record(VOR_E_STATE);
        surface->graphics.DrawDC();
        return Record(VOR_OK);
    });
}

long vor_surface_presented_pixels(const VorSurface* surface) {
    if (CheckAll(surface) != VOR_OK) return 0;
    Record(VOR_OK);
    const long long n = surface->graphics.GetLastPresentedPixels();
    return n > 0x7FFFFFFFll ? 0x7FFFFFFFl : long(n);
}

int vor_surface_set_exact_present(VorSurface* surface, int exact) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        surface->graphics.SetExactPresent(exact ? 1 : 0);
        return Record(VOR_OK);
    });
}

int vor_surface_exact_present(const VorSurface* surface) {
    return Query<int>(surface, 0, [&] { return surface->graphics.GetExactPresent() ? 1 : 0; });
}

unsigned char* vor_surface_pixels(VorSurface* surface) {
    if (CheckAll(surface) != VOR_OK) return nullptr;
    unsigned char* p = surface->graphics.GetPixels();
    Record(p ? VOR_OK : VOR_E_STATE);
    return p;
}

int vor_surface_stride(const VorSurface* surface) {
    return Query<int>(surface, 0, [&] { return surface->graphics.GetStride(); });
}

unsigned char* vor_surface_back_copy(VorSurface* surface) {
    if (CheckAll(surface) != VOR_OK) return nullptr;
    unsigned char* p = surface->graphics.GetBackCopy();
    Record(p ? VOR_OK : VOR_E_STATE);
    return p;
}

int vor_surface_get_pixel(const VorSurface* surface, int x, int y, unsigned int* rgb) {
    if (CheckAll(surface) != VOR_OK) return vor_last_status();
    const CVorGraphics& g = surface->graphics;
    if (!rgb || x < 0 || y < 0 || unsigned(x) >= g.GetWidth() || unsigned(y) >= g.GetHeight())
        return Record(VOR_E_ARGUMENT);
    const unsigned char* p = g.GetPixels();
    if (!p) return Record(VOR_E_STATE);
    p += size_t(y) * size_t(g.GetStride()) + 3 * size_t(x);
    *rgb = unsigned(p[2]) << 16 | unsigned(p[1]) << 8 | p[0];
    return Record(VOR_OK);
}

int vor_surface_read(const VorSurface* surface, void* dst, size_t dstSize, int dstStride) {
    if (CheckAll(surface) != VOR_OK) return vor_last_status();
    const CVorGraphics& g = surface->graphics;
    const unsigned char* p = g.GetPixels();
    if (!p) return Record(VOR_E_STATE);
    const size_t row = 3 * size_t(g.GetWidth()), rows = g.GetHeight();
    if (!dst || dstStride < 0 || size_t(dstStride) < row || size_t(dstStride) > (size_t(-1) - row) / rows)
        return Record(VOR_E_ARGUMENT);
    if (dstSize < size_t(dstStride) * (rows - 1) + row) return Record(VOR_E_ARGUMENT);
    for (size_t y = 0; y < rows; ++y)
        std::memcpy(static_cast<unsigned char*>(dst) + y * size_t(dstStride), p + y * size_t(g.GetStride()), row);
    return Record(VOR_OK);
}
