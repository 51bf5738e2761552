// Copy and lifetime safety of every copyable class: copy-construct, assign, assign to self,
// destroy in every order, re-Init one of a pair. Nothing is released twice (a double release
// shows up as a crash, a heap fault or a survivor drawing garbage), the survivor draws exactly
// as before, and the GDI object count ends where it started.
#include <doctest.h>

#include <functional>

#include "BitmapTestFiles.h"
#include "tga/TgaTestKit.h"

namespace {

template <class T>
struct Kind {
    std::function<void(T&, int)> init;   // makes variant 0 or 1
    std::function<void(T&, int)> check;  // asserts the object is (a working) variant k
};

// Every order of copying, assigning and destroying, with checks of the survivors.
template <class T>
void Exercise(const Kind<T>& k) {
    {  // copy, destroy the original first
        T* a = new T;
        k.init(*a, 0);
        T* b = new T(*a);
        delete a;
        k.check(*b, 0);
        delete b;
    }
    {  // copy, destroy the copy first
        T* a = new T;
        k.init(*a, 0);
        T* b = new T(*a);
        delete b;
        k.check(*a, 0);
        delete a;
    }
    {  // assign over a live object, then destroy either
        for (int order = 0; order < 2; ++order) {
            T* a = new T;
            k.init(*a, 0);
            T* b = new T;
            k.init(*b, 1);
            *b = *a;
            k.check(*a, 0);
            k.check(*b, 0);
            T* first = order ? a : b;
            T* second = order ? b : a;
            delete first;
            k.check(*second, 0);
            delete second;
        }
    }
    {  // assign to self, directly and through a chain
        T a;
        k.init(a, 0);
        T& same = a;
        a = same;
        k.check(a, 0);
        T b(a), c;
        c = b;
        b = c;
        c = a;
        a = c;
        k.check(a, 0);
        k.check(b, 0);
        k.check(c, 0);
    }
    {  // re-Init one of a pair: the other keeps what it had
        T a;
        k.init(a, 0);
        T b(a);
        k.init(a, 1);
        k.check(a, 1);
        k.check(b, 0);
        T c;
        c = b;
        k.init(b, 1);
        k.check(b, 1);
        k.check(c, 0);
    }
    {  // three copies destroyed in all six orders
        const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
        for (const auto& order : orders) {
            T* t[3];
            t[0] = new T;
            k.init(*t[0], 0);
            t[1] = new T(*t[0]);
            t[2] = new T;
            *t[2] = *t[1];
            for (int i = 0; i < 3; ++i) {
                delete t[order[i]];
                t[order[i]] = nullptr;
                for (T* left : t)
                    if (left) k.check(*left, 0);
            }
        }
    }
    {  // an empty object copied and assigned
        T a, b(a), c;
        c = a;
        a = b;
    }
}

// Runs the exercise once to warm GDI+ up, then again with the GDI object count watched.
template <class T>
void ExerciseFlat(const Kind<T>& k) {
    Exercise(k);
    const unsigned before = GdiObjectCount();
    for (int i = 0; i < 3; ++i) Exercise(k);
    CHECK(GdiObjectCount() <= before);
}

CVorGraphics& Surface() {
    static CVorGraphics* g = nullptr;
    if (!g) {
        EnsureGdiplus();
        g = new CVorGraphics();
        g->Init(40, 24);
        g->InitGraphics(static_cast<CPaintDC*>(nullptr));
    }
    return *g;
}

const Rgb kColours[2] = {{200, 30, 60}, {10, 220, 90}};
Bgr Want(int variant) { return ToBgr(kColours[variant]); }

}  // namespace

TEST_CASE("CVorTga copies") {
    Kind<CVorTga> k;
    k.init = [](CVorTga& t, int v) {
        const tgakit::Bgra p{kColours[v].b, kColours[v].g, kColours[v].r, 255};
        const std::vector<uint8_t> f = tgakit::MakeTga(3 + v, 2, std::vector<tgakit::Bgra>(size_t(2 * (3 + v)), p), {});
        REQUIRE(t.InitFromMemory(f.data(), f.size()));
    };
    k.check = [](CVorTga& t, int v) {
        CHECK(t.GetWidth() == unsigned(3 + v));
        REQUIRE(t.GetBuffer() != nullptr);
        CVorGraphics& g = Surface();
        FillBytes(g, 0);
        g.Draw(&t, 1, 1);
        CHECK(PixelAt(g, 1, 1) == Want(v));
        CHECK(PixelAt(g, 3 + v, 2) == Want(v));
        CHECK(PixelAt(g, 4 + v, 2) == Bgr{0, 0, 0});
    };
    ExerciseFlat(k);
}

