#include "render/FillKernel.h"

#include <algorithm>

void FillSolidRect(const PixelSurface& surface, int x, int y, int width, int height, uint8_t r, uint8_t g,
                   uint8_t b) {
    if (!surface.Writable()) return;

    // Clip the half-open rectangle to the surface; in 64 bits x + width cannot overflow.
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(int64_t(x) + width, surface.width);
    const int64_t bottom = std::min<int64_t>(int64_t(y) + height, surface.height);
    if (right <= left || bottom <= top) return;

    for (int64_t row = top; row < bottom; ++row) {
        uint8_t* p = surface.pixels + row * surface.stride + 3 * left;
        for (int64_t col = left; col < right; ++col) {
            p[0] = b;
            p[1] = g;
            p[2] = r;
            p += 3;
        }
    }
}
