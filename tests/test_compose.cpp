// Sprite list and frame composition: adding, dropping, ordering, the dirty area, redrawing by
// dirty rectangles, and presenting only the dirty blocks to a real window.
#include <doctest.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "SpriteAssets.h"
#include "TestSupport.h"

namespace {

const int kW = 97;  // odd width: the rows have padding bytes
const int kH = 64;

Bgra Ground(int x, int y) { return Bgra{uint8_t(x * 3), uint8_t(y * 5), uint8_t((x + y) & 255), 255}; }
Bgr GroundBgr(int x, int y) { return Bgr{uint8_t(x * 3), uint8_t(y * 5), uint8_t((x + y) & 255)}; }

struct Scene {
    CVorGraphics g;
    CVorTga groundImage;
    CVorSprite ground;

    Scene() {
        EnsureGdiplus();
        REQUIRE(g.Init(kW, kH));
        g.InitGraphics(static_cast<CPaintDC*>(nullptr));
        FillBytes(g, 0);
        REQUIRE(LoadTga(groundImage, kW, kH, &Ground));
        ground.Init(&groundImage);
    }
    void Begin() {
        g.InitSprite();
        g.AddSprite(&ground, 0, 0, 255);
    }
};

void SolidTga(CVorTga& tga, int w, int h, Bgra c) {
    REQUIRE(LoadTga(tga, w, h, [c](int, int) { return c; }));
}

std::vector<CVorRect> Rects(const CVorGraphics& g) {
    return std::vector<CVorRect>(g.GetZang().GetRects().begin(), g.GetZang().GetRects().end());
}

std::string Show(const std::vector<CVorRect>& rects) {
    std::string s;
    for (const CVorRect& r : rects)
        s += "(" + std::to_string(r.X) + "," + std::to_string(r.Y) + "," + std::to_string(r.Width) + "," +
             std::to_string(r.Height) + ")";
    return s;
}

// Every pixel of the back buffer equals expect(x, y); reports the first difference.
template <class F>
bool BufferIs(const CVorGraphics& g, F expect) {
    for (int y = 0; y < int(g.GetHeight()); ++y)
        for (int x = 0; x < int(g.GetWidth()); ++x)
            if (PixelAt(g, x, y) != expect(x, y)) {
                FAIL_CHECK("pixel (" << x << ", " << y << ") is " << ToString(PixelAt(g, x, y)) << ", expected "
                                     << ToString(expect(x, y)));
                return false;
            }
    return true;
}

int g_animationCalls = 0;
std::vector<CVorSprite*> g_animationOrder;
void CountingProc(CVorSprite* s) {
    ++g_animationCalls;
    g_animationOrder.push_back(s);
}

DWORD g_fakeNow = 0;
void FakeClockStepper(CVorSprite* s) { s->StepFrameAt(g_fakeNow); }

}  // namespace

TEST_CASE("order numbers 3, 2, 3, 1 sort to D, B, A, C") {
    Scene sc;
    CVorTga tga;
    SolidTga(tga, 4, 4, Bgra{1, 2, 3, 255});
    CVorSprite a, b, c, d;
    sc.g.InitSprite();
    for (CVorSprite* s : {&a, &b, &c, &d}) {
        s->Init(&tga);
        sc.g.AddSprite(s, 10, 10, 255);
    }
    CHECK(a.GetSort() == 0);
    CHECK(d.GetSort() == 3);
    a.SetSort(3);
    b.SetSort(2);
    c.SetSort(3);
    d.SetSort(1);
    sc.g.DrawSprite(false);
    const std::vector<CVorSprite*> expected = {&d, &b, &a, &c};
    CHECK(sc.g.GetSpriteList() == expected);
}

TEST_CASE("a sprite added twice in a frame keeps the order number of its last addition") {
    Scene sc;
    CVorTga tga;
    SolidTga(tga, 4, 4, Bgra{1, 2, 3, 255});
    CVorSprite a, b;
    a.Init(&tga);
    b.Init(&tga);
    sc.Begin();
    sc.g.AddSprite(&a, 1, 1, 255);
    sc.g.AddSprite(&b, 2, 2, 255);
    sc.g.AddSprite(&a, 1, 1, 255);
    CHECK(sc.g.GetSpriteList().size() == 3);
    CHECK(a.GetSort() == 3);
    CHECK(b.GetSort() == 2);
    sc.g.DrawSprite(false);
    const std::vector<CVorSprite*> expected = {&sc.ground, &b, &a};
    CHECK(sc.g.GetSpriteList() == expected);
}

TEST_CASE("a sprite that left the list, was cleared away or is listed in a copy is listed exactly once") {
    Scene sc;
    CVorTga tga;
    SolidTga(tga, 4, 4, Bgra{1, 2, 3, 255});
    CVorSprite a, b;
    a.Init(&tga);
    b.Init(&tga);
    sc.Begin();
    sc.g.AddSprite(&a, 1, 1, 255);
    sc.g.AddSprite(&b, 9, 9, 255);
    sc.g.DrawSprite(false);
    sc.Begin();  // a is not added: it leaves at DrawSprite
    sc.g.AddSprite(&b, 9, 9, 255);
    sc.g.DrawSprite(false);
    CHECK(sc.g.GetSpriteList() == std::vector<CVorSprite*>{&sc.ground, &b});
    sc.Begin();  // back again, added twice: listed once, after b
    sc.g.AddSprite(&b, 9, 9, 255);
    sc.g.AddSprite(&a, 1, 1, 255);
    sc.g.AddSprite(&a, 2, 2, 255);
    CHECK(sc.g.GetSpriteList() == std::vector<CVorSprite*>{&sc.ground, &b, &a});
    sc.g.DrawSprite(false);
    CHECK(PixelAt(sc.g, 5, 5) == (Bgr{1, 2, 3}));
    CHECK(PixelAt(sc.g, 1, 1) == GroundBgr(1, 1));  // where a stood before

    CVorGraphics copy(sc.g);  // the copy knows which sprites it lists
    copy.InitSprite();
    copy.AddSprite(&a, 2, 2, 255);
    copy.AddSprite(&b, 9, 9, 255);
    CHECK(copy.GetSpriteList().size() == 3);

    sc.g.ClearSprite();
    sc.Begin();
    sc.g.AddSprite(&a, 2, 2, 255);
    CHECK(sc.g.GetSpriteList() == std::vector<CVorSprite*>{&sc.ground, &a});
}

