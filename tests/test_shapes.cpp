// CVorGraphics shapes and text: the solid-colour fill (exact bytes, clipping, padding) and the GDI+
// hatch and texture fills, lines, frames and text.
#include <doctest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdint>
#include <vector>

#include "TestSupport.h"
#include "ImageFileBytes.h"

namespace {

const uint8_t kSentinel = 0xA5;

// Expected back buffer after a colour fill, worked out pixel by pixel: a pixel changes when the
// half-open rectangle contains it; every other byte, row padding included, keeps the sentinel.
std::vector<uint8_t> ExpectedFill(int width, int height, int stride, int x, int y, int w, int h, uint8_t r,
                                  uint8_t g, uint8_t b) {
    std::vector<uint8_t> bytes(size_t(stride) * height, kSentinel);
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px) {
            const bool inside = int64_t(x) <= px && px < int64_t(x) + w && int64_t(y) <= py && py < int64_t(y) + h;
            if (!inside) continue;
            uint8_t* p = &bytes[size_t(py) * stride + 3 * size_t(px)];
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    return bytes;
}

// Fills on a sentinel-filled surface and compares every byte with the expectation.
void CheckFill(CVorGraphics& s, int x, int y, int w, int h) {
    CAPTURE(x);
    CAPTURE(y);
    CAPTURE(w);
    CAPTURE(h);
    FillBytes(s, kSentinel);
    s.FillRectangle(x, y, w, h, 0x11, 0x22, 0x33);
    const std::vector<uint8_t> want =
        ExpectedFill(int(s.GetWidth()), int(s.GetHeight()), s.GetStride(), x, y, w, h, 0x11, 0x22, 0x33);
    const std::vector<uint8_t> got = Snapshot(s);
    REQUIRE(got.size() == want.size());
    size_t firstDiff = got.size();
    for (size_t i = 0; i < got.size(); ++i)
        if (got[i] != want[i]) {
            firstDiff = i;
            break;
        }
    CHECK(firstDiff == got.size());
}

int CountPixels(const CVorGraphics& g, Bgr colour) {
    int n = 0;
    for (int y = 0; y < int(g.GetHeight()); ++y)
        for (int x = 0; x < int(g.GetWidth()); ++x) n += PixelAt(g, x, y) == colour;
    return n;
}

const Bgr kPaper = {0xFF, 0xFF, 0xFF};
const Bgr kRed = {0, 0, 255};
const Bgr kBlue = {255, 0, 0};

// A surface bound to a memory DC (GDI+ draws into the back buffer), every byte 0xFF.
struct Canvas {
    CVorGraphics g;
    Canvas(int w, int h) {
        EnsureGdiplus();
        g.Init(w, h);
        g.InitGraphics(static_cast<CPaintDC*>(nullptr));
        FillBytes(g, 0xFF);
    }
    // Makes GDI+ and GDI finish before the pixels are read.
    void Sync() {
        if (g.GetGraphics()) g.GetGraphics()->Flush(Gdiplus::FlushIntentionSync);
        ::GdiFlush();
    }
    Bgr At(int x, int y) {
        Sync();
        return PixelAt(g, x, y);
    }
    bool Inked(int x, int y) { return At(x, y) != kPaper; }
    int InkCount() {
        Sync();
        return int(g.GetWidth() * g.GetHeight()) - CountPixels(g, kPaper);
    }
};

// Bounding box of the changed pixels inside [x0, x1) x [y0, y1); left > right when there are none.
struct InkBox {
    int left, top, right, bottom;
    bool Empty() const { return left > right; }
};
InkBox InkIn(Canvas& c, int x0, int y0, int x1, int y1) {
    InkBox box = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    c.Sync();
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (PixelAt(c.g, x, y) != kPaper) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// Texture pixel (x, y): every pixel of the 32 x 32 image has its own colour.
Bgr TexturePixel(int x, int y) { return Bgr{uint8_t(x * 7 + 1), uint8_t(y * 7 + 2), uint8_t(250 - x - y)}; }

// A 24-bit BMP file of size x size pixels of TexturePixel.
std::string WriteTextureBmp(const char* name, int size) {
    const int stride = (size * 3 + 3) & ~3;
    const uint32_t imageBytes = uint32_t(stride * size);
    std::vector<uint8_t> file(54 + imageBytes, 0);
    auto put16 = [&](size_t at, uint32_t v) { file[at] = uint8_t(v); file[at + 1] = uint8_t(v >> 8); };
    auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, uint32_t(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(size));
    put32(22, uint32_t(size));  // bottom-up rows
    put16(26, 1);
    put16(28, 24);
    put32(34, imageBytes);
    for (int y = 0; y < size; ++y) {
        uint8_t* row = &file[54 + size_t(size - 1 - y) * stride];
        for (int x = 0; x < size; ++x) {
            const Bgr c = TexturePixel(x, y);
            row[3 * x + 0] = c.b;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.r;
        }
    }
    return WriteTempFile(name, file);
}

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

bool IdentityTransform(Canvas& c) {
    Gdiplus::Matrix m;
    return c.g.GetGraphics()->GetTransform(&m) == Gdiplus::Ok && m.IsIdentity();
}

}  // namespace

// ---------------------------------------------------------------- colour fill

TEST_CASE("colour fill: the 100 x 50 examples, exact bytes") {
    EnsureGdiplus();
    CVorGraphics s;
    REQUIRE(s.Init(100, 50));
    REQUIRE(s.GetPixels() != nullptr);

    FillBytes(s, kSentinel);
    s.FillRectangle(-10, -10, 30, 30, 255, 0, 0);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            const BYTE* p = s.GetPixels() + y * s.GetStride() + 3 * x;
            const bool inside = x < 20 && y < 20;
            CAPTURE(x);
            CAPTURE(y);
            if (inside) {
                REQUIRE(p[0] == 0);
                REQUIRE(p[1] == 0);
                REQUIRE(p[2] == 255);
            } else {
                REQUIRE(p[0] == kSentinel);
                REQUIRE(p[1] == kSentinel);
                REQUIRE(p[2] == kSentinel);
            }
        }
    CHECK(CountPixels(s, kRed) == 400);

