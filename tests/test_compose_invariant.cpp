// The composition invariant: frame by frame, the back buffer that incremental DrawSprite leaves
// equals, byte for byte, the back buffer of a fresh surface that draws the same frame's sprite
// list from scratch. Random scenes (fixed seeds, printed on failure) that only add, drop or move
// sprites and step animations, over a full-surface opaque ground sprite.
#include <doctest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "SpriteAssets.h"
#include "TestSupport.h"

namespace {

enum Kind { kTga, kMemory, kZoom, kGif, kColour, kHatch, kText, kPen, kKinds };
const char* const kKindNames[kKinds] = {"tga", "memory", "zoom", "gif", "colour", "hatch", "text", "pen"};

DWORD g_now = 0;  // the scene's clock, read by the GIF sprites' stepper
void FakeClockStepper(CVorSprite* s) { s->StepFrameAt(g_now); }

struct Item {
    Kind kind;
    CVorSprite sprite;
    int x = 0, y = 0, w = 0, h = 0, srcX = 0, srcY = 0;
    unsigned char alpha = 255;
    bool present = false;
    int textVersion = 0;
};

class RandomScene {
public:
    RandomScene(unsigned seed, const std::vector<Kind>& kinds) : m_rng(seed), m_seed(seed) {
        EnsureGdiplus();
        m_width = Int(90, 170) | 1;  // odd: rows have padding bytes
        m_height = Int(60, 120);
        REQUIRE(m_surface.Init(m_width, m_height));
        m_surface.InitGraphics(static_cast<CPaintDC*>(nullptr));
        std::vector<uint8_t> noise(size_t(m_width) * m_height * 3);
        for (uint8_t& b : noise) b = uint8_t(Int(0, 255));
        const int w = m_width;
        REQUIRE(LoadTga(m_groundImage, m_width, m_height, [&](int x, int y) {
            const uint8_t* p = &noise[(size_t(y) * w + x) * 3];
            return Bgra{p[0], p[1], p[2], 255};
        }));
        m_ground.Init(&m_groundImage);
        m_font.Init(Int(9, 16), L"DejaVu Sans", Int(0, 1) ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular);
        m_surface.SetNowFont(&m_font);

        const int count = Int(6, 16);
        for (int i = 0; i < count; ++i) AddItem(kinds[size_t(Int(0, int(kinds.size()) - 1))], i);
    }

    ~RandomScene() {
        m_items.clear();
        m_gifs.clear();
        for (const std::string& path : m_files) ::DeleteFileA(path.c_str());
    }

    // One frame on the incremental surface.
    void Step(int frame) {
        g_now += DWORD(Int(10, 120));
        m_surface.InitSprite();
        m_surface.UpDataAnimation();
        m_surface.AddSprite(&m_ground, 0, 0, 255);
        for (auto& it : m_items) {
            Item& item = *it;
            if (frame > 0 && Int(0, 9) == 0) item.present = !item.present;
            if (!item.present) continue;
            bool moved = false;
            if (Int(0, 3) == 0) {
                Place(item);
                moved = true;
            }
            if (item.kind == kText) {
                // New text only where it stands: re-initialising and moving in one frame is not
                // part of what incremental composition promises.
                if (!moved && Int(0, 4) == 0) ++item.textVersion;
                const std::string text = "Frame " + std::to_string(item.textVersion * 37 % 1000) + " ok";
                m_surface.AddSprite(&item.sprite, item.x, item.y, item.w, item.h, text.c_str(),
                                    Gdiplus::Color(255, 255, 255, 0), Gdiplus::StringAlignmentNear);
            } else {
                m_surface.AddSprite(&item.sprite, item.x, item.y, item.w, item.h, item.srcX, item.srcY, item.alpha);
            }
        }
        m_surface.DrawSprite(true);
    }

    // The same frame's list drawn from scratch on a fresh surface.
    std::vector<uint8_t> Reference() {
        CVorGraphics fresh;
        REQUIRE(fresh.Init(m_width, m_height));
        fresh.InitGraphics(static_cast<CPaintDC*>(nullptr));
        const std::vector<CVorSprite*>& list = m_surface.GetSpriteList();
        std::vector<CVorSprite> copies(list.size());
        for (size_t i = 0; i < list.size(); ++i) copies[i] = *list[i];
        fresh.InitSprite();
        for (CVorSprite& copy : copies) fresh.AddSprite(&copy);
        fresh.DrawSprite(false);
        return Snapshot(fresh);
    }

