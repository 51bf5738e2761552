/* test_capi: drives the whole C interface from C, with pixel checks. A scene of sprites drawn
 * through the C interface must equal, byte for byte and at every blit level, the same scene drawn
 * through the C++ classes (capi_reference.dll); single pixels are checked against the blend rule
 * and the pictures' own colours; bad handles and arguments must give their status and nothing else.
 *
 *   test_capi.exe        (beside VorImage4.dll, capi_reference.dll and test_cells.dll) */
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "CApiScene.h"
#include "VorImage4C.h"

/* From capi_reference.dll (C++ classes). */
__declspec(dllimport) int __cdecl capi_reference_frames(unsigned char* out, size_t frameBytes);
__declspec(dllimport) size_t __cdecl capi_reference_gif(unsigned char* out, size_t capacity);

/* Resource ids of the test programs (tests/data/test_resource_ids.h). */
#define IDB_TEST24_5X3 101
#define IDB_CELL_0 201

static int g_checks = 0, g_failed = 0;
static long g_pixelsCompared = 0;

#define CHECK(cond) Check((cond) != 0, #cond, __LINE__)
#define CHECK_STATUS(call, status) CheckStatus((call), (status), #call, __LINE__)

static void Check(int ok, const char* what, int line) {
    ++g_checks;
    if (!ok) {
        ++g_failed;
        printf("FAILED line %d: %s (last status %d: %s)\n", line, what, vor_last_status(),
               vor_status_text(vor_last_status()));
    }
}

static void CheckStatus(int got, int want, const char* what, int line) {
    ++g_checks;
    if (got != want || vor_last_status() != want) {
        ++g_failed;
        printf("FAILED line %d: %s gave %d (last status %d), expected %d\n", line, what, got, vor_last_status(), want);
    }
}

/* The blend rule: d + floor((s - d) * a / 256); a = 255 copies, a = 0 keeps d. */
static int Blend(int s, int d, int a) {
    int t;
    if (a == 255) return s;
    if (a == 0) return d;
    t = (s - d) * a;
    return d + (t >= 0 ? t / 256 : -((-t + 255) / 256));
}

static unsigned Rgb(int r, int g, int b) { return (unsigned)r << 16 | (unsigned)g << 8 | (unsigned)b; }

static unsigned PixelAt(VorSurface* s, int x, int y) {
    unsigned rgb = 0xDEADBEEFu;
    vor_surface_get_pixel(s, x, y, &rgb);
    return rgb;
}

static const unsigned kGround = (unsigned)SCENE_GROUND_R << 16 | (unsigned)SCENE_GROUND_G << 8 | SCENE_GROUND_B;

/* ---- the scene through the C interface ---- */

typedef struct Scene {
    VorSurface* surface;
    VorTga* ball;
    VorBitmap* keyed;
    VorBitmap* plain;
    VorColor* ground;
    VorPen* pen;
    VorBrush* hatch;
    VorFont* font;
    VorSprite* sprites[SCENE_SPRITES];
} Scene;

static int MakeScene(Scene* sc) {
    static unsigned char file[18 + 4 * SCENE_BALL_W * SCENE_BALL_H];
    static unsigned char block[3 * SCENE_BLOCK_W * SCENE_BLOCK_H];
    unsigned char header[40];
    size_t fileSize = SceneBallTga(file);
    int blockSize = SceneBlock(block), k;
    SceneHeader24(header, SCENE_BLOCK_W, SCENE_BLOCK_H);
    memset(sc, 0, sizeof *sc);
    sc->surface = vor_surface_create(SCENE_W, SCENE_H);
    CHECK(sc->surface != NULL);
    CHECK_STATUS(vor_surface_bind_dc(sc->surface, NULL), VOR_OK); /* a memory DC of its own, for GDI+ */
    sc->ball = vor_tga_load_memory(file, fileSize);
    CHECK(sc->ball != NULL && vor_tga_width(sc->ball) == SCENE_BALL_W && vor_tga_height(sc->ball) == SCENE_BALL_H);
    sc->keyed = vor_bitmap_load_pixels_key(block, blockSize, header, SCENE_KEY_R, SCENE_KEY_G, SCENE_KEY_B);
    sc->plain = vor_bitmap_load_pixels(block, blockSize, header, 0);
    CHECK(sc->keyed != NULL && sc->plain != NULL && vor_bitmap_width(sc->plain) == SCENE_BLOCK_W);
    sc->ground = vor_color_create(SCENE_GROUND_R, SCENE_GROUND_G, SCENE_GROUND_B);
    sc->pen = vor_pen_create(255, 220, 0, 2.0f, VOR_DASH_DASH);
    sc->hatch = vor_brush_create_hatch(VOR_HATCH_DIAGCROSS, 0xFFFAFAFAu, 0xA0000000u);
    sc->font = vor_font_create(11, L"DejaVu Sans", VOR_FONT_BOLD);
    CHECK(sc->ground && sc->pen && sc->hatch && sc->font);
    CHECK_STATUS(vor_surface_set_font(sc->surface, sc->font), VOR_OK);
    for (k = 0; k < SCENE_SPRITES; ++k) sc->sprites[k] = vor_sprite_create();
    CHECK_STATUS(vor_sprite_set_color(sc->sprites[SCENE_GROUND], sc->ground), VOR_OK);
    CHECK_STATUS(vor_sprite_set_tga(sc->sprites[SCENE_BALL], sc->ball), VOR_OK);
    CHECK_STATUS(vor_sprite_set_tga(sc->sprites[SCENE_BALL_FADED], sc->ball), VOR_OK);
    CHECK_STATUS(vor_sprite_set_bitmap(sc->sprites[SCENE_KEYED], sc->keyed), VOR_OK);
    CHECK_STATUS(vor_sprite_set_bitmap(sc->sprites[SCENE_BLEND], sc->plain), VOR_OK);
    CHECK_STATUS(vor_sprite_set_pen(sc->sprites[SCENE_PEN], sc->pen, 1), VOR_OK);
    CHECK_STATUS(vor_sprite_set_brush(sc->sprites[SCENE_HATCH], sc->hatch), VOR_OK);
    return sc->surface != NULL;
}

