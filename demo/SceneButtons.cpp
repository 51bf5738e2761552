// Scene "buttons": a menu screen. Coloured blocks drift over a hatched ground; in front of them a
// nine-cell panel (CGameBackImage) holds three image buttons (CVorButton) and a status line. The
// window's mouse messages go to the buttons, and their WM_COMMAND messages pause the animation,
// add blocks ("More blocks" is disabled once the maximum is reached) and quit.
//
// By default the scene plays a script of real window messages (posted to the window, so they take
// the same road as the user's) and saves a screenshot showing the hover, disabled and pressed
// faces. With --interactive SECONDS it waits for a real user instead and, with --log FILE, writes
// the buttons' screen places and face colours and every command it receives there.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "DemoHost.h"
#include "DemoResourceIds.h"

namespace {

enum Command { kPause = 1001, kMore = 1002, kQuit = 1003 };

const int kMaxBlocks = 40;
const int kStartBlocks = 16;
const int kBlocksPerClick = 12;

struct Block {
    CVorColor colour;
    CVorSprite sprite;
    int x, y, dx, dy, size;
};

struct ButtonSpec {
    int id;
    const char* name;
    unsigned int strip;
};
const ButtonSpec kButtons[3] = {{kPause, "pause", IDB_BUTTON_PAUSE},
                                {kMore, "more", IDB_BUTTON_MORE},
                                {kQuit, "quit", IDB_BUTTON_QUIT}};

// Where the face colours are sampled for the log: left of the label, inside the fill.
const int kSampleX = 12, kSampleY = 22;

struct Menu {
    DemoHost& host;
    CVorBitmap strips[3];
    CVorButton buttons[3];
    int blocks = kStartBlocks;
    bool paused = false;
    bool quit = false;
    std::vector<int> commands;
    FILE* log = nullptr;

    explicit Menu(DemoHost& h) : host(h) {}

    CVorButton& Button(int id) { return buttons[id - kPause]; }

    void OnCommand(int id) {
        commands.push_back(id);
        if (id == kPause) paused = !paused;
        if (id == kMore && blocks < kMaxBlocks) {
            blocks = std::min(kMaxBlocks, blocks + kBlocksPerClick);
            if (blocks == kMaxBlocks) Button(kMore).Enable(0);
        }
        if (id == kQuit) quit = true;
        std::printf("  WM_COMMAND %d (%s)\n", id, id == kPause ? "pause" : id == kMore ? "more" : "quit");
        std::fflush(stdout);
        if (log) {
            std::fprintf(log, "command %d\n", id);
            std::fflush(log);
        }
    }

    void OnMouse(UINT message, int x, int y) {
        for (CVorButton& b : buttons) {
            if (message == WM_MOUSEMOVE) b.OnMouseMove(x, y);
            if (message == WM_LBUTTONDOWN) b.OnMouseDown(x, y);
            if (message == WM_LBUTTONUP) b.OnMouseUp(x, y);
        }
    }

