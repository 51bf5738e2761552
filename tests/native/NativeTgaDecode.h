// For the native TGA tests: decoding a file image the way the picture class does, into pixel
// words, and random pictures with runs.
#pragma once
#include <cstdint>
#include <vector>

#include "image/TgaDecoder.h"
#include "../tga/TgaTestKit.h"

// False when the reader refuses the file.
inline bool Decode(const std::vector<uint8_t>& file, TgaInfo& info, std::vector<uint32_t>& words) {
    words.clear();
    if (!ReadTgaInfo(file.data(), file.size(), info)) return false;
    std::vector<uint8_t> bytes(size_t(TgaPixelCount(info)) * 4);
    if (!DecodeTgaPixels(file.data(), file.size(), info, bytes.data())) return false;
    words.resize(size_t(TgaPixelCount(info)));
    for (size_t i = 0; i < words.size(); ++i)
        words[i] = uint32_t(bytes[4 * i]) | uint32_t(bytes[4 * i + 1]) << 8 | uint32_t(bytes[4 * i + 2]) << 16 |
                   uint32_t(bytes[4 * i + 3]) << 24;
    return true;
}

inline std::vector<tgakit::Bgra> RandomPicture(unsigned w, unsigned h, uint32_t& state) {
    std::vector<tgakit::Bgra> p(size_t(w) * h);
    for (tgakit::Bgra& px : p) px = tgakit::RandomPixel(state);
    // some repeats so run-length files get run packets
    for (size_t i = 1; i < p.size(); ++i)
        if ((state = state * 1664525u + 1013904223u) >> 30 == 0) p[i] = p[i - 1];
    return p;
}
