// libFuzzer target: the TGA reader on any bytes. A file the header check accepts is decoded into
// a buffer of exactly its pixel count, so AddressSanitizer sees any write past the picture.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "image/PictureLimit.h"
#include "image/TgaDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TgaInfo info;
    if (!ReadTgaInfo(data, size, info)) return 0;
    const uint64_t count = TgaPixelCount(info);
    if (count > kMaxPicturePixels || info.pixelOffset > size) std::abort();  // the header check let it through
    std::vector<uint8_t> pixels(size_t(count) * 4);
    if (!DecodeTgaPixels(data, size, info, pixels.data())) return 0;
    // A decoded picture decodes the same again: nothing depends on what the buffer held before.
    std::vector<uint8_t> again(pixels.size(), 0xA5);
    if (!DecodeTgaPixels(data, size, info, again.data()) || again != pixels) std::abort();
    return 0;
}