TEST_CASE("CVorBitmap copies: memory images, keyed ones and GDI+ files") {
    static std::vector<uint8_t> blocks[2];
    for (int v = 0; v < 2; ++v) {
        blocks[v].clear();
        for (int i = 0; i < 4 * 3; ++i) blocks[v].push_back(i % 3 == 0 ? kColours[v].b : i % 3 == 1 ? kColours[v].g : kColours[v].r);
    }
    static std::wstring files[2];
    for (int v = 0; v < 2; ++v)
        files[v] = Wide(WriteTempFile(v ? "vor_copy1.bmp" : "vor_copy0.bmp",
                                      BmpFile(2 + v, 2, 24, [v](int, int) { return kColours[v]; })));
    auto check = [](CVorBitmap& b, int v) {
        CVorGraphics& g = Surface();
        FillBytes(g, 0);
        g.Draw(&b, 2, 3);
        CHECK(PixelAt(g, 2, 3) == Want(v));
        CHECK(PixelAt(g, 3, 4) == Want(v));
        CHECK(PixelAt(g, 4 + v, 3) == Bgr{0, 0, 0});
    };
    SUBCASE("memory") {
        Kind<CVorBitmap> k;
        k.init = [](CVorBitmap& b, int v) {
            BITMAPINFO info = MemoryImageHeader(2, 2);
            b.Init(blocks[v].data(), int(blocks[v].size()), info, 0);
        };
        k.check = check;
        ExerciseFlat(k);
    }
    SUBCASE("memory, colour key") {
        Kind<CVorBitmap> k;
        k.init = [](CVorBitmap& b, int v) {
            BITMAPINFO info = MemoryImageHeader(2, 2);
            b.Init(blocks[v].data(), int(blocks[v].size()), info, 1, 2, 3);
        };
        k.check = [check](CVorBitmap& b, int v) {
            check(b, v);
            CHECK(b.GetImageAttributes() != nullptr);
            CHECK(b.GetKeyRGB() == 0x010203u);
        };
        ExerciseFlat(k);
    }
    SUBCASE("GDI+ file, plain and keyed") {
        Kind<CVorBitmap> k;
        k.init = [](CVorBitmap& b, int v) {
            if (v) b.Init(files[v].c_str(), 1, 2, 3);
            else b.Init(files[v].c_str());
        };
        k.check = [check](CVorBitmap& b, int v) {
            REQUIRE(b.GetBitmap() != nullptr);
            CHECK(b.GetWidth() == 2 + v);
            check(b, v);
        };
        ExerciseFlat(k);
    }
}

TEST_CASE("CVorPen copies") {
    Kind<CVorPen> k;
    k.init = [](CVorPen& p, int v) {
        p.Init(kColours[v].r, kColours[v].g, kColours[v].b, 1.0f + 2.0f * v, Gdiplus::DashStyleSolid);
    };
    k.check = [](CVorPen& p, int v) {
        REQUIRE(p.GetPen() != nullptr);
        CHECK(p.GetPen()->GetWidth() == doctest::Approx(1.0 + 2.0 * v));
        CVorGraphics& g = Surface();
        FillBytes(g, 0);
        g.DrawLine(&p, 2, 10, 30, 10);
        CHECK(PixelAt(g, 15, 10) == Want(v));
    };
    ExerciseFlat(k);
}

TEST_CASE("CVorBrush copies: hatch and texture") {
    SUBCASE("hatch") {
        Kind<CVorBrush> k;
        k.init = [](CVorBrush& b, int v) {
            const Gdiplus::Color c(255, kColours[v].r, kColours[v].g, kColours[v].b);
            b.Init(Gdiplus::HatchStyleCross, c, c);  // one colour both ways: a solid fill
        };
        k.check = [](CVorBrush& b, int v) {
            REQUIRE(b.GetHatchBrush() != nullptr);
            CVorGraphics& g = Surface();
            FillBytes(g, 0);
            g.FillRectangle(&b, 4, 4, 10, 10);
            CHECK(PixelAt(g, 8, 8) == Want(v));
            CHECK(PixelAt(g, 20, 20) == Bgr{0, 0, 0});
        };
        ExerciseFlat(k);
    }
    SUBCASE("texture: the brush outlives its bitmap's copies") {
        static std::wstring files[2];
        for (int v = 0; v < 2; ++v)
            files[v] = Wide(WriteTempFile(v ? "vor_tex1.bmp" : "vor_tex0.bmp",
                                          BmpFile(3, 3, 24, [v](int, int) { return kColours[v]; })));
        Kind<CVorBrush> k;
        k.init = [](CVorBrush& b, int v) {
            CVorBitmap image(files[v].c_str());
            b.Init(&image, Gdiplus::WrapModeTile);
        };
        k.check = [](CVorBrush& b, int v) {
            REQUIRE(b.GetTextureBrush() != nullptr);
            CVorGraphics& g = Surface();
            FillBytes(g, 0);
            g.FillRectangle(&b, 4, 4, 10, 10);
            CHECK(PixelAt(g, 8, 8) == Want(v));
        };
        ExerciseFlat(k);
    }
}

