// CVorBitmap loading: memory blocks, image files, resources of the test program, animated GIFs,
// the colour key, bad input, and copies.
#include <doctest.h>

#include <cstring>
#include <string>

#include "BitmapTestFiles.h"
#include "CVorBitmap.h"
#include "CVorBrush.h"
#include "data/test_resource_ids.h"

namespace {

Rgb Gradient(int x, int y) { return Rgb{uint8_t(20 + 30 * x), uint8_t(40 + 25 * y), uint8_t(200 - 10 * x - 7 * y)}; }

// Draws the picture at (1, 1) on a fresh surface through the locked path (a key colour that does
// not occur) and checks every pixel against the rule; the rest stays 0xAA.
void CheckLockedColours(CVorBitmap& bitmap, int width, int height, const std::function<Rgb(int, int)>& rule) {
    REQUIRE(bitmap.GetWidth() == width);
    REQUIRE(bitmap.GetHeight() == height);
    bitmap.SetColorKey(1, 2, 3);
    CVorGraphics g;
    MakeSurface(g, width + 2, height + 2, 0xAA);
    g.Draw(&bitmap, 1, 1);
    for (int y = 0; y < height + 2; ++y)
        for (int x = 0; x < width + 2; ++x) {
            CAPTURE(x);
            CAPTURE(y);
            const bool inside = x >= 1 && y >= 1 && x <= width && y <= height;
            CHECK(PixelAt(g, x, y) == (inside ? ToBgr(rule(x - 1, y - 1)) : Bgr{0xAA, 0xAA, 0xAA}));
        }
}

// A failed load (refused, unreadable, undecodable, missing resource) keeps a Gdiplus::Bitmap
// object whose own status tells the failure; the picture is 0 x 0.
void CheckFailedObject(CVorBitmap& b) {
    REQUIRE(b.GetBitmap() != nullptr);
    CHECK(b.GetBitmap()->GetLastStatus() != Gdiplus::Ok);
    CHECK(b.GetWidth() == 0);
    CHECK(b.GetHeight() == 0);
    CHECK(b.GetBitmap()->GetWidth() == 0);
    CHECK(b.GetBitmap()->GetHeight() == 0);
    CHECK(b.GetLastStatus() != Gdiplus::Ok);
}

// The same GIF without its global table (the file's only one): a GIF89a whose frames have no
// colour table at all. Indices 0..15 of the frames stay as they are.
std::vector<uint8_t> WithoutColourTable(std::vector<uint8_t> gif) {
    REQUIRE((gif[10] & 0x80) != 0);
    const size_t table = size_t(3) << ((gif[10] & 7) + 1);
    gif.erase(gif.begin() + 13, gif.begin() + 13 + long(table));
    gif[10] = uint8_t(gif[10] & 0x70);
    return gif;
}

// Frames of w x h indices 0..15 that differ from frame to frame.
std::vector<std::vector<uint8_t>> GrayFrames(int w, int h, int count) {
    std::vector<std::vector<uint8_t>> frames(static_cast<size_t>(count));
    for (int n = 0; n < count; ++n)
        for (int i = 0; i < w * h; ++i) frames[size_t(n)].push_back(uint8_t((i * 5 + n * 3) % 16));
    return frames;
}

std::vector<uint8_t> TwoFrameGif(int delay0, int delay1, bool gce) {
    const std::vector<Rgb> palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    return GifFile(2, 2, palette, {{0, 1, 2, 3}, {3, 2, 1, 0}}, {delay0, delay1}, gce);
}

}  // namespace

