// Drawing resources: colour, pen, hatch brush, font; their failures and their copies.
#include <doctest.h>

#include <memory>

#include "TestSupport.h"

namespace {

const Bgr kPaper = {0xEE, 0xEE, 0xEE};

// A 60 x 30 surface bound to a memory DC, every byte 0xEE.
struct Canvas {
    CVorGraphics g;
    Canvas() {
        EnsureGdiplus();
        g.Init(60, 30);
        g.InitGraphics(static_cast<CPaintDC*>(nullptr));
        FillBytes(g, 0xEE);
    }
    Bgr At(int x, int y) {
        g.GetGraphics()->Flush(Gdiplus::FlushIntentionSync);
        ::GdiFlush();
        return PixelAt(g, x, y);
    }
};

// Colour at the middle of a horizontal line drawn with the pen on fresh paper.
Bgr LineInk(CVorPen& pen) {
    Canvas c;
    c.g.DrawLine(&pen, 5, 15, 55, 15);
    return c.At(30, 15);
}

// Colour at the middle of a rectangle filled with the brush on fresh paper.
Bgr FillInk(CVorBrush& brush) {
    Canvas c;
    c.g.FillRectangle(&brush, 10, 5, 40, 20);
    return c.At(30, 15);
}

// Number of pixels a short text changes on fresh paper.
int TextInk(CVorFont& font) {
    Canvas c;
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    c.g.Draw(L"Ag", 2, 2, &font, &black);
    int changed = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) changed += c.At(x, y) != kPaper;
    return changed;
}

const Bgr kRed = {0, 0, 255};
const Bgr kGreen = {0, 255, 0};

}  // namespace

TEST_CASE("CVorColor stores red, green, blue") {
    CVorColor black;
    CHECK(black.GetR() == 0);
    CHECK(black.GetG() == 0);
    CHECK(black.GetB() == 0);
    CVorColor c(10, 20, 30);
    CHECK(c.GetR() == 10);
    CHECK(c.GetG() == 20);
    CHECK(c.GetB() == 30);
    c.Init(255, 128, 1);
    CHECK(c.GetR() == 255);
    CHECK(c.GetG() == 128);
    CHECK(c.GetB() == 1);
    black = c;
    CHECK(black.GetR() == 255);
    CHECK(black.GetG() == 128);
    CHECK(black.GetB() == 1);
    CVorColor copy(c);
    CHECK(copy.GetB() == 1);
}

TEST_CASE("pen: opaque colour from the low byte of each component, width, dash style") {
    EnsureGdiplus();
    CVorPen none;
    CHECK(none.GetPen() == nullptr);
    CHECK(none.GetLastStatus() == Gdiplus::Ok);

    CVorPen red(255, 0, 0, 1.0f, Gdiplus::DashStyleSolid);
    REQUIRE(red.GetPen() != nullptr);
    CHECK(red.GetLastStatus() == Gdiplus::Ok);
    Gdiplus::Color c;
    REQUIRE(red.GetPen()->GetColor(&c) == Gdiplus::Ok);
    CHECK(c.GetA() == 255);
    CHECK(c.GetR() == 255);
    CHECK(c.GetG() == 0);
    CHECK(c.GetB() == 0);
    CHECK(red.GetPen()->GetWidth() == doctest::Approx(1.0f));
    CHECK(red.GetPen()->GetDashStyle() == Gdiplus::DashStyleSolid);

    CVorPen wrapped(272, -1, 256 + 7, 3.5f, Gdiplus::DashStyleDash);
    REQUIRE(wrapped.GetPen() != nullptr);
    REQUIRE(wrapped.GetPen()->GetColor(&c) == Gdiplus::Ok);
    CHECK(c.GetA() == 255);
    CHECK(c.GetR() == 16);
    CHECK(c.GetG() == 255);
    CHECK(c.GetB() == 7);
    CHECK(wrapped.GetPen()->GetWidth() == doctest::Approx(3.5f));
    CHECK(wrapped.GetPen()->GetDashStyle() == Gdiplus::DashStyleDash);

    // Init replaces the pen in place.
    wrapped.Init(0, 0, 200, 2.0f, Gdiplus::DashStyleDot);
    REQUIRE(wrapped.GetPen()->GetColor(&c) == Gdiplus::Ok);
    CHECK(c.GetR() == 0);
    CHECK(c.GetB() == 200);
    CHECK(wrapped.GetPen()->GetDashStyle() == Gdiplus::DashStyleDot);
    CHECK(LineInk(red) == kRed);
}

