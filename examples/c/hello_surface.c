/* hello_surface (C): the smallest VorImage4 host through the C interface. A window, a back buffer,
 * one TGA picture drawn with its alpha over a filled background, presented once.
 *
 *   hello_surface_c.exe [picture.tga]     (without an argument it writes and draws its own picture) */
#include <stdio.h>
#include <windows.h>

#include "VorImage4C.h"

/* A 64 x 64 TGA with a soft round alpha edge, so the example needs no files of its own. */
static int WriteSamplePicture(const char* path) {
    unsigned char header[18] = {0, 0, 2};
    int x, y;
    FILE* f = fopen(path, "wb");
    if (!f) return 0;
    header[12] = 64;
    header[14] = 64;
    header[16] = 32;     /* bits per pixel */
    header[17] = 8 | 32; /* 8 alpha bits, top row first */
    fwrite(header, 1, sizeof header, f);
    for (y = 0; y < 64; ++y)
        for (x = 0; x < 64; ++x) {
            const int dx = x - 32, dy = y - 32, d2 = dx * dx + dy * dy;
            const int alpha = d2 < 24 * 24 ? 255 : d2 > 31 * 31 ? 0 : 255 - (d2 - 24 * 24) * 255 / (31 * 31 - 24 * 24);
            const unsigned char bgra[4] = {40, (unsigned char)(120 + y), 230, (unsigned char)alpha};
            fwrite(bgra, 1, 4, f);
        }
    return fclose(f) == 0;
}

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "hello_sample_c.tga";
    HWND hwnd;
    VorSurface* surface;
    VorTga* picture;
    unsigned int centre = 0;
    if (argc <= 1 && !WriteSamplePicture(path)) return 1;

    /* 1. A window of the host's own. */
    hwnd = CreateWindowA("STATIC", "hello surface (C)", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240, NULL, NULL,
                         GetModuleHandleA(NULL), NULL);

    /* 2. The surface: a back buffer, bound to the window (GDI+ starts by itself). */
    surface = vor_surface_create(320, 240);
    if (!surface || vor_surface_bind_window(surface, hwnd) != VOR_OK) {
        printf("no surface: %s\n", vor_status_text(vor_last_status()));
        return 1;
    }

    /* 3. Draw: a background fill, then the picture blended with its own alpha. */
    picture = vor_tga_load_file(path);
    if (!picture) {
        printf("could not load %s: %s\n", path, vor_status_text(vor_last_status()));
        return 1;
    }
    vor_fill_rect(surface, 0, 0, 320, 240, 30, 30, 60);
    vor_draw_tga(surface, picture, 128, 88);

    /* 4. Present: mark the area dirty and copy it to the window. */
    vor_surface_add_dirty(surface, 0, 0, 320, 240);
    vor_surface_present(surface);

    vor_surface_get_pixel(surface, 160, 120, &centre);
    printf("hello_surface: drew %dx%d picture; centre pixel b=%u g=%u r=%u\n", vor_tga_width(picture),
           vor_tga_height(picture), centre & 0xFF, centre >> 8 & 0xFF, centre >> 16);
    vor_tga_destroy(picture);
    vor_surface_destroy(surface);
    DestroyWindow(hwnd);
    return 0;
}
