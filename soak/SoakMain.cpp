// vor_soak - runs a changing scene for many frames and checks that GDI objects and process memory
// stay flat: sprites of every kind are added, dropped, moved and re-initialised, fonts, pens and
// brushes are recreated, pictures reloaded, surfaces resized and copied, and every frame is
// composed and presented to a real window.
//
//   vor_soak [frames]   (default 10000)
// Prints GDI objects and memory (pagefile usage) at frame 0, after the warm-up and at the end;
// exits 1 when either grew after the warm-up.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BitmapTestFiles.h"
#include "TestSupport.h"
#include "tga/TgaTestKit.h"

namespace {

uint64_t g_state = 0x50A4u;
uint32_t Next() {
    g_state = g_state * 6364136223846793005ull + 1442695040888963407ull;
    return uint32_t(g_state >> 33);
}
int Range(int lo, int hi) { return lo + int(Next() % uint32_t(hi - lo + 1)); }

size_t MemoryBytes() {
    PROCESS_MEMORY_COUNTERS pmc;
    pmc.cb = sizeof pmc;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof pmc)) return 0;
    return pmc.PagefileUsage;
}

std::vector<uint8_t> SomeTga(unsigned w, unsigned h) {
    tgakit::TgaLayout l;
    l.rle = Next() & 1;
    uint32_t state = Next();
    std::vector<tgakit::Bgra> p(size_t(w) * h);
    for (auto& px : p) px = tgakit::RandomPixel(state);
    return tgakit::MakeTga(w, h, p, l);
}

// Everything the scene draws; sprites point into it, so it outlives them.
struct Assets {
    CVorTga tga[3];
    CVorBitmap memory[2];
    CVorBitmap file;
    CVorBitmap gif;
    CVorFont font[2];
    CVorPen pen[2];
    CVorBrush hatch;
    CVorBrush texture;
    CVorColor colour[2];
    std::vector<uint8_t> block;
    BITMAPINFO info;
    std::wstring bmpPath, gifPath;

    void LoadPictures() {
        for (CVorTga& t : tga) {
            const std::vector<uint8_t> f = SomeTga(unsigned(Range(1, 40)), unsigned(Range(1, 30)));
            t.InitFromMemory(f.data(), f.size());
        }
        const int w = Range(1, 30), h = Range(1, 20);
        block.assign(size_t(3 * w * h), 0);
        for (uint8_t& b : block) b = uint8_t(Next());
        info = MemoryImageHeader(w, h);
        memory[0].Init(block.data(), int(block.size()), info, 0);
        memory[1].Init(block.data(), int(block.size()), info, uint8_t(Next()), uint8_t(Next()), uint8_t(Next()));
        if (Next() & 1) memory[1] = memory[0];
        file.Init(bmpPath.c_str());
        gif.InitGif(gifPath.c_str());
    }
    void MakeTools() {
        // A few sizes and styles: wine keeps a GDI font per size and style it has drawn with, so
        // the set of those settles during the warm-up (a leak keeps growing, a cache does not).
        static const int sizes[] = {9, 12, 16};
        font[0].Init(sizes[Range(0, 2)], L"DejaVu Sans", Gdiplus::FontStyle(Range(0, 1)));
        font[1].Init(sizes[Range(0, 2)], L"Liberation Sans", Gdiplus::FontStyleRegular);
        pen[0].Init(Range(0, 255), Range(0, 255), Range(0, 255), float(Range(1, 6)), Gdiplus::DashStyle(Range(0, 4)));
        pen[1] = pen[0];
        pen[1].Init(1, 2, 3, 1.0f, Gdiplus::DashStyleSolid);
        hatch.Init(Gdiplus::HatchStyle(Range(0, 52)), Gdiplus::Color(255, uint8_t(Next()), 0, 0),
                   Gdiplus::Color(128, 0, uint8_t(Next()), 0));
        texture.Init(&file, Gdiplus::WrapModeTile);
        colour[0].Init(uint8_t(Next()), uint8_t(Next()), uint8_t(Next()));
        colour[1] = colour[0];
    }
};

const int kSprites = 48;
const char* kTexts[] = {"score 100", "hello", "a longer line of text that wraps", "", "x"};

// Gives sprite i a kind and a picture or tool from the assets.
void InitSprite(CVorSprite& s, int i, Assets& a) {
    switch ((i + Range(0, 8)) % 9) {
        case 0: s.Init(&a.tga[Range(0, 2)]); break;
        case 1: s.Init(&a.memory[Range(0, 1)]); break;
        case 2: s.Init(&a.file); break;
        case 3: s.Init(&a.gif); break;
        case 4:
            s.Init(&a.font[Range(0, 1)], kTexts[Range(0, 4)], Gdiplus::Color(255, uint8_t(Next()), 0, 0),
                   Gdiplus::StringAlignment(Range(0, 2)));
            break;
        case 5: s.Init(&a.pen[Range(0, 1)], Range(0, 1)); break;
        case 6: s.Init(&a.hatch); break;
        case 7: s.Init(&a.texture); break;
        default: s.Init(&a.colour[Range(0, 1)]); break;
    }
}

struct Sample {
    unsigned gdi;
    size_t memory;
};

Sample Measure() { return Sample{GdiObjectCount(), MemoryBytes()}; }