    FillBytes(s, kSentinel);
    s.FillRectangle(90, 40, 30, 30, 255, 0, 0);
    CHECK(CountPixels(s, kRed) == 100);
    CHECK(PixelAt(s, 90, 40) == kRed);
    CHECK(PixelAt(s, 99, 49) == kRed);
    CHECK(PixelAt(s, 89, 45) == Bgr{kSentinel, kSentinel, kSentinel});
    CHECK(PixelAt(s, 95, 39) == Bgr{kSentinel, kSentinel, kSentinel});
    CheckFill(s, 90, 40, 30, 30);
    CheckFill(s, -10, -10, 30, 30);

    const std::vector<uint8_t> before = (FillBytes(s, kSentinel), Snapshot(s));
    s.FillRectangle(100, 0, 5, 5, 255, 0, 0);
    s.FillRectangle(0, 0, 0, 10, 255, 0, 0);
    s.FillRectangle(0, 0, 10, 0, 255, 0, 0);
    s.FillRectangle(0, 50, 10, 10, 255, 0, 0);
    s.FillRectangle(-5, 0, 5, 10, 255, 0, 0);
    s.FillRectangle(0, -5, 10, 5, 255, 0, 0);
    s.FillRectangle(10, 10, -3, 5, 255, 0, 0);
    s.FillRectangle(10, 10, 5, -3, 255, 0, 0);
    CHECK(Snapshot(s) == before);
}

TEST_CASE("colour fill: bytes are blue, green, red and written as is") {
    EnsureGdiplus();
    CVorGraphics s;
    REQUIRE(s.Init(8, 4));
    FillBytes(s, kSentinel);
    s.FillRectangle(2, 1, 1, 1, 1, 2, 3);
    const BYTE* p = s.GetPixels() + 1 * s.GetStride() + 3 * 2;
    CHECK(p[0] == 3);
    CHECK(p[1] == 2);
    CHECK(p[2] == 1);
    CHECK(p[-1] == kSentinel);
    CHECK(p[3] == kSentinel);
    // A second fill overwrites, no blending.
    s.FillRectangle(2, 1, 1, 1, 200, 100, 50);
    CHECK(PixelAt(s, 2, 1) == Bgr{50, 100, 200});
}

