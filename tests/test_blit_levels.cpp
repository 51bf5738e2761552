// The pixel writers at every instruction set give byte-identical back buffers: random pictures at
// random positions, widths 1..67, clipped on every side, every opacity, TGA alpha, memory bitmaps
// (plain, keyed, blended), fills and the background copy. Levels the CPU lacks are skipped.
#include <doctest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "TestSupport.h"
#include "ImageFileBytes.h"
#include "tga/TgaTestKit.h"

using namespace tgakit;

namespace {

const int kW = 97, kH = 61;

std::vector<int> Levels() {
    std::vector<int> levels;
    for (int level = VOR_BLIT_SCALAR; level <= VOR_BLIT_AVX2; ++level) {
        if (level <= CVorGraphics::GetBestBlitLevel()) levels.push_back(level);
        else MESSAGE("CPU lacks blit level ", level, ": skipped");
    }
    return levels;
}

uint32_t Next(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

int Between(uint32_t& state, int lo, int hi) { return lo + int(Next(state) % uint32_t(hi - lo + 1)); }

// A TGA picture whose alpha comes in runs of 0, of 255 and of anything, of lengths 1..67, so whole
// blocks of each occur, and runs long enough to be prepared as copies and skips.
struct TgaPicture {
    CVorTga tga;
    TgaPicture(int w, int h, uint32_t& seed) {
        std::vector<Bgra> pixels(size_t(w) * h);
        int run = int(seed % 3), left = 0;
        for (size_t i = 0; i < pixels.size(); ++i) {
            if (left-- == 0) {
                run = (run + 1 + int(Next(seed) % 2)) % 3;
                left = Between(seed, 0, 66);
            }
            pixels[i] = RandomPixel(seed);
            if (run == 0) pixels[i].a = 0;
            if (run == 1) pixels[i].a = 255;
        }
        const std::vector<uint8_t> file = MakeTga(unsigned(w), unsigned(h), pixels);
        REQUIRE(tga.InitFromMemory(file.data(), file.size()));
    }
};

// A memory bitmap (bottom-up rows) with runs of the key colour 10, 20, 30.
std::vector<uint8_t> MemoryBits(int w, int h, uint32_t& seed) {
    std::vector<uint8_t> bits(size_t(3) * w * h);
    for (size_t i = 0; i < bits.size(); ++i) bits[i] = uint8_t(Next(seed));
    for (size_t p = 0; p < size_t(w) * h; ++p)
        if ((p / 16 + seed) % 3 == 0) {
            bits[3 * p] = 30;  // blue, green, red
            bits[3 * p + 1] = 20;
            bits[3 * p + 2] = 10;
        }
    return bits;
}

BITMAPINFO InfoOf(int w, int h) {
    BITMAPINFO info;
    imagefile::SetInfo24(&info, w, h);
    return info;
}

// One random scene of draws, from the same seed for every level; returns the back buffer.
std::vector<uint8_t> DrawScene(CVorGraphics& g, uint32_t seed, int opacity) {
    const std::vector<uint8_t> ground = [&] {
        std::vector<uint8_t> b(size_t(g.GetStride()) * kH);
        for (auto& v : b) v = uint8_t(Next(seed));
        return b;
    }();
    std::memcpy(g.GetPixels(), ground.data(), ground.size());
    const int w = Between(seed, 1, 67), h = Between(seed, 1, 9);
    // Positions from well off the left/top to well off the right/bottom, so every side clips.
    auto x = [&] { return Between(seed, -w - 2, kW + 2); };
    auto y = [&] { return Between(seed, -h - 2, kH + 2); };

    TgaPicture picture(w, h, seed);
    g.Draw(&picture.tga, x(), y());
    g.Draw(&picture.tga, x(), y(), Between(seed, -1, w), Between(seed, -1, h), Between(seed, -1, w + 1),
           Between(seed, -1, h + 1));
    g.Draw(&picture.tga, x(), y(), 0, 0, w, h, (unsigned char)opacity);
    g.Draw(&picture.tga, x(), y(), Between(seed, 0, w - 1), 0, Between(seed, 1, w), h, (unsigned char)opacity);

    const std::vector<uint8_t> bits = MemoryBits(w, h, seed);
    BITMAPINFO info = InfoOf(w, h);
    CVorBitmap plain(bits.data(), int(bits.size()), info, 0);
    CVorBitmap keyed(bits.data(), int(bits.size()), info, 10, 20, 30);
    g.Draw(&plain, x(), y());
    g.Draw(&keyed, x(), y());
    g.Draw(&plain, x(), y(), (unsigned char)opacity);
    g.Draw(&keyed, x(), y(), (unsigned char)opacity);
    g.Draw(&keyed, x(), y(), Between(seed, 0, w - 1), Between(seed, 0, h - 1), w, h);
    g.FillRectangle(x(), y(), Between(seed, -1, 70), Between(seed, -1, 9), uint8_t(opacity), 2, 3);

    std::vector<uint8_t> out(g.GetPixels(), g.GetPixels() + ground.size());
    // The background copy restores every byte.
    std::memcpy(g.GetBackCopy(), ground.data(), ground.size());
    g.DrawBack();
    CHECK(std::memcmp(g.GetPixels(), ground.data(), ground.size()) == 0);
    return out;
}

}  // namespace

TEST_CASE("blit levels: random pictures and positions, every opacity, identical back buffers") {
    EnsureGdiplus();
    CVorGraphics g;
    REQUIRE(g.Init(kW, kH));
    REQUIRE(g.GetPixels());
    const int start = CVorGraphics::GetBlitLevel();
    // VORIMAGE4_SIMD=scalar or ssse3 (ctest runs it so too) starts there; unset, at the best.
    const char* asked = std::getenv("VORIMAGE4_SIMD");
    if (!asked) CHECK(start == CVorGraphics::GetBestBlitLevel());
    else if (std::strcmp(asked, "scalar") == 0) CHECK(start == VOR_BLIT_SCALAR);
    else if (std::strcmp(asked, "ssse3") == 0 && CVorGraphics::GetBestBlitLevel() >= VOR_BLIT_SSSE3)
        CHECK(start == VOR_BLIT_SSSE3);
    const std::vector<int> levels = Levels();
    int differing = 0, changed = 0;
    for (int opacity = 0; opacity < 256; ++opacity) {
        for (int round = 0; round < 4; ++round) {
            const uint32_t seed = uint32_t(opacity * 7919 + round * 104729 + 1);
            std::vector<uint8_t> reference;
            for (int level : levels) {
                REQUIRE(CVorGraphics::SetBlitLevel(level));
                const std::vector<uint8_t> got = DrawScene(g, seed, opacity);
                if (level == VOR_BLIT_SCALAR) {
                    reference = got;
                    changed += std::memcmp(got.data(), g.GetPixels(), got.size()) != 0;
                }
                else if (got != reference) ++differing;
            }
        }
    }
    CHECK(differing == 0);
    CHECK(changed > 900);  // the scenes draw something (not all clipped away)
    CHECK(CVorGraphics::SetBlitLevel(start));
}

TEST_CASE("blit levels: the switch refuses unknown levels and keeps the current one") {
    const int start = CVorGraphics::GetBlitLevel();
    CHECK(CVorGraphics::SetBlitLevel(VOR_BLIT_SCALAR));
    CHECK(CVorGraphics::GetBlitLevel() == VOR_BLIT_SCALAR);
    CHECK_FALSE(CVorGraphics::SetBlitLevel(-1));
    CHECK_FALSE(CVorGraphics::SetBlitLevel(4));
    CHECK(CVorGraphics::GetBlitLevel() == VOR_BLIT_SCALAR);
    if (CVorGraphics::GetBestBlitLevel() < VOR_BLIT_AVX2) CHECK_FALSE(CVorGraphics::SetBlitLevel(VOR_BLIT_AVX2));
    CHECK(CVorGraphics::SetBlitLevel(start));
    CHECK(CVorGraphics::GetBlitLevel() == start);
}
