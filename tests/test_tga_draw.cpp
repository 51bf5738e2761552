// Drawing TGA pictures into the back buffer: the blend rule for every alpha, opacity, clipping at
// every edge (row padding untouched), source rectangles and extreme arguments. Every check
// compares the whole back buffer, padding included, with an independently computed one.
#include <doctest.h>

#include <climits>
#include <cstring>

#include "TestSupport.h"
#include "tga/TgaTestKit.h"

using namespace tgakit;

namespace {
const uint8_t kSentinel = 0xA5;

// A picture made from pixels given top row first (loaded through the file reader).
struct Picture {
    CVorTga tga;
    std::vector<uint32_t> words;
    uint32_t width = 0, height = 0;
    Picture(unsigned w, unsigned h, const std::vector<Bgra>& pixels) : width(w), height(h) {
        const std::vector<uint8_t> file = MakeTga(w, h, pixels);
        REQUIRE(tga.InitFromMemory(file.data(), file.size()));
        words = ExpectedWords(pixels, 32);
    }
};

std::vector<Bgra> Pattern(unsigned w, unsigned h, uint32_t seed) {
    std::vector<Bgra> p(size_t(w) * h);
    for (Bgra& px : p) px = RandomPixel(seed);
    return p;
}

// Fills the back buffer with the sentinel (padding too), then a pattern in the pixels.
void Prepare(CVorGraphics& g, uint32_t seed) {
    FillBytes(g, kSentinel);
    for (int y = 0; y < int(g.GetHeight()); ++y)
        for (int x = 0; x < int(g.GetWidth()); ++x) {
            BYTE* p = g.GetPixels() + y * g.GetStride() + 3 * x;
            const Bgra c = RandomPixel(seed);
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
        }
}

// Runs one request through the matching overload and compares every back-buffer byte.
void DrawAndCompare(CVorGraphics& g, Picture& pic, const DrawRequest& q) {
    std::vector<uint8_t> expected = Snapshot(g);
    ExpectedDraw(expected, int(g.GetWidth()), int(g.GetHeight()), g.GetStride(), pic.words, pic.width, pic.height, q);
    if (q.whole)
        g.Draw(&pic.tga, q.x, q.y);
    else if (q.opacity < 0)
        g.Draw(&pic.tga, q.x, q.y, q.srcX, q.srcY, q.width, q.height);
    else
        g.Draw(&pic.tga, q.x, q.y, q.srcX, q.srcY, q.width, q.height, (unsigned char)q.opacity);
    const std::vector<uint8_t> actual = Snapshot(g);
    REQUIRE(actual.size() == expected.size());
    size_t firstDiff = actual.size();
    for (size_t i = 0; i < actual.size() && firstDiff == actual.size(); ++i)
        if (actual[i] != expected[i]) firstDiff = i;
    CAPTURE(firstDiff);
    CHECK(actual == expected);
}

DrawRequest Whole(int x, int y) {
    DrawRequest q;
    q.whole = true;
    q.x = x;
    q.y = y;
    return q;
}

DrawRequest Part(int x, int y, int srcX, int srcY, int w, int h, int opacity = -1) {
    DrawRequest q;
    q.x = x;
    q.y = y;
    q.srcX = srcX;
    q.srcY = srcY;
    q.width = w;
    q.height = h;
    q.opacity = opacity;
    return q;
}

Bgr DrawOnePixel(Bgra source, Bgr dest, int opacity = -1) {
    Picture pic(1, 1, {source});
    CVorGraphics g;
    REQUIRE(g.Init(1, 1));
    FillBytes(g, kSentinel);
    BYTE* p = g.GetPixels();
    p[0] = dest.b;
    p[1] = dest.g;
    p[2] = dest.r;
    if (opacity < 0)
        g.Draw(&pic.tga, 0, 0);
    else
        g.Draw(&pic.tga, 0, 0, 0, 0, 1, 1, (unsigned char)opacity);
    CHECK(p[3] == kSentinel);  // padding of the one-pixel row
    return PixelAt(g, 0, 0);
}
}  // namespace

TEST_CASE("the blend rule's worked examples") {
    EnsureGdiplus();
    CHECK(DrawOnePixel(Bgra{200, 100, 0, 128}, Bgr{100, 200, 255}) == Bgr{150, 150, 127});
    CHECK(DrawOnePixel(Bgra{0, 255, 0, 1}, Bgr{255, 0, 0}) == Bgr{254, 0, 0});
    CHECK(DrawOnePixel(Bgra{255, 0, 9, 254}, Bgr{0, 0, 9}) == Bgr{253, 0, 9});
    CHECK(DrawOnePixel(Bgra{1, 2, 3, 255}, Bgr{200, 200, 200}) == Bgr{1, 2, 3});
    CHECK(DrawOnePixel(Bgra{1, 2, 3, 0}, Bgr{200, 201, 202}) == Bgr{200, 201, 202});
}