static void DrawSceneFrame(Scene* sc, int f) {
    int k;
    ScenePlace p;
    CHECK_STATUS(vor_surface_begin_frame(sc->surface), VOR_OK);
    for (k = 0; k < SCENE_SPRITES; ++k) {
        if (!sc->sprites[k] || !SceneSpriteAt(k, f, &p)) continue; /* the lifetime test destroys one */
        if (k == SCENE_TEXT)
            CHECK_STATUS(vor_surface_add_text(sc->surface, sc->sprites[k], p.x, p.y, p.width, p.height, SCENE_LABEL,
                                              0xFFFFFFFFu, VOR_ALIGN_CENTER),
                         VOR_OK);
        else
            CHECK_STATUS(vor_surface_add_at(sc->surface, sc->sprites[k], p.x, p.y, p.width, p.height, p.srcX, p.srcY,
                                            (unsigned char)p.alpha),
                         VOR_OK);
    }
    CHECK_STATUS(vor_surface_draw_frame(sc->surface, 0), VOR_OK);
}

static void FreeScene(Scene* sc) {
    int k;
    vor_surface_clear_sprites(sc->surface);
    for (k = 0; k < SCENE_SPRITES; ++k) vor_sprite_destroy(sc->sprites[k]);
    vor_font_destroy(sc->font);
    vor_brush_destroy(sc->hatch);
    vor_pen_destroy(sc->pen);
    vor_color_destroy(sc->ground);
    vor_bitmap_destroy(sc->plain);
    vor_bitmap_destroy(sc->keyed);
    vor_tga_destroy(sc->ball);
    vor_surface_destroy(sc->surface);
}

/* Frame 0's single pixels against the pictures and the blend rule. */
static void CheckFramePixels(Scene* sc) {
    unsigned char ball[4], block[3];
    int x = 3, y = 4, c;
    int channel[3];
    CHECK(PixelAt(sc->surface, SCENE_W - 2, 30) == kGround);
    /* the ball (alpha 255 sprite) over the ground at (5, 9): each pixel's own alpha */
    for (x = 0; x < 4; ++x) {
        SceneBallPixel(x, y, ball);
        channel[0] = Blend(ball[2], SCENE_GROUND_R, ball[3]);
        channel[1] = Blend(ball[1], SCENE_GROUND_G, ball[3]);
        channel[2] = Blend(ball[0], SCENE_GROUND_B, ball[3]);
        CHECK(PixelAt(sc->surface, 5 + x, 9 + y) == Rgb(channel[0], channel[1], channel[2]));
    }
    /* the keyed block at (40, 5): key columns show the ground, the others the block's colour */
    for (x = 0; x < SCENE_BLOCK_W; ++x) {
        SceneBlockPixel(x, block);
        c = x % 5 == 0 ? (int)kGround : (int)Rgb(block[2], block[1], block[0]);
        CHECK(PixelAt(sc->surface, 40 + x, 5 + 6) == (unsigned)c);
    }
}

static void TestSceneEqualsClasses(void) {
    const size_t frameBytes = 3 * SCENE_W * SCENE_H;
    unsigned char* reference = (unsigned char*)malloc(SCENE_FRAMES * frameBytes);
    unsigned char* mine = (unsigned char*)malloc(frameBytes);
    int level, best = vor_best_blit_level(), f, levels = 0, differing = 0;
    Scene sc;
    CHECK(reference && mine);
    if (!reference || !mine) return;
    CHECK_STATUS(vor_set_blit_level(VOR_BLITLEVEL_SCALAR), VOR_OK);
    CHECK(capi_reference_frames(reference, frameBytes) == 1);
    for (level = VOR_BLITLEVEL_SCALAR; level <= best; ++level, ++levels) {
        CHECK_STATUS(vor_set_blit_level(level), VOR_OK);
        if (!MakeScene(&sc)) break;
        for (f = 0; f < SCENE_FRAMES; ++f) {
            DrawSceneFrame(&sc, f);
            if (f == 0) CheckFramePixels(&sc);
            CHECK_STATUS(vor_surface_read(sc.surface, mine, frameBytes, 3 * SCENE_W), VOR_OK);
            if (memcmp(mine, reference + f * frameBytes, frameBytes) != 0) {
                size_t i = 0;
                while (mine[i] == reference[f * frameBytes + i]) ++i;
                printf("level %d frame %d differs from the C++ classes' frame first at pixel (%d, %d)\n", level, f,
                       (int)(i / 3 % SCENE_W), (int)(i / 3 / SCENE_W));
                CHECK(!"frame equals the C++ classes' frame");
                ++differing;
            }
            g_pixelsCompared += SCENE_W * SCENE_H;
        }
        FreeScene(&sc);
    }
    printf("test_capi: %d frames of %d sprites at %d blit level(s), %d differ from the C++ classes' frames\n",
           SCENE_FRAMES, SCENE_SPRITES, levels, differing);
    vor_set_blit_level(best);
    free(reference);
    free(mine);
}

/* ---- lifetime rules ---- */