TEST_CASE("the first placement puts the new rectangle and the origin point into the dirty list") {
    Scene sc;
    CVorTga tga;
    SolidTga(tga, 10, 10, Bgra{9, 9, 9, 255});
    CVorSprite s;
    s.Init(&tga);
    sc.g.InitSprite();
    sc.g.AddSprite(&s, 50, 40, 255);
    CHECK(Show(Rects(sc.g)) == "(50,40,10,10)(0,0,0,0)");
    CHECK(s.GetUpdate() == 1);
    CHECK(s.IsZang() == 1);
    CHECK(sc.g.GetSpriteList().size() == 1);
    sc.g.DrawSprite(false);
    CHECK(s.IsZang() == 0);
    CHECK(PixelAt(sc.g, 55, 45) == (Bgr{9, 9, 9}));
    CHECK(PixelAt(sc.g, 49, 45) == (Bgr{0, 0, 0}));  // no ground: the rest is untouched
    CHECK(PixelAt(sc.g, 60, 45) == (Bgr{0, 0, 0}));
}

TEST_CASE("a whole-drawn sprite on the origin is redrawn when a new sprite's origin point is dirty") {
    Scene sc;
    CVorColor red(255, 0, 0);
    CVorSprite corner;
    corner.Init(&red);
    sc.Begin();
    sc.g.AddSprite(&corner, 0, 0, 5, 5, 0, 0, 255);
    sc.g.DrawSprite(false);

    CVorTga tga;
    SolidTga(tga, 6, 6, Bgra{0, 200, 0, 255});
    CVorSprite late;
    late.Init(&tga);
    FillBytes(sc.g, 77);  // whatever is repainted shows
    sc.Begin();
    sc.g.AddSprite(&corner, 0, 0, 5, 5, 0, 0, 255);
    REQUIRE(corner.IsZang() == 0);
    sc.g.AddSprite(&late, 70, 40, 255);
    sc.g.DrawSprite(false);
    // The origin point made the colour sprite dirty; its whole rectangle joined the dirty list.
    CHECK(Show(Rects(sc.g)) == "(70,40,6,6)(0,0,6,6)");
    CHECK(BufferIs(sc.g, [](int x, int y) -> Bgr {
        if (x < 5 && y < 5) return Bgr{0, 0, 255};
        if (x < 6 && y < 6) return GroundBgr(x, y);  // the rest of the sprite rectangle: ground
        if (x >= 70 && x < 76 && y >= 40 && y < 46) return Bgr{0, 200, 0};
        return Bgr{77, 77, 77};  // redrawing is half-open: the closed distant edges are not painted
    }));
}

TEST_CASE("nothing moved: nothing is dirty and nothing is drawn") {
    Scene sc;
    CVorTga tga;
    SolidTga(tga, 8, 8, Bgra{10, 20, 30, 128});
    CVorColor blue(0, 0, 255);
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    sc.g.SetNowFont(&font);
    CVorSprite a, box, text;
    a.Init(&tga);
    box.Init(&blue);
    for (int frame = 0; frame < 3; ++frame) {
        if (frame == 2) FillBytes(sc.g, 5);
        sc.Begin();
        sc.g.AddSprite(&a, 20, 20, 200);
        sc.g.AddSprite(&box, 40, 10, 6, 6, 0, 0, 255);
        sc.g.AddSprite(&text, 2, 30, 60, 20, "still", Gdiplus::Color(255, 255, 255, 255), Gdiplus::StringAlignmentNear);
        sc.g.DrawSprite(false);
    }
    CHECK(sc.g.GetZang().GetRects().empty());
    CHECK(sc.g.GetSpriteList().size() == 4);
    CHECK(BufferIs(sc.g, [](int, int) { return Bgr{5, 5, 5}; }));
}

TEST_CASE("a dropped sprite leaves the list and the sprites under it are redrawn there") {
    Scene sc;
    CVorTga tga;
    SolidTga(tga, 12, 9, Bgra{0, 0, 250, 255});
    CVorSprite s;
    s.Init(&tga);
    sc.Begin();
    sc.g.AddSprite(&s, 30, 20, 255);
    sc.g.DrawSprite(false);
    CHECK(PixelAt(sc.g, 35, 25) == (Bgr{0, 0, 250}));

    sc.Begin();
    sc.g.DrawSprite(false);
    const std::vector<CVorSprite*> expected = {&sc.ground};
    CHECK(sc.g.GetSpriteList() == expected);
    CHECK(Show(Rects(sc.g)) == "(30,20,12,9)(0,0,0,0)");
    CHECK(BufferIs(sc.g, [](int x, int y) { return GroundBgr(x, y); }));
}

