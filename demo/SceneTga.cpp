// Scene "tga": TGA pictures generated here (a 24-bit ground, 32-bit soft-edged gems, one of them
// run-length encoded), written to the output folder, loaded back with CVorTga and drawn with
// per-pixel alpha, global opacities, a source rectangle and clipping at every edge.
#include <cmath>
#include <cstdio>
#include <vector>

#include "DemoHost.h"
#include "ImageFileBytes.h"

namespace {
typedef imagefile::Rgba Rgba;

// Writes a TGA file: 24 or 32 bits, bottom row first, raw or run-length (top row first).
bool WriteTga(const std::string& path, int w, int h, const std::vector<Rgba>& pixels, int bits, bool rle) {
    return imagefile::WriteFile(
        path, imagefile::Tga(w, h, [&](int x, int y) { return pixels[size_t(y) * w + x]; }, bits, rle));
}

// The ground: a dusk gradient with a soft checker of tiles.
std::vector<Rgba> Ground(int w, int h) {
    std::vector<Rgba> p(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool tile = ((x / 50) + (y / 50)) % 2 == 0;
            const int shade = tile ? 18 : 0;
            p[size_t(y) * w + x] = Rgba{(unsigned char)(30 + x * 50 / w + shade), (unsigned char)(40 + y * 70 / h + shade),
                                        (unsigned char)(110 - y * 50 / h + shade), 255};
        }
    return p;
}

// A round gem: colour with a highlight towards the top-left, alpha fading smoothly at the rim.
std::vector<Rgba> Gem(int size, Rgba colour) {
    std::vector<Rgba> p(size_t(size) * size);
    const double c = (size - 1) / 2.0, radius = size / 2.0 - 1;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x - c, y - c) / radius;        // 0 centre, 1 rim
            const double hl = std::hypot(x - c * 0.6, y - c * 0.6) / radius;  // distance to the highlight
            const double light = std::fmax(0.0, 1.0 - hl * 1.6);
            double alpha = d < 0.7 ? 1.0 : d < 1.0 ? 1.0 - (d - 0.7) / 0.3 : 0.0;
            alpha = alpha * alpha * (3 - 2 * alpha);  // smoothstep
            auto mix = [&](unsigned char v) {
                const double dark = v * (1.0 - 0.45 * d);
                return (unsigned char)std::lround(dark + (255 - dark) * light * 0.85);
            };
            p[size_t(y) * size + x] = Rgba{mix(colour.r), mix(colour.g), mix(colour.b), (unsigned char)std::lround(alpha * 255)};
        }
    return p;
}

int Run(DemoHost& host) {
    CVorGraphics& g = host.Surface();
    const int w = host.Width(), h = host.Height();
    const std::string groundPath = host.OutPath("tga-ground.tga");
    const int gemSize = 140;
    const Rgba colours[] = {{230, 60, 70, 0}, {60, 200, 110, 0}, {70, 120, 240, 0}, {240, 200, 60, 0}, {200, 90, 230, 0}};
    if (!WriteTga(groundPath, w, h, Ground(w, h), 24, false)) return 1;
    std::vector<std::string> gemPaths;
    for (int i = 0; i < 5; ++i) {
        gemPaths.push_back(host.OutPath("tga-gem" + std::to_string(i) + ".tga"));
        if (!WriteTga(gemPaths.back(), gemSize, gemSize, Gem(gemSize, colours[i]), 32, i == 2)) return 1;
    }

    CVorTga ground;
    if (!ground.Init(groundPath.c_str())) return 1;
    std::vector<CVorTga> gems(5);
    for (int i = 0; i < 5; ++i)
        if (!gems[i].Init(gemPaths[i].c_str())) return 1;

    g.Draw(&ground, 0, 0);
    // a row of gems at falling opacity
    const unsigned char opacities[] = {255, 200, 140, 80, 30};
    for (int i = 0; i < 5; ++i) g.Draw(&gems[i], 60 + i * 140, 190, 0, 0, -1, -1, opacities[i]);
    // overlapping gems blend over each other
    g.Draw(&gems[0], 250, 360);
    g.Draw(&gems[2], 320, 380);
    g.Draw(&gems[1], 285, 430, 0, 0, -1, -1, 180);
    // the right half of a gem, through a source rectangle
    g.Draw(&gems[4], 560, 400, gemSize / 2, 0, gemSize / 2, gemSize);
    // one partly off each edge
    g.Draw(&gems[3], -60, 40);
    g.Draw(&gems[1], 330, -70);
    g.Draw(&gems[4], w - 70, 60);
    g.Draw(&gems[0], 90, h - 60);
    g.Draw(&gems[2], w - 60, h - 50);  // and a corner
    host.PresentAll();
    return host.Screenshot("tga") ? 0 : 1;
}

DemoSceneRegistrar reg("tga", 10, &Run);
}  // namespace