    // The buttons' places on the screen and the colour of each face at the sample point.
    void LogLayout() {
        if (!log) return;
        RECT window;
        ::GetWindowRect(host.Window(), &window);
        POINT origin = {0, 0};
        ::ClientToScreen(host.Window(), &origin);
        std::fprintf(log, "window %ld %ld client %ld %ld\n", window.left, window.top, origin.x, origin.y);
        for (int i = 0; i < 3; ++i) {
            const CVorButton& b = buttons[i];
            std::fprintf(log, "button %d %s %d %d %d %d sample %d %d faces", kButtons[i].id, kButtons[i].name,
                         b.GetX(), b.GetY(), b.GetWidth(), b.GetHeight(), kSampleX, kSampleY);
            for (int face = 0; face < 4; ++face) {
                Gdiplus::Color c;
                if (strips[i].GetBitmap()) strips[i].GetBitmap()->GetPixel(kSampleX, face * b.GetHeight() + kSampleY, &c);
                std::fprintf(log, " %02x%02x%02x", c.GetR(), c.GetG(), c.GetB());
            }
            std::fprintf(log, "\n");
        }
        std::fprintf(log, "ready\n");
        std::fflush(log);
    }
};

// A scripted user: real mouse messages posted to the window at given frames.
struct ScriptStep {
    int frame;
    UINT message;
    int button;  // index of the button aimed at
};
const ScriptStep kScript[] = {
    {4, WM_MOUSEMOVE, 1},   {5, WM_LBUTTONDOWN, 1}, {6, WM_LBUTTONUP, 1},    // more: 28 blocks
    {9, WM_LBUTTONDOWN, 1}, {10, WM_LBUTTONUP, 1},                           // more: 40, disabled
    {12, WM_LBUTTONDOWN, 1}, {13, WM_LBUTTONUP, 1},                          // disabled: nothing
    {16, WM_MOUSEMOVE, 0},  {17, WM_LBUTTONDOWN, 0}, {18, WM_LBUTTONUP, 0},  // pause
    {24, WM_LBUTTONDOWN, 0}, {25, WM_LBUTTONUP, 0},                          // resume
    {40, WM_MOUSEMOVE, 0},                                                   // hover over pause
    {41, WM_LBUTTONDOWN, 2},                                                 // press on quit, held
};
const int kScreenshotFrame = 46;
const int kReleaseFrame = 47;

int Run(DemoHost& host) {
    CVorGraphics& g = host.Surface();
    const int W = host.Width(), H = host.Height();
    const int panelX = W / 2 - 150, panelY = 130, panelW = 300, panelH = 320;

    Menu menu(host);
    if (!host.Options().logPath.empty()) menu.log = std::fopen(host.Options().logPath.c_str(), "w");

    // Ground: a hatch over the whole window.
    CVorBrush groundBrush(Gdiplus::HatchStyleDiagonalCross, Gdiplus::Color(255, 0x1f, 0x2c, 0x40),
                          Gdiplus::Color(255, 0x13, 0x1b, 0x29));
    CVorSprite ground;
    ground.Init(&groundBrush);

    // Drifting blocks: a fixed pool (listed sprites must not move in memory); the first `blocks`
    // of them are shown.
    std::vector<Block> pool(kMaxBlocks);
    for (int i = 0; i < kMaxBlocks; ++i) {
        Block& b = pool[size_t(i)];
        b.colour.Init((unsigned char)(90 + (i * 53) % 160), (unsigned char)(80 + (i * 97) % 170),
                      (unsigned char)(120 + (i * 31) % 130));
        b.sprite.Init(&b.colour);
        b.size = 14 + (i * 7) % 22;
        b.x = (i * 137) % (W - b.size);
        b.y = (i * 89) % (H - b.size);
        b.dx = 1 + i % 4;
        b.dy = 1 + (i * 3) % 3;
        if (i % 2) b.dx = -b.dx;
    }

    // The panel and its buttons, from the executable's bitmap resources.
    const unsigned int cells[9] = {IDB_PANEL_TL, IDB_PANEL_T,  IDB_PANEL_TR, IDB_PANEL_L, IDB_PANEL_R,
                                   IDB_PANEL_BL, IDB_PANEL_B, IDB_PANEL_BR, IDB_PANEL_C};
    CGameBackImage panel;
    panel.InitBackImage(&g, Gdiplus::Rect(panelX, panelY, panelW, panelH), cells, nullptr);
    for (int i = 0; i < 3; ++i) {
        menu.strips[i].Init(kButtons[i].strip);
        menu.buttons[i].Init(host.Wnd(), kButtons[i].id, panelX + 50, panelY + 80 + 64 * i, &menu.strips[i], 4);
        if (menu.buttons[i].GetWidth() == 0) {
            std::printf("  button strip %u did not load\n", kButtons[i].strip);
            return 1;
        }
    }

    CVorFont titleFont(22, L"DejaVu Sans", Gdiplus::FontStyleBold);
    CVorFont statusFont(13, L"DejaVu Sans", Gdiplus::FontStyleRegular);
    CVorSprite title, titleShadow, status;

    host.SetMouseHandler([](void* m, UINT message, int x, int y) { static_cast<Menu*>(m)->OnMouse(message, x, y); },
                         &menu);
    host.SetCommandHandler([](void* m, int id) { static_cast<Menu*>(m)->OnCommand(id); }, &menu);

    const bool interactive = host.Options().interactiveSeconds > 0;
    const DWORD deadline = ::GetTickCount() + DWORD(host.Options().interactiveSeconds) * 1000u;
    bool shot = true, running = true;
    char statusText[96];
    for (int frame = 0; running && !menu.quit; ++frame) {
        if (!interactive) {
            for (const ScriptStep& step : kScript) {
                if (step.frame != frame) continue;
                const CVorButton& target = menu.buttons[step.button];
                const int x = target.GetX() + target.GetWidth() / 2, y = target.GetY() + target.GetHeight() / 2;
                ::PostMessageA(host.Window(), step.message, step.message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                               MAKELPARAM(x, y));
            }
            if (frame == kReleaseFrame) {  // release on quit: the command ends the scene
                const CVorButton& quit = menu.buttons[2];
                ::PostMessageA(host.Window(), WM_LBUTTONUP, 0,
                               MAKELPARAM(quit.GetX() + 5, quit.GetY() + 5));
            }
            if (frame > kReleaseFrame + 10) break;  // the quit command never came
        } else if (int(::GetTickCount() - deadline) >= 0) {
            break;
        }
        running = host.Pump();

        if (!menu.paused)
            for (int i = 0; i < menu.blocks; ++i) {
                Block& b = pool[size_t(i)];
                b.x += b.dx;
                b.y += b.dy;
                if (b.x < 0 || b.x > W - b.size) b.dx = -b.dx;
                if (b.y < 0 || b.y > H - b.size) b.dy = -b.dy;
            }

        g.InitSprite();
        g.AddSprite(&ground, 0, 0, W, H, 0, 0, 255);
        for (int i = 0; i < menu.blocks; ++i) {
            Block& b = pool[size_t(i)];
            g.AddSprite(&b.sprite, b.x, b.y, b.size, b.size, 0, 0, 255);
        }
        panel.Render(1);
        g.SetNowFont(&titleFont);
        g.AddSprite(&title, &titleShadow, panelX, panelY + 26, panelW, 34, "Menu", Gdiplus::Color(255, 250, 236, 200),
                    Gdiplus::Color(255, 0, 0, 0), Gdiplus::StringAlignmentCenter);
        for (CVorButton& b : menu.buttons) g.AddSprite(&b);
        std::snprintf(statusText, sizeof statusText, "%d blocks, %s", menu.blocks, menu.paused ? "paused" : "moving");
        g.SetNowFont(&statusFont);
        g.AddSprite(&status, panelX, panelY + panelH - 52, panelW, 22, statusText, Gdiplus::Color(255, 200, 214, 230),
                    Gdiplus::StringAlignmentCenter);
        g.DrawSprite(true);
        ::GdiFlush();

        if (frame == 0) menu.LogLayout();
        if (!interactive && frame == kScreenshotFrame) shot = host.Screenshot("buttons");
        if (interactive) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 15, QS_ALLINPUT);
    }
    host.SetMouseHandler(nullptr, nullptr);
    host.SetCommandHandler(nullptr, nullptr);
    g.ClearSprite();  // the scene's sprites die with it
    if (menu.log) {
        std::fprintf(menu.log, menu.quit ? "quit\n" : "timeout\n");
        std::fclose(menu.log);
    }

    std::string got;
    for (int id : menu.commands) got += " " + std::to_string(id);
    std::printf("  commands received:%s\n", got.c_str());
    if (interactive) return menu.quit ? 0 : 1;
    // The script's clicks: more, more, (disabled more: nothing), pause, resume, quit.
    const std::vector<int> expected = {kMore, kMore, kPause, kPause, kQuit};
    if (menu.commands != expected) {
        std::printf("  expected: 1002 1002 1001 1001 1003\n");
        return 1;
    }
    return shot ? 0 : 1;
}

DemoSceneRegistrar reg("buttons", 60, &Run);

}  // namespace