TEST_CASE("colour fill: half-open edges, clipping at every edge, row padding untouched") {
    EnsureGdiplus();
    CVorGraphics s;
    REQUIRE(s.Init(37, 23));  // stride 112: one padding byte per row
    REQUIRE(s.GetStride() == 112);

    // Half-open: x + width and y + height are not painted.
    FillBytes(s, kSentinel);
    s.FillRectangle(10, 5, 3, 2, 9, 9, 9);
    const Bgr ink = {9, 9, 9};
    CHECK(PixelAt(s, 10, 5) == ink);
    CHECK(PixelAt(s, 12, 6) == ink);
    CHECK(PixelAt(s, 13, 5) != ink);
    CHECK(PixelAt(s, 10, 7) != ink);
    CHECK(PixelAt(s, 9, 5) != ink);
    CHECK(PixelAt(s, 10, 4) != ink);
    CHECK(CountPixels(s, ink) == 6);

    const int rects[][4] = {
        {10, 5, 3, 2},     // inside
        {0, 0, 37, 23},    // exactly the surface
        {-5, 4, 10, 3},    // left edge
        {30, 4, 10, 3},    // right edge, into the padding column
        {36, 0, 1, 23},    // last column only
        {4, -6, 3, 10},    // top edge
        {4, 20, 3, 10},    // bottom edge
        {0, 22, 37, 1},    // last row only
        {-3, -3, 50, 50},  // all edges at once
        {-3, -3, 3, 3},    // touches the corner from outside: nothing
        {37, 0, 1, 1},     // just right of the surface: nothing
        {0, 23, 1, 1},     // just below: nothing
        {20, 10, 0, 5},
        {20, 10, 5, 0},
        {20, 10, -5, 5},
        {20, 10, 5, -5},
    };
    for (const auto& r : rects) CheckFill(s, r[0], r[1], r[2], r[3]);
}

TEST_CASE("colour fill: extreme positions and sizes clip or draw nothing") {
    EnsureGdiplus();
    CVorGraphics s;
    REQUIRE(s.Init(37, 23));
    const int rects[][4] = {
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX},  // ends at -1: nothing
        {-1, -1, INT_MAX, INT_MAX},            // covers the surface
        {0, 0, INT_MAX, INT_MAX},
        {5, 7, INT_MAX, INT_MAX},              // x + width overflows 32 bits
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MAX, 0, 1, 5},
        {INT_MIN, 0, INT_MAX, 5},
        {INT_MIN, 0, -1, 5},
        {0, INT_MIN, 5, INT_MAX},
        {5, 5, INT_MIN, INT_MIN},
        {INT_MIN, INT_MIN, INT_MIN, INT_MIN},
        {-INT_MAX, 3, INT_MAX, 4},             // ends at 0: nothing
        {1 - INT_MAX, 3, INT_MAX, 4},          // ends at 1: column 0
        {3, 1 - INT_MAX, 4, INT_MAX},          // row 0
        {36, 22, INT_MAX, INT_MAX},            // the last pixel
    };
    for (const auto& r : rects) CheckFill(s, r[0], r[1], r[2], r[3]);
}

TEST_CASE("colour fill without pixels does nothing and does not crash") {
    EnsureGdiplus();
    CVorGraphics never;
    never.FillRectangle(0, 0, 10, 10, 1, 2, 3);
    CHECK(never.GetPixels() == nullptr);
    CVorGraphics empty;
    CHECK(empty.Init(0, 0));
    empty.FillRectangle(-1, -1, INT_MAX, INT_MAX, 1, 2, 3);
    CVorGraphics bad;
    CHECK(bad.Init(40000, 40000));  // made, without pixels
    bad.FillRectangle(0, 0, 100, 100, 1, 2, 3);
    CHECK(bad.GetPixels() == nullptr);
}

TEST_CASE("colour fill needs no graphics object") {
    EnsureGdiplus();
    CVorGraphics s;
    REQUIRE(s.Init(10, 10));
    FillBytes(s, 0);
    s.FillRectangle(2, 2, 3, 3, 7, 8, 9);
    CHECK(PixelAt(s, 3, 3) == Bgr{9, 8, 7});
    CHECK(CountPixels(s, Bgr{9, 8, 7}) == 9);
}

// ---------------------------------------------------------------- GDI+ shapes

