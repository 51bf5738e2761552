// Drawing CVorBitmap pictures: memory, locked, GDI+ and zoom paths; colour key, opacity, clipping at
// every edge, short blocks, extreme coordinates, and the scaling DrawImage overloads.
#include <doctest.h>

#include <climits>
#include <cstring>
#include <utility>

#include "BitmapTestFiles.h"
#include "CVorBitmap.h"

namespace {

Rgb Pattern(int x, int y) { return Rgb{uint8_t(10 + 23 * x), uint8_t(100 + 31 * y), uint8_t(250 - 13 * x - 17 * y)}; }

// Expected colour of a pixel that the draw wrote; false for pixels it must leave alone.
typedef std::function<bool(int x, int y, Bgr* colour)> Expectation;

// Every byte of the back buffer: written pixels as expected, all others (padding included) as before.
void CheckSurface(const CVorGraphics& g, const std::vector<uint8_t>& before, const Expectation& expect) {
    const int stride = g.GetStride();
    const BYTE* p = g.GetPixels();
    int wrong = 0;
    for (int y = 0; y < int(g.GetHeight()); ++y)
        for (int i = 0; i < stride; ++i) {
            const int x = i / 3;
            Bgr colour;
            uint8_t want = before[size_t(y) * stride + i];
            if (x < int(g.GetWidth()) && expect(x, y, &colour)) {
                const uint8_t c[3] = {colour.b, colour.g, colour.r};
                want = c[i % 3];
            }
            if (p[size_t(y) * stride + i] != want && ++wrong <= 5) {
                CAPTURE(x);
                CAPTURE(y);
                CAPTURE(i);
                CHECK(int(p[size_t(y) * stride + i]) == int(want));
            }
        }
    CHECK(wrong == 0);
}

// A memory picture drawn with the clipped result (dstX, dstY, srcX, srcY, w, h): destination row k
// takes memory row srcY + h - 1 - k.
Expectation MemoryWindow(const MemoryPicture& pic, int dstX, int dstY, int srcX, int srcY, int w, int h) {
    return [=, &pic](int x, int y, Bgr* c) {
        if (x < dstX || y < dstY || x >= dstX + w || y >= dstY + h) return false;
        *c = pic.MemoryPixel(srcX + x - dstX, srcY + h - 1 - (y - dstY));
        return true;
    };
}

// A top-row-first picture drawn with the clipped result: destination row k takes picture row srcY + k.
Expectation PictureWindow(const PixelRule& rule, int dstX, int dstY, int srcX, int srcY, int w, int h) {
    return [=](int x, int y, Bgr* c) {
        if (x < dstX || y < dstY || x >= dstX + w || y >= dstY + h) return false;
        *c = ToBgr(rule(srcX + x - dstX, srcY + y - dstY));
        return true;
    };
}

Expectation Nothing() {
    return [](int, int, Bgr*) { return false; };
}

uint8_t BlendRule(uint8_t d, uint8_t s, int a) { return uint8_t(d + (((int(s) - int(d)) * a) >> 8)); }

// A picture file in the given pixel format, loaded as a GDI+ bitmap.
std::string PictureFile(const std::string& name, int bits, int w, int h, const PixelRule& rule) {
    return WriteTempFile(name, BmpFile(w, h, bits, rule));
}

}  // namespace

TEST_CASE("memory path: whole picture upright (bottom row first in memory), padding untouched") {
    MemoryPicture pic(5, 3, Pattern);
    CVorBitmap b(pic.bytes.data(), pic.Size(), pic.info, 0);
    CVorGraphics g;
    MakeSurface(g, 7, 5, 0xCD);  // stride 24: three padding bytes a row
    const std::vector<uint8_t> before = Snapshot(g);
    g.Draw(&b, 1, 1);
    CheckSurface(g, before, PictureWindow(Pattern, 1, 1, 0, 0, 5, 3));
    CheckSurface(g, before, MemoryWindow(pic, 1, 1, 0, 0, 5, 3));
    // DrawImage(bitmap, x, y) is the same operation.
    FillBytes(g, 0xCD);
    g.DrawImage(&b, 1, 1);
    CheckSurface(g, before, PictureWindow(Pattern, 1, 1, 0, 0, 5, 3));
}

