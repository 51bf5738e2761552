// CVorSpriteRect and CVorSprite: placement, the dirty decision, sizes of each kind, text
// handling, copies, and the GIF frame stepper on a fake clock.
#include <doctest.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "SpriteAssets.h"
#include "TestSupport.h"

namespace {

bool SameRect(const CVorRect& r, int x, int y, int w, int h) { return r.X == x && r.Y == y && r.Width == w && r.Height == h; }

Gdiplus::ARGB BrushArgb(const Gdiplus::SolidBrush* brush) {
    Gdiplus::Color c;
    REQUIRE(brush != nullptr);
    REQUIRE(brush->GetColor(&c) == Gdiplus::Ok);
    return c.GetValue();
}

void MakeTga(CVorTga& tga, int w, int h) {
    REQUIRE(LoadTga(tga, w, h, [](int x, int y) { return Bgra{uint8_t(x), uint8_t(y), 7, 255}; }));
}

// Two frames, 8 x 6: frame 0 all palette 1 (red), frame 1 all palette 2 (blue).
const uint8_t kGifPalette[4][3] = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {0, 255, 0}};

std::string WriteTwoFrameGif(const char* name, int delay) {
    std::vector<std::vector<uint8_t>> frames = {std::vector<uint8_t>(48, 1), std::vector<uint8_t>(48, 2)};
    return WriteTempFile(name, MakeGifBytes(8, 6, kGifPalette, frames, delay));
}

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// Red of the GDI+ bitmap's active frame at (0, 0).
int ActiveFrameRed(CVorBitmap& bitmap) {
    Gdiplus::Color c;
    REQUIRE(bitmap.GetBitmap() != nullptr);
    REQUIRE(bitmap.GetBitmap()->GetPixel(0, 0, &c) == Gdiplus::Ok);
    return c.GetR();
}

void NoProc(CVorSprite*) {}
void OtherProc(CVorSprite*) {}

}  // namespace

TEST_CASE("a new sprite rect is dirty and empty") {
    CVorSpriteRect r;
    CHECK(r.IsZang() == 1);
    CHECK(r.IsQiangzhiZang() == 0);
    CHECK(SameRect(*r.GetNewRect(), 0, 0, 0, 0));
    CHECK(SameRect(*r.GetOldRect(), 0, 0, 0, 0));
    CHECK(r.GetSrcX() == 0);
    CHECK(r.GetSrcY() == 0);
}

TEST_CASE("SetNewRect: changes of place, size or source make dirty; nothing changed clears it") {
    CVorSpriteRect r;
    r.SetNewRect(1, 2, 3, 4, 5, 6);
    CHECK(r.IsZang() == 1);
    CHECK(SameRect(*r.GetNewRect(), 1, 2, 3, 4));
    CHECK(r.GetSrcX() == 5);
    CHECK(r.GetSrcY() == 6);
    CHECK(r.GetX() == 1);
    CHECK(r.GetY() == 2);
    CHECK(r.GetWidth() == 3);
    CHECK(r.GetHeight() == 4);

    r.SetZang(7);
    r.SetNewRect(1, 2, 3, 4, 5, 6);
    CHECK(r.IsZang() == 0);  // whatever it was before
    CHECK(SameRect(*r.GetOldRect(), 0, 0, 0, 0));

    r.SetNewRect(1, 2, 3, 4, 5, 9);  // only the source moved
    CHECK(r.IsZang() == 1);
    CHECK(SameRect(*r.GetOldRect(), 1, 2, 3, 4));
    CHECK(r.GetSrcY() == 9);

    r.SetNewRect(1, 2, 3, 5, 5, 9);  // only the height
    CHECK(r.IsZang() == 1);

    // A forced flag other than exactly 1 is not consumed.
    r.SetQiangzhiZang(2);
    r.SetNewRect(1, 2, 3, 5, 5, 9);
    CHECK(r.IsZang() == 0);
    CHECK(r.IsQiangzhiZang() == 2);

    CVorSpriteRect copy;
    copy = r;
    CHECK(SameRect(*copy.GetNewRect(), 1, 2, 3, 5));
    CHECK(SameRect(*copy.GetOldRect(), 1, 2, 3, 4));
    CHECK(copy.IsQiangzhiZang() == 2);
    CHECK(copy.GetSrcY() == 9);
}