TEST_CASE("a new bitmap is empty and drawing it draws nothing") {
    EnsureGdiplus();
    CVorBitmap b;
    CHECK(b.GetBitmap() == nullptr);
    CHECK(b.GetMemBitmap() == nullptr);
    CHECK(b.GetImageAttributes() == nullptr);
    CHECK(b.GetWidth() == 0);
    CHECK(b.GetHeight() == 0);
    CHECK(b.IsColorKey() == 0);
    CHECK(b.GetKeyRGB() == 0);
    CHECK(b.IsZoom() == 0);
    CHECK(b.GetFrames() == 0);
    CHECK(b.GetDelayTime() == 0);
    CHECK(b.GetLastStatus() == Gdiplus::Ok);

    CVorGraphics g;
    MakeSurface(g, 6, 4, 0x5C);
    const std::vector<uint8_t> before = Snapshot(g);
    g.Draw(&b, 0, 0);
    g.Draw(&b, 0, 0, 128);
    g.Draw(&b, 0, 0, 0, 0, 6, 4);
    g.Draw(&b, 0, 0, 0, 0, 6, 4, 77);
    g.DrawImage(&b, 0, 0, 6, 4);
    b.SetColorKey(1, 2, 3);
    g.Draw(&b, 0, 0);
    g.DrawImage(&b, 0, 0, 6, 4);
    g.DrawImage(&b, Gdiplus::RectF(0, 0, 6, 4), Gdiplus::RectF(0, 0, 2, 2));
    g.Draw(static_cast<CVorBitmap*>(nullptr), 0, 0);
    g.Draw(static_cast<CVorBitmap*>(nullptr), 0, 0, 0, 0, 3, 3, 100);
    g.DrawImage(static_cast<CVorBitmap*>(nullptr), 0, 0, 6, 4);
    CHECK(Snapshot(g) == before);
}

TEST_CASE("colour key: accessors, red in bits 16-23, replaced by a second key") {
    EnsureGdiplus();
    CVorBitmap b;
    b.SetColorKey(0x12, 0x34, 0x56);
    CHECK(b.GetKeyR() == 0x12);
    CHECK(b.GetKeyG() == 0x34);
    CHECK(b.GetKeyB() == 0x56);
    CHECK(b.GetKeyRGB() == 0x123456ul);
    CHECK(b.IsColorKey() == 1);
    CHECK(b.GetImageAttributes() != nullptr);
    b.SetColorKey(255, 0, 1);
    CHECK(b.GetKeyRGB() == 0xFF0001ul);
    CHECK(b.GetKeyR() == 255);
    CHECK(b.GetKeyB() == 1);
    CHECK(b.IsColorKey() == 1);
    CHECK(b.GetImageAttributes() != nullptr);
    CHECK(b.GetLastStatus() == Gdiplus::Ok);
}

TEST_CASE("memory image: the block and header are copied; sizes as passed in") {
    EnsureGdiplus();
    MemoryPicture pic(3, 2, Gradient);
    pic.info.bmiColors[0].rgbBlue = 7;  // the first colour entry is copied with the header
    pic.info.bmiColors[0].rgbRed = 9;
    std::vector<uint8_t> caller = pic.bytes;
    CVorBitmap b(caller.data(), int(caller.size()), pic.info, 1);
    REQUIRE(b.GetMemBitmap() != nullptr);
    CHECK(b.GetMemBitmap() != caller.data());
    CHECK(std::memcmp(b.GetMemBitmap(), pic.bytes.data(), pic.bytes.size()) == 0);
    CHECK(b.GetMemSize() == int(pic.bytes.size()));
    CHECK(b.GetWidth() == 3);
    CHECK(b.GetHeight() == 2);
    CHECK(b.IsZoom() == 1);
    CHECK(b.GetBitmap() == nullptr);
    CHECK(std::memcmp(b.GetBitmapHeader(), &pic.info, sizeof(BITMAPINFO)) == 0);
    CHECK(sizeof(BITMAPINFO) == 44);

    // The caller's buffer may change or go away: the picture keeps its own copy.
    std::memset(caller.data(), 0, caller.size());
    caller.clear();
    caller.shrink_to_fit();
    CVorGraphics g;
    MakeSurface(g, 3, 2, 0);
    g.Draw(&b, 0, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) CHECK(PixelAt(g, x, y) == ToBgr(Gradient(x, y)));

    // biHeight is reported as given, a negative one included.
    BITMAPINFO topDown = pic.info;
    topDown.bmiHeader.biHeight = -2;
    b.Init(pic.bytes.data(), pic.Size(), topDown, 0);
    CHECK(b.GetHeight() == -2);
    CHECK(b.IsZoom() == 0);
}

