// Scene "gradient": pixels written straight into the back buffer, presented with DrawDC.
#include "DemoHost.h"

namespace {
int Run(DemoHost& host) {
    CVorGraphics& g = host.Surface();
    BYTE* pixels = g.GetPixels();
    if (!pixels) return 1;
    const int w = host.Width(), h = host.Height();
    for (int y = 0; y < h; ++y) {
        BYTE* row = pixels + y * g.GetStride();
        for (int x = 0; x < w; ++x) {
            row[3 * x + 0] = BYTE(160 - y * 100 / h);  // blue
            row[3 * x + 1] = BYTE(90 + y * 60 / h);    // green
            row[3 * x + 2] = BYTE(40 + x * 60 / w);    // red
        }
    }
    host.PresentAll();
    return host.Screenshot("gradient") ? 0 : 1;
}

DemoSceneRegistrar reg("gradient", 0, &Run);
}  // namespace
