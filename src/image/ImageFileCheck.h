// A check of BMP, GIF, PNG and JPEG file images before a system decoder sees them, and the one
// repair made in memory. Decoders have crashed or spent seconds and gigabytes on files whose headers
// promise more than any real picture has (pixel counts past the picture-size limit, BMP rows that run
// far past the end of the file); such files are refused here, from their headers, without decoding
// or allocating. GIF frames without any colour table are valid (a decoder may use a table of its
// own) but crash some decoders: such a file is given a gray table instead. Files of other kinds, and
// every file that passes, go to the decoder unchanged. Free of Windows so it is tested natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/PictureLimit.h"

enum ImageFileVerdict {
    kImageFileDecode,     // let the decoder see it
    kImageFileTooLarge,   // a picture (or a GIF frame) declares more than kMaxPicturePixels pixels
    kImageFileImpossible  // a header no sound file has (no area, rows past the end, cut short)
};

// What to do with a file image (BMP, GIF, PNG and JPEG are judged; other kinds pass).
ImageFileVerdict CheckImageFile(const uint8_t* data, size_t size);

// A GIF in which some frame has neither a global nor a local colour table: *out becomes the same
// file with a 256-entry global table inserted in which index i is gray level i (frames with a
// table of their own keep it). False, and *out untouched, for every other file.
bool AddGifGrayTable(const uint8_t* data, size_t size, std::vector<uint8_t>* out);
