// Bounds proof with guard pages: host pixel blocks and file images end right before a no-access
// page, and surfaces are sized so their back buffer and background copy end exactly on a page
// boundary with nothing mapped after them. Any read or write one byte too far faults at once.
// Then every drawing entry point runs with random and extreme places and sizes.
#include <doctest.h>

#include <climits>
#include <cstring>
#include <random>

#include "BitmapTestFiles.h"
#include "GuardedBlock.h"
#include "tga/TgaTestKit.h"

namespace {

// A 24-bit memory image whose block (bottom row first, 3 * width bytes a row) is random.
std::vector<uint8_t> RandomBlock(int w, int h, std::mt19937& gen) {
    std::vector<uint8_t> v(size_t(3) * w * h);
    for (uint8_t& b : v) b = uint8_t(gen());
    return v;
}


std::vector<uint8_t> TgaFile(unsigned w, unsigned h, bool rle, uint32_t seed) {
    tgakit::TgaLayout l;
    l.rle = rle;
    std::vector<tgakit::Bgra> p(size_t(w) * h);
    for (auto& px : p) px = tgakit::RandomPixel(seed);
    return tgakit::MakeTga(w, h, p, l);
}

// The surface's back buffer and background copy each end on a page boundary with no accessible
// byte after them.
void RequireGuardedSurface(const CVorGraphics& g) {
    const size_t bytes = size_t(g.GetStride()) * g.GetHeight();
    REQUIRE(bytes % GuardedBlock::PageSize() == 0);
    REQUIRE(g.GetPixels() != nullptr);
    REQUIRE(g.GetBackCopy() != nullptr);
    CHECK(reinterpret_cast<uintptr_t>(g.GetPixels() + bytes) % GuardedBlock::PageSize() == 0);
    CHECK(reinterpret_cast<uintptr_t>(g.GetBackCopy() + bytes) % GuardedBlock::PageSize() == 0);
    REQUIRE(GuardedBlock::Inaccessible(g.GetPixels() + bytes));
    REQUIRE(GuardedBlock::Inaccessible(g.GetBackCopy() + bytes));
}

int Place(std::mt19937& gen, int span) {
    switch (gen() % 8) {
        case 0: return INT_MIN;
        case 1: return INT_MAX;
        case 2: return INT_MIN / 2 + int(gen() % 7);
        case 3: return 0;
        default: return int(gen() % uint32_t(2 * span + 1)) - span;
    }
}

int Extent(std::mt19937& gen, int span) {
    switch (gen() % 8) {
        case 0: return INT_MAX;
        case 1: return INT_MIN;
        case 2: return 0;
        case 3: return -int(gen() % uint32_t(span)) - 1;
        default: return int(gen() % uint32_t(span)) + 1;
    }
}

}  // namespace

TEST_CASE("host blocks are read only up to their size") {
    EnsureGdiplus();
    std::mt19937 gen(0xB10C);
    for (int round = 0; round < 200; ++round) {
        const int w = int(gen() % 40) + 1, h = int(gen() % 30) + 1;
        CAPTURE(w);
        CAPTURE(h);
        const std::vector<uint8_t> bytes = RandomBlock(w, h, gen);
        // Exact, one row short, one byte short, empty: each block ends right before the guard.
        const size_t sizes[] = {bytes.size(), bytes.size() - size_t(3 * w), bytes.size() - 1, 0};
        for (size_t size : sizes) {
            GuardedBlock block(bytes.data(), size);
            BITMAPINFO info = MemoryImageHeader(w, h);
            CVorBitmap b(block.Data(), int(size), info, 0);
            CHECK(b.GetMemSize() == int(size));
            CVorBitmap keyed(block.Data(), int(size), info, 1, 2, 3);
            CHECK(keyed.GetMemSize() == int(size));
        }
    }
}

