// libFuzzer target: the check that BMP, GIF, PNG and JPEG file images pass before a system decoder
// sees them, and the gray-table repair of GIFs without a colour table. Any bytes must give an
// answer without reading outside the file image, and so must the check of a repaired GIF.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "image/ImageFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckImageFile(data, size);
    std::vector<uint8_t> repaired;
    if (AddGifGrayTable(data, size, &repaired)) {
        // The repair only inserts a table: it can make nothing larger than a frame the file declares.
        if (repaired.size() < size) std::abort();
        CheckImageFile(repaired.data(), repaired.size());
    }
    return 0;
}
