// Small image files written byte by byte - TGA, BMP, GIF - and 24-bit memory blocks in the layout a
// host hands to CVorBitmap. The demo generates its pictures with these, the tests their inputs.
// Header-only; only SetInfo24 needs Windows headers (included before this one).
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace imagefile {

struct Rgba {
    uint8_t r, g, b, a;
};
// Colour of pixel (x, y); y = 0 is the picture's top row.
typedef std::function<Rgba(int x, int y)> PixelFn;

inline void Put16(std::vector<uint8_t>& v, unsigned x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

inline bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// A true-colour TGA of 24 or 32 bits. Raw files store the bottom row first; run-length files
// (type 10) store the top row first, with a run packet for repeats and one-pixel raw packets.
inline std::vector<uint8_t> Tga(int w, int h, const PixelFn& pixel, int bits = 32, bool rle = false) {
    std::vector<uint8_t> out(18, 0);
    out[2] = rle ? 10 : 2;
    out[12] = uint8_t(w);
    out[13] = uint8_t(w >> 8);
    out[14] = uint8_t(h);
    out[15] = uint8_t(h >> 8);
    out[16] = uint8_t(bits);
    out[17] = uint8_t((bits == 32 ? 8 : 0) | (rle ? 0x20 : 0));
    auto put = [&](const Rgba& p) {
        out.push_back(p.b);
        out.push_back(p.g);
        out.push_back(p.r);
        if (bits == 32) out.push_back(p.a);
    };
    if (!rle) {
        for (int y = h - 1; y >= 0; --y)
            for (int x = 0; x < w; ++x) put(pixel(x, y));
        return out;
    }
    auto same = [](const Rgba& a, const Rgba& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; };
    const long n = long(w) * h;
    for (long i = 0; i < n;) {
        const Rgba first = pixel(int(i % w), int(i / w));
        long run = 1;
        while (i + run < n && run < 128 && same(first, pixel(int((i + run) % w), int((i + run) / w)))) ++run;
        out.push_back(uint8_t(run > 1 ? 0x80 | (run - 1) : 0));
        put(first);
        i += run;
    }
    return out;
}

// A bottom-up BMP of 24 or 32 bits a pixel (32-bit: fourth byte 0), rows padded to 4 bytes.
inline std::vector<uint8_t> Bmp(int w, int h, int bits, const PixelFn& pixel) {
    const int bpp = bits / 8;
    const int stride = (w * bpp + 3) & ~3;
    std::vector<uint8_t> f = {'B', 'M'};
    Put32(f, uint32_t(54 + stride * h));
    Put32(f, 0);
    Put32(f, 54);
    Put32(f, 40);
    Put32(f, uint32_t(w));
    Put32(f, uint32_t(h));
    Put16(f, 1);
    Put16(f, unsigned(bits));
    Put32(f, 0);
    Put32(f, uint32_t(stride * h));
    Put32(f, 2835);
    Put32(f, 2835);
    Put32(f, 0);
    Put32(f, 0);
    for (int y = h - 1; y >= 0; --y) {
        const size_t start = f.size();
        for (int x = 0; x < w; ++x) {
            const Rgba c = pixel(x, y);
            f.push_back(c.b);
            f.push_back(c.g);
            f.push_back(c.r);
            if (bpp == 4) f.push_back(0);
        }
        while (f.size() - start < size_t(stride)) f.push_back(0);
    }
    return f;
}

// A bottom-up 8-bit palette BMP; index(x, y) picks the palette entry.
inline std::vector<uint8_t> Bmp8(int w, int h, const std::vector<Rgba>& palette,
                                 const std::function<int(int, int)>& index) {
    const int stride = (w + 3) & ~3;
    const int offset = 54 + 4 * int(palette.size());
    std::vector<uint8_t> f = {'B', 'M'};
    Put32(f, uint32_t(offset + stride * h));
    Put32(f, 0);
    Put32(f, uint32_t(offset));
    Put32(f, 40);
    Put32(f, uint32_t(w));
    Put32(f, uint32_t(h));
    Put16(f, 1);
    Put16(f, 8);
    Put32(f, 0);
    Put32(f, uint32_t(stride * h));
    Put32(f, 2835);
    Put32(f, 2835);
    Put32(f, uint32_t(palette.size()));
    Put32(f, 0);
    for (const Rgba& c : palette) f.insert(f.end(), {c.b, c.g, c.r, 0});
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) f.push_back(uint8_t(index(x, y)));
        for (int p = w; p < stride; ++p) f.push_back(0);
    }
    return f;
}

