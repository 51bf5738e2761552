// A 1024x768 scene: an opaque ground picture and N moving 64x64 alpha sprites. Frames per second
// composed by dirty rectangles (without presenting, presenting the blocks from the origin, and
// presenting the dirty rectangles only) and by full redraw (DrawBack + blits, not presented).
// bench/pygame_scene.py runs the same scene with pygame's LayeredDirty.
#include <cstring>
#include <list>

#include "Bench.h"

namespace {

const int W = 1024, H = 768, S = 64;

struct Mover {
    CVorSprite sprite;
    int x, y, dx, dy;
};

// The same start positions and speeds as the pygame scene.
void Place(std::vector<Mover>& movers, CVorTga* picture) {
    for (size_t i = 0; i < movers.size(); ++i) {
        movers[i].sprite.Init(picture);
        movers[i].x = int(i * 29) % (W - S);
        movers[i].y = int(i * 53) % (H - S);
        movers[i].dx = int(i % 5) + 1;
        movers[i].dy = int(i % 3) + 1;
    }
}

void Step(Mover& m) {
    m.x += m.dx;
    m.y += m.dy;
    if (m.x < 0 || m.x > W - S) m.dx = -m.dx;
    if (m.y < 0 || m.y > H - S) m.dy = -m.dy;
}

}  // namespace

