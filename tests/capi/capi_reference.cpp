// capi_reference.dll: the C test's reference, drawn through the C++ classes. It draws the scene of
// CApiScene.h frame by frame and hands the back buffers to the C program, and writes the test's
// animated GIF.
#include <cstring>
#include <vector>

#include "VorImage4.h"
// after the library's header, which brings the Windows headers
#include "CApiScene.h"
#include "ImageFileBytes.h"

#define CAPI_REFERENCE_API extern "C" __declspec(dllexport)

// Writes the back buffer of every frame of the scene, SCENE_FRAMES * frameBytes bytes (rows of
// 3 * SCENE_W bytes, top row first). 0 when something could not be made.
CAPI_REFERENCE_API int __cdecl capi_reference_frames(unsigned char* out, size_t frameBytes) {
    if (frameBytes < size_t(3 * SCENE_W * SCENE_H)) return 0;
    CVorGraphics g;
    g.GdiInit();
    if (!g.Init(SCENE_W, SCENE_H) || !g.GetPixels()) return 0;
    g.InitGraphics(static_cast<CPaintDC*>(nullptr));

    std::vector<unsigned char> file(18 + 4 * SCENE_BALL_W * SCENE_BALL_H);
    SceneBallTga(file.data());
    CVorTga ball;
    if (!ball.InitFromMemory(file.data(), file.size())) return 0;
    std::vector<unsigned char> block(3 * SCENE_BLOCK_W * SCENE_BLOCK_H);
    SceneBlock(block.data());
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    SceneHeader24(reinterpret_cast<unsigned char*>(&info.bmiHeader), SCENE_BLOCK_W, SCENE_BLOCK_H);
    CVorBitmap keyed(block.data(), int(block.size()), info, SCENE_KEY_R, SCENE_KEY_G, SCENE_KEY_B);
    CVorBitmap plain(block.data(), int(block.size()), info, 0);
    CVorColor ground(SCENE_GROUND_R, SCENE_GROUND_G, SCENE_GROUND_B);
    CVorPen pen(255, 220, 0, 2.0f, Gdiplus::DashStyleDash);
    CVorBrush hatch(Gdiplus::HatchStyleDiagonalCross, Gdiplus::Color(255, 250, 250, 250), Gdiplus::Color(160, 0, 0, 0));
    CVorFont font(11, L"DejaVu Sans", Gdiplus::FontStyleBold);
    g.SetNowFont(&font);

    CVorSprite sprites[SCENE_SPRITES];
    sprites[SCENE_GROUND].Init(&ground);
    sprites[SCENE_BALL].Init(&ball);
    sprites[SCENE_BALL_FADED].Init(&ball);
    sprites[SCENE_KEYED].Init(&keyed);
    sprites[SCENE_BLEND].Init(&plain);
    sprites[SCENE_PEN].Init(&pen, 1);
    sprites[SCENE_HATCH].Init(&hatch);

    for (int f = 0; f < SCENE_FRAMES; ++f) {
        g.InitSprite();
        for (int k = 0; k < SCENE_SPRITES; ++k) {
            ScenePlace p;
            if (!SceneSpriteAt(k, f, &p)) continue;
            if (k == SCENE_TEXT)
                g.AddSprite(&sprites[k], p.x, p.y, p.width, p.height, SCENE_LABEL, Gdiplus::Color(255, 255, 255, 255),
                            Gdiplus::StringAlignmentCenter);
            else
                g.AddSprite(&sprites[k], p.x, p.y, p.width, p.height, p.srcX, p.srcY, (unsigned char)p.alpha);
        }
        g.DrawSprite(false);
        for (int y = 0; y < SCENE_H; ++y)
            std::memcpy(out + f * frameBytes + size_t(y) * 3 * SCENE_W, g.GetPixels() + size_t(y) * g.GetStride(),
                        3 * SCENE_W);
    }
    g.ClearSprite();
    return 1;
}

// A 4 x 3 GIF of two frames, delay 5 (1/100 s): frame 0 all palette colour 1, frame 1 all colour 2.
// Writes at most capacity bytes; returns the file's size.
CAPI_REFERENCE_API size_t __cdecl capi_reference_gif(unsigned char* out, size_t capacity) {
    const std::vector<imagefile::Rgba> palette = {{0, 0, 0, 255}, {200, 40, 10, 255}, {10, 180, 60, 255}, {5, 5, 250, 255}};
    const std::vector<std::vector<uint8_t>> frames = {std::vector<uint8_t>(12, 1), std::vector<uint8_t>(12, 2)};
    const std::vector<uint8_t> gif = imagefile::Gif(4, 3, palette, frames, {5, 5});
    if (gif.size() <= capacity) std::memcpy(out, gif.data(), gif.size());
    return gif.size();
}
