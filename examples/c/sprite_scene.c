/* sprite_scene (C): a frame loop composed by dirty rectangles, through the C interface. A ground
 * picture and 20 moving alpha-blended balls; each frame only the rectangles that changed are
 * redrawn and presented.
 *
 *   sprite_scene_c.exe [frames] */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include "VorImage4C.h"

#define W 640
#define H 480
#define BALLS 20

/* A 32-bit TGA file image (bottom row first) in memory; colour(x, y) gives 0xAARRGGBB. */
static unsigned char* MakeTga(int w, int h, unsigned (*colour)(int x, int y), size_t* size) {
    unsigned char* t = (unsigned char*)calloc(1, 18 + 4 * (size_t)w * h);
    unsigned char* p;
    int x, y;
    if (!t) return NULL;
    t[2] = 2;
    t[12] = (unsigned char)w;
    t[13] = (unsigned char)(w >> 8);
    t[14] = (unsigned char)h;
    t[15] = (unsigned char)(h >> 8);
    t[16] = 32;
    t[17] = 8;
    p = t + 18;
    for (y = h - 1; y >= 0; --y)
        for (x = 0; x < w; ++x, p += 4) {
            const unsigned argb = colour(x, y);
            p[0] = (unsigned char)argb;
            p[1] = (unsigned char)(argb >> 8);
            p[2] = (unsigned char)(argb >> 16);
            p[3] = (unsigned char)(argb >> 24);
        }
    *size = 18 + 4 * (size_t)w * h;
    return t;
}

static unsigned GroundColour(int x, int y) { return 0xFF000000u | ((x / 32 + y / 32) % 2 ? 0x304060u : 0x283850u); }

static unsigned BallColour(int x, int y) {
    const int d2 = (x - 16) * (x - 16) + (y - 16) * (y - 16);
    const unsigned a = d2 >= 256 ? 0 : 255 - d2 * 255 / 256;
    return (a << 24) | 0xF0C040u;
}

typedef struct Ball {
    VorSprite* sprite;
    int x, y, dx, dy;
} Ball;

int main(int argc, char** argv) {
    const int frames = argc > 1 ? atoi(argv[1]) : 200;
    Ball balls[BALLS];
    size_t groundSize, ballSize;
    unsigned char *groundFile = MakeTga(W, H, GroundColour, &groundSize), *ballFile = MakeTga(32, 32, BallColour, &ballSize);
    HWND hwnd = CreateWindowA("STATIC", "sprite scene (C)", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, W + 16, H + 40,
                              NULL, NULL, GetModuleHandleA(NULL), NULL);
    VorSurface* surface = vor_surface_create(W, H);
    VorTga *groundPicture, *ballPicture;
    VorSprite* ground;
    long dirtyPixels = 0;
    int i, frame, k, n;
    VorRect r;

    if (!groundFile || !ballFile || !surface || vor_surface_bind_window(surface, hwnd) != VOR_OK) return 1;
    groundPicture = vor_tga_load_memory(groundFile, groundSize);
    ballPicture = vor_tga_load_memory(ballFile, ballSize);
    if (!groundPicture || !ballPicture) return 1;
    ground = vor_sprite_create();
    vor_sprite_set_tga(ground, groundPicture);
    for (i = 0; i < BALLS; ++i) {
        balls[i].sprite = vor_sprite_create();
        vor_sprite_set_tga(balls[i].sprite, ballPicture);
        balls[i].x = i * 29 % (W - 32);
        balls[i].y = i * 53 % (H - 32);
        balls[i].dx = i % 5 + 1;
        balls[i].dy = i % 3 + 1;
    }

    for (frame = 0; frame < frames; ++frame) {
        vor_surface_begin_frame(surface);               /* a new frame: nothing added yet, no dirty area */
        vor_surface_add_xy(surface, ground, 0, 0, 255); /* back to front: the ground first */
        for (i = 0; i < BALLS; ++i) {
            Ball* b = &balls[i];
            b->x += b->dx;
            b->y += b->dy;
            if (b->x < 0 || b->x > W - 32) b->dx = -b->dx;
            if (b->y < 0 || b->y > H - 32) b->dy = -b->dy;
            vor_surface_add_xy(surface, b->sprite, b->x, b->y, 200); /* moving marks old and new place dirty */
        }
        vor_surface_draw_frame(surface, 1); /* redraw inside the dirty rectangles, present them */
        n = vor_surface_dirty_count(surface);
        for (k = 0; k < n; ++k)
            if (vor_surface_dirty_rect(surface, k, &r) == VOR_OK) dirtyPixels += (long)r.width * r.height;
    }
    printf("sprite_scene: %d frames, average dirty area %ld pixels of %d\n", frames, frames ? dirtyPixels / frames : 0,
           W * H);

    vor_surface_clear_sprites(surface);
    for (i = 0; i < BALLS; ++i) vor_sprite_destroy(balls[i].sprite);
    vor_sprite_destroy(ground);
    vor_tga_destroy(ballPicture);
    vor_tga_destroy(groundPicture);
    vor_surface_destroy(surface);
    free(groundFile);
    free(ballFile);
    DestroyWindow(hwnd);
    return 0;
}
