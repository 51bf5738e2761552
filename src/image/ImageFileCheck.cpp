#include "image/ImageFileCheck.h"

namespace {

uint32_t Le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }
uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

bool SizeFits(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width * height <= kMaxDecodedPixelBytes / 4;
}

// BMP: sizes within bounds, and uncompressed rows (BI_RGB, BI_BITFIELDS, BI_ALPHABITFIELDS) inside
// the file; compressed data is the decoder's to check, its size bound still holds.
bool PlausibleBmp(const uint8_t* d, size_t size) {
    if (size < 26) return false;
    const uint32_t offset = Le32(d + 10);
    const uint32_t headerSize = Le32(d + 14);
    int64_t width, height;
    uint32_t bits, compression = 0;
    if (headerSize == 12) {  // the old core header: 16-bit unsigned sizes
        width = Le16(d + 18);
        height = Le16(d + 20);
        bits = Le16(d + 24);
    } else {
        if (headerSize < 40 || size < 14 + 40) return false;
        width = int32_t(Le32(d + 18));
        height = int32_t(Le32(d + 22));
        bits = Le16(d + 28);
        compression = Le32(d + 30);
    }
    if (width <= 0 || height == 0) return false;
    const uint64_t rows = uint64_t(height < 0 ? -height : height);
    if (!SizeFits(uint64_t(width), rows)) return false;
    if (bits == 0 || bits > 32) return true;  // JPEG or PNG inside, or nonsense: the decoder says
    if (compression == 0 || compression == 3 || compression == 6) {
        const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
        if (offset > size || stride * rows > uint64_t(size) - offset) return false;
    }
    return true;
}

// GIF: the logical screen and every frame within bounds, and every frame with a colour table
// (its own or the global one). The data sub-blocks are skipped, not decoded.
bool PlausibleGif(const uint8_t* d, size_t size) {
    if (size < 13) return false;
    if (!SizeFits(Le16(d + 6) ? Le16(d + 6) : 1, Le16(d + 8) ? Le16(d + 8) : 1)) return false;
    const bool globalTable = (d[10] & 0x80) != 0;
    size_t at = 13;
    if (globalTable) at += size_t(3) << ((d[10] & 7) + 1);
    // Skips a run of data sub-blocks; false when it runs past the end.
    auto skipSubBlocks = [&](size_t& pos) {
        while (pos < size) {
            const uint8_t n = d[pos++];
            if (n == 0) return true;
            pos += n;
        }
        return false;
    };
    while (at < size) {
        const uint8_t kind = d[at++];
        if (kind == 0x3B) return true;  // trailer
        if (kind == 0x21) {             // extension: label, sub-blocks
            if (at >= size) return true;
            ++at;
            if (!skipSubBlocks(at)) return true;  // cut short: the decoder decides
        } else if (kind == 0x2C) {                // image descriptor
            if (size - at < 9) return true;
            const uint32_t w = Le16(d + at + 4), h = Le16(d + at + 6);
            const uint8_t packed = d[at + 8];
            at += 9;
            if (w > 0 && h > 0 && !SizeFits(w, h)) return false;
            const bool localTable = (packed & 0x80) != 0;
            if (!localTable && !globalTable) return false;
            if (localTable) at += size_t(3) << ((packed & 7) + 1);
            if (at >= size) return true;
            ++at;  // LZW minimum code size
            if (!skipSubBlocks(at)) return true;
        } else {
            return true;  // not a block we know: the decoder decides
        }
    }
    return true;
}

// PNG: the header chunk's sizes within bounds.
bool PlausiblePng(const uint8_t* d, size_t size) {
    if (size < 24) return false;
    return SizeFits(Be32(d + 16), Be32(d + 20));
}

}  // namespace

bool PlausibleImageFile(const uint8_t* data, size_t size) {
    if (!data) return false;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return PlausibleBmp(data, size);
    if (size >= 6 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F') return PlausibleGif(data, size);
    static const uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 8) {
        bool png = true;
        for (int i = 0; i < 8; ++i) png = png && data[i] == pngSignature[i];
        if (png) return PlausiblePng(data, size);
    }
    return true;
}
