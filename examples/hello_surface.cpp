// hello_surface: the smallest VorImage4 host. A window, a back buffer, one TGA picture drawn with
// its alpha over a filled background, presented once.
//
//   hello_surface.exe [picture.tga]     (without an argument it writes and draws its own picture)
#include <cstdio>
#include <vector>

#include "VorImage4.h"

// A 64 x 64 TGA with a soft round alpha edge, so the example needs no files of its own.
static bool WriteSamplePicture(const char* path) {
    const int size = 64;
    unsigned char header[18] = {0, 0, 2};
    header[12] = size;
    header[14] = size;
    header[16] = 32;       // bits per pixel
    header[17] = 8 | 32;   // 8 alpha bits, top row first
    std::vector<unsigned char> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int dx = x - size / 2, dy = y - size / 2, d2 = dx * dx + dy * dy;
            const int alpha = d2 < 24 * 24 ? 255 : d2 > 31 * 31 ? 0 : 255 - (d2 - 24 * 24) * 255 / (31 * 31 - 24 * 24);
            const unsigned char bgra[4] = {40, (unsigned char)(120 + y), 230, (unsigned char)alpha};
            pixels.insert(pixels.end(), bgra, bgra + 4);
        }
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    std::fwrite(header, 1, sizeof header, f);
    std::fwrite(pixels.data(), 1, pixels.size(), f);
    std::fclose(f);
    return true;
}

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "hello_sample.tga";
    if (argc <= 1 && !WriteSamplePicture(path)) return 1;

    // 1. A window of the host's own.
    HWND hwnd = ::CreateWindowA("STATIC", "hello surface", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240,
                                nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    CWnd wnd(hwnd);
    CClientDC dc(&wnd);

    // 2. The surface: GDI+ once, a back buffer, bound to the window's DC.
    CVorGraphics surface;
    surface.GdiInit();
    if (!surface.Init(320, 240)) return 1;
    surface.InitGraphics(&dc);

    // 3. Draw: a background fill, then the picture blended with its own alpha.
    CVorTga picture;
    if (!picture.Init(path)) {
        std::printf("could not load %s\n", path);
        return 1;
    }
    surface.FillRectangle(0, 0, 320, 240, 30, 30, 60);
    surface.Draw(&picture, 128, 88);

    // 4. Present: mark the area dirty and copy it to the window.
    surface.GetZang().AddRect(CVorRect(0, 0, 320, 240));
    surface.DrawDC();

    const BYTE* centre = surface.GetPixels() + 120 * surface.GetStride() + 3 * 160;
    std::printf("hello_surface: drew %lux%lu picture; centre pixel b=%d g=%d r=%d\n", picture.GetWidth(),
                picture.GetHeight(), centre[0], centre[1], centre[2]);
    ::DestroyWindow(hwnd);
    return 0;
}
