/* buttons_panel (C): a small menu screen through the C interface. A nine-cell panel (its cells are
 * bitmap resources of this program, see ../buttons_panel.rc) holds three image buttons with text
 * labels. The window procedure forwards mouse messages to the buttons; a click comes back as
 * WM_COMMAND with the button's id.
 *
 *   buttons_panel_c.exe          runs until Exit is clicked or the window is closed
 *   buttons_panel_c.exe --auto   clicks Start, the disabled Options and Exit by posting mouse
 *                                messages to its own window (the road a user's clicks take) */
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "VorImage4C.h"

enum { kStart = 1, kOptions = 2, kExit = 3 };
#define W 480
#define H 360
#define FACE_W 180
#define FACE_H 40

/* Nine panel cells, in cell order (corners, edges, centre), as numbered in buttons_panel.rc. */
static const unsigned int kPanelCells[9] = {201, 202, 203, 204, 205, 206, 207, 208, 209};

/* Fill colour (blue, green, red) of each face: normal, hover, pressed, disabled. */
static const unsigned char kFill[4][3] = {{181, 109, 47}, {220, 143, 74}, {134, 79, 31}, {112, 98, 91}};

/* The menu's state, reached from the window procedure. */
static VorButton* g_buttons[3];
static int g_clicks = 0;