TEST_CASE("memory path: four rows m0..m3") {
    const Rgb rows[4] = {{1, 2, 3}, {40, 50, 60}, {70, 80, 90}, {200, 210, 220}};  // m0 first in the block
    MemoryPicture pic(2, 4, [&](int, int y) { return rows[3 - y]; });             // picture row y = m(3-y)
    REQUIRE(pic.MemoryPixel(0, 0) == ToBgr(rows[0]));
    CVorBitmap b(pic.bytes.data(), pic.Size(), pic.info, 0);
    CVorGraphics g;
    MakeSurface(g, 2, 4, 0);
    const std::vector<uint8_t> before = Snapshot(g);
    auto rowsAre = [&](std::vector<int> memoryRows) {
        CheckSurface(g, before, [&](int, int y, Bgr* c) {
            if (y >= int(memoryRows.size())) return false;
            *c = ToBgr(rows[memoryRows[y]]);
            return true;
        });
    };
    SUBCASE("whole at y = 0: m3, m2, m1, m0") {
        g.Draw(&b, 0, 0);
        rowsAre({3, 2, 1, 0});
    }
    SUBCASE("whole at y = -1: m3, m2, m1, row 3 untouched") {
        g.Draw(&b, 0, -1);
        rowsAre({3, 2, 1});
    }
    SUBCASE("rectangle with source y 1, height 2: m2, m1") {
        g.Draw(&b, 0, 0, 0, 1, 2, 2);
        rowsAre({2, 1});
    }
    SUBCASE("cut by the bottom edge at y = 2: m1, m0 in rows 2 and 3") {
        g.Draw(&b, 0, 2);
        CheckSurface(g, before, MemoryWindow(pic, 0, 2, 0, 0, 2, 2));
        CHECK(PixelAt(g, 0, 2) == ToBgr(rows[1]));
        CHECK(PixelAt(g, 1, 3) == ToBgr(rows[0]));
    }
}

// Clipping cases on a 6 x 5 surface for a 4 x 3 picture, with the clipped result worked out by hand.
struct ClipCase {
    const char* name;
    int x, y, srcX, srcY, w, h;          // the call (w = -100: the whole-picture overload)
    int dx, dy, sx, sy, cw, ch;          // the clipped blit (cw = 0: nothing)
};
const ClipCase kClips[] = {
    {"whole, inside", 1, 1, 0, 0, -100, 0, 1, 1, 0, 0, 4, 3},
    {"whole, left edge", -2, 1, 0, 0, -100, 0, 0, 1, 2, 0, 2, 3},
    {"whole, right edge", 4, 0, 0, 0, -100, 0, 4, 0, 0, 0, 2, 3},
    {"whole, top edge", 1, -2, 0, 0, -100, 0, 1, 0, 0, 2, 4, 1},
    {"whole, bottom edge", 0, 3, 0, 0, -100, 0, 0, 3, 0, 0, 4, 2},
    {"whole, all four corners cut", -1, -1, 0, 0, -100, 0, 0, 0, 1, 1, 3, 2},
    {"whole, off the left", -4, 0, 0, 0, -100, 0, 0, 0, 0, 0, 0, 0},
    {"whole, off the right", 6, 0, 0, 0, -100, 0, 0, 0, 0, 0, 0, 0},
    {"whole, off the top", 0, -3, 0, 0, -100, 0, 0, 0, 0, 0, 0, 0},
    {"whole, off the bottom", 0, 5, 0, 0, -100, 0, 0, 0, 0, 0, 0, 0},
    {"rect, window inside", 2, 2, 1, 1, 2, 2, 2, 2, 1, 1, 2, 2},
    {"rect, window larger than the picture", 0, 0, 0, 0, 50, 50, 0, 0, 0, 0, 4, 3},
    {"rect, window past the far edges", 0, 0, 2, 1, 5, 5, 0, 0, 2, 1, 2, 2},
    {"rect, left edge", -1, 0, 1, 0, 3, 2, 0, 0, 2, 0, 2, 2},
    {"rect, right edge", 5, 0, 0, 0, 3, 3, 5, 0, 0, 0, 1, 3},
    {"rect, top edge", 0, -1, 0, 0, 2, 3, 0, 0, 0, 1, 2, 2},
    {"rect, bottom edge", 0, 4, 0, 0, 4, 3, 0, 4, 0, 0, 4, 1},
    {"rect, width -1", 0, 0, 0, 0, -1, 2, 0, 0, 0, 0, 0, 0},
    {"rect, height 0", 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0},
    {"rect, source x -1", 0, 0, -1, 0, 2, 2, 0, 0, 0, 0, 0, 0},
    {"rect, source y -1", 0, 0, 0, -1, 2, 2, 0, 0, 0, 0, 0, 0},
    {"rect, source x past the picture", 0, 0, 4, 0, 2, 2, 0, 0, 0, 0, 0, 0},
    {"rect, source y past the picture", 0, 0, 0, 3, 2, 2, 0, 0, 0, 0, 0, 0},
};

void RunClip(CVorGraphics& g, CVorBitmap& b, const ClipCase& c, int alpha) {
    if (c.w == -100) {
        if (alpha < 0) g.Draw(&b, c.x, c.y);
        else g.Draw(&b, c.x, c.y, (unsigned char)alpha);
    } else {
        if (alpha < 0) g.Draw(&b, c.x, c.y, c.srcX, c.srcY, c.w, c.h);
        else g.Draw(&b, c.x, c.y, c.srcX, c.srcY, c.w, c.h, (unsigned char)alpha);
    }
}