TEST_CASE("hatch fill: inside uses only the two hatch colours, outside untouched") {
    Canvas c(80, 50);
    CVorBrush brush(Gdiplus::HatchStyleCross, Gdiplus::Color(255, 255, 0, 0), Gdiplus::Color(255, 0, 0, 255));
    c.g.FillRectangle(&brush, 10, 10, 40, 20);
    c.Sync();
    int fore = 0, back = 0, other = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 50; ++x) {
            const Bgr p = PixelAt(c.g, x, y);
            fore += p == kRed;
            back += p == kBlue;
            other += p != kRed && p != kBlue;
        }
    CHECK(other == 0);
    CHECK(fore > 0);
    CHECK(back > 0);
    const InkBox box = InkIn(c, 0, 0, 80, 50);
    CHECK(box.left == 10);
    CHECK(box.top == 10);
    CHECK(box.right == 49);
    CHECK(box.bottom == 29);
    CHECK(c.g.GetGraphics()->GetLastStatus() == Gdiplus::Ok);
}

TEST_CASE("diagonal hatch fill: only mixes of red and blue inside (GDI+ may smooth diagonals)") {
    Canvas c(80, 50);
    CVorBrush brush(Gdiplus::HatchStyleDiagonalCross, Gdiplus::Color(255, 255, 0, 0), Gdiplus::Color(255, 0, 0, 255));
    c.g.FillRectangle(&brush, 10, 10, 40, 20);
    c.Sync();
    int reddish = 0, bluish = 0, foreign = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 50; ++x) {
            const Bgr p = PixelAt(c.g, x, y);
            foreign += p.g != 0 || std::abs(int(p.r) + int(p.b) - 255) > 2;
            reddish += p.r > p.b;
            bluish += p.b > p.r;
        }
    CHECK(foreign == 0);
    CHECK(reddish > 0);
    CHECK(bluish > 0);
    const InkBox box = InkIn(c, 0, 0, 80, 50);
    CHECK(box.left == 10);
    CHECK(box.top == 10);
    CHECK(box.right == 49);
    CHECK(box.bottom == 29);
}

TEST_CASE("lines: pen colour along the line, nothing well away; a wider pen covers more") {
    Canvas c(100, 60);
    CVorPen thin(255, 0, 0, 1.0f, Gdiplus::DashStyleSolid);
    c.g.DrawLine(&thin, 10, 20, 90, 20);
    for (int x = 12; x <= 88; x += 4) CHECK(c.At(x, 20) == kRed);
    CHECK_FALSE(c.Inked(50, 23));
    CHECK_FALSE(c.Inked(50, 17));
    CHECK_FALSE(c.Inked(5, 20));
    CHECK_FALSE(c.Inked(95, 20));
    const int thinInk = c.InkCount();

    Canvas w(100, 60);
    CVorPen wide(255, 0, 0, 7.0f, Gdiplus::DashStyleSolid);
    w.g.DrawLine(&wide, 10, 20, 90, 20);
    CHECK(w.At(50, 20) == kRed);
    CHECK(w.At(50, 22) == kRed);
    CHECK(w.At(50, 18) == kRed);
    CHECK_FALSE(w.Inked(50, 27));
    CHECK_FALSE(w.Inked(50, 13));
    CHECK(w.InkCount() > 4 * thinInk);

    // A vertical line, ends passed unchanged.
    Canvas v(100, 60);
    v.g.DrawLine(&thin, 30, 5, 30, 50);
    CHECK(v.At(30, 10) == kRed);
    CHECK(v.At(30, 45) == kRed);
    CHECK_FALSE(v.Inked(30, 55));
    CHECK_FALSE(v.Inked(34, 30));
}

TEST_CASE("lines: a dashed pen leaves gaps a solid one does not") {
    Canvas solid(120, 20), dashed(120, 20);
    CVorPen s(0, 0, 255, 2.0f, Gdiplus::DashStyleSolid);
    CVorPen d(0, 0, 255, 2.0f, Gdiplus::DashStyleDash);
    solid.g.DrawLine(&s, 10, 10, 110, 10);
    dashed.g.DrawLine(&d, 10, 10, 110, 10);
    int solidGaps = 0, dashGaps = 0, dashInk = 0;
    for (int x = 12; x < 108; ++x) {
        solidGaps += !solid.Inked(x, 10);
        const bool inked = dashed.Inked(x, 10);
        dashGaps += !inked;
        dashInk += inked;
    }
    CHECK(solidGaps == 0);
    CHECK(dashGaps > 10);
    CHECK(dashInk > 10);
}