TEST_CASE("TGA sprite: SetRect takes the image size; repeated, alpha-only and forced placements") {
    EnsureGdiplus();
    CVorTga tga;
    MakeTga(tga, 40, 30);
    CVorSprite s;
    CHECK(s.GetAlpha() == 255);
    CHECK(s.GetUpdate() == 0);
    CHECK(((s).GetpfnAnmaionProc() == nullptr));
    s.Init(&tga);
    CHECK(s.GetTga() == &tga);
    s.SetRect(5, 7, 255);
    CHECK(SameRect(*s.GetNewRect(), 5, 7, 40, 30));
    CHECK(SameRect(*s.GetOldRect(), 0, 0, 0, 0));
    CHECK(s.IsZang() == 1);

    s.SetRect(5, 7, 255);
    CHECK(s.IsZang() == 0);
    CHECK(SameRect(*s.GetNewRect(), 5, 7, 40, 30));
    CHECK(SameRect(*s.GetOldRect(), 0, 0, 0, 0));

    s.SetRect(5, 7, 128);
    CHECK(s.GetAlpha() == 128);
    CHECK(s.IsZang() == 0);

    s.SetQiangzhiZang(1);
    s.SetRect(5, 7, 255);
    CHECK(s.IsZang() == 1);
    CHECK(s.IsQiangzhiZang() == 0);
    CHECK(SameRect(*s.GetOldRect(), 5, 7, 40, 30));
    CHECK(SameRect(*s.GetNewRect(), 5, 7, 40, 30));

    // An explicit size wins over the image's; a negative source offset becomes 0.
    s.SetRect(1, 2, 10, 0, -4, -1, 255);
    CHECK(SameRect(*s.GetNewRect(), 1, 2, 10, 30));
    CHECK(s.GetSrcX() == 0);
    CHECK(s.GetSrcY() == 0);
    s.SetRect(1, 2, 10, 5, 3, 4, 255);
    CHECK(s.GetSrcX() == 3);
    CHECK(s.GetSrcY() == 4);
}

TEST_CASE("each Init selects one kind and clears the other five") {
    EnsureGdiplus();
    CVorTga tga;
    MakeTga(tga, 4, 4);
    CVorBitmap bitmap;
    CVorPen pen;
    CVorColor colour(1, 2, 3);
    CVorBrush brush;
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    CVorSprite s;
    s.Init(&font, "text", Gdiplus::Color(255, 1, 2, 3), Gdiplus::StringAlignmentCenter);
    CHECK(s.GetFont() == &font);
    CHECK(s.GetSolidBrush() != nullptr);
    CHECK(s.GetStringAlignment() == Gdiplus::StringAlignmentCenter);

    s.Init(&tga);
    CHECK(s.GetTga() == &tga);
    CHECK(s.GetFont() == nullptr);
    CHECK(s.GetSolidBrush() == nullptr);  // the text brush went with the text kind
    CHECK(std::string(s.GetStringA()) == "text");  // the narrow text stays

    s.Init(&pen, 1);
    CHECK(s.GetPen() == &pen);
    CHECK(s.GetBox() == 1);
    CHECK(s.GetTga() == nullptr);
    s.Init(&colour);
    CHECK(s.GetColor() == &colour);
    CHECK(s.GetPen() == nullptr);
    CHECK(s.GetBox() == 1);  // only the pen overload sets the box flag
    s.Init(&brush);
    CHECK(s.GetBrush() == &brush);
    CHECK(s.GetColor() == nullptr);
    s.Init(&bitmap, &NoProc);
    CHECK(s.GetBitmap() == &bitmap);
    CHECK(s.GetBrush() == nullptr);
    CHECK(((s).GetpfnAnmaionProc() == &NoProc));
    s.SetRect(0, 0, 3, 3, 0, 0, 90);
    s.Init(&tga);
    CHECK(s.GetBitmap() == nullptr);
    CHECK(s.GetAlpha() == 255);
    CHECK(((s).GetpfnAnmaionProc() == nullptr));
}