TEST_CASE("memory path: clipping at every edge, opaque, keyed and blended") {
    MemoryPicture pic(4, 3, Pattern);
    for (const ClipCase& c : kClips) {
        for (int mode = 0; mode < 3; ++mode) {
            CAPTURE(c.name);
            CAPTURE(mode);
            CVorBitmap b(pic.bytes.data(), pic.Size(), pic.info, 0);
            const Rgb key = Pattern(1, 1);  // picture (1, 1) is keyed out in mode 1
            if (mode == 1) b.SetColorKey(key.r, key.g, key.b);
            CVorGraphics g;
            MakeSurface(g, 6, 5, 0x80);
            const std::vector<uint8_t> before = Snapshot(g);
            RunClip(g, b, c, mode == 2 ? 90 : -1);
            if (c.cw == 0) {
                CheckSurface(g, before, Nothing());
                continue;
            }
            const Expectation window = MemoryWindow(pic, c.dx, c.dy, c.sx, c.sy, c.cw, c.ch);
            CheckSurface(g, before, [&](int x, int y, Bgr* out) {
                if (!window(x, y, out)) return false;
                if (mode == 1 && *out == ToBgr(key)) return false;
                if (mode == 2) *out = Bgr{BlendRule(0x80, out->b, 90), BlendRule(0x80, out->g, 90), BlendRule(0x80, out->r, 90)};
                return true;
            });
        }
    }
}

TEST_CASE("locked path: clipping at every edge for keyed and blended GDI+ bitmaps") {
    EnsureGdiplus();
    const std::string path = PictureFile("clip24.bmp", 24, 4, 3, Pattern);
    for (const ClipCase& c : kClips) {
        for (int mode = 1; mode < 4; ++mode) {
            CAPTURE(c.name);
            CAPTURE(mode);
            CVorBitmap b(Wide(path).c_str());
            const Rgb key = Pattern(2, 1);
            if (mode != 2) b.SetColorKey(key.r, key.g, key.b);  // modes 1, 3 keyed; 2 and 3 blended
            CVorGraphics g;
            MakeSurface(g, 6, 5, 0x80);
            const std::vector<uint8_t> before = Snapshot(g);
            RunClip(g, b, c, mode >= 2 ? 200 : -1);
            if (c.cw == 0) {
                CheckSurface(g, before, Nothing());
                continue;
            }
            const Expectation window = PictureWindow(Pattern, c.dx, c.dy, c.sx, c.sy, c.cw, c.ch);
            CheckSurface(g, before, [&](int x, int y, Bgr* out) {
                if (!window(x, y, out)) return false;
                if (mode != 2 && *out == ToBgr(key)) return false;
                if (mode >= 2)
                    *out = Bgr{BlendRule(0x80, out->b, 200), BlendRule(0x80, out->g, 200), BlendRule(0x80, out->r, 200)};
                return true;
            });
        }
    }
}

TEST_CASE("GDI+ path: unkeyed GDI+ bitmaps land pixel for pixel, clipped") {
    EnsureGdiplus();
    const std::string path = PictureFile("gdip24.bmp", 24, 8, 3, Pattern);
    CVorBitmap b(Wide(path).c_str());
    CVorGraphics g;
    MakeSurface(g, 6, 5, 0x21);
    const std::vector<uint8_t> before = Snapshot(g);
    SUBCASE("whole at x = -5: columns 5 onwards from column 0") {
        g.Draw(&b, -5, 1);
        CheckSurface(g, before, PictureWindow(Pattern, 0, 1, 5, 0, 3, 3));
    }
    SUBCASE("rectangle, cut by the right and bottom edges") {
        g.Draw(&b, 3, 3, 1, 0, 5, 3);
        CheckSurface(g, before, PictureWindow(Pattern, 3, 3, 1, 0, 3, 2));
    }
    SUBCASE("rectangle with width -1 or source x -1 draws nothing") {
        g.Draw(&b, 0, 0, 0, 0, -1, 2);
        g.Draw(&b, 0, 0, -1, 0, 2, 2);
        CheckSurface(g, before, Nothing());
    }
    SUBCASE("opacity 255 is the opaque overload, opacity 0 draws nothing") {
        g.Draw(&b, 1, 1, 0);
        g.Draw(&b, 1, 1, 0, 0, 3, 3, 0);
        CheckSurface(g, before, Nothing());
        g.Draw(&b, 1, 1, 255);
        CheckSurface(g, before, PictureWindow(Pattern, 1, 1, 0, 0, 5, 3));
    }
}

TEST_CASE("colour key: only the exact key colour is left out, on every path") {
    EnsureGdiplus();
    // Key red 255, green 0, blue 255; the neighbours differ in one byte each.
    const Rgb colours[4] = {{255, 0, 255}, {254, 0, 255}, {255, 1, 255}, {255, 0, 254}};
    auto rule = [&](int x, int) { return colours[x]; };
    MemoryPicture pic(4, 1, rule);
    const std::string path = PictureFile("key.bmp", 24, 4, 1, rule);
    for (int kind = 0; kind < 2; ++kind) {
        CAPTURE(kind);
        CVorBitmap b;
        if (kind == 0) b.Init(pic.bytes.data(), pic.Size(), pic.info, 255, 0, 255);
        else b.Init(Wide(path).c_str(), 255, 0, 255);
        CVorGraphics g;
        MakeSurface(g, 4, 3, 0x10);
        const std::vector<uint8_t> before = Snapshot(g);
        g.Draw(&b, 0, 0);
        g.Draw(&b, 0, 1, 0, 0, 4, 1);
        g.Draw(&b, 0, 2, 128);
        CheckSurface(g, before, [&](int x, int y, Bgr* c) {
            if (x == 0) return false;
            *c = ToBgr(colours[x]);
            if (y == 2) *c = Bgr{BlendRule(0x10, c->b, 128), BlendRule(0x10, c->g, 128), BlendRule(0x10, c->r, 128)};
            return true;
        });
    }
}

