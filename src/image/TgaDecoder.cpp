#include "image/TgaDecoder.h"

#include <cstring>

namespace {
inline unsigned U16(const uint8_t* p) { return unsigned(p[0]) | unsigned(p[1]) << 8; }

// Copies one file pixel (B, G, R[, A]) to a 4-byte output pixel.
inline void PutPixel(uint8_t* out, const uint8_t* in, unsigned bytesPerPixel) {
    out[0] = in[0];
    out[1] = in[1];
    out[2] = in[2];
    out[3] = bytesPerPixel == 4 ? in[3] : 255;
}

// Uncompressed data: width * height file pixels in file order.
bool DecodeRaw(const uint8_t* in, size_t available, const TgaInfo& info, uint8_t* out, uint64_t count) {
    if (uint64_t(available) / info.bytesPerPixel < count) return false;
    for (uint64_t i = 0; i < count; ++i) PutPixel(out + 4 * i, in + info.bytesPerPixel * i, info.bytesPerPixel);
    return true;
}

// Run-length data: packets of a header byte (bit 7: run, low 7 bits: pixels - 1) followed by one
// pixel (run) or that many pixels (raw). Packets may cross rows but not the picture's end.
bool DecodeRle(const uint8_t* in, size_t available, const TgaInfo& info, uint8_t* out, uint64_t count) {
    const unsigned bpp = info.bytesPerPixel;
    size_t pos = 0;
    uint64_t done = 0;
    while (done < count) {
        if (pos >= available) return false;
        const uint8_t packet = in[pos++];
        const uint64_t pixels = (packet & 0x7Fu) + 1u;
        if (pixels > count - done) return false;  // the packet overruns the picture
        if (packet & 0x80u) {
            if (available - pos < bpp) return false;
            for (uint64_t i = 0; i < pixels; ++i) PutPixel(out + 4 * (done + i), in + pos, bpp);
            pos += bpp;
        } else {
            if ((available - pos) / bpp < pixels) return false;
            for (uint64_t i = 0; i < pixels; ++i) PutPixel(out + 4 * (done + i), in + pos + bpp * i, bpp);
            pos += size_t(bpp * pixels);
        }
        done += pixels;
    }
    return true;
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
}  // namespace

bool ReadTgaInfo(const uint8_t* data, size_t size, TgaInfo& info) {
    if (!data || size < kTgaHeaderSize) return false;
    const unsigned idLength = data[0];
    const unsigned colourMapType = data[1];
    const unsigned imageType = data[2];
    const unsigned colourMapLength = U16(data + 5);
    const unsigned depth = data[16];
    const unsigned descriptor = data[17];

    if (colourMapType != 0 || colourMapLength != 0) return false;
    if (imageType != kTgaTypeTrueColour && imageType != kTgaTypeTrueColourRle) return false;
    if (depth != 24 && depth != 32) return false;
    if (descriptor & 0xC0u) return false;  // interleaved rows

    info.width = U16(data + 12);
    info.height = U16(data + 14);
    info.bytesPerPixel = depth / 8;
    info.rle = imageType == kTgaTypeTrueColourRle;
    info.topRowFirst = (descriptor & 0x20u) != 0;
    info.rightToLeft = (descriptor & 0x10u) != 0;
    info.pixelOffset = kTgaHeaderSize + idLength;
    if (size < info.pixelOffset) return false;

    const uint64_t count = TgaPixelCount(info);
    if (count * 4 > uint64_t(SIZE_MAX)) return false;  // no buffer this big can be addressed
    const uint64_t available = size - info.pixelOffset;
    // Fewest bytes that can hold the pixels: all of them raw, or one run packet per 128 pixels.
    const uint64_t needed = info.rle ? (count + 127) / 128 * (1 + info.bytesPerPixel) : count * info.bytesPerPixel;
    return available >= needed;
}

bool DecodeTgaPixels(const uint8_t* data, size_t size, const TgaInfo& info, uint8_t* out) {
    if (!data || size < info.pixelOffset) return false;
    const uint64_t count = TgaPixelCount(info);
    if (count == 0) return true;
    if (!out) return false;
    const uint8_t* in = data + info.pixelOffset;
    const size_t available = size - info.pixelOffset;
    const bool ok = info.rle ? DecodeRle(in, available, info, out, count) : DecodeRaw(in, available, info, out, count);
    if (!ok) return false;
    if (!info.topRowFirst) FlipRows(out, info.width, info.height);
    if (info.rightToLeft) MirrorRows(out, info.width, info.height);
    return true;
}
