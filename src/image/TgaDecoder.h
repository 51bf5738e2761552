// TGA file reader, free of Windows: turns a TGA file image in memory into pixel words.
//
// Read: true colour, uncompressed (type 2) or run-length encoded (type 10), 24 or 32 bits a
// pixel, with or without an image ID, rows stored bottom first or top first. Refused: colour
// maps, grey and 16-bit pictures, interleaved rows, files that end before their pixels do and
// run packets that run past the last pixel.
//
// Output: width * height pixels, top row first, each 4 bytes blue, green, red, alpha (read as a
// little-endian 32-bit word: alpha << 24 | red << 16 | green << 8 | blue). 24-bit files get
// alpha 255.
#pragma once
#include <cstddef>
#include <cstdint>

// Header offsets and the layouts we read.
enum {
    kTgaHeaderSize = 18,
    kTgaTypeTrueColour = 2,
    kTgaTypeTrueColourRle = 10,
};

struct TgaInfo {
    uint32_t width;
    uint32_t height;
    unsigned bytesPerPixel;  // 3 or 4
    bool rle;
    bool topRowFirst;    // descriptor bit 5
    bool rightToLeft;    // descriptor bit 4
    size_t pixelOffset;  // where the pixel data starts (after header and image ID)
};

// Checks the header of the file image and that the file is long enough to hold the pixels it
// announces (for run-length data: long enough for the fewest packets that could). False for any
// layout we do not read. Touches no pixels.
bool ReadTgaInfo(const uint8_t* data, size_t size, TgaInfo& info);

// Pixel count of the picture, 0 for an empty one. Never overflows (at most 65535 * 65535).
inline uint64_t TgaPixelCount(const TgaInfo& info) { return uint64_t(info.width) * info.height; }

// Decodes the pixel data described by info (from ReadTgaInfo on the same bytes) into out, which
// holds 4 * width * height bytes. False when the data ends early or a run packet overruns the
// picture; out may then be partly written, never beyond its size.
bool DecodeTgaPixels(const uint8_t* data, size_t size, const TgaInfo& info, uint8_t* out);