TEST_CASE("pen, colour and brush sprites: the shape rectangle and a sprite rectangle one larger") {
    EnsureGdiplus();
    CVorPen pen(255, 0, 0, 1.0f, Gdiplus::DashStyleSolid);
    CVorSprite s;
    s.Init(&pen, 0);
    s.SetRect(10, 20, 30, 0, 0, 0, 255);
    CHECK(s.GetPenX() == 10);
    CHECK(s.GetPenY() == 20);
    CHECK(s.GetPenWidth() == 30);
    CHECK(s.GetPenHeight() == 0);
    CHECK(SameRect(*s.GetNewRect(), 10, 20, 31, 1));

    CVorColor colour(9, 8, 7);
    s.Init(&colour);
    CHECK(s.GetPenWidth() == 0);  // re-Init empties the shape
    CHECK(SameRect(*s.GetNewRect(), 0, 0, 0, 0));
    CHECK(SameRect(*s.GetOldRect(), 10, 20, 31, 1));
    s.SetRect(-5, 4, 6, 7, 0, 0, 255);
    CHECK(SameRect(*s.GetNewRect(), -5, 4, 7, 8));

    // Extreme sizes do not wrap around.
    s.SetRect(0, 0, 2147483647, 2147483647, 0, 0, 255);
    CHECK(s.GetWidth() == 2147483647);
    CHECK(s.GetHeight() == 2147483647);
}

TEST_CASE("text sprite: size estimated from the font size and the text length") {
    EnsureGdiplus();
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    REQUIRE(font.GetSize() == doctest::Approx(12.0));
    CVorSprite s;
    s.Init(&font, "", Gdiplus::Color(255, 0, 0, 0), Gdiplus::StringAlignmentNear);
    // A fresh sprite has no font, so an empty text with a font still counts as a change.
    CHECK(s.GetFont() == &font);
    s.SetRect(3, 4, 0, 0, 0, 0, 255);
    CHECK(SameRect(*s.GetNewRect(), 3, 4, 18, 18));  // trunc(0.75 * 12) * (0 + 2), trunc(1.5 * 12)

    CVorSprite t;
    t.Init(&font, "abcd", Gdiplus::Color(255, 0, 0, 0), Gdiplus::StringAlignmentNear);
    t.SetRect(0, 0, 0, 0, 0, 0, 255);
    CHECK(t.GetWidth() == 9 * 6);
    CHECK(t.GetHeight() == 18);
    CHECK(std::wcscmp(t.GetString(), L"abcd") == 0);
    CHECK(t.GetStringW() == t.GetString());
    CHECK(std::string(t.GetStringA()) == "abcd");

    CVorFont odd(15, L"DejaVu Sans", Gdiplus::FontStyleBold);
    CVorSprite u;
    u.Init(&odd, "x", Gdiplus::Color(255, 0, 0, 0), Gdiplus::StringAlignmentNear);
    u.SetRect(0, 0, 0, 0, 0, 0, 255);
    CHECK(u.GetWidth() == 11 * 3);  // trunc(11.25) * 3
    CHECK(u.GetHeight() == 22);     // trunc(22.5)
}