TEST_CASE("a moved sprite: both places dirty, the ground redrawn inside them only") {
    Scene sc;
    CVorTga tga;
    SolidTga(tga, 8, 8, Bgra{200, 100, 0, 255});
    CVorSprite m;
    m.Init(&tga);
    sc.Begin();
    sc.g.AddSprite(&m, 10, 10, 255);
    sc.g.DrawSprite(false);

    // Paint marks outside the two places: they must survive the frame.
    BYTE* p = sc.g.GetPixels();
    p[0] = 1;                                // (0, 0)
    p[60 * sc.g.GetStride() + 3 * 90] = 1;  // (90, 60)
    sc.Begin();
    sc.g.AddSprite(&m, 40, 30, 255);
    CHECK(Show(Rects(sc.g)) == "(40,30,8,8)(10,10,8,8)");
    sc.g.DrawSprite(false);
    CHECK(BufferIs(sc.g, [](int x, int y) -> Bgr {
        if (x == 0 && y == 0) return Bgr{1, 0, 0};
        if (x == 90 && y == 60) return Bgr{1, GroundBgr(x, y).g, GroundBgr(x, y).r};
        if (x >= 40 && x < 48 && y >= 30 && y < 38) return Bgr{200, 100, 0};
        return GroundBgr(x, y);
    }));
}

TEST_CASE("unchanged images are redrawn exactly inside the dirty rectangles they meet") {
    Scene sc;
    // A half-transparent image under a moving one: its redraw must blend over freshly drawn ground.
    CVorTga under;
    REQUIRE(LoadTga(under, 30, 20, [](int x, int y) { return Bgra{uint8_t(x * 8), uint8_t(y * 12), 90, uint8_t(x * 8 + 3)}; }));
    CVorTga mover;
    SolidTga(mover, 6, 6, Bgra{255, 255, 255, 255});
    CVorSprite u, m;
    u.Init(&under);
    m.Init(&mover);
    sc.Begin();
    sc.g.AddSprite(&u, 20, 15, 25, 16, 3, 2, 180);  // source offset, opacity
    sc.g.AddSprite(&m, 25, 20, 255);
    sc.g.DrawSprite(false);
    sc.Begin();
    sc.g.AddSprite(&u, 20, 15, 25, 16, 3, 2, 180);
    sc.g.AddSprite(&m, 60, 40, 255);
    sc.g.DrawSprite(false);

    CVorGraphics fresh;
    REQUIRE(fresh.Init(kW, kH));
    fresh.Draw(&sc.groundImage, 0, 0);
    fresh.Draw(&under, 20, 15, 3, 2, 25, 16, 180);
    fresh.Draw(&mover, 60, 40);
    CHECK(Snapshot(sc.g) == Snapshot(fresh));
}

TEST_CASE("spread pass: a still colour sprite that meets the dirty area is drawn whole") {
    Scene sc;
    CVorTga tga;
    SolidTga(tga, 10, 10, Bgra{0, 255, 0, 255});
    CVorColor colour(10, 20, 30);
    CVorSprite m, c, distant;
    m.Init(&tga);
    c.Init(&colour);
    CVorColor other(1, 1, 1);
    distant.Init(&other);
    sc.Begin();
    sc.g.AddSprite(&m, 10, 10, 255);
    sc.g.AddSprite(&c, 15, 15, 20, 20, 0, 0, 255);  // over the mover's old place
    sc.g.AddSprite(&distant, 80, 50, 5, 5, 0, 0, 255);
    sc.g.DrawSprite(false);

    FillBytes(sc.g, 44);
    sc.Begin();
    sc.g.AddSprite(&m, 60, 2, 255);
    sc.g.AddSprite(&c, 15, 15, 20, 20, 0, 0, 255);
    sc.g.AddSprite(&distant, 80, 50, 5, 5, 0, 0, 255);
    REQUIRE(c.IsZang() == 0);
    sc.g.DrawSprite(false);
    // The colour sprite's rectangle (one larger than its shape) merged with the old place.
    CHECK(Show(Rects(sc.g)) == "(60,2,10,10)(10,10,26,26)");
    CHECK(c.IsZang() == 0);  // all flags cleared after the frame
    CHECK(BufferIs(sc.g, [](int x, int y) -> Bgr {
        if (x >= 15 && x < 35 && y >= 15 && y < 35) return Bgr{30, 20, 10};
        if (x >= 10 && x < 36 && y >= 10 && y < 36) return GroundBgr(x, y);
        if (x >= 60 && x < 70 && y >= 2 && y < 12) return Bgr{0, 255, 0};
        return Bgr{44, 44, 44};
    }));
}

