// Nine-cell panels: layout of the edge, centre and corner sprites, the drawing order, every pixel
// of panels of several sizes (smaller than the corners included, and clipped at the surface
// edges), cells loaded from a module given by name, the current resource module afterwards, and
// copies.
#include <doctest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "data/test_resource_ids.h"

namespace {

const unsigned int kCellIds[9] = {IDB_CELL_0, IDB_CELL_1, IDB_CELL_2, IDB_CELL_3, IDB_CELL_4,
                                  IDB_CELL_5, IDB_CELL_6, IDB_CELL_7, IDB_CELL_8};
const uint8_t kPaper = 0x11;
const Bgr kPaperBgr = {kPaper, kPaper, kPaper};

struct Box {
    int64_t x, y, w, h;
};

// The panel as it must look, painted cell by cell in drawing order: centre, bottom, right, left,
// top edge (each tiled from its own top-left corner, nothing for an empty or negative length),
// then the corners bottom-right, bottom-left, top-right, top-left at their own size.
struct ReferencePanel {
    int surfaceW, surfaceH;
    bool fromDll;
    std::vector<Bgr> pixels;
    unsigned missing = 0;  // bit k: cell k did not load (size 0, draws nothing)

    ReferencePanel(int w, int h, bool dll, const std::vector<Bgr>& under)
        : surfaceW(w), surfaceH(h), fromDll(dll), pixels(under) {}

    void Put(int64_t x, int64_t y, int cell, int64_t cx, int64_t cy) {
        if (x < 0 || y < 0 || x >= surfaceW || y >= surfaceH) return;
        const TestRgb c = TestCellPixel(cell, int(cx), int(cy), fromDll);
        pixels[size_t(y) * surfaceW + size_t(x)] = Bgr{c.b, c.g, c.r};
    }
    bool Missing(int cell) const { return (missing >> cell) & 1; }
    void Tile(const Box& b, int cell) {
        if (Missing(cell)) return;
        for (int64_t y = b.y; y < b.y + b.h; ++y)
            for (int64_t x = b.x; x < b.x + b.w; ++x)
                Put(x, y, cell, (x - b.x) % TestCellWidth(cell), (y - b.y) % TestCellHeight(cell));
    }
    void Corner(int64_t x0, int64_t y0, int cell) {
        if (Missing(cell)) return;
        for (int y = 0; y < TestCellHeight(cell); ++y)
            for (int x = 0; x < TestCellWidth(cell); ++x) Put(x0 + x, y0 + y, cell, x, y);
    }
    void Paint(int64_t X, int64_t Y, int64_t W, int64_t H) {
        auto w = [this](int k) { return Missing(k) ? 0 : int64_t(TestCellWidth(k)); };
        auto h = [this](int k) { return Missing(k) ? 0 : int64_t(TestCellHeight(k)); };
        Tile(Box{X, Y, W, H}, 8);
        Tile(Box{X + w(5), Y + H - h(6), W - w(5) - w(7), h(6)}, 6);
        Tile(Box{X + W - w(4), Y + h(2), w(4), H - h(2) - h(7)}, 4);
        Tile(Box{X, Y + h(0), w(3), H - h(0) - h(5)}, 3);
        Tile(Box{X + w(0), Y, W - w(0) - w(2), h(1)}, 1);
        Corner(X + W - w(7), Y + H - h(7), 7);
        Corner(X, Y + H - h(5), 5);
        Corner(X + W - w(2), Y, 2);
        Corner(X, Y, 0);
    }
};

struct Surface {
    CVorGraphics g;
    Surface(int w, int h) {
        EnsureGdiplus();
        REQUIRE(g.Init(w, h));
        g.InitGraphics(static_cast<CPaintDC*>(nullptr));
        FillBytes(g, kPaper);
    }
    void Frame(CGameBackImage& panel) {
        g.InitSprite();
        panel.Render(1);
        g.DrawSprite(true);
        g.GetGraphics()->Flush(Gdiplus::FlushIntentionSync);
        ::GdiFlush();
    }
    // Every pixel against the reference; reports the first difference.
    bool Matches(const ReferencePanel& want) {
        for (int y = 0; y < int(g.GetHeight()); ++y)
            for (int x = 0; x < int(g.GetWidth()); ++x) {
                const Bgr expect = want.pixels[size_t(y) * g.GetWidth() + size_t(x)];
                if (PixelAt(g, x, y) != expect) {
                    FAIL_CHECK("pixel (" << x << ", " << y << ") is " << ToString(PixelAt(g, x, y)) << ", expected "
                                         << ToString(expect));
                    return false;
                }
            }
        return true;
    }
};

std::vector<Bgr> Paper(int w, int h) { return std::vector<Bgr>(size_t(w) * h, kPaperBgr); }

// Shape rectangle of an edge or centre sprite, as "x,y,w,h".
std::string Shape(CVorSprite* s) {
    return std::to_string(s->GetPenX()) + "," + std::to_string(s->GetPenY()) + "," + std::to_string(s->GetPenWidth()) +
           "," + std::to_string(s->GetPenHeight());
}
std::string Place(CVorSprite* s) { return std::to_string(s->GetX()) + "," + std::to_string(s->GetY()); }

}  // namespace

