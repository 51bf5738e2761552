// The sprite side of the surface: collecting a frame's sprites, stepping animations and composing
// the frame into the back buffer by dirty rectangles.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

#include "CVorBitmap.h"
#include "CVorColor.h"
#include "CVorGraphics.h"
#include "CVorSprite.h"
#include "render/BitmapBlit.h"
#include "render/SurfaceView.h"

namespace {

int ClampToInt(int64_t v) {
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return int(v);
}

// Text, pen, brush and colour sprites are only ever drawn whole.
bool DrawnWhole(const CVorSprite* s) { return s->GetFont() || s->GetPen() || s->GetBrush() || s->GetColor(); }

bool MeetsDirtyArea(const CVorZang& zang, const CVorRect& rect) {
    for (const CVorRect& d : zang.GetRects())
        if (d.CheckSuperpose(rect)) return true;
    return false;
}

void AddBothRects(CVorZang& zang, CVorSprite* s) {
    zang.AddRect(*s->GetNewRect());
    zang.AddRect(*s->GetOldRect());
}

// GDI+ drawing of a whole-drawn sprite is kept inside the sprite's rectangle. Text that wraps or
// overflows its layout rectangle (which GDI+ does not always clip) and wide or anti-aliased pens
// would otherwise leave pixels outside the rectangle, where no later frame repaints them. The
// graphics object's own clip is restored afterwards; the world transform stays as the drawing
// left it (a texture fill ends at identity).
class SpriteClip {
public:
    SpriteClip(Gdiplus::Graphics* graphics, const CVorRect& r) : m_graphics(graphics), m_state(0) {
        if (!m_graphics) return;
        m_state = m_graphics->Save();
        m_graphics->SetClip(Gdiplus::Rect(r.X, r.Y, r.Width, r.Height), Gdiplus::CombineModeIntersect);
    }
    ~SpriteClip() {
        if (!m_graphics) return;
        Gdiplus::Matrix drawn;
        const bool kept = m_graphics->GetTransform(&drawn) == Gdiplus::Ok;
        m_graphics->Restore(m_state);
        if (kept) m_graphics->SetTransform(&drawn);
    }
    SpriteClip(const SpriteClip&) = delete;
    SpriteClip& operator=(const SpriteClip&) = delete;

private:
    Gdiplus::Graphics* m_graphics;
    Gdiplus::GraphicsState m_state;
};

// Redraws the part (back-buffer pixels) of an unchanged memory-image sprite exactly as its whole
// draw painted it. A memory image's source window counts rows from the start of its block (the
// picture's bottom row), and the blitter keeps that window when it clips at the surface's edges, so
// the part's window is worked out from the whole draw's clipped window rather than from the part's
// offset inside the sprite.
void RedrawMemoryPart(CVorGraphics& g, CVorSprite& s, const CVorRect& part) {
    CVorBitmap* bitmap = s.GetBitmap();
    const CVorRect r = *s.GetNewRect();
    BitmapBlit whole;
    if (!ClipBitmapBlit(PixelsOf(g), bitmap->GetWidth(), bitmap->GetHeight(), r.X, r.Y, s.GetSrcX(), s.GetSrcY(),
                        r.Width, r.Height, &whole))
        return;
    const int64_t left = std::max<int64_t>(part.X, whole.dstX);
    const int64_t top = std::max<int64_t>(part.Y, whole.dstY);
    const int64_t right = std::min<int64_t>(int64_t(part.X) + part.Width, int64_t(whole.dstX) + whole.width);
    const int64_t bottom = std::min<int64_t>(int64_t(part.Y) + part.Height, int64_t(whole.dstY) + whole.height);
    if (right <= left || bottom <= top) return;
    // Destination row whole.dstY + k shows block row whole.srcY + whole.height - 1 - k.
    const int64_t srcX = whole.srcX + (left - whole.dstX);
    const int64_t srcY = int64_t(whole.srcY) + whole.height - (top - whole.dstY) - (bottom - top);
    if (s.GetAlpha() == 255)
        g.Draw(bitmap, int(left), int(top), int(srcX), int(srcY), int(right - left), int(bottom - top));
    else
        g.Draw(bitmap, int(left), int(top), int(srcX), int(srcY), int(right - left), int(bottom - top), s.GetAlpha());
}

// A zoomed memory image is stretched by GDI from its source corner to the image's far corner, so a
// part cannot be named by a source window: the whole stretch is drawn again, clipped to the part.
void RedrawZoomedPart(CVorGraphics& g, CVorSprite& s, const CVorRect& part) {
    CDC* dc = g.GetMemDC();
    if (!dc || !dc->m_hDC) return;
    const CVorRect r = *s.GetNewRect();
    const int64_t right = std::min<int64_t>(int64_t(part.X) + part.Width, int64_t(g.GetWidth()));
    const int64_t bottom = std::min<int64_t>(int64_t(part.Y) + part.Height, int64_t(g.GetHeight()));
    const int64_t left = std::max<int64_t>(part.X, 0), top = std::max<int64_t>(part.Y, 0);
    if (right <= left || bottom <= top) return;
    // The host's clip region on the memory DC, if any, stays in force and is put back afterwards.
    HRGN saved = ::CreateRectRgn(0, 0, 0, 0);
    HRGN clip = ::CreateRectRgn(int(left), int(top), int(right), int(bottom));
    if (!saved || !clip) {
        if (saved) ::DeleteObject(saved);
        if (clip) ::DeleteObject(clip);
        return;
    }
    const bool hadClip = ::GetClipRgn(dc->m_hDC, saved) == 1;
    ::ExtSelectClipRgn(dc->m_hDC, clip, RGN_AND);
    ::DeleteObject(clip);
    g.Draw(s.GetBitmap(), r.X, r.Y, s.GetSrcX(), s.GetSrcY(), r.Width, r.Height);
    ::GdiFlush();
    ::SelectClipRgn(dc->m_hDC, hadClip ? saved : nullptr);
    ::DeleteObject(saved);
}

// The pixels a line sprite's shape (px, py, pw, ph) covers, end points included, whichever way
// the line runs: a line drawn left or up has a rectangle of negative size.
CVorRect LineCover(int px, int py, int pw, int ph) {
    const int64_t x0 = std::min<int64_t>(px, int64_t(px) + pw), y0 = std::min<int64_t>(py, int64_t(py) + ph);
    const int64_t w = (pw < 0 ? -int64_t(pw) : pw) + 1, h = (ph < 0 ? -int64_t(ph) : ph) + 1;
    return CVorRect(ClampToInt(x0), ClampToInt(y0), ClampToInt(w), ClampToInt(h));
}

}  // namespace

