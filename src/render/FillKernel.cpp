#include "render/FillKernel.h"

#include <algorithm>

#include "render/simd/RowKernels.h"

void FillSolidRect(const PixelSurface& surface, int x, int y, int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    if (!surface.Writable()) return;

    // Clip the half-open rectangle to the surface; in 64 bits x + width cannot overflow.
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(int64_t(x) + width, surface.width);
    const int64_t bottom = std::min<int64_t>(int64_t(y) + height, surface.height);
    if (right <= left || bottom <= top) return;

    const auto fill = ActiveRows().fillRow;
    for (int64_t row = top; row < bottom; ++row)
        fill(surface.pixels + row * surface.stride + 3 * left, int(right - left), b, g, r);
}

// The reference row.
void FillRowScalar(uint8_t* d, int n, uint8_t b, uint8_t g, uint8_t r) {
    for (int i = 0; i < n; ++i, d += 3) {
        d[0] = b;
        d[1] = g;
        d[2] = r;
    }
}
