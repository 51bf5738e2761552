// CVorGraphics life cycle: back buffer layout, sharing between copies, binding, presentation.
#include <doctest.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "TestSupport.h"
#include "tga/TgaTestKit.h"

TEST_CASE("back buffer header and stride for small widths") {
    EnsureGdiplus();
    const int expected[] = {0, 4, 8, 12, 12, 16};
    for (int w = 1; w <= 5; ++w) {
        CVorGraphics g;
        REQUIRE(g.Init(w, 3));
        CAPTURE(w);
        CHECK(g.GetStride() == expected[w]);
        const BITMAPINFOHEADER& h = g.GetBitmapInfo()->bmiHeader;
        CHECK(h.biSize == 40);
        CHECK(h.biWidth == w);
        CHECK(h.biHeight == -3);
        CHECK(h.biPlanes == 1);
        CHECK(h.biBitCount == 24);
        CHECK(h.biCompression == BI_RGB);
        CHECK(h.biSizeImage == DWORD(3 * expected[w]));
        CHECK(g.GetWidth() == unsigned(w));
        CHECK(g.GetHeight() == 3u);
        CHECK(g.GetPixels() != nullptr);
        CHECK(g.GetBitmap() != nullptr);
        CHECK(g.GetBackCopy() != nullptr);
    }
}

TEST_CASE("row 0 is the top row: a GDI pixel read through the memory DC sees the first bytes") {
    EnsureGdiplus();
    CVorGraphics g;
    REQUIRE(g.Init(4, 3));
    g.InitGraphics(static_cast<CPaintDC*>(nullptr));
    REQUIRE(g.GetMemDC() != nullptr);
    FillBytes(g, 0);
    BYTE* p = g.GetPixels();
    p[0] = 10; p[1] = 20; p[2] = 30;                       // (0, 0)
    BYTE* last = p + 2 * g.GetStride() + 3 * 3;            // (3, 2)
    last[0] = 1; last[1] = 2; last[2] = 3;
    ::GdiFlush();
    CHECK(::GetPixel(g.GetMemDC()->m_hDC, 0, 0) == RGB(30, 20, 10));
    CHECK(::GetPixel(g.GetMemDC()->m_hDC, 3, 2) == RGB(3, 2, 1));
    CHECK(::GetPixel(g.GetMemDC()->m_hDC, 0, 2) == RGB(0, 0, 0));
}

TEST_CASE("bad sizes leave no pixels; Init still returns true (false only without a header)") {
    EnsureGdiplus();
    CVorGraphics g;
    CHECK(g.Init(-1, 10));
    CHECK(g.GetPixels() == nullptr);
    CHECK(g.GetBitmap() == nullptr);
    REQUIRE(g.GetBitmapInfo() != nullptr);
    CHECK(g.GetBitmapInfo()->bmiHeader.biWidth == -1);
    CHECK(g.GetBitmapInfo()->bmiHeader.biHeight == -10);
    CHECK(g.Init(10, -1));
    CHECK(g.GetPixels() == nullptr);
    CHECK(g.Init(INT_MAX, 2));
    CHECK(g.GetPixels() == nullptr);
    CHECK(g.Init(40000, 40000));  // 4.8 GB: the byte count does not fit
    CHECK(g.GetPixels() == nullptr);
    CHECK(g.GetBackCopy() == nullptr);
    CHECK(g.GetWidth() == 40000u);
    CHECK(g.GetHeight() == 40000u);
    // Such a surface draws nothing and presents nothing.
    g.FillRectangle(0, 0, 5, 5, 1, 2, 3);
    g.DrawBack();
    CHECK(g.Init(0, 0));  // an empty surface is fine, it just has nothing to draw on
    CHECK(g.GetPixels() == nullptr);
    CHECK(g.Init(8, 8));
    CHECK(g.GetPixels() != nullptr);
}