TEST_CASE("visible test: a right edge at exactly 0 passes, further left or beyond the distant edge does not") {
    Scene sc;
    CVorTga tga;
    SolidTga(tga, 10, 10, Bgra{1, 1, 1, 255});
    CVorSprite edge, left, right, below;
    for (CVorSprite* s : {&edge, &left, &right, &below}) s->Init(&tga);
    sc.g.InitSprite();
    sc.g.AddSprite(&edge, -10, 5, 255);
    sc.g.AddSprite(&left, -11, 5, 255);
    sc.g.AddSprite(&right, kW, 5, 255);
    sc.g.AddSprite(&below, 5, kH, 255);
    const std::vector<CVorSprite*> expected = {&edge};
    CHECK(sc.g.GetSpriteList() == expected);
    CHECK(left.GetUpdate() == 0);
    CHECK(edge.GetSort() == 0);
    // The invisible sprites were dirty: their rectangles still entered the dirty list.
    CHECK(sc.g.GetZang().CheckRect(CVorRect(-11, 5, 10, 10)) == 1);
    CHECK(sc.g.GetZang().CheckRect(CVorRect(kW, 5, 10, 10)) == 1);
    CHECK(sc.g.GetZang().CheckRect(CVorRect(5, kH, 10, 10)) == 1);

    // A listed sprite that moves off the surface leaves the list at the next DrawSprite.
    sc.g.DrawSprite(false);
    sc.g.InitSprite();
    sc.g.AddSprite(&edge, -30, 5, 255);
    CHECK(sc.g.GetSpriteList().size() == 1);
    CHECK(edge.GetUpdate() == 0);
    sc.g.DrawSprite(false);
    CHECK(sc.g.GetSpriteList().empty());
    CHECK(sc.g.GetZang().CheckRect(CVorRect(-10, 5, 10, 10)) == 1);
}

TEST_CASE("text with a shadow: the shadow first, one pixel down and right; a null shadow adds nothing") {
    Scene sc;
    CVorFont font(14, L"DejaVu Sans", Gdiplus::FontStyleBold);
    sc.g.SetNowFont(&font);
    CVorSprite text, shadow;
    sc.g.InitSprite();
    sc.g.AddSprite(&text, nullptr, 5, 5, 80, 20, "lost", Gdiplus::Color(255, 255, 255, 255),
                   Gdiplus::Color(255, 0, 0, 0), Gdiplus::StringAlignmentNear);
    CHECK(sc.g.GetSpriteList().empty());
    CHECK(sc.g.GetZang().GetRects().empty());
    CHECK(text.GetFont() == nullptr);
    CHECK(std::string(text.GetStringA()).empty());

    sc.Begin();
    sc.g.AddSprite(&text, &shadow, 5, 5, 80, 20, "Score 42", Gdiplus::Color(255, 255, 255, 0),
                   Gdiplus::Color(255, 0, 0, 0), Gdiplus::StringAlignmentNear);
    const std::vector<CVorSprite*> expected = {&sc.ground, &shadow, &text};
    CHECK(sc.g.GetSpriteList() == expected);
    CHECK(shadow.GetSort() == 1);
    CHECK(text.GetSort() == 2);
    CHECK(shadow.GetX() == 6);
    CHECK(shadow.GetY() == 6);
    CHECK(text.GetX() == 5);
    CHECK(text.GetFont() == &font);
    CHECK(std::wcscmp(text.GetString(), L"Score 42") == 0);
    sc.g.DrawSprite(false);
    // Yellow text pixels (red and green high, blue low) and black shadow pixels appear in the box.
    int yellow = 0, black = 0;
    for (int y = 5; y < 27; ++y)
        for (int x = 5; x < 86; ++x) {
            const Bgr p = PixelAt(sc.g, x, y);
            if (p.r > 200 && p.g > 200 && p.b < 60) ++yellow;
            if (p == (Bgr{0, 0, 0})) ++black;
        }
    CHECK(yellow > 20);
    CHECK(black > 10);

    // A null main sprite: the shadow alone.
    CVorSprite lone;
    sc.Begin();
    sc.g.AddSprite(nullptr, &lone, 5, 30, 80, 20, "x", Gdiplus::Color(255, 255, 255, 0),
                   Gdiplus::Color(255, 0, 0, 0), Gdiplus::StringAlignmentNear);
    CHECK(lone.GetY() == 31);
    CHECK(lone.GetUpdate() == 1);
}

TEST_CASE("ClearSprite forgets the sprites: the next DrawSprite draws nothing and repaints nothing") {
    Scene sc;
    CVorTga tga;
    SolidTga(tga, 10, 10, Bgra{0, 0, 255, 255});
    CVorSprite s;
    s.Init(&tga);
    sc.Begin();
    sc.g.AddSprite(&s, 10, 10, 255);
    sc.g.DrawSprite(false);
    const size_t rects = sc.g.GetZang().GetRects().size();
    sc.g.ClearSprite();
    CHECK(sc.g.GetSpriteList().empty());
    CHECK(sc.g.GetSpriteList().capacity() == 0);
    CHECK(sc.g.GetZang().GetRects().size() == rects);  // the dirty list is not touched
    FillBytes(sc.g, 33);
    sc.g.DrawSprite(false);
    CHECK(BufferIs(sc.g, [](int, int) { return Bgr{33, 33, 33}; }));
    sc.g.InitSprite();
    sc.g.DrawSprite(false);
    CHECK(sc.g.GetZang().GetRects().empty());
    CHECK(BufferIs(sc.g, [](int, int) { return Bgr{33, 33, 33}; }));
}