TEST_CASE("opacity scales alpha") {
    EnsureGdiplus();
    // A = 255 with opacity 128 blends with a = 127: 0 + (255 * 127 >> 8) = 126, 255 + floor(-126.5) = 128
    CHECK(DrawOnePixel(Bgra{255, 0, 128, 255}, Bgr{0, 255, 128}, 128) == Bgr{126, 128, 128});
    CHECK(DrawOnePixel(Bgra{1, 2, 3, 255}, Bgr{200, 200, 200}, 255) == Bgr{1, 2, 3});
    CHECK(DrawOnePixel(Bgra{1, 2, 3, 255}, Bgr{200, 201, 202}, 0) == Bgr{200, 201, 202});
    for (int opacity : {0, 1, 128, 254, 255}) CHECK(DrawOnePixel(Bgra{9, 9, 9, 0}, Bgr{7, 8, 9}, opacity) == Bgr{7, 8, 9});
    // A = 254 with opacity 254: a = 252; 255 + floor(-255 * 252 / 256) = 3
    CHECK(DrawOnePixel(Bgra{0, 0, 0, 254}, Bgr{255, 255, 255}, 254) == Bgr{3, 3, 3});
}

TEST_CASE("every alpha 0..255 over many destinations, with every overload") {
    EnsureGdiplus();
    std::vector<Bgra> pixels;
    for (unsigned row = 0; row < 4; ++row)
        for (unsigned a = 0; a < 256; ++a)
            pixels.push_back(Bgra{uint8_t(a * 3 + row * 60), uint8_t(255 - a), uint8_t(row * 85), uint8_t(a)});
    Picture pic(256, 4, pixels);
    CVorGraphics g;
    REQUIRE(g.Init(257, 5));  // stride 772: one padding byte a row
    for (uint32_t seed : {1u, 2u, 3u}) {
        CAPTURE(seed);
        Prepare(g, seed);
        DrawAndCompare(g, pic, Whole(0, 0));
        Prepare(g, seed);
        DrawAndCompare(g, pic, Whole(1, 1));
        for (int opacity : {-1, 0, 1, 2, 64, 127, 128, 200, 254, 255}) {
            CAPTURE(opacity);
            Prepare(g, seed + 10);
            DrawAndCompare(g, pic, Part(1, 0, 0, 0, 256, 4, opacity));
        }
    }
    // and against the rule written out, for a black and a white destination
    for (uint8_t d : {uint8_t(0), uint8_t(255)}) {
        FillBytes(g, d);
        g.Draw(&pic.tga, 0, 0);
        for (unsigned a = 0; a < 256; ++a) {
            const Bgra s = pixels[a];
            const int expected = a == 255 ? s.b : a == 0 ? d : d + (((int(s.b) - d) * int(a)) >> 8);
            CAPTURE(a);
            CHECK(PixelAt(g, int(a), 0).b == expected);
        }
    }
}

TEST_CASE("clipping at each edge leaves everything else, padding included, untouched") {
    EnsureGdiplus();
    Picture pic(10, 10, Pattern(10, 10, 42));
    CVorGraphics g;
    REQUIRE(g.Init(23, 17));  // 69 bytes of pixels, stride 72
    REQUIRE(g.GetStride() == 72);
    const int positions[][2] = {{-3, 4},  {4, -3},   {17, 4},   {4, 11},   {-3, -3}, {17, 11}, {-9, 0},
                                {22, 16}, {-10, 0},  {0, -10},  {23, 0},   {0, 17},  {6, 3},   {-20, -20},
                                {13, 7},  {-3, 11},  {17, -3},  {0, 0}};
    for (const auto& pos : positions) {
        CAPTURE(pos[0]);
        CAPTURE(pos[1]);
        Prepare(g, 5);
        DrawAndCompare(g, pic, Whole(pos[0], pos[1]));
        Prepare(g, 6);
        DrawAndCompare(g, pic, Part(pos[0], pos[1], 2, 1, 7, 8));
        Prepare(g, 7);
        DrawAndCompare(g, pic, Part(pos[0], pos[1], 0, 0, -1, -1, 100));
    }
    // picture columns 3..9 land in columns 0..6 at x = -3
    Prepare(g, 8);
    std::vector<uint8_t> before = Snapshot(g);
    Picture opaque(10, 10, [] {
        std::vector<Bgra> p(100);
        for (int i = 0; i < 100; ++i) p[i] = Bgra{uint8_t(i), uint8_t(i % 10), uint8_t(i / 10), 255};
        return p;
    }());
    g.Draw(&opaque.tga, -3, 0);
    for (int c = 0; c < 7; ++c) CHECK(PixelAt(g, c, 2) == (Bgr{uint8_t(20 + c + 3), uint8_t(c + 3), 2}));
    CHECK(std::memcmp(g.GetPixels() + 21, before.data() + 21, 72 - 21) == 0);  // column 7 onwards, padding
    // at x = surface width, or x + width <= 0: nothing changes
    before = Snapshot(g);
    g.Draw(&opaque.tga, 23, 0);
    g.Draw(&opaque.tga, -10, 0);
    g.Draw(&opaque.tga, 0, 17);
    g.Draw(&opaque.tga, 0, -10);
    CHECK(Snapshot(g) == before);
}

