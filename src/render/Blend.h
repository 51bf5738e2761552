// The blend rule shared by every blitter: d + floor((s - d) * a / 256), computed with a signed
// difference and an arithmetic shift. a = 255 is a plain copy and a = 0 keeps d; the callers
// take those paths themselves.
#pragma once
#include <cstdint>

inline uint8_t BlendChannel(uint8_t d, uint8_t s, unsigned a) {
    return uint8_t(int(d) + ((int(s) - int(d)) * int(a) >> 8));
}

// Effective alpha of a pixel under a global opacity: a * opacity / 256, or a itself at 255.
inline unsigned ScaleAlpha(unsigned a, unsigned opacity) { return opacity == 255 ? a : (a * opacity) >> 8; }
