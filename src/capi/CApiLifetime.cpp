// What the C interface does when the host destroys an object others still point to: the pointers
// are taken away, so the next frame draws nothing there instead of reading freed memory.
#include "CApiHandles.h"

#include <algorithm>

namespace capi {
namespace {

// Makes the sprite one of no kind where it stands; it is drawn again at its next placement.
void Detach(CVorSprite& sprite) {
    const CVorSpriteRect place = sprite;
    sprite = CVorSprite();
    static_cast<CVorSpriteRect&>(sprite) = place;
    sprite.SetQiangzhiZang(1);
}

// Every sprite the host can reach: its own and the faces of its buttons.
template <class Visit>
void ForEachSprite(Visit visit) {
    for (const VorSprite* s : Live<VorSprite>()) visit(const_cast<VorSprite*>(s)->sprite);
    for (const VorButton* b : Live<VorButton>())
        for (int i = 0; i < 4; ++i) visit(*const_cast<VorButton*>(b)->button.GetFace(i));
}

// Detaches every sprite whose resource (read by get) is object.
template <class T>
void DetachShowing(T* (CVorSprite::*get)() const, const T* object) {
    ForEachSprite([&](CVorSprite& s) {
        if ((s.*get)() == object) Detach(s);
    });
}

}  // namespace

void ForgetSprite(const CVorSprite* sprite) {
    for (const VorSurface* cs : Live<VorSurface>()) {
        VorSurface* s = const_cast<VorSurface*>(cs);
        const std::vector<CVorSprite*>& list = s->graphics.GetSpriteList();
        if (std::find(list.begin(), list.end(), sprite) == list.end()) continue;
        s->graphics.ClearSprite();
        s->redrawAll = true;
    }
}

void ForgetPicture(const CVorTga* tga, const CVorBitmap* bitmap) {
    ForEachSprite([&](CVorSprite& s) {
        if ((tga && s.GetTga() == tga) || (bitmap && s.GetBitmap() == bitmap)) Detach(s);
    });
}

void ForgetPen(const CVorPen* pen) { DetachShowing(&CVorSprite::GetPen, pen); }
void ForgetBrush(const CVorBrush* brush) { DetachShowing(&CVorSprite::GetBrush, brush); }
void ForgetColor(const CVorColor* color) { DetachShowing(&CVorSprite::GetColor, color); }

void ForgetFont(const CVorFont* font) {
    DetachShowing(&CVorSprite::GetFont, font);
    for (const VorSurface* cs : Live<VorSurface>()) {
        VorSurface* s = const_cast<VorSurface*>(cs);
        if (s->graphics.GetNowFont() == font) s->graphics.SetNowFont(nullptr);
    }
}

void ForgetSurface(const VorSurface* surface) {
    for (const VorPanel* p : Live<VorPanel>())
        if (p->surface == surface) const_cast<VorPanel*>(p)->surface = nullptr;
}

}  // namespace capi