    const CVorGraphics& Surface() const { return m_surface; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    std::string Describe() const {
        std::string s = "seed " + std::to_string(m_seed) + ", surface " + std::to_string(m_width) + "x" +
                        std::to_string(m_height) + "; sprites:";
        for (const auto& it : m_items) {
            const Item& item = *it;
            char line[160];
            std::snprintf(line, sizeof line, " %s%s@(%d,%d %dx%d src %d,%d a%d)", kKindNames[item.kind],
                          item.present ? "" : "(absent)", item.sprite.GetX(), item.sprite.GetY(),
                          item.sprite.GetWidth(), item.sprite.GetHeight(), item.sprite.GetSrcX(),
                          item.sprite.GetSrcY(), item.alpha);
            s += line;
        }
        return s;
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }

    // A new place, sometimes partly or wholly off the surface; sometimes another source window.
    void Place(Item& item) {
        item.x = Int(-40, m_width + 5);
        item.y = Int(-40, m_height + 5);
        if (item.kind == kZoom) {
            item.w = Int(1, 50);  // stretched to this size
            item.h = Int(1, 50);
            item.srcX = Int(0, 1) ? 0 : Int(0, 4);
            item.srcY = Int(0, 1) ? 0 : Int(0, 4);
        } else if (item.kind == kColour || item.kind == kHatch || item.kind == kPen) {
            item.w = Int(0, 45);
            item.h = Int(0, 35);
        } else if (item.kind != kText && Int(0, 4) == 0) {
            item.srcX = Int(-2, 6);
            item.srcY = Int(-2, 6);
            item.w = Int(0, 1) ? 0 : Int(1, 30);
            item.h = Int(0, 1) ? 0 : Int(1, 30);
        }
    }

    Bgra RandomPixel(bool withAlpha) {
        uint8_t a = 255;
        if (withAlpha) {
            const int pick = Int(0, 9);
            a = pick < 3 ? 255 : pick < 5 ? 0 : uint8_t(Int(1, 254));
        }
        return Bgra{uint8_t(Int(0, 255)), uint8_t(Int(0, 255)), uint8_t(Int(0, 255)), a};
    }

    unsigned char RandomAlpha() { return Int(0, 2) == 0 ? uint8_t(Int(1, 254)) : 255; }

    void AddItem(Kind kind, int index) {
        m_items.push_back(std::unique_ptr<Item>(new Item));
        Item& item = *m_items.back();
        item.kind = kind;
        item.present = Int(0, 3) != 0;
        switch (kind) {
        case kTga: {
            m_tgas.emplace_back();
            const int w = Int(1, 40), h = Int(1, 40);
            REQUIRE(LoadTga(m_tgas.back(), w, h, [&](int, int) { return RandomPixel(true); }));
            item.sprite.Init(&m_tgas.back());
            item.alpha = RandomAlpha();
            break;
        }
        case kMemory: {
            const int w = Int(1, 30), h = Int(1, 30);
            const bool keyed = Int(0, 1) == 1;
            const Bgra key = RandomPixel(false);
            MemoryImage m = MakeMemoryImage(w, h, [&](int, int) {
                return keyed && Int(0, 2) == 0 ? key : RandomPixel(false);
            });
            m_bitmaps.emplace_back();
            if (keyed) m_bitmaps.back().Init(m.bits.data(), int(m.bits.size()), m.info, key.r, key.g, key.b);
            else m_bitmaps.back().Init(m.bits.data(), int(m.bits.size()), m.info, 0);
            item.sprite.Init(&m_bitmaps.back());
            item.alpha = RandomAlpha();
            break;
        }
        case kZoom: {
            // Rows of a multiple of 4 bytes: the layout both the stretch and the byte paths read.
            const int w = 4 * Int(1, 6), h = Int(1, 20);
            MemoryImage m = MakeMemoryImage(w, h, [&](int, int) { return RandomPixel(false); });
            m_bitmaps.emplace_back();
            m_bitmaps.back().Init(m.bits.data(), int(m.bits.size()), m.info, 1);
            item.sprite.Init(&m_bitmaps.back());
            item.alpha = Int(0, 3) == 0 ? uint8_t(Int(1, 254)) : 255;  // blended: drawn at its own size
            break;
        }
        case kGif: {
            uint8_t palette[4][3];
            for (auto& entry : palette)
                for (uint8_t& c : entry) c = uint8_t(Int(0, 255));
            const int w = Int(2, 24), h = Int(2, 24);
            std::vector<std::vector<uint8_t>> frames(size_t(Int(2, 3)));
            for (auto& f : frames) {
                f.resize(size_t(w) * h);
                for (uint8_t& p : f) p = uint8_t(Int(0, 3));
            }
            const std::string path = WriteTempFile(
                "vor_inv_" + std::to_string(m_seed) + "_" + std::to_string(index) + ".gif",
                MakeGifBytes(w, h, palette, frames, Int(2, 9)));
            m_files.push_back(path);
            m_gifs.emplace_back(new CVorBitmap);
            CVorBitmap& gif = *m_gifs.back();
            gif.InitGif(std::wstring(path.begin(), path.end()).c_str());
            REQUIRE(gif.GetFrames() == int(frames.size()));
            // Three ways to draw: keyed (locked pixels), blended (locked pixels), plain (GDI+).
            const int way = Int(0, 2);
            if (way == 0) gif.SetColorKey(palette[0][0], palette[0][1], palette[0][2]);
            item.alpha = way == 1 ? uint8_t(Int(1, 254)) : 255;
            item.sprite.Init(&gif, &FakeClockStepper);
            break;
        }
        case kColour:
            m_colours.emplace_back(uint8_t(Int(0, 255)), uint8_t(Int(0, 255)), uint8_t(Int(0, 255)));
            item.sprite.Init(&m_colours.back());
            break;
        case kHatch:
            m_brushes.emplace_back(Gdiplus::HatchStyle(Int(0, 52)), Gdiplus::Color(255, uint8_t(Int(0, 255)), 0, 90),
                                   Gdiplus::Color(255, 10, uint8_t(Int(0, 255)), 200));
            item.sprite.Init(&m_brushes.back());
            break;
        case kText:
            item.w = Int(0, 1) ? 0 : Int(30, 90);
            item.h = item.w ? Int(12, 30) : 0;
            break;
        case kPen:
            m_pens.emplace_back(Int(0, 255), Int(0, 255), Int(0, 255), float(Int(1, 3)), Gdiplus::DashStyleSolid);
            item.sprite.Init(&m_pens.back(), Int(0, 1));
            break;
        default:
            break;
        }
        Place(item);
    }

    std::mt19937 m_rng;
    unsigned m_seed;
    int m_width = 0, m_height = 0;
    CVorGraphics m_surface;
    CVorTga m_groundImage;
    CVorSprite m_ground;
    CVorFont m_font;
    std::deque<CVorTga> m_tgas;
    std::deque<CVorBitmap> m_bitmaps;
    std::vector<std::unique_ptr<CVorBitmap>> m_gifs;
    std::deque<CVorColor> m_colours;
    std::deque<CVorBrush> m_brushes;
    std::deque<CVorPen> m_pens;
    std::vector<std::unique_ptr<Item>> m_items;
    std::vector<std::string> m_files;
};

struct Difference {
    size_t pixels = 0;
    int maxChannel = 0;
    int firstX = -1, firstY = -1;
};

Difference Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width, int height, int stride) {
    Difference d;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int worst = 0;
            for (int c = 0; c < 3; ++c) {
                const size_t i = size_t(y) * stride + 3 * x + c;
                worst = std::max(worst, std::abs(int(a[i]) - int(b[i])));
            }
            if (worst == 0) continue;
            if (d.pixels++ == 0) {
                d.firstX = x;
                d.firstY = y;
            }
            d.maxChannel = std::max(d.maxChannel, worst);
        }
    return d;
}