TEST_CASE("text re-Init: same font and text keep colour and placement; another text takes the new colour") {
    EnsureGdiplus();
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    CVorSprite s;
    char text[] = "score";
    s.Init(&font, text, Gdiplus::Color(255, 200, 10, 20), Gdiplus::StringAlignmentNear);
    s.SetRect(30, 40, 100, 20, 0, 0, 255);
    s.SetRect(30, 40, 100, 20, 0, 0, 255);
    REQUIRE(s.IsZang() == 0);
    Gdiplus::SolidBrush* brush = s.GetSolidBrush();

    std::string same = "score";  // equal bytes at another address
    s.Init(&font, same.c_str(), Gdiplus::Color(255, 0, 0, 255), Gdiplus::StringAlignmentFar);
    CHECK(s.GetSolidBrush() == brush);
    CHECK(BrushArgb(s.GetSolidBrush()) == Gdiplus::Color(255, 200, 10, 20).GetValue());
    CHECK(s.GetStringAlignment() == Gdiplus::StringAlignmentNear);
    CHECK(SameRect(*s.GetNewRect(), 30, 40, 100, 20));
    CHECK(s.IsZang() == 0);

    s.Init(&font, "scores", Gdiplus::Color(255, 0, 0, 255), Gdiplus::StringAlignmentFar);
    CHECK(BrushArgb(s.GetSolidBrush()) == Gdiplus::Color(255, 0, 0, 255).GetValue());
    CHECK(s.GetStringAlignment() == Gdiplus::StringAlignmentFar);
    CHECK(SameRect(*s.GetNewRect(), 0, 0, 0, 0));
    CHECK(SameRect(*s.GetOldRect(), 30, 40, 100, 20));
    CHECK(s.IsZang() == 1);

    // Same text with another font is a change too.
    CVorFont other(14, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    s.Init(&other, "scores", Gdiplus::Color(255, 1, 1, 1), Gdiplus::StringAlignmentNear);
    CHECK(s.GetFont() == &other);
    CHECK(BrushArgb(s.GetSolidBrush()) == Gdiplus::Color(255, 1, 1, 1).GetValue());

    // A null text is the empty text.
    s.Init(&other, nullptr, Gdiplus::Color(255, 1, 1, 1), Gdiplus::StringAlignmentNear);
    CHECK(std::string(s.GetStringA()).empty());
    CHECK(s.GetString()[0] == L'\0');
}

TEST_CASE("a converted text longer than 1023 units is cut at 1023, the buffer never overrun") {
    EnsureGdiplus();
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    for (size_t length : {size_t(1022), size_t(1023), size_t(1024), size_t(2000), size_t(100000)}) {
        CAPTURE(length);
        CVorSprite s;
        std::string text(length, 'a');
        for (size_t i = 0; i < length; ++i) text[i] = char('a' + i % 26);
        s.Init(&font, text.c_str(), Gdiplus::Color(255, 9, 9, 9), Gdiplus::StringAlignmentNear);
        const size_t kept = length < 1023 ? length : 1023;
        REQUIRE(std::wcslen(s.GetString()) == kept);
        for (size_t i = 0; i < kept; ++i) REQUIRE(s.GetString()[i] == wchar_t('a' + i % 26));
        CHECK(std::string(s.GetStringA()) == text);  // the narrow text is kept whole
        // The fields after the buffer are intact.
        CHECK(BrushArgb(s.GetSolidBrush()) == Gdiplus::Color(255, 9, 9, 9).GetValue());
        CHECK(s.GetFont() == &font);
        CHECK(s.GetAlpha() == 255);
        s.SetRect(0, 0, 0, 0, 0, 0, 255);
        CHECK(s.GetWidth() == int(9 * (length + 2)));
    }
}

TEST_CASE("copies keep the text colour and own their text brush") {
    EnsureGdiplus();
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    const Gdiplus::ARGB red = Gdiplus::Color(255, 255, 0, 0).GetValue();
    const Gdiplus::ARGB green = Gdiplus::Color(128, 0, 255, 0).GetValue();

    CVorSprite* a = new CVorSprite;
    a->Init(&font, "copy me", Gdiplus::Color(red), Gdiplus::StringAlignmentCenter);
    a->SetRect(1, 2, 0, 0, 0, 0, 77);
    a->SetSort(5);
    a->SetUpdate(1);

    CVorSprite b(*a);
    CHECK(b.GetSolidBrush() != nullptr);
    CHECK(b.GetSolidBrush() != a->GetSolidBrush());
    CHECK(BrushArgb(b.GetSolidBrush()) == red);
    CHECK(std::wcscmp(b.GetString(), L"copy me") == 0);
    CHECK(std::string(b.GetStringA()) == "copy me");
    CHECK(b.GetFont() == &font);
    CHECK(b.GetStringAlignment() == Gdiplus::StringAlignmentCenter);
    CHECK(*b.GetNewRect() == *a->GetNewRect());
    CHECK(b.GetAlpha() == 77);
    CHECK(b.GetSort() == 5);
    CHECK(b.GetUpdate() == 1);

    CVorSprite c;
    c.Init(&font, "other", Gdiplus::Color(green), Gdiplus::StringAlignmentNear);
    c = *a;  // releases c's own brush, takes a clone
    CHECK(c.GetSolidBrush() != a->GetSolidBrush());
    CHECK(BrushArgb(c.GetSolidBrush()) == red);
    CHECK(std::string(c.GetStringA()) == "copy me");

    delete a;  // the copies' brushes are their own
    CHECK(BrushArgb(b.GetSolidBrush()) == red);
    CHECK(BrushArgb(c.GetSolidBrush()) == red);

    Gdiplus::SolidBrush* before = c.GetSolidBrush();
    CVorSprite& self = c;
    c = self;
    CHECK(c.GetSolidBrush() == before);
    CHECK(BrushArgb(c.GetSolidBrush()) == red);

    // A sprite without a text brush copies as one without.
    CVorSprite plain;
    c = plain;
    CHECK(c.GetSolidBrush() == nullptr);
    CVorSprite d(plain);
    CHECK(d.GetSolidBrush() == nullptr);

    // Many copies and assignments of a text sprite: every brush released once (no crash, no double delete).
    CVorSprite source;
    source.Init(&font, "loop", Gdiplus::Color(green), Gdiplus::StringAlignmentNear);
    for (int i = 0; i < 200; ++i) {
        CVorSprite x(source);
        CVorSprite y;
        y = x;
        y = source;
        CHECK(BrushArgb(y.GetSolidBrush()) == green);
    }
}

TEST_CASE("Init(bitmap, proc): null keeps the animation procedure, a proc replaces it") {
    EnsureGdiplus();
    CVorBitmap bitmap;
    CVorSprite s;
    s.Init(&bitmap, &OtherProc);
    CHECK(((s).GetpfnAnmaionProc() == &OtherProc));
    s.Init(&bitmap, nullptr);
    CHECK(((s).GetpfnAnmaionProc() == &OtherProc));
    s.Init(&bitmap, &NoProc);
    CHECK(((s).GetpfnAnmaionProc() == &NoProc));
    s.Init(&bitmap);  // a still bitmap: no procedure
    CHECK(((s).GetpfnAnmaionProc() == nullptr));
}

TEST_CASE("a sprite re-initialised and placed elsewhere in one frame forgets its first place") {
    EnsureGdiplus();
    CVorTga one, two;
    MakeTga(one, 10, 10);
    MakeTga(two, 12, 8);
    CVorSprite s;
    s.Init(&one);
    s.SetRect(50, 60, 255);  // P1
    s.SetRect(50, 60, 255);
    s.Init(&two);
    CHECK(SameRect(*s.GetOldRect(), 50, 60, 10, 10));
    CHECK(SameRect(*s.GetNewRect(), 0, 0, 0, 0));
    s.SetRect(5, 6, 255);  // P2
    CHECK(SameRect(*s.GetOldRect(), 0, 0, 0, 0));
    CHECK(SameRect(*s.GetNewRect(), 5, 6, 12, 8));
}

TEST_CASE("animated GIF: the frame stepper on a fake clock") {
    EnsureGdiplus();
    const std::string path = WriteTwoFrameGif("vor_sprite_two_frames.gif", 10);
    CVorBitmap gif;
    gif.InitGif(Widen(path).c_str());
    REQUIRE(gif.GetFrames() == 2);
    REQUIRE(gif.GetDelayTime() == 10);
    REQUIRE(gif.GetWidth() == 8);
    CHECK(ActiveFrameRed(gif) == 255);

    CVorSprite s;
    s.Init(&gif);
    CHECK(((s).GetpfnAnmaionProc() == &CVorSprite::StepFrame));
    CHECK(s.GetFrameIndex() == 0);
    CHECK(s.GetFrameTick() == 0u);
    s.SetRect(0, 0, 255);
    s.SetRect(0, 0, 255);
    REQUIRE(s.IsZang() == 0);

    s.StepFrameAt(50);
    s.StepFrameAt(100);  // exactly 10 * delay: not yet
    CHECK(s.GetFrameIndex() == 0);
    CHECK(s.IsQiangzhiZang() == 0);
    s.StepFrameAt(101);
    CHECK(s.GetFrameIndex() == 1);
    CHECK(s.GetFrameTick() == 101u);
    CHECK(s.IsQiangzhiZang() == 1);
    CHECK(ActiveFrameRed(gif) == 0);  // frame 1 is blue
    CHECK(s.IsZang() == 0);           // dirty only at the next placement
    s.SetRect(0, 0, 255);
    CHECK(s.IsZang() == 1);
    CHECK(s.IsQiangzhiZang() == 0);

    s.StepFrameAt(201);
    CHECK(s.GetFrameIndex() == 1);
    s.StepFrameAt(202);
    CHECK(s.GetFrameIndex() == 0);  // wraps to the first frame
    CHECK(ActiveFrameRed(gif) == 255);
    s.StepFrameAt(303);
    CHECK(s.GetFrameIndex() == 1);

    // The tick counter wrapping around is harmless.
    s.StepFrameAt(0xFFFFFFF0u);
    CHECK(s.GetFrameIndex() == 0);
    CHECK(s.GetFrameTick() == 0xFFFFFFF0u);
    s.StepFrameAt(0x50);  // 96 ms later
    CHECK(s.GetFrameIndex() == 0);
    s.StepFrameAt(0x55);  // 101 ms later
    CHECK(s.GetFrameIndex() == 1);
    CHECK(s.GetFrameTick() == 0x55u);

    // The real-clock stepper just stepped: a call right after it changes nothing.
    s.StepFrameAt(::GetTickCount());
    const int index = s.GetFrameIndex();
    CVorSprite::StepFrame(&s);
    CHECK(s.GetFrameIndex() == index);
    CVorSprite::StepFrame(nullptr);

    // A sprite that is not a bitmap sprite is left alone by the stepper.
    CVorSprite none;
    none.StepFrameAt(100000);
    CHECK(none.GetFrameIndex() == 0);
    CHECK(none.IsQiangzhiZang() == 0);
}

TEST_CASE("GIF with delay 0 advances on every later tick; a still bitmap gets no stepper") {
    EnsureGdiplus();
    const std::string path = WriteTwoFrameGif("vor_sprite_delay0.gif", 0);
    CVorBitmap gif;
    gif.InitGif(Widen(path).c_str());
    REQUIRE(gif.GetFrames() == 2);
    CVorSprite s;
    s.Init(&gif);
    s.StepFrameAt(0);
    CHECK(s.GetFrameIndex() == 0);
    s.StepFrameAt(1);
    CHECK(s.GetFrameIndex() == 1);
    s.StepFrameAt(2);
    CHECK(s.GetFrameIndex() == 0);

    MemoryImage m = MakeMemoryImage(4, 4, [](int, int) { return Bgra{1, 2, 3, 255}; });
    CVorBitmap still(m.bits.data(), int(m.bits.size()), m.info, 0);
    CVorSprite t;
    t.Init(&still);
    CHECK(((t).GetpfnAnmaionProc() == nullptr));
    t.SetRect(0, 0, 255);
    CHECK(t.GetWidth() == 4);
    CHECK(t.GetHeight() == 4);
}