TEST_CASE("each kind is drawn with its own operation; a sprite with no kind draws nothing") {
    Scene sc;
    CVorPen pen(255, 0, 0, 1.0f, Gdiplus::DashStyleSolid);
    CVorBrush hatch(Gdiplus::HatchStyleCross, Gdiplus::Color(255, 0, 0, 255), Gdiplus::Color(255, 0, 255, 0));
    CVorColor colour(1, 2, 3);
    CVorTga tga;
    SolidTga(tga, 5, 5, Bgra{100, 100, 100, 255});
    MemoryImage mem = MakeMemoryImage(4, 3, [](int x, int y) { return Bgra{uint8_t(10 + x), uint8_t(20 + y), 30, 255}; });
    CVorBitmap bitmap(mem.bits.data(), int(mem.bits.size()), mem.info, 0);
    CVorSprite line, box, fill, paint, picture, memory, nothing;
    line.Init(&pen, 0);
    box.Init(&pen, 1);
    fill.Init(&hatch);
    paint.Init(&colour);
    picture.Init(&tga);
    memory.Init(&bitmap);
    sc.Begin();
    sc.g.AddSprite(&line, 10, 50, 30, 0, 0, 0, 255);     // horizontal line (10,50)-(40,50)
    sc.g.AddSprite(&box, 60, 5, 20, 10, 0, 0, 255);      // outline of (60,5,20,10)
    sc.g.AddSprite(&fill, 5, 5, 16, 16, 0, 0, 255);
    sc.g.AddSprite(&paint, 30, 20, 7, 4, 0, 0, 255);
    sc.g.AddSprite(&picture, 45, 25, 255);
    sc.g.AddSprite(&memory, 50, 40, 255);
    sc.g.AddSprite(&nothing, 88, 55, 255);
    CHECK(sc.g.GetSpriteList().size() == 8);
    sc.g.DrawSprite(false);
    for (CVorSprite* s : sc.g.GetSpriteList()) CHECK(s->IsZang() == 0);

    CHECK(PixelAt(sc.g, 25, 50) == (Bgr{0, 0, 255}));
    CHECK(PixelAt(sc.g, 25, 52) == GroundBgr(25, 52));
    CHECK(PixelAt(sc.g, 60, 10) == (Bgr{0, 0, 255}));  // left edge of the outline
    CHECK(PixelAt(sc.g, 80, 15) == (Bgr{0, 0, 255}));  // distant corner
    CHECK(PixelAt(sc.g, 70, 10) == GroundBgr(70, 10));  // inside stays ground
    // Colour fill: exactly the shape rectangle, half-open.
    CHECK(PixelAt(sc.g, 30, 20) == (Bgr{3, 2, 1}));
    CHECK(PixelAt(sc.g, 36, 23) == (Bgr{3, 2, 1}));
    CHECK(PixelAt(sc.g, 37, 23) == GroundBgr(37, 23));
    CHECK(PixelAt(sc.g, 36, 24) == GroundBgr(36, 24));
    // Hatch: both hatch colours occur inside, nothing outside.
    int fore = 0, back = 0;
    for (int y = 5; y < 21; ++y)
        for (int x = 5; x < 21; ++x) {
            if (PixelAt(sc.g, x, y) == (Bgr{255, 0, 0})) ++fore;
            if (PixelAt(sc.g, x, y) == (Bgr{0, 255, 0})) ++back;
        }
    CHECK(fore > 0);
    CHECK(back > 0);
    CHECK(PixelAt(sc.g, 22, 12) == GroundBgr(22, 12));
    CHECK(PixelAt(sc.g, 47, 27) == (Bgr{100, 100, 100}));
    CHECK(PixelAt(sc.g, 50, 40) == (Bgr{10, 20, 30}));  // top-left of the memory image
    CHECK(PixelAt(sc.g, 53, 42) == (Bgr{13, 22, 30}));
    CHECK(PixelAt(sc.g, 90, 57) == GroundBgr(90, 57));
}

TEST_CASE("UpDataAnimation runs each listed sprite's procedure in list order") {
    Scene sc;
    CVorTga tga;
    SolidTga(tga, 3, 3, Bgra{1, 1, 1, 255});
    CVorSprite a, b, c;
    a.Init(&tga);
    b.Init(&tga);
    c.Init(&tga);
    sc.g.InitSprite();
    sc.g.AddSprite(&a, 1, 1, 255);
    sc.g.AddSprite(&b, 2, 2, 255);
    sc.g.AddSprite(&c, 3, 3, 255);
    sc.g.DrawSprite(false);
    // Attach procedures without re-placing: Init(bitmap, proc) keeps nothing else we need here.
    MemoryImage m = MakeMemoryImage(3, 3, [](int, int) { return Bgra{1, 1, 1, 255}; });
    CVorBitmap bitmap(m.bits.data(), int(m.bits.size()), m.info, 0);
    c.Init(&bitmap, &CountingProc);
    a.Init(&bitmap, &CountingProc);
    g_animationCalls = 0;
    g_animationOrder.clear();
    sc.g.UpDataAnimation();
    CHECK(g_animationCalls == 2);
    const std::vector<CVorSprite*> expected = {&a, &c};
    CHECK(g_animationOrder == expected);
}

TEST_CASE("an animated GIF sprite shows its next frame at its next placement") {
    Scene sc;
    const uint8_t palette[4][3] = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
    std::vector<std::vector<uint8_t>> frames = {std::vector<uint8_t>(100, 1), std::vector<uint8_t>(100, 3)};
    const std::string path = WriteTempFile("vor_compose_anim.gif", MakeGifBytes(10, 10, palette, frames, 5));
    CVorBitmap gif;
    gif.InitGif(std::wstring(path.begin(), path.end()).c_str());
    REQUIRE(gif.GetFrames() == 2);
    CVorSprite s;
    s.Init(&gif, &FakeClockStepper);
    g_fakeNow = 0;
    for (int frame = 0; frame < 4; ++frame) {
        CAPTURE(frame);
        g_fakeNow = DWORD(frame) * 60;  // 60 ms a frame, delay 50 ms: a new picture each frame after the first
        sc.Begin();
        sc.g.UpDataAnimation();
        sc.g.AddSprite(&s, 30, 20, 255);
        sc.g.DrawSprite(false);
        const Bgr expect = (frame % 2 == 0) ? Bgr{0, 0, 255} : Bgr{0, 255, 0};
        CHECK(s.GetFrameIndex() == frame % 2);
        CHECK(PixelAt(sc.g, 35, 25) == expect);
        CHECK(PixelAt(sc.g, 30, 20) == expect);
        CHECK(PixelAt(sc.g, 39, 29) == expect);
        if (frame > 0) CHECK(Show(Rects(sc.g)) == "(30,20,10,10)");
    }
    // Adding without placing: the pending forced flag waits, the new frame is not drawn.
    g_fakeNow = 1000;
    sc.Begin();
    sc.g.UpDataAnimation();
    sc.g.AddSprite(&s);
    CHECK(s.IsQiangzhiZang() == 1);
    sc.g.DrawSprite(false);
    CHECK(sc.g.GetZang().GetRects().empty());
}

