// Image buttons: faces from separate images and from strips, the hit area, the mouse state machine
// over every order of events, WM_COMMAND as a real window procedure receives it, the face handed
// to the frame, copies, and bad input (no parent, a destroyed parent, missing faces, bad counts).
#include <doctest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SpriteAssets.h"
#include "TestSupport.h"
#include "data/test_resource_ids.h"

namespace {

// Face k of the test buttons is one flat colour, so the face shown can be told by one pixel.
const Bgra kFaceColour[4] = {{200, 60, 20, 255}, {240, 140, 60, 255}, {90, 20, 10, 255}, {128, 128, 128, 255}};
Bgr FaceBgr(int k) { return Bgr{kFaceColour[k].b, kFaceColour[k].g, kFaceColour[k].r}; }
const Bgr kGround = {10, 80, 10};

struct Faces {
    CVorTga tga[4];
    explicit Faces(int w = 30, int h = 40) {
        for (int k = 0; k < 4; ++k) {
            const Bgra c = kFaceColour[k];
            REQUIRE(LoadTga(tga[k], w, h, [c](int, int) { return c; }));
        }
    }
};

// A surface bound to a memory DC, with a plain ground sprite under the button.
struct Stage {
    CVorGraphics g;
    CVorColor groundColour{kGround.r, kGround.g, kGround.b};
    CVorSprite ground;
    Stage(int w, int h) {
        EnsureGdiplus();
        REQUIRE(g.Init(w, h));
        g.InitGraphics(static_cast<CPaintDC*>(nullptr));
        FillBytes(g, 0);
        ground.Init(&groundColour);
    }
    void Frame(CVorButton* button) {
        g.InitSprite();
        g.AddSprite(&ground, 0, 0, int(g.GetWidth()), int(g.GetHeight()), 0, 0, 255);
        g.AddSprite(button);
        g.DrawSprite(true);
    }
};

// One real window for the tests that need a parent (a window costs wine seconds to make), its
// recorded commands cleared for each user.
TestWindow& Parent() {
    static TestWindow window(64, 64, "button parent");
    window.Pump();
    window.commands.clear();
    return window;
}

// ---- the reference machine, written from the event table ----

enum Event { kMoveIn, kMoveOut, kDownIn, kDownOut, kUpIn, kUpOut, kEvents };
const char* const kEventName[kEvents] = {"move in", "move out", "down in", "down out", "up in", "up out"};

struct Model {
    int state = 0;
    int commands = 0;
    int Apply(Event e) {
        switch (e) {
        case kMoveIn:
            if (state == 0) {
                state = 1;
                return 1;
            }
            return 0;
        case kMoveOut:
            state = 0;
            return 0;
        case kDownIn:
            state = 2;
            return 1;
        case kUpIn:
            if (state == 2) {
                state = 0;
                ++commands;
                return 1;
            }
            return 0;
        default:
            return 0;
        }
    }
};

// Button at (10, 20), 30 x 40: one point inside and one outside for each event.
int Send(CVorButton& b, Event e) {
    switch (e) {
    case kMoveIn: return b.OnMouseMove(25, 40);
    case kMoveOut: return b.OnMouseMove(40, 20);
    case kDownIn: return b.OnMouseDown(10, 20);
    case kDownOut: return b.OnMouseDown(9, 59);
    case kUpIn: return b.OnMouseUp(39, 59);
    case kUpOut: return b.OnMouseUp(10, 60);
    default: return 0;
    }
}

}  // namespace

