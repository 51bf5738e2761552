// bench_vorimage: our blitters against GDI and GDI+ on the same pictures, and a sprite scene.
// Prints CSV lines "group,name,value,unit" to stdout; scripts/bench.sh turns them into a table.
#include <cstdio>
#include <cstring>

#include "Bench.h"

int main(int argc, char** argv) {
    const bool blit = argc < 2 || std::strcmp(argv[1], "scene") != 0;
    const bool scene = argc < 2 || std::strcmp(argv[1], "blit") != 0;
    CVorGraphics init;
    init.GdiInit();
    std::printf("group,name,value,unit\n");
    if (blit) RunBlitBenchmarks();
    if (scene) RunSceneBenchmarks();
    return 0;
}
