// Null and bad arguments: every public member that takes a pointer is given null, every size or id
// 0 and negatives. Nothing is drawn, nothing crashes, and the failure is in the last status where
// the class keeps one.
#include <doctest.h>

#include <climits>

#include "BitmapTestFiles.h"
#include "tga/TgaTestKit.h"

namespace {

struct Scene {
    CVorGraphics g;
    TestWindow window{32, 24};
    CClientDC target{window.Handle()};
    Scene() {
        EnsureGdiplus();
        REQUIRE(g.Init(32, 24));
        g.InitGraphics(&target);
        REQUIRE(g.GetGraphics() != nullptr);
        FillBytes(g, 0x3C);
    }
    std::vector<uint8_t> Pixels() const { return Snapshot(g); }
};


const int kBadSizes[] = {0, -1, -7, INT_MIN};

}  // namespace

TEST_CASE("surface drawing with null pictures, tools and text draws nothing") {
    Scene s;
    CVorGraphics& g = s.g;
    const std::vector<uint8_t> before = s.Pixels();
    CVorTga* noTga = nullptr;
    CVorBitmap* noBitmap = nullptr;
    g.Draw(noTga, 0, 0);
    g.Draw(noTga, 0, 0, 0, 0, 5, 5);
    g.Draw(noTga, 0, 0, 0, 0, 5, 5, 128);
    g.Draw(noBitmap, 0, 0);
    g.DrawImage(noBitmap, 0, 0);
    g.Draw(noBitmap, 0, 0, 128);
    g.Draw(noBitmap, 0, 0, 0, 0, 5, 5);
    g.Draw(noBitmap, 0, 0, 0, 0, 5, 5, 128);
    g.DrawImage(noBitmap, 0, 0, 5, 5);
    g.DrawImage(noBitmap, Gdiplus::Rect(0, 0, 5, 5));
    g.DrawImage(noBitmap, Gdiplus::RectF(0, 0, 5, 5), Gdiplus::RectF(0, 0, 5, 5));
    g.FillRectangle(static_cast<CVorBrush*>(nullptr), 0, 0, 10, 10);
    g.DrawLine(nullptr, 0, 0, 10, 10);
    g.DrawRectangle(nullptr, 0, 0, 10, 10);
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
    g.Draw(static_cast<const wchar_t*>(nullptr), 0, 0, &font, &white);
    g.Draw(L"text", 0, 0, static_cast<CVorFont*>(nullptr), &white);
    g.Draw(static_cast<const wchar_t*>(nullptr), 0, 0, 20, 20, &font, &white, Gdiplus::StringAlignmentNear);
    g.Draw(L"text", 0, 0, 20, 20, nullptr, &white, Gdiplus::StringAlignmentNear);
    g.Draw(L"text", 0, 0, &font, nullptr);  // GDI+ refuses the null brush
    g.Draw(L"text", 0, 0, 20, 20, &font, nullptr, Gdiplus::StringAlignmentCenter);
    g.SetBackBitmap(nullptr);
    g.DrawBack();  // the background copy was never filled: it is drawn, but it is not garbage
    const std::vector<uint8_t> after = s.Pixels();
    // DrawBack restores the background copy (all zero) over everything; before it nothing else drew.
    for (uint8_t b : after) CHECK(b == 0);
    FillBytes(g, 0x3C);
    (void)before;

    // Empty pictures and tools (made, never loaded) draw nothing either.
    const std::vector<uint8_t> clean = s.Pixels();
    CVorTga emptyTga;
    CVorBitmap emptyBitmap;
    CVorPen emptyPen;
    CVorBrush emptyBrush;
    CVorFont emptyFont;
    g.Draw(&emptyTga, 0, 0);
    g.Draw(&emptyTga, 0, 0, 0, 0, 5, 5, 200);
    g.Draw(&emptyBitmap, 0, 0);
    g.Draw(&emptyBitmap, 0, 0, 0, 0, 5, 5);
    g.Draw(&emptyBitmap, 0, 0, 0, 0, 5, 5, 100);
    g.DrawImage(&emptyBitmap, 0, 0, 5, 5);
    g.FillRectangle(&emptyBrush, 0, 0, 10, 10);
    g.DrawLine(&emptyPen, 0, 0, 10, 10);
    g.DrawRectangle(&emptyPen, 0, 0, 10, 10);
    g.Draw(L"text", 0, 0, &emptyFont, &white);
    g.SetBackBitmap(&emptyBitmap);
    CHECK(s.Pixels() == clean);
}