TEST_CASE("the colour key survives loaders; the zoom flag is only set by the memory loader with a zoom") {
    EnsureGdiplus();
    MemoryPicture pic(2, 2, Gradient);
    CVorBitmap b;
    b.SetColorKey(10, 20, 30);
    b.Init(pic.bytes.data(), pic.Size(), pic.info, 1);
    CHECK(b.IsColorKey() == 1);
    CHECK(b.GetKeyRGB() == (10ul << 16 | 20ul << 8 | 30ul));
    const std::string path = WriteTempFile("load_keep.bmp", BmpFile(4, 3, 24, Gradient));
    b.Init(Wide(path).c_str());
    CHECK(b.GetBitmap() != nullptr);
    CHECK(b.GetMemBitmap() == nullptr);
    CHECK(b.GetWidth() == 4);
    CHECK(b.GetHeight() == 3);
    CHECK(b.IsZoom() == 1);
    CHECK(b.IsColorKey() == 1);
    // The keyed memory loader leaves the zoom flag alone and sets the new key.
    b.Init(pic.bytes.data(), pic.Size(), pic.info, 0);
    b.Init(pic.bytes.data(), pic.Size(), pic.info, 1, 2, 3);
    CHECK(b.IsZoom() == 0);
    CHECK(b.GetKeyRGB() == 0x010203ul);
    CHECK(b.GetBitmap() == nullptr);
    CHECK(b.GetMemBitmap() != nullptr);
}

TEST_CASE("bad memory blocks leave the picture empty with a recorded status") {
    EnsureGdiplus();
    MemoryPicture pic(2, 2, Gradient);
    CVorBitmap b(pic.bytes.data(), pic.Size(), pic.info, 0);
    REQUIRE(b.GetMemBitmap() != nullptr);
    b.Init(nullptr, 12, pic.info, 0);
    CHECK(b.GetMemBitmap() == nullptr);
    CHECK(b.GetWidth() == 0);
    CHECK(b.GetLastStatus() == Gdiplus::InvalidParameter);
    b.Init(pic.bytes.data(), -5, pic.info, 0);
    CHECK(b.GetMemBitmap() == nullptr);
    CHECK(b.GetLastStatus() == Gdiplus::InvalidParameter);
    b.Init(pic.bytes.data(), pic.Size(), pic.info, 0);
    CHECK(b.GetLastStatus() == Gdiplus::Ok);
    CHECK(b.GetMemBitmap() != nullptr);
}

TEST_CASE("image files: 24-bit, 8-bit palette and 32-bit BMP and a PNG give the right colours") {
    EnsureGdiplus();
    SUBCASE("24-bit BMP") {
        const std::string path = WriteTempFile("load24.bmp", BmpFile(5, 3, 24, Gradient));
        CVorBitmap b(Wide(path).c_str());
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(b.GetBitmap()->GetPixelFormat() == PixelFormat24bppRGB);
        CheckLockedColours(b, 5, 3, Gradient);
    }
    SUBCASE("32-bit BMP") {
        const std::string path = WriteTempFile("load32.bmp", BmpFile(3, 4, 32, Gradient));
        CVorBitmap b(Wide(path).c_str());
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(Gdiplus::GetPixelFormatSize(b.GetBitmap()->GetPixelFormat()) == 32);
        CheckLockedColours(b, 3, 4, Gradient);
    }
    SUBCASE("8-bit palette BMP") {
        const std::vector<Rgb> palette = {{255, 0, 0}, {0, 200, 0}, {10, 20, 250}, {90, 60, 30}};
        auto index = [](int x, int y) { return (x * 3 + y) % 4; };
        const std::string path = WriteTempFile("load8.bmp", Bmp8File(5, 3, palette, index));
        CVorBitmap b(Wide(path).c_str());
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(b.GetBitmap()->GetPixelFormat() == PixelFormat8bppIndexed);
        CheckLockedColours(b, 5, 3, [&](int x, int y) { return palette[index(x, y)]; });
    }
    SUBCASE("32-bit ARGB PNG saved by GDI+") {
        const std::wstring path = Wide(WriteTempFile("load32.png", {}));
        REQUIRE(SaveWithGdiplus(path, L"image/png", 6, 3, PixelFormat32bppARGB, [](int x, int y) {
            Rgb c = Gradient(x, y);
            return Gdiplus::Color(255, c.r, c.g, c.b);
        }));
        CVorBitmap b(path.c_str());
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(Gdiplus::GetPixelFormatSize(b.GetBitmap()->GetPixelFormat()) == 32);
        CheckLockedColours(b, 6, 3, Gradient);
    }
}