TEST_CASE("hatch brush keeps style and full ARGB colours; re-Init switches the kind") {
    EnsureGdiplus();
    CVorBrush none;
    CHECK(none.GetHatchBrush() == nullptr);
    CHECK(none.GetTextureBrush() == nullptr);

    CVorBrush b(Gdiplus::HatchStyleCross, Gdiplus::Color(128, 1, 2, 3), Gdiplus::Color(255, 40, 50, 60));
    REQUIRE(b.GetHatchBrush() != nullptr);
    CHECK(b.GetTextureBrush() == nullptr);
    CHECK(b.GetLastStatus() == Gdiplus::Ok);
    CHECK(b.GetHatchBrush()->GetHatchStyle() == Gdiplus::HatchStyleCross);
    Gdiplus::Color fore, back;
    REQUIRE(b.GetHatchBrush()->GetForegroundColor(&fore) == Gdiplus::Ok);
    REQUIRE(b.GetHatchBrush()->GetBackgroundColor(&back) == Gdiplus::Ok);
    CHECK(fore.GetValue() == Gdiplus::Color(128, 1, 2, 3).GetValue());
    CHECK(back.GetValue() == Gdiplus::Color(255, 40, 50, 60).GetValue());

    b.Init(Gdiplus::HatchStyleHorizontal, Gdiplus::Color(255, 9, 9, 9), Gdiplus::Color(255, 0, 0, 0));
    REQUIRE(b.GetHatchBrush() != nullptr);
    CHECK(b.GetHatchBrush()->GetHatchStyle() == Gdiplus::HatchStyleHorizontal);
    CHECK(b.GetTextureBrush() == nullptr);

    // A texture Init without a GDI+ bitmap drops the hatch and makes nothing.
    b.Init(static_cast<CVorBitmap*>(nullptr), Gdiplus::WrapModeTile);
    CHECK(b.GetHatchBrush() == nullptr);
    CHECK(b.GetTextureBrush() == nullptr);
    CHECK(b.GetLastStatus() != Gdiplus::Ok);
    CHECK(FillInk(b) == kPaper);
}

TEST_CASE("font: size 12 bold DejaVu Sans reports 12 points") {
    EnsureGdiplus();
    CVorFont none;
    CHECK(none.GetFont() == nullptr);
    CHECK(none.GetSize() == 0.0f);

    CVorFont f(12, L"DejaVu Sans", Gdiplus::FontStyleBold);
    REQUIRE(f.GetFont() != nullptr);
    CHECK(f.GetLastStatus() == Gdiplus::Ok);
    CHECK(f.GetSize() == 12.0f);
    CHECK(f.GetLastStatus() == Gdiplus::Ok);
    CHECK(f.GetFont()->GetStyle() == Gdiplus::FontStyleBold);
    CHECK(f.GetFont()->GetUnit() == Gdiplus::UnitPoint);
    Gdiplus::FontFamily family;
    REQUIRE(f.GetFont()->GetFamily(&family) == Gdiplus::Ok);
    WCHAR name[LF_FACESIZE] = {};
    REQUIRE(family.GetFamilyName(name) == Gdiplus::Ok);
    CHECK(std::wstring(name) == L"DejaVu Sans");

    f.Init(20, L"Liberation Sans", Gdiplus::FontStyleRegular);
    CHECK(f.GetSize() == 20.0f);
    CHECK(f.GetFont()->GetStyle() == Gdiplus::FontStyleRegular);
    CHECK(TextInk(f) > 20);
}