TEST_CASE("presentation: only the blocks from the origin to each dirty rectangle's distant corner reach the window") {
    EnsureGdiplus();
    const int w = 160, h = 120;
    TestWindow window(w, h);
    CClientDC target(window.Wnd());
    CVorGraphics g;
    REQUIRE(g.Init(w, h));
    g.InitGraphics(&target);
    CVorTga groundImage, spriteImage;
    REQUIRE(LoadTga(groundImage, w, h, [](int x, int y) { return Bgra{uint8_t(x), uint8_t(y * 2), 128, 255}; }));
    SolidTga(spriteImage, 12, 10, Bgra{0, 255, 255, 255});
    CVorSprite ground, s;
    ground.Init(&groundImage);
    s.Init(&spriteImage);

    auto blackenWindow = [&]() {
        RECT all = {0, 0, w, h};
        ::FillRect(target.m_hDC, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::GdiFlush();
    };
    auto frame = [&](int x, int y) {
        g.InitSprite();
        g.AddSprite(&ground, 0, 0, 255);
        g.AddSprite(&s, x, y, 255);
        g.DrawSprite(true);
        ::GdiFlush();
        window.Pump();
    };
    blackenWindow();
    frame(20, 30);  // first frame: the ground is new, the whole surface is presented
    std::vector<uint8_t> shot = window.CaptureClient();
    CHECK(std::equal(shot.begin(), shot.begin() + 3 * w, Snapshot(g).begin()));

    auto checkBlocks = [&]() {
        std::vector<uint8_t> screen = window.CaptureClient();
        const std::vector<CVorRect> rects = Rects(g);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bool inBlock = false;
                for (const CVorRect& r : rects)
                    if (x < r.X + r.Width && y < r.Y + r.Height) inBlock = true;
                const Bgr want = inBlock ? PixelAt(g, x, y) : Bgr{0, 0, 0};
                const uint8_t* p = &screen[(size_t(y) * w + x) * 3];
                if (p[0] != want.b || p[1] != want.g || p[2] != want.r) {
                    FAIL_CHECK("window pixel (" << x << ", " << y << ") wrong; dirty " << Show(rects));
                    return;
                }
            }
    };
    blackenWindow();
    frame(100, 80);  // moved: blocks to (32, 40) and to (112, 90)
    CHECK(Show(Rects(g)) == "(100,80,12,10)(20,30,12,10)");
    checkBlocks();
    CHECK(window.ClientPixel(111, 89) == (Bgr{0, 255, 255}));
    CHECK(window.ClientPixel(113, 91) == (Bgr{0, 0, 0}));

    blackenWindow();
    frame(100, 80);  // nothing changed: nothing is presented
    CHECK(g.GetZang().GetRects().empty());
    checkBlocks();
    CHECK(window.ClientPixel(5, 5) == (Bgr{0, 0, 0}));

    // An empty sprite list still presents what the dirty list holds.
    blackenWindow();
    g.ClearSprite();
    g.GetZang().AddRect(CVorRect(10, 10, 20, 5));
    g.DrawSprite(true);
    ::GdiFlush();
    checkBlocks();
    CHECK(window.ClientPixel(29, 14) == PixelAt(g, 29, 14));
    CHECK(window.ClientPixel(31, 14) == (Bgr{0, 0, 0}));

    // DrawSprite(false) presents nothing.
    blackenWindow();
    g.GetZang().AddRect(CVorRect(50, 50, 5, 5));
    g.DrawSprite(false);
    ::GdiFlush();
    CHECK(window.ClientPixel(2, 2) == (Bgr{0, 0, 0}));
}

TEST_CASE("null sprites are ignored by every AddSprite") {
    Scene sc;
    sc.g.InitSprite();
    sc.g.AddSprite(static_cast<CVorSprite*>(nullptr));
    sc.g.AddSprite(static_cast<CVorSprite*>(nullptr), 1, 2, 255);
    sc.g.AddSprite(static_cast<CVorSprite*>(nullptr), 1, 2, 3, 4, 0, 0, 255);
    sc.g.AddSprite(static_cast<CVorSprite*>(nullptr), 1, 2, 3, 4, "x", Gdiplus::Color(255, 0, 0, 0),
                   Gdiplus::StringAlignmentNear);
    CHECK(sc.g.GetSpriteList().empty());
    CHECK(sc.g.GetZang().GetRects().empty());
    sc.g.DrawSprite(true);
}

