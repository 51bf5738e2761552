// VorDemo - a host program for VorImage4: a real window, a surface bound to it, and scenes that
// draw into it and save screenshots of the window.
//
//   VorDemo.exe [--scene NAME|all] [--sprites N] [--frames N] [--out DIR]
//               [--interactive SECONDS] [--log FILE]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "DemoHost.h"

int RunDemoScenes(DemoHost& host, const std::string& which);

int main(int argc, char** argv) {
    DemoOptions options;
    std::string scene = "all";
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--out") == 0 && hasValue) options.outDir = argv[++i];
        else if (std::strcmp(argv[i], "--scene") == 0 && hasValue) scene = argv[++i];
        else if (std::strcmp(argv[i], "--sprites") == 0 && hasValue) options.sprites = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--frames") == 0 && hasValue) options.frames = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--interactive") == 0 && hasValue) options.interactiveSeconds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--log") == 0 && hasValue) options.logPath = argv[++i];
        else {
            std::printf("usage: VorDemo [--scene NAME|all] [--sprites N] [--frames N] [--out DIR]"
                        " [--interactive SECONDS] [--log FILE]\n");
            return 2;
        }
    }
    DemoHost host(800, 600, options);
    return RunDemoScenes(host, scene) == 0 ? 0 : 1;
}
