// buttons_panel: a small menu screen. A nine-cell panel (CGameBackImage, its cells are bitmap
// resources of this program, see buttons_panel.rc) holds three image buttons (CVorButton) with
// text labels. The window procedure forwards mouse messages to the buttons; a click comes back as
// WM_COMMAND with the button's id.
//
//   buttons_panel.exe          runs until Exit is clicked or the window is closed
//   buttons_panel.exe --auto   clicks Start, the disabled Options and Exit by posting mouse
//                              messages to its own window (the road a user's clicks take)
#include <cstdio>
#include <cstring>
#include <vector>

#include "VorImage4.h"

namespace {

enum { kStart = 1, kOptions = 2, kExit = 3 };
const int W = 480, H = 360;
const int kFaceW = 180, kFaceH = 40;

// Nine panel cells, in cell order (corners, edges, centre), as numbered in buttons_panel.rc.
const unsigned int kPanelCells[9] = {201, 202, 203, 204, 205, 206, 207, 208, 209};

// The menu's state, reached from the window procedure.
struct Menu {
    CVorButton buttons[3];
    int clicks = 0;
} g_menu;

LRESULT CALLBACK MenuProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
    switch (msg) {
    case WM_MOUSEMOVE:  // every button sees every mouse event and decides whether it concerns it
        for (CVorButton& b : g_menu.buttons) b.OnMouseMove(x, y);
        return 0;
    case WM_LBUTTONDOWN:
        for (CVorButton& b : g_menu.buttons) b.OnMouseDown(x, y);
        return 0;
    case WM_LBUTTONUP:
        for (CVorButton& b : g_menu.buttons) b.OnMouseUp(x, y);
        return 0;
    case WM_COMMAND:  // sent by a button when a press and a release both landed on it
        ++g_menu.clicks;
        if (LOWORD(wParam) == kStart) std::printf("buttons_panel: Start clicked\n");
        if (LOWORD(wParam) == kOptions) std::printf("buttons_panel: Options clicked\n");
        if (LOWORD(wParam) == kExit) {
            std::printf("buttons_panel: Exit clicked, %d commands\n", g_menu.clicks);
            ::PostQuitMessage(0);
        }
        std::fflush(stdout);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the surface paints the whole client area
    case WM_CLOSE:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Fill colour (blue, green, red) of each face: normal, hover, pressed, disabled.
const unsigned char kFill[4][3] = {{181, 109, 47}, {220, 143, 74}, {134, 79, 31}, {112, 98, 91}};

// A strip of four faces (normal, hover, pressed, disabled) as a memory image: 24-bit rows handed
// over as a host holds DIB pixels. A memory image's source rectangle counts rows from the start of
// the block and shows them upright, so face k is block rows 40k..40k+39, each face bottom row first.
// Each face is a framed flat button.
struct FaceStrip {
    BITMAPINFO info = {};
    std::vector<unsigned char> bits;
    FaceStrip() {
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kFaceW;
        info.bmiHeader.biHeight = 4 * kFaceH;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        for (int face = 0; face < 4; ++face)
            for (int y = kFaceH - 1; y >= 0; --y)  // the face's bottom row first
                for (int x = 0; x < kFaceW; ++x) {
                    const bool frame = x < 2 || y < 2 || x >= kFaceW - 2 || y >= kFaceH - 2;
                    for (int c = 0; c < 3; ++c) bits.push_back(frame ? kFill[face][c] / 2 : kFill[face][c]);
                }
    }
};

// Which face the back buffer shows inside a button (-1: none of them).
int FaceShown(CVorGraphics& surface, const CVorButton& b) {
    const BYTE* p = surface.GetPixels() + (b.GetY() + 20) * surface.GetStride() + 3 * (b.GetX() + 10);
    for (int face = 0; face < 4; ++face)
        if (p[0] == kFill[face][0] && p[1] == kFill[face][1] && p[2] == kFill[face][2]) return face;
    return -1;
}

// Posts a click (move, press, release) at the middle of a button to the window.
void PostClick(HWND hwnd, const CVorButton& b) {
    const LPARAM at = MAKELPARAM(b.GetX() + b.GetWidth() / 2, b.GetY() + b.GetHeight() / 2);
    ::PostMessageA(hwnd, WM_MOUSEMOVE, 0, at);
    ::PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(hwnd, WM_LBUTTONUP, 0, at);
}

}  // namespace

int main(int argc, char** argv) {
    const bool automatic = argc > 1 && std::strcmp(argv[1], "--auto") == 0;

    // A window whose procedure forwards the mouse to the buttons.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &MenuProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "ButtonsPanelExample";
    ::RegisterClassA(&wc);
    RECT r = {0, 0, W, H};
    ::AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND hwnd = ::CreateWindowA(wc.lpszClassName, "buttons panel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    CWnd wnd(hwnd);
    CClientDC dc(&wnd);

    CVorGraphics surface;
    surface.GdiInit();  // GDI+ first, before any picture, brush or font exists
    if (!surface.Init(W, H)) return 1;
    surface.InitGraphics(&dc);

    // Ground, panel and buttons. The panel's cells come from this executable (module name null).
    CVorColor groundColour(19, 27, 41);
    CVorSprite ground;
    ground.Init(&groundColour);
    CGameBackImage panel;
    panel.InitBackImage(&surface, Gdiplus::Rect(110, 40, 260, 280), kPanelCells, nullptr);
    if (panel.GetCell(0)->GetWidth() == 0) {
        std::printf("buttons_panel: the panel cells are missing from the resources\n");
        return 1;
    }
    FaceStrip strip;
    CVorBitmap faces(strip.bits.data(), int(strip.bits.size()), strip.info, 0);
    const char* labels[3] = {"Start", "Options", "Exit"};
    for (int i = 0; i < 3; ++i)  // each button: parent window, command id, place, strip of 4 faces
        g_menu.buttons[i].Init(&wnd, kStart + i, 150, 90 + 60 * i, &faces, 4);
    g_menu.buttons[1].Enable(0);  // not offered yet: shows the disabled face, ignores the mouse

    CVorFont font(14, L"DejaVu Sans", Gdiplus::FontStyleBold);
    surface.SetNowFont(&font);
    CVorSprite labelSprites[3];

    bool running = true;
    for (int frame = 0; running; ++frame) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) running = false;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (automatic) {
            if (frame == 1)  // first frame drawn: normal (0), disabled (3), normal (0)
                std::printf("buttons_panel: faces %d %d %d\n", FaceShown(surface, g_menu.buttons[0]),
                            FaceShown(surface, g_menu.buttons[1]), FaceShown(surface, g_menu.buttons[2]));
            if (frame == 2) PostClick(hwnd, g_menu.buttons[0]);  // Start
            if (frame == 4) PostClick(hwnd, g_menu.buttons[1]);  // Options: disabled, nothing comes
            if (frame == 6) PostClick(hwnd, g_menu.buttons[2]);  // Exit
            if (frame == 100) break;                              // Exit never came
        }

        // One frame, back to front: ground, panel, each button's current face, the labels.
        surface.InitSprite();
        surface.AddSprite(&ground, 0, 0, W, H, 0, 0, 255);
        panel.Render(1);
        for (CVorButton& b : g_menu.buttons) surface.AddSprite(&b);
        for (int i = 0; i < 3; ++i) {
            const CVorButton& b = g_menu.buttons[i];
            const Gdiplus::Color ink = b.GetEnable() ? Gdiplus::Color(255, 255, 255, 255) : Gdiplus::Color(255, 170, 170, 170);
            surface.AddSprite(&labelSprites[i], b.GetX(), b.GetY() + 10, b.GetWidth(), 22, labels[i], ink,
                              Gdiplus::StringAlignmentCenter);
        }
        surface.DrawSprite(true);  // redraws what changed and presents it to the window
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 15, QS_ALLINPUT);
    }

    surface.ClearSprite();  // the sprites die with this function
    ::DestroyWindow(hwnd);
    return automatic && g_menu.clicks != 2 ? 1 : 0;
}