TEST_CASE("opacity: d + ((s - d) * a >> 8), 0 draws nothing, 255 equals the opaque draw") {
    MemoryPicture pic(4, 1, [](int x, int) {
        const uint8_t s[4] = {100, 200, 255, 0};
        return Rgb{s[x], s[x], s[x]};
    });
    CVorBitmap b(pic.bytes.data(), pic.Size(), pic.info, 0);
    CVorGraphics g;
    MakeSurface(g, 4, 1, 0);
    const uint8_t d[4] = {200, 100, 0, 255};
    auto reset = [&] {
        for (int x = 0; x < 4; ++x) std::memset(g.GetPixels() + 3 * x, d[x], 3);
    };
    reset();
    g.Draw(&b, 0, 0, 128);
    CHECK(PixelAt(g, 0, 0).b == 150);  // 200 + (-100 * 128 >> 8)
    CHECK(PixelAt(g, 1, 0).g == 150);  // 100 + (100 * 128 >> 8)
    CHECK(PixelAt(g, 2, 0).r == 127);  // 0 + (255 * 128 >> 8)
    CHECK(PixelAt(g, 3, 0).b == 127);  // 255 + (-255 * 128 >> 8) = 255 - 128
    reset();
    g.Draw(&b, 0, 0, 1);
    CHECK(PixelAt(g, 2, 0).r == 0);    // 255 >> 8 = 0
    CHECK(PixelAt(g, 3, 0).r == 254);  // -255 >> 8 = -1: the arithmetic shift rounds down
    reset();
    const std::vector<uint8_t> start = Snapshot(g);
    g.Draw(&b, 0, 0, 0);
    g.Draw(&b, 0, 0, 0, 0, 4, 1, 0);
    CHECK(Snapshot(g) == start);
    g.Draw(&b, 0, 0, 255);
    const std::vector<uint8_t> viaOpacity = Snapshot(g);
    reset();
    g.Draw(&b, 0, 0);
    CHECK(Snapshot(g) == viaOpacity);
    for (int x = 0; x < 4; ++x) CHECK(PixelAt(g, x, 0) == pic.MemoryPixel(x, 0));
}

TEST_CASE("locked path: 8-bit, 24-bit and 32-bit GDI+ bitmaps give the right colours") {
    EnsureGdiplus();
    const std::vector<Rgb> palette = {{200, 10, 10}, {10, 200, 10}, {10, 10, 200}, {77, 88, 99}};
    auto index = [](int x, int y) { return (x + y) % 4; };
    auto paletteRule = [&](int x, int y) { return palette[index(x, y)]; };
    struct Kind {
        const char* name;
        std::string path;
        PixelRule rule;
    };
    const std::string png = WriteTempFile("locked32.png", {});
    REQUIRE(SaveWithGdiplus(Wide(png), L"image/png", 5, 3, PixelFormat32bppARGB, [](int x, int y) {
        const Rgb c = Pattern(x, y);
        return Gdiplus::Color(255, c.r, c.g, c.b);
    }));
    const Kind kinds[] = {
        {"8-bit", WriteTempFile("locked8.bmp", Bmp8File(5, 3, palette, index)), paletteRule},
        {"24-bit", PictureFile("locked24.bmp", 24, 5, 3, Pattern), Pattern},
        {"32-bit", PictureFile("locked32.bmp", 32, 5, 3, Pattern), Pattern},
        {"32-bit PNG", png, Pattern},
    };
    for (const Kind& k : kinds) {
        CAPTURE(k.name);
        CVorBitmap b(Wide(k.path).c_str());
        REQUIRE(b.GetBitmap() != nullptr);
        CVorGraphics g;
        MakeSurface(g, 6, 4, 0x40);
        const std::vector<uint8_t> before = Snapshot(g);
        g.Draw(&b, 0, 0, 1, 1, 4, 2, 160);  // unkeyed blend: locked path
        CheckSurface(g, before, [&](int x, int y, Bgr* c) {
            if (x >= 4 || y >= 2) return false;
            const Bgr s = ToBgr(k.rule(1 + x, 1 + y));
            *c = Bgr{BlendRule(0x40, s.b, 160), BlendRule(0x40, s.g, 160), BlendRule(0x40, s.r, 160)};
            return true;
        });
        FillBytes(g, 0x40);
        b.SetColorKey(0, 0, 1);
        g.Draw(&b, 1, 1);  // keyed copy: locked path
        CheckSurface(g, before, PictureWindow(k.rule, 1, 1, 0, 0, 5, 3));
    }
}

