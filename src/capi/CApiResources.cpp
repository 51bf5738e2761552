// The C interface's drawing resources: colours, pens, brushes and fonts.
#include "CApiHandles.h"

using namespace capi;

namespace {

// Keeps a resource whose GDI+ object was made; frees it and answers null otherwise.
template <class H>
H* KeepMade(H* h, bool made, Gdiplus::Status status) {
    if (made) {
        Record(VOR_OK);
        return h;
    }
    DeleteHandle(h);
    Record(VOR_E_GDIPLUS, status == Gdiplus::Ok ? int(Gdiplus::GenericError) : int(status));
    return nullptr;
}

template <class H, class Forget>
void Destroy(H* h, Forget forget) {
    Guard([&] {
        if (CheckAll(h) != VOR_OK) return vor_last_status();
        forget();
        DeleteHandle(h);
        return Record(VOR_OK);
    });
}

}  // namespace

VorColor* vor_color_create(unsigned char r, unsigned char g, unsigned char b) {
    return GuardValue<VorColor*>(nullptr, [&]() -> VorColor* {
        VorColor* h = NewHandle<VorColor>();
        if (!h) return nullptr;
        h->color.Init(r, g, b);
        Record(VOR_OK);
        return h;
    });
}

void vor_color_destroy(VorColor* color) {
    Destroy(color, [&] { ForgetColor(&color->color); });
}

int vor_color_set(VorColor* color, unsigned char r, unsigned char g, unsigned char b) {
    if (CheckAll(color) != VOR_OK) return vor_last_status();
    color->color.Init(r, g, b);
    return Record(VOR_OK);
}

unsigned int vor_color_get(const VorColor* color) {
    return Query<unsigned int>(color, 0, [&] {
        return unsigned(color->color.GetR()) << 16 | unsigned(color->color.GetG()) << 8 | color->color.GetB();
    });
}

VorPen* vor_pen_create(unsigned char r, unsigned char g, unsigned char b, float width, int dash) {
    return GuardValue<VorPen*>(nullptr, [&]() -> VorPen* {
        // NaN fails the comparison too.
        if (!(width > 0.0f) || dash < VOR_DASH_SOLID || dash > VOR_DASH_DASHDOTDOT) {
            Record(VOR_E_ARGUMENT);
            return nullptr;
        }
        EnsureGdiplus();
        VorPen* h = NewHandle<VorPen>();
        if (!h) return nullptr;
        h->pen.Init(r, g, b, width, Gdiplus::DashStyle(dash));
        return KeepMade(h, h->pen.GetPen() && h->pen.GetLastStatus() == Gdiplus::Ok, h->pen.GetLastStatus());
    });
}

void vor_pen_destroy(VorPen* pen) {
    Destroy(pen, [&] { ForgetPen(&pen->pen); });
}

VorBrush* vor_brush_create_hatch(int style, unsigned int foreArgb, unsigned int backArgb) {
    return GuardValue<VorBrush*>(nullptr, [&]() -> VorBrush* {
        if (style < 0 || style > VOR_HATCH_LAST) {
            Record(VOR_E_ARGUMENT);
            return nullptr;
        }
        EnsureGdiplus();
        VorBrush* h = NewHandle<VorBrush>();
        if (!h) return nullptr;
        h->brush.Init(Gdiplus::HatchStyle(style), Gdiplus::Color(Gdiplus::ARGB(foreArgb)),
                      Gdiplus::Color(Gdiplus::ARGB(backArgb)));
        return KeepMade(h, h->brush.GetHatchBrush() && h->brush.GetLastStatus() == Gdiplus::Ok,
                        h->brush.GetLastStatus());
    });
}

VorBrush* vor_brush_create_texture(const VorBitmap* bitmap, int wrap) {
    return GuardValue<VorBrush*>(nullptr, [&]() -> VorBrush* {
        if (CheckAll(bitmap) != VOR_OK) return nullptr;
        if (wrap < VOR_WRAP_TILE || wrap > VOR_WRAP_CLAMP) {
            Record(VOR_E_ARGUMENT);
            return nullptr;
        }
        EnsureGdiplus();
        VorBrush* h = NewHandle<VorBrush>();
        if (!h) return nullptr;
        h->brush.Init(const_cast<CVorBitmap*>(&bitmap->bitmap), Gdiplus::WrapMode(wrap));
        return KeepMade(h, h->brush.GetTextureBrush() && h->brush.GetLastStatus() == Gdiplus::Ok,
                        h->brush.GetLastStatus());
    });
}

void vor_brush_destroy(VorBrush* brush) {
    Destroy(brush, [&] { ForgetBrush(&brush->brush); });
}

VorFont* vor_font_create(int size, const wchar_t* face, int style) {
    return GuardValue<VorFont*>(nullptr, [&]() -> VorFont* {
        if (size <= 0 || !face || !NameIsBounded(face) || style < 0 || style > 15) {
            Record(VOR_E_ARGUMENT);
            return nullptr;
        }
        EnsureGdiplus();
        VorFont* h = NewHandle<VorFont>();
        if (!h) return nullptr;
        h->font.Init(size, face, Gdiplus::FontStyle(style));
        return KeepMade(h, h->font.GetFont() && h->font.GetLastStatus() == Gdiplus::Ok, h->font.GetLastStatus());
    });
}

void vor_font_destroy(VorFont* font) {
    Destroy(font, [&] { ForgetFont(&font->font); });
}

float vor_font_size(const VorFont* font) {
    return Query<float>(font, 0.0f, [&] { return font->font.GetSize(); });
}