TEST_CASE("TGA file images are read only up to their size, raw and run-length") {
    for (uint32_t seed = 1; seed <= 120; ++seed) {
        const unsigned w = seed % 17 + 1, h = seed % 11 + 1;
        const std::vector<uint8_t> file = TgaFile(w, h, seed % 2 == 0, seed);
        CAPTURE(seed);
        {
            GuardedBlock whole(file.data(), file.size());
            CVorTga t;
            CHECK(t.InitFromMemory(whole.Data(), whole.Size()));
            CHECK(t.GetWidth() == w);
        }
        // Every cut of the file refuses without a byte read past the cut.
        for (size_t cut = 0; cut < file.size(); cut += 1 + file.size() / 40) {
            GuardedBlock part(file.data(), cut);
            CVorTga t;
            CHECK_FALSE(t.InitFromMemory(part.Data(), part.Size()));
            CHECK(t.GetBuffer() == nullptr);
        }
    }
}

TEST_CASE("surfaces sized to whole pages end on a page boundary with nothing after them") {
    EnsureGdiplus();
    // width 1024: stride 3072; four rows are three whole pages.
    for (int height : {4, 8, 12, 64}) {
        CAPTURE(height);
        CVorGraphics g;
        REQUIRE(g.Init(1024, height));
        CHECK(g.GetStride() == 3072);
        RequireGuardedSurface(g);
        // The last byte of each is usable.
        const size_t bytes = size_t(g.GetStride()) * height;
        g.GetPixels()[bytes - 1] = 0x11;
        g.GetBackCopy()[bytes - 1] = 0x22;
        CHECK(g.GetPixels()[bytes - 1] == 0x11);
        CHECK(g.GetBackCopy()[bytes - 1] == 0x22);
    }
}