TEST_CASE("an unchanged memory image is redrawn in part exactly as its whole draw showed it") {
    // Memory images count their source rows from the block's start (the picture's bottom row), and
    // the blitter keeps that window when it clips at an edge: a part is redrawn from the whole
    // draw's rows, not from its offset inside the sprite.
    Scene sc;
    MemoryImage m = MakeMemoryImage(20, 16, [](int x, int y) { return Bgra{uint8_t(x * 12), uint8_t(y * 15), 77, 255}; });
    CVorBitmap plain(m.bits.data(), int(m.bits.size()), m.info, 0);
    CVorBitmap keyed(m.bits.data(), int(m.bits.size()), m.info, 77, uint8_t(3 * 15), 0);  // key hits row 3, column 0
    MemoryImage z = MakeMemoryImage(8, 6, [](int x, int y) { return Bgra{uint8_t(30 * x), uint8_t(40 * y), 200, 255}; });
    CVorBitmap zoomed(z.bits.data(), int(z.bits.size()), z.info, 1);
    CVorTga mover;
    SolidTga(mover, 5, 5, Bgra{255, 255, 255, 255});
    struct Case {
        const char* name;
        CVorBitmap* image;
        int x, y, w, h, srcX, srcY;
        unsigned char alpha;
    };
    const Case cases[] = {
        {"whole, inside", &plain, 30, 20, 0, 0, 0, 0, 255},
        {"cut by the top edge", &plain, 30, -7, 0, 0, 0, 0, 255},
        {"cut by the bottom edge", &plain, 30, 55, 0, 0, 0, 0, 255},
        {"cut by the left edge, source window", &plain, -6, 20, 12, 10, 3, 2, 255},
        {"blended, keyed, cut by the top", &keyed, 30, -5, 0, 0, 0, 0, 140},
        {"zoomed to 3x", &zoomed, 20, 10, 24, 18, 0, 0, 255},
        {"zoomed from a source corner, cut by the top", &zoomed, 20, -4, 30, 20, 2, 1, 255},
        {"zoomed and blended (own size)", &zoomed, 20, 10, 0, 0, 0, 0, 99},
    };
    for (const Case& c : cases) {
        const std::string name = c.name;
        CAPTURE(name);
        CVorSprite image, m1;
        image.Init(c.image);
        m1.Init(&mover);
        sc.g.ClearSprite();
        FillBytes(sc.g, 0);
        // Frame 1: everything whole. Frames 2 to 6: the mover crosses the image; the image is
        // redrawn only in the parts the mover uncovers.
        for (int frame = 0; frame < 6; ++frame) {
            sc.Begin();
            sc.g.AddSprite(&image, c.x, c.y, c.w, c.h, c.srcX, c.srcY, c.alpha);
            sc.g.AddSprite(&m1, c.x + 3 + 4 * frame, (c.y > 0 ? c.y : 0) + frame, 255);
            sc.g.DrawSprite(false);
            CVorGraphics fresh;
            REQUIRE(fresh.Init(kW, kH));
            fresh.InitGraphics(static_cast<CPaintDC*>(nullptr));
            fresh.Draw(&sc.groundImage, 0, 0);
            if (c.alpha == 255) fresh.Draw(c.image, c.x, c.y, c.srcX, c.srcY, c.w ? c.w : c.image->GetWidth(),
                                           c.h ? c.h : c.image->GetHeight());
            else fresh.Draw(c.image, c.x, c.y, c.srcX, c.srcY, c.w ? c.w : c.image->GetWidth(),
                            c.h ? c.h : c.image->GetHeight(), c.alpha);
            fresh.Draw(&mover, c.x + 3 + 4 * frame, (c.y > 0 ? c.y : 0) + frame);
            ::GdiFlush();
            CAPTURE(frame);
            CHECK(Snapshot(sc.g) == Snapshot(fresh));
        }
    }
    sc.g.ClearSprite();
}

TEST_CASE("a line sprite drawn left or up still draws its line, exactly as DrawLine does") {
    Scene sc;
    CVorPen pen(255, 0, 0, 1.0f, Gdiplus::DashStyleSolid);
    // (px, py, pw, ph): left, up, left and up, and right and down for comparison.
    const int shapes[][4] = {{60, 30, -20, 0}, {70, 50, 0, -15}, {40, 40, -12, -9}, {10, 10, 14, 6}};
    for (const auto& sh : shapes) {
        CAPTURE(sh[0]);
        CAPTURE(sh[2]);
        CAPTURE(sh[3]);
        CVorSprite line;
        line.Init(&pen, 0);
        sc.g.ClearSprite();
        FillBytes(sc.g, 0);
        sc.Begin();
        sc.g.AddSprite(&line, sh[0], sh[1], sh[2], sh[3], 0, 0, 255);
        sc.g.DrawSprite(false);
        ::GdiFlush();
        CVorGraphics fresh;
        REQUIRE(fresh.Init(kW, kH));
        fresh.InitGraphics(static_cast<CPaintDC*>(nullptr));
        fresh.Draw(&sc.groundImage, 0, 0);
        fresh.DrawLine(&pen, sh[0], sh[1], sh[0] + sh[2], sh[1] + sh[3]);
        ::GdiFlush();
        int red = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) red += PixelAt(fresh, x, y) == Bgr{0, 0, 255};
        CHECK(red >= std::max(std::abs(sh[2]), std::abs(sh[3])));
        CHECK(Snapshot(sc.g) == Snapshot(fresh));
    }
    sc.g.ClearSprite();
}