TEST_CASE("rectangle frames: edges in pen colour, inside and outside untouched") {
    Canvas c(100, 60);
    CVorPen pen(255, 0, 0, 1.0f, Gdiplus::DashStyleSolid);
    c.g.DrawRectangle(&pen, 20, 10, 50, 30);
    CHECK(c.At(45, 10) == kRed);  // top
    CHECK(c.At(45, 40) == kRed);  // bottom: y + height
    CHECK(c.At(20, 25) == kRed);  // left
    CHECK(c.At(70, 25) == kRed);  // right: x + width
    CHECK_FALSE(c.Inked(45, 25));
    CHECK_FALSE(c.Inked(23, 13));
    CHECK_FALSE(c.Inked(45, 5));
    CHECK_FALSE(c.Inked(75, 25));
    CHECK_FALSE(c.Inked(45, 45));
    CHECK_FALSE(c.Inked(15, 25));

    Canvas w(100, 60);
    CVorPen wide(0, 0, 255, 5.0f, Gdiplus::DashStyleSolid);
    w.g.DrawRectangle(&wide, 20, 10, 50, 30);
    CHECK(w.At(45, 12) == kBlue);
    CHECK(w.At(45, 8) == kBlue);
    CHECK_FALSE(w.Inked(45, 25));
    CHECK(w.InkCount() > 3 * c.InkCount());
}

// ---------------------------------------------------------------- text