TEST_CASE("missing and undecodable files leave the picture empty, with the status recorded, and leak nothing") {
    EnsureGdiplus();
    const std::string good = WriteTempFile("load_good.bmp", BmpFile(2, 2, 24, Gradient));
    const std::string junk = WriteTempFile("load_junk.png", std::vector<uint8_t>(64, 0x5A));
    const std::string truncated = WriteTempFile("load_cut.bmp", [] {
        std::vector<uint8_t> f = BmpFile(2, 2, 24, Gradient);
        f.resize(20);
        return f;
    }());
    const unsigned gdiBefore = GdiObjectCount();
    for (int round = 0; round < 20; ++round) {
        CVorBitmap b(Wide(good).c_str());
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(b.GetBitmap()->GetLastStatus() == Gdiplus::Ok);
        b.Init(L"Z:\\no\\such\\folder\\missing.bmp");
        CheckFailedObject(b);
        b.Init(Wide(junk).c_str());
        CheckFailedObject(b);
        b.Init(Wide(truncated).c_str(), 1, 2, 3);
        CheckFailedObject(b);
        CHECK(b.IsColorKey() == 1);
        // The host's own reading of the GDI+ object does not clear the picture's status.
        CHECK(b.GetLastStatus() != Gdiplus::Ok);
        b.Init(static_cast<const wchar_t*>(nullptr));
        CheckFailedObject(b);
        CHECK(b.GetLastStatus() == Gdiplus::InvalidParameter);
        // The picture's status read first leaves the GDI+ object's status for the host.
        b.Init(Wide(junk).c_str());
        CHECK(b.GetLastStatus() != Gdiplus::Ok);
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(b.GetBitmap()->GetLastStatus() != Gdiplus::Ok);

        CVorGraphics g;
        MakeSurface(g, 4, 4, 0x33);
        const std::vector<uint8_t> before = Snapshot(g);
        g.Draw(&b, 0, 0);
        g.Draw(&b, 0, 0, 90);
        g.Draw(&b, 0, 0, 0, 0, 2, 2);
        g.Draw(&b, 0, 0, 0, 0, 2, 2, 77);
        g.DrawImage(&b, 0, 0, 4, 4);
        g.DrawImage(&b, Gdiplus::RectF(0, 0, 4, 4), Gdiplus::RectF(0, 0, 2, 2));
        g.SetBackBitmap(&b);
        CHECK(Snapshot(g) == before);
        // A texture brush made from it fails as a failed creation does: stored, status recorded.
        CVorBrush brush;
        brush.Init(&b, Gdiplus::WrapModeTile);
        REQUIRE(brush.GetTextureBrush() != nullptr);
        CHECK(brush.GetTextureBrush()->GetLastStatus() != Gdiplus::Ok);
        CHECK(brush.GetLastStatus() != Gdiplus::Ok);
        g.FillRectangle(&brush, 0, 0, 4, 4);
        CHECK(Snapshot(g) == before);
    }
    CHECK(GdiObjectCount() == gdiBefore);
}