TEST_CASE("edge and centre sprites run between the corners; corners are placed by Render") {
    Surface s(64, 48);
    CGameBackImage panel;
    CHECK(panel.GetFrameRect().Width == 0);
    CHECK(panel.InitBackImage(&s.g, Gdiplus::Rect(10, 8, 40, 30), kCellIds, nullptr));
    for (int k = 0; k < 9; ++k) {
        CHECK(panel.GetCell(k)->GetWidth() == TestCellWidth(k));
        CHECK(panel.GetCell(k)->GetHeight() == TestCellHeight(k));
    }
    CHECK(panel.GetCell(9) == nullptr);
    CHECK(panel.GetCellSprite(-1) == nullptr);
    CHECK(Shape(panel.GetCellSprite(4)) == "16,8,29,4");   // top: X + w0, Y, W - w0 - w2, h1
    CHECK(Shape(panel.GetCellSprite(3)) == "10,13,4,21");  // left: X, Y + h0, w3, H - h0 - h5
    CHECK(Shape(panel.GetCellSprite(2)) == "47,14,3,17");  // right: X + W - w4, Y + h2, w4, H - h2 - h7
    CHECK(Shape(panel.GetCellSprite(1)) == "17,35,29,3");  // bottom: X + w5, Y + H - h6, W - w5 - w7, h6
    CHECK(Shape(panel.GetCellSprite(0)) == "10,8,40,30");  // centre: the whole panel
    CHECK(panel.GetCellSprite(4)->GetWidth() == 30);       // a brush sprite covers one more pixel
    CHECK(panel.GetCellSprite(4)->GetAlpha() == 255);
    const Gdiplus::Rect frame = panel.GetFrameRect();
    CHECK(frame.X == 10);
    CHECK(frame.Y == 8);
    CHECK(frame.Width == 40);
    CHECK(frame.Height == 30);

    // Corner sprites show the corner cells; edges and centre fill with five distinct brushes.
    CHECK(panel.GetCellSprite(5)->GetBitmap() == panel.GetCell(7));
    CHECK(panel.GetCellSprite(6)->GetBitmap() == panel.GetCell(5));
    CHECK(panel.GetCellSprite(7)->GetBitmap() == panel.GetCell(2));
    CHECK(panel.GetCellSprite(8)->GetBitmap() == panel.GetCell(0));
    for (int i = 0; i < 5; ++i) {
        REQUIRE(panel.GetCellSprite(i)->GetBrush() != nullptr);
        CHECK(panel.GetCellSprite(i)->GetBrush()->GetTextureBrush() != nullptr);
        for (int j = 0; j < i; ++j) CHECK(panel.GetCellSprite(i)->GetBrush() != panel.GetCellSprite(j)->GetBrush());
    }

    s.g.InitSprite();
    panel.Render(1);
    CHECK(Place(panel.GetCellSprite(5)) == "46,31");  // bottom-right: X + W - w7, Y + H - h7
    CHECK(Place(panel.GetCellSprite(6)) == "10,34");  // bottom-left: X, Y + H - h5
    CHECK(Place(panel.GetCellSprite(7)) == "45,8");   // top-right: X + W - w2, Y
    CHECK(Place(panel.GetCellSprite(8)) == "10,8");   // top-left
    CHECK(panel.GetCellSprite(8)->GetWidth() == 6);
    CHECK(panel.GetCellSprite(8)->GetHeight() == 5);
    const std::vector<CVorSprite*>& list = s.g.GetSpriteList();
    REQUIRE(list.size() == 9);
    for (int i = 0; i < 9; ++i) {
        CHECK(list[size_t(i)] == panel.GetCellSprite(i));
        CHECK(list[size_t(i)]->GetSort() == i);
    }
}

