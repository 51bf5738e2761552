// Shared test helpers: GDI+ start-up, a real window, pixel access and GDI object counts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "VorImage4.h"

struct Bgr {
    uint8_t b, g, r;
    bool operator==(const Bgr& o) const { return b == o.b && g == o.g && r == o.r; }
    bool operator!=(const Bgr& o) const { return !(*this == o); }
};
std::string ToString(const Bgr& c);  // for doctest messages

// Starts GDI+ once for the test process (through a surface's GdiInit, as a host does).
void EnsureGdiplus();

// Pixel (x, y) of a surface's back buffer.
Bgr PixelAt(const CVorGraphics& g, int x, int y);
// Fills every byte of the back buffer (row padding included) with value.
void FillBytes(CVorGraphics& g, uint8_t value);
// A copy of every byte of the back buffer (height * stride).
std::vector<uint8_t> Snapshot(const CVorGraphics& g);

// GDI objects the process holds now.
unsigned GdiObjectCount();

// A real top-level window (shown) under the test display. Records WM_COMMAND messages.
class TestWindow {
public:
    TestWindow(int clientWidth, int clientHeight, const char* title = "VorImage4 test");
    ~TestWindow();
    HWND Handle() const { return m_hwnd; }
    CWnd* Wnd() { return &m_wnd; }
    // Handles pending messages.
    void Pump();
    // Client-area pixel (x, y) as the screen shows it.
    Bgr ClientPixel(int x, int y);
    // The whole client area, top row first, 3 bytes a pixel (b, g, r), no padding.
    std::vector<uint8_t> CaptureClient();
    int ClientWidth() const { return m_width; }
    int ClientHeight() const { return m_height; }

    struct Command {
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Command> commands;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd;
    CWnd m_wnd;
    int m_width;
    int m_height;
};

// Writes bytes to a file (for loaders under test); returns the path.
std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes);