TEST_CASE("hit area: left and top edges inside, right and bottom edges outside") {
    Faces f;
    TestWindow& window = Parent();
    CVorButton b;
    b.Init(window.Wnd(), 7, 10, 20, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
    CHECK(b.GetX() == 10);
    CHECK(b.GetY() == 20);
    CHECK(b.GetWidth() == 30);
    CHECK(b.GetHeight() == 40);
    const int inside[][2] = {{10, 20}, {39, 59}, {39, 20}, {10, 59}};
    const int outside[][2] = {{40, 20}, {10, 60}, {9, 20}, {10, 19}, {40, 60}, {-10, -20}};
    for (const auto& p : inside) {
        CVorButton probe = b;
        CHECK_MESSAGE(probe.OnMouseDown(p[0], p[1]) == 1, "(" << p[0] << ", " << p[1] << ")");
    }
    for (const auto& p : outside) {
        CVorButton probe = b;
        CHECK_MESSAGE(probe.OnMouseDown(p[0], p[1]) == 0, "(" << p[0] << ", " << p[1] << ")");
        CHECK(probe.GetState() == CVorButton::kNormal);
    }
    window.Pump();
    CHECK(window.commands.empty());
}

TEST_CASE("a button at the far end of the int range does not wrap its hit area") {
    Faces f;
    CVorButton b;
    b.Init(static_cast<CWnd*>(nullptr), 1, 2147483647 - 10, 2147483647 - 10, &f.tga[0], &f.tga[1], &f.tga[2], nullptr);
    CHECK(b.OnMouseMove(2147483647 - 5, 2147483647 - 5) == 1);
    CHECK(b.OnMouseMove(-2147483647 - 1, -2147483647 - 1) == 0);
    CHECK(b.GetState() == CVorButton::kNormal);
}

TEST_CASE("move in, again, out; down and up inside send exactly one WM_COMMAND") {
    Faces f;
    TestWindow& window = Parent();
    CVorButton b;
    b.Init(window.Wnd(), 0x1234, 10, 20, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
    CHECK(b.OnMouseMove(20, 30) == 1);
    CHECK(b.GetState() == CVorButton::kHover);
    CHECK(b.OnMouseMove(21, 30) == 0);
    CHECK(b.OnMouseMove(60, 30) == 0);
    CHECK(b.GetState() == CVorButton::kNormal);

    CHECK(b.OnMouseDown(20, 30) == 1);
    CHECK(b.GetState() == CVorButton::kPressed);
    // Sent, not posted: the window procedure has run when OnMouseUp returns.
    CHECK(b.OnMouseUp(22, 33) == 1);
    REQUIRE(window.commands.size() == 1);
    CHECK(window.commands[0].wParam == WPARAM(0x1234));
    CHECK(window.commands[0].lParam == 0);
    CHECK(b.GetState() == CVorButton::kNormal);
    window.Pump();
    CHECK(window.commands.size() == 1);

    // After a click the state is normal; the next move inside makes it hover again.
    CHECK(b.OnMouseMove(22, 33) == 1);
}

TEST_CASE("WM_COMMAND carries the id as an int made a WPARAM (sign-extended on 64-bit) and 0 as lParam") {
    Faces f;
    TestWindow& window = Parent();
    const int ids[] = {0, 1, 0xFFFF, 0x10000, 0x7ABCDEF1, -2, int(0x80000001u)};
    for (int id : ids) {
        CVorButton b;
        b.Init(window.Wnd(), id, 0, 0, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
        window.commands.clear();
        CHECK(b.OnMouseDown(1, 1) == 1);
        CHECK(b.OnMouseUp(1, 1) == 1);
        REQUIRE(window.commands.size() == 1);
        CHECK_MESSAGE(window.commands[0].wParam == WPARAM(INT_PTR(id)), "id " << id);
        CHECK(window.commands[0].lParam == 0);
        CHECK(int(window.commands[0].wParam) == id);
        CHECK(LOWORD(window.commands[0].wParam) == (unsigned(id) & 0xFFFF));
        // The full width of wParam: a negative id has every high bit set on 64-bit too.
        const uint64_t expected = sizeof(WPARAM) > 4 ? uint64_t(int64_t(id)) : uint64_t(unsigned(id));
        CHECK(uint64_t(window.commands[0].wParam) == expected);
    }
}

TEST_CASE("the message goes to the window the parent holds at the moment of the click") {
    Faces f;
    TestWindow& first = Parent();
    TestWindow second(32, 32, "second");
    CWnd parent(first.Handle());
    CVorButton b;
    b.Init(&parent, 42, 0, 0, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
    parent.Attach(second.Handle());
    CHECK(b.OnMouseDown(3, 3) == 1);
    CHECK(b.OnMouseUp(3, 3) == 1);
    CHECK(first.commands.empty());
    REQUIRE(second.commands.size() == 1);
    CHECK(second.commands[0].wParam == 42);
}

TEST_CASE("the state machine over every order of up to five events matches the event table") {
    Faces f;
    TestWindow& window = Parent();
    int sequences = 0;
    bool ok = true;
    for (int length = 1; length <= 5 && ok; ++length) {
        int total = 1;
        for (int i = 0; i < length; ++i) total *= kEvents;
        for (int code = 0; code < total && ok; ++code) {
            CVorButton b;
            b.Init(window.Wnd(), 77, 10, 20, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
            window.commands.clear();
            Model m;
            std::string trail;
            for (int i = 0, c = code; i < length; ++i, c /= kEvents) {
                const Event e = Event(c % kEvents);
                trail += std::string(kEventName[e]) + "; ";
                const int want = m.Apply(e);
                const int got = Send(b, e);
                if (got != want || b.GetState() != m.state || int(window.commands.size()) != m.commands) {
                    FAIL_CHECK(trail << "returned " << got << " (want " << want << "), state " << b.GetState()
                                     << " (want " << m.state << "), commands " << window.commands.size()
                                     << " (want " << m.commands << ")");
                    ok = false;
                    break;
                }
                CHECK_EQ(b.GetSprite(), b.GetFace(m.state));
            }
            ++sequences;
        }
    }
    CHECK(sequences == 6 + 36 + 216 + 1296 + 7776);
}

TEST_CASE("named orders: leave while pressed cancels; up outside keeps the press") {
    Faces f;
    TestWindow& window = Parent();
    CVorButton b;
    b.Init(window.Wnd(), 5, 10, 20, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
    // Move in, down, move out, up outside: no command.
    CHECK(Send(b, kMoveIn) == 1);
    CHECK(Send(b, kDownIn) == 1);
    CHECK(Send(b, kMoveOut) == 0);
    CHECK(Send(b, kUpOut) == 0);
    CHECK(b.GetState() == CVorButton::kNormal);
    // Down, move out, move in, up inside: no command, the state stays hover.
    CHECK(Send(b, kDownIn) == 1);
    CHECK(Send(b, kMoveOut) == 0);
    CHECK(Send(b, kMoveIn) == 1);
    CHECK(Send(b, kUpIn) == 0);
    CHECK(b.GetState() == CVorButton::kHover);
    // Down, up outside with no move between: the pressed face stays.
    CHECK(Send(b, kDownIn) == 1);
    CHECK(Send(b, kUpOut) == 0);
    CHECK(b.GetState() == CVorButton::kPressed);
    CHECK(b.GetSprite() == b.GetFace(2));
    window.Pump();
    CHECK(window.commands.empty());
    // Released back inside later: that completes the click.
    CHECK(Send(b, kUpIn) == 1);
    CHECK(window.commands.size() == 1);
}

TEST_CASE("a disabled or hidden button ignores every event and keeps its state") {
    Faces f;
    TestWindow& window = Parent();
    for (int hide = 0; hide < 2; ++hide) {
        CVorButton b;
        b.Init(window.Wnd(), 9, 10, 20, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
        CHECK(Send(b, kDownIn) == 1);  // pressed when switched off
        if (hide) b.Show(0);
        else b.Enable(0);
        CHECK(b.GetEnable() == (hide ? 1 : 0));
        CHECK(b.GetShow() == (hide ? 0 : 1));
        for (int e = 0; e < kEvents; ++e) {
            CHECK(Send(b, Event(e)) == 0);
            CHECK(b.GetState() == CVorButton::kPressed);
        }
        CHECK(b.GetSprite() == (hide ? nullptr : b.GetFace(3)));
        window.Pump();
        CHECK(window.commands.empty());
        if (hide) b.Show(1);
        else b.Enable(1);
        // Switched on again: the face of the state it had, and the press can complete.
        CHECK(b.GetSprite() == b.GetFace(2));
        CHECK(Send(b, kUpIn) == 1);
        CHECK(window.commands.size() == 1);
        window.commands.clear();
    }
}

TEST_CASE("four separate faces: each at the button's place in its own size; the hit area is the normal face") {
    Faces f(30, 40);
    CVorTga bigHover;
    REQUIRE(LoadTga(bigHover, 50, 12, [](int, int) { return kFaceColour[1]; }));
    CVorButton b;
    b.Init(static_cast<CWnd*>(nullptr), 1, 5, 6, &f.tga[0], &bigHover, &f.tga[2], &f.tga[3]);
    for (int k = 0; k < 4; ++k) {
        CVorSprite* s = b.GetFace(k);
        CHECK(s->GetX() == 5);
        CHECK(s->GetY() == 6);
        CHECK(s->GetAlpha() == 255);
        CHECK(s->GetSrcX() == 0);
        CHECK(s->GetSrcY() == 0);
    }
    CHECK(b.GetFace(0)->GetTga() == &f.tga[0]);
    CHECK(b.GetFace(1)->GetTga() == &bigHover);
    CHECK(b.GetFace(1)->GetWidth() == 50);
    CHECK(b.GetFace(1)->GetHeight() == 12);
    CHECK(b.GetFace(3)->GetTga() == &f.tga[3]);
    CHECK(b.GetWidth() == 30);
    CHECK(b.GetHeight() == 40);
    CHECK(b.GetFace(4) == nullptr);
    CHECK(b.GetFace(-1) == nullptr);

    // No disabled image: face 3 keeps what it held.
    CVorTga other;
    REQUIRE(LoadTga(other, 8, 8, [](int, int) { return kFaceColour[0]; }));
    b.Init(static_cast<CWnd*>(nullptr), 2, 0, 0, &other, &other, &other, nullptr);
    CHECK(b.GetFace(3)->GetTga() == &f.tga[3]);
    CHECK(b.GetFace(3)->GetX() == 5);
    CHECK(b.GetWidth() == 8);
    CHECK(b.GetCommandId() == 2);
}

TEST_CASE("a fresh button disabled before any disabled face shows a sprite that draws nothing") {
    Faces f;
    Stage st(64, 64);
    CVorButton b;
    b.Init(static_cast<CWnd*>(nullptr), 1, 4, 4, &f.tga[0], &f.tga[1], &f.tga[2], nullptr);
    b.Enable(0);
    st.Frame(&b);
    CHECK(PixelAt(st.g, 10, 10) == kGround);
    REQUIRE(st.g.GetSpriteList().size() == 2);
    CHECK(st.g.GetSpriteList()[1] == b.GetFace(3));
}

TEST_CASE("bitmap faces work like TGA faces") {
    EnsureGdiplus();
    Stage st(64, 64);
    MemoryImage img[4];
    CVorBitmap bmp[4];
    for (int k = 0; k < 4; ++k) {
        const Bgra c = kFaceColour[k];
        img[k] = MakeMemoryImage(20, 10, [c](int, int) { return c; });
        bmp[k].Init(img[k].bits.data(), int(img[k].bits.size()), img[k].info, 0);
    }
    CVorButton b;
    b.Init(static_cast<CWnd*>(nullptr), 1, 8, 9, &bmp[0], &bmp[1], &bmp[2], &bmp[3]);
    CHECK(b.GetWidth() == 20);
    CHECK(b.GetHeight() == 10);
    CHECK(b.GetFace(2)->GetBitmap() == &bmp[2]);
    st.Frame(&b);
    CHECK(PixelAt(st.g, 8, 9) == FaceBgr(0));
    CHECK(PixelAt(st.g, 27, 18) == FaceBgr(0));
    CHECK(PixelAt(st.g, 28, 18) == kGround);
    CHECK(b.OnMouseMove(10, 10) == 1);
    st.Frame(&b);
    CHECK(PixelAt(st.g, 20, 15) == FaceBgr(1));
}

TEST_CASE("vertical strips: count 4 cuts equal faces and drops the rest; count 3 leaves face 3") {
    CVorTga strip;
    REQUIRE(LoadTga(strip, 60, 103, [](int x, int y) { return Bgra{uint8_t(x), uint8_t(y), 0, 255}; }));
    CVorButton b;
    b.Init(static_cast<CWnd*>(nullptr), 3, 7, 8, &strip, 4);
    CHECK(b.GetWidth() == 60);
    CHECK(b.GetHeight() == 25);
    for (int k = 0; k < 4; ++k) {
        CVorSprite* s = b.GetFace(k);
        CHECK(s->GetTga() == &strip);
        CHECK(s->GetX() == 7);
        CHECK(s->GetY() == 8);
        CHECK(s->GetWidth() == 60);
        CHECK(s->GetHeight() == 25);
        CHECK(s->GetSrcX() == 0);
        CHECK(s->GetSrcY() == 25 * k);
        CHECK(s->GetAlpha() == 255);
    }

    CVorTga strip3;
    REQUIRE(LoadTga(strip3, 60, 90, [](int, int) { return Bgra{1, 2, 3, 255}; }));
    CVorButton c;
    c.Init(static_cast<CWnd*>(nullptr), 3, 0, 0, &strip3, 3);
    CHECK(c.GetHeight() == 30);
    for (int k = 0; k < 3; ++k) CHECK(c.GetFace(k)->GetSrcY() == 30 * k);
    CHECK(c.GetFace(3)->GetTga() == nullptr);  // untouched since construction
    CHECK(c.GetFace(3)->GetWidth() == 0);

    // Drawn: the hover face shows rows 25..49 of the strip.
    Stage st(80, 40);
    b.OnMouseMove(10, 10);
    st.Frame(&b);
    CHECK(PixelAt(st.g, 7, 8) == (Bgr{0, 25, 0}));
    CHECK(PixelAt(st.g, 66, 32) == (Bgr{59, 49, 0}));
    CHECK(PixelAt(st.g, 7, 33) == kGround);
}

TEST_CASE("horizontal strips cut faces side by side") {
    CVorTga strip;
    REQUIRE(LoadTga(strip, 120, 30, [](int x, int y) { return Bgra{uint8_t(x), uint8_t(y), 9, 255}; }));
    CVorButton b;
    b.InitH(static_cast<CWnd*>(nullptr), 3, 1, 2, &strip, 4);
    CHECK(b.GetWidth() == 30);
    CHECK(b.GetHeight() == 30);
    for (int k = 0; k < 4; ++k) {
        CHECK(b.GetFace(k)->GetSrcX() == 30 * k);
        CHECK(b.GetFace(k)->GetSrcY() == 0);
        CHECK(b.GetFace(k)->GetWidth() == 30);
        CHECK(b.GetFace(k)->GetHeight() == 30);
    }
    // 3 faces of a 100-wide strip: 33 columns each, the last column never shown.
    CVorTga odd;
    REQUIRE(LoadTga(odd, 100, 10, [](int x, int) { return Bgra{uint8_t(x), 0, 0, 255}; }));
    CVorButton c;
    c.InitH(static_cast<CWnd*>(nullptr), 3, 0, 0, &odd, 3);
    CHECK(c.GetWidth() == 33);
    CHECK(c.GetFace(2)->GetSrcX() == 66);
    Stage st(40, 20);
    c.OnMouseDown(1, 1);
    st.Frame(&c);
    CHECK(PixelAt(st.g, 0, 0) == (Bgr{66, 0, 0}));
    CHECK(PixelAt(st.g, 32, 9) == (Bgr{98, 0, 0}));
    CHECK(PixelAt(st.g, 33, 9) == kGround);
}

TEST_CASE("a bitmap strip from a resource") {
    EnsureGdiplus();
    CVorBitmap strip;
    strip.Init(unsigned(IDB_TEST24_1X4));  // 1 x 4: four one-pixel faces
    REQUIRE(strip.GetHeight() == 4);
    CVorButton b;
    b.Init(static_cast<CWnd*>(nullptr), 3, 2, 2, &strip, 4);
    CHECK(b.GetWidth() == 1);
    CHECK(b.GetHeight() == 1);
    Stage st(8, 8);
    for (int state = 0; state < 3; ++state) {
        if (state == 1) b.OnMouseMove(2, 2);
        if (state == 2) b.OnMouseDown(2, 2);
        st.Frame(&b);
        const TestRgb want = TestPixel24x1x4(0, state);
        CHECK(PixelAt(st.g, 2, 2) == (Bgr{want.b, want.g, want.r}));
    }
    b.Enable(0);
    st.Frame(&b);
    const TestRgb disabled = TestPixel24x1x4(0, 3);
    CHECK(PixelAt(st.g, 2, 2) == (Bgr{disabled.b, disabled.g, disabled.r}));
}

TEST_CASE("bad strip counts and missing images leave an empty button that never reacts") {
    CVorTga strip;
    REQUIRE(LoadTga(strip, 60, 90, [](int, int) { return kFaceColour[0]; }));
    Stage st(64, 64);
    const int counts[] = {0, -1, 1, 2, 5, -2147483647 - 1};
    for (int count : counts) {
        for (int across = 0; across < 2; ++across) {
            CVorButton b;
            Faces f;
            b.Init(static_cast<CWnd*>(nullptr), 1, 0, 0, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
            if (across) b.InitH(static_cast<CWnd*>(nullptr), 1, 0, 0, &strip, count);
            else b.Init(static_cast<CWnd*>(nullptr), 1, 0, 0, &strip, count);
            CHECK(b.GetWidth() == 0);
            CHECK(b.GetHeight() == 0);
            for (int k = 0; k < 4; ++k) CHECK(b.GetFace(k)->GetTga() == nullptr);
            CHECK(b.OnMouseMove(0, 0) == 0);
            CHECK(b.OnMouseDown(0, 0) == 0);
            st.Frame(&b);
            CHECK(PixelAt(st.g, 5, 5) == kGround);
        }
    }
    // A null strip, null separate faces.
    CVorButton n;
    n.Init(static_cast<CWnd*>(nullptr), 1, 3, 3, static_cast<CVorTga*>(nullptr), 4);
    CHECK(n.GetWidth() == 0);
    n.InitH(static_cast<CWnd*>(nullptr), 1, 3, 3, static_cast<CVorBitmap*>(nullptr), 3);
    n.Init(static_cast<CWnd*>(nullptr), 1, 3, 3, static_cast<CVorTga*>(nullptr), nullptr, nullptr, nullptr);
    n.Init(static_cast<CWnd*>(nullptr), 1, 3, 3, static_cast<CVorBitmap*>(nullptr), nullptr, nullptr, nullptr);
    CHECK(n.GetWidth() == 0);
    CHECK(n.OnMouseDown(3, 3) == 0);
    st.Frame(&n);
    CHECK(PixelAt(st.g, 3, 3) == kGround);
    // A button with faces but no hover image: hovering shows nothing there, and nothing breaks.
    Faces f;
    CVorButton h;
    h.Init(static_cast<CWnd*>(nullptr), 1, 0, 0, &f.tga[0], nullptr, &f.tga[2], nullptr);
    CHECK(h.OnMouseMove(1, 1) == 1);
    st.Frame(&h);
    CHECK(PixelAt(st.g, 1, 1) == kGround);
}

TEST_CASE("a click without a parent window, or with a destroyed one, sends nothing and does not crash") {
    Faces f;
    CVorButton none;
    none.Init(static_cast<CWnd*>(nullptr), 1, 0, 0, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
    CHECK(none.OnMouseDown(1, 1) == 1);
    CHECK(none.OnMouseUp(1, 1) == 0);
    CHECK(none.GetState() == CVorButton::kNormal);

    CWnd empty;
    CVorButton noHandle;
    noHandle.Init(&empty, 1, 0, 0, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
    CHECK(noHandle.OnMouseDown(1, 1) == 1);
    CHECK(noHandle.OnMouseUp(1, 1) == 0);

    CWnd parent;
    {
        TestWindow gone(32, 32, "gone");
        parent.Attach(gone.Handle());
    }
    CHECK_FALSE(::IsWindow(parent.m_hWnd));
    CVorButton orphan;
    orphan.Init(&parent, 1, 0, 0, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
    CHECK(orphan.OnMouseMove(1, 1) == 1);
    CHECK(orphan.OnMouseDown(1, 1) == 1);
    CHECK(orphan.OnMouseUp(1, 1) == 0);
    CHECK(orphan.GetState() == CVorButton::kNormal);

    // Attached to a live window again, the same button's click arrives.
    TestWindow& live = Parent();
    parent.Attach(live.Handle());
    CHECK(orphan.OnMouseDown(1, 1) == 1);
    CHECK(orphan.OnMouseUp(1, 1) == 1);
    CHECK(live.commands.size() == 1);
}

TEST_CASE("AddSprite for a button: the face of its state, the disabled face, nothing when hidden") {
    Faces f;
    TestWindow& window = Parent();
    CClientDC target(window.Wnd());
    EnsureGdiplus();
    CVorGraphics g;
    REQUIRE(g.Init(64, 64));
    g.InitGraphics(&target);
    CVorColor groundColour(kGround.r, kGround.g, kGround.b);
    CVorSprite ground;
    ground.Init(&groundColour);
    CVorButton b;
    b.Init(window.Wnd(), 11, 10, 20, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
    auto frame = [&]() {
        g.InitSprite();
        g.AddSprite(&ground, 0, 0, 63, 63, 0, 0, 255);
        g.AddSprite(&b);
        g.DrawSprite(true);
        ::GdiFlush();
        window.Pump();
    };
    auto shown = [&](int face) {
        CHECK(PixelAt(g, 10, 20) == FaceBgr(face));
        CHECK(PixelAt(g, 39, 59) == FaceBgr(face));
        CHECK(PixelAt(g, 40, 59) == kGround);
        CHECK(window.ClientPixel(25, 40) == FaceBgr(face));  // presented to the window
    };
    frame();
    shown(0);
    b.OnMouseMove(25, 40);
    frame();
    shown(1);
    b.OnMouseDown(25, 40);
    frame();
    shown(2);
    b.Enable(0);
    frame();
    shown(3);
    REQUIRE(g.GetSpriteList().size() == 2);
    CHECK(g.GetSpriteList()[1] == b.GetFace(3));
    b.Enable(1);
    b.OnMouseUp(25, 40);
    CHECK(window.commands.size() == 1);
    frame();
    shown(0);

    // Hidden: nothing added; the face listed before leaves the list and its place is repainted.
    b.Show(0);
    g.InitSprite();
    g.AddSprite(&ground, 0, 0, 63, 63, 0, 0, 255);
    g.AddSprite(&b);
    CHECK(g.GetSpriteList().size() == 2);  // the old face is still listed until DrawSprite
    g.DrawSprite(true);
    REQUIRE(g.GetSpriteList().size() == 1);
    CHECK(g.GetSpriteList()[0] == &ground);
    CHECK(PixelAt(g, 20, 30) == kGround);

    g.AddSprite(static_cast<CVorButton*>(nullptr));
    CHECK(g.GetSpriteList().size() == 1);
}

TEST_CASE("copies: both can be destroyed in any order, and the copy draws and clicks the same") {
    Faces f;
    TestWindow& window = Parent();
    Stage st(64, 64);
    CVorFont font(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    std::unique_ptr<CVorButton> original(new CVorButton);
    original->Init(window.Wnd(), 21, 10, 20, &f.tga[0], &f.tga[1], &f.tga[2], &f.tga[3]);
    // A face may be any sprite; a text face owns a brush, which each copy must own on its own.
    original->GetFace(3)->Init(&font, "off", Gdiplus::Color(255, 255, 255, 255), Gdiplus::StringAlignmentNear);
    original->OnMouseMove(12, 22);

    CVorButton copy(*original);
    CVorButton assigned;
    assigned = *original;
    CHECK(copy.GetFace(3)->GetSolidBrush() != nullptr);
    CHECK(copy.GetFace(3)->GetSolidBrush() != original->GetFace(3)->GetSolidBrush());
    CHECK(assigned.GetFace(3)->GetSolidBrush() != copy.GetFace(3)->GetSolidBrush());
    assigned = assigned;  // self-assignment keeps everything
    CHECK(assigned.GetFace(3)->GetSolidBrush() != nullptr);
    assigned = copy;  // replaces (and releases) its own brush

    st.Frame(original.get());
    const std::vector<uint8_t> drawnByOriginal = Snapshot(st.g);
    original.reset();

    Stage other(64, 64);
    other.Frame(&copy);
    CHECK(Snapshot(other.g) == drawnByOriginal);
    CHECK(copy.GetState() == CVorButton::kHover);
    CHECK(copy.OnMouseDown(12, 22) == 1);
    CHECK(copy.OnMouseUp(12, 22) == 1);
    REQUIRE(window.commands.size() == 1);
    CHECK(window.commands[0].wParam == 21);
    Stage third(64, 64);
    third.Frame(&assigned);
    CHECK(Snapshot(third.g) == drawnByOriginal);
}
