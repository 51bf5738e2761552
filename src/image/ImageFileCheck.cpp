#include "image/ImageFileCheck.h"

namespace {

uint32_t Le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }
uint32_t Be16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t Be32(const uint8_t* p) { return Be16(p) << 16 | Be16(p + 2); }

// Sizes of one picture: an area of at most kMaxPicturePixels pixels.
ImageFileVerdict SizeVerdict(uint64_t width, uint64_t height) {
    if (width == 0 || height == 0) return kImageFileImpossible;
    return width * height > kMaxPicturePixels ? kImageFileTooLarge : kImageFileDecode;
}

// BMP: sizes within bounds, and uncompressed rows (BI_RGB, BI_BITFIELDS, BI_ALPHABITFIELDS) inside
// the file; compressed data is the decoder's to check, the size limit still holds (a few bytes of
// run-length data can declare any size).
ImageFileVerdict CheckBmp(const uint8_t* d, size_t size) {
    if (size < 26) return kImageFileImpossible;
    const uint32_t offset = Le32(d + 10);
    const uint32_t headerSize = Le32(d + 14);
    int64_t width, height;
    uint32_t bits, compression = 0;
    if (headerSize == 12) {  // the old core header: 16-bit unsigned sizes
        width = Le16(d + 18);
        height = Le16(d + 20);
        bits = Le16(d + 24);
    } else {
        if (headerSize < 40 || size < 14 + 40) return kImageFileImpossible;
        width = int32_t(Le32(d + 18));
        height = int32_t(Le32(d + 22));
        bits = Le16(d + 28);
        compression = Le32(d + 30);
    }
    if (width <= 0 || height == 0) return kImageFileImpossible;
    const uint64_t rows = uint64_t(height < 0 ? -height : height);
    const ImageFileVerdict sized = SizeVerdict(uint64_t(width), rows);
    if (sized != kImageFileDecode) return sized;
    if (bits == 0 || bits > 32) return kImageFileDecode;  // JPEG or PNG inside, or nonsense: the decoder says
    if (compression == 0 || compression == 3 || compression == 6) {
        const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
        if (offset > size || stride * rows > uint64_t(size) - offset) return kImageFileImpossible;
    }
    return kImageFileDecode;
}

// Walks a GIF's blocks. For each image descriptor, frame(width, height, hasLocalTable) is called;
// it returns false to stop the walk. True when every block was walked (up to the trailer or the end
// of the data); false when the walk stopped early: cut short inside a block, an unknown block, or
// stopped by frame.
template <class Frame>
bool WalkGifFrames(const uint8_t* d, size_t size, Frame frame) {
    if (size < 13) return false;
    size_t at = 13;
    if (d[10] & 0x80) at += size_t(3) << ((d[10] & 7) + 1);
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
            if (at >= size) return false;
            ++at;
            if (!skipSubBlocks(at)) return false;
        } else if (kind == 0x2C) {  // image descriptor
            if (size - at < 9) return false;
            const uint8_t packed = d[at + 8];
            const bool localTable = (packed & 0x80) != 0;
            if (!frame(Le16(d + at + 4), Le16(d + at + 6), localTable)) return false;
            at += 9;
            if (localTable) at += size_t(3) << ((packed & 7) + 1);
            if (at >= size) return false;
            ++at;  // LZW minimum code size
            if (!skipSubBlocks(at)) return false;
        } else {
            return false;  // a block we do not know
        }
    }
    return true;
}

// GIF: the logical screen and every frame within the size limit. An empty frame is left to the
// decoder; the data sub-blocks are skipped, not decoded.
ImageFileVerdict CheckGif(const uint8_t* d, size_t size) {
    if (size < 13) return kImageFileImpossible;
    const uint32_t screenWidth = Le16(d + 6), screenHeight = Le16(d + 8);
    if (SizeVerdict(screenWidth ? screenWidth : 1, screenHeight ? screenHeight : 1) == kImageFileTooLarge)
        return kImageFileTooLarge;
    ImageFileVerdict verdict = kImageFileDecode;
    WalkGifFrames(d, size, [&](uint32_t w, uint32_t h, bool) {
        if (w > 0 && h > 0 && SizeVerdict(w, h) == kImageFileTooLarge) verdict = kImageFileTooLarge;
        return verdict == kImageFileDecode;
    });
    return verdict;
}

// PNG: the header chunk's sizes within bounds.
ImageFileVerdict CheckPng(const uint8_t* d, size_t size) {
    if (size < 24) return kImageFileImpossible;
    return SizeVerdict(Be32(d + 16), Be32(d + 20));
}

// JPEG: every frame header (SOF0 to SOF15, not DHT, JPG or DAC) before the first scan within the
// size limit. A height of 0 (given later by a DNL marker) is left to the decoder.
ImageFileVerdict CheckJpeg(const uint8_t* d, size_t size) {
    size_t at = 2;
    while (at + 4 <= size) {
        if (d[at] != 0xFF) return kImageFileDecode;  // not a marker: the decoder judges
        const uint8_t marker = d[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // no length
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return kImageFileDecode;  // end of image, start of scan
        const uint32_t length = Be16(d + at + 2);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && length >= 7 && at + 9 <= size) {
            const uint32_t height = Be16(d + at + 5), width = Be16(d + at + 7);
            if (width == 0) return kImageFileImpossible;
            if (height > 0 && SizeVerdict(width, height) == kImageFileTooLarge) return kImageFileTooLarge;
        }
        if (length < 2) return kImageFileDecode;
        at += 2 + size_t(length);
    }
    return kImageFileDecode;
}

bool IsPng(const uint8_t* d, size_t size) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size < 8) return false;
    for (int i = 0; i < 8; ++i)
        if (d[i] != signature[i]) return false;
    return true;
}

bool IsGif(const uint8_t* d, size_t size) { return size >= 6 && d[0] == 'G' && d[1] == 'I' && d[2] == 'F'; }

}  // namespace

ImageFileVerdict CheckImageFile(const uint8_t* data, size_t size) {
    if (!data) return kImageFileImpossible;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return CheckBmp(data, size);
    if (IsGif(data, size)) return CheckGif(data, size);
    if (IsPng(data, size)) return CheckPng(data, size);
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return CheckJpeg(data, size);
    return kImageFileDecode;
}

bool AddGifGrayTable(const uint8_t* data, size_t size, std::vector<uint8_t>* out) {
    if (!data || !out || !IsGif(data, size) || size < 13 || (data[10] & 0x80)) return false;
    // A damaged file whose frames cannot all be seen gets the table too: a decoder may find a
    // tableless frame where the walk stopped, and a global table changes no frame that has its own.
    bool tableless = false;
    const bool walked = WalkGifFrames(data, size, [&](uint32_t, uint32_t, bool localTable) {
        tableless = tableless || !localTable;
        return true;
    });
    if (walked && !tableless) return false;
    // The logical screen descriptor gains the global-table flag and a table of 2^(7+1) entries.
    std::vector<uint8_t> file;
    file.reserve(size + 768);
    file.insert(file.end(), data, data + 13);
    file[10] = uint8_t(file[10] | 0x80 | 0x07);
    for (int i = 0; i < 256; ++i) file.insert(file.end(), 3, uint8_t(i));
    file.insert(file.end(), data + 13, data + size);
    out->swap(file);
    return true;
}
