// The background copy: SetBackBitmap from GDI+ and memory pictures (clipped, converted, upright)
// and DrawBack restoring the whole back buffer.
#include <doctest.h>

#include <climits>
#include <cstring>

#include "BitmapTestFiles.h"
#include "CVorBitmap.h"

namespace {

Rgb Pattern(int x, int y) { return Rgb{uint8_t(7 + 19 * x), uint8_t(200 - 11 * y), uint8_t(60 + 5 * x + 9 * y)}; }

size_t BufferBytes(const CVorGraphics& g) { return size_t(g.GetStride()) * g.GetHeight(); }

std::vector<uint8_t> Background(const CVorGraphics& g) {
    return std::vector<uint8_t>(g.GetBackCopy(), g.GetBackCopy() + BufferBytes(g));
}

// Every byte of the background: the top-left w x h pixels follow the rule, everything else
// (padding included) is the fill byte.
void CheckBackground(const CVorGraphics& g, int w, int h, const PixelRule& rule, uint8_t fill) {
    const BYTE* back = g.GetBackCopy();
    int wrong = 0;
    for (int y = 0; y < int(g.GetHeight()); ++y)
        for (int i = 0; i < g.GetStride(); ++i) {
            const int x = i / 3;
            uint8_t want = fill;
            if (x < w && y < h && x < int(g.GetWidth())) {
                const Rgb c = rule(x, y);
                const uint8_t bgr[3] = {c.b, c.g, c.r};
                want = bgr[i % 3];
            }
            if (back[size_t(y) * g.GetStride() + i] != want && ++wrong <= 5) {
                CAPTURE(x);
                CAPTURE(y);
                CAPTURE(i);
                CHECK(int(back[size_t(y) * g.GetStride() + i]) == int(want));
            }
        }
    CHECK(wrong == 0);
}

void FillBackground(CVorGraphics& g, uint8_t value) { std::memset(g.GetBackCopy(), value, BufferBytes(g)); }

}  // namespace

TEST_CASE("a GDI+ picture smaller than the surface changes only the top-left; DrawBack restores all") {
    CVorGraphics g;
    MakeSurface(g, 7, 5, 0x00);  // stride 24
    REQUIRE(g.GetBackCopy() != nullptr);
    FillBackground(g, 0xE1);
    const std::string path = WriteTempFile("back24.bmp", BmpFile(4, 3, 24, Pattern));
    CVorBitmap image(Wide(path).c_str());
    g.SetBackBitmap(&image);
    CheckBackground(g, 4, 3, Pattern, 0xE1);
    // The back buffer itself is not touched until DrawBack.
    for (uint8_t byte : Snapshot(g)) CHECK(byte == 0x00);
    g.DrawBack();
    CHECK(Snapshot(g) == Background(g));
    CHECK(PixelAt(g, 3, 2) == ToBgr(Pattern(3, 2)));
    CHECK(PixelAt(g, 6, 4) == (Bgr{0xE1, 0xE1, 0xE1}));
    // Drawing over the frame and restoring it again brings back every byte, padding included.
    FillBytes(g, 0x17);
    g.DrawBack();
    CHECK(Snapshot(g) == Background(g));
}

