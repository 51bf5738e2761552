#include "image/TgaDecoder.h"

#include <cstring>

#include "image/PictureLimit.h"

namespace {
inline unsigned U16(const uint8_t* p) { return unsigned(p[0]) | unsigned(p[1]) << 8; }

inline unsigned BytesFor(unsigned bits) { return (bits + 7) / 8; }  // 15 bits take 2 bytes

// 5-bit channel to 8 bits: v * 255 / 31 rounded down, as Pillow and stb_image widen it (not the
// bit copy v << 3 | v >> 2, which differs by one for 15 of the 32 values).
inline uint8_t Widen5(unsigned v) { return uint8_t(v * 255 / 31); }

// 15/16-bit colour: a little-endian word, blue in bits 0-4, green 5-9, red 10-14, and bit 15 as
// alpha when alphaBit says so.
inline void Put555(uint8_t* out, unsigned word, bool alphaBit) {
    out[0] = Widen5(word & 31u);
    out[1] = Widen5(word >> 5 & 31u);
    out[2] = Widen5(word >> 10 & 31u);
    out[3] = !alphaBit || (word & 0x8000u) ? 255 : 0;
}

// One colour as a true-colour pixel or a colour-map entry of `bits` bits stores it.
inline void PutColour(uint8_t* out, const uint8_t* in, unsigned bits, bool alphaBit) {
    if (bits < 24) {
        Put555(out, U16(in), alphaBit);
        return;
    }
    out[0] = in[0];
    out[1] = in[1];
    out[2] = in[2];
    out[3] = bits == 32 ? in[3] : 255;
}

// Pixel readers, one per layout: Put turns one file pixel into the 4 output bytes, false for a
// colour-map index outside the map. The decode loops are instantiated per reader, so the layout
// is chosen once per picture, not per pixel.
struct Bgra32Reader {
    bool Put(uint8_t* out, const uint8_t* in) const {
        std::memcpy(out, in, 4);
        return true;
    }
};
struct Bgr24Reader {
    bool Put(uint8_t* out, const uint8_t* in) const {
        PutColour(out, in, 24, false);
        return true;
    }
};
struct Rgb555Reader {
    bool alphaBit;
    bool Put(uint8_t* out, const uint8_t* in) const {
        Put555(out, U16(in), alphaBit);
        return true;
    }
};
struct GreyReader {
    bool withAlpha;  // 16 bits: grey, then alpha
    bool Put(uint8_t* out, const uint8_t* in) const {
        out[0] = out[1] = out[2] = in[0];
        out[3] = withAlpha ? in[1] : 255;
        return true;
    }
};
struct MappedReader {
    const uint8_t* map;
    unsigned indexBytes, first, length, entryBits;
    bool Put(uint8_t* out, const uint8_t* in) const {
        const unsigned index = indexBytes == 1 ? in[0] : U16(in);
        if (index < first || index - first >= length) return false;
        // 15/16-bit map entries are opaque: the alpha bits of the descriptor describe pixels.
        PutColour(out, map + size_t(index - first) * BytesFor(entryBits), entryBits, false);
        return true;
    }
};

// Uncompressed data: width * height file pixels in file order.
template <class Reader>
bool DecodeRaw(const uint8_t* in, size_t available, unsigned bpp, const Reader& reader, uint8_t* out, uint64_t count) {
    if (uint64_t(available) / bpp < count) return false;
    for (uint64_t i = 0; i < count; ++i)
        if (!reader.Put(out + 4 * i, in + bpp * i)) return false;
    return true;
}

// Run-length data: packets of a header byte (bit 7: run, low 7 bits: pixels - 1) followed by one
// pixel (run) or that many pixels (raw). Packets may cross rows but not the picture's end.
template <class Reader>
bool DecodeRle(const uint8_t* in, size_t available, unsigned bpp, const Reader& reader, uint8_t* out, uint64_t count) {
    size_t pos = 0;
    uint64_t done = 0;
    while (done < count) {
        if (pos >= available) return false;
        const uint8_t packet = in[pos++];
        const uint64_t pixels = (packet & 0x7Fu) + 1u;
        if (pixels > count - done) return false;  // the packet overruns the picture
        uint8_t* at = out + 4 * done;
        if (packet & 0x80u) {
            if (available - pos < bpp) return false;
            if (!reader.Put(at, in + pos)) return false;
            for (uint64_t i = 1; i < pixels; ++i) std::memcpy(at + 4 * i, at, 4);
            pos += bpp;
        } else {
            if ((available - pos) / bpp < pixels) return false;
            for (uint64_t i = 0; i < pixels; ++i)
                if (!reader.Put(at + 4 * i, in + pos + bpp * i)) return false;
            pos += size_t(bpp * pixels);
        }
        done += pixels;
    }
    return true;
}

template <class Reader>
bool DecodeWith(const uint8_t* in, size_t available, const TgaInfo& info, const Reader& reader, uint8_t* out) {
    const uint64_t count = TgaPixelCount(info);
    return info.rle ? DecodeRle(in, available, info.bytesPerPixel, reader, out, count)
                    : DecodeRaw(in, available, info.bytesPerPixel, reader, out, count);
}

// Files store rows bottom first unless bit 5 says otherwise; we keep the top row first.
void FlipRows(uint8_t* pixels, uint32_t width, uint32_t height) {
    const size_t rowBytes = size_t(width) * 4;
    for (uint32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = pixels + rowBytes * top;
        uint8_t* b = pixels + rowBytes * bottom;
        for (size_t i = 0; i < rowBytes; ++i) {
            const uint8_t t = a[i];
            a[i] = b[i];
            b[i] = t;
        }
    }
}

// Rows stored right to left (bit 4) are turned to left to right.
void MirrorRows(uint8_t* pixels, uint32_t width, uint32_t height) {
    for (uint32_t r = 0; r < height; ++r) {
        uint8_t* row = pixels + size_t(width) * 4 * r;
        for (uint32_t left = 0, right = width - 1; left < right; ++left, --right) {
            uint8_t t[4];
            std::memcpy(t, row + 4 * size_t(left), 4);
            std::memcpy(row + 4 * size_t(left), row + 4 * size_t(right), 4);
            std::memcpy(row + 4 * size_t(right), t, 4);
        }
    }
}

// The depths each kind of picture stores.
bool DepthRead(unsigned imageType, unsigned depth) {
    switch (imageType) {
        case kTgaTypeColourMapped:
            return depth == 8 || depth == 16;
        case kTgaTypeTrueColour:
            return depth == 15 || depth == 16 || depth == 24 || depth == 32;
        case kTgaTypeGrey:
            return depth == 8 || depth == 16;
        default:
            return false;
    }
}
}  // namespace