TEST_CASE("every pixel of panels of several sizes, smaller than the corners and clipped included") {
    const int W = 64, H = 48;
    const int panels[][4] = {
        {10, 8, 40, 30},    // roomy: several tiles along each edge
        {0, 0, 64, 48},     // the whole surface
        {3, 2, 11, 11},     // top edge of length 0, left edge 2 long
        {20, 10, 12, 12},   // just larger than the corners
        {5, 5, 8, 6},       // smaller than the corners: negative edge lengths
        {30, 20, 1, 1},     // one pixel
        {7, 7, 0, 0},       // empty
        {40, 30, -5, -4},   // negative size
        {-3, -2, 70, 53},   // beyond every edge of the surface
        {58, 44, 20, 20},   // beyond the right and bottom edges
        {-10, -9, 14, 12},  // mostly off the top-left corner
    };
    for (const auto& p : panels) {
        CAPTURE(p[0]);
        CAPTURE(p[1]);
        CAPTURE(p[2]);
        CAPTURE(p[3]);
        Surface s(W, H);
        CGameBackImage panel;
        CHECK(panel.InitBackImage(&s.g, Gdiplus::Rect(p[0], p[1], p[2], p[3]), kCellIds, nullptr));
        // Lengths are passed on unchanged, however small the panel.
        CHECK(panel.GetCellSprite(4)->GetPenWidth() == p[2] - TestCellWidth(0) - TestCellWidth(2));
        CHECK(panel.GetCellSprite(3)->GetPenHeight() == p[3] - TestCellHeight(0) - TestCellHeight(5));
        s.Frame(panel);
        ReferencePanel want(W, H, false, Paper(W, H));
        want.Paint(p[0], p[1], p[2], p[3]);
        CHECK(s.Matches(want));
    }
}

TEST_CASE("a panel moved over a ground: the next frame shows it at its new place only") {
    const int W = 64, H = 48;
    Surface s(W, H);
    CVorColor groundColour(0, 90, 200);
    CVorSprite ground;
    ground.Init(&groundColour);
    CGameBackImage panel;
    auto frame = [&]() {
        s.g.InitSprite();
        s.g.AddSprite(&ground, 0, 0, W, H, 0, 0, 255);
        panel.Render(1);
        s.g.DrawSprite(true);
        ::GdiFlush();
    };
    panel.InitBackImage(&s.g, Gdiplus::Rect(4, 4, 30, 20), kCellIds, nullptr);
    frame();
    panel.InitBackImage(&s.g, Gdiplus::Rect(25, 20, 33, 25), kCellIds, nullptr);
    frame();
    ReferencePanel want(W, H, false, std::vector<Bgr>(size_t(W) * H, Bgr{200, 90, 0}));
    want.Paint(25, 20, 33, 25);
    CHECK(s.Matches(want));
    // Unchanged next frame: nothing dirty, nothing redrawn.
    frame();
    CHECK(s.g.GetZang().GetRects().empty());
}