static void TestLifetime(void) {
    Scene sc;
    VorRect r;
    if (!MakeScene(&sc)) return;
    DrawSceneFrame(&sc, 0);
    CHECK(PixelAt(sc.surface, 5 + 1, 9 + 1) != kGround); /* the ball's opaque column */

    /* a picture freed while two listed sprites show it: the next frame draws ground there */
    vor_tga_destroy(sc.ball);
    CHECK_STATUS(vor_last_status(), VOR_OK);
    CHECK_STATUS(vor_sprite_set_tga(sc.sprites[SCENE_BALL], sc.ball), VOR_E_BAD_HANDLE);
    CHECK(vor_tga_width(sc.ball) == 0 && vor_last_status() == VOR_E_BAD_HANDLE);
    sc.ball = NULL;
    DrawSceneFrame(&sc, 0);
    CHECK(PixelAt(sc.surface, 5 + 1, 9 + 1) == kGround);

    /* a listed sprite destroyed: the list is emptied and the next frame redraws the whole surface */
    CHECK(vor_surface_sprite_count(sc.surface) == SCENE_SPRITES);
    vor_sprite_destroy(sc.sprites[SCENE_KEYED]);
    CHECK(vor_surface_sprite_count(sc.surface) == 0);
    CHECK_STATUS(vor_surface_add(sc.surface, sc.sprites[SCENE_KEYED]), VOR_E_BAD_HANDLE);
    sc.sprites[SCENE_KEYED] = NULL;
    CHECK_STATUS(vor_surface_begin_frame(sc.surface), VOR_OK);
    CHECK(vor_surface_dirty_count(sc.surface) == 1);
    CHECK_STATUS(vor_surface_dirty_rect(sc.surface, 0, &r), VOR_OK);
    CHECK(r.x == 0 && r.y == 0 && r.width == SCENE_W && r.height == SCENE_H);
    CHECK_STATUS(vor_surface_dirty_rect(sc.surface, 1, &r), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_surface_add_at(sc.surface, sc.sprites[SCENE_GROUND], 0, 0, SCENE_W - 1, SCENE_H - 1, 0, 0, 255),
                 VOR_OK);
    CHECK_STATUS(vor_surface_draw_frame(sc.surface, 0), VOR_OK);
    CHECK(PixelAt(sc.surface, 40 + 1, 5 + 6) == kGround); /* where the keyed sprite stood */

    /* the current font destroyed: text sprites after it draw nothing, nothing reads the font */
    vor_font_destroy(sc.font);
    sc.font = NULL;
    DrawSceneFrame(&sc, 1);
    CHECK_STATUS(vor_surface_add_text(sc.surface, sc.sprites[SCENE_TEXT], 0, 0, 50, 12, "x", 0xFFFFFFFFu, 0), VOR_OK);
    FreeScene(&sc);
}

/* ---- bad input: null handles, destroyed handles, bad arguments ---- */

