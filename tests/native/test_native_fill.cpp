// The solid-colour fill kernel under the sanitizers: every combination of extreme and ordinary
// positions and sizes, compared byte for byte with a pixel-by-pixel expectation.
#include <doctest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/FillKernel.h"

namespace {

const uint8_t kSentinel = 0xA5;

// A pixel changes when the half-open rectangle holds it; padding and everything else keep the sentinel.
std::vector<uint8_t> Expected(int width, int height, int stride, int x, int y, int w, int h) {
    std::vector<uint8_t> bytes(size_t(stride) * height, kSentinel);
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px)
            if (int64_t(x) <= px && px < int64_t(x) + w && int64_t(y) <= py && py < int64_t(y) + h) {
                uint8_t* p = &bytes[size_t(py) * stride + 3 * size_t(px)];
                p[0] = 3;  // blue
                p[1] = 2;  // green
                p[2] = 1;  // red
            }
    return bytes;
}

}  // namespace

TEST_CASE("fill kernel: extreme and ordinary rectangles clip exactly, padding untouched") {
    const int W = 13, H = 7, S = 40;  // 39 bytes of pixels and one padding byte per row
    const int values[] = {INT_MIN, INT_MIN + 1, -INT_MAX, -100, -13, -1, 0, 1, 5, 12, 13, 100, INT_MAX - 1, INT_MAX};
    std::vector<uint8_t> buffer(size_t(S) * H);
    const PixelSurface surface = {buffer.data(), S, W, H};
    int checked = 0;
    for (int x : values)
        for (int y : values)
            for (int w : values)
                for (int h : values) {
                    std::fill(buffer.begin(), buffer.end(), kSentinel);
                    FillSolidRect(surface, x, y, w, h, 1, 2, 3);
                    if (buffer != Expected(W, H, S, x, y, w, h)) {
                        CAPTURE(x);
                        CAPTURE(y);
                        CAPTURE(w);
                        CAPTURE(h);
                        FAIL("fill differs from the expectation");
                    }
                    ++checked;
                }
    CHECK(checked == 14 * 14 * 14 * 14);
}

TEST_CASE("fill kernel: a surface without pixels or with a short stride is left alone") {
    const PixelSurface none = {nullptr, 0, 0, 0};
    FillSolidRect(none, 0, 0, 10, 10, 1, 2, 3);
    std::vector<uint8_t> small(8, kSentinel);
    const PixelSurface shortStride = {small.data(), 4, 3, 2};  // 3 pixels need 9 bytes a row
    FillSolidRect(shortStride, 0, 0, 3, 2, 1, 2, 3);
    CHECK(small == std::vector<uint8_t>(8, kSentinel));
}