TEST_CASE("a brush sprite leaves the world transform at identity; a zoomed redraw keeps the DC's clip region") {
    Scene sc;
    CVorTga tile;
    SolidTga(tile, 4, 4, Bgra{10, 200, 30, 255});
    const std::string path = WriteTempFile("compose_texture.bmp", imagefile::Bmp(4, 4, 24, [](int x, int y) {
        return imagefile::Rgba{uint8_t(40 * x), uint8_t(50 * y), 99, 255};
    }));
    CVorBitmap texture(std::wstring(path.begin(), path.end()).c_str());
    CVorBrush brush;
    brush.Init(&texture, Gdiplus::WrapModeTile);
    REQUIRE(brush.GetTextureBrush() != nullptr);
    CVorSprite fill;
    fill.Init(&brush);
    Gdiplus::Graphics* graphics = sc.g.GetGraphics();
    REQUIRE(graphics != nullptr);
    graphics->TranslateTransform(3.0f, 4.0f);  // the host's own transform
    sc.Begin();
    sc.g.AddSprite(&fill, 20, 10, 8, 8, 0, 0, 255);
    sc.g.DrawSprite(false);
    Gdiplus::Matrix m;
    REQUIRE(graphics->GetTransform(&m) == Gdiplus::Ok);
    CHECK(m.IsIdentity());

    // The host clips the memory DC; a zoomed memory image redrawn in part leaves that clip in place.
    MemoryImage z = MakeMemoryImage(8, 6, [](int x, int y) { return Bgra{uint8_t(30 * x), uint8_t(40 * y), 200, 255}; });
    CVorBitmap zoomed(z.bits.data(), int(z.bits.size()), z.info, 1);
    CVorSprite image, mover;
    image.Init(&zoomed);
    mover.Init(&tile);
    sc.g.ClearSprite();
    HDC dc = sc.g.GetMemDC()->m_hDC;
    HRGN host = ::CreateRectRgn(0, 0, 50, 40);
    ::SelectClipRgn(dc, host);
    ::DeleteObject(host);
    for (int frame = 0; frame < 3; ++frame) {
        sc.Begin();
        sc.g.AddSprite(&image, 20, 10, 24, 18, 0, 0, 255);
        sc.g.AddSprite(&mover, 22 + 3 * frame, 12, 255);
        sc.g.DrawSprite(false);
    }
    HRGN now = ::CreateRectRgn(0, 0, 0, 0);
    REQUIRE(::GetClipRgn(dc, now) == 1);
    RECT box;
    ::GetRgnBox(now, &box);
    ::DeleteObject(now);
    CHECK(box.left == 0);
    CHECK(box.top == 0);
    CHECK(box.right == 50);
    CHECK(box.bottom == 40);
    ::SelectClipRgn(dc, nullptr);
    sc.g.ClearSprite();
}

TEST_CASE("text, pen and brush sprites draw only inside their rectangle; the graphics state is kept") {
    Scene sc;
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    sc.g.SetNowFont(&font);
    CVorPen wide(255, 255, 0, 5.0f, Gdiplus::DashStyleSolid);
    CVorSprite text, box, line;
    box.Init(&wide, 1);
    line.Init(&wide, 0);
    Gdiplus::Graphics* graphics = sc.g.GetGraphics();
    REQUIRE(graphics != nullptr);
    graphics->SetClip(Gdiplus::Rect(0, 0, 90, 60));  // a clip of the host's own
    sc.Begin();
    // A text too long for its rectangle wraps below it; a wide pen spills beyond the shape.
    sc.g.AddSprite(&text, 10, 5, 40, 12, "Frame 370 ok wrap", Gdiplus::Color(255, 255, 255, 255),
                   Gdiplus::StringAlignmentNear);
    sc.g.AddSprite(&box, 20, 30, 20, 15, 0, 0, 255);
    sc.g.AddSprite(&line, 60, 20, 20, 0, 0, 0, 255);
    sc.g.DrawSprite(false);
    ::GdiFlush();
    auto inside = [](int x, int y, int rx, int ry, int rw, int rh) { return x >= rx && x < rx + rw && y >= ry && y < ry + rh; };
    int drawnInside = 0;
    CHECK(BufferIs(sc.g, [&](int x, int y) -> Bgr {
        const Bgr p = PixelAt(sc.g, x, y);
        if (inside(x, y, 10, 5, 40, 12) || inside(x, y, 20, 30, 21, 16) || inside(x, y, 60, 20, 21, 1)) {
            if (p != GroundBgr(x, y)) ++drawnInside;
            return p;
        }
        return GroundBgr(x, y);
    }));
    CHECK(drawnInside > 40);
    Gdiplus::Rect clip;
    graphics->GetClipBounds(&clip);
    CHECK(clip.X == 0);
    CHECK(clip.Y == 0);
    CHECK(clip.Width == 90);
    CHECK(clip.Height == 60);
    graphics->ResetClip();

    // New text in the same place leaves nothing of the old one behind.
    sc.Begin();
    sc.g.AddSprite(&text, 10, 5, 40, 12, "Frame 1 ok wrap", Gdiplus::Color(255, 255, 255, 255),
                   Gdiplus::StringAlignmentNear);
    sc.g.AddSprite(&box, 20, 30, 20, 15, 0, 0, 255);
    sc.g.AddSprite(&line, 60, 20, 20, 0, 0, 0, 255);
    sc.g.DrawSprite(false);
    CVorGraphics fresh;
    REQUIRE(fresh.Init(kW, kH));
    fresh.InitGraphics(static_cast<CPaintDC*>(nullptr));
    fresh.InitSprite();
    CVorSprite copies[4] = {sc.ground, text, box, line};
    for (CVorSprite& c : copies) fresh.AddSprite(&c);
    fresh.DrawSprite(false);
    CHECK(Snapshot(sc.g) == Snapshot(fresh));
}