void RunSceneBenchmarks() {
    HWND hwnd = ::CreateWindowA("STATIC", "bench scene", WS_POPUP | WS_VISIBLE, 0, 0, W, H, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
    CWnd wnd(hwnd);
    CClientDC dc(&wnd);
    CVorGraphics g;
    if (!g.Init(W, H)) return;
    g.InitGraphics(&dc);

    CVorTga ground, ball;
    const std::vector<uint8_t> groundFile = TgaFileOf(GroundPicture(W, H));
    const std::vector<uint8_t> ballFile = TgaFileOf(SpritePicture(S, S, S));
    if (!ground.InitFromMemory(groundFile.data(), groundFile.size()) ||
        !ball.InitFromMemory(ballFile.data(), ballFile.size()))
        return;
    CVorSprite groundSprite;
    groundSprite.Init(&ground);
    // The background copy holds the ground, for the full redraw.
    g.Draw(&ground, 0, 0);
    std::memcpy(g.GetBackCopy(), g.GetPixels(), size_t(g.GetStride()) * H);

    for (int count : {50, 200, 1000}) {
        const std::string group = "scene " + std::to_string(count) + " sprites";
        // The dirty rows share the surface's sprite list and one set of movers; the full redraw has
        // its own movers. All four are timed in turns, so the machine's load hits them alike.
        std::vector<Mover> movers(static_cast<size_t>(count)), fullMovers(static_cast<size_t>(count));
        Place(movers, &ball);
        Place(fullMovers, &ball);
        auto dirtyFrame = [&](bool present, int exact) {
            g.SetExactPresent(exact);
            g.InitSprite();
            g.AddSprite(&groundSprite, 0, 0, 255);
            for (Mover& m : movers) {
                Step(m);
                g.AddSprite(&m.sprite, m.x, m.y, 255);
            }
            g.DrawSprite(present);
        };
        const std::vector<double> seconds = MedianSecondsInTurns({[&] { dirtyFrame(false, 0); },
                                                                  [&] { dirtyFrame(true, 0); },
                                                                  [&] { dirtyFrame(true, 1); },
                                                                  [&] {
                                                                      g.DrawBack();
                                                                      for (Mover& m : fullMovers) {
                                                                          Step(m);
                                                                          g.Draw(&ball, m.x, m.y);
                                                                      }
                                                                  }},
                                                                 9);
        Report(group, "VorImage4 dirty rectangles", 1.0 / seconds[0], "fps");
        Report(group, "VorImage4 dirty + present (origin blocks)", 1.0 / seconds[1], "fps");
        Report(group, "VorImage4 dirty + present (exact)", 1.0 / seconds[2], "fps");
        Report(group, "VorImage4 full redraw", 1.0 / seconds[3], "fps");
        // Where a frame's time goes, in turns: the full redraw's two parts, and the ground inside the
        // dirty rectangles of 64 frames in turn (what the dirty path draws besides the same blits).
        if (count == 50) {
            std::vector<std::list<CVorRect>> frames;
            int64_t dirtyPixels = 0;
            for (int f = 0; f < 64; ++f) {
                dirtyFrame(false, 0);
                frames.push_back(g.GetZang().GetRects());
                for (const CVorRect& d : frames.back()) dirtyPixels += int64_t(d.Width) * d.Height;
            }
            dirtyPixels /= 64;
            size_t next = 0;
            const std::vector<double> parts =
                MedianSecondsInTurns({[&] { g.DrawBack(); },
                                      [&] {
                                          for (Mover& m : fullMovers) g.Draw(&ball, m.x, m.y);
                                      },
                                      [&] {
                                          for (const CVorRect& d : frames[next++ % frames.size()])
                                              g.Draw(&ground, d.X, d.Y, d.X, d.Y, d.Width, d.Height);
                                      }},
                                     9);
            const std::string partsGroup = "scene 50 sprites - parts of a frame";
            Report(partsGroup, "DrawBack (whole ground)", parts[0] * 1e6, "us");
            Report(partsGroup, "50 sprite blits", parts[1] * 1e6, "us");
            Report(partsGroup,
                   "ground in the dirty rectangles (" + std::to_string(int(100 * dirtyPixels / (W * H))) +
                       "% of it on average)",
                   parts[2] * 1e6, "us");
        }
        // What the two presentations copy to the window, from GetLastPresentedPixels over 50 frames.
        for (int exact : {0, 1}) {
            long long pixels = 0;
            for (int frame = 0; frame < 50; ++frame) {
                dirtyFrame(true, exact);
                pixels += g.GetLastPresentedPixels();
            }
            Report("presented " + std::to_string(count) + " sprites",
                   exact ? "VorImage4 exact" : "VorImage4 origin blocks", double(pixels) / 50 / 1000, "kpixel/frame");
        }
        g.SetExactPresent(0);
        g.ClearSprite();
    }
    ::DestroyWindow(hwnd);
}

// What one frame costs when the dirty area stays the same (one 64x64 sprite moving along the top)
// while the surface grows and more unchanged sprites are listed (16x16, in the lower half).
void RunCostBenchmarks() {
    const int sizes[][2] = {{640, 480}, {1024, 768}, {2048, 1536}};
    CVorTga ball;
    const std::vector<uint8_t> ballFile = TgaFileOf(SpritePicture(S, S, S));
    if (!ball.InitFromMemory(ballFile.data(), ballFile.size())) return;
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        HWND hwnd = ::CreateWindowA("STATIC", "bench cost", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
        CWnd wnd(hwnd);
        CClientDC dc(&wnd);
        CVorGraphics g;
        if (!g.Init(w, h)) return;
        g.InitGraphics(&dc);
        CVorTga ground;
        const std::vector<uint8_t> groundFile = TgaFileOf(GroundPicture(w, h));
        if (!ground.InitFromMemory(groundFile.data(), groundFile.size())) return;
        CVorSprite groundSprite, mover;
        groundSprite.Init(&ground);
        mover.Init(&ball);
        for (int count : {0, 1000, 5000}) {
            std::vector<CVorSprite> still(static_cast<size_t>(count));
            for (CVorSprite& s : still) s.Init(&ball);
            int x = 0;
            const double seconds = MedianSecondsPerCall([&] {
                g.InitSprite();
                g.AddSprite(&groundSprite, 0, 0, 255);
                x = (x + 3) % (w - S);
                g.AddSprite(&mover, x, 0, 255);
                for (int i = 0; i < count; ++i)
                    g.AddSprite(&still[size_t(i)], (i * 37) % (w - 16), h / 2 + (i * 11) % (h / 2 - 16), 16, 16, 0, 0,
                                255);
                g.DrawSprite(true);
            }, 5);
            Report("cost " + std::to_string(w) + "x" + std::to_string(h), std::to_string(count) + " still sprites",
                   seconds * 1e6, "us/frame");
        }
        g.ClearSprite();
        ::DestroyWindow(hwnd);
    }
}