TEST_CASE("Render(0) adds nothing and moves nothing; Render before InitBackImage is harmless") {
    Surface s(32, 32);
    CGameBackImage unset;
    unset.Render(1);
    unset.Render(0);
    CHECK(s.g.GetSpriteList().empty());

    CGameBackImage panel;
    panel.InitBackImage(&s.g, Gdiplus::Rect(2, 2, 20, 20), kCellIds, nullptr);
    s.Frame(panel);
    REQUIRE(s.g.GetSpriteList().size() == 9);
    const std::string corner = Place(panel.GetCellSprite(5));
    s.g.InitSprite();
    panel.Render(0);
    CHECK(Place(panel.GetCellSprite(5)) == corner);
    for (CVorSprite* sprite : s.g.GetSpriteList()) CHECK(sprite->GetUpdate() == 0);
    s.g.DrawSprite(true);
    CHECK(s.g.GetSpriteList().empty());

    // A panel on no surface draws nowhere.
    CGameBackImage nowhere;
    CHECK(nowhere.InitBackImage(nullptr, Gdiplus::Rect(0, 0, 10, 10), kCellIds, nullptr));
    nowhere.Render(1);
}

TEST_CASE("missing cells: still true, cells of size 0, nothing drawn") {
    Surface s(32, 32);
    const unsigned int missing[9] = {IDB_TEST_MISSING, IDB_TEST_MISSING, IDB_TEST_MISSING, IDB_TEST_MISSING,
                                     IDB_TEST_MISSING, IDB_TEST_MISSING, IDB_TEST_MISSING, IDB_TEST_MISSING,
                                     IDB_TEST_MISSING};
    CGameBackImage panel;
    CHECK(panel.InitBackImage(&s.g, Gdiplus::Rect(2, 3, 20, 10), missing, nullptr));
    for (int k = 0; k < 9; ++k) {
        CHECK(panel.GetCell(k)->GetWidth() == 0);
        CHECK(panel.GetCell(k)->GetHeight() == 0);
    }
    CHECK(Shape(panel.GetCellSprite(4)) == "2,3,20,0");
    s.Frame(panel);
    CHECK(s.Matches(ReferencePanel(32, 32, false, Paper(32, 32))));

    // No table of ids at all: the same.
    CGameBackImage none;
    CHECK(none.InitBackImage(&s.g, Gdiplus::Rect(2, 3, 20, 10), nullptr, nullptr));
    CHECK(none.GetCell(0)->GetWidth() == 0);
    s.Frame(none);
    CHECK(s.Matches(ReferencePanel(32, 32, false, Paper(32, 32))));

    // Some cells present, some missing: those present are drawn where they belong.
    unsigned int mixed[9];
    for (int k = 0; k < 9; ++k) mixed[k] = k % 2 ? IDB_TEST_MISSING : kCellIds[k];
    CGameBackImage partial;
    CHECK(partial.InitBackImage(&s.g, Gdiplus::Rect(1, 1, 25, 25), mixed, nullptr));
    CHECK(partial.GetCell(1)->GetHeight() == 0);
    CHECK(Shape(partial.GetCellSprite(4)) == "7,1,14,0");  // the top edge takes the missing cell's height 0
    s.Frame(partial);
    ReferencePanel want(32, 32, false, Paper(32, 32));
    want.missing = 0xAA;  // cells 1, 3, 5, 7
    want.Paint(1, 1, 25, 25);
    CHECK(s.Matches(want));
    CHECK(PixelAt(s.g, 1, 1) == (Bgr{40, 40, 20}));  // top-left cell, its pixel (0, 0)
}

