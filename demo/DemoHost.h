// The demo host: one window, one surface, and a set of scenes, each drawing something into the
// surface, presenting it and saving a screenshot. Scenes register themselves by name.
#pragma once
#include <string>

#include "VorImage4.h"

struct DemoOptions {
    std::string outDir = "out";
    int sprites = 200;  // moving sprites in the animated scene
    int frames = 300;   // frames the animated scene runs
    // Interactive scenes (buttons): 0 plays a scripted set of clicks; above 0 waits for a real user
    // until Quit is clicked or this many seconds have passed.
    int interactiveSeconds = 0;
    std::string logPath;  // interactive scenes report their layout and commands here
};

class DemoHost {
public:
    DemoHost(int width, int height, const DemoOptions& options);
    ~DemoHost();

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    HWND Window() const { return m_hwnd; }
    CWnd* Wnd() { return &m_wnd; }
    CVorGraphics& Surface() { return m_surface; }
    const DemoOptions& Options() const { return m_options; }

    // Handles pending window messages; false once the window was closed.
    bool Pump();
    // Marks the whole surface dirty and presents it (for scenes that draw directly).
    void PresentAll();
    // Saves the window's client area as OUT/demo-NAME.png and prints the path.
    bool Screenshot(const std::string& name);
    // Path of a file in the output folder (e.g. generated assets).
    std::string OutPath(const std::string& file) const;

    // Mouse messages received since the last call are handed to this callback (buttons use it).
    typedef void (*MouseHandler)(void* context, UINT message, int x, int y);
    void SetMouseHandler(MouseHandler handler, void* context);
    typedef void (*CommandHandler)(void* context, int commandId);
    void SetCommandHandler(CommandHandler handler, void* context);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    int m_width;
    int m_height;
    DemoOptions m_options;
    HWND m_hwnd;
    CWnd m_wnd;
    CClientDC* m_target;
    CVorGraphics m_surface;
    bool m_closed;
    MouseHandler m_mouse;
    void* m_mouseContext;
    CommandHandler m_command;
    void* m_commandContext;
};

// A scene: draws into the host's surface and returns 0 on success.
typedef int (*DemoSceneFn)(DemoHost& host);

// Registers a scene at start-up: static DemoSceneRegistrar reg("name", order, &Run);
// Scenes run in ascending order when the demo runs them all.
struct DemoSceneRegistrar {
    DemoSceneRegistrar(const char* name, int order, DemoSceneFn run);
};