TEST_CASE("short memory blocks are never read past their end: nothing is drawn") {
    MemoryPicture pic(3, 2, Pattern);  // needs 18 bytes
    std::vector<uint8_t> shortBlock(pic.bytes.begin(), pic.bytes.end() - 1);
    for (int zoom = 0; zoom < 2; ++zoom) {
        CAPTURE(zoom);
        CVorBitmap b(shortBlock.data(), int(shortBlock.size()), pic.info, zoom);
        REQUIRE(b.GetMemBitmap() != nullptr);
        CVorGraphics g;
        MakeSurface(g, 8, 8, 0x66);
        const std::vector<uint8_t> before = Snapshot(g);
        g.Draw(&b, 0, 0);
        g.Draw(&b, 0, 0, 100);
        g.Draw(&b, 0, 0, 0, 0, 3, 2);
        g.Draw(&b, 0, 0, 0, 0, 6, 4);
        g.Draw(&b, 0, 0, 0, 0, 3, 2, 100);
        b.SetColorKey(1, 1, 1);
        g.Draw(&b, 0, 0);
        CHECK(Snapshot(g) == before);
        // An empty block and a negative height draw nothing either.
        b.Init(pic.bytes.data(), 0, pic.info, zoom);
        g.Draw(&b, 0, 0);
        g.Draw(&b, 0, 0, 0, 0, 6, 4);
        BITMAPINFO flipped = pic.info;
        flipped.bmiHeader.biHeight = -2;
        b.Init(pic.bytes.data(), pic.Size(), flipped, zoom);
        g.Draw(&b, 0, 0);
        g.Draw(&b, 0, 0, 0, 0, 6, 4);
        g.Draw(&b, 0, 0, 50);
        CHECK(Snapshot(g) == before);
        // The exact size is enough.
        b.Init(pic.bytes.data(), pic.Size(), pic.info, 0);
        g.Draw(&b, 0, 0);
        CheckSurface(g, before, PictureWindow(Pattern, 0, 0, 0, 0, 3, 2));
    }
}

TEST_CASE("zoom path: memory images stretched by GDI, unpadded rows, bottom row first") {
    EnsureGdiplus();
    for (int width : {3, 4, 5}) {  // 9 and 15 bytes a row are not a multiple of 4
        CAPTURE(width);
        MemoryPicture pic(width, 3, Pattern);
        CVorBitmap zoomed(pic.bytes.data(), pic.Size(), pic.info, 1);
        CVorBitmap plain(pic.bytes.data(), pic.Size(), pic.info, 0);
        CVorGraphics g;
        MakeSurface(g, 16, 10, 0x99);
        const std::vector<uint8_t> before = Snapshot(g);

        // At its own size the zoom path draws what the memory path draws.
        g.Draw(&zoomed, 2, 1, 0, 0, width, 3);
        const std::vector<uint8_t> viaZoom = Snapshot(g);
        FillBytes(g, 0x99);
        g.Draw(&plain, 2, 1, 0, 0, width, 3);
        CHECK(Snapshot(g) == viaZoom);
        CheckSurface(g, before, PictureWindow(Pattern, 2, 1, 0, 0, width, 3));

        // Twice the size: the whole picture covers the destination, each pixel a 2 x 2 block.
        FillBytes(g, 0x99);
        g.Draw(&zoomed, 1, 2, 0, 0, 2 * width, 6);
        CheckSurface(g, before, [&](int x, int y, Bgr* c) {
            if (x < 1 || y < 2 || x >= 1 + 2 * width || y >= 8) return false;
            *c = ToBgr(Pattern((x - 1) / 2, (y - 2) / 2));
            return true;
        });

        // The colour key does not apply to the zoom path.
        const Rgb key = Pattern(0, 0);
        zoomed.SetColorKey(key.r, key.g, key.b);
        FillBytes(g, 0x99);
        g.Draw(&zoomed, 0, 0, 0, 0, width, 3);
        CHECK(PixelAt(g, 0, 0) == ToBgr(key));

        // Through the opacity overload it is blended at its own size.
        FillBytes(g, 0x99);
        CVorBitmap unkeyed(pic.bytes.data(), pic.Size(), pic.info, 1);
        g.Draw(&unkeyed, 1, 1, 0, 0, 4 * width, 12, 200);
        CheckSurface(g, before, [&](int x, int y, Bgr* c) {
            if (x < 1 || y < 1 || x >= 1 + width || y >= 4) return false;
            const Bgr s = ToBgr(Pattern(x - 1, y - 1));
            *c = Bgr{BlendRule(0x99, s.b, 200), BlendRule(0x99, s.g, 200), BlendRule(0x99, s.r, 200)};
            return true;
        });
    }
}

