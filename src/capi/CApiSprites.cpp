// The C interface's sprites: kinds, placement, flags and animation.
#include "CApiHandles.h"

using namespace capi;

namespace {

// The library calls animation procedures with its own sprite; the host's gets its handle back.
void RunHostAnimation(CVorSprite* sprite) {
    VorSprite* h = SpriteOf(sprite);
    if (h && h->proc) h->proc(h, h->user);
}

template <class Body>
int WithSprite(VorSprite* sprite, Body body) {
    return Guard([&] {
        if (CheckAll(sprite) != VOR_OK) return vor_last_status();
        body(sprite->sprite);
        return Record(VOR_OK);
    });
}

}  // namespace

VorSprite* vor_sprite_create(void) {
    return GuardValue<VorSprite*>(nullptr, [&]() -> VorSprite* {
        VorSprite* h = NewHandle<VorSprite>();
        if (!h) return nullptr;
        RegisterSprite(h);
        Record(VOR_OK);
        return h;
    });
}

void vor_sprite_destroy(VorSprite* sprite) {
    Guard([&] {
        if (CheckAll(sprite) != VOR_OK) return vor_last_status();
        ForgetSprite(&sprite->sprite);
        UnregisterSprite(sprite);
        DeleteHandle(sprite);
        return Record(VOR_OK);
    });
}

int vor_sprite_set_tga(VorSprite* sprite, VorTga* tga) {
    if (CheckAll(sprite, tga) != VOR_OK) return vor_last_status();
    return WithSprite(sprite, [&](CVorSprite& s) { s.Init(&tga->tga); });
}

int vor_sprite_set_bitmap(VorSprite* sprite, VorBitmap* bitmap) {
    if (CheckAll(sprite, bitmap) != VOR_OK) return vor_last_status();
    return WithSprite(sprite, [&](CVorSprite& s) { s.Init(&bitmap->bitmap); });
}

int vor_sprite_set_bitmap_animated(VorSprite* sprite, VorBitmap* bitmap, VorAnimationProc proc, void* user) {
    if (CheckAll(sprite, bitmap) != VOR_OK) return vor_last_status();
    if (!proc) return vor_sprite_set_bitmap(sprite, bitmap);
    sprite->proc = proc;
    sprite->user = user;
    return WithSprite(sprite, [&](CVorSprite& s) { s.Init(&bitmap->bitmap, &RunHostAnimation); });
}

int vor_sprite_set_pen(VorSprite* sprite, VorPen* pen, int box) {
    if (CheckAll(sprite, pen) != VOR_OK) return vor_last_status();
    return WithSprite(sprite, [&](CVorSprite& s) { s.Init(&pen->pen, box); });
}

int vor_sprite_set_color(VorSprite* sprite, VorColor* color) {
    if (CheckAll(sprite, color) != VOR_OK) return vor_last_status();
    return WithSprite(sprite, [&](CVorSprite& s) { s.Init(&color->color); });
}

int vor_sprite_set_brush(VorSprite* sprite, VorBrush* brush) {
    if (CheckAll(sprite, brush) != VOR_OK) return vor_last_status();
    return WithSprite(sprite, [&](CVorSprite& s) { s.Init(&brush->brush); });
}

int vor_sprite_set_text(VorSprite* sprite, VorFont* font, const char* text, unsigned int argb, int align) {
    if (CheckAll(sprite, font) != VOR_OK) return vor_last_status();
    if (!text || align < VOR_ALIGN_NEAR || align > VOR_ALIGN_FAR) return Record(VOR_E_ARGUMENT);
    return WithSprite(sprite, [&](CVorSprite& s) {
        const std::string bounded = BoundedText(text);
        s.Init(&font->font, bounded.c_str(), Gdiplus::Color(Gdiplus::ARGB(argb)), Gdiplus::StringAlignment(align));
    });
}

int vor_sprite_place(VorSprite* sprite, int x, int y, int width, int height, int srcX, int srcY, unsigned char alpha) {
    return WithSprite(sprite, [&](CVorSprite& s) { s.SetRect(x, y, width, height, srcX, srcY, alpha); });
}

int vor_sprite_place_xy(VorSprite* sprite, int x, int y, unsigned char alpha) {
    return WithSprite(sprite, [&](CVorSprite& s) { s.SetRect(x, y, alpha); });
}

int vor_sprite_rect(const VorSprite* sprite, VorRect* out) {
    if (CheckAll(sprite) != VOR_OK) return vor_last_status();
    if (!out) return Record(VOR_E_ARGUMENT);
    const CVorSprite& s = sprite->sprite;
    out->x = s.GetX();
    out->y = s.GetY();
    out->width = s.GetWidth();
    out->height = s.GetHeight();
    return Record(VOR_OK);
}

int vor_sprite_force_dirty(VorSprite* sprite) {
    return WithSprite(sprite, [&](CVorSprite& s) { s.SetQiangzhiZang(1); });
}

int vor_sprite_is_dirty(const VorSprite* sprite) {
    return Query<int>(sprite, 0, [&] { return sprite->sprite.IsZang(); });
}

int vor_sprite_frame(const VorSprite* sprite) {
    return Query<int>(sprite, 0, [&] { return sprite->sprite.GetFrameIndex(); });
}

int vor_sprite_step_frame_at(VorSprite* sprite, unsigned long now) {
    return WithSprite(sprite, [&](CVorSprite& s) { s.StepFrameAt(DWORD(now)); });
}
