// libFuzzer target: the TGA reader on any bytes. A file the header check accepts is decoded into
// a buffer of exactly its pixel count, so AddressSanitizer sees any write past the picture; the
// runs prepared for its blits must then describe its rows exactly.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "image/PictureLimit.h"
#include "image/TgaDecoder.h"
#include "image/TgaRuns.h"

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

    TgaRunTable table;
    if (!BuildTgaRuns(pixels.data(), info.width, info.height, table)) return 0;
    for (uint32_t r = 0; r < info.height; ++r) {
        uint32_t x = 0;
        for (uint32_t i = table.rowStart[r]; i < table.rowStart[r + 1]; ++i) {
            const TgaRun& run = table.runs[i];
            if (run.end <= x || run.end > info.width) std::abort();
            for (const uint32_t start = x; x < run.end; ++x) {
                const uint8_t* p = &pixels[(size_t(r) * info.width + x) * 4];
                if (run.kind == TgaRunKind::Transparent && p[3] != 0) std::abort();
                if (run.kind == TgaRunKind::Opaque) {
                    const size_t at = run.packed + size_t(x - start) * 3;
                    if (p[3] != 255 || at + 3 > table.opaqueBgr.size()) std::abort();
                    if (table.opaqueBgr[at] != p[0] || table.opaqueBgr[at + 1] != p[1] ||
                        table.opaqueBgr[at + 2] != p[2])
                        std::abort();
                }
            }
        }
        if (x != info.width) std::abort();
    }
    return 0;
}
