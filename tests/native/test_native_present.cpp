// Presentation bands: disjoint, and together exactly the union of the origin blocks.
#include <doctest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

#include "CVorZang.h"
#include "render/PresentArea.h"

TEST_CASE("present bands: random dirty lists give the union of the origin blocks, each pixel once") {
    std::mt19937 rng(7);
    std::vector<CVorRect> bands;
    const int W = 40, H = 30;
    for (int round = 0; round < 2000; ++round) {
        std::list<CVorRect> dirty;
        const int n = int(rng() % 7);
        for (int i = 0; i < n; ++i)
            dirty.push_back(CVorRect(int(rng() % 60) - 10, int(rng() % 50) - 10, int(rng() % 50) - 5, int(rng() % 40) - 5));
        if (round % 50 == 0) dirty.push_back(CVorRect(INT_MAX, INT_MAX, INT_MAX, INT_MAX));
        if (round % 50 == 1) dirty.push_back(CVorRect(INT_MIN, 0, INT_MIN, 5));
        const int64_t pixels = PresentBands(dirty, W, H, bands);
        std::vector<int> want(W * H, 0), got(W * H, 0);
        for (const CVorRect& r : dirty)
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    if (x < int64_t(r.X) + r.Width && y < int64_t(r.Y) + r.Height) want[y * W + x] = 1;
        int64_t sum = 0;
        for (const CVorRect& b : bands) {
            REQUIRE(b.X >= 0);
            REQUIRE(b.Y >= 0);
            REQUIRE(b.Width > 0);
            REQUIRE(b.Height > 0);
            REQUIRE(b.X + b.Width <= W);
            REQUIRE(b.Y + b.Height <= H);
            for (int y = b.Y; y < b.Y + b.Height; ++y)
                for (int x = b.X; x < b.X + b.Width; ++x) ++got[y * W + x];
            sum += int64_t(b.Width) * b.Height;
        }
        REQUIRE(got == want);  // covered once where a block covers, nowhere else
        REQUIRE(sum == pixels);
    }
}

TEST_CASE("exact bands: the dirty list's rectangles cut to the surface, disjoint, fewer pixels than the blocks") {
    std::mt19937 rng(11);
    std::vector<CVorRect> exact, blocks;
    const int W = 40, H = 30;
    int64_t exactSum = 0, blockSum = 0;
    for (int round = 0; round < 2000; ++round) {
        CVorZang zang;  // the list the surface presents: its rectangles never meet
        const int n = int(rng() % 7);
        for (int i = 0; i < n; ++i)
            zang.AddRect(CVorRect(int(rng() % 60) - 10, int(rng() % 50) - 10, int(rng() % 20), int(rng() % 20)));
        const int64_t pixels = ExactBands(zang.GetRects(), W, H, exact);
        std::vector<int> want(W * H, 0), got(W * H, 0);
        for (const CVorRect& r : zang.GetRects())
            for (int y = std::max(r.Y, 0); y < std::min(r.Y + r.Height, H); ++y)
                for (int x = std::max(r.X, 0); x < std::min(r.X + r.Width, W); ++x) want[y * W + x] = 1;
        int64_t sum = 0;
        for (const CVorRect& b : exact) {
            REQUIRE(b.Width > 0);
            REQUIRE(b.Height > 0);
            for (int y = b.Y; y < b.Y + b.Height; ++y)
                for (int x = b.X; x < b.X + b.Width; ++x) ++got[y * W + x];
            sum += int64_t(b.Width) * b.Height;
        }
        REQUIRE(got == want);  // each dirty pixel once, nothing else
        REQUIRE(sum == pixels);
        exactSum += pixels;
        blockSum += PresentBands(zang.GetRects(), W, H, blocks);
        REQUIRE(pixels <= PresentBands(zang.GetRects(), W, H, blocks));
    }
    CHECK(exactSum < blockSum);
}
