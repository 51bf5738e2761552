// Pictures for the sprite tests, made in memory: TGA file bytes, GIF file bytes (animated) and
// memory images (bottom-up 24-bit rows) with their BITMAPINFO.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "VorImage4.h"
#include "ImageFileBytes.h"

struct Bgra {
    uint8_t b, g, r, a;
};

inline imagefile::PixelFn FilePixels(const std::function<Bgra(int, int)>& pixel) {
    return [&pixel](int x, int y) {
        const Bgra p = pixel(x, y);
        return imagefile::Rgba{p.r, p.g, p.b, p.a};
    };
}

// An uncompressed 32-bit TGA (bottom row first in the file); pixel(x, y) with y = 0 the top row.
inline std::vector<uint8_t> MakeTgaBytes(int w, int h, const std::function<Bgra(int, int)>& pixel) {
    return imagefile::Tga(w, h, FilePixels(pixel));
}

inline bool LoadTga(CVorTga& tga, int w, int h, const std::function<Bgra(int, int)>& pixel) {
    const std::vector<uint8_t> bytes = MakeTgaBytes(w, h, pixel);
    return tga.InitFromMemory(bytes.data(), bytes.size());
}

// A memory image: rows of 3 * w bytes, the picture's bottom row first, as the host hands them over.
struct MemoryImage {
    BITMAPINFO info;
    std::vector<uint8_t> bits;
};

inline MemoryImage MakeMemoryImage(int w, int h, const std::function<Bgra(int, int)>& pixel) {
    MemoryImage m;
    imagefile::SetInfo24(&m.info, w, h);
    m.bits = imagefile::MemoryRows24(w, h, FilePixels(pixel));
    return m;
}

// An animated GIF with a 4-colour global palette; frames[f][y * w + x] is a palette index (0..3).
inline std::vector<uint8_t> MakeGifBytes(int w, int h, const uint8_t palette[4][3],
                                         const std::vector<std::vector<uint8_t>>& frames, int delay) {
    std::vector<imagefile::Rgba> colours;
    for (int i = 0; i < 4; ++i) colours.push_back(imagefile::Rgba{palette[i][0], palette[i][1], palette[i][2], 255});
    return imagefile::Gif(w, h, colours, frames, std::vector<int>(frames.size(), delay));
}