TEST_CASE("zero and negative sizes draw nothing") {
    Scene s;
    CVorGraphics& g = s.g;
    const std::vector<uint8_t> clean = s.Pixels();
    const std::vector<uint8_t> file = tgakit::MakeTga(4, 4, std::vector<tgakit::Bgra>(16, {1, 2, 3, 255}), {});
    CVorTga tga;
    REQUIRE(tga.InitFromMemory(file.data(), file.size()));
    std::vector<uint8_t> block(4 * 4 * 3, 0x77);
    BITMAPINFO info = MemoryImageHeader(4, 4);
    CVorBitmap memory(block.data(), int(block.size()), info, 0);
    CVorPen pen(255, 0, 0, 1.0f, Gdiplus::DashStyleSolid);
    CVorBrush brush(Gdiplus::HatchStyleCross, Gdiplus::Color(255, 9, 9, 9), Gdiplus::Color(255, 9, 9, 9));
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
    for (int bad : kBadSizes) {
        CAPTURE(bad);
        g.Draw(&tga, 2, 2, 0, 0, 0, 4);  // a TGA block of no width (negative means "all of it")
        g.Draw(&tga, 2, 2, 0, 0, 4, 0, 200);
        g.Draw(&memory, 2, 2, 0, 0, bad, 4);
        g.Draw(&memory, 2, 2, 0, 0, 4, bad);
        g.Draw(&memory, 2, 2, 0, 0, bad, bad, 100);
        g.DrawImage(&memory, 2, 2, bad, 4);
        g.FillRectangle(2, 2, bad, 5, 1, 2, 3);
        g.FillRectangle(2, 2, 5, bad, 1, 2, 3);
        g.FillRectangle(&brush, 2, 2, bad, 5);
        g.FillRectangle(&brush, 2, 2, 5, bad);
        g.DrawRectangle(&pen, 2, 2, bad, 5);
        g.DrawRectangle(&pen, 2, 2, 5, bad);
        g.Draw(L"text", 2, 2, bad, 20, &font, &white, Gdiplus::StringAlignmentNear);
        g.Draw(L"text", 2, 2, 20, bad, &font, &white, Gdiplus::StringAlignmentNear);
        CHECK(s.Pixels() == clean);
    }
}

TEST_CASE("surface sizes of 0 and negatives leave no pixels, and drawing on it is harmless") {
    EnsureGdiplus();
    const int sizes[][2] = {{0, 0}, {0, 5}, {5, 0}, {-1, 5}, {5, -1}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}};
    for (const auto& size : sizes) {
        CAPTURE(size[0]);
        CAPTURE(size[1]);
        CVorGraphics g;
        const bool made = g.Init(size[0], size[1]);
        CHECK(made);  // false only when the header cannot be allocated
        if (size[0] < 0 || size[1] < 0 || size[0] == INT_MAX) CHECK(g.GetPixels() == nullptr);
        CHECK(g.GetBackCopy() == nullptr);
        g.InitGraphics(static_cast<CPaintDC*>(nullptr));
        CVorTga tga;
        g.Draw(&tga, 0, 0);
        g.FillRectangle(0, 0, 10, 10, 1, 2, 3);
        g.DrawBack();
        g.InitSprite();
        CVorSprite sprite;
        CVorColor colour(1, 2, 3);
        sprite.Init(&colour);
        g.AddSprite(&sprite, 0, 0, 5, 5, 0, 0, 255);
        g.DrawSprite(true);
        g.DrawDC();
    }
    // Calls before any Init or InitGraphics.
    CVorGraphics fresh;
    CHECK(fresh.GetGraphics() == nullptr);
    CHECK(fresh.GetMemDC() == nullptr);
    fresh.DrawDC();
    fresh.DrawBack();
    fresh.DeleteGraphics();
    fresh.InitGraphics(static_cast<HDC>(nullptr));
    fresh.InitGraphics(static_cast<CPaintDC*>(nullptr));
    fresh.DrawSprite(true);
}

