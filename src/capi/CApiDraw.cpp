// The C interface's drawing calls: pictures through the blitters, shapes and text through GDI+,
// the background copy.
#include "CApiHandles.h"

using namespace capi;

namespace {

// The blitters need pixels; GDI+ calls need the graphics object of a bound surface.
int NeedPixels(const VorSurface* s) { return Record(s->graphics.GetPixels() ? VOR_OK : VOR_E_STATE); }
int NeedGraphics(const VorSurface* s) { return Record(s->graphics.GetGraphics() ? VOR_OK : VOR_E_STATE); }

template <class T>
T* Mutable(const T* object) {
    return const_cast<T*>(object);
}

}  // namespace

int vor_draw_tga(VorSurface* surface, const VorTga* tga, int x, int y) {
    return Guard([&] {
        if (CheckAll(surface, tga) != VOR_OK) return vor_last_status();
        surface->graphics.Draw(Mutable(&tga->tga), x, y);
        return NeedPixels(surface);
    });
}

int vor_draw_tga_part(VorSurface* surface, const VorTga* tga, int x, int y, int srcX, int srcY, int width, int height) {
    return Guard([&] {
        if (CheckAll(surface, tga) != VOR_OK) return vor_last_status();
        surface->graphics.Draw(Mutable(&tga->tga), x, y, srcX, srcY, width, height);
        return NeedPixels(surface);
    });
}

int vor_draw_tga_part_alpha(VorSurface* surface, const VorTga* tga, int x, int y, int srcX, int srcY, int width,
                            int height, unsigned char alpha) {
    return Guard([&] {
        if (CheckAll(surface, tga) != VOR_OK) return vor_last_status();
        surface->graphics.Draw(Mutable(&tga->tga), x, y, srcX, srcY, width, height, alpha);
        return NeedPixels(surface);
    });
}

int vor_draw_bitmap(VorSurface* surface, const VorBitmap* bitmap, int x, int y) {
    return Guard([&] {
        if (CheckAll(surface, bitmap) != VOR_OK) return vor_last_status();
        surface->graphics.Draw(Mutable(&bitmap->bitmap), x, y);
        return NeedPixels(surface);
    });
}

int vor_draw_bitmap_alpha(VorSurface* surface, const VorBitmap* bitmap, int x, int y, unsigned char alpha) {
    return Guard([&] {
        if (CheckAll(surface, bitmap) != VOR_OK) return vor_last_status();
        surface->graphics.Draw(Mutable(&bitmap->bitmap), x, y, alpha);
        return NeedPixels(surface);
    });
}

int vor_draw_bitmap_part(VorSurface* surface, const VorBitmap* bitmap, int x, int y, int srcX, int srcY, int width,
                         int height) {
    return Guard([&] {
        if (CheckAll(surface, bitmap) != VOR_OK) return vor_last_status();
        surface->graphics.Draw(Mutable(&bitmap->bitmap), x, y, srcX, srcY, width, height);
        return NeedPixels(surface);
    });
}

int vor_draw_bitmap_part_alpha(VorSurface* surface, const VorBitmap* bitmap, int x, int y, int srcX, int srcY,
                               int width, int height, unsigned char alpha) {
    return Guard([&] {
        if (CheckAll(surface, bitmap) != VOR_OK) return vor_last_status();
        surface->graphics.Draw(Mutable(&bitmap->bitmap), x, y, srcX, srcY, width, height, alpha);
        return NeedPixels(surface);
    });
}

int vor_draw_bitmap_scaled(VorSurface* surface, const VorBitmap* bitmap, int x, int y, int width, int height) {
    return Guard([&] {
        if (CheckAll(surface, bitmap) != VOR_OK) return vor_last_status();
        surface->graphics.DrawImage(Mutable(&bitmap->bitmap), x, y, width, height);
        return NeedGraphics(surface);
    });
}

