/* The scene the C test draws through the C interface and capi_reference.dll draws through the C++
 * classes: the same pictures, the same sprites, the same places in every frame. Plain C. */
#ifndef CAPI_SCENE_H
#define CAPI_SCENE_H
#include <stddef.h>

#define SCENE_W 97 /* odd: every row ends in padding */
#define SCENE_H 61
#define SCENE_FRAMES 5
#define SCENE_SPRITES 8
#define SCENE_BALL_W 24
#define SCENE_BALL_H 20
#define SCENE_BLOCK_W 16
#define SCENE_BLOCK_H 12

/* Sprite kinds, in drawing order. */
enum SceneKind { SCENE_GROUND, SCENE_BALL, SCENE_BALL_FADED, SCENE_KEYED, SCENE_BLEND, SCENE_PEN, SCENE_HATCH, SCENE_TEXT };

/* The ground colour, the colour key of the pixel block and the text. */
#define SCENE_GROUND_R 30
#define SCENE_GROUND_G 60
#define SCENE_GROUND_B 90
#define SCENE_KEY_R 255
#define SCENE_KEY_G 0
#define SCENE_KEY_B 255
#define SCENE_LABEL "Vor 4"

/* The ball's pixel (x, y), y = 0 the top row: bytes blue, green, red, alpha. The alpha runs through
 * 0, 255 and values between. */
static void SceneBallPixel(int x, int y, unsigned char bgra[4]) {
    bgra[0] = (unsigned char)(20 + 9 * x);
    bgra[1] = (unsigned char)(200 - 7 * y);
    bgra[2] = (unsigned char)(60 + 5 * (x + y));
    bgra[3] = (unsigned char)(x == 0 ? 0 : x == 1 ? 255 : (x * 37 + y * 11) % 256);
}

/* The pixel block's colour at column x (the same in every row); every fifth column is the key. */
static void SceneBlockPixel(int x, unsigned char bgr[3]) {
    if (x % 5 == 0) {
        bgr[0] = SCENE_KEY_B;
        bgr[1] = SCENE_KEY_G;
        bgr[2] = SCENE_KEY_R;
        return;
    }
    bgr[0] = (unsigned char)(10 + 15 * x);
    bgr[1] = (unsigned char)(240 - 13 * x);
    bgr[2] = (unsigned char)(90 + 3 * x);
}

/* The ball as a 32-bit TGA file (bottom row first); out holds 18 + 4 * w * h bytes. */
static size_t SceneBallTga(unsigned char* out) {
    size_t n = 18;
    int x, y, i;
    for (i = 0; i < 18; ++i) out[i] = 0;
    out[2] = 2;
    out[12] = SCENE_BALL_W;
    out[14] = SCENE_BALL_H;
    out[16] = 32;
    out[17] = 8;
    for (y = SCENE_BALL_H - 1; y >= 0; --y)
        for (x = 0; x < SCENE_BALL_W; ++x, n += 4) SceneBallPixel(x, y, out + n);
    return n;
}

/* The pixel block: bottom-up rows of 3 * w bytes; out holds 3 * w * h bytes. */
static int SceneBlock(unsigned char* out) {
    int x, y, n = 0;
    for (y = 0; y < SCENE_BLOCK_H; ++y)
        for (x = 0; x < SCENE_BLOCK_W; ++x, n += 3) SceneBlockPixel(x, out + n);
    return n;
}

/* A BITMAPINFOHEADER (40 bytes) for a 24-bit block of w x h, written byte by byte. */
static void SceneHeader24(unsigned char header[40], int w, int h) {
    int i;
    for (i = 0; i < 40; ++i) header[i] = 0;
    header[0] = 40;
    header[4] = (unsigned char)w;
    header[5] = (unsigned char)(w >> 8);
    header[8] = (unsigned char)h;
    header[9] = (unsigned char)(h >> 8);
    header[12] = 1;
    header[14] = 24;
}

/* Where sprite k stands in frame f; 0 when it is not in that frame. */
typedef struct ScenePlace {
    int x, y, width, height, srcX, srcY, alpha;
} ScenePlace;

static int SceneSpriteAt(int k, int f, ScenePlace* p) {
    p->srcX = p->srcY = 0;
    p->width = p->height = 0;
    p->alpha = 255;
    switch (k) {
        case SCENE_GROUND:
            p->x = p->y = 0;
            p->width = SCENE_W - 1; /* a colour sprite covers one more pixel each way */
            p->height = SCENE_H - 1;
            return 1;
        case SCENE_BALL: /* leaves the surface on the left in the last frames */
            p->x = 5 + 7 * f - (f >= 3 ? 40 : 0);
            p->y = 9 + 3 * f;
            return 1;
        case SCENE_BALL_FADED:
            p->x = 60 - 9 * f;
            p->y = 30 - 5 * f;
            p->width = 18;
            p->height = 14;
            p->srcX = 2;
            p->srcY = 3;
            p->alpha = 140;
            return 1;
        case SCENE_KEYED: /* absent in frame 2 */
            p->x = 40;
            p->y = 5 + 4 * f;
            return f != 2;
        case SCENE_BLEND:
            p->x = -5 + 6 * f;
            p->y = 45;
            p->alpha = 100;
            return 1;
        case SCENE_PEN:
            p->x = 62;
            p->y = 2 + (f == 4 ? 3 : 0);
            p->width = 30;
            p->height = 20;
            return 1;
        case SCENE_HATCH:
            p->x = 70;
            p->y = 40;
            p->width = 20;
            p->height = 15;
            return f != 1;
        default: /* text */
            p->x = 2;
            p->y = SCENE_H - 18;
            p->width = 60;
            p->height = 16;
            return 1;
    }
}

#endif