TEST_CASE("copies share one back buffer and release it once") {
    EnsureGdiplus();
    const unsigned before = GdiObjectCount();
    {
        CVorGraphics a;
        REQUIRE(a.Init(16, 16));
        a.InitGraphics(static_cast<CPaintDC*>(nullptr));
        CVorGraphics b(a);
        CHECK(b.GetPixels() == a.GetPixels());
        CHECK(b.GetMemDC() == a.GetMemDC());
        CHECK(b.GetGraphics() == a.GetGraphics());
        a.GetPixels()[5 * a.GetStride() + 3 * 7] = 99;
        CHECK(PixelAt(b, 7, 5).b == 99);

        CVorGraphics c;
        REQUIRE(c.Init(4, 4));
        c = a;
        CHECK(c.GetPixels() == a.GetPixels());
        c = c;
        CHECK(c.GetPixels() == a.GetPixels());

        // Re-sizing one copy gives it its own buffer; the others keep the shared one.
        REQUIRE(b.Init(8, 8));
        CHECK(b.GetPixels() != a.GetPixels());
        CHECK(PixelAt(c, 7, 5).b == 99);
    }
    CHECK(GdiObjectCount() == before);
}

TEST_CASE("re-Init then rebind selects the new buffer") {
    EnsureGdiplus();
    CVorGraphics g;
    REQUIRE(g.Init(8, 8));
    g.InitGraphics(static_cast<CPaintDC*>(nullptr));
    HBITMAP first = g.GetBitmap();
    CHECK(::GetCurrentObject(g.GetMemDC()->m_hDC, OBJ_BITMAP) == first);
    REQUIRE(g.Init(20, 10));
    HBITMAP second = g.GetBitmap();
    CHECK(second != first);
    CHECK(::GetCurrentObject(g.GetMemDC()->m_hDC, OBJ_BITMAP) != first);  // the old one was put back
    g.InitGraphics(static_cast<CPaintDC*>(nullptr));
    CHECK(::GetCurrentObject(g.GetMemDC()->m_hDC, OBJ_BITMAP) == second);
    g.DeleteGraphics();
    CHECK(g.GetMemDC() == nullptr);
    CHECK(g.GetGraphics() == nullptr);
    CHECK(g.GetPixels() != nullptr);
}

TEST_CASE("InitGraphics(HDC) replaces only the graphics object") {
    EnsureGdiplus();
    CVorGraphics g;
    REQUIRE(g.Init(8, 8));
    g.InitGraphics(static_cast<CPaintDC*>(nullptr));
    CDC* mem = g.GetMemDC();
    HDC screen = ::GetDC(nullptr);
    g.InitGraphics(screen);
    CHECK(g.GetMemDC() == mem);
    CHECK(g.GetGraphics() != nullptr);
    g.DeleteGraphics();
    ::ReleaseDC(nullptr, screen);
}

TEST_CASE("DrawDC copies the block from the origin to each dirty rectangle's far corner") {
    EnsureGdiplus();
    TestWindow window(120, 90);
    CClientDC target(window.Wnd());
    CVorGraphics g;
    REQUIRE(g.Init(120, 90));
    g.InitGraphics(&target);

    auto paintWindow = [&](BYTE value) {
        HBRUSH brush = ::CreateSolidBrush(RGB(value, value, value));
        RECT all = {0, 0, 120, 90};
        ::FillRect(target.m_hDC, &all, brush);
        ::DeleteObject(brush);
        ::GdiFlush();
    };
    FillBytes(g, 200);
    paintWindow(0);

    SUBCASE("one rectangle (10, 20, 30, 40) copies 40 x 60 from the origin") {
        g.GetZang().AddRect(CVorRect(10, 20, 30, 40));
        g.DrawDC();
        ::GdiFlush();
        std::vector<uint8_t> shot = window.CaptureClient();
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x) {
                const uint8_t expect = (x < 40 && y < 60) ? 200 : 0;
                const uint8_t* p = &shot[(size_t(y) * 120 + x) * 3];
                if (p[0] != expect || p[1] != expect || p[2] != expect) {
                    FAIL_CHECK("pixel (" << x << ", " << y << ") is " << int(p[0]) << ", expected " << int(expect));
                    return;
                }
            }
    }
    SUBCASE("an empty dirty list and a (0, 0, 0, 0) rectangle copy nothing") {
        g.DrawDC();
        g.GetZang().AddRect(CVorRect(0, 0, 0, 0));
        g.DrawDC();
        ::GdiFlush();
        CHECK(window.ClientPixel(0, 0) == Bgr{0, 0, 0});
        CHECK(window.ClientPixel(50, 50) == Bgr{0, 0, 0});
    }
    SUBCASE("two rectangles make two blocks") {
        g.GetZang().AddRect(CVorRect(5, 5, 5, 5));       // block to (10, 10)
        g.GetZang().AddRect(CVorRect(100, 2, 10, 3));    // block to (110, 5)
        g.DrawDC();
        ::GdiFlush();
        CHECK(window.ClientPixel(9, 9) == Bgr{200, 200, 200});
        CHECK(window.ClientPixel(109, 4) == Bgr{200, 200, 200});
        CHECK(window.ClientPixel(109, 6) == Bgr{0, 0, 0});
        CHECK(window.ClientPixel(11, 9) == Bgr{0, 0, 0});
    }
    SUBCASE("no target DC: nothing is presented and nothing breaks") {
        CVorGraphics unbound;
        REQUIRE(unbound.Init(10, 10));
        unbound.GetZang().AddRect(CVorRect(0, 0, 5, 5));
        unbound.DrawDC();
        CHECK(window.ClientPixel(1, 1) == Bgr{0, 0, 0});
    }
}