TEST_CASE("creation failures stay readable on the GDI+ pen, brush and font objects and on the wrappers") {
    EnsureGdiplus();
    // Wine's GDI+ accepts every pen width and dash style, so a failing pen cannot be made here;
    // the pen's status is left unread (reading would clear it) and stays Ok for a good pen.
    CVorPen good(1, 2, 3, 1.0f, Gdiplus::DashStyleDot);
    CHECK(good.GetPen()->GetLastStatus() == Gdiplus::Ok);
    // A hatch style GDI+ does not know.
    CVorBrush hatch(Gdiplus::HatchStyle(999), Gdiplus::Color(255, 1, 2, 3), Gdiplus::Color(255, 4, 5, 6));
    REQUIRE(hatch.GetHatchBrush() != nullptr);
    CHECK(hatch.GetLastStatus() != Gdiplus::Ok);
    CHECK(hatch.GetHatchBrush()->GetLastStatus() != Gdiplus::Ok);
    CVorBrush fine(Gdiplus::HatchStyleCross, Gdiplus::Color(255, 1, 2, 3), Gdiplus::Color(255, 4, 5, 6));
    CHECK(fine.GetHatchBrush()->GetLastStatus() == Gdiplus::Ok);
    // A face that is not installed, and a size of no points.
    CVorFont missing(12, L"No Such Family 4711", Gdiplus::FontStyleRegular);
    REQUIRE(missing.GetFont() != nullptr);
    CHECK(missing.GetFont()->GetLastStatus() != Gdiplus::Ok);
    CHECK(missing.GetLastStatus() != Gdiplus::Ok);
    CVorFont empty(0, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    REQUIRE(empty.GetFont() != nullptr);
    CHECK(empty.GetFont()->GetLastStatus() == Gdiplus::InvalidParameter);
    CHECK(empty.GetLastStatus() == Gdiplus::InvalidParameter);
    CHECK(TextInk(empty) == 0);
}

TEST_CASE("font: a family that is not installed is kept with its failure and draws nothing") {
    EnsureGdiplus();
    CVorFont tahoma(12, L"Tahoma", Gdiplus::FontStyleRegular);
    CHECK(tahoma.GetLastStatus() != Gdiplus::Ok);
    REQUIRE(tahoma.GetFont() != nullptr);  // stored all the same
    CHECK(tahoma.GetFont()->GetLastStatus() != Gdiplus::Ok);
    CHECK_FALSE(tahoma.GetFont()->IsAvailable());
    CHECK(tahoma.GetSize() == 0.0f);
    CHECK(tahoma.GetLastStatus() != Gdiplus::Ok);
    CHECK(TextInk(tahoma) == 0);

    // A later good Init starts with a clean status.
    tahoma.Init(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    CHECK(tahoma.GetLastStatus() == Gdiplus::Ok);
    CHECK(TextInk(tahoma) > 20);

    CVorFont noFace(12, nullptr, Gdiplus::FontStyleRegular);
    CHECK(noFace.GetLastStatus() != Gdiplus::Ok);
    CHECK(TextInk(noFace) == 0);
}

TEST_CASE("pen copies share the pen safely in every order and draw the same") {
    EnsureGdiplus();
    SUBCASE("copy, destroy the original first") {
        std::unique_ptr<CVorPen> a(new CVorPen(255, 0, 0, 3.0f, Gdiplus::DashStyleSolid));
        CVorPen b(*a);
        CHECK(LineInk(b) == kRed);
        a.reset();
        CHECK(LineInk(b) == kRed);
    }
    SUBCASE("copy, destroy the copy first") {
        CVorPen a(255, 0, 0, 3.0f, Gdiplus::DashStyleSolid);
        {
            CVorPen b(a);
            CHECK(LineInk(b) == kRed);
        }
        CHECK(LineInk(a) == kRed);
    }
    SUBCASE("assignment, self-assignment, and assignment over a shared pen") {
        CVorPen a(255, 0, 0, 3.0f, Gdiplus::DashStyleSolid);
        CVorPen b(0, 255, 0, 3.0f, Gdiplus::DashStyleSolid);
        CVorPen keep(b);  // still uses b's first pen after b is reassigned
        b = a;
        CHECK(LineInk(b) == kRed);
        CHECK(LineInk(keep) == kGreen);
        b = b;
        CHECK(LineInk(b) == kRed);
        CVorPen& alias = a;
        a = alias;
        CHECK(LineInk(a) == kRed);
        CVorPen empty;
        b = empty;  // releases b's use of a's pen
        CHECK(b.GetPen() == nullptr);
        CHECK(LineInk(a) == kRed);
    }
    SUBCASE("re-initialising a copy leaves the other copy's pen alone") {
        CVorPen a(255, 0, 0, 3.0f, Gdiplus::DashStyleSolid);
        CVorPen b(a);
        b.Init(0, 255, 0, 3.0f, Gdiplus::DashStyleSolid);
        CHECK(LineInk(a) == kRed);
        CHECK(LineInk(b) == kGreen);
    }
}

TEST_CASE("brush copies share the brush safely in every order and draw the same") {
    EnsureGdiplus();
    const Gdiplus::Color red(255, 255, 0, 0), green(255, 0, 255, 0);
    // A solid-looking hatch: fore and back the same colour.
    std::unique_ptr<CVorBrush> a(new CVorBrush(Gdiplus::HatchStyleCross, red, red));
    CVorBrush b(*a);
    CVorBrush c;
    c = b;
    c = c;
    CHECK(FillInk(b) == kRed);
    a.reset();
    CHECK(FillInk(b) == kRed);
    CHECK(FillInk(c) == kRed);
    CVorBrush d(Gdiplus::HatchStyleCross, green, green);
    b = d;
    CHECK(FillInk(b) == kGreen);
    CHECK(FillInk(c) == kRed);
    c.Init(Gdiplus::HatchStyleCross, green, green);
    CHECK(FillInk(c) == kGreen);
    CHECK(FillInk(d) == kGreen);
}

TEST_CASE("font copies share the font safely in every order and draw the same") {
    EnsureGdiplus();
    std::unique_ptr<CVorFont> a(new CVorFont(14, L"DejaVu Sans", Gdiplus::FontStyleRegular));
    const int ink = TextInk(*a);
    REQUIRE(ink > 20);
    CVorFont b(*a);
    CVorFont c;
    c = b;
    c = c;
    CHECK(TextInk(b) == ink);
    a.reset();
    CHECK(TextInk(b) == ink);
    CHECK(c.GetSize() == 14.0f);
    b.Init(30, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    CHECK(TextInk(b) > ink);
    CHECK(TextInk(c) == ink);
    CVorFont missing(12, L"Tahoma", Gdiplus::FontStyleRegular);
    CVorFont missingCopy(missing);
    CHECK(missingCopy.GetLastStatus() == missing.GetLastStatus());
    CHECK(TextInk(missingCopy) == 0);
}

TEST_CASE("soak: many Init and copy cycles keep working") {
    EnsureGdiplus();
    CVorPen pen;
    CVorBrush brush;
    CVorFont font;
    for (int i = 0; i < 2000; ++i) {
        pen.Init(i, 0, 0, 1.0f, Gdiplus::DashStyleSolid);
        CVorPen penCopy(pen);
        pen = penCopy;
        brush.Init(Gdiplus::HatchStyleCross, Gdiplus::Color(255, 0, 0, 0), Gdiplus::Color(255, 1, 1, 1));
        CVorBrush brushCopy;
        brushCopy = brush;
        if (i % 10 == 0) {
            font.Init(10, L"DejaVu Sans", Gdiplus::FontStyleRegular);
            CVorFont fontCopy(font);
            font = fontCopy;
        }
    }
    CHECK(LineInk(pen) == Bgr{0, 0, BYTE(1999 & 0xFF)});
    CHECK(brush.GetHatchBrush() != nullptr);
    CHECK(font.GetSize() == 10.0f);
}