TEST_CASE("text at a point: ink starts at the origin") {
    Canvas c(200, 60);
    CVorFont font(16, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    c.g.Draw(L"Hello", 40, 20, &font, &black);
    CHECK(c.g.GetGraphics()->GetLastStatus() == Gdiplus::Ok);
    const InkBox box = InkIn(c, 0, 0, 200, 60);
    REQUIRE_FALSE(box.Empty());
    CHECK(box.left >= 40);
    CHECK(box.left <= 46);
    CHECK(box.top >= 20);
    CHECK(box.top <= 32);
    CHECK(box.right > 70);
}

TEST_CASE("text in a layout rectangle: near, centre and far alignment") {
    CVorFont font(14, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    const int X = 20, Y = 10, W = 200, H = 40;

    Canvas atNear(240, 60), atCentre(240, 60), atFar(240, 60);
    atNear.g.Draw(L"Middle", X, Y, W, H, &font, &black, Gdiplus::StringAlignmentNear);
    atCentre.g.Draw(L"Middle", X, Y, W, H, &font, &black, Gdiplus::StringAlignmentCenter);
    atFar.g.Draw(L"Middle", X, Y, W, H, &font, &black, Gdiplus::StringAlignmentFar);

    const InkBox n = InkIn(atNear, 0, 0, 240, 60);
    const InkBox c = InkIn(atCentre, 0, 0, 240, 60);
    const InkBox f = InkIn(atFar, 0, 0, 240, 60);
    REQUIRE_FALSE(n.Empty());
    REQUIRE_FALSE(c.Empty());
    REQUIRE_FALSE(f.Empty());

    // All ink stays inside the layout rectangle; line alignment stays at the top.
    for (const InkBox* b : {&n, &c, &f}) {
        CHECK(b->left >= X);
        CHECK(b->right < X + W);
        CHECK(b->top >= Y);
        CHECK(b->top < Y + 10);
        CHECK(b->bottom < Y + H);
    }
    const int leftMargin = c.left - X, rightMargin = X + W - 1 - c.right;
    CHECK(std::abs(leftMargin - rightMargin) <= 4);
    CHECK(n.left - X <= 6);
    CHECK(X + W - 1 - n.right > 80);
    CHECK(X + W - 1 - f.right <= 6);
    CHECK(f.left - X > 80);
    // Same text, same width of ink, only moved.
    CHECK(std::abs((n.right - n.left) - (f.right - f.left)) <= 2);
}

TEST_CASE("text with a missing family, a font object without a font or a null brush draws nothing") {
    Canvas c(120, 40);
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    CVorFont tahoma(12, L"Tahoma", Gdiplus::FontStyleRegular);
    CVorFont empty;
    CVorFont good(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    Gdiplus::Graphics* graphics = c.g.GetGraphics();
    REQUIRE(graphics != nullptr);
    REQUIRE(graphics->GetLastStatus() == Gdiplus::Ok);

    c.g.Draw(L"Text", 5, 5, &tahoma, &black);
    CHECK(graphics->GetLastStatus() != Gdiplus::Ok);
    c.g.Draw(L"Text", 5, 5, 100, 30, &tahoma, &black, Gdiplus::StringAlignmentNear);
    CHECK(graphics->GetLastStatus() != Gdiplus::Ok);
    c.g.Draw(L"Text", 5, 5, &empty, &black);
    CHECK(graphics->GetLastStatus() == Gdiplus::InvalidParameter);
    c.g.Draw(L"Text", 5, 5, 100, 30, &empty, &black, Gdiplus::StringAlignmentCenter);
    CHECK(graphics->GetLastStatus() == Gdiplus::InvalidParameter);
    c.g.Draw(L"Text", 5, 5, &good, nullptr);
    CHECK(graphics->GetLastStatus() == Gdiplus::InvalidParameter);
    c.g.Draw(L"Text", 5, 5, 100, 30, &good, nullptr, Gdiplus::StringAlignmentFar);
    CHECK(graphics->GetLastStatus() == Gdiplus::InvalidParameter);
    CHECK(c.InkCount() == 0);

    // A success leaves the status clean; the good font does draw.
    c.g.Draw(L"Text", 5, 5, &good, &black);
    CHECK(graphics->GetLastStatus() == Gdiplus::Ok);
    CHECK(c.InkCount() > 20);
}

// ---------------------------------------------------------------- bad input

TEST_CASE("null pen, brush, font or text, and empty sizes draw nothing and fail nothing") {
    Canvas c(80, 40);
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    CVorPen pen(255, 0, 0, 3.0f, Gdiplus::DashStyleSolid);
    CVorPen noPen;
    CVorBrush brush(Gdiplus::HatchStyleCross, Gdiplus::Color(255, 0, 0, 0), Gdiplus::Color(255, 0, 0, 0));
    CVorBrush noBrush;

    c.g.FillRectangle(static_cast<CVorBrush*>(nullptr), 0, 0, 80, 40);
    c.g.FillRectangle(&noBrush, 0, 0, 80, 40);
    c.g.DrawLine(nullptr, 0, 0, 80, 40);
    c.g.DrawLine(&noPen, 0, 0, 80, 40);
    c.g.DrawRectangle(nullptr, 5, 5, 50, 20);
    c.g.DrawRectangle(&noPen, 5, 5, 50, 20);
    c.g.Draw(static_cast<const wchar_t*>(nullptr), 5, 5, &font, &black);
    c.g.Draw(static_cast<const wchar_t*>(nullptr), 5, 5, 60, 30, &font, &black, Gdiplus::StringAlignmentNear);
    c.g.Draw(L"Text", 5, 5, static_cast<CVorFont*>(nullptr), &black);
    c.g.Draw(L"Text", 5, 5, 60, 30, nullptr, &black, Gdiplus::StringAlignmentNear);
    // Negative or zero sizes: GDI+ would mirror or stretch them; nothing is drawn.
    c.g.FillRectangle(&brush, 40, 20, -20, 10);
    c.g.FillRectangle(&brush, 40, 20, 20, -10);
    c.g.FillRectangle(&brush, 40, 20, 0, 10);
    c.g.DrawRectangle(&pen, 40, 20, -20, 10);
    c.g.DrawRectangle(&pen, 40, 20, 0, 10);
    c.g.DrawRectangle(&pen, 40, 20, 10, 0);
    c.g.Draw(L"Text", 5, 5, 0, 30, &font, &black, Gdiplus::StringAlignmentNear);
    c.g.Draw(L"Text", 5, 5, 60, -30, &font, &black, Gdiplus::StringAlignmentNear);
    CHECK(c.InkCount() == 0);
    CHECK(c.g.GetGraphics()->GetLastStatus() == Gdiplus::Ok);
    // Empty text is fine too.
    c.g.Draw(L"", 5, 5, &font, &black);
    CHECK(c.InkCount() == 0);
}

TEST_CASE("every GDI+ operation does nothing without a graphics object") {
    EnsureGdiplus();
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    CVorPen pen(255, 0, 0, 3.0f, Gdiplus::DashStyleSolid);
    CVorBrush brush(Gdiplus::HatchStyleCross, Gdiplus::Color(255, 0, 0, 0), Gdiplus::Color(255, 0, 0, 0));
    auto drawAll = [&](CVorGraphics& g) {
        g.FillRectangle(&brush, 0, 0, 60, 30);
        g.DrawLine(&pen, 0, 0, 60, 30);
        g.DrawRectangle(&pen, 5, 5, 40, 20);
        g.Draw(L"Text", 5, 5, &font, &black);
        g.Draw(L"Text", 5, 5, 50, 20, &font, &black, Gdiplus::StringAlignmentCenter);
    };

    CVorGraphics never;  // no back buffer, no graphics
    drawAll(never);

    CVorGraphics unbound;  // pixels but never bound
    REQUIRE(unbound.Init(60, 30));
    FillBytes(unbound, 0x42);
    const std::vector<uint8_t> before = Snapshot(unbound);
    drawAll(unbound);
    ::GdiFlush();
    CHECK(Snapshot(unbound) == before);

    CVorGraphics dropped;  // bound, then the graphics object dropped
    REQUIRE(dropped.Init(60, 30));
    dropped.InitGraphics(static_cast<CPaintDC*>(nullptr));
    FillBytes(dropped, 0x42);
    dropped.DeleteGraphics();
    REQUIRE(dropped.GetGraphics() == nullptr);
    drawAll(dropped);
    ::GdiFlush();
    CHECK(Snapshot(dropped) == before);
}

TEST_CASE("SetNowFont remembers the font and never draws with it") {
    Canvas c(40, 20);
    CHECK(c.g.GetNowFont() == nullptr);
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    c.g.SetNowFont(&font);
    CHECK(c.g.GetNowFont() == &font);
    CHECK(c.InkCount() == 0);
    c.g.SetNowFont(nullptr);
    CHECK(c.g.GetNowFont() == nullptr);
}

TEST_CASE("a hatch fill leaves the world transform as it was") {
    Canvas c(40, 20);
    CVorBrush brush(Gdiplus::HatchStyleCross, Gdiplus::Color(255, 0, 0, 0), Gdiplus::Color(255, 9, 9, 9));
    c.g.FillRectangle(&brush, 5, 5, 10, 10);
    Gdiplus::Matrix m;
    REQUIRE(c.g.GetGraphics()->GetTransform(&m) == Gdiplus::Ok);
    CHECK(m.IsIdentity());
}

// ---------------------------------------------------------------- texture brushes

TEST_CASE("texture fill at (50, 60, 32, 32) puts texture pixel (0, 0) at (50, 60); transform reset after") {
    const std::wstring path = Wide(WriteTextureBmp("vor_texture32.bmp", 32));
    CVorBitmap image(path.c_str());
    REQUIRE(image.GetBitmap() != nullptr);
    CVorBrush brush;
    brush.Init(&image, Gdiplus::WrapModeTile);
    REQUIRE(brush.GetTextureBrush() != nullptr);
    CHECK(brush.GetHatchBrush() == nullptr);
    CHECK(brush.GetLastStatus() == Gdiplus::Ok);

    Canvas c(140, 120);
    c.g.FillRectangle(&brush, 50, 60, 32, 32);
    CHECK(IdentityTransform(c));
    CHECK(c.At(50, 60) == TexturePixel(0, 0));
    CHECK(c.At(81, 91) == TexturePixel(31, 31));
    int wrong = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) wrong += c.At(50 + x, 60 + y) != TexturePixel(x, y);
    CHECK(wrong == 0);
    CHECK(c.At(49, 60) == kPaper);
    CHECK(c.At(82, 60) == kPaper);
    CHECK(c.At(50, 59) == kPaper);
    CHECK(c.At(50, 92) == kPaper);
    CHECK(c.g.GetGraphics()->GetLastStatus() == Gdiplus::Ok);
}

TEST_CASE("texture fill resets a transform set before it to the identity") {
    const std::wstring path = Wide(WriteTextureBmp("vor_texture32.bmp", 32));
    CVorBitmap image(path.c_str());
    CVorBrush brush;
    brush.Init(&image, Gdiplus::WrapModeTile);
    Canvas c(140, 120);
    c.g.GetGraphics()->TranslateTransform(7.0f, 9.0f);
    REQUIRE_FALSE(IdentityTransform(c));
    c.g.FillRectangle(&brush, 20, 20, 32, 32);
    CHECK(IdentityTransform(c));
}

TEST_CASE("texture tiles from the rectangle's corner") {
    const std::wstring path = Wide(WriteTextureBmp("vor_texture16.bmp", 16));
    CVorBitmap image(path.c_str());
    CVorBrush brush;
    brush.Init(&image, Gdiplus::WrapModeTile);
    Canvas c(120, 80);
    c.g.FillRectangle(&brush, 13, 7, 48, 32);
    // 16 x 16 pattern for 16 x 16 pixels of texture: TexturePixel of that size repeats each 16.
    CHECK(c.At(13, 7) == TexturePixel(0, 0));
    CHECK(c.At(29, 7) == TexturePixel(0, 0));
    CHECK(c.At(45, 23) == TexturePixel(0, 0));
    CHECK(c.At(60, 38) == TexturePixel(15, 15));
    CHECK(c.At(61, 38) == kPaper);
    CHECK(c.At(12, 7) == kPaper);
}

TEST_CASE("brush re-Init switches between hatch and texture; each fills with its own kind only") {
    const std::wstring path = Wide(WriteTextureBmp("vor_texture32.bmp", 32));
    CVorBitmap image(path.c_str());
    const Gdiplus::Color red(255, 255, 0, 0);
    CVorBrush brush(Gdiplus::HatchStyleCross, red, red);
    brush.Init(&image, Gdiplus::WrapModeTile);
    CHECK(brush.GetHatchBrush() == nullptr);
    REQUIRE(brush.GetTextureBrush() != nullptr);
    Canvas t(80, 80);
    t.g.FillRectangle(&brush, 10, 10, 32, 32);
    CHECK(t.At(10, 10) == TexturePixel(0, 0));
    CHECK(t.At(20, 30) == TexturePixel(10, 20));

    brush.Init(Gdiplus::HatchStyleCross, red, red);
    CHECK(brush.GetTextureBrush() == nullptr);
    REQUIRE(brush.GetHatchBrush() != nullptr);
    Canvas h(80, 80);
    h.g.FillRectangle(&brush, 10, 10, 32, 32);
    CHECK(h.At(10, 10) == (Bgr{0, 0, 255}));
    CHECK(h.At(20, 30) == (Bgr{0, 0, 255}));
}

TEST_CASE("a memory image makes no texture brush") {
    EnsureGdiplus();
    BITMAPINFO info;
    imagefile::SetInfo24(&info, 2, 2);
    const unsigned char bits[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    CVorBitmap memory(bits, int(sizeof bits), info, 0);
    REQUIRE(memory.GetBitmap() == nullptr);
    const Gdiplus::Color black(255, 0, 0, 0);
    CVorBrush brush(Gdiplus::HatchStyleCross, black, black);
    brush.Init(&memory, Gdiplus::WrapModeTile);
    CHECK(brush.GetHatchBrush() == nullptr);
    CHECK(brush.GetTextureBrush() == nullptr);
    Canvas c(40, 40);
    c.g.FillRectangle(&brush, 0, 0, 40, 40);
    CHECK(c.At(20, 20) == kPaper);
}

TEST_CASE("texture brush copies survive the original and the image, and draw the same") {
    const std::wstring path = Wide(WriteTextureBmp("vor_texture32.bmp", 32));
    CVorBrush copy;
    {
        CVorBitmap image(path.c_str());
        CVorBrush brush;
        brush.Init(&image, Gdiplus::WrapModeTile);
        CVorBrush second(brush);
        copy = second;
        copy = copy;
    }  // image, brush and second gone: the GDI+ texture keeps its own pixels
    REQUIRE(copy.GetTextureBrush() != nullptr);
    Canvas c(80, 80);
    c.g.FillRectangle(&copy, 30, 20, 32, 32);
    CHECK(c.At(30, 20) == TexturePixel(0, 0));
    CHECK(c.At(61, 51) == TexturePixel(31, 31));
}
