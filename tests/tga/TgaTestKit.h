// Test kit for TGA pictures, free of Windows: writes TGA files in every layout the reader takes
// (true colour, grey, colour-mapped; raw or run-length; any origin) and some it refuses, and
// computes what a TGA draw must leave in a 24-bit back buffer, pixel by pixel, without the
// library's clipping code.
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

enum TgaKind { kTrueColourKind, kGreyKind, kMappedKind };

struct TgaLayout {
    int bitsPerPixel = 32;    // true colour 15, 16, 24, 32; grey 8, 16; colour-mapped: index bits 8, 16
    bool rle = false;         // image type + 8
    bool topRowFirst = false; // descriptor bit 5
    bool rightToLeft = false; // descriptor bit 4
    bool packetsInRows = false;  // run-length packets end at row ends (else they run across rows)
    int idLength = 0;         // bytes of image ID after the header
    int imageType = -1;       // overrides the type byte when >= 0
    int colourMapType = 0;    // written as 1 for colour-mapped files
    int colourMapLength = 0;  // colour-mapped files: MakeTga sets it from the picture's colours
    int descriptorExtra = 0;  // or-ed into the descriptor
    TgaKind kind = kTrueColourKind;
    int mapEntryBits = 24;    // colour-mapped: 15, 16, 24 or 32
    int mapFirst = 0;         // colour-mapped: the index of the first map entry
    int alphaBits = -1;       // descriptor bits 0-3; -1: 8 for 32 bits and 16-bit grey, 1 for 16-bit true colour
};

inline void Put16(std::vector<uint8_t>& v, size_t at, unsigned value) {
    v[at] = uint8_t(value & 0xFF);
    v[at + 1] = uint8_t(value >> 8);
}

inline int AlphaBitsOf(const TgaLayout& l) {
    if (l.alphaBits >= 0) return l.alphaBits;
    if (l.kind == kTrueColourKind) return l.bitsPerPixel == 32 ? 8 : l.bitsPerPixel == 16 ? 1 : 0;
    return l.kind == kGreyKind && l.bitsPerPixel == 16 ? 8 : 0;
}

inline std::vector<uint8_t> Header(unsigned width, unsigned height, const TgaLayout& l) {
    static const int kTypes[] = {2, 3, 1};
    std::vector<uint8_t> h(18, 0);
    h[0] = uint8_t(l.idLength);
    const bool mapped = l.kind == kMappedKind;
    h[1] = uint8_t(mapped ? 1 : l.colourMapType);
    h[2] = uint8_t(l.imageType >= 0 ? l.imageType : kTypes[l.kind] + (l.rle ? 8 : 0));
    Put16(h, 3, mapped ? unsigned(l.mapFirst) : 0u);
    Put16(h, 5, unsigned(l.colourMapLength));
    h[7] = uint8_t(mapped ? l.mapEntryBits : l.colourMapLength ? 24 : 0);
    Put16(h, 12, width);
    Put16(h, 14, height);
    h[16] = uint8_t(l.bitsPerPixel);
    h[17] = uint8_t(AlphaBitsOf(l) | (l.topRowFirst ? 0x20 : 0) | (l.rightToLeft ? 0x10 : 0) | l.descriptorExtra);
    for (int i = 0; i < l.idLength; ++i) h.push_back(uint8_t(0xA0 + i));  // an image ID to skip
    return h;
}

// ---- pixels as stored ----

// 5-bit channels: stored v >> 3, read back widened v * 255 / 31.
inline uint8_t Widened5(uint8_t v) { return uint8_t((v >> 3) * 255 / 31); }

// A colour in `bits` bits (15/16: 5-5-5 and the top bit from alpha >= 128), as file bytes.
inline void PutColourBytes(std::vector<uint8_t>& v, const Bgra& p, int bits) {
    if (bits >= 24) {
        v.push_back(p.b);
        v.push_back(p.g);
        v.push_back(p.r);
        if (bits == 32) v.push_back(p.a);
        return;
    }
    const unsigned word = unsigned(p.b >> 3) | unsigned(p.g >> 3) << 5 | unsigned(p.r >> 3) << 10 | (p.a >= 128 ? 0x8000u : 0u);
    v.push_back(uint8_t(word));
    v.push_back(uint8_t(word >> 8));
}