TEST_CASE("source rectangles") {
    EnsureGdiplus();
    Picture pic(12, 9, Pattern(12, 9, 99));
    CVorGraphics g;
    REQUIRE(g.Init(30, 20));
    const DrawRequest requests[] = {
        Part(2, 3, 4, 5, 3, 2),         Part(2, 3, 8, 2, 10, 3),        // past the right edge
        Part(2, 3, 1, 6, 4, 10),        Part(2, 3, 10, 7, 100, 100),    // past the bottom, past both
        Part(2, 3, 0, 0, -1, 4),        Part(2, 3, 5, 0, -1, -1),       // width -1: the picture's width
        Part(2, 3, -1, 0, 4, 4),        Part(2, 3, 0, -1, 4, 4),        // negative source: nothing
        Part(2, 3, 12, 0, 4, 4),        Part(2, 3, 0, 9, 4, 4),         // source at the picture's edge
        Part(2, 3, 3, 3, 0, 4),         Part(2, 3, 3, 3, 4, 0),         // empty sizes
        Part(-5, 3, -1, 0, 8, 4),       Part(-5, -2, 3, -1, 8, 8),      // negative source moved inside
        Part(-5, 3, 11, 0, 8, 4),                                       // source pushed past the picture
        Part(28, 18, 0, 0, 12, 9, 77),  Part(-11, -8, 0, 0, 12, 9, 77), // only a corner pixel
    };
    int i = 0;
    for (const DrawRequest& q : requests) {
        CAPTURE(i++);
        Prepare(g, uint32_t(i));
        DrawAndCompare(g, pic, q);
    }
    // width -1 draws exactly what the picture's width does
    Prepare(g, 50);
    g.Draw(&pic.tga, 1, 1, 2, 2, -1, 3);
    const std::vector<uint8_t> withMinusOne = Snapshot(g);
    Prepare(g, 50);
    g.Draw(&pic.tga, 1, 1, 2, 2, 12, 3);
    CHECK(Snapshot(g) == withMinusOne);
    // source x -1 draws nothing
    Prepare(g, 51);
    const std::vector<uint8_t> before = Snapshot(g);
    g.Draw(&pic.tga, 1, 1, -1, 0, 5, 5);
    g.Draw(&pic.tga, 1, 1, -1, 0, 5, 5, 200);
    CHECK(Snapshot(g) == before);
}

TEST_CASE("extreme coordinates and sizes never write outside the buffer") {
    EnsureGdiplus();
    Picture pic(7, 5, Pattern(7, 5, 3));
    CVorGraphics g;
    REQUIRE(g.Init(13, 11));
    const int values[] = {INT_MIN, INT_MIN + 1, -65536, -7, -1, 0, 1, 6, 12, 65535, INT_MAX - 6, INT_MAX - 1, INT_MAX};
    uint32_t seed = 1;
    for (int x : values)
        for (int y : {INT_MIN, -2, 0, 10, INT_MAX}) {
            CAPTURE(x);
            CAPTURE(y);
            Prepare(g, ++seed);
            DrawAndCompare(g, pic, Whole(x, y));
            for (int src : {INT_MIN, -1, 0, 3, INT_MAX})
                for (int size : {INT_MIN, -1, 0, 4, INT_MAX}) {
                    CAPTURE(src);
                    CAPTURE(size);
                    Prepare(g, ++seed);
                    DrawAndCompare(g, pic, Part(x, y, src, src == 3 ? 1 : src, size, size, int(seed % 300) - 40));
                }
        }
}

TEST_CASE("nothing is drawn from no picture, an empty one, or onto an unsized surface") {
    EnsureGdiplus();
    Picture pic(4, 4, Pattern(4, 4, 8));
    CVorGraphics unsized;
    unsized.Draw(&pic.tga, 0, 0);
    unsized.Draw(&pic.tga, 0, 0, 0, 0, 4, 4);
    unsized.Draw(&pic.tga, 0, 0, 0, 0, -1, -1, 128);
    CHECK(unsized.GetPixels() == nullptr);

    CVorGraphics g;
    REQUIRE(g.Init(8, 8));
    Prepare(g, 4);
    const std::vector<uint8_t> before = Snapshot(g);
    CVorTga empty, zeroWide, failed;
    const std::vector<uint8_t> zeroFile = MakeTga(0, 6, {});
    REQUIRE(zeroWide.InitFromMemory(zeroFile.data(), zeroFile.size()));
    failed = pic.tga;
    CHECK_FALSE(failed.InitFromMemory(zeroFile.data(), 5));
    for (CVorTga* t : {static_cast<CVorTga*>(nullptr), &empty, &zeroWide, &failed}) {
        g.Draw(t, 0, 0);
        g.Draw(t, 0, 0, 0, 0, 4, 4);
        g.Draw(t, 0, 0, 0, 0, -1, -1, 200);
    }
    CHECK(Snapshot(g) == before);
    g.Draw(&pic.tga, 2, 2);  // the shared picture is still fine after failed let go of it
    CHECK(Snapshot(g) != before);
}