TEST_CASE("bitmap resources of the host executable: present, missing, and the resource module") {
    EnsureGdiplus();
    HMODULE exe = ::GetModuleHandleA(nullptr);
    HMODULE library = ::GetModuleHandleA("VorImage4.dll");
    REQUIRE(library != nullptr);
    REQUIRE(library != exe);

    SUBCASE("24-bit, odd width") {
        AfxSetResourceHandle(library);
        CVorBitmap b;
        b.Init(unsigned(IDB_TEST24_5X3));
        CHECK(AfxGetResourceHandle() == exe);
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(b.GetLastStatus() == Gdiplus::Ok);
        CheckLockedColours(b, 5, 3, [](int x, int y) {
            TestRgb c = TestPixel24x5x3(x, y);
            return Rgb{c.r, c.g, c.b};
        });
    }
    SUBCASE("24-bit, one pixel wide") {
        CVorBitmap b;
        b.Init(unsigned(IDB_TEST24_1X4));
        REQUIRE(b.GetBitmap() != nullptr);
        CheckLockedColours(b, 1, 4, [](int x, int y) {
            TestRgb c = TestPixel24x1x4(x, y);
            return Rgb{c.r, c.g, c.b};
        });
    }
    SUBCASE("8-bit palette") {
        CVorBitmap b;
        b.Init(unsigned(IDB_TEST8_3X2));
        REQUIRE(b.GetBitmap() != nullptr);
        CheckLockedColours(b, 3, 2, [](int x, int y) {
            TestRgb c = TestPalette8(TestIndex8x3x2(x, y));
            return Rgb{c.r, c.g, c.b};
        });
    }
    SUBCASE("only the low 16 bits of the id count") {
        CVorBitmap b;
        b.Init(0xABCD0000u | unsigned(IDB_TEST24_5X3));
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(b.GetWidth() == 5);
        CHECK(b.GetHeight() == 3);
    }
    SUBCASE("a missing id leaves the picture empty; the executable stays the resource module") {
        MemoryPicture pic(2, 2, Gradient);
        CVorBitmap b(pic.bytes.data(), pic.Size(), pic.info, 0);
        AfxSetResourceHandle(library);
        b.Init(unsigned(IDB_TEST_MISSING));
        CHECK(AfxGetResourceHandle() == exe);
        CHECK(b.GetMemBitmap() == nullptr);
        CheckFailedObject(b);
        b.Init(0u);  // id 0 names no resource
        CheckFailedObject(b);
        CVorGraphics g;
        MakeSurface(g, 3, 3, 0x44);
        const std::vector<uint8_t> before = Snapshot(g);
        g.Draw(&b, 0, 0);
        g.DrawImage(&b, 0, 0, 3, 3);
        CHECK(Snapshot(g) == before);
    }
}

TEST_CASE("InitGif: frame count and the first frame's delay") {
    EnsureGdiplus();
    SUBCASE("two frames, delay 10") {
        const std::string path = WriteTempFile("anim2.gif", TwoFrameGif(10, 30, true));
        CVorBitmap b;
        b.InitGif(Wide(path).c_str());
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(b.GetFrames() == 2);
        CHECK(b.GetDelayTime() == 10);
        CHECK(b.GetWidth() == 2);
        // The first frame shows through the locked path (a palette image, converted).
        CheckLockedColours(b, 2, 2, [](int x, int y) {
            const Rgb colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
            return colours[x + 2 * y];
        });
        // Another loader keeps the frame count and delay.
        const std::string still = WriteTempFile("still.bmp", BmpFile(2, 2, 24, Gradient));
        b.Init(Wide(still).c_str());
        CHECK(b.GetFrames() == 2);
        CHECK(b.GetDelayTime() == 10);
    }
    SUBCASE("a first delay of 0 stays 0; later delays are ignored") {
        const std::string path = WriteTempFile("anim0.gif", TwoFrameGif(0, 50, true));
        CVorBitmap b;
        b.InitGif(Wide(path).c_str());
        CHECK(b.GetFrames() == 2);
        CHECK(b.GetDelayTime() == 0);
    }
    SUBCASE("no graphic control extension: the frames are counted, delay 0") {
        const std::string path = WriteTempFile("nogce.gif", TwoFrameGif(10, 10, false));
        CVorBitmap b;
        b.InitGif(Wide(path).c_str());
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(b.GetFrames() == 2);
        CHECK(b.GetDelayTime() == 0);
    }
    SUBCASE("a still picture: one frame, delay 0") {
        const std::string path = WriteTempFile("still_gif.bmp", BmpFile(3, 3, 24, Gradient));
        CVorBitmap b;
        b.InitGif(Wide(path).c_str());
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(b.GetFrames() == 1);
        CHECK(b.GetDelayTime() == 0);
    }
    SUBCASE("a file that cannot be opened: 0 frames, delay 0, after an animated one") {
        const std::string path = WriteTempFile("anim_before.gif", TwoFrameGif(10, 30, true));
        CVorBitmap b;
        b.InitGif(Wide(path).c_str());
        REQUIRE(b.GetFrames() == 2);
        b.InitGif(L"Z:\\no\\such\\anim.gif");
        CheckFailedObject(b);
        CHECK(b.GetFrames() == 0);
        CHECK(b.GetDelayTime() == 0);
        CHECK(b.GetLastStatus() != Gdiplus::Ok);
        b.InitGif(nullptr);
        CHECK(b.GetFrames() == 0);
        CHECK(b.GetDelayTime() == 0);
    }
}