TEST_CASE("cells come from the module given by name; the host executable is the resource module afterwards") {
    EnsureGdiplus();
    HMODULE dll = ::LoadLibraryA("test_cells.dll");
    REQUIRE(dll != nullptr);
    HINSTANCE exe = ::GetModuleHandleA(nullptr);
    const int W = 40, H = 30;

    // The loader under the panel: a bitmap resource of a given module; the resource module stays.
    {
        AfxSetResourceHandle(nullptr);
        CVorBitmap cell;
        cell.Init(dll, unsigned(IDB_CELL_3));
        CHECK(cell.GetWidth() == TestCellWidth(3));
        CHECK(cell.GetHeight() == TestCellHeight(3));
        CHECK(cell.GetLastStatus() == Gdiplus::Ok);
        cell.Init(static_cast<HINSTANCE>(nullptr), unsigned(IDB_CELL_3));
        CHECK(cell.GetWidth() == 0);
        CHECK(cell.GetLastStatus() == Gdiplus::InvalidParameter);
        cell.Init(dll, unsigned(IDB_TEST24_5X3));  // only in the executable
        CHECK(cell.GetWidth() == 0);
        CHECK(cell.GetLastStatus() != Gdiplus::Ok);
        CHECK(AfxGetResourceHandle() == exe);  // unset means the host executable
    }
    // From the DLL, although another module was the resource module before.
    {
        Surface s(W, H);
        AfxSetResourceHandle(dll);
        CGameBackImage panel;
        CHECK(panel.InitBackImage(&s.g, Gdiplus::Rect(2, 2, 30, 24), kCellIds, "test_cells.dll"));
        CHECK(AfxGetResourceHandle() == exe);
        s.Frame(panel);
        ReferencePanel want(W, H, true, Paper(W, H));
        want.Paint(2, 2, 30, 24);
        CHECK(s.Matches(want));
    }
    // No name, or the executable's own name: the executable's cells.
    char exePath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exePath, MAX_PATH);
    std::string exeName = exePath;
    exeName = exeName.substr(exeName.find_last_of("\\/") + 1);
    for (const char* name : {static_cast<const char*>(nullptr), exeName.c_str()}) {
        Surface s(W, H);
        AfxSetResourceHandle(dll);
        CGameBackImage panel;
        CHECK(panel.InitBackImage(&s.g, Gdiplus::Rect(2, 2, 30, 24), kCellIds, name));
        CHECK(AfxGetResourceHandle() == exe);
        s.Frame(panel);
        ReferencePanel want(W, H, false, Paper(W, H));
        want.Paint(2, 2, 30, 24);
        CHECK(s.Matches(want));
    }
    // A module that is not loaded: no cells (not the executable's), still true.
    {
        Surface s(W, H);
        AfxSetResourceHandle(dll);
        CGameBackImage panel;
        CHECK(panel.InitBackImage(&s.g, Gdiplus::Rect(2, 2, 30, 24), kCellIds, "no_such_module.dll"));
        CHECK(AfxGetResourceHandle() == exe);
        for (int k = 0; k < 9; ++k) CHECK(panel.GetCell(k)->GetWidth() == 0);
        s.Frame(panel);
        CHECK(s.Matches(ReferencePanel(W, H, false, Paper(W, H))));
    }
    // The cells stay valid after the DLL is unloaded: GDI+ holds its own pixels.
    {
        Surface s(W, H);
        CGameBackImage panel;
        panel.InitBackImage(&s.g, Gdiplus::Rect(0, 0, 20, 20), kCellIds, "test_cells.dll");
        CHECK(::FreeLibrary(dll));
        s.Frame(panel);
        ReferencePanel want(W, H, true, Paper(W, H));
        want.Paint(0, 0, 20, 20);
        CHECK(s.Matches(want));
    }
    AfxSetResourceHandle(nullptr);
}