TEST_CASE("loaders refuse null and bad arguments and say so") {
    EnsureGdiplus();
    CVorTga tga;
    CHECK_FALSE(tga.Init(nullptr));
    CHECK_FALSE(tga.Init(""));
    CHECK_FALSE(tga.InitFromMemory(nullptr, 100));
    const uint8_t one = 0;
    CHECK_FALSE(tga.InitFromMemory(&one, 0));
    CHECK(tga.GetBuffer() == nullptr);
    CVorTga fromNull(nullptr);
    CHECK(fromNull.GetWidth() == 0);

    std::vector<uint8_t> block(48, 0x42);
    BITMAPINFO info = MemoryImageHeader(4, 4);
    CVorBitmap b;
    b.Init(nullptr, 48, info, 0);
    CHECK(b.GetMemBitmap() == nullptr);
    CHECK(b.GetLastStatus() == Gdiplus::InvalidParameter);
    b.Init(block.data(), -1, info, 0);
    CHECK(b.GetMemBitmap() == nullptr);
    CHECK(b.GetLastStatus() == Gdiplus::InvalidParameter);
    b.Init(block.data(), INT_MIN, info, 1, 2, 3);
    CHECK(b.GetMemBitmap() == nullptr);
    CHECK(b.GetLastStatus() == Gdiplus::InvalidParameter);
    b.Init(static_cast<const wchar_t*>(nullptr));
    REQUIRE(b.GetBitmap() != nullptr);  // a failed load keeps a GDI+ object with the failure
    CHECK(b.GetBitmap()->GetLastStatus() != Gdiplus::Ok);
    CHECK(b.GetLastStatus() == Gdiplus::InvalidParameter);
    b.Init(static_cast<const wchar_t*>(nullptr), 1, 2, 3);
    CHECK(b.GetLastStatus() == Gdiplus::InvalidParameter);
    b.InitGif(nullptr);
    CHECK(b.GetLastStatus() == Gdiplus::InvalidParameter);
    CHECK(b.GetFrames() == 0);
    b.Init(L"");
    REQUIRE(b.GetBitmap() != nullptr);
    CHECK(b.GetBitmap()->GetLastStatus() != Gdiplus::Ok);
    CHECK(b.GetLastStatus() != Gdiplus::Ok);
    for (unsigned id : {0u, 0xFFFFu, 0xFFFFFFFFu}) {
        CAPTURE(id);
        b.Init(id);
        REQUIRE(b.GetBitmap() != nullptr);
        CHECK(b.GetBitmap()->GetLastStatus() != Gdiplus::Ok);
        CHECK(b.GetLastStatus() != Gdiplus::Ok);
        CHECK(b.GetWidth() == 0);
    }
    // A memory image whose header has no area draws nothing, whatever its block.
    CVorGraphics g;
    REQUIRE(g.Init(16, 16));
    FillBytes(g, 0x11);
    const std::vector<uint8_t> clean = Snapshot(g);
    for (int bad : kBadSizes) {
        CAPTURE(bad);
        BITMAPINFO header = MemoryImageHeader(bad, 4);
        CVorBitmap m(block.data(), int(block.size()), header, 0);
        g.Draw(&m, 0, 0);
        g.Draw(&m, 0, 0, 0, 0, 4, 4, 100);
        g.SetBackBitmap(&m);
        BITMAPINFO tall = MemoryImageHeader(4, bad);
        CVorBitmap t(block.data(), int(block.size()), tall, 1);
        g.Draw(&t, 0, 0);
        g.Draw(&t, 0, 0, 0, 0, 8, 8);  // zoomed
        CHECK(Snapshot(g) == clean);
    }

    // Tools: a null image, null or unknown face, zero and negative sizes.
    CVorBrush brush;
    brush.Init(static_cast<CVorBitmap*>(nullptr), Gdiplus::WrapModeTile);
    CHECK(brush.GetTextureBrush() == nullptr);
    CHECK(brush.GetLastStatus() == Gdiplus::InvalidParameter);
    CVorBitmap memory(block.data(), int(block.size()), info, 0);
    brush.Init(&memory, Gdiplus::WrapModeClamp);  // a memory image makes no texture
    CHECK(brush.GetTextureBrush() == nullptr);
    CHECK(brush.GetLastStatus() == Gdiplus::InvalidParameter);

    CVorFont font;
    font.Init(12, nullptr, Gdiplus::FontStyleRegular);
    CHECK(font.GetLastStatus() != Gdiplus::Ok);
    font.Init(12, L"No Such Family 4711", Gdiplus::FontStyleRegular);
    CHECK(font.GetLastStatus() != Gdiplus::Ok);
    for (int bad : kBadSizes) {
        CAPTURE(bad);
        font.Init(bad, L"DejaVu Sans", Gdiplus::FontStyleRegular);
        REQUIRE(font.GetFont() != nullptr);  // kept with its failure, as GDI+ reports it
        CHECK(font.GetFont()->GetLastStatus() == Gdiplus::InvalidParameter);
        CHECK_FALSE(font.GetFont()->IsAvailable());
        CHECK(font.GetLastStatus() == Gdiplus::InvalidParameter);
        CHECK(font.GetSize() == 0.0f);
    }
    // Pens of odd widths and styles are GDI+'s to judge; drawing with them is harmless.
    CVorPen pen;
    g.InitGraphics(static_cast<CPaintDC*>(nullptr));
    REQUIRE(g.GetGraphics() != nullptr);
    pen.Init(1, 2, 3, -4.0f, Gdiplus::DashStyleSolid);
    g.DrawLine(&pen, 0, 0, 10, 10);
    pen.Init(1, 2, 3, 1.0f, Gdiplus::DashStyle(-3));
    g.DrawLine(&pen, 0, 0, 10, 10);
}