// A GIF89a with a global palette of 4 or 16 entries (shorter palettes are padded with black) and
// one frame per element of frames (w * h palette indices, top row first). With gce each frame has
// a graphic control extension with its delay (1/100 s, delays[n], 0 when missing); several frames
// loop forever. The LZW data holds literal codes only, with a clear code before every
// (entries - 2) pixels, so the code width never grows.
inline std::vector<uint8_t> Gif(int w, int h, const std::vector<Rgba>& palette,
                                const std::vector<std::vector<uint8_t>>& frames, const std::vector<int>& delays,
                                bool gce = true) {
    const int depth = palette.size() > 4 ? 4 : 2;  // bits of a palette index
    const int entries = 1 << depth, clear = entries, end = entries + 1, codeBits = depth + 1;
    std::vector<uint8_t> f = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(f, unsigned(w));
    Put16(f, unsigned(h));
    f.insert(f.end(), {uint8_t(0x80 | ((depth - 1) << 4) | (depth - 1)), 0, 0});
    for (int i = 0; i < entries; ++i) {
        const Rgba c = i < int(palette.size()) ? palette[i] : Rgba{0, 0, 0, 255};
        f.insert(f.end(), {c.r, c.g, c.b});
    }
    if (frames.size() > 1) {
        const uint8_t loop[] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
        f.insert(f.end(), loop, loop + sizeof loop);
    }
    for (size_t n = 0; n < frames.size(); ++n) {
        if (gce) {
            f.insert(f.end(), {0x21, 0xF9, 4, 0x04});  // dispose: leave in place; no transparency
            Put16(f, unsigned(n < delays.size() ? delays[n] : 0));
            f.insert(f.end(), {0, 0});
        }
        f.push_back(0x2C);
        Put16(f, 0);
        Put16(f, 0);
        Put16(f, unsigned(w));
        Put16(f, unsigned(h));
        f.insert(f.end(), {0, uint8_t(depth)});
        std::vector<uint8_t> data;
        uint32_t acc = 0;
        int bits = 0;
        auto code = [&](int c) {
            acc |= uint32_t(c) << bits;
            for (bits += codeBits; bits >= 8; bits -= 8) {
                data.push_back(uint8_t(acc));
                acc >>= 8;
            }
        };
        for (size_t i = 0; i < frames[n].size(); ++i) {
            if (i % size_t(entries - 2) == 0) code(clear);
            code(frames[n][i] & (entries - 1));
        }
        code(end);
        if (bits > 0) data.push_back(uint8_t(acc));
        for (size_t i = 0; i < data.size(); i += 255) {
            const size_t len = data.size() - i < 255 ? data.size() - i : 255;
            f.push_back(uint8_t(len));
            f.insert(f.end(), data.begin() + long(i), data.begin() + long(i + len));
        }
        f.push_back(0);
    }
    f.push_back(0x3B);
    return f;
}

// 24-bit rows of exactly 3 * w bytes (b, g, r), the picture's bottom row first: the memory layout a
// host hands to CVorBitmap::Init with a BITMAPINFO of biHeight = h.
inline std::vector<uint8_t> MemoryRows24(int w, int h, const PixelFn& pixel) {
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(3) * w * h);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Rgba c = pixel(x, y);
            bytes.insert(bytes.end(), {c.b, c.g, c.r});
        }
    return bytes;
}

#if defined(_WIN32)
// The BITMAPINFO that goes with MemoryRows24(w, h, ...).
inline void SetInfo24(BITMAPINFO* info, int w, int h) {
    *info = BITMAPINFO();
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = w;
    info->bmiHeader.biHeight = h;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 24;
    info->bmiHeader.biCompression = BI_RGB;
}
#endif

}  // namespace imagefile