TEST_CASE("zoom path: bad source windows and far-away destinations draw nothing") {
    EnsureGdiplus();
    MemoryPicture pic(3, 3, Pattern);
    CVorBitmap b(pic.bytes.data(), pic.Size(), pic.info, 1);
    CVorGraphics g;
    MakeSurface(g, 8, 8, 0x42);
    const std::vector<uint8_t> before = Snapshot(g);
    g.Draw(&b, 0, 0, -1, 0, 6, 6);
    g.Draw(&b, 0, 0, 0, -1, 6, 6);
    g.Draw(&b, 0, 0, 3, 0, 6, 6);
    g.Draw(&b, 0, 0, 0, 3, 6, 6);
    g.Draw(&b, 0, 0, INT_MIN, INT_MAX, 6, 6);
    g.Draw(&b, 0, 0, 0, 0, 0, 6);
    g.Draw(&b, 8, 0, 0, 0, 6, 6);
    g.Draw(&b, -6, 0, 0, 0, 6, 6);
    g.Draw(&b, 0, -6, 0, 0, 6, 6);
    g.Draw(&b, INT_MAX, INT_MAX, 0, 0, INT_MAX, INT_MAX);
    g.Draw(&b, INT_MIN, INT_MIN, 0, 0, INT_MAX, INT_MAX);
    g.Draw(&b, INT_MIN, 0, 0, 0, -5, 6);
    g.Draw(&b, INT_MAX, 0, 0, 0, 5, 6);
    CHECK(Snapshot(g) == before);
    // A huge destination that covers the surface is drawn and clipped by GDI.
    g.Draw(&b, -1000000, -1000000, 0, 0, 3000000, 3000000);
    const std::vector<uint8_t> after = Snapshot(g);
    REQUIRE(after.size() == before.size());
    CHECK(PixelAt(g, 0, 0) == ToBgr(Pattern(1, 1)));
    // Padding bytes stay as they were.
    for (int y = 0; y < 8; ++y)
        for (int i = 24; i < g.GetStride(); ++i) CHECK(after[size_t(y) * g.GetStride() + i] == 0x42);
}

TEST_CASE("extreme positions and sizes: nothing outside the surface, no overflow") {
    EnsureGdiplus();
    MemoryPicture pic(4, 3, Pattern);
    const std::string path = PictureFile("extreme.bmp", 24, 4, 3, Pattern);
    const int values[] = {INT_MIN, INT_MIN + 1, -1000000000, 1000000000, INT_MAX - 1, INT_MAX};
    for (int kind = 0; kind < 4; ++kind) {
        CAPTURE(kind);
        CVorBitmap b;
        if (kind < 2) b.Init(pic.bytes.data(), pic.Size(), pic.info, 0);
        else b.Init(Wide(path).c_str());
        if (kind % 2) b.SetColorKey(1, 2, 3);
        CVorGraphics g;
        MakeSurface(g, 5, 4, 0x31);
        const std::vector<uint8_t> before = Snapshot(g);
        for (int x : values)
            for (int y : values) {
                g.Draw(&b, x, y);
                g.Draw(&b, x, y, 100);
                g.DrawImage(&b, x, y, 4, 3);
                for (int s : values) {
                    g.Draw(&b, x, y, s, 0, INT_MAX, INT_MAX);
                    g.Draw(&b, x, y, 0, s, INT_MAX, 3, 128);
                    g.Draw(&b, 0, 0, x, y, s, s);
                    g.Draw(&b, 0, 0, x, y, s, s, 77);
                }
            }
        CHECK(Snapshot(g) == before);
        // Scaled rectangles reaching across the 32-bit range: GDI+ may draw what meets the surface,
        // but never outside it (the row padding stays).
        for (int x : values)
            for (int y : values)
                for (int s : values) g.DrawImage(&b, x, y, s, s);
        const std::vector<uint8_t> scaled = Snapshot(g);
        for (int row = 0; row < 4; ++row)
            for (int i = 15; i < g.GetStride(); ++i) CHECK(scaled[size_t(row) * g.GetStride() + i] == 0x31);
        FillBytes(g, 0x31);
        // A window clipped from the far side of the 32-bit range still lands right.
        g.Draw(&b, -3, -2, 0, 0, INT_MAX, INT_MAX);
        CheckSurface(g, before,
                     kind < 2 ? MemoryWindow(pic, 0, 0, 3, 2, 1, 1) : PictureWindow(Pattern, 0, 0, 3, 2, 1, 1));
    }
}

TEST_CASE("surfaces without pixels draw nothing and do not crash") {
    EnsureGdiplus();
    MemoryPicture pic(2, 2, Pattern);
    const std::string path = PictureFile("nosurface.bmp", 24, 2, 2, Pattern);
    CVorBitmap m(pic.bytes.data(), pic.Size(), pic.info, 0);
    CVorBitmap z(pic.bytes.data(), pic.Size(), pic.info, 1);
    CVorBitmap f(Wide(path).c_str());
    CVorBitmap k(Wide(path).c_str(), 1, 2, 3);
    CVorGraphics never;  // no Init at all
    CVorGraphics empty;
    empty.Init(0, 0);
    empty.InitGraphics(static_cast<CPaintDC*>(nullptr));
    for (CVorGraphics* g : {&never, &empty})
        for (CVorBitmap* b : {&m, &z, &f, &k}) {
            g->Draw(b, 0, 0);
            g->Draw(b, 0, 0, 100);
            g->Draw(b, 0, 0, 0, 0, 2, 2);
            g->Draw(b, 0, 0, 0, 0, 4, 4);
            g->Draw(b, 0, 0, 0, 0, 2, 2, 100);
            g->DrawImage(b, 0, 0, 4, 4);
            g->DrawImage(b, Gdiplus::Rect(0, 0, 4, 4));
            g->DrawImage(b, Gdiplus::RectF(0, 0, 4, 4), Gdiplus::RectF(0, 0, 2, 2));
            CHECK(g->GetPixels() == nullptr);
        }
}

