// sprite_scene: a frame loop composed by dirty rectangles. A ground picture and 20 moving
// alpha-blended balls; each frame only the rectangles that changed are redrawn and presented.
//
//   sprite_scene.exe [frames]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "VorImage4.h"

// Writes a 32-bit TGA (bottom row first). colour(x, y) returns 0xAARRGGBB.
template <class ColourFn>
static bool WriteTga(const char* path, int w, int h, ColourFn colour) {
    unsigned char header[18] = {0, 0, 2};
    header[12] = (unsigned char)w;
    header[13] = (unsigned char)(w >> 8);
    header[14] = (unsigned char)h;
    header[15] = (unsigned char)(h >> 8);
    header[16] = 32;
    header[17] = 8;
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    std::fwrite(header, 1, sizeof header, f);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const unsigned argb = colour(x, y);
            const unsigned char bgra[4] = {(unsigned char)argb, (unsigned char)(argb >> 8), (unsigned char)(argb >> 16),
                                           (unsigned char)(argb >> 24)};
            std::fwrite(bgra, 1, 4, f);
        }
    return std::fclose(f) == 0;
}

struct Ball {
    CVorSprite sprite;
    int x, y, dx, dy;
};

int main(int argc, char** argv) {
    const int W = 640, H = 480, frames = argc > 1 ? std::atoi(argv[1]) : 200;

    // Pictures: an opaque ground and a soft ball (alpha falls off at the edge).
    WriteTga("scene_ground.tga", W, H, [](int x, int y) { return 0xFF000000u | ((x / 32 + y / 32) % 2 ? 0x304060u : 0x283850u); });
    WriteTga("scene_ball.tga", 32, 32, [](int x, int y) {
        const int d2 = (x - 16) * (x - 16) + (y - 16) * (y - 16);
        const unsigned a = d2 >= 256 ? 0 : 255 - d2 * 255 / 256;
        return (a << 24) | 0xF0C040u;
    });

    HWND hwnd = ::CreateWindowA("STATIC", "sprite scene", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, W + 16, H + 40,
                                nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    CWnd wnd(hwnd);
    CClientDC dc(&wnd);
    CVorGraphics surface;
    surface.GdiInit();
    if (!surface.Init(W, H)) return 1;
    surface.InitGraphics(&dc);

    CVorTga groundPicture("scene_ground.tga"), ballPicture("scene_ball.tga");
    if (!groundPicture.GetBuffer() || !ballPicture.GetBuffer()) return 1;
    CVorSprite ground;
    ground.Init(&groundPicture);
    std::vector<Ball> balls(20);
    for (size_t i = 0; i < balls.size(); ++i) {
        balls[i].sprite.Init(&ballPicture);
        balls[i].x = int(i * 29) % (W - 32);
        balls[i].y = int(i * 53) % (H - 32);
        balls[i].dx = int(i % 5) + 1;
        balls[i].dy = int(i % 3) + 1;
    }

    long dirtyPixels = 0;
    for (int frame = 0; frame < frames; ++frame) {
        surface.InitSprite();                       // a new frame: nothing added yet, no dirty area
        surface.AddSprite(&ground, 0, 0, 255);       // back to front: the ground first
        for (Ball& b : balls) {
            b.x += b.dx;
            b.y += b.dy;
            if (b.x < 0 || b.x > W - 32) b.dx = -b.dx;
            if (b.y < 0 || b.y > H - 32) b.dy = -b.dy;
            surface.AddSprite(&b.sprite, b.x, b.y, 200);  // moving a sprite marks its old and new place dirty
        }
        surface.DrawSprite(true);                   // redraw inside the dirty rectangles, present them
        for (const CVorRect& r : surface.GetZang().GetRects()) dirtyPixels += long(r.Width) * r.Height;
    }
    std::printf("sprite_scene: %d frames, average dirty area %ld pixels of %d\n", frames,
                frames ? dirtyPixels / frames : 0, W * H);
    surface.ClearSprite();
    ::DestroyWindow(hwnd);
    return 0;
}
