// Scene "shapes": colour fills written into the back buffer, hatch and texture brush fills, lines
// of several widths and dash styles, rectangle frames, and text aligned near, centre and far in
// framed layout rectangles, all on one panel. The texture is a BMP file the scene writes and loads.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "DemoHost.h"
#include "ImageFileBytes.h"

namespace {

const wchar_t* kFace = L"DejaVu Sans";

// A small grey caption above a row.
void Caption(CVorGraphics& g, CVorFont& font, const wchar_t* text, int x, int y) {
    Gdiplus::SolidBrush grey(Gdiplus::Color(255, 70, 70, 80));
    g.Draw(text, x, y, &font, &grey);
}

void ColourFills(CVorGraphics& g, CVorFont& caption) {
    Caption(g, caption, L"colour fills (back buffer bytes; the first one is clipped by the left edge)", 20, 36);
    const unsigned char colours[][3] = {{220, 50, 47}, {133, 153, 0}, {38, 139, 210}, {181, 137, 0},
                                        {108, 113, 196}, {42, 161, 152}, {211, 54, 130}};
    int x = -40;
    for (const auto& c : colours) {
        g.FillRectangle(x, 58, 90, 60, c[0], c[1], c[2]);
        x += 110;
    }
}

void HatchFills(CVorGraphics& g, CVorFont& caption) {
    Caption(g, caption, L"hatch brushes", 20, 128);
    const Gdiplus::HatchStyle styles[] = {Gdiplus::HatchStyleCross,        Gdiplus::HatchStyleDiagonalCross,
                                          Gdiplus::HatchStyleHorizontal,   Gdiplus::HatchStyleForwardDiagonal,
                                          Gdiplus::HatchStyleLargeCheckerBoard, Gdiplus::HatchStyleDottedGrid,
                                          Gdiplus::HatchStyleZigZag};
    const Gdiplus::Color fores[] = {Gdiplus::Color(255, 200, 30, 30),  Gdiplus::Color(255, 20, 90, 200),
                                    Gdiplus::Color(255, 30, 140, 60),  Gdiplus::Color(255, 120, 40, 160),
                                    Gdiplus::Color(255, 40, 40, 40),   Gdiplus::Color(255, 200, 110, 0),
                                    Gdiplus::Color(255, 0, 120, 130)};
    const Gdiplus::Color back(255, 250, 246, 232);
    CVorBrush brush;
    for (int i = 0; i < 7; ++i) {
        brush.Init(styles[i], fores[i], back);
        g.FillRectangle(&brush, 20 + 110 * i, 150, 90, 60);
    }
}

void Lines(CVorGraphics& g, CVorFont& caption) {
    Caption(g, caption, L"lines: widths 1, 2, 4, 8 and dash styles solid, dash, dot, dash-dot, dash-dot-dot", 20, 222);
    const float widths[] = {1.0f, 2.0f, 4.0f, 8.0f};
    CVorPen pen;
    for (int i = 0; i < 4; ++i) {
        pen.Init(30, 40, 60, widths[i], Gdiplus::DashStyleSolid);
        g.DrawLine(&pen, 20, 252 + 18 * i, 250, 252 + 18 * i);
    }
    const Gdiplus::DashStyle dashes[] = {Gdiplus::DashStyleSolid, Gdiplus::DashStyleDash, Gdiplus::DashStyleDot,
                                         Gdiplus::DashStyleDashDot, Gdiplus::DashStyleDashDotDot};
    for (int i = 0; i < 5; ++i) {
        pen.Init(200, 40 + 30 * i, 40, 3.0f, dashes[i]);
        g.DrawLine(&pen, 400, 250 + 14 * i, 780, 250 + 14 * i);
    }
    // A fan of diagonals between the two groups.
    for (int i = 0; i < 6; ++i) {
        pen.Init(20 + 40 * i, 100, 220 - 30 * i, 2.0f, Gdiplus::DashStyleSolid);
        g.DrawLine(&pen, 270, 310, 380, 246 + 12 * i);
    }
}

void Frames(CVorGraphics& g, CVorFont& caption) {
    Caption(g, caption, L"rectangle frames", 20, 340);
    CVorPen pen;
    for (int i = 0; i < 6; ++i) {
        pen.Init(40 + 35 * i, 60, 200 - 25 * i, float(1 + i), i % 2 ? Gdiplus::DashStyleDash : Gdiplus::DashStyleSolid);
        g.DrawRectangle(&pen, 24 + 128 * i, 368, 100 - 6 * i, 60 - 4 * i);
    }
}

void AlignedText(CVorGraphics& g, CVorFont& caption) {
    Caption(g, caption, L"text in layout rectangles: near, centre, far (DejaVu Sans 14)", 20, 442);
    CVorFont font(14, kFace, Gdiplus::FontStyleRegular);
    CVorFont bold(14, kFace, Gdiplus::FontStyleBold);
    Gdiplus::SolidBrush ink(Gdiplus::Color(255, 20, 30, 60));
    Gdiplus::SolidBrush red(Gdiplus::Color(255, 190, 30, 30));
    CVorPen frame(120, 130, 150, 1.0f, Gdiplus::DashStyleDot);
    const Gdiplus::StringAlignment aligns[] = {Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter,
                                               Gdiplus::StringAlignmentFar};
    const wchar_t* words[] = {L"Near", L"Centre", L"Far"};
    for (int i = 0; i < 3; ++i) {
        const int x = 20 + 256 * i, y = 466, w = 240, h = 56;
        g.FillRectangle(x, y, w, h, 255, 255, 255);
        g.DrawRectangle(&frame, x, y, w, h);
        g.Draw(words[i], x, y, w, h, &bold, &red, aligns[i]);
        g.Draw(L"aligned text", x, y + 26, w, h - 26, &font, &ink, aligns[i]);
    }
}

// Writes a 24 x 24 brick tile as a 24-bit BMP file; false when the file cannot be written.
bool WriteBrickBmp(const std::string& path) {
    const int size = 24;
    return imagefile::WriteFile(path, imagefile::Bmp(size, size, 24, [](int x, int y) {
        // Two courses of bricks, the lower one shifted by half a brick; grey mortar lines.
        const int shifted = y < 12 ? x : (x + 12) % size;
        const bool mortar = y % 12 == 11 || shifted % 24 == 23;
        const int shade = (x * 3 + y * 5) % 20;
        return imagefile::Rgba{uint8_t(mortar ? 210 : 170 + shade), uint8_t(mortar ? 205 : 60 + shade),
                               uint8_t(mortar ? 200 : 40 + shade), 255};
    }));
}

void TextureFills(DemoHost& host, CVorGraphics& g, CVorFont& caption) {
    const std::string path = host.OutPath("shapes-brick.bmp");
    if (!WriteBrickBmp(path)) return;
    CVorBitmap brick(std::wstring(path.begin(), path.end()).c_str());
    CVorBrush tiled, flipped;
    tiled.Init(&brick, Gdiplus::WrapModeTile);
    flipped.Init(&brick, Gdiplus::WrapModeTileFlipXY);
    if (!tiled.GetTextureBrush()) return;  // no GDI+ bitmap: nothing to show
    Caption(g, caption, L"texture brushes from a generated BMP: the pattern starts at each rectangle's corner "
                        L"(tile, tile, flip XY)", 20, 532);
    g.FillRectangle(&tiled, 20, 554, 230, 36);
    g.FillRectangle(&tiled, 276, 561, 230, 29);
    g.FillRectangle(&flipped, 532, 554, 248, 36);
}

int Run(DemoHost& host) {
    CVorGraphics& g = host.Surface();
    if (!g.GetPixels() || !g.GetGraphics()) return 1;
    g.FillRectangle(0, 0, host.Width(), host.Height(), 236, 232, 222);

    CVorFont title(16, kFace, Gdiplus::FontStyleBold);
    CVorFont caption(9, kFace, Gdiplus::FontStyleRegular);
    Gdiplus::SolidBrush dark(Gdiplus::Color(255, 30, 30, 40));
    g.Draw(L"VorImage4: shapes and text", 20, 8, &title, &dark);

    ColourFills(g, caption);
    HatchFills(g, caption);
    Lines(g, caption);
    Frames(g, caption);
    AlignedText(g, caption);
    TextureFills(host, g, caption);

    g.GetGraphics()->Flush(Gdiplus::FlushIntentionSync);
    host.PresentAll();
    return host.Screenshot("shapes") ? 0 : 1;
}

DemoSceneRegistrar reg("shapes", 30, &Run);
}  // namespace