void CVorGraphics::InitSprite() {
    for (CVorSprite* s : m_sprites) s->SetUpdate(0);
    m_spriteOrder = 0;
    m_zang.ClearRect();
}

void CVorGraphics::UpDataAnimation() {
    // By index: a procedure may add sprites to the list while it runs.
    for (size_t i = 0; i < m_sprites.size(); ++i) {
        CVorSprite* s = m_sprites[i];
        if (CVorSprite::AnimationProc proc = s->GetpfnAnmaionProc()) proc(s);
    }
}

void CVorGraphics::AddSprite(CVorSprite* sprite) {
    if (!sprite) return;
    if (sprite->IsZang()) AddBothRects(m_zang, sprite);

    // Not visible on the back buffer: not part of this frame (a listed one leaves at DrawSprite).
    const CVorRect& r = *sprite->GetNewRect();
    if (int64_t(r.X) + r.Width < 0 || r.X >= m_width || int64_t(r.Y) + r.Height < 0 || r.Y >= m_height) return;

    sprite->SetSort(m_spriteOrder);
    if (m_spriteOrder < INT_MAX) ++m_spriteOrder;
    sprite->SetUpdate(1);
    if (!m_listed.insert(sprite).second) return;  // already listed

    sprite->SetZang(1);
    AddBothRects(m_zang, sprite);
    m_sprites.push_back(sprite);
}

void CVorGraphics::AddSprite(CVorSprite* sprite, int x, int y, int width, int height, int srcX, int srcY,
                             unsigned char alpha) {
    if (!sprite) return;
    sprite->SetRect(x, y, width, height, srcX, srcY, alpha);
    AddSprite(sprite);
}

void CVorGraphics::AddSprite(CVorSprite* sprite, int x, int y, unsigned char alpha) {
    if (!sprite) return;
    sprite->SetRect(x, y, alpha);
    AddSprite(sprite);
}

void CVorGraphics::AddSprite(CVorSprite* sprite, int x, int y, int width, int height, const char* text,
                             const Gdiplus::Color& colour, Gdiplus::StringAlignment alignment) {
    if (!sprite) return;
    sprite->Init(m_nowFont, text, colour, alignment);
    sprite->SetRect(x, y, width, height, 0, 0, 255);
    AddSprite(sprite);
}

void CVorGraphics::AddSprite(CVorSprite* sprite, CVorSprite* shadow, int x, int y, int width, int height,
                             const char* text, const Gdiplus::Color& colour, const Gdiplus::Color& shadowColour,
                             Gdiplus::StringAlignment alignment) {
    // Without a shadow nothing is added at all. The shadow goes first, so it is drawn beneath.
    if (!shadow) return;
    AddSprite(shadow, ClampToInt(int64_t(x) + 1), ClampToInt(int64_t(y) + 1), width, height, text, shadowColour,
              alignment);
    if (sprite) AddSprite(sprite, x, y, width, height, text, colour, alignment);
}

void CVorGraphics::ClearSprite() {
    // Forgets the sprites and releases the storage; their places are not made dirty.
    std::vector<CVorSprite*>().swap(m_sprites);
    std::unordered_set<CVorSprite*>().swap(m_listed);
}

