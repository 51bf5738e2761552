// TGA file reader, free of Windows: turns a TGA file image in memory into pixel words.
//
// Read, uncompressed or run-length encoded, rows stored bottom first or top first, left to right
// or right to left, with or without an image ID:
//   - true colour (types 2, 10): 24 and 32 bits, and 15/16 bits (5-5-5; with 16 bits the top bit
//     is alpha when the descriptor gives 1 alpha bit, else the pixel is opaque);
//   - grey (types 3, 11): 8 bits (opaque) and 16 bits (grey, then alpha);
//   - colour-mapped (types 1, 9): 8- or 16-bit indices into a map of 15/16-, 24- or 32-bit
//     entries (15/16-bit entries are opaque); index i is entry i - first entry index.
// 5-bit channels widen to v * 255 / 31, rounded down (the bytes Pillow and stb_image give).
// Refused: other types (Huffman 32, 33 among them), a map on a picture without indices,
// interleaved rows, pictures over kMaxPicturePixels, files that end before their pixels do, run
// packets that run past the last pixel, and colour-map indices outside the map.
//
// Output: width * height pixels, top row first, each 4 bytes blue, green, red, alpha (read as a
// little-endian 32-bit word: alpha << 24 | red << 16 | green << 8 | blue). Layouts without alpha
// get alpha 255.
#pragma once
#include <cstddef>
#include <cstdint>

// Header offsets and the layouts we read.
enum {
    kTgaHeaderSize = 18,
    kTgaTypeColourMapped = 1,
    kTgaTypeTrueColour = 2,
    kTgaTypeGrey = 3,
    kTgaTypeRleFlag = 8,  // types 9, 10, 11: the same, run-length encoded
    kTgaTypeTrueColourRle = kTgaTypeTrueColour | kTgaTypeRleFlag,
};

struct TgaInfo {
    uint32_t width;
    uint32_t height;
    unsigned imageType;      // kTgaTypeColourMapped, kTgaTypeTrueColour or kTgaTypeGrey
    unsigned pixelBits;      // header depth: 8, 15, 16, 24 or 32
    unsigned bytesPerPixel;  // file bytes per pixel (or per colour-map index): 1 to 4
    bool alphaBit;           // 16-bit true colour: the top bit is alpha
    bool rle;
    bool topRowFirst;    // descriptor bit 5
    bool rightToLeft;    // descriptor bit 4
    size_t pixelOffset;  // where the pixel data starts (after header, image ID and colour map)
    // Colour-mapped files only: the map's place in the file and its entries.
    size_t mapOffset;
    unsigned mapFirst;  // the index of the map's first entry
    unsigned mapLength;
    unsigned mapEntryBits;  // 15, 16, 24 or 32
};

// Checks the header of the file image and that the file is long enough to hold the colour map
// and the pixels it announces (for run-length data: long enough for the fewest packets that
// could). False for any layout we do not read and for pictures over the picture-size limit.
// Touches no pixels.
bool ReadTgaInfo(const uint8_t* data, size_t size, TgaInfo& info);

// Pixel count of the picture, 0 for an empty one. Never overflows (at most 65535 * 65535).
inline uint64_t TgaPixelCount(const TgaInfo& info) { return uint64_t(info.width) * info.height; }

// Decodes the pixel data described by info (from ReadTgaInfo on the same bytes) into out, which
// holds 4 * width * height bytes. False when the data ends early, a run packet overruns the
// picture or an index lies outside the colour map; out may then be partly written, never beyond
// its size.
bool DecodeTgaPixels(const uint8_t* data, size_t size, const TgaInfo& info, uint8_t* out);
