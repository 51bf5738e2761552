// libFuzzer target: the plausibility check that BMP, GIF and PNG file images pass before a system
// decoder sees them. Any bytes must give an answer without reading outside the file image.
#include <cstdint>

#include "image/ImageFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PlausibleImageFile(data, size);
    return 0;
}