void CVorGraphics::DrawSprite(bool present) {
    // 1. Sprites not added in this frame leave the list; where they stood becomes dirty.
    size_t kept = 0;
    for (size_t i = 0; i < m_sprites.size(); ++i) {
        CVorSprite* s = m_sprites[i];
        if (s->GetUpdate() == 0) {
            AddBothRects(m_zang, s);
            m_listed.erase(s);
        } else {
            m_sprites[kept++] = s;
        }
    }
    m_sprites.resize(kept);

    // 2. Shell sort by order number, in place (equal numbers are never swapped directly).
    const ptrdiff_t n = ptrdiff_t(m_sprites.size());
    for (ptrdiff_t gap = n / 2; gap > 0; gap /= 2)
        for (ptrdiff_t i = gap; i < n; ++i)
            for (ptrdiff_t j = i - gap; j >= 0 && m_sprites[j]->GetSort() > m_sprites[j + gap]->GetSort(); j -= gap)
                std::swap(m_sprites[j], m_sprites[j + gap]);

    // 3. A whole-drawn sprite that meets the dirty area becomes dirty and spreads it over its
    // whole rectangle, so what lies beneath and above it there is redrawn too.
    for (bool changed = true; changed;) {
        changed = false;
        for (CVorSprite* s : m_sprites) {
            if (!DrawnWhole(s) || s->IsZang() != 0 || !MeetsDirtyArea(m_zang, *s->GetNewRect())) continue;
            m_zang.AddRect(*s->GetNewRect());
            s->SetZang(1);
            changed = true;
            break;
        }
    }

    // 4. Draw back to front: dirty sprites whole, unchanged images only inside the dirty rectangles.
    for (CVorSprite* s : m_sprites) {
        const CVorRect r = *s->GetNewRect();
        const bool whole = s->IsZang() == 1;
        const int px = s->GetPenX(), py = s->GetPenY(), pw = s->GetPenWidth(), ph = s->GetPenHeight();
        if (s->GetFont()) {
            if (whole) {
                const SpriteClip clip(GetGraphics(), r);
                Draw(s->GetString(), r.X, r.Y, r.Width, r.Height, s->GetFont(), s->GetSolidBrush(),
                     s->GetStringAlignment());
            }
        } else if (s->GetPen()) {
            if (whole) {
                const SpriteClip clip(GetGraphics(), s->GetBox() ? r : LineCover(px, py, pw, ph));
                if (s->GetBox())
                    DrawRectangle(s->GetPen(), px, py, pw, ph);
                else
                    DrawLine(s->GetPen(), px, py, ClampToInt(int64_t(px) + pw), ClampToInt(int64_t(py) + ph));
            }
        } else if (s->GetBrush()) {
            if (whole) {
                const SpriteClip clip(GetGraphics(), r);
                FillRectangle(s->GetBrush(), px, py, pw, ph);
            }
        } else if (s->GetColor()) {
            const CVorColor* c = s->GetColor();
            if (whole) FillRectangle(px, py, pw, ph, c->GetR(), c->GetG(), c->GetB());
        } else if (s->GetTga() || s->GetBitmap()) {
            CVorTga* tga = s->GetTga();
            CVorBitmap* bitmap = s->GetBitmap();
            const unsigned char alpha = s->GetAlpha();
            auto blit = [&](int x, int y, int srcX, int srcY, int w, int h) {
                if (tga && alpha == 255)
                    Draw(tga, x, y, srcX, srcY, w, h);
                else if (tga)
                    Draw(tga, x, y, srcX, srcY, w, h, alpha);
                else if (alpha == 255)
                    Draw(bitmap, x, y, srcX, srcY, w, h);
                else
                    Draw(bitmap, x, y, srcX, srcY, w, h, alpha);
            };
            if (whole) {
                blit(r.X, r.Y, s->GetSrcX(), s->GetSrcY(), r.Width, r.Height);
            } else {
                // The dirty rectangles never meet, so no pixel is drawn twice.
                for (const CVorRect& d : m_zang.GetRects()) {
                    if (!d.CheckSuperpose(r)) continue;
                    const CVorRect o = d.GetSuperpose(r);
                    if (o.Width <= 0 || o.Height <= 0) continue;
                    const CVorRect part(ClampToInt(int64_t(r.X) + o.X), ClampToInt(int64_t(r.Y) + o.Y), o.Width,
                                        o.Height);
                    if (bitmap && bitmap->GetMemBitmap() && bitmap->IsZoom() && alpha == 255)
                        RedrawZoomedPart(*this, *s, part);
                    else if (bitmap && bitmap->GetMemBitmap())
                        RedrawMemoryPart(*this, *s, part);
                    else
                        blit(part.X, part.Y, ClampToInt(int64_t(s->GetSrcX()) + o.X),
                             ClampToInt(int64_t(s->GetSrcY()) + o.Y), o.Width, o.Height);
                }
            }
        }
        s->SetZang(0);
    }

    if (present && GetMemDC()) DrawDC();
}
