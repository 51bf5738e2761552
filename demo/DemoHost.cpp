#include "DemoHost.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "DemoScreenshot.h"

namespace {
struct SceneEntry {
    const char* name;
    int order;
    DemoSceneFn run;
};

std::vector<SceneEntry>& Scenes() {
    static std::vector<SceneEntry> scenes;
    return scenes;
}
}  // namespace

DemoSceneRegistrar::DemoSceneRegistrar(const char* name, int order, DemoSceneFn run) {
    Scenes().push_back(SceneEntry{name, order, run});
}

LRESULT CALLBACK DemoHost::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DemoHost* self = reinterpret_cast<DemoHost*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // the surface paints everything
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        if (self && self->m_mouse)
            self->m_mouse(self->m_mouseContext, msg, short(LOWORD(lParam)), short(HIWORD(lParam)));
        return 0;
    case WM_COMMAND:
        if (self && self->m_command) self->m_command(self->m_commandContext, int(LOWORD(wParam)));
        return 0;
    case WM_CLOSE:
        if (self) self->m_closed = true;
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

DemoHost::DemoHost(int width, int height, const DemoOptions& options)
    : m_width(width), m_height(height), m_options(options), m_hwnd(nullptr), m_target(nullptr), m_closed(false),
      m_mouse(nullptr), m_mouseContext(nullptr), m_command(nullptr), m_commandContext(nullptr) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &DemoHost::Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "VorDemoWindow";
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    ::RegisterClassA(&wc);
    RECT r = {0, 0, width, height};
    ::AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    m_hwnd = ::CreateWindowA("VorDemoWindow", "VorImage4 demo", WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_wnd.Attach(m_hwnd);
    ::ShowWindow(m_hwnd, SW_SHOW);
    ::UpdateWindow(m_hwnd);
    m_target = new CClientDC(&m_wnd);

    m_surface.GdiInit();
    m_surface.Init(width, height);
    m_surface.InitGraphics(m_target);
    ::CreateDirectoryA(m_options.outDir.c_str(), nullptr);
}

DemoHost::~DemoHost() {
    m_surface.DeleteGraphics();
    delete m_target;
    ::DestroyWindow(m_hwnd);
}

bool DemoHost::Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return !m_closed;
}

void DemoHost::PresentAll() {
    m_surface.GetZang().ClearRect();
    m_surface.GetZang().AddRect(CVorRect(0, 0, m_width, m_height));
    m_surface.DrawDC();
    ::GdiFlush();
    Pump();
}

std::string DemoHost::OutPath(const std::string& file) const { return m_options.outDir + "\\" + file; }

bool DemoHost::Screenshot(const std::string& name) {
    ::GdiFlush();
    Pump();
    std::string path = OutPath("demo-" + name + ".png");
    std::wstring wide(path.begin(), path.end());
    const bool ok = SaveClientPng(m_hwnd, wide.c_str());
    std::string shown = m_options.outDir + "/demo-" + name + ".png";
    std::printf("  screenshot %s: %s\n", ok ? "saved" : "FAILED", shown.c_str());
    std::fflush(stdout);
    return ok;
}

void DemoHost::SetMouseHandler(MouseHandler handler, void* context) {
    m_mouse = handler;
    m_mouseContext = context;
}

void DemoHost::SetCommandHandler(CommandHandler handler, void* context) {
    m_command = handler;
    m_commandContext = context;
}

// Runs the named scene, or every scene in order ("all").
int RunDemoScenes(DemoHost& host, const std::string& which) {
    std::vector<SceneEntry> scenes = Scenes();
    std::stable_sort(scenes.begin(), scenes.end(),
                     [](const SceneEntry& a, const SceneEntry& b) { return a.order < b.order; });
    int failures = 0, ran = 0;
    for (const SceneEntry& scene : scenes) {
        if (which != "all" && which != scene.name) continue;
        std::printf("scene %s\n", scene.name);
        std::fflush(stdout);
        ++ran;
        if (scene.run(host) != 0) {
            std::printf("  scene %s FAILED\n", scene.name);
            ++failures;
        }
    }
    if (ran == 0) {
        std::printf("no scene named %s; scenes:", which.c_str());
        for (const SceneEntry& scene : scenes) std::printf(" %s", scene.name);
        std::printf("\n");
        return 1;
    }
    return failures;
}