static LRESULT CALLBACK MenuProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    int i;
    switch (msg) {
        case WM_MOUSEMOVE: /* every button sees every mouse event and decides whether it concerns it */
            for (i = 0; i < 3; ++i) vor_button_mouse_move(g_buttons[i], x, y);
            return 0;
        case WM_LBUTTONDOWN:
            for (i = 0; i < 3; ++i) vor_button_mouse_down(g_buttons[i], x, y);
            return 0;
        case WM_LBUTTONUP:
            for (i = 0; i < 3; ++i) vor_button_mouse_up(g_buttons[i], x, y);
            return 0;
        case WM_COMMAND: /* sent by a button when a press and a release both landed on it */
            ++g_clicks;
            if (LOWORD(wParam) == kStart) printf("buttons_panel: Start clicked\n");
            if (LOWORD(wParam) == kOptions) printf("buttons_panel: Options clicked\n");
            if (LOWORD(wParam) == kExit) {
                printf("buttons_panel: Exit clicked, %d commands\n", g_clicks);
                PostQuitMessage(0);
            }
            fflush(stdout);
            return 0;
        case WM_ERASEBKGND:
            return 1; /* the surface paints the whole client area */
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

/* A strip of four faces as a pixel block: 24-bit rows, face k is block rows 40k..40k+39, each face
 * bottom row first; each face is a framed flat button. */
static unsigned char g_strip[3 * FACE_W * 4 * FACE_H];

static void MakeFaceStrip(unsigned char header[40]) {
    int face, x, y, c, n = 0;
    for (face = 0; face < 4; ++face)
        for (y = FACE_H - 1; y >= 0; --y)
            for (x = 0; x < FACE_W; ++x) {
                const int frame = x < 2 || y < 2 || x >= FACE_W - 2 || y >= FACE_H - 2;
                for (c = 0; c < 3; ++c) g_strip[n++] = (unsigned char)(frame ? kFill[face][c] / 2 : kFill[face][c]);
            }
    memset(header, 0, 40);
    header[0] = 40; /* biSize */
    header[4] = FACE_W;
    header[8] = (unsigned char)(4 * FACE_H);
    header[12] = 1;  /* biPlanes */
    header[14] = 24; /* biBitCount */
}

/* Which face the back buffer shows inside a button (-1: none of them). */
static int FaceShown(VorSurface* surface, VorButton* b) {
    VorRect r;
    unsigned rgb = 0;
    int face;
    vor_button_rect(b, &r);
    vor_surface_get_pixel(surface, r.x + 10, r.y + 20, &rgb);
    for (face = 0; face < 4; ++face)
        if ((rgb & 0xFF) == kFill[face][0] && (rgb >> 8 & 0xFF) == kFill[face][1] && rgb >> 16 == kFill[face][2])
            return face;
    return -1;
}

/* Posts a click (move, press, release) at the middle of a button to the window. */
static void PostClick(HWND hwnd, VorButton* b) {
    VorRect r;
    LPARAM at;
    vor_button_rect(b, &r);
    at = MAKELPARAM(r.x + r.width / 2, r.y + r.height / 2);
    PostMessageA(hwnd, WM_MOUSEMOVE, 0, at);
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(hwnd, WM_LBUTTONUP, 0, at);
}

int main(int argc, char** argv) {
    const int automatic = argc > 1 && strcmp(argv[1], "--auto") == 0;
    const char* labels[3] = {"Start", "Options", "Exit"};
    WNDCLASSA wc;
    RECT rc = {0, 0, W, H};
    HWND hwnd;
    VorSurface* surface;
    VorColor* groundColour;
    VorSprite *ground, *labelSprites[3];
    VorPanel* panel;
    VorBitmap* faces;
    VorFont* font;
    unsigned char header[40];
    int running = 1, frame, i, width, height;

    /* A window whose procedure forwards the mouse to the buttons. */
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = MenuProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = "ButtonsPanelExampleC";
    RegisterClassA(&wc);
    AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, FALSE);
    hwnd = CreateWindowA(wc.lpszClassName, "buttons panel (C)", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                         rc.right - rc.left, rc.bottom - rc.top, NULL, NULL, wc.hInstance, NULL);

    surface = vor_surface_create(W, H);
    if (!surface || vor_surface_bind_window(surface, hwnd) != VOR_OK) return 1;

    /* Ground, panel and buttons. The panel's cells come from this executable (module name NULL). */
    groundColour = vor_color_create(19, 27, 41);
    ground = vor_sprite_create();
    vor_sprite_set_color(ground, groundColour);
    panel = vor_panel_create();
    if (vor_panel_init(panel, surface, 110, 40, 260, 280, kPanelCells, NULL) != VOR_OK ||
        vor_panel_cell_size(panel, 0, &width, &height) != VOR_OK || width == 0) {
        printf("buttons_panel: the panel cells are missing from the resources\n");
        return 1;
    }
    MakeFaceStrip(header);
    faces = vor_bitmap_load_pixels(g_strip, (int)sizeof g_strip, header, 0);
    for (i = 0; i < 3; ++i) { /* each button: parent window, command id, place, strip of 4 faces */
        g_buttons[i] = vor_button_create();
        vor_button_set_bitmap_strip(g_buttons[i], hwnd, kStart + i, 150, 90 + 60 * i, faces, 4, 0);
        labelSprites[i] = vor_sprite_create();
    }
    vor_button_enable(g_buttons[1], 0); /* not offered yet: shows the disabled face, ignores the mouse */

    font = vor_font_create(14, L"DejaVu Sans", VOR_FONT_BOLD);
    vor_surface_set_font(surface, font);

    for (frame = 0; running; ++frame) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) running = 0;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (automatic) {
            if (frame == 1) /* first frame drawn: normal (0), disabled (3), normal (0) */
                printf("buttons_panel: faces %d %d %d\n", FaceShown(surface, g_buttons[0]),
                       FaceShown(surface, g_buttons[1]), FaceShown(surface, g_buttons[2]));
            if (frame == 2) PostClick(hwnd, g_buttons[0]); /* Start */
            if (frame == 4) PostClick(hwnd, g_buttons[1]); /* Options: disabled, nothing comes */
            if (frame == 6) PostClick(hwnd, g_buttons[2]); /* Exit */
            if (frame == 100) break;                       /* Exit never came */
        }

        /* One frame, back to front: ground, panel, each button's current face, the labels. */
        vor_surface_begin_frame(surface);
        vor_surface_add_at(surface, ground, 0, 0, W, H, 0, 0, 255);
        vor_panel_render(panel, 1);
        for (i = 0; i < 3; ++i) vor_surface_add_button(surface, g_buttons[i]);
        for (i = 0; i < 3; ++i) {
            VorRect r;
            vor_button_rect(g_buttons[i], &r);
            vor_surface_add_text(surface, labelSprites[i], r.x, r.y + 10, r.width, 22, labels[i],
                                 vor_button_enabled(g_buttons[i]) ? 0xFFFFFFFFu : 0xFFAAAAAAu, VOR_ALIGN_CENTER);
        }
        vor_surface_draw_frame(surface, 1); /* redraws what changed and presents it to the window */
        MsgWaitForMultipleObjects(0, NULL, FALSE, 15, QS_ALLINPUT);
    }

    vor_surface_clear_sprites(surface); /* the sprites are destroyed below */
    for (i = 0; i < 3; ++i) {
        vor_sprite_destroy(labelSprites[i]);
        vor_button_destroy(g_buttons[i]);
    }
    vor_font_destroy(font);
    vor_bitmap_destroy(faces);
    vor_panel_destroy(panel);
    vor_sprite_destroy(ground);
    vor_color_destroy(groundColour);
    vor_surface_destroy(surface);
    DestroyWindow(hwnd);
    return automatic && g_clicks != 2 ? 1 : 0;
}
