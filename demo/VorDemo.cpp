// VorDemo - a host program: a real window, a VorImage4 surface bound to it, a frame drawn into
// the back buffer, presented with DrawDC, and a PNG screenshot of the window.
//
//   VorDemo.exe [--out DIR]
#include <cstdio>
#include <cstring>
#include <string>

#include "DemoScreenshot.h"
#include "VorImage4.h"

namespace {
const int kWidth = 800;
const int kHeight = 600;

LRESULT CALLBACK DemoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) return 1;  // the surface paints everything
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DemoProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "VorDemoWindow";
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    ::RegisterClassA(&wc);
    RECT r = {0, 0, kWidth, kHeight};
    ::AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND hwnd = ::CreateWindowA("VorDemoWindow", "VorImage4 demo", WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    ::ShowWindow(hwnd, SW_SHOW);
    ::UpdateWindow(hwnd);
    return hwnd;
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// A vertical sky-to-ground gradient written straight into the back buffer.
void PaintGradient(CVorGraphics& g) {
    BYTE* pixels = g.GetPixels();
    if (!pixels) return;
    for (int y = 0; y < kHeight; ++y) {
        BYTE* row = pixels + y * g.GetStride();
        for (int x = 0; x < kWidth; ++x) {
            row[3 * x + 0] = BYTE(160 - y * 100 / kHeight);  // blue
            row[3 * x + 1] = BYTE(90 + y * 60 / kHeight);    // green
            row[3 * x + 2] = BYTE(40 + x * 60 / kWidth);     // red
        }
    }
}
}  // namespace

int main(int argc, char** argv) {
    std::string outDir = "out";
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) outDir = argv[++i];

    HWND hwnd = MakeWindow();
    CWnd wnd(hwnd);
    CClientDC target(&wnd);

    CVorGraphics surface;
    surface.GdiInit();
    if (!surface.Init(kWidth, kHeight)) {
        std::fprintf(stderr, "could not make the back buffer\n");
        return 1;
    }
    surface.InitGraphics(&target);

    PaintGradient(surface);
    surface.GetZang().AddRect(CVorRect(0, 0, kWidth, kHeight));
    surface.DrawDC();
    ::GdiFlush();
    Pump();

    ::CreateDirectoryA(outDir.c_str(), nullptr);
    std::wstring path(outDir.begin(), outDir.end());
    path += L"\\demo.png";
    const bool saved = SaveClientPng(hwnd, path.c_str());
    std::printf("demo: %dx%d frame presented; screenshot %s: %s/demo.png\n", kWidth, kHeight,
                saved ? "saved" : "FAILED", outDir.c_str());
    surface.DeleteGraphics();
    ::DestroyWindow(hwnd);
    return saved ? 0 : 1;
}