TEST_CASE("sprites of null things and bad sizes draw nothing") {
    Scene s;
    CVorGraphics& g = s.g;
    g.SetNowFont(nullptr);
    const std::vector<uint8_t> clean = s.Pixels();
    CVorSprite sprites[8];
    sprites[0].Init(static_cast<CVorTga*>(nullptr));
    sprites[1].Init(static_cast<CVorBitmap*>(nullptr));
    sprites[2].Init(static_cast<CVorBitmap*>(nullptr), nullptr);
    sprites[3].Init(static_cast<CVorPen*>(nullptr), 1);
    sprites[4].Init(static_cast<CVorColor*>(nullptr));
    sprites[5].Init(static_cast<CVorBrush*>(nullptr));
    sprites[6].Init(static_cast<CVorFont*>(nullptr), nullptr, Gdiplus::Color(255, 1, 1, 1),
                    Gdiplus::StringAlignmentNear);
    CHECK(std::string(sprites[6].GetStringA()).empty());
    CVorColor colour(200, 100, 50);
    sprites[7].Init(&colour);
    g.InitSprite();
    for (int i = 0; i < 7; ++i) g.AddSprite(&sprites[i], 1, 1, 10, 10, 0, 0, 255);
    for (int bad : kBadSizes) g.AddSprite(&sprites[7], 1, 1, bad, bad, -5, -5, 255);  // a colour of no size
    g.AddSprite(static_cast<CVorSprite*>(nullptr));
    g.AddSprite(nullptr, 1, 1, 10, 10, 0, 0, 255);
    g.AddSprite(nullptr, 1, 1, 255);
    g.AddSprite(nullptr, 1, 1, 10, 10, "text", Gdiplus::Color(255, 1, 1, 1), Gdiplus::StringAlignmentNear);
    g.AddSprite(&sprites[0], nullptr, 1, 1, 10, 10, "text", Gdiplus::Color(255, 1, 1, 1),
                Gdiplus::Color(255, 2, 2, 2), Gdiplus::StringAlignmentNear);
    // A text sprite with no current font (null) holds the text and draws nothing.
    CVorSprite text, shadow;
    g.AddSprite(&text, &shadow, 1, 1, 20, 10, nullptr, Gdiplus::Color(255, 1, 1, 1), Gdiplus::Color(255, 2, 2, 2),
                Gdiplus::StringAlignmentNear);
    g.DrawSprite(true);
    CHECK(s.Pixels() == clean);
    g.InitSprite();
    g.DrawSprite(true);
    g.ClearSprite();

    // The resource module: null falls back to the host executable.
    AfxSetResourceHandle(nullptr);
    CHECK(AfxGetResourceHandle() == ::GetModuleHandleA(nullptr));
}