TEST_CASE("GDI+ pictures of any pixel format are converted: 8-bit, 32-bit, PNG") {
    const std::vector<Rgb> palette = {{250, 0, 0}, {0, 250, 0}, {0, 0, 250}, {60, 70, 80}};
    auto index = [](int x, int y) { return (2 * x + y) % 4; };
    auto paletteRule = [&](int x, int y) { return palette[index(x, y)]; };
    CVorGraphics g;
    MakeSurface(g, 6, 6, 0x00);
    SUBCASE("8-bit palette") {
        FillBackground(g, 0x3C);
        const std::string path = WriteTempFile("back8.bmp", Bmp8File(5, 3, palette, index));
        CVorBitmap image(Wide(path).c_str());
        REQUIRE(image.GetBitmap()->GetPixelFormat() == PixelFormat8bppIndexed);
        g.SetBackBitmap(&image);
        CheckBackground(g, 5, 3, paletteRule, 0x3C);
    }
    SUBCASE("32-bit BMP") {
        FillBackground(g, 0x3C);
        const std::string path = WriteTempFile("back32.bmp", BmpFile(3, 5, 32, Pattern));
        CVorBitmap image(Wide(path).c_str());
        g.SetBackBitmap(&image);
        CheckBackground(g, 3, 5, Pattern, 0x3C);
    }
    SUBCASE("32-bit ARGB PNG") {
        FillBackground(g, 0x3C);
        const std::wstring path = Wide(WriteTempFile("back32.png", {}));
        REQUIRE(SaveWithGdiplus(path, L"image/png", 4, 4, PixelFormat32bppARGB, [](int x, int y) {
            const Rgb c = Pattern(x, y);
            return Gdiplus::Color(255, c.r, c.g, c.b);
        }));
        CVorBitmap image(path.c_str());
        g.SetBackBitmap(&image);
        CheckBackground(g, 4, 4, Pattern, 0x3C);
    }
}

TEST_CASE("a GDI+ picture larger than the surface is clipped to it") {
    CVorGraphics g;
    MakeSurface(g, 5, 3, 0x00);  // stride 16: one padding byte a row
    FillBackground(g, 0x77);
    const std::string path = WriteTempFile("back_big.bmp", BmpFile(9, 7, 24, Pattern));
    CVorBitmap image(Wide(path).c_str());
    g.SetBackBitmap(&image);
    CheckBackground(g, 5, 3, Pattern, 0x77);
}

TEST_CASE("memory pictures keep the block's row order: block row i is background row i, clipped") {
    // MemoryPicture stores its picture bottom row first, so block row i is picture row h - 1 - i.
    auto blockRows = [](int h) { return [h](int x, int y) { return Pattern(x, h - 1 - y); }; };
    CVorGraphics g;
    MakeSurface(g, 6, 4, 0x00);  // stride 20: two padding bytes a row
    SUBCASE("smaller, odd row length (9 bytes)") {
        FillBackground(g, 0x88);
        MemoryPicture pic(3, 2, Pattern);
        CVorBitmap image(pic.bytes.data(), pic.Size(), pic.info, 0);
        g.SetBackBitmap(&image);
        CheckBackground(g, 3, 2, blockRows(2), 0x88);
    }
    SUBCASE("exactly the surface's size") {
        FillBackground(g, 0x88);
        MemoryPicture pic(6, 4, Pattern);
        CVorBitmap image(pic.bytes.data(), pic.Size(), pic.info, 0);
        g.SetBackBitmap(&image);
        CheckBackground(g, 6, 4, blockRows(4), 0x88);
        g.DrawBack();
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) CHECK(PixelAt(g, x, y) == ToBgr(Pattern(x, 3 - y)));
    }
    SUBCASE("wider and taller than the surface: the block's first rows, their left part") {
        FillBackground(g, 0x88);
        MemoryPicture pic(9, 7, Pattern);
        CVorBitmap image(pic.bytes.data(), pic.Size(), pic.info, 0);
        g.SetBackBitmap(&image);
        CheckBackground(g, 6, 4, blockRows(7), 0x88);
    }
    SUBCASE("a block more bytes than the surface holds is never copied past the background") {
        FillBackground(g, 0x88);
        MemoryPicture pic(40, 30, Pattern);  // 3600 bytes against a background of 80
        CVorBitmap image(pic.bytes.data(), pic.Size(), pic.info, 0);
        g.SetBackBitmap(&image);
        CheckBackground(g, 6, 4, blockRows(30), 0x88);
    }
    SUBCASE("short blocks, empty blocks and negative heights copy nothing") {
        FillBackground(g, 0x88);
        MemoryPicture pic(3, 2, Pattern);
        CVorBitmap image(pic.bytes.data(), pic.Size() - 1, pic.info, 0);
        g.SetBackBitmap(&image);
        image.Init(pic.bytes.data(), 0, pic.info, 0);
        g.SetBackBitmap(&image);
        BITMAPINFO flipped = pic.info;
        flipped.bmiHeader.biHeight = -2;
        image.Init(pic.bytes.data(), pic.Size(), flipped, 0);
        g.SetBackBitmap(&image);
        CheckBackground(g, 0, 0, Pattern, 0x88);
    }
}