TEST_CASE("GIFs without any colour table load through a gray table: index i is gray level i") {
    EnsureGdiplus();
    auto gray = [](const std::vector<uint8_t>& frame, int w) {
        return [&frame, w](int x, int y) {
            const uint8_t level = frame[size_t(y * w + x)];
            return Rgb{level, level, level};
        };
    };
    // 16 palette entries in the writer, so the frames use indices 0..15.
    const std::vector<Rgb> palette16(16, Rgb{200, 10, 10});
    for (int count : {1, 2, 7}) {
        CAPTURE(count);
        const int w = 5, h = 3;
        const std::vector<std::vector<uint8_t>> frames = GrayFrames(w, h, count);
        const std::vector<uint8_t> file =
            WithoutColourTable(GifFile(w, h, palette16, frames, std::vector<int>(size_t(count), 7), true));
        const std::string path = WriteTempFile("no_table_" + std::to_string(count) + ".gif", file);
        CVorBitmap b;
        b.InitGif(Wide(path).c_str());
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(b.GetFrames() == count);
        // GDI+ (wine's at least) gives a still GIF no frame delay item.
        if (count > 1) {
            CHECK(b.GetLastStatus() == Gdiplus::Ok);
            CHECK(b.GetDelayTime() == 7);
        }
        for (int n = 0; n < count; ++n) {
            CAPTURE(n);
            REQUIRE(b.GetBitmap()->SelectActiveFrame(&Gdiplus::FrameDimensionTime, UINT(n)) == Gdiplus::Ok);
            CheckLockedColours(b, w, h, gray(frames[size_t(n)], w));
        }
        // The plain file loader gives the same first frame.
        CVorBitmap still(Wide(path).c_str());
        CHECK(still.GetLastStatus() == Gdiplus::Ok);
        CheckLockedColours(still, w, h, gray(frames[0], w));
    }
}

TEST_CASE("pictures past the size limit (2^27 pixels) are refused from the header, without decoding") {
    EnsureGdiplus();
    // A 1,640-byte run-length BMP declaring 13 x 33,554,439 pixels (a decompression bomb).
    std::vector<uint8_t> bomb = BmpFile(13, 2, 24, Gradient);
    bomb.resize(1640, 0);
    const uint32_t height = 33554439u, size = 1640;
    std::memcpy(&bomb[2], &size, 4);
    std::memcpy(&bomb[22], &height, 4);
    bomb[28] = 8;   // 8 bits a pixel
    bomb[30] = 1;   // BI_RLE8
    const std::string bombPath = WriteTempFile("bomb_rle8.bmp", bomb);
    // A PNG and a GIF frame just over the limit (16385 x 8192 and 65535 x 2049 pixels).
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                0,    0,   0x40, 0x01, 0, 0, 0x20, 0, 8, 2, 0, 0, 0, 0, 0, 0, 0};
    const std::string pngPath = WriteTempFile("over_limit.png", png);
    std::vector<uint8_t> gif = TwoFrameGif(5, 5, true);
    size_t second = 0;  // the last image descriptor: the second frame's
    for (size_t at = 13 + 12; at + 10 < gif.size(); ++at)
        if (gif[at] == 0x2C && gif[at + 5] == 2 && gif[at + 7] == 2) second = at;
    REQUIRE(second > 0);
    gif[second + 5] = gif[second + 6] = 0xFF;
    gif[second + 7] = 0x01;
    gif[second + 8] = 0x08;
    const std::string gifPath = WriteTempFile("over_limit.gif", gif);
    const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0x20, 0x01, 0x40, 0x00, 1, 1, 0x11, 0, 0xFF, 0xD9};
    const std::string jpegPath = WriteTempFile("over_limit.jpg", std::vector<uint8_t>(jpeg, jpeg + sizeof jpeg));

    for (const std::string& path : {bombPath, pngPath, gifPath, jpegPath}) {
        CAPTURE(path);
        const DWORD started = ::GetTickCount();
        CVorBitmap b;
        b.InitGif(Wide(path).c_str());
        CHECK(::GetTickCount() - started < 2000);
        CHECK(b.GetLastStatus() == Gdiplus::ValueOverflow);
        CheckFailedObject(b);
        CHECK(b.GetFrames() == 0);
        b.Init(Wide(path).c_str(), 1, 2, 3);
        CHECK(b.GetLastStatus() == Gdiplus::ValueOverflow);
        CHECK(b.GetWidth() == 0);
    }
    // The same bomb with a sound height is handed to the decoder.
    const uint32_t sound = 7;
    std::memcpy(&bomb[22], &sound, 4);
    CVorBitmap fine(Wide(WriteTempFile("bomb_sound.bmp", bomb)).c_str());
    CHECK(fine.GetLastStatus() != Gdiplus::ValueOverflow);
}

