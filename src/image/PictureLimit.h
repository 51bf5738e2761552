// The one size limit for every picture the library decodes (TGA, BMP, PNG, GIF, JPEG, each frame of
// a GIF): at most 2^27 pixels, 512 MB as 32-bit words. A file declaring more is refused from its
// header, before anything is decoded or allocated, so a small file cannot demand gigabytes.
#pragma once
#include <cstdint>

const uint64_t kMaxPicturePixels = uint64_t(1) << 27;
