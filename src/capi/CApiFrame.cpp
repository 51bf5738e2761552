// The C interface's frame composition: the sprite list, animation and the dirty rectangles.
#include "CApiHandles.h"

using namespace capi;

int vor_surface_begin_frame(VorSurface* surface) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        surface->graphics.InitSprite();
        if (surface->redrawAll) {  // a listed sprite was destroyed: what it covered is redrawn
            surface->graphics.GetZang().AddRect(
                CVorRect(0, 0, int(surface->graphics.GetWidth()), int(surface->graphics.GetHeight())));
            surface->redrawAll = false;
        }
        return Record(VOR_OK);
    });
}

int vor_surface_animate(VorSurface* surface) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        surface->graphics.UpDataAnimation();
        return Record(VOR_OK);
    });
}

int vor_surface_add(VorSurface* surface, VorSprite* sprite) {
    return Guard([&] {
        if (CheckAll(surface, sprite) != VOR_OK) return vor_last_status();
        surface->graphics.AddSprite(&sprite->sprite);
        return Record(VOR_OK);
    });
}

int vor_surface_add_at(VorSurface* surface, VorSprite* sprite, int x, int y, int width, int height, int srcX, int srcY,
                       unsigned char alpha) {
    return Guard([&] {
        if (CheckAll(surface, sprite) != VOR_OK) return vor_last_status();
        surface->graphics.AddSprite(&sprite->sprite, x, y, width, height, srcX, srcY, alpha);
        return Record(VOR_OK);
    });
}

int vor_surface_add_xy(VorSurface* surface, VorSprite* sprite, int x, int y, unsigned char alpha) {
    return Guard([&] {
        if (CheckAll(surface, sprite) != VOR_OK) return vor_last_status();
        surface->graphics.AddSprite(&sprite->sprite, x, y, alpha);
        return Record(VOR_OK);
    });
}

int vor_surface_add_text(VorSurface* surface, VorSprite* sprite, int x, int y, int width, int height, const char* text,
                         unsigned int argb, int align) {
    return Guard([&] {
        if (CheckAll(surface, sprite) != VOR_OK) return vor_last_status();
        if (!text || align < VOR_ALIGN_NEAR || align > VOR_ALIGN_FAR) return Record(VOR_E_ARGUMENT);
        const std::string bounded = BoundedText(text);
        surface->graphics.AddSprite(&sprite->sprite, x, y, width, height, bounded.c_str(),
                                    Gdiplus::Color(Gdiplus::ARGB(argb)), Gdiplus::StringAlignment(align));
        return Record(VOR_OK);
    });
}

int vor_surface_add_text_shadow(VorSurface* surface, VorSprite* sprite, VorSprite* shadow, int x, int y, int width,
                                int height, const char* text, unsigned int argb, unsigned int shadowArgb, int align) {
    return Guard([&] {
        if (CheckAll(surface, sprite, shadow) != VOR_OK) return vor_last_status();
        if (sprite == shadow || !text || align < VOR_ALIGN_NEAR || align > VOR_ALIGN_FAR) return Record(VOR_E_ARGUMENT);
        const std::string bounded = BoundedText(text);
        surface->graphics.AddSprite(&sprite->sprite, &shadow->sprite, x, y, width, height, bounded.c_str(),
                                    Gdiplus::Color(Gdiplus::ARGB(argb)), Gdiplus::Color(Gdiplus::ARGB(shadowArgb)),
                                    Gdiplus::StringAlignment(align));
        return Record(VOR_OK);
    });
}

int vor_surface_add_button(VorSurface* surface, VorButton* button) {
    return Guard([&] {
        if (CheckAll(surface, button) != VOR_OK) return vor_last_status();
        surface->graphics.AddSprite(&button->button);
        return Record(VOR_OK);
    });
}

int vor_surface_clear_sprites(VorSurface* surface) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        surface->graphics.ClearSprite();
        return Record(VOR_OK);
    });
}

int vor_surface_draw_frame(VorSurface* surface, int present) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        // A window destroyed since binding: draw, but present nowhere.
        const bool windowGone = surface->window && !::IsWindow(surface->window);
        surface->graphics.DrawSprite(present && !windowGone);
        return Record(windowGone && present ? VOR_E_WINDOW : VOR_OK);
    });
}

int vor_surface_sprite_count(const VorSurface* surface) {
    return Query<int>(surface, 0, [&] { return int(surface->graphics.GetSpriteList().size()); });
}

int vor_surface_add_dirty(VorSurface* surface, int x, int y, int width, int height) {
    return Guard([&] {
        if (CheckAll(surface) != VOR_OK) return vor_last_status();
        if (width < 0 || height < 0) return Record(VOR_E_ARGUMENT);
        surface->graphics.GetZang().AddRect(CVorRect(x, y, width, height));
        return Record(VOR_OK);
    });
}

int vor_surface_dirty_count(const VorSurface* surface) {
    return Query<int>(surface, 0, [&] { return int(surface->graphics.GetZang().GetRects().size()); });
}

int vor_surface_dirty_rect(const VorSurface* surface, int index, VorRect* out) {
    if (CheckAll(surface) != VOR_OK) return vor_last_status();
    if (!out || index < 0) return Record(VOR_E_ARGUMENT);
    for (const CVorRect& r : surface->graphics.GetZang().GetRects())
        if (index-- == 0) {
            out->x = r.X;
            out->y = r.Y;
            out->width = r.Width;
            out->height = r.Height;
            return Record(VOR_OK);
        }
    return Record(VOR_E_ARGUMENT);
}