// What a reader gives back for a colour stored in `bits` bits; alphaBit: the 16-bit top bit is alpha.
inline Bgra ColourReadBack(Bgra p, int bits, bool alphaBit) {
    if (bits == 24) p.a = 255;
    if (bits < 24) p = Bgra{Widened5(p.b), Widened5(p.g), Widened5(p.r), uint8_t(alphaBit && p.a < 128 ? 0 : 255)};
    return p;
}

inline void PutFilePixel(std::vector<uint8_t>& v, const Bgra& p, int bitsPerPixel) { PutColourBytes(v, p, bitsPerPixel); }

// A colour-mapped picture: the map (distinct colours in order of first use, as many as the
// indices reach; colours past that share entries) and each pixel's entry.
struct MappedPicture {
    std::vector<Bgra> map;
    std::vector<unsigned> entry;
};

inline MappedPicture MapPicture(const std::vector<Bgra>& picture, const TgaLayout& l) {
    const unsigned indices = l.bitsPerPixel == 8 ? 256u : 65536u;
    const unsigned first = unsigned(l.mapFirst) < indices ? unsigned(l.mapFirst) : 0u;
    const unsigned capacity = indices - first < 65535u ? indices - first : 65535u;
    MappedPicture m;
    for (const Bgra& p : picture) {
        unsigned e = 0;
        while (e < m.map.size() && std::memcmp(&m.map[e], &p, 4) != 0) ++e;
        if (e == m.map.size()) {
            if (m.map.size() < capacity) m.map.push_back(p);
            else e = unsigned(m.entry.size()) % capacity;
        }
        m.entry.push_back(e);
    }
    if (m.map.empty()) m.map.push_back(Bgra{0, 0, 0, 255});  // a map needs one entry
    return m;
}

// Run-length packets over file pixels of `size` bytes each: runs of 2+ equal pixels become run
// packets, the rest raw packets; packets run across rows.
inline void PutRleBytes(std::vector<uint8_t>& v, const std::vector<uint8_t>& stream, size_t size) {
    const size_t count = size ? stream.size() / size : 0;
    auto same = [&](size_t i, size_t j) { return std::memcmp(&stream[i * size], &stream[j * size], size) == 0; };
    auto put = [&](size_t i) { v.insert(v.end(), stream.begin() + long(i * size), stream.begin() + long((i + 1) * size)); };
    size_t i = 0;
    while (i < count) {
        size_t run = 1;
        while (i + run < count && run < 128 && same(i, i + run)) ++run;
        if (run >= 2) {
            v.push_back(uint8_t(0x80 | (run - 1)));
            put(i);
            i += run;
            continue;
        }
        size_t raw = 1;
        while (i + raw < count && raw < 128 && !(i + raw + 1 < count && same(i + raw, i + raw + 1))) ++raw;
        v.push_back(uint8_t(raw - 1));
        for (size_t k = 0; k < raw; ++k) put(i + k);
        i += raw;
    }
}

inline void PutRle(std::vector<uint8_t>& v, const std::vector<Bgra>& stream, int bitsPerPixel) {
    std::vector<uint8_t> bytes;
    for (const Bgra& p : stream) PutColourBytes(bytes, p, bitsPerPixel);
    PutRleBytes(v, bytes, size_t(bitsPerPixel + 7) / 8);
}