const int kFrames = 30;

}  // namespace

TEST_CASE("incremental composition equals drawing from scratch: TGA, bitmap (memory, zoomed, GIF), colour and hatch sprites") {
    int framesChecked = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        RandomScene scene(seed, {kTga, kTga, kMemory, kZoom, kGif, kColour, kHatch});
        for (int frame = 0; frame < kFrames; ++frame) {
            scene.Step(frame);
            const std::vector<uint8_t> incremental = Snapshot(scene.Surface());
            const std::vector<uint8_t> reference = scene.Reference();
            ++framesChecked;
            if (incremental != reference) {
                const Difference d = Compare(incremental, reference, scene.Width(), scene.Height(),
                                             scene.Surface().GetStride());
                FAIL("seed " << seed << " frame " << frame << ": " << d.pixels << " pixels differ (first at "
                             << d.firstX << ", " << d.firstY << ", worst channel " << d.maxChannel
                             << "; padding differs if 0 pixels)\n"
                             << scene.Describe());
            }
        }
    }
    MESSAGE(framesChecked << " frames matched byte for byte");
}

TEST_CASE("incremental composition with text and pen sprites matches drawing from scratch within anti-aliasing") {
    size_t worstPixels = 0, totalPixels = 0;
    int worstChannel = 0;
    for (unsigned seed = 101; seed <= 115; ++seed) {
        RandomScene scene(seed, {kText, kText, kPen, kPen, kTga, kColour});
        for (int frame = 0; frame < kFrames; ++frame) {
            scene.Step(frame);
            const Difference d = Compare(Snapshot(scene.Surface()), scene.Reference(), scene.Width(),
                                         scene.Height(), scene.Surface().GetStride());
            const size_t area = size_t(scene.Width()) * scene.Height();
            totalPixels += d.pixels;
            worstPixels = std::max(worstPixels, d.pixels);
            worstChannel = std::max(worstChannel, d.maxChannel);
            // Anti-aliased edges may reach a pixel beyond the sprite's rectangle: a few stale pixels.
            if (d.pixels * 500 > area) {
                FAIL("seed " << seed << " frame " << frame << ": " << d.pixels << " of " << area
                             << " pixels differ (first at " << d.firstX << ", " << d.firstY << ")\n"
                             << scene.Describe());
            }
        }
    }
    MESSAGE("text/pen scenes: " << totalPixels << " differing pixels in all, at most " << worstPixels
                                << " in one frame, worst channel difference " << worstChannel);
}
