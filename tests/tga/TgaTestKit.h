// Test kit for TGA pictures, free of Windows: writes TGA files in every layout the reader takes
// (and some it refuses), and computes what a TGA draw must leave in a 24-bit back buffer,
// pixel by pixel, without the library's clipping code.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

namespace tgakit {

// A pixel as the picture holds it.
struct Bgra {
    uint8_t b, g, r, a;
};

inline uint32_t Word(const Bgra& p) {
    return uint32_t(p.a) << 24 | uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b;
}

struct TgaLayout {
    int bitsPerPixel = 32;    // 24 or 32 (others to make refused files)
    bool rle = false;         // image type 10 instead of 2
    bool topRowFirst = false; // descriptor bit 5
    int idLength = 0;         // bytes of image ID after the header
    int imageType = -1;       // overrides the type byte when >= 0
    int colourMapType = 0;
    int colourMapLength = 0;
    int descriptorExtra = 0;  // or-ed into the descriptor
};

inline void Put16(std::vector<uint8_t>& v, size_t at, unsigned value) {
    v[at] = uint8_t(value & 0xFF);
    v[at + 1] = uint8_t(value >> 8);
}

inline std::vector<uint8_t> Header(unsigned width, unsigned height, const TgaLayout& l) {
    std::vector<uint8_t> h(18, 0);
    h[0] = uint8_t(l.idLength);
    h[1] = uint8_t(l.colourMapType);
    h[2] = uint8_t(l.imageType >= 0 ? l.imageType : (l.rle ? 10 : 2));
    Put16(h, 5, unsigned(l.colourMapLength));
    h[7] = l.colourMapLength ? 24 : 0;
    Put16(h, 12, width);
    Put16(h, 14, height);
    h[16] = uint8_t(l.bitsPerPixel);
    h[17] = uint8_t((l.bitsPerPixel == 32 ? 8 : 0) | (l.topRowFirst ? 0x20 : 0) | l.descriptorExtra);
    for (int i = 0; i < l.idLength; ++i) h.push_back(uint8_t(0xA0 + i));  // an image ID to skip
    return h;
}

inline void PutFilePixel(std::vector<uint8_t>& v, const Bgra& p, int bitsPerPixel) {
    v.push_back(p.b);
    v.push_back(p.g);
    v.push_back(p.r);
    if (bitsPerPixel == 32) v.push_back(p.a);
}

// Run-length packets over the file-order pixel stream: runs of 2+ equal pixels become run
// packets, the rest raw packets; packets run across rows.
inline void PutRle(std::vector<uint8_t>& v, const std::vector<Bgra>& stream, int bitsPerPixel) {
    auto same = [&](size_t i, size_t j) { return std::memcmp(&stream[i], &stream[j], bitsPerPixel / 8) == 0; };
    size_t i = 0;
    while (i < stream.size()) {
        size_t run = 1;
        while (i + run < stream.size() && run < 128 && same(i, i + run)) ++run;
        if (run >= 2) {
            v.push_back(uint8_t(0x80 | (run - 1)));
            PutFilePixel(v, stream[i], bitsPerPixel);
            i += run;
            continue;
        }
        size_t raw = 1;
        while (i + raw < stream.size() && raw < 128 && !(i + raw + 1 < stream.size() && same(i + raw, i + raw + 1)))
            ++raw;
        v.push_back(uint8_t(raw - 1));
        for (size_t k = 0; k < raw; ++k) PutFilePixel(v, stream[i + k], bitsPerPixel);
        i += raw;
    }
}

// A TGA file of the picture given top row first (width * height pixels).
inline std::vector<uint8_t> MakeTga(unsigned width, unsigned height, const std::vector<Bgra>& picture,
                                    const TgaLayout& l = TgaLayout()) {
    std::vector<uint8_t> file = Header(width, height, l);
    std::vector<Bgra> stream;  // file order
    for (unsigned fr = 0; fr < height; ++fr) {
        const unsigned row = l.topRowFirst ? fr : height - 1 - fr;
        for (unsigned c = 0; c < width; ++c) stream.push_back(picture[size_t(row) * width + c]);
    }
    if (l.rle) {
        PutRle(file, stream, l.bitsPerPixel);
    } else {
        for (const Bgra& p : stream) PutFilePixel(file, p, l.bitsPerPixel);
    }
    return file;
}

// The words a correct reader gives for a picture (24-bit files read as alpha 255).
inline std::vector<uint32_t> ExpectedWords(const std::vector<Bgra>& picture, int bitsPerPixel) {
    std::vector<uint32_t> words;
    for (Bgra p : picture) {
        if (bitsPerPixel == 24) p.a = 255;
        words.push_back(Word(p));
    }
    return words;
}

// ---- what a draw must do ----

// d + floor((s - d) * a / 256), written with a floor division rather than a shift.
inline uint8_t ExpectedChannel(uint8_t d, uint8_t s, unsigned a) {
    if (a == 255) return s;
    if (a == 0) return d;
    const int q = (int(s) - int(d)) * int(a);
    const int floored = q >= 0 ? q / 256 : -((-q + 255) / 256);
    return uint8_t(int(d) + floored);
}

inline unsigned ExpectedAlpha(unsigned a, int opacity) {
    if (opacity < 0 || opacity == 255) return a;  // opacity < 0: the overloads without opacity
    return a * unsigned(opacity) / 256;
}

// A 24-bit buffer like the back buffer (stride padded to 4 bytes).
struct Surface24 {
    int width = 0, height = 0, stride = 0;
    std::vector<uint8_t> bytes;
    Surface24() = default;
    Surface24(int w, int h, uint8_t fill) : width(w), height(h), stride((3 * w + 3) / 4 * 4) {
        bytes.assign(size_t(stride) * h, fill);
    }
    uint8_t* At(int x, int y) { return bytes.data() + size_t(y) * stride + 3 * size_t(x); }
};

// One draw request. whole: the overload that draws the whole picture (src and size ignored).
struct DrawRequest {
    int x = 0, y = 0, srcX = 0, srcY = 0, width = 0, height = 0;
    bool whole = false;
    int opacity = -1;  // -1: no opacity argument
};

// Applies a draw to the back buffer bytes dst (layout of Surface24 with the given size/stride),
// going over every back-buffer pixel and asking whether some picture pixel lands on it.
// Rules: a size larger than the picture (as unsigned) is the picture's; a source position that
// is still negative after moving right (down) by the part left (above) of the buffer draws
// nothing; otherwise exactly the requested block, cut to the picture and to the buffer.
inline void ExpectedDraw(std::vector<uint8_t>& dst, int sw, int sh, int stride, const std::vector<uint32_t>& words,
                         uint32_t tw, uint32_t th, const DrawRequest& q) {
    if (tw == 0 || th == 0 || sw <= 0 || sh <= 0) return;
    int64_t sx = q.whole ? 0 : q.srcX, sy = q.whole ? 0 : q.srcY;
    int64_t w = q.whole ? tw : (uint32_t(q.width) > tw ? int64_t(tw) : int64_t(q.width));
    int64_t h = q.whole ? th : (uint32_t(q.height) > th ? int64_t(th) : int64_t(q.height));
    const int64_t shownSx = sx + (q.x < 0 ? -int64_t(q.x) : 0);
    const int64_t shownSy = sy + (q.y < 0 ? -int64_t(q.y) : 0);
    if (shownSx < 0 || shownSy < 0) return;
    for (int py = 0; py < sh; ++py) {
        for (int px = 0; px < sw; ++px) {
            const int64_t dx = int64_t(px) - q.x, dy = int64_t(py) - q.y;  // offset inside the block
            if (dx < 0 || dx >= w || dy < 0 || dy >= h) continue;
            const int64_t col = sx + dx, row = sy + dy;
            if (col < 0 || col >= int64_t(tw) || row < 0 || row >= int64_t(th)) continue;
            const uint32_t word = words[size_t(row) * tw + size_t(col)];
            const unsigned a = ExpectedAlpha(word >> 24, q.opacity);
            uint8_t* d = dst.data() + size_t(py) * stride + 3 * size_t(px);
            d[0] = ExpectedChannel(d[0], uint8_t(word), a);
            d[1] = ExpectedChannel(d[1], uint8_t(word >> 8), a);
            d[2] = ExpectedChannel(d[2], uint8_t(word >> 16), a);
        }
    }
}

// A small deterministic generator for pictures (tests seed it and print the seed).
inline Bgra RandomPixel(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    const uint32_t v = state;
    Bgra p{uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    // plenty of the alpha fast paths
    const unsigned pick = (v >> 4) & 7;
    if (pick == 0) p.a = 0;
    if (pick == 1) p.a = 255;
    return p;
}

}  // namespace tgakit