TEST_CASE("CVorBitmap converts from a path, as declared") {
    EnsureGdiplus();
    const std::string path = WriteTempFile("convert.bmp", BmpFile(3, 2, 24, Gradient));
    const std::wstring wide = Wide(path);
    CVorBitmap b = wide.c_str();
    CHECK(b.GetWidth() == 3);
    CHECK(b.GetHeight() == 2);
}

TEST_CASE("copies share the picture safely and draw the same") {
    EnsureGdiplus();
    const std::string path = WriteTempFile("copy.bmp", BmpFile(4, 3, 24, Gradient));
    MemoryPicture pic(3, 2, Gradient);

    auto drawn = [](CVorBitmap& b) {
        CVorGraphics g;
        MakeSurface(g, 6, 5, 0x11);
        g.Draw(&b, 1, 1);
        g.Draw(&b, 2, 2, 100);
        return Snapshot(g);
    };

    SUBCASE("copy construction, original destroyed first") {
        CVorBitmap* a = new CVorBitmap(Wide(path).c_str(), 50, 65, 183);  // key: the colour of (1, 1)
        const std::vector<uint8_t> expected = drawn(*a);
        CVorBitmap* b = new CVorBitmap(*a);
        CHECK(b->GetBitmap() == a->GetBitmap());
        CHECK(b->GetKeyRGB() == a->GetKeyRGB());
        delete a;
        CHECK(drawn(*b) == expected);
        CHECK(b->GetWidth() == 4);
        delete b;
    }
    SUBCASE("copy construction, copy destroyed first") {
        CVorBitmap a(pic.bytes.data(), pic.Size(), pic.info, 50, 65, 183);
        const std::vector<uint8_t> expected = drawn(a);
        {
            CVorBitmap b(a);
            CHECK(drawn(b) == expected);
        }
        CHECK(drawn(a) == expected);
        CHECK(a.GetMemBitmap() != nullptr);
    }
    SUBCASE("assignment, reassignment and self-assignment") {
        CVorBitmap a(Wide(path).c_str(), 50, 65, 183);
        CVorBitmap m(pic.bytes.data(), pic.Size(), pic.info, 0);
        const std::vector<uint8_t> fromFile = drawn(a);
        const std::vector<uint8_t> fromMemory = drawn(m);
        CVorBitmap b;
        b = a;
        CHECK(drawn(b) == fromFile);
        b = m;  // lets go of the file picture, which a still holds
        CHECK(drawn(b) == fromMemory);
        CHECK(drawn(a) == fromFile);
        b = b;
        CHECK(drawn(b) == fromMemory);
        a = a;
        CHECK(drawn(a) == fromFile);
        m.Init(Wide(path).c_str());  // replacing m's picture leaves b's copy alone
        CHECK(drawn(b) == fromMemory);
        b.SetColorKey(9, 9, 9);      // b's new key does not touch a's attributes
        CHECK(a.GetImageAttributes() != b.GetImageAttributes());
        CHECK(drawn(a) == fromFile);
    }
}