// A TGA file of the picture given top row first (width * height pixels), in any layout: grey
// files store the green channel (and alpha), colour-mapped ones a map of the picture's colours.
inline std::vector<uint8_t> MakeTga(unsigned width, unsigned height, const std::vector<Bgra>& picture,
                                    const TgaLayout& layout = TgaLayout()) {
    TgaLayout l = layout;
    MappedPicture mapped;
    if (l.kind == kMappedKind) {
        mapped = MapPicture(picture, l);
        l.colourMapLength = int(mapped.map.size());
    }
    std::vector<uint8_t> file = Header(width, height, l);
    for (const Bgra& p : mapped.map) PutColourBytes(file, p, l.mapEntryBits);
    std::vector<uint8_t> stream;  // file pixels in file order
    for (unsigned fr = 0; fr < height; ++fr) {
        const unsigned row = l.topRowFirst ? fr : height - 1 - fr;
        for (unsigned fc = 0; fc < width; ++fc) {
            const size_t at = size_t(row) * width + (l.rightToLeft ? width - 1 - fc : fc);
            const Bgra& p = picture[at];
            if (l.kind == kTrueColourKind) {
                PutColourBytes(stream, p, l.bitsPerPixel);
            } else if (l.kind == kGreyKind) {
                stream.push_back(p.g);
                if (l.bitsPerPixel == 16) stream.push_back(p.a);
            } else {
                const unsigned index = unsigned(l.mapFirst) + mapped.entry[at];
                stream.push_back(uint8_t(index));
                if (l.bitsPerPixel == 16) stream.push_back(uint8_t(index >> 8));
            }
        }
    }
    const size_t pixelBytes = size_t(l.bitsPerPixel + 7) / 8, rowBytes = pixelBytes * width;
    if (!l.rle) {
        file.insert(file.end(), stream.begin(), stream.end());
    } else if (!l.packetsInRows || rowBytes == 0) {
        PutRleBytes(file, stream, pixelBytes);
    } else {
        for (size_t at = 0; at < stream.size(); at += rowBytes)
            PutRleBytes(file, std::vector<uint8_t>(stream.begin() + long(at), stream.begin() + long(at + rowBytes)),
                        pixelBytes);
    }
    return file;
}

// The words a correct reader gives for a picture written by MakeTga with layout l.
inline std::vector<uint32_t> ExpectedWords(const std::vector<Bgra>& picture, const TgaLayout& l) {
    std::vector<uint32_t> words;
    const MappedPicture mapped = l.kind == kMappedKind ? MapPicture(picture, l) : MappedPicture();
    for (size_t i = 0; i < picture.size(); ++i) {
        Bgra p = picture[i];
        if (l.kind == kTrueColourKind) p = ColourReadBack(p, l.bitsPerPixel, l.bitsPerPixel == 16 && AlphaBitsOf(l) == 1);
        else if (l.kind == kGreyKind) p = Bgra{p.g, p.g, p.g, uint8_t(l.bitsPerPixel == 16 ? p.a : 255)};
        else p = ColourReadBack(mapped.map[mapped.entry[i]], l.mapEntryBits, false);
        words.push_back(Word(p));
    }
    return words;
}

// The words a correct reader gives for a true-colour picture (24-bit files read as alpha 255).
inline std::vector<uint32_t> ExpectedWords(const std::vector<Bgra>& picture, int bitsPerPixel) {
    TgaLayout l;
    l.bitsPerPixel = bitsPerPixel;
    return ExpectedWords(picture, l);
}

// Every layout MakeTga writes, for table-driven tests: kind and bits (true colour 15, 16 with and
// without the alpha bit, 24, 32; grey 8, 16; colour-mapped 8- and 16-bit indices into 15, 16, 24
// and 32-bit maps, first entry 0 or not), each raw and run-length. Origins are the caller's.
inline std::vector<TgaLayout> AllPixelLayouts() {
    std::vector<TgaLayout> out;
    auto add = [&](TgaKind kind, int bits, int mapBits, int first, int alphaBits) {
        for (bool rle : {false, true}) {
            TgaLayout l;
            l.kind = kind;
            l.bitsPerPixel = bits;
            l.mapEntryBits = mapBits;
            l.mapFirst = first;
            l.alphaBits = alphaBits;
            l.rle = rle;
            out.push_back(l);
        }
    };
    for (int bits : {15, 24, 32}) add(kTrueColourKind, bits, 24, 0, -1);
    add(kTrueColourKind, 16, 24, 0, 1);
    add(kTrueColourKind, 16, 24, 0, 0);
    for (int bits : {8, 16}) add(kGreyKind, bits, 24, 0, -1);
    for (int bits : {8, 16})
        for (int mapBits : {15, 16, 24, 32})
            for (int first : {0, 3}) add(kMappedKind, bits, mapBits, first, -1);
    return out;
}

// One of those layouts at random, either origin, either direction, sometimes an image ID;
// pick(lo, hi) gives an int in [lo, hi].
template <class Pick>
TgaLayout AnyLayout(Pick&& pick) {
    static const std::vector<TgaLayout> layouts = AllPixelLayouts();
    TgaLayout l = layouts[size_t(pick(0, int(layouts.size()) - 1))];
    l.topRowFirst = pick(0, 1) != 0;
    l.rightToLeft = pick(0, 3) == 0;
    l.idLength = pick(0, 3) == 0 ? pick(0, 255) : 0;
    return l;
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
