#include "render/PresentArea.h"

#include <algorithm>

int64_t PresentBands(const std::list<CVorRect>& dirty, int width, int height, std::vector<CVorRect>& bands) {
    bands.clear();
    for (const CVorRect& r : dirty) {
        const int64_t right = std::min<int64_t>(int64_t(r.X) + r.Width, width);
        const int64_t bottom = std::min<int64_t>(int64_t(r.Y) + r.Height, height);
        if (right > 0 && bottom > 0) bands.push_back(CVorRect(0, 0, int(right), int(bottom)));
    }
    // Widest block first; a block adds the rows below every wider block, at its own width.
    std::sort(bands.begin(), bands.end(), [](const CVorRect& a, const CVorRect& b) {
        return a.Width != b.Width ? a.Width > b.Width : a.Height > b.Height;
    });
    int64_t pixels = 0;
    int covered = 0;  // rows [0, covered) are presented at the width of a wider block
    size_t kept = 0;
    for (const CVorRect& block : bands) {
        if (block.Height <= covered) continue;
        const CVorRect band(0, covered, block.Width, block.Height - covered);
        pixels += int64_t(band.Width) * band.Height;
        covered = block.Height;
        bands[kept++] = band;
    }
    bands.resize(kept);
    return pixels;
}

int64_t ExactBands(const std::list<CVorRect>& dirty, int width, int height, std::vector<CVorRect>& bands) {
    bands.clear();
    int64_t pixels = 0;
    for (const CVorRect& r : dirty) {
        const int64_t left = std::max<int64_t>(r.X, 0), top = std::max<int64_t>(r.Y, 0);
        const int64_t right = std::min<int64_t>(int64_t(r.X) + r.Width, width);
        const int64_t bottom = std::min<int64_t>(int64_t(r.Y) + r.Height, height);
        if (right <= left || bottom <= top) continue;
        bands.push_back(CVorRect(int(left), int(top), int(right - left), int(bottom - top)));
        pixels += (right - left) * (bottom - top);
    }
    return pixels;
}
