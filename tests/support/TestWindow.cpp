#include "TestSupport.h"
#include "ImageFileBytes.h"

#include <cstdio>
#include <cstring>

#include <winternl.h>

std::string ToString(const Bgr& c) {
    char text[48];
    std::snprintf(text, sizeof text, "(b%d g%d r%d)", c.b, c.g, c.r);
    return text;
}

void EnsureGdiplus() {
    static bool started = false;
    if (started) return;
    CVorGraphics starter;
    starter.GdiInit();
    started = true;
}

Bgr PixelAt(const CVorGraphics& g, int x, int y) {
    const BYTE* p = g.GetPixels() + y * g.GetStride() + 3 * x;
    return Bgr{p[0], p[1], p[2]};
}

void FillBytes(CVorGraphics& g, uint8_t value) {
    if (g.GetPixels()) std::memset(g.GetPixels(), value, size_t(g.GetStride()) * g.GetHeight());
}

std::vector<uint8_t> Snapshot(const CVorGraphics& g) {
    if (!g.GetPixels()) return {};
    return std::vector<uint8_t>(g.GetPixels(), g.GetPixels() + size_t(g.GetStride()) * g.GetHeight());
}

namespace {
// Wine's GetGuiResources is a stub that answers 0; wine does keep the process's GDI handles in one
// table of 0x10000 entries of 24 bytes: a handle's low 16 bits index it, its high 16 bits equal the
// entry's "unique" word (offset 12), and the type byte (offset 14) is non-zero while in use.
const size_t kEntrySize = 24, kUniqueOffset = 12, kTypeOffset = 14, kEntries = 0x10000;

bool TableHolds(const BYTE* table, const MEMORY_BASIC_INFORMATION& region, const std::vector<HGDIOBJ>& handles) {
    const BYTE* end = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize;
    for (HGDIOBJ h : handles) {
        const uintptr_t value = reinterpret_cast<uintptr_t>(h);
        const BYTE* entry = table + (value & 0xFFFF) * kEntrySize;
        if (entry < static_cast<const BYTE*>(region.BaseAddress) || entry + kEntrySize > end) return false;
        if (*reinterpret_cast<const WORD*>(entry + kUniqueOffset) != WORD(value >> 16)) return false;
    }
    return true;
}

// The 64-bit PEB points to the table (GdiSharedHandleTable); 32-bit wine leaves that field null, so
// there the table is found by looking for the region whose entries match a few fresh handles.
const BYTE* FindWineGdiTable() {
#if defined(_WIN64)
    const BYTE* peb = reinterpret_cast<const BYTE*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + 0xF8);
    if (table) return table;
#endif
    std::vector<HGDIOBJ> probes;
    for (int i = 0; i < 4; ++i) probes.push_back(::CreateSolidBrush(RGB(i, 1, 2)));
    const BYTE* found = nullptr;
    MEMORY_BASIC_INFORMATION region;
    const BYTE* at = nullptr;
    while (!found && ::VirtualQuery(at, &region, sizeof region) == sizeof region) {
        const BYTE* base = static_cast<const BYTE*>(region.BaseAddress);
        const bool readable = region.State == MEM_COMMIT && (region.Protect & (PAGE_READWRITE | PAGE_READONLY));
        const BYTE* table = static_cast<const BYTE*>(region.AllocationBase);
        if (readable && TableHolds(table, region, probes)) found = table;
        if (base + region.RegionSize <= base) break;
        at = base + region.RegionSize;
    }
    for (HGDIOBJ h : probes) ::DeleteObject(h);
    return found;
}

unsigned CountWineGdiHandles() {
    static const BYTE* table = FindWineGdiTable();
    if (!table) return 0;
    unsigned count = 0;
    for (size_t i = 0; i < kEntries; ++i)
        if (table[i * kEntrySize + kTypeOffset] != 0) ++count;
    return count;
}
}  // namespace

unsigned GdiObjectCount() {
    unsigned count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    return count ? count : CountWineGdiHandles();
}

namespace {
const char* kClassName = "VorImage4TestWindow";
}

LRESULT CALLBACK TestWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TestWindow* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_COMMAND && self) {
        self->commands.push_back(Command{wParam, lParam});
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;  // keep what was presented
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

TestWindow::TestWindow(int clientWidth, int clientHeight, const char* title)
    : m_hwnd(nullptr), m_width(clientWidth), m_height(clientHeight) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &TestWindow::Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        ::RegisterClassA(&wc);
        registered = true;
    }
    RECT r = {0, 0, clientWidth, clientHeight};
    ::AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    m_hwnd = ::CreateWindowA(kClassName, title, WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left, r.bottom - r.top,
                             nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_wnd.Attach(m_hwnd);
    ::ShowWindow(m_hwnd, SW_SHOW);
    ::UpdateWindow(m_hwnd);
    Pump();
}

TestWindow::~TestWindow() {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
    Pump();
}

void TestWindow::Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

std::vector<uint8_t> TestWindow::CaptureClient() {
    std::vector<uint8_t> out(size_t(m_width) * m_height * 3);
    HDC windowDC = ::GetDC(m_hwnd);
    HDC memDC = ::CreateCompatibleDC(windowDC);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memDC, dib);
    ::BitBlt(memDC, 0, 0, m_width, m_height, windowDC, 0, 0, SRCCOPY);
    ::GdiFlush();
    const int stride = (m_width * 3 + 3) & ~3;
    for (int y = 0; y < m_height; ++y)
        std::memcpy(&out[size_t(y) * m_width * 3], static_cast<uint8_t*>(bits) + size_t(y) * stride, size_t(m_width) * 3);
    ::SelectObject(memDC, old);
    ::DeleteObject(dib);
    ::DeleteDC(memDC);
    ::ReleaseDC(m_hwnd, windowDC);
    return out;
}

Bgr TestWindow::ClientPixel(int x, int y) {
    HDC dc = ::GetDC(m_hwnd);
    COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(m_hwnd, dc);
    return Bgr{GetBValue(c), GetGValue(c), GetRValue(c)};
}

std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + name;
    imagefile::WriteFile(path, bytes);
    return path;
}
