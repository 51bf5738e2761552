// Loading a large TGA picture from memory (decoding and preparing it for blits), in milliseconds.
#include "Bench.h"

void RunLoadBenchmarks() {
    const int side = 4096;
    const struct {
        const char* name;
        Picture picture;
    } pictures[] = {{"sprite tiles", SpritePicture(side, side, 64)},
                    {"random alpha", NoisePicture(side, side)},
                    {"opaque ground", GroundPicture(side, side)}};
    for (const auto& p : pictures) {
        const std::vector<uint8_t> file = TgaFileOf(p.picture);
        const double seconds = MedianSecondsPerCall([&] {
            CVorTga tga;
            tga.InitFromMemory(file.data(), file.size());
        }, 5);
        Report("load 4096x4096 TGA", p.name, seconds * 1e3, "ms");
    }
}