TEST_CASE("every drawing entry point stays inside a page-bounded surface at random and extreme places") {
    EnsureGdiplus();
    CVorGraphics g;
    REQUIRE(g.Init(1024, 8));
    RequireGuardedSurface(g);
    g.InitGraphics(static_cast<CPaintDC*>(nullptr));
    REQUIRE(g.GetGraphics() != nullptr);
    TestWindow window(64, 48);
    CClientDC target(window.Handle());

    std::mt19937 gen(0x6A4D);
    // Pictures: TGA, memory images (plain, keyed, zoomed, wider and taller than the surface),
    // a GDI+ bitmap from a file, keyed too.
    const std::vector<uint8_t> tgaFile = TgaFile(37, 19, true, 77);
    CVorTga tga;
    REQUIRE(tga.InitFromMemory(tgaFile.data(), tgaFile.size()));
    const std::vector<uint8_t> small = RandomBlock(13, 9, gen), wide = RandomBlock(1100, 12, gen);
    BITMAPINFO smallInfo = MemoryImageHeader(13, 9), wideInfo = MemoryImageHeader(1100, 12);
    CVorBitmap memory(small.data(), int(small.size()), smallInfo, 0);
    CVorBitmap keyed(small.data(), int(small.size()), smallInfo, small[0], small[1], small[2]);
    CVorBitmap zoomed(small.data(), int(small.size()), smallInfo, 1);
    CVorBitmap big(wide.data(), int(wide.size()), wideInfo, 0);
    const std::string path = WriteTempFile("vor_guard.bmp", BmpFile(29, 21, 24, [](int x, int y) {
        return Rgb{uint8_t(x * 8), uint8_t(y * 12), 99};
    }));
    CVorBitmap file(Wide(path).c_str());
    CVorBitmap fileKeyed(Wide(path).c_str(), 0, 0, 99);
    REQUIRE(file.GetBitmap() != nullptr);
    CVorBitmap* bitmaps[] = {&memory, &keyed, &zoomed, &big, &file, &fileKeyed};

    CVorPen pen(255, 0, 0, 3.0f, Gdiplus::DashStyleSolid);
    CVorBrush hatch(Gdiplus::HatchStyleCross, Gdiplus::Color(255, 1, 2, 3), Gdiplus::Color(255, 4, 5, 6));
    CVorBrush texture;
    texture.Init(&file, Gdiplus::WrapModeTile);
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    Gdiplus::SolidBrush textBrush(Gdiplus::Color(255, 250, 250, 0));
    CVorColor colour(9, 8, 7);
    g.SetNowFont(&font);

    for (int round = 0; round < 1500; ++round) {
        CAPTURE(round);
        const int x = Place(gen, 1100), y = Place(gen, 20), sx = Place(gen, 40), sy = Place(gen, 40);
        const int w = Extent(gen, 1200), h = Extent(gen, 30);
        const unsigned char alpha = uint8_t(gen());
        CVorBitmap* b = bitmaps[gen() % 6];
        CAPTURE(x);
        CAPTURE(y);
        CAPTURE(sx);
        CAPTURE(sy);
        CAPTURE(w);
        CAPTURE(h);
        const int form = int(gen() % 22);
        CAPTURE(form);
        switch (form) {
            case 0: g.Draw(&tga, x, y); break;
            case 1: g.Draw(&tga, x, y, sx, sy, w, h); break;
            case 2: g.Draw(&tga, x, y, sx, sy, w, h, alpha); break;
            case 3: g.Draw(b, x, y); break;
            case 4: g.DrawImage(b, x, y); break;
            case 5: g.Draw(b, x, y, alpha); break;
            case 6: g.Draw(b, x, y, sx, sy, w, h); break;
            case 7: g.Draw(b, x, y, sx, sy, w, h, alpha); break;
            case 8: g.DrawImage(b, x, y, w, h); break;
            case 9: g.DrawImage(b, Gdiplus::Rect(x, y, w, h)); break;
            case 10:
                g.DrawImage(b, Gdiplus::RectF(float(x), float(y), float(w), float(h)),
                            Gdiplus::RectF(float(sx), float(sy), float(w), float(h)));
                break;
            case 11: g.FillRectangle(x, y, w, h, 1, 2, 3); break;
            case 12: g.FillRectangle(gen() % 2 ? &hatch : &texture, x, y, w, h); break;
            case 13: g.DrawLine(&pen, x, y, sx, sy); break;
            case 14: g.DrawRectangle(&pen, x, y, w, h); break;
            case 15: g.Draw(L"guard", x, y, &font, &textBrush); break;
            case 16: g.Draw(L"guard page text", x, y, w, h, &font, &textBrush, Gdiplus::StringAlignmentCenter); break;
            case 17:
                g.SetBackBitmap(b);
                g.DrawBack();
                break;
            case 18: {  // sprites of every kind at the same place, whole then in parts
                CVorSprite s[6];
                s[0].Init(&tga);
                s[1].Init(b);
                s[2].Init(&pen, int(gen() % 2));
                s[3].Init(&hatch);
                s[4].Init(&colour);
                s[5].Init(&font, "text", Gdiplus::Color(255, 0, 255, 0), Gdiplus::StringAlignmentNear);
                g.InitSprite();
                for (CVorSprite& one : s) g.AddSprite(&one, x, y, w, h, sx, sy, alpha);
                g.DrawSprite(false);
                g.InitSprite();
                g.GetZang().AddRect(CVorRect(Place(gen, 1100), Place(gen, 20), Extent(gen, 1200), Extent(gen, 30)));
                for (CVorSprite& one : s) g.AddSprite(&one);
                g.DrawSprite(false);
                g.InitSprite();
                g.DrawSprite(false);
                break;
            }
            case 19: g.AddSprite(nullptr, x, y, w, h, "x", Gdiplus::Color(255, 1, 1, 1), Gdiplus::StringAlignmentFar); break;
            case 20: {  // presentation of dirty rectangles anywhere
                g.InitGraphics(&target);
                g.GetZang().AddRect(CVorRect(x, y, w, h));
                g.DrawDC();
                g.InitSprite();
                break;
            }
            default: g.DrawBack(); break;
        }
    }
    CHECK(g.GetGraphics() != nullptr);
}