static void TestBadInput(void) {
    VorRect r = {0, 0, 1, 1};
    unsigned rgb;
    unsigned char bytes[64];
    unsigned char header[40];
    VorSurface* s = vor_surface_create(8, 8);
    VorSprite* sp = vor_sprite_create();
    VorColor* gone = vor_color_create(1, 2, 3);
    vor_color_destroy(gone);
    CHECK_STATUS(vor_last_status(), VOR_OK);
    vor_color_destroy(gone); /* twice: reported, nothing freed again */
    CHECK_STATUS(vor_last_status(), VOR_E_BAD_HANDLE);
    vor_color_destroy(NULL);
    CHECK_STATUS(vor_last_status(), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_sprite_set_color(sp, gone), VOR_E_BAD_HANDLE);
    CHECK(vor_color_get(gone) == 0 && vor_last_status() == VOR_E_BAD_HANDLE);

    CHECK(vor_surface_create(0, 5) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_surface_create(-3, 5) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_surface_create(5, -1) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_surface_create(0x7FFFFFFF, 0x7FFFFFFF) == NULL && vor_last_status() == VOR_E_MEMORY);
    CHECK_STATUS(vor_surface_resize(s, -1, 4), VOR_E_ARGUMENT);
    CHECK(vor_surface_width(s) == 8);
    CHECK_STATUS(vor_surface_bind_dc(s, NULL), VOR_OK);
    CHECK_STATUS(vor_surface_resize(s, 21, 5), VOR_OK); /* a new back buffer, bound again */
    CHECK(vor_surface_width(s) == 21 && vor_surface_height(s) == 5 && vor_surface_stride(s) == 64);
    CHECK_STATUS(vor_fill_rect(s, 0, 0, 21, 5, 7, 8, 9), VOR_OK);
    CHECK(PixelAt(s, 20, 4) == Rgb(7, 8, 9));
    {
        VorPen* pen = vor_pen_create(255, 255, 255, 1.0f, VOR_DASH_SOLID);
        CHECK_STATUS(vor_draw_line(s, pen, 0, 2, 20, 2), VOR_OK); /* GDI+ draws on the new pixels */
        CHECK(PixelAt(s, 15, 2) == 0xFFFFFFu);
        vor_pen_destroy(pen);
    }
    CHECK_STATUS(vor_surface_unbind(s), VOR_OK);
    CHECK_STATUS(vor_draw_line(s, NULL, 0, 2, 20, 2), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_surface_resize(s, 8, 8), VOR_OK);

    CHECK_STATUS(vor_draw_tga(NULL, NULL, 0, 0), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_draw_tga(s, NULL, 0, 0), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_draw_bitmap_part_alpha(s, NULL, 0, 0, 0, 0, 4, 4, 9), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_draw_line(s, NULL, 0, 0, 4, 4), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_fill_rect(NULL, 0, 0, 4, 4, 1, 2, 3), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_fill_rect(s, 2, 2, -4, 4, 1, 2, 3), VOR_OK); /* negative size: draws nothing */
    CHECK_STATUS(vor_draw_text(s, NULL, 0, 0, NULL, 0), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_surface_add(s, NULL), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_surface_add_button(s, NULL), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_surface_add_text(s, sp, 0, 0, 9, 9, NULL, 0, 0), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_surface_add_text(s, sp, 0, 0, 9, 9, "x", 0, 7), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_surface_add_text_shadow(s, sp, sp, 0, 0, 9, 9, "x", 0, 0, 0), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_surface_add_dirty(s, 0, 0, -1, 2), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_surface_present(s), VOR_E_STATE); /* never bound */
    CHECK_STATUS(vor_surface_present(NULL), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_surface_get_pixel(s, 8, 0, &rgb), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_surface_get_pixel(s, -1, 0, &rgb), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_surface_get_pixel(s, 0, 0, NULL), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_surface_read(s, bytes, sizeof bytes, 24), VOR_E_ARGUMENT); /* 8 rows of 24 need 192 */
    CHECK_STATUS(vor_surface_read(s, bytes, sizeof bytes, 3), VOR_E_ARGUMENT);  /* stride under a row */
    CHECK(vor_surface_pixels(NULL) == NULL && vor_last_status() == VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_surface_bind_window(s, NULL), VOR_E_WINDOW);
    CHECK_STATUS(vor_surface_bind_window(s, (void*)(size_t)0x123456), VOR_E_WINDOW);
    CHECK_STATUS(vor_surface_draw_gdiplus_to_dc(s, NULL), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_draw_rect(s, NULL, 0, 0, 2, 2), VOR_E_NULL_HANDLE);

    CHECK(vor_tga_load_file(NULL) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_tga_load_file("no such file.tga") == NULL && vor_last_status() == VOR_E_LOAD);
    CHECK(vor_tga_load_memory(NULL, 10) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    memset(bytes, 0xEE, sizeof bytes);
    CHECK(vor_tga_load_memory(bytes, sizeof bytes) == NULL && vor_last_status() == VOR_E_LOAD);
    CHECK(vor_bitmap_load_file(NULL) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_bitmap_load_file(L"no such file.png") == NULL && vor_last_status() == VOR_E_LOAD &&
          vor_last_detail() != 0);
    CHECK(vor_bitmap_load_gif(L"no such file.gif") == NULL && vor_last_status() == VOR_E_LOAD);
    CHECK(vor_bitmap_load_resource(NULL, 999) == NULL && vor_last_status() == VOR_E_LOAD);
    SceneHeader24(header, SCENE_BLOCK_W, SCENE_BLOCK_H);
    CHECK(vor_bitmap_load_pixels(NULL, 10, header, 0) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_bitmap_load_pixels(bytes, -1, header, 0) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_bitmap_load_pixels(bytes, 10, NULL, 0) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_pen_create(1, 2, 3, -1.0f, VOR_DASH_SOLID) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_pen_create(1, 2, 3, 1.0f, 99) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_brush_create_hatch(53, 0, 0) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_brush_create_texture(NULL, 0) == NULL && vor_last_status() == VOR_E_NULL_HANDLE);
    CHECK(vor_font_create(0, L"DejaVu Sans", 0) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_font_create(12, NULL, 0) == NULL && vor_last_status() == VOR_E_ARGUMENT);
    CHECK(vor_font_create(12, L"No Such Family Anywhere", 0) == NULL && vor_last_status() == VOR_E_GDIPLUS);
    CHECK_STATUS(vor_sprite_set_text(sp, NULL, "x", 0, 0), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_sprite_rect(sp, NULL), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_sprite_place(NULL, 0, 0, 0, 0, 0, 0, 0), VOR_E_NULL_HANDLE);
    CHECK(vor_button_mouse_up(NULL, 0, 0) == 0 && vor_last_status() == VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_button_set_tga_strip(NULL, NULL, 1, 0, 0, NULL, 4, 0), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_panel_render(NULL, 1), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_panel_init(NULL, s, 0, 0, 9, 9, NULL, NULL), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_set_blit_level(7), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_rect_overlap(&r, NULL, &r), VOR_E_ARGUMENT);
    CHECK(strcmp(vor_status_text(12345), "unknown status") == 0);
    CHECK(strcmp(vor_status_text(VOR_E_BAD_HANDLE), "handle not alive") == 0);
    vor_sprite_destroy(sp);
    vor_surface_destroy(s);
    CHECK(vor_surface_width(s) == 0 && vor_last_status() == VOR_E_BAD_HANDLE);
}

/* ---- the library, rectangles, loaders, drawing calls ---- */

static void TestLibraryAndRects(void) {
    int major = -1, minor = -1, patch = -1, level = -1;
    VorRect a = {0, 0, 10, 10}, b = {10, 0, 5, 5}, c = {11, 0, 5, 5}, out;
    CHECK(vor_version(&major, &minor, &patch, &level) == VOR_VERSION);
    CHECK(major == 4 && minor == 0 && patch == 0 && level == vor_blit_level());
    CHECK(vor_version(NULL, NULL, NULL, NULL) == VOR_VERSION);
    CHECK(level >= VOR_BLITLEVEL_SCALAR && level <= vor_best_blit_level());
    CHECK_STATUS(vor_startup(), VOR_OK);
    CHECK(vor_rect_overlaps(&a, &b) == 1 && vor_rect_overlaps(&a, &c) == 0);
    CHECK_STATUS(vor_rect_overlap(&a, &b, &out), VOR_OK);
    CHECK(out.x == 0 && out.y == 0 && out.width == 0 && out.height == 5);
    CHECK(vor_rect_contains(&a, 10, 10) == 1 && vor_rect_contains(&a, 11, 10) == 0);
}

static void WriteFileBytes(const char* path, const void* data, size_t n) {
    FILE* f = fopen(path, "wb");
    CHECK(f != NULL);
    if (!f) return;
    fwrite(data, 1, n, f);
    fclose(f);
}

/* A 24-bit BMP of 3 x 2: pixel (x, y) (y = 0 the top row) has r = 40 + 70x, g = 100 + 100y, b = 7. */
static void WriteBmp(const char* path) {
    unsigned char f[54 + 2 * 12];
    int x, y, n = 54;
    memset(f, 0, sizeof f);
    f[0] = 'B';
    f[1] = 'M';
    f[2] = sizeof f;
    f[10] = 54;
    f[14] = 40;
    f[18] = 3;
    f[22] = 2;
    f[26] = 1;
    f[28] = 24;
    for (y = 1; y >= 0; --y, n += 3) /* bottom row first, rows padded to 12 bytes */
        for (x = 0; x < 3; ++x, n += 3) {
            f[n] = 7;
            f[n + 1] = (unsigned char)(100 + 100 * y);
            f[n + 2] = (unsigned char)(40 + 70 * x);
        }
    WriteFileBytes(path, f, sizeof f);
}

/* The leftmost column with a pixel that is not black in rows y0..y1-1 (the width when none). */
static int LeftmostLit(VorSurface* s, int y0, int y1) {
    int x, y, w = vor_surface_width(s);
    for (x = 0; x < w; ++x)
        for (y = y0; y < y1; ++y)
            if (PixelAt(s, x, y) != 0) return x;
    return w;
}

static void TestLoadersAndDrawing(void) {
    VorSurface* s = vor_surface_create(40, 30);
    VorBitmap *bmp, *keyed, *res, *cell, *gif;
    VorTga* tga;
    VorBrush* texture;
    HMODULE cells = LoadLibraryA("test_cells.dll");
    unsigned char tgaFile[18 + 4 * SCENE_BALL_W * SCENE_BALL_H], gifFile[512];
    unsigned char* back;
    size_t n;
    int x, y, changed = 0;

    CHECK_STATUS(vor_surface_bind_dc(s, NULL), VOR_OK);
    WriteFileBytes("capi_ball.tga", tgaFile, SceneBallTga(tgaFile));
    tga = vor_tga_load_file("capi_ball.tga");
    CHECK(tga != NULL && vor_tga_width(tga) == SCENE_BALL_W && vor_tga_pixels(tga) != NULL);
    /* pixel words: bytes blue, green, red, alpha, top row first */
    CHECK(tga && vor_tga_pixels(tga)[2 * SCENE_BALL_W + 1] == (255u << 24 | (unsigned)(60 + 15) << 16 |
                                                                (unsigned)(200 - 14) << 8 | (unsigned)(20 + 9)));
    CHECK_STATUS(vor_fill_rect(s, 0, 0, 40, 30, 0, 0, 0), VOR_OK);
    CHECK_STATUS(vor_draw_tga_part(s, tga, 10, 10, 1, 0, 1, 1), VOR_OK); /* the opaque column, one pixel */
    CHECK(PixelAt(s, 10, 10) == Rgb(65, 200, 29) && PixelAt(s, 11, 10) == 0);
    CHECK_STATUS(vor_draw_tga_part_alpha(s, tga, 12, 10, 1, 0, 1, 1, 0), VOR_OK); /* opacity 0: nothing */
    CHECK(PixelAt(s, 12, 10) == 0);
    CHECK_STATUS(vor_draw_tga(s, tga, -1000, 5), VOR_OK); /* off the surface: nothing */
    {
        VorButton* button = vor_button_create(); /* no parent window: clicks send nothing */
        VorRect r;
        CHECK_STATUS(vor_button_set_tga_faces(button, NULL, 5, 3, 4, tga, tga, tga, tga), VOR_OK);
        CHECK_STATUS(vor_button_rect(button, &r), VOR_OK);
        CHECK(r.x == 3 && r.y == 4 && r.width == SCENE_BALL_W && r.height == SCENE_BALL_H);
        CHECK_STATUS(vor_button_set_tga_strip(button, NULL, 5, 3, 4, tga, 4, 1), VOR_OK);
        CHECK_STATUS(vor_button_rect(button, &r), VOR_OK);
        CHECK(r.width == SCENE_BALL_W / 4 && r.height == SCENE_BALL_H);
        CHECK(vor_button_mouse_down(button, 4, 5) == 1 && vor_button_mouse_up(button, 4, 5) == 0);
        vor_button_destroy(button);
    }

    WriteBmp("capi_small.bmp");
    bmp = vor_bitmap_load_file(L"capi_small.bmp");
    keyed = vor_bitmap_load_file_key(L"capi_small.bmp", 40, 100, 7);
    CHECK(bmp && keyed && vor_bitmap_width(bmp) == 3 && vor_bitmap_height(bmp) == 2);
    {
        /* a still picture through the animated-GIF loader: one frame, no delay, and loaded although
         * the picture's own status then says PropertyNotFound (19) */
        VorBitmap* still = vor_bitmap_load_gif(L"capi_small.bmp");
        CHECK(still && vor_bitmap_width(still) == 3 && vor_bitmap_frames(still) <= 1 && vor_bitmap_delay(still) == 0);
        vor_bitmap_destroy(still);
    }
    CHECK_STATUS(vor_draw_bitmap(s, bmp, 20, 20), VOR_OK);
    CHECK(PixelAt(s, 20, 20) == Rgb(40, 100, 7) && PixelAt(s, 22, 21) == Rgb(180, 200, 7));
    CHECK_STATUS(vor_fill_rect(s, 0, 0, 40, 30, 0, 0, 0), VOR_OK);
    CHECK_STATUS(vor_draw_bitmap(s, keyed, 20, 20), VOR_OK); /* (40, 100, 7) is the key */
    CHECK(PixelAt(s, 20, 20) == 0 && PixelAt(s, 21, 20) == Rgb(110, 100, 7));
    CHECK_STATUS(vor_draw_bitmap_alpha(s, bmp, 0, 0, 128), VOR_OK);
    CHECK(PixelAt(s, 0, 0) == Rgb(Blend(40, 0, 128), Blend(100, 0, 128), Blend(7, 0, 128)));
    CHECK_STATUS(vor_draw_bitmap_part(s, bmp, 5, 0, 2, 1, 1, 1), VOR_OK);
    CHECK(PixelAt(s, 5, 0) == Rgb(180, 200, 7));
    CHECK_STATUS(vor_draw_bitmap_scaled(s, bmp, 30, 0, 6, 4), VOR_OK);
    CHECK_STATUS(vor_draw_bitmap_scaled_part(s, bmp, 30.0f, 10.0f, 3.0f, 2.0f, 0.0f, 0.0f, 3.0f, 2.0f), VOR_OK);
    CHECK(PixelAt(s, 31, 10) != 0 && PixelAt(s, 31, 1) != 0);

    /* bitmap resources: of the executable, and of another module by handle */
    res = vor_bitmap_load_resource(NULL, IDB_TEST24_5X3);
    CHECK(res && vor_bitmap_width(res) == 5 && vor_bitmap_height(res) == 3);
    CHECK_STATUS(vor_draw_bitmap(s, res, 0, 25), VOR_OK);
    for (y = 0; y < 3; ++y)
        for (x = 0; x < 5; ++x)
            CHECK(PixelAt(s, x, 25 + y) == Rgb(30 + 40 * x, 10 + 60 * y, 250 - 20 * x - 50 * y));
    CHECK(cells != NULL);
    cell = vor_bitmap_load_resource(cells, IDB_CELL_0 + 2);
    CHECK(cell && vor_bitmap_width(cell) == 5 && vor_bitmap_height(cell) == 6);
    CHECK_STATUS(vor_draw_bitmap(s, cell, 10, 20), VOR_OK);
    CHECK(PixelAt(s, 10 + 1, 20 + 2) == Rgb(235 - 25 * 2, 40 + 30, 40 + 60));

    /* the background copy */
    CHECK_STATUS(vor_surface_set_back(s, res), VOR_OK);
    back = vor_surface_back_copy(s);
    CHECK(back && back[0] == 250 && back[1] == 10 && back[2] == 30);
    CHECK_STATUS(vor_fill_rect(s, 0, 0, 40, 30, 0, 0, 0), VOR_OK);
    CHECK_STATUS(vor_surface_draw_back(s), VOR_OK);
    CHECK(PixelAt(s, 4, 2) == Rgb(30 + 160, 10 + 120, 250 - 80 - 100));

    /* shapes and text through GDI+ */
    {
        VorPen* pen = vor_pen_create(255, 255, 255, 1.0f, VOR_DASH_SOLID);
        VorBrush* hatch = vor_brush_create_hatch(VOR_HATCH_CROSS, 0xFF00FF00u, 0xFF0000FFu);
        VorFont* font = vor_font_create(14, L"DejaVu Sans", VOR_FONT_REGULAR);
        CHECK(pen && hatch && font && vor_font_size(font) == 14.0f);
        CHECK_STATUS(vor_fill_rect(s, 0, 0, 40, 30, 0, 0, 0), VOR_OK);
        CHECK_STATUS(vor_draw_line(s, pen, 0, 5, 39, 5), VOR_OK);
        CHECK(PixelAt(s, 20, 5) == 0xFFFFFFu);
        CHECK_STATUS(vor_draw_rect(s, pen, 2, 8, 10, 10), VOR_OK);
        CHECK(PixelAt(s, 2, 12) == 0xFFFFFFu && PixelAt(s, 6, 12) == 0);
        CHECK_STATUS(vor_fill_rect_brush(s, hatch, 20, 10, 16, 16), VOR_OK);
        for (y = 10; y < 26; ++y)
            for (x = 20; x < 36; ++x) changed |= PixelAt(s, x, y) == 0x00FF00u ? 1 : PixelAt(s, x, y) == 0x0000FFu ? 2 : 0;
        CHECK(changed == 3); /* both hatch colours */
        CHECK_STATUS(vor_fill_rect(s, 0, 0, 40, 30, 0, 0, 0), VOR_OK);
        CHECK_STATUS(vor_draw_text(s, L"Hi", 0, 0, font, 0xFFFFFFFFu), VOR_OK);
        changed = 0;
        for (y = 0; y < 30; ++y)
            for (x = 0; x < 40; ++x) changed += PixelAt(s, x, y) != 0;
        CHECK(changed > 10);
        CHECK(LeftmostLit(s, 0, 30) < 5);
        CHECK_STATUS(vor_fill_rect(s, 0, 0, 40, 30, 0, 0, 0), VOR_OK);
        CHECK_STATUS(vor_draw_text_in(s, L"Hi", 0, 0, 40, 30, font, 0xFFFF0000u, VOR_ALIGN_FAR), VOR_OK);
        CHECK(LeftmostLit(s, 0, 30) > 15); /* aligned to the right edge */
        CHECK_STATUS(vor_draw_text_in(s, L"Hi", 0, 0, 40, 30, font, 0xFFFF0000u, 3), VOR_E_ARGUMENT);
        texture = vor_brush_create_texture(res, VOR_WRAP_TILE);
        CHECK(texture != NULL);
        CHECK_STATUS(vor_fill_rect_brush(s, texture, 0, 0, 10, 6), VOR_OK);
        CHECK(PixelAt(s, 5, 3) == Rgb(30, 10, 250)); /* tiled: (5, 3) shows the picture's (0, 0) */
        CHECK(vor_brush_create_texture(bmp, 9) == NULL && vor_last_status() == VOR_E_ARGUMENT);
        vor_brush_destroy(texture);
        vor_font_destroy(font);
        vor_brush_destroy(hatch);
        vor_pen_destroy(pen);
    }
    {
        unsigned char block[3 * 4 * 2];
        unsigned char header[40];
        VorBitmap* pixels;
        memset(block, 9, sizeof block);
        SceneHeader24(header, 4, 2);
        pixels = vor_bitmap_load_pixels(block, sizeof block, header, 0);
        CHECK(pixels != NULL);
        CHECK(vor_brush_create_texture(pixels, VOR_WRAP_TILE) == NULL && vor_last_status() == VOR_E_GDIPLUS);
        vor_bitmap_destroy(pixels);
        /* a zoomed block stretched to extreme and mirrored sizes (GDI's stretch): nothing breaks */
        pixels = vor_bitmap_load_pixels(block, sizeof block, header, 1);
        {
            static const int sizes[] = {INT_MIN, INT_MIN + 1, -0x40000000, -3, 5, 0x40000000, INT_MAX};
            int i, j;
            for (i = 0; i < (int)(sizeof sizes / sizeof sizes[0]); ++i)
                for (j = 0; j < (int)(sizeof sizes / sizeof sizes[0]); ++j)
                    CHECK_STATUS(vor_draw_bitmap_part(s, pixels, 20, 15, 1, 1, sizes[i], sizes[j]), VOR_OK);
        }
        CHECK_STATUS(vor_fill_rect(s, 0, 0, 40, 30, 0, 0, 0), VOR_OK);
        CHECK_STATUS(vor_draw_bitmap_part(s, pixels, 2, 3, 0, 0, 8, 4), VOR_OK); /* 4 x 2 stretched twice */
        CHECK(PixelAt(s, 2, 3) == Rgb(9, 9, 9) && PixelAt(s, 9, 6) == Rgb(9, 9, 9) && PixelAt(s, 10, 6) == 0);
        vor_bitmap_destroy(pixels);
    }

    /* an animated GIF: frames, delay, the frame stepper and a host animation procedure */
    n = capi_reference_gif(gifFile, sizeof gifFile);
    CHECK(n > 0 && n <= sizeof gifFile);
    WriteFileBytes("capi_anim.gif", gifFile, n);
    gif = vor_bitmap_load_gif(L"capi_anim.gif");
    CHECK(gif && vor_bitmap_frames(gif) == 2 && vor_bitmap_delay(gif) == 5 && vor_bitmap_gdiplus_status(gif) == 0);
    {
        VorSprite* walk = vor_sprite_create();
        CHECK_STATUS(vor_sprite_set_bitmap(walk, gif), VOR_OK);
        CHECK(vor_sprite_frame(walk) == 0);
        CHECK_STATUS(vor_sprite_step_frame_at(walk, 1000), VOR_OK); /* long after the start: next frame */
        CHECK(vor_sprite_frame(walk) == 1);
        CHECK_STATUS(vor_sprite_step_frame_at(walk, 1000 + 50), VOR_OK); /* not past 10 * delay ms */
        CHECK(vor_sprite_frame(walk) == 1);
        CHECK_STATUS(vor_sprite_step_frame_at(walk, 1000 + 51), VOR_OK); /* past it: back to frame 0 */
        CHECK(vor_sprite_frame(walk) == 0);
        CHECK_STATUS(vor_sprite_step_frame_at(walk, 2000), VOR_OK);
        CHECK(vor_sprite_frame(walk) == 1);
        CHECK_STATUS(vor_surface_begin_frame(s), VOR_OK);
        CHECK_STATUS(vor_surface_add_xy(s, walk, 0, 0, 255), VOR_OK);
        CHECK_STATUS(vor_surface_draw_frame(s, 0), VOR_OK);
        CHECK(PixelAt(s, 1, 1) == Rgb(10, 180, 60)); /* frame 1 is palette colour 2 */
        vor_surface_clear_sprites(s);
        vor_sprite_destroy(walk);
    }

    vor_bitmap_destroy(gif);
    vor_bitmap_destroy(cell);
    vor_bitmap_destroy(res);
    vor_bitmap_destroy(keyed);
    vor_bitmap_destroy(bmp);
    vor_tga_destroy(tga);
    vor_surface_destroy(s);
    if (cells) FreeLibrary(cells);
}

/* ---- animation procedures ---- */

static int g_animationCalls = 0;
static VorSprite* g_animatedSprite = NULL;

static void __cdecl CountAnimation(VorSprite* sprite, void* user) {
    ++g_animationCalls;
    if (sprite == g_animatedSprite) ++*(int*)user;
}

static void TestAnimationProc(void) {
    static unsigned char block[3 * SCENE_BLOCK_W * SCENE_BLOCK_H];
    unsigned char header[40];
    int mine = 0;
    VorSurface* s = vor_surface_create(30, 30);
    VorBitmap* b;
    SceneHeader24(header, SCENE_BLOCK_W, SCENE_BLOCK_H);
    b = vor_bitmap_load_pixels(block, SceneBlock(block), header, 0);
    g_animatedSprite = vor_sprite_create();
    CHECK_STATUS(vor_sprite_set_bitmap_animated(g_animatedSprite, b, CountAnimation, &mine), VOR_OK);
    CHECK_STATUS(vor_surface_begin_frame(s), VOR_OK);
    CHECK_STATUS(vor_surface_add_xy(s, g_animatedSprite, 2, 2, 255), VOR_OK);
    CHECK_STATUS(vor_surface_draw_frame(s, 0), VOR_OK);
    CHECK_STATUS(vor_surface_animate(s), VOR_OK);
    CHECK_STATUS(vor_surface_animate(s), VOR_OK);
    CHECK(g_animationCalls == 2 && mine == 2); /* the host's own handle and user value */
    vor_bitmap_destroy(b); /* the listed sprite loses its picture and its procedure */
    CHECK_STATUS(vor_surface_animate(s), VOR_OK);
    CHECK(g_animationCalls == 2);
    vor_sprite_destroy(g_animatedSprite);
    vor_surface_destroy(s);
}

/* ---- a window: binding, presentation, buttons and panels ---- */

static int g_commands = 0, g_lastCommand = 0;

static LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) {
        ++g_commands;
        g_lastCommand = (int)LOWORD(wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

static HWND MakeWindow(void) {
    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "CApiTestWindow";
    RegisterClassA(&wc);
    return CreateWindowA("CApiTestWindow", "test_capi", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 160, NULL, NULL,
                         wc.hInstance, NULL);
}

static void TestWindowButtonsPanel(void) {
    static unsigned char strip[3 * 10 * 32];
    unsigned char header[40];
    const unsigned cellIds[9] = {201, 202, 203, 204, 205, 206, 207, 208, 209};
    HWND hwnd = MakeWindow(), other = MakeWindow();
    VorSurface* s = vor_surface_create(120, 100);
    VorBitmap* faces;
    VorButton* button = vor_button_create();
    VorPanel* panel = vor_panel_create();
    VorRect r;
    int i, w = 0, h = 0;
    CHECK(hwnd != NULL && s != NULL);

    CHECK_STATUS(vor_surface_bind_window(s, hwnd), VOR_OK);
    CHECK_STATUS(vor_fill_rect(s, 0, 0, 120, 100, 9, 9, 9), VOR_OK);
    CHECK_STATUS(vor_surface_add_dirty(s, 0, 0, 50, 40), VOR_OK);
    CHECK_STATUS(vor_surface_present(s), VOR_OK);
    CHECK(vor_surface_presented_pixels(s) == 50 * 40); /* origin to the far corner, half-open */
    CHECK(vor_surface_exact_present(s) == 0);
    CHECK_STATUS(vor_surface_set_exact_present(s, 1), VOR_OK);
    CHECK(vor_surface_exact_present(s) == 1);
    CHECK_STATUS(vor_surface_present(s), VOR_OK);
    CHECK(vor_surface_presented_pixels(s) == 50 * 40); /* the rectangle alone */
    CHECK_STATUS(vor_surface_begin_frame(s), VOR_OK);
    CHECK_STATUS(vor_surface_add_dirty(s, 30, 20, 20, 20), VOR_OK);
    CHECK_STATUS(vor_surface_present(s), VOR_OK);
    CHECK(vor_surface_dirty_count(s) == 1 && vor_surface_presented_pixels(s) == 20 * 20);
    CHECK_STATUS(vor_surface_set_exact_present(s, 0), VOR_OK);
    CHECK_STATUS(vor_surface_set_exact_present(NULL, 1), VOR_E_NULL_HANDLE);

    /* a strip of 4 faces 10 x 8, face k filled with 60 + 40k */
    for (i = 0; i < (int)sizeof strip; ++i) strip[i] = (unsigned char)(60 + 40 * (i / (3 * 10 * 8)));
    SceneHeader24(header, 10, 32);
    faces = vor_bitmap_load_pixels(strip, sizeof strip, header, 0);
    CHECK_STATUS(vor_button_set_bitmap_strip(button, hwnd, 77, 30, 40, faces, 4, 0), VOR_OK);
    CHECK_STATUS(vor_button_set_bitmap_strip(button, hwnd, 77, 30, 40, faces, 5, 0), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_button_set_bitmap_faces(button, hwnd, 76, 1, 2, faces, faces, faces, NULL), VOR_OK);
    CHECK_STATUS(vor_button_rect(button, &r), VOR_OK);
    CHECK(r.x == 1 && r.y == 2 && r.width == 10 && r.height == 32 && vor_button_command_id(button) == 76);
    CHECK_STATUS(vor_button_set_tga_faces(button, hwnd, 76, 1, 2, NULL, NULL, NULL, NULL), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_button_set_bitmap_strip(button, hwnd, 77, 30, 40, faces, 4, 0), VOR_OK);
    CHECK_STATUS(vor_button_rect(button, &r), VOR_OK);
    CHECK(r.x == 30 && r.y == 40 && r.width == 10 && r.height == 8 && vor_button_command_id(button) == 77);
    CHECK(vor_button_mouse_move(button, 35, 44) == 1 && vor_button_state(button) == VOR_BUTTON_HOVER);
    CHECK(vor_button_mouse_down(button, 35, 44) == 1 && vor_button_state(button) == VOR_BUTTON_PRESSED);
    CHECK(vor_button_mouse_up(button, 35, 44) == 1);
    CHECK(g_commands == 1 && g_lastCommand == 77); /* WM_COMMAND arrived, synchronously */
    CHECK(vor_button_mouse_down(button, 0, 0) == 0 && vor_button_mouse_up(button, 0, 0) == 0 && g_commands == 1);
    CHECK_STATUS(vor_button_enable(button, 0), VOR_OK);
    CHECK(vor_button_enabled(button) == 0 && vor_button_mouse_down(button, 35, 44) == 0);
    CHECK_STATUS(vor_button_enable(button, 1), VOR_OK);
    CHECK_STATUS(vor_button_show(button, 1), VOR_OK);

    /* a frame: panel cells from the executable's resources, then the button's face */
    CHECK_STATUS(vor_panel_init(panel, s, 10, 10, 60, 50, cellIds, NULL), VOR_OK);
    for (i = 0; i < 9; ++i) {
        CHECK_STATUS(vor_panel_cell_size(panel, i, &w, &h), VOR_OK);
        CHECK(w > 0 && h > 0);
    }
    CHECK_STATUS(vor_panel_cell_size(panel, 9, &w, &h), VOR_E_ARGUMENT);
    CHECK_STATUS(vor_surface_begin_frame(s), VOR_OK);
    CHECK_STATUS(vor_panel_render(panel, 1), VOR_OK);
    CHECK_STATUS(vor_surface_add_button(s, button), VOR_OK);
    CHECK(vor_surface_sprite_count(s) == 10);
    CHECK_STATUS(vor_surface_draw_frame(s, 1), VOR_OK);
    CHECK(vor_surface_presented_pixels(s) > 0);
    CHECK(PixelAt(s, 10, 10) == Rgb(20, 40, 40));  /* top-left cell's (0, 0) */
    CHECK(PixelAt(s, 32, 42) == Rgb(60, 60, 60));  /* the normal face */
    CHECK_STATUS(vor_panel_init(panel, s, 10, 10, 60, 50, cellIds, "no_such_module.dll"), VOR_E_LOAD);

    /* the button's parent destroyed: a click sends nothing */
    CHECK_STATUS(vor_button_set_bitmap_strip(button, other, 78, 30, 40, faces, 4, 1), VOR_OK);
    DestroyWindow(other);
    CHECK(vor_button_mouse_down(button, 31, 41) == 1 && vor_button_mouse_up(button, 31, 41) == 0 && g_commands == 1);
    CHECK_STATUS(vor_button_set_tga_strip(button, other, 78, 30, 40, NULL, 4, 1), VOR_E_NULL_HANDLE);
    CHECK_STATUS(vor_button_set_bitmap_strip(button, other, 78, 30, 40, faces, 4, 1), VOR_E_WINDOW);

    /* the window destroyed: presenting says so */
    DestroyWindow(hwnd);
    CHECK_STATUS(vor_surface_present(s), VOR_E_WINDOW);
    CHECK_STATUS(vor_surface_bind_window(s, hwnd), VOR_E_WINDOW);
    CHECK_STATUS(vor_surface_draw_frame(s, 1), VOR_E_WINDOW);
    CHECK_STATUS(vor_surface_unbind(s), VOR_OK);

    /* the panel's surface destroyed: rendering the panel says so and touches nothing */
    vor_surface_destroy(s);
    CHECK_STATUS(vor_panel_render(panel, 1), VOR_E_STATE);
    vor_panel_destroy(panel);
    vor_button_destroy(button);
    vor_bitmap_destroy(faces);
}

int main(void) {
    TestLibraryAndRects();
    TestSceneEqualsClasses();
    TestLifetime();
    TestBadInput();
    TestLoadersAndDrawing();
    TestAnimationProc();
    TestWindowButtonsPanel();
    printf("test_capi: %d checks, %d failed; %ld pixels compared with the C++ classes' frames\n", g_checks, g_failed,
           g_pixelsCompared);
    return g_failed != 0;
}