TEST_CASE("CVorFont copies") {
    Kind<CVorFont> k;
    k.init = [](CVorFont& f, int v) { f.Init(v ? 14 : 9, L"DejaVu Sans", Gdiplus::FontStyleBold); };
    k.check = [](CVorFont& f, int v) {
        REQUIRE(f.GetFont() != nullptr);
        CHECK(f.GetSize() == doctest::Approx(v ? 14.0 : 9.0));
        CVorGraphics& g = Surface();
        FillBytes(g, 0);
        Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
        g.Draw(L"WWW", 0, 0, &f, &white);
        int lit = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 40; ++x) lit += PixelAt(g, x, y) != Bgr{0, 0, 0};
        CHECK(lit > 10);
    };
    ExerciseFlat(k);
}

TEST_CASE("CVorSprite copies own their text brush") {
    static CVorFont font(10, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    Kind<CVorSprite> k;
    k.init = [](CVorSprite& s, int v) {
        s.Init(&font, v ? "second" : "first", Gdiplus::Color(255, kColours[v].r, kColours[v].g, kColours[v].b),
               Gdiplus::StringAlignmentNear);
        s.SetRect(1 + v, 2, 30, 12, 0, 0, 255);
    };
    k.check = [](CVorSprite& s, int v) {
        CHECK(std::string(s.GetStringA()) == (v ? "second" : "first"));
        CHECK(s.GetX() == 1 + v);
        REQUIRE(s.GetSolidBrush() != nullptr);
        Gdiplus::Color c;
        s.GetSolidBrush()->GetColor(&c);
        CHECK(c.GetR() == kColours[v].r);
        CHECK(c.GetG() == kColours[v].g);
        // The brush works: text drawn with it has the sprite's colour.
        CVorGraphics& g = Surface();
        FillBytes(g, 0);
        g.Draw(L"\x2588\x2588", 0, 0, s.GetFont(), s.GetSolidBrush());
        int lit = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 40; ++x) lit += PixelAt(g, x, y) == Want(v);
        CHECK(lit > 4);
    };
    ExerciseFlat(k);
}

TEST_CASE("CVorGraphics copies share the back buffer; re-Init lets one go") {
    Kind<CVorGraphics> k;
    k.init = [](CVorGraphics& g, int v) {
        EnsureGdiplus();
        REQUIRE(g.Init(8 + v, 6));
        g.InitGraphics(static_cast<CPaintDC*>(nullptr));
        g.FillRectangle(0, 0, 8 + v, 6, kColours[v].r, kColours[v].g, kColours[v].b);
    };
    k.check = [](CVorGraphics& g, int v) {
        CHECK(g.GetWidth() == unsigned(8 + v));
        REQUIRE(g.GetPixels() != nullptr);
        CHECK(PixelAt(g, 7 + v, 5) == Want(v));
        // The survivor's device and graphics object still work on its buffer.
        REQUIRE(g.GetGraphics() != nullptr);
        CVorPen white(255, 255, 255, 1.0f, Gdiplus::DashStyleSolid);
        g.DrawLine(&white, 0, 2, 8, 2);
        CHECK(PixelAt(g, 3, 2) == Bgr{255, 255, 255});
        REQUIRE(g.GetMemDC() != nullptr);
        CHECK(::GetPixel(g.GetMemDC()->m_hDC, 3, 2) == RGB(255, 255, 255));
        CHECK(::GetPixel(g.GetMemDC()->m_hDC, 3, 4) == RGB(kColours[v].r, kColours[v].g, kColours[v].b));
        g.FillRectangle(0, 2, 8 + v, 1, kColours[v].r, kColours[v].g, kColours[v].b);
    };
    ExerciseFlat(k);
}

TEST_CASE("value classes copy as values: CVorColor, CVorRect, CVorZang, CVorSpriteRect") {
    Kind<CVorColor> colour;
    colour.init = [](CVorColor& c, int v) { c.Init(kColours[v].r, kColours[v].g, kColours[v].b); };
    colour.check = [](CVorColor& c, int v) {
        CHECK(c.GetR() == kColours[v].r);
        CHECK(c.GetB() == kColours[v].b);
    };
    Exercise(colour);

    Kind<CVorRect> rect;
    rect.init = [](CVorRect& r, int v) { r = CVorRect(v, 2 * v, 10 + v, 20 + v); };
    rect.check = [](CVorRect& r, int v) { CHECK(r == CVorRect(v, 2 * v, 10 + v, 20 + v)); };
    Exercise(rect);

    Kind<CVorZang> zang;
    zang.init = [](CVorZang& z, int v) {
        z.Init();
        for (int i = 0; i <= v; ++i) z.AddRect(CVorRect(100 * i, 0, 10, 10));
    };
    zang.check = [](CVorZang& z, int v) {
        CHECK(z.GetRects().size() == size_t(v + 1));
        CHECK(z.CheckRect(CVorRect(100 * v + 1, 1, 2, 2)) == 1);
    };
    Exercise(zang);

    Kind<CVorSpriteRect> place;
    place.init = [](CVorSpriteRect& s, int v) { s.SetNewRect(v, v + 1, 5, 6, 7 * v, 0); };
    place.check = [](CVorSpriteRect& s, int v) {
        CHECK(s.GetX() == v);
        CHECK(s.GetY() == v + 1);
        CHECK(s.GetSrcX() == 7 * v);
    };
    Exercise(place);
}
