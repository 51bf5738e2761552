// Pictures for the sprite tests, made in memory: TGA file bytes, GIF file bytes (animated) and
// memory images (bottom-up 24-bit rows) with their BITMAPINFO.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "VorImage4.h"

struct Bgra {
    uint8_t b, g, r, a;
};

// An uncompressed 32-bit TGA (bottom row first in the file); pixel(x, y) with y = 0 the top row.
inline std::vector<uint8_t> MakeTgaBytes(int w, int h, const std::function<Bgra(int, int)>& pixel) {
    std::vector<uint8_t> out(18, 0);
    out[2] = 2;
    out[12] = uint8_t(w);
    out[13] = uint8_t(w >> 8);
    out[14] = uint8_t(h);
    out[15] = uint8_t(h >> 8);
    out[16] = 32;
    out[17] = 8;  // 8 alpha bits, origin bottom-left
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Bgra p = pixel(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
            out.push_back(p.a);
        }
    return out;
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
    MemoryImage m = {};
    m.info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    m.info.bmiHeader.biWidth = w;
    m.info.bmiHeader.biHeight = h;
    m.info.bmiHeader.biPlanes = 1;
    m.info.bmiHeader.biBitCount = 24;
    m.info.bmiHeader.biCompression = BI_RGB;
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Bgra p = pixel(x, y);
            m.bits.push_back(p.b);
            m.bits.push_back(p.g);
            m.bits.push_back(p.r);
        }
    return m;
}

// An animated GIF with a 4-colour global palette; frames[f][y * w + x] is a palette index (0..3).
// LZW codes stay 3 bits wide: a clear code before every two pixels keeps the table from growing.
inline std::vector<uint8_t> MakeGifBytes(int w, int h, const uint8_t palette[4][3],
                                         const std::vector<std::vector<uint8_t>>& frames, int delay) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    auto put16 = [&](int v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    put16(w);
    put16(h);
    out.push_back(0x80 | 0x10 | 0x01);  // global table of 2^(1+1) entries
    out.push_back(0);
    out.push_back(0);
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c) out.push_back(palette[i][c]);
    // Loop forever (NETSCAPE2.0).
    const uint8_t loop[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 0x03, 0x01, 0, 0, 0};
    out.insert(out.end(), loop, loop + sizeof loop);
    for (const std::vector<uint8_t>& frame : frames) {
        out.push_back(0x21);
        out.push_back(0xF9);
        out.push_back(4);
        out.push_back(0x04);  // dispose: leave; no transparency
        put16(delay);
        out.push_back(0);
        out.push_back(0);
        out.push_back(0x2C);
        put16(0);
        put16(0);
        put16(w);
        put16(h);
        out.push_back(0);
        out.push_back(2);  // LZW minimum code size
        std::vector<uint8_t> data;
        uint32_t acc = 0;
        int bits = 0;
        auto code = [&](int c) {
            acc |= uint32_t(c) << bits;
            bits += 3;
            while (bits >= 8) {
                data.push_back(uint8_t(acc));
                acc >>= 8;
                bits -= 8;
            }
        };
        for (size_t i = 0; i < frame.size(); ++i) {
            if (i % 2 == 0) code(4);  // clear
            code(frame[i] & 3);
        }
        code(5);  // end of information
        if (bits > 0) data.push_back(uint8_t(acc));
        for (size_t i = 0; i < data.size(); i += 255) {
            const size_t n = std::min<size_t>(255, data.size() - i);
            out.push_back(uint8_t(n));
            out.insert(out.end(), data.begin() + i, data.begin() + i + n);
        }
        out.push_back(0);
    }
    out.push_back(0x3B);
    return out;
}