TEST_CASE("DrawDC shows what the origin-to-corner copies show, copying each window pixel once") {
    EnsureGdiplus();
    const int W = 120, H = 90;
    TestWindow window(W, H);
    CClientDC target(window.Wnd());
    CVorGraphics g;
    REQUIRE(g.Init(W, H));
    g.InitGraphics(&target);
    REQUIRE(g.GetMemDC());
    for (int y = 0; y < H; ++y)  // a pattern, so a misplaced copy shows
        for (int x = 0; x < W; ++x) {
            BYTE* p = g.GetPixels() + y * g.GetStride() + 3 * x;
            p[0] = BYTE(x * 2), p[1] = BYTE(y * 3), p[2] = BYTE(x ^ y);
        }
    auto paintWindow = [&] {
        HBRUSH brush = ::CreateSolidBrush(RGB(7, 8, 9));
        RECT all = {0, 0, W, H};
        ::FillRect(target.m_hDC, &all, brush);
        ::DeleteObject(brush);
        ::GdiFlush();
    };
    const std::vector<CVorRect> dirty = {CVorRect(10, 20, 30, 40), CVorRect(80, 2, 10, 3), CVorRect(5, 70, 8, 8),
                                         CVorRect(100, 60, 40, 5), CVorRect(-5, -5, 2, 2)};
    for (const CVorRect& r : dirty) g.GetZang().AddRect(r);
    REQUIRE(g.GetZang().GetRects().size() == dirty.size());

    // The reference: one copy per rectangle, from the origin to its far corner.
    paintWindow();
    long long blockPixels = 0;
    for (const CVorRect& r : g.GetZang().GetRects()) {
        const int w = std::min(r.X + r.Width, W), h = std::min(r.Y + r.Height, H);
        if (w <= 0 || h <= 0) continue;
        ::BitBlt(target.m_hDC, 0, 0, w, h, g.GetMemDC()->m_hDC, 0, 0, SRCCOPY);
        blockPixels += (long long)w * h;
    }
    ::GdiFlush();
    const std::vector<uint8_t> expected = window.CaptureClient();

    paintWindow();
    g.DrawDC();
    ::GdiFlush();
    const std::vector<uint8_t> shown = window.CaptureClient();
    CHECK(shown == expected);
    // Union: rows 0..65 at width 120 (the block cut at the right edge) and rows 65..78 at width 13.
    CHECK(g.GetLastPresentedPixels() == 120 * 65 + 13 * 13);
    CHECK(g.GetLastPresentedPixels() < blockPixels);

    g.GetZang().ClearRect();
    g.DrawDC();
    CHECK(g.GetLastPresentedPixels() == 0);
}