int vor_draw_bitmap_scaled_part(VorSurface* surface, const VorBitmap* bitmap, float dx, float dy, float dw, float dh,
                                float sx, float sy, float sw, float sh) {
    return Guard([&] {
        if (CheckAll(surface, bitmap) != VOR_OK) return vor_last_status();
        surface->graphics.DrawImage(Mutable(&bitmap->bitmap), Gdiplus::RectF(dx, dy, dw, dh),
                                    Gdiplus::RectF(sx, sy, sw, sh));
        return NeedGraphics(surface);
    });
}

int vor_fill_rect(VorSurface* surface, int x, int y, int width, int height, unsigned char r, unsigned char g,
                  unsigned char b) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        surface->graphics.FillRectangle(x, y, width, height, r, g, b);
        return NeedPixels(surface);
    });
}

int vor_fill_rect_brush(VorSurface* surface, const VorBrush* brush, int x, int y, int width, int height) {
    return Guard([&] {
        if (CheckAll(surface, brush) != VOR_OK) return vor_last_status();
        surface->graphics.FillRectangle(Mutable(&brush->brush), x, y, width, height);
        return NeedGraphics(surface);
    });
}

int vor_draw_line(VorSurface* surface, const VorPen* pen, int x1, int y1, int x2, int y2) {
    return Guard([&] {
        if (CheckAll(surface, pen) != VOR_OK) return vor_last_status();
        surface->graphics.DrawLine(Mutable(&pen->pen), x1, y1, x2, y2);
        return NeedGraphics(surface);
    });
}

int vor_draw_rect(VorSurface* surface, const VorPen* pen, int x, int y, int width, int height) {
    return Guard([&] {
        if (CheckAll(surface, pen) != VOR_OK) return vor_last_status();
        surface->graphics.DrawRectangle(Mutable(&pen->pen), x, y, width, height);
        return NeedGraphics(surface);
    });
}

int vor_draw_text(VorSurface* surface, const wchar_t* text, int x, int y, const VorFont* font, unsigned int argb) {
    return Guard([&] {
        if (CheckAll(surface, font) != VOR_OK) return vor_last_status();
        if (!text) return Record(VOR_E_ARGUMENT);
        const std::wstring bounded = BoundedText(text);
        Gdiplus::SolidBrush ink{Gdiplus::Color(Gdiplus::ARGB(argb))};
        surface->graphics.Draw(bounded.c_str(), x, y, Mutable(&font->font), &ink);
        return NeedGraphics(surface);
    });
}

int vor_draw_text_in(VorSurface* surface, const wchar_t* text, int x, int y, int width, int height, const VorFont* font,
                     unsigned int argb, int align) {
    return Guard([&] {
        if (CheckAll(surface, font) != VOR_OK) return vor_last_status();
        if (!text || align < VOR_ALIGN_NEAR || align > VOR_ALIGN_FAR) return Record(VOR_E_ARGUMENT);
        const std::wstring bounded = BoundedText(text);
        Gdiplus::SolidBrush ink{Gdiplus::Color(Gdiplus::ARGB(argb))};
        surface->graphics.Draw(bounded.c_str(), x, y, width, height, Mutable(&font->font), &ink,
                               Gdiplus::StringAlignment(align));
        return NeedGraphics(surface);
    });
}

int vor_surface_set_font(VorSurface* surface, VorFont* font) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        if (font && CheckAll(font) != VOR_OK) return vor_last_status();
        surface->graphics.SetNowFont(font ? &font->font : nullptr);
        return Record(VOR_OK);
    });
}

int vor_surface_set_back(VorSurface* surface, const VorBitmap* bitmap) {
    return Guard([&] {
        if (CheckAll(surface, bitmap) != VOR_OK) return vor_last_status();
        surface->graphics.SetBackBitmap(Mutable(&bitmap->bitmap));
        return Record(surface->graphics.GetBackCopy() ? VOR_OK : VOR_E_STATE);
    });
}

int vor_surface_draw_back(VorSurface* surface) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        surface->graphics.DrawBack();
        return NeedPixels(surface);
    });
}