TEST_CASE("a memory image as wide as the surface (3 x width a multiple of 4), top row first, restores upright") {
    CVorGraphics g;
    MakeSurface(g, 4, 3, 0x00);  // stride 12 = 3 x 4: no padding
    FillBackground(g, 0x55);
    // The host's block holds the picture top row first.
    std::vector<uint8_t> block;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const Rgb c = Pattern(x, y);
            block.insert(block.end(), {c.b, c.g, c.r});
        }
    BITMAPINFO info = MemoryImageHeader(4, 3);
    CVorBitmap image(block.data(), int(block.size()), info, 0);
    g.SetBackBitmap(&image);
    CHECK(Background(g) == block);  // the same as one block copy
    g.DrawBack();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) CHECK(PixelAt(g, x, y) == ToBgr(Pattern(x, y)));
}

TEST_CASE("empty pictures, null pictures and unsized surfaces do nothing") {
    EnsureGdiplus();
    const std::string path = WriteTempFile("back_small.bmp", BmpFile(2, 2, 24, Pattern));
    MemoryPicture pic(2, 2, Pattern);
    CVorBitmap file(Wide(path).c_str());
    CVorBitmap memory(pic.bytes.data(), pic.Size(), pic.info, 0);
    CVorBitmap empty;
    CVorBitmap missing(L"Z:\\no\\such\\back.bmp");

    CVorGraphics g;
    MakeSurface(g, 4, 4, 0x00);
    FillBackground(g, 0x5A);
    g.SetBackBitmap(&empty);
    g.SetBackBitmap(&missing);
    g.SetBackBitmap(nullptr);
    CheckBackground(g, 0, 0, Pattern, 0x5A);

    for (int kind = 0; kind < 2; ++kind) {
        CVorGraphics unsized;
        if (kind == 1) {
            unsized.Init(0, 0);
            unsized.InitGraphics(static_cast<CPaintDC*>(nullptr));
        }
        CHECK(unsized.GetBackCopy() == nullptr);
        unsized.SetBackBitmap(&file);
        unsized.SetBackBitmap(&memory);
        unsized.DrawBack();
        CHECK(unsized.GetPixels() == nullptr);
    }
    // A size too large for pixels leaves no background either.
    CVorGraphics tooBig;
    CHECK(tooBig.Init(INT_MAX, 2));  // made, without pixels
    tooBig.SetBackBitmap(&memory);
    tooBig.DrawBack();
    CHECK(tooBig.GetBackCopy() == nullptr);
}

TEST_CASE("SetBackBitmap overwrites only what it copies") {
    CVorGraphics g;
    MakeSurface(g, 5, 5, 0x00);
    FillBackground(g, 0x10);
    MemoryPicture big(5, 5, [](int, int) { return Rgb{1, 2, 3}; });
    CVorBitmap first(big.bytes.data(), big.Size(), big.info, 0);
    g.SetBackBitmap(&first);
    const std::string path = WriteTempFile("back_second.bmp", BmpFile(2, 3, 24, Pattern));
    CVorBitmap second(Wide(path).c_str());
    g.SetBackBitmap(&second);
    const BYTE* back = g.GetBackCopy();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            CAPTURE(x);
            CAPTURE(y);
            const BYTE* p = back + y * g.GetStride() + 3 * x;
            const Rgb want = (x < 2 && y < 3) ? Pattern(x, y) : Rgb{1, 2, 3};
            CHECK(p[0] == want.b);
            CHECK(p[1] == want.g);
            CHECK(p[2] == want.r);
        }
}
