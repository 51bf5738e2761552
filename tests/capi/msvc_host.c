/* msvc_host: a host in the Visual C++ ABI (clang --target=*-pc-windows-msvc, linked by lld-link),
 * built from Debian packages alone. Those hold no Visual C++ runtime and no Windows SDK, so the
 * program has no C runtime: it declares the three KERNEL32 calls it makes and starts at its own
 * entry point. It draws a sprite frame through the C interface and checks the pixels. */
#include "VorImage4C.h"

__declspec(dllimport) void __stdcall ExitProcess(unsigned int code);
__declspec(dllimport) void* __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(void* file, const void* bytes, unsigned long count,
                                              unsigned long* written, void* overlapped);

static void Say(const char* text) {
    unsigned long n = 0, written = 0;
    while (text[n]) ++n;
    WriteFile(GetStdHandle((unsigned long)-11), text, n, &written, 0);
}

/* A 2 x 1 TGA file image: a red pixel of alpha 255, a blue one of alpha 128. */
static const unsigned char kTga[18 + 8] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 32, 8,
                                           0, 0, 255, 255, 255, 0, 0, 128};

void __cdecl HostStart(void) {
    int failures = 0;
    unsigned rgb = 0;
    VorSurface* surface = vor_surface_create(16, 8);
    VorTga* tga = vor_tga_load_memory(kTga, sizeof kTga);
    VorColor* ground = vor_color_create(0, 100, 0);
    VorSprite* back = vor_sprite_create();
    VorSprite* dot = vor_sprite_create();
    vor_sprite_set_color(back, ground);
    vor_sprite_set_tga(dot, tga);
    vor_surface_begin_frame(surface);
    vor_surface_add_at(surface, back, 0, 0, 15, 7, 0, 0, 255);
    vor_surface_add_xy(surface, dot, 4, 3, 255);
    if (vor_surface_draw_frame(surface, 0) != VOR_OK) ++failures;
    vor_surface_get_pixel(surface, 4, 3, &rgb);
    if (rgb != 0xFF0000u) ++failures; /* alpha 255 copies */
    vor_surface_get_pixel(surface, 5, 3, &rgb);
    if (rgb != 0x00327Fu) ++failures; /* 128: green 100 -> 50, blue 0 -> 127 (d + (s - d) * a / 256) */
    vor_surface_get_pixel(surface, 0, 0, &rgb);
    if (rgb != 0x006400u) ++failures;
    if (vor_draw_tga(0, tga, 0, 0) != VOR_E_NULL_HANDLE) ++failures;
    vor_surface_clear_sprites(surface);
    vor_sprite_destroy(dot);
    vor_sprite_destroy(back);
    vor_color_destroy(ground);
    vor_tga_destroy(tga);
    vor_surface_destroy(surface);
    Say(failures ? "msvc_host: FAILED\n" : "msvc_host: sprite frame drawn, pixels as expected\n");
    ExitProcess(failures ? 1u : 0u);
}