TEST_CASE("copies share the pictures safely: destroy either first, the other draws the same panel") {
    const int W = 48, H = 40;
    ReferencePanel want(W, H, false, Paper(W, H));
    want.Paint(3, 4, 37, 29);

    Surface s(W, H);
    std::unique_ptr<CGameBackImage> original(new CGameBackImage);
    original->InitBackImage(&s.g, Gdiplus::Rect(3, 4, 37, 29), kCellIds, nullptr);
    std::unique_ptr<CGameBackImage> copy(new CGameBackImage(*original));
    std::unique_ptr<CGameBackImage> assigned(new CGameBackImage);
    assigned->InitBackImage(&s.g, Gdiplus::Rect(0, 0, 5, 5), kCellIds, "no_such_module.dll");
    *assigned = *original;
    *assigned = *assigned;
    // The copies' sprites draw the copies' own cells and brushes, laid out alike.
    CHECK(copy->GetCellSprite(8)->GetBitmap() == copy->GetCell(0));
    CHECK(copy->GetCellSprite(5)->GetBitmap() == copy->GetCell(7));
    CHECK(assigned->GetCellSprite(6)->GetBitmap() == assigned->GetCell(5));
    CHECK(copy->GetCellSprite(0)->GetBrush() != original->GetCellSprite(0)->GetBrush());
    CHECK(assigned->GetCellSprite(4)->GetBrush() != original->GetCellSprite(4)->GetBrush());
    for (int i = 0; i < 5; ++i) CHECK(Shape(copy->GetCellSprite(i)) == Shape(original->GetCellSprite(i)));
    CHECK(copy->GetCell(3)->GetWidth() == 4);
    CHECK(assigned->GetFrameRect().Width == 37);
    original.reset();

    s.Frame(*copy);
    CHECK(s.Matches(want));

    // The assigned one, on fresh paper, draws the same; then both go, in either order.
    s.g.ClearSprite();
    FillBytes(s.g, kPaper);
    s.Frame(*assigned);
    CHECK(s.Matches(want));
    s.g.ClearSprite();
    assigned.reset();
    CGameBackImage last(*copy);
    copy.reset();
    FillBytes(s.g, kPaper);
    s.Frame(last);
    CHECK(s.Matches(want));
    s.g.ClearSprite();
}

TEST_CASE("the copy of a panel drawn on a surface draws there the same, after the original is gone") {
    const int W = 48, H = 40;
    Surface s(W, H);
    std::unique_ptr<CGameBackImage> original(new CGameBackImage);
    original->InitBackImage(&s.g, Gdiplus::Rect(5, 6, 30, 25), kCellIds, nullptr);
    CGameBackImage copy(*original);
    original.reset();  // the original was never listed; its pictures live on in the copy
    s.Frame(copy);
    ReferencePanel want(W, H, false, Paper(W, H));
    want.Paint(5, 6, 30, 25);
    CHECK(s.Matches(want));
}

TEST_CASE("panels made, copied and destroyed many times hold no GDI handles") {
    Surface s(32, 32);
    auto round = [&]() {
        CGameBackImage panel;
        panel.InitBackImage(&s.g, Gdiplus::Rect(1, 1, 30, 30), kCellIds, nullptr);
        CGameBackImage copy(panel);
        CGameBackImage other;
        other = copy;
        other.InitBackImage(&s.g, Gdiplus::Rect(2, 2, 20, 20), kCellIds, nullptr);
        s.Frame(other);
        s.g.ClearSprite();
    };
    round();  // warm-up: wine makes some objects on first use
    const unsigned before = GdiObjectCount();
    for (int i = 0; i < 20; ++i) round();
    CHECK(GdiObjectCount() <= before);
}

TEST_CASE("a panel at the far end of the int range clamps its arithmetic instead of wrapping") {
    Surface s(16, 16);
    CGameBackImage panel;
    CHECK(panel.InitBackImage(&s.g, Gdiplus::Rect(INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX), kCellIds, nullptr));
    CHECK(panel.GetCellSprite(2)->GetPenX() == INT_MAX);
    s.Frame(panel);
    CHECK(s.Matches(ReferencePanel(16, 16, false, Paper(16, 16))));
    CGameBackImage low;
    CHECK(low.InitBackImage(&s.g, Gdiplus::Rect(INT_MIN, INT_MIN, 3, 3), kCellIds, nullptr));
    s.Frame(low);
    CHECK(s.Matches(ReferencePanel(16, 16, false, Paper(16, 16))));
}