TEST_CASE("DrawImage with a rectangle lets GDI+ clip: a DC without a back buffer, or larger than it") {
    EnsureGdiplus();
    const Rgb solid{30, 160, 90};
    CVorBitmap b(Wide(PictureFile("dc_solid.bmp", 24, 6, 6, [&](int, int) { return solid; })).c_str());
    REQUIRE(b.GetWidth() == 6);
    // Drawn at its own size, a solid picture is the solid colour away from its edges, whatever the
    // filter does there; nothing outside the destination rectangle changes.
    auto inside = [](int x, int y, int rx, int ry, int rw, int rh) { return x >= rx && y >= ry && x < rx + rw && y < ry + rh; };

    SUBCASE("a memory DC: CVorGraphics(hdc) without Init, and a back buffer smaller than the DC") {
        const int W = 24, H = 16;
        BITMAPINFO info;
        imagefile::SetInfo24(&info, W, -H);  // top-down
        void* bits = nullptr;
        HDC dc = ::CreateCompatibleDC(nullptr);
        HBITMAP dib = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        REQUIRE(dib != nullptr);
        HGDIOBJ old = ::SelectObject(dc, dib);
        const int stride = (3 * W + 3) & ~3;
        auto pixel = [&](int x, int y) {
            const uint8_t* p = static_cast<const uint8_t*>(bits) + y * stride + 3 * x;
            return Bgr{p[0], p[1], p[2]};
        };
        std::memset(bits, 0x44, size_t(stride) * H);
        {
            CVorGraphics g = dc;  // no Init: the surface has no pixels
            REQUIRE(g.GetGraphics() != nullptr);
            g.DrawImage(&b, 10, 6, 6, 6);
            g.DrawImage(&b, Gdiplus::Rect(-3, -3, 6, 6));  // cut by the DC's edge
        }
        ::GdiFlush();
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                CAPTURE(x);
                CAPTURE(y);
                if (inside(x, y, 11, 7, 4, 4) || inside(x, y, 0, 0, 2, 2)) CHECK(pixel(x, y) == ToBgr(solid));
                if (!inside(x, y, 10, 6, 6, 6) && !inside(x, y, 0, 0, 3, 3)) CHECK(pixel(x, y) == (Bgr{0x44, 0x44, 0x44}));
            }
        // A 4 x 4 back buffer bound to the same DC: the area beyond the back buffer is drawn too.
        std::memset(bits, 0x44, size_t(stride) * H);
        {
            CVorGraphics g;
            MakeSurface(g, 4, 4, 0x00);
            g.InitGraphics(dc);
            g.DrawImage(&b, Gdiplus::RectF(12, 4, 6, 6), Gdiplus::RectF(0, 0, 6, 6));
        }
        ::GdiFlush();
        CHECK(pixel(14, 7) == ToBgr(solid));
        CHECK(pixel(13, 5) == ToBgr(solid));
        CHECK(pixel(11, 4) == (Bgr{0x44, 0x44, 0x44}));
        CHECK(pixel(14, 11) == (Bgr{0x44, 0x44, 0x44}));
        ::SelectObject(dc, old);
        ::DeleteObject(dib);
        ::DeleteDC(dc);
    }
    SUBCASE("a real window's DC") {
        TestWindow window(40, 30, "DrawImage on a window");
        window.Pump();
        HDC dc = ::GetDC(window.Handle());
        REQUIRE(dc != nullptr);
        {
            CVorGraphics g(dc);
            g.DrawImage(&b, 20, 10, 6, 6);
        }
        ::GdiFlush();
        ::ReleaseDC(window.Handle(), dc);
        for (const auto& p : {std::make_pair(21, 11), std::make_pair(22, 13), std::make_pair(24, 14)}) {
            CAPTURE(p.first);
            CAPTURE(p.second);
            CHECK(window.ClientPixel(p.first, p.second) == ToBgr(solid));
        }
        CHECK(window.ClientPixel(5, 5) != ToBgr(solid));
    }
}