TEST_CASE("exact presentation: same window pixels as the origin blocks over random frames, fewer copied") {
    EnsureGdiplus();
    const int W = 160, H = 120;
    uint32_t seed = 16;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    // A ground picture and alpha sprites, shared by two scenes composed alike.
    auto picture = [&](int w, int h, bool opaque) {
        std::vector<tgakit::Bgra> pixels(size_t(w) * h);
        for (tgakit::Bgra& p : pixels) {
            p = tgakit::RandomPixel(seed);
            if (opaque) p.a = 255;
        }
        const std::vector<uint8_t> file = tgakit::MakeTga(unsigned(w), unsigned(h), pixels);
        CVorTga tga;
        REQUIRE(tga.InitFromMemory(file.data(), file.size()));
        return tga;
    };
    CVorTga ground = picture(W, H, true), ball = picture(23, 17, false);
    struct Scene {
        TestWindow window;
        CClientDC target;
        CVorGraphics g;
        CVorSprite ground;
        std::vector<CVorSprite> movers;
        Scene(int w, int h, CVorTga* groundPicture, CVorTga* ballPicture)
            : window(w, h), target(window.Wnd()), movers(8) {
            g.Init(w, h);
            g.InitGraphics(&target);
            ground.Init(groundPicture);
            for (CVorSprite& m : movers) m.Init(ballPicture);
        }
    };
    Scene origin(W, H, &ground, &ball), exact(W, H, &ground, &ball);
    // Side by side: a window under another would not show what is copied to it.
    ::SetWindowPos(exact.window.Handle(), nullptr, W + 40, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    exact.window.Pump();
    REQUIRE(origin.g.GetMemDC());
    CHECK(origin.g.GetExactPresent() == 0);  // the default: blocks from the origin
    exact.g.SetExactPresent(1);
    CHECK(exact.g.GetExactPresent() == 1);
    CHECK(CVorGraphics(exact.g).GetExactPresent() == 1);  // a copy takes the setting along
    long long originPixels = 0, exactPixels = 0;
    int differing = 0;
    for (int frame = 0; frame < 40; ++frame) {
        std::vector<int> places;  // per sprite: x, y, or x = INT_MIN when it stays away this frame
        for (size_t i = 0; i < origin.movers.size(); ++i) {
            const bool shown = next() % 5 != 0;
            places.push_back(shown ? int(next() % (W + 30)) - 20 : INT_MIN);
            places.push_back(int(next() % (H + 30)) - 20);
        }
        for (Scene* sc : {&origin, &exact}) {
            sc->g.InitSprite();
            sc->g.AddSprite(&sc->ground, 0, 0, 255);
            for (size_t i = 0; i < sc->movers.size(); ++i)
                if (places[2 * i] != INT_MIN)
                    sc->g.AddSprite(&sc->movers[i], places[2 * i], places[2 * i + 1], i % 3 ? 255 : 140);
            sc->g.DrawSprite(true);
            ::GdiFlush();
        }
        originPixels += origin.g.GetLastPresentedPixels();
        exactPixels += exact.g.GetLastPresentedPixels();
        if (origin.window.CaptureClient() != exact.window.CaptureClient()) ++differing;
        // The window shows the back buffer in both modes.
        CHECK(exact.window.ClientPixel(W / 2, H / 2) ==
              Bgr{exact.g.GetPixels()[(H / 2) * exact.g.GetStride() + 3 * (W / 2)],
                  exact.g.GetPixels()[(H / 2) * exact.g.GetStride() + 3 * (W / 2) + 1],
                  exact.g.GetPixels()[(H / 2) * exact.g.GetStride() + 3 * (W / 2) + 2]});
    }
    CHECK(differing == 0);
    MESSAGE("pixels presented: origin blocks " << originPixels << ", exact " << exactPixels);
    CHECK(exactPixels < originPixels);
}

TEST_CASE("soak: 1000 Init / InitGraphics cycles keep the GDI object count flat") {
    EnsureGdiplus();
    CVorGraphics g;
    REQUIRE(g.Init(64, 64));
    g.InitGraphics(static_cast<CPaintDC*>(nullptr));
    const unsigned before = GdiObjectCount();
    for (int i = 0; i < 1000; ++i) {
        REQUIRE(g.Init(32 + i % 50, 16 + i % 30));
        g.InitGraphics(static_cast<CPaintDC*>(nullptr));
        if (i % 7 == 0) {
            CVorGraphics copy(g);
            copy.Init(5, 5);
        }
    }
    const unsigned after = GdiObjectCount();
    MESSAGE("GDI objects before " << before << ", after " << after);
    CHECK(before > 0);
    CHECK(after == before);
}