bool ReadTgaInfo(const uint8_t* data, size_t size, TgaInfo& info) {
    if (!data || size < kTgaHeaderSize) return false;
    const unsigned idLength = data[0];
    const unsigned colourMapType = data[1];
    const unsigned imageType = data[2];
    const unsigned mapFirst = U16(data + 3);
    const unsigned mapLength = U16(data + 5);
    const unsigned mapEntryBits = data[7];
    const unsigned depth = data[16];
    const unsigned descriptor = data[17];

    const unsigned kind = imageType & ~unsigned(kTgaTypeRleFlag);
    if (!DepthRead(kind, depth)) return false;  // also every other type (0, 8, Huffman 32 and 33...)
    if (descriptor & 0xC0u) return false;       // interleaved rows
    const bool mapped = kind == kTgaTypeColourMapped;
    if (mapped) {
        if (colourMapType != 1 || mapLength == 0) return false;
        if (mapEntryBits != 15 && mapEntryBits != 16 && mapEntryBits != 24 && mapEntryBits != 32) return false;
    } else if (colourMapType != 0 || mapLength != 0) {
        return false;  // a colour map in a picture that has no indices
    }

    info.width = U16(data + 12);
    info.height = U16(data + 14);
    info.imageType = kind;
    info.pixelBits = depth;
    info.bytesPerPixel = BytesFor(depth);
    info.alphaBit = kind == kTgaTypeTrueColour && depth == 16 && (descriptor & 0x0Fu) == 1;
    info.rle = (imageType & kTgaTypeRleFlag) != 0;
    info.topRowFirst = (descriptor & 0x20u) != 0;
    info.rightToLeft = (descriptor & 0x10u) != 0;
    info.mapOffset = kTgaHeaderSize + idLength;
    info.mapFirst = mapped ? mapFirst : 0;
    info.mapLength = mapped ? mapLength : 0;
    info.mapEntryBits = mapped ? mapEntryBits : 0;
    info.pixelOffset = info.mapOffset + size_t(info.mapLength) * BytesFor(info.mapEntryBits);
    if (size < info.pixelOffset) return false;

    const uint64_t count = TgaPixelCount(info);
    if (count > kMaxPicturePixels) return false;  // refused before anything is allocated
    const uint64_t available = size - info.pixelOffset;
    // Fewest bytes that can hold the pixels: all of them raw, or one run packet per 128 pixels.
    const uint64_t needed = info.rle ? (count + 127) / 128 * (1 + info.bytesPerPixel) : count * info.bytesPerPixel;
    return available >= needed;
}

bool DecodeTgaPixels(const uint8_t* data, size_t size, const TgaInfo& info, uint8_t* out) {
    if (!data || size < info.pixelOffset) return false;
    if (info.mapOffset + size_t(info.mapLength) * BytesFor(info.mapEntryBits) > info.pixelOffset) return false;
    const uint64_t count = TgaPixelCount(info);
    if (count == 0) return true;
    if (!out) return false;
    const uint8_t* in = data + info.pixelOffset;
    const size_t available = size - info.pixelOffset;
    bool ok;
    if (info.imageType == kTgaTypeColourMapped) {
        const MappedReader reader = {data + info.mapOffset, info.bytesPerPixel, info.mapFirst, info.mapLength,
                                     info.mapEntryBits};
        ok = DecodeWith(in, available, info, reader, out);
    } else if (info.imageType == kTgaTypeGrey) {
        ok = DecodeWith(in, available, info, GreyReader{info.pixelBits == 16}, out);
    } else if (info.pixelBits == 32) {
        ok = DecodeWith(in, available, info, Bgra32Reader(), out);
    } else if (info.pixelBits == 24) {
        ok = DecodeWith(in, available, info, Bgr24Reader(), out);
    } else {
        ok = DecodeWith(in, available, info, Rgb555Reader{info.alphaBit}, out);
    }
    if (!ok) return false;
    if (!info.topRowFirst) FlipRows(out, info.width, info.height);
    if (info.rightToLeft) MirrorRows(out, info.width, info.height);
    return true;
}
