// Scene "sprites": a real animated scene composed by dirty rectangles. A full-window ground, N
// soft round alpha-blended balls bouncing around, an animated GIF, and text sprites (one with a
// shadow showing the frame count). Every picture is generated here into the output folder and
// loaded back. Prints frames per second and the average dirty area per frame.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "DemoHost.h"
#include "ImageFileBytes.h"

namespace {

typedef imagefile::Rgba Rgba;
using imagefile::WriteFile;

// An uncompressed 32-bit TGA; pixels[y * w + x] with y = 0 the top row.
std::vector<uint8_t> TgaBytes(int w, int h, const std::vector<Rgba>& pixels) {
    return imagefile::Tga(w, h, [&](int x, int y) { return pixels[size_t(y) * w + x]; });
}

// An animated GIF with a 16-colour palette, every frame shown for delay hundredths of a second.
std::vector<uint8_t> GifBytes(int w, int h, const std::vector<Rgba>& palette16,
                              const std::vector<std::vector<uint8_t>>& frames, int delay) {
    return imagefile::Gif(w, h, palette16, frames, std::vector<int>(frames.size(), delay));
}

// The ground: a dusk sky gradient with soft hills and a faint grid.
std::vector<Rgba> GroundPixels(int w, int h) {
    std::vector<Rgba> p(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double t = double(y) / h;
            const double hill = h * (0.72 + 0.06 * std::sin(x * 0.013) + 0.03 * std::sin(x * 0.041 + 1.3));
            Rgba c;
            if (y > hill) {
                const double d = (y - hill) / (h - hill + 1);
                c = Rgba{uint8_t(30 + 20 * d), uint8_t(90 - 40 * d), uint8_t(60 - 20 * d), 255};
            } else {
                c = Rgba{uint8_t(40 + 150 * t), uint8_t(50 + 70 * t), uint8_t(120 + 40 * (1 - t)), 255};
            }
            if (x % 40 == 0 || y % 40 == 0) {
                c.r = uint8_t(c.r * 7 / 8);
                c.g = uint8_t(c.g * 7 / 8);
                c.b = uint8_t(c.b * 7 / 8);
            }
            p[size_t(y) * w + x] = c;
        }
    return p;
}

// A soft ball: a lit sphere whose alpha falls off smoothly at the rim.
std::vector<Rgba> BallPixels(int size, Rgba tint) {
    std::vector<Rgba> p(size_t(size) * size);
    const double r = size / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - r, dy = y + 0.5 - r;
            const double d = std::sqrt(dx * dx + dy * dy) / r;
            const double alpha = d >= 1 ? 0 : std::min(1.0, (1 - d) * 3.0);
            const double light = std::max(0.0, 1 - std::hypot(dx + r * 0.35, dy + r * 0.35) / (r * 1.4));
            auto mix = [&](uint8_t c) { return uint8_t(std::min(255.0, c * (0.55 + 0.45 * (1 - d)) + 200 * light * light)); };
            p[size_t(y) * size + x] = Rgba{mix(tint.r), mix(tint.g), mix(tint.b), uint8_t(alpha * 255)};
        }
    return p;
}

// A spinning wheel in four frames.
std::vector<std::vector<uint8_t>> WheelFrames(int size, int count) {
    std::vector<std::vector<uint8_t>> frames(size_t(count), std::vector<uint8_t>(size_t(size) * size, 0));
    const double r = size / 2.0, pi = 3.14159265358979;
    for (int f = 0; f < count; ++f)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const double dx = x + 0.5 - r, dy = y + 0.5 - r, d = std::hypot(dx, dy);
                uint8_t index = 0;  // background
                if (d < r - 1) {
                    const double angle = std::atan2(dy, dx) + f * (pi / 2) / count;
                    const int spoke = int(std::floor(angle / (pi / 4)) + 8) % 8;
                    index = uint8_t(d < r * 0.25 ? 15 : 1 + (spoke % 2) * 7 + int(d / r * 6));
                }
                frames[size_t(f)][size_t(y) * size + x] = index;
            }
    return frames;
}

struct Ball {
    CVorSprite sprite;
    double x, y, vx, vy;
    unsigned char alpha;
};

