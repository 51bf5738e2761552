// bench_vorimage: our blitters against GDI and GDI+ on the same pictures, and a sprite scene.
// Prints CSV lines "group,name,value,unit" to stdout; scripts/bench.sh turns them into a table.
#include <cstdio>
#include <cstring>

#include "Bench.h"

int main(int argc, char** argv) {
    // One part by name (blit, scene, cost, load), or all of them.
    auto wanted = [&](const char* part) { return argc < 2 || std::strcmp(argv[1], part) == 0; };
    CVorGraphics init;
    init.GdiInit();
    std::printf("group,name,value,unit\n");
    if (wanted("blit")) RunBlitBenchmarks();
    if (wanted("scene")) RunSceneBenchmarks();
    if (wanted("cost")) RunCostBenchmarks();
    if (wanted("load")) RunLoadBenchmarks();
    return 0;
}