void Print(const char* label, int frame, const Sample& s) {
    std::printf("%-8s frame %6d: GDI objects %5u, memory %8.2f MB\n", label, frame, s.gdi, s.memory / 1048576.0);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (frames < 1) {
        std::printf("usage: vor_soak [frames]\n");
        return 2;
    }
    EnsureGdiplus();
    TestWindow window(320, 240, "VorImage4 soak");
    window.Pump();

    Assets assets;
    const std::string bmp = WriteTempFile("vor_soak.bmp", BmpFile(23, 17, 24, [](int x, int y) {
        return Rgb{uint8_t(x * 11), uint8_t(y * 15), uint8_t(x ^ y)};
    }));
    const std::vector<Rgb> palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    std::vector<std::vector<uint8_t>> gifFrames(3, std::vector<uint8_t>(12 * 9));
    for (size_t f = 0; f < gifFrames.size(); ++f)
        for (size_t i = 0; i < gifFrames[f].size(); ++i) gifFrames[f][i] = uint8_t((i + f) % 4);
    const std::string gif = WriteTempFile("vor_soak.gif", GifFile(12, 9, palette, gifFrames, {2, 3, 4}, true));
    assets.bmpPath = Wide(bmp);
    assets.gifPath = Wide(gif);

    CVorGraphics g;
    std::vector<std::unique_ptr<CVorSprite>> sprites;
    CClientDC* dc = nullptr;
    int width = 0, height = 0;
    Sample start{}, warm{};
    double listed = 0, dirty = 0;  // sprites drawn and dirty rectangles, summed over the frames
    // Warm-up: a tenth of the run, at least half of a short run (up to 250 frames).
    const int warmUp = std::max(frames / 10, std::min(frames / 2, 250));

    for (int frame = 0; frame <= frames; ++frame) {
        if (frame % 500 == 0) {  // a new surface size (and a fresh presentation DC)
            width = Range(64, 320);
            height = Range(48, 240);
            g.DeleteGraphics();
            delete dc;
            dc = new CClientDC(window.Handle());
            g.Init(width, height);
            g.InitGraphics(dc);
            g.InitSprite();
        }
        if (frame % 100 == 0) assets.LoadPictures();
        if (frame % 50 == 0) assets.MakeTools();
        if (frame % 250 == 125) {  // a surface copy comes and goes; the original keeps working
            CVorGraphics copy(g);
            CVorGraphics other;
            other = copy;
        }
        if (frame % 40 == 0 || sprites.empty()) {  // sprites made and destroyed
            sprites.resize(size_t(Range(kSprites / 2, kSprites)));
            for (auto& s : sprites)
                if (!s || Range(0, 3) == 0) s.reset(new CVorSprite());
            g.ClearSprite();
        }
        if (frame == 0 || frame % 500 == 0) {
            g.FillRectangle(0, 0, width, height, uint8_t(Next()), 40, 90);
            g.DrawImage(&assets.file, 0, 0, width, height);
            g.SetBackBitmap(&assets.memory[0]);
        }

        g.DrawBack();
        if (Range(0, 20) == 0) {
            CVorSprite shadow, text;
            g.SetNowFont(&assets.font[0]);
            g.AddSprite(&text, &shadow, 10, 10, 100, 20, "shadowed", Gdiplus::Color(255, 255, 255, 255),
                        Gdiplus::Color(255, 0, 0, 0), Gdiplus::StringAlignmentCenter);
            g.DrawSprite(false);
            g.InitSprite();
            g.DrawSprite(false);  // both leave the list before they go
        }
        g.InitSprite();
        g.UpDataAnimation();
        for (size_t i = 0; i < sprites.size(); ++i) {
            CVorSprite& s = *sprites[i];
            const int action = Range(0, 9);
            if (action == 0) continue;                     // dropped this frame
            if (action == 1 || s.GetUpdate() == 0) InitSprite(s, int(i), assets);  // re-initialised
            if (action == 2 && i + 1 < sprites.size()) s = *sprites[i + 1];         // copied from a neighbour
            const int x = Range(-40, width), y = Range(-30, height);
            const int w = Range(0, 60), h = Range(0, 40);
            g.AddSprite(&s, x, y, w, h, Range(0, 5), Range(0, 5), uint8_t(Range(0, 3) ? 255 : Next()));
        }
        g.DrawSprite(true);
        listed += double(g.GetSpriteList().size());
        dirty += double(g.GetZang().GetRects().size());
        if (frame % 64 == 0) window.Pump();

        if (frame == 0) {
            start = Measure();
            Print("start", frame, start);
        }
        if (frame == warmUp) {
            warm = Measure();
            Print("warm-up", frame, warm);
        }
        if (frame > 0 && frame % 1000 == 0 && frame != frames && frame != warmUp) Print("", frame, Measure());
    }
    g.ClearSprite();
    const Sample end = Measure();
    Print("end", frames, end);
    std::printf("%.1f sprites and %.1f dirty rectangles a frame on average\n", listed / (frames + 1),
                dirty / (frames + 1));

    // Flat: at most a few GDI objects more than after the warm-up (wine makes some system objects
    // lazily, at times of its own; a leak grows with the frames, by far more over a long run), and
    // memory within 2 MB of it.
    const bool gdiFlat = end.gdi <= warm.gdi + 6;
    const bool memoryFlat = end.memory <= warm.memory + 2 * 1048576;
    std::printf("GDI objects %s (%+d after warm-up), memory %s (%+.2f MB after warm-up)\n", gdiFlat ? "flat" : "GREW",
                int(end.gdi) - int(warm.gdi), memoryFlat ? "flat" : "GREW",
                (double(end.memory) - double(warm.memory)) / 1048576.0);
    g.DeleteGraphics();
    delete dc;
    return gdiFlat && memoryFlat ? 0 : 1;
}