TEST_CASE("DrawImage with a rectangle: GDI+ scales the whole picture into it") {
    EnsureGdiplus();
    const Rgb solid{30, 160, 90};
    const Rgb key{255, 0, 255};
    const Rgb other{250, 250, 0};
    const std::string solidPath = PictureFile("scale_solid.bmp", 24, 4, 3, [&](int, int) { return solid; });
    // Left half the key colour, right half solid.
    auto halves = [&](int x, int) { return x < 4 ? key : solid; };
    const std::string halvesPath = PictureFile("scale_halves.bmp", 24, 8, 3, halves);
    // Two columns of another colour, then solid.
    const std::string windowPath =
        PictureFile("scale_window.bmp", 24, 12, 3, [&](int x, int) { return x < 2 ? other : solid; });
    CVorGraphics g;
    MakeSurface(g, 19, 16, 0x55);  // stride 60: three padding bytes a row
    const std::vector<uint8_t> before = Snapshot(g);
    const Bgr untouched{0x55, 0x55, 0x55};

    // Robust checks for filtered scaling: nothing outside the destination rectangle changes (row
    // padding included); pixels far enough (margin) from its edges and seams are exactly the picture
    // (kind 1: solid, kind 2: untouched by a keyed area); with blendOnly every pixel inside lies
    // between the old background and the solid colour.
    auto checkScaled = [&](int rx, int ry, int rw, int rh, int mx, int my, bool blendOnly,
                           const std::function<int(int, int)>& kind) {
        const std::vector<uint8_t> now = Snapshot(g);
        int changedOutside = 0, wrongCore = 0, notBetween = 0, coreCount = 0;
        auto between = [](uint8_t v, uint8_t a, uint8_t b) { return v >= std::min(a, b) && v <= std::max(a, b); };
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 19; ++x) {
                const Bgr p = PixelAt(g, x, y);
                const bool inRect = x >= rx && y >= ry && x < rx + rw && y < ry + rh;
                if (!inRect) {
                    changedOutside += p != untouched;
                    continue;
                }
                if (blendOnly)
                    notBetween += !(between(p.b, 0x55, solid.b) && between(p.g, 0x55, solid.g) &&
                                    between(p.r, 0x55, solid.r));
                const bool core = x >= rx + mx && y >= ry + my && x < rx + rw - mx && y < ry + rh - my;
                const int k = core ? kind(x, y) : 0;
                if (k == 0) continue;
                ++coreCount;
                wrongCore += p != (k == 1 ? ToBgr(solid) : untouched);
            }
        CHECK(changedOutside == 0);
        CHECK(wrongCore == 0);
        CHECK(notBetween == 0);
        CHECK(coreCount >= 8);
        for (int y = 0; y < 16; ++y)
            for (int i = 57; i < g.GetStride(); ++i) CHECK(now[size_t(y) * g.GetStride() + i] == 0x55);
    };

    SUBCASE("unkeyed, (x, y, width, height) and Gdiplus::Rect") {
        CVorBitmap b(Wide(solidPath).c_str());
        g.DrawImage(&b, 2, 3, 12, 9);  // 3x
        checkScaled(2, 3, 12, 9, 3, 3, true, [](int, int) { return 1; });
        FillBytes(g, 0x55);
        g.DrawImage(&b, Gdiplus::Rect(5, 1, 8, 14));  // 2x, 4.67x
        checkScaled(5, 1, 8, 14, 2, 5, true, [](int, int) { return 1; });
    }
    SUBCASE("keyed: the key colour stays transparent when scaled") {
        CVorBitmap b(Wide(halvesPath).c_str(), key.r, key.g, key.b);
        g.DrawImage(&b, 2, 2, 16, 12);  // 2x, 4x: the key half covers columns 2..9
        checkScaled(2, 2, 16, 12, 0, 4, true, [](int x, int) {
            if (x < 8) return 2;
            if (x >= 12 && x < 16) return 1;
            return 0;  // the seam and the right edge may be mixed
        });
    }
    SUBCASE("RectF source window scaled into the destination") {
        CVorBitmap b(Wide(windowPath).c_str());
        g.DrawImage(&b, Gdiplus::RectF(2, 4, 15, 6), Gdiplus::RectF(2, 0, 10, 3));  // 1.5x, 2x
        checkScaled(2, 4, 15, 6, 2, 2, false, [](int, int) { return 1; });
    }
    SUBCASE("a memory image has no GDI+ bitmap: GDI+ refuses and records it") {
        MemoryPicture pic(8, 3, halves);
        CVorBitmap b(pic.bytes.data(), pic.Size(), pic.info, 0);
        g.GetGraphics()->GetLastStatus();
        g.DrawImage(&b, 0, 0, 8, 8);
        CHECK(g.GetGraphics()->GetLastStatus() == Gdiplus::InvalidParameter);
        b.SetColorKey(key.r, key.g, key.b);
        g.DrawImage(&b, Gdiplus::Rect(0, 0, 8, 8));
        CHECK(g.GetGraphics()->GetLastStatus() == Gdiplus::InvalidParameter);
        CHECK(Snapshot(g) == before);
    }
    SUBCASE("rectangles off the surface or beyond 32 bits draw nothing") {
        CVorBitmap b(Wide(solidPath).c_str(), key.r, key.g, key.b);
        g.DrawImage(&b, -12, 0, 12, 9);
        g.DrawImage(&b, 19, 0, 12, 9);
        g.DrawImage(&b, 0, 16, 12, 9);
        g.DrawImage(&b, 0, 0, 0, 9);
        g.DrawImage(&b, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
        g.DrawImage(&b, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        g.DrawImage(&b, Gdiplus::RectF(1e30f, 0, 5, 5), Gdiplus::RectF(0, 0, 4, 3));
        g.DrawImage(&b, Gdiplus::RectF(0, 0, 5, 5), Gdiplus::RectF(0, 0, 1e38f * 10, 3));
        CHECK(Snapshot(g) == before);
    }
}