int Run(DemoHost& host) {
    CVorGraphics& g = host.Surface();
    const int W = host.Width(), H = host.Height();
    const int count = host.Options().sprites > 0 ? host.Options().sprites : 0;
    const int frames = host.Options().frames > 0 ? host.Options().frames : 1;

    // Pictures, generated and loaded back from files.
    const std::string groundPath = host.OutPath("sprites-ground.tga");
    if (!WriteFile(groundPath, TgaBytes(W, H, GroundPixels(W, H)))) return 1;
    CVorTga groundImage;
    if (!groundImage.Init(groundPath.c_str())) return 1;

    const Rgba tints[] = {{240, 80, 60, 255}, {70, 170, 250, 255}, {250, 210, 60, 255}, {120, 230, 120, 255}};
    const int sizes[] = {40, 28, 48, 22};
    CVorTga balls[4];
    for (int i = 0; i < 4; ++i) {
        const std::string path = host.OutPath("sprites-ball" + std::to_string(i) + ".tga");
        if (!WriteFile(path, TgaBytes(sizes[i], sizes[i], BallPixels(sizes[i], tints[i])))) return 1;
        if (!balls[i].Init(path.c_str())) return 1;
    }

    std::vector<Rgba> palette(16);
    palette[0] = Rgba{255, 0, 255, 255};  // keyed out
    for (int i = 1; i < 15; ++i) {
        const int k = (i - 1) % 7;
        palette[size_t(i)] = i < 8 ? Rgba{uint8_t(255 - k * 20), uint8_t(140 + k * 15), 40, 255}
                                   : Rgba{uint8_t(40 + k * 10), uint8_t(90 + k * 20), uint8_t(220 - k * 10), 255};
    }
    palette[15] = Rgba{255, 255, 255, 255};
    const std::string gifPath = host.OutPath("sprites-wheel.gif");
    if (!WriteFile(gifPath, GifBytes(64, 64, palette, WheelFrames(64, 4), 8))) return 1;
    CVorBitmap wheel;
    wheel.InitGif(std::wstring(gifPath.begin(), gifPath.end()).c_str());
    wheel.SetColorKey(255, 0, 255);
    std::printf("  wheel GIF: %d frames, delay %d/100 s\n", wheel.GetFrames(), wheel.GetDelayTime());

    CVorFont title(20, L"DejaVu Sans", Gdiplus::FontStyleBold);
    CVorFont small(12, L"DejaVu Sans", Gdiplus::FontStyleRegular);

    // Sprites.
    CVorSprite ground;
    ground.Init(&groundImage);
    CVorSprite wheelSprite;
    wheelSprite.Init(&wheel);  // animated: the frame stepper runs in UpDataAnimation
    std::vector<Ball> ballSprites(static_cast<size_t>(count));
    uint32_t seed = 12345;
    auto rnd = [&seed](double lo, double hi) {
        seed = seed * 1664525u + 1013904223u;
        return lo + (hi - lo) * ((seed >> 8) / double(1 << 24));
    };
    for (size_t i = 0; i < ballSprites.size(); ++i) {
        Ball& b = ballSprites[i];
        CVorTga* image = &balls[i % 4];
        b.sprite.Init(image);
        b.x = rnd(0, W - int(image->GetWidth()));
        b.y = rnd(0, H - int(image->GetHeight()));
        b.vx = rnd(-3, 3);
        b.vy = rnd(-3, 3);
        b.alpha = i % 5 == 0 ? 150 : 255;
    }
    CVorSprite titleText, titleShadow, counterText, counterShadow, infoText;

    LARGE_INTEGER freq, start, end;
    ::QueryPerformanceFrequency(&freq);
    ::QueryPerformanceCounter(&start);
    double dirtyArea = 0, dirtyRects = 0;
    char counter[64], info[128];
    std::snprintf(info, sizeof info, "%d balls, dirty rectangles only", count);
    for (int frame = 0; frame < frames; ++frame) {
        g.InitSprite();
        g.UpDataAnimation();
        g.AddSprite(&ground, 0, 0, 255);
        for (Ball& b : ballSprites) {
            const int bw = b.sprite.GetTga() ? int(b.sprite.GetTga()->GetWidth()) : 0;
            const int bh = b.sprite.GetTga() ? int(b.sprite.GetTga()->GetHeight()) : 0;
            b.x += b.vx;
            b.y += b.vy;
            if (b.x < 0 || b.x > W - bw) b.vx = -b.vx;
            if (b.y < 0 || b.y > H - bh) b.vy = -b.vy;
            g.AddSprite(&b.sprite, int(b.x), int(b.y), b.alpha);
        }
        g.AddSprite(&wheelSprite, W - 96, 24, 255);
        g.SetNowFont(&title);
        g.AddSprite(&titleText, &titleShadow, 20, 16, 360, 30, "VorImage4 sprites", Gdiplus::Color(255, 255, 255, 255),
                    Gdiplus::Color(200, 0, 0, 0), Gdiplus::StringAlignmentNear);
        std::snprintf(counter, sizeof counter, "Frame %d", frame + 1);
        g.AddSprite(&counterText, &counterShadow, 20, H - 44, 200, 30, counter, Gdiplus::Color(255, 255, 230, 90),
                    Gdiplus::Color(255, 0, 0, 0), Gdiplus::StringAlignmentNear);
        g.SetNowFont(&small);
        g.AddSprite(&infoText, W - 320, H - 36, 300, 20, info, Gdiplus::Color(255, 230, 240, 255),
                    Gdiplus::StringAlignmentFar);
        g.DrawSprite(true);

        dirtyRects += double(g.GetZang().GetRects().size());
        for (const CVorRect& r : g.GetZang().GetRects()) {
            const double x0 = std::max(0, r.X), y0 = std::max(0, r.Y);
            const double x1 = std::min<double>(W, double(r.X) + r.Width), y1 = std::min<double>(H, double(r.Y) + r.Height);
            if (x1 > x0 && y1 > y0) dirtyArea += (x1 - x0) * (y1 - y0);
        }
        if (!host.Pump()) break;
    }
    ::GdiFlush();
    ::QueryPerformanceCounter(&end);
    const double seconds = double(end.QuadPart - start.QuadPart) / double(freq.QuadPart);
    const double perFrame = dirtyArea / frames;
    std::printf("  %d frames, %d moving sprites: %.1f frames per second (%.2f s)\n", frames, count,
                seconds > 0 ? frames / seconds : 0.0, seconds);
    std::printf("  average dirty area per frame: %.0f pixels (%.1f%% of the %dx%d window), in %.1f rectangles\n",
                perFrame, 100.0 * perFrame / (double(W) * H), W, H, dirtyRects / frames);
    std::fflush(stdout);
    const bool shot = host.Screenshot("sprites");
    g.ClearSprite();  // the sprites die with this scene
    return shot ? 0 : 1;
}

DemoSceneRegistrar reg("sprites", 50, &Run);

}  // namespace
