// The C interface's buttons and panels.
#include "CApiHandles.h"

using namespace capi;

namespace {

// A parent window may be null (clicks then send nothing) but not a handle that is no window.
bool ParentIsUsable(void* parent) {
    if (!parent || ::IsWindow(static_cast<HWND>(parent))) return true;
    Record(VOR_E_WINDOW);
    return false;
}

void ForgetFaces(VorButton* button) {
    for (int i = 0; i < 4; ++i) ForgetSprite(button->button.GetFace(i));
}

CVorTga* PictureOf(VorTga* h) { return &h->tga; }
CVorBitmap* PictureOf(VorBitmap* h) { return &h->bitmap; }

template <class Picture>
int SetStrip(VorButton* button, void* parent, int commandId, int x, int y, Picture* strip, int count, int horizontal) {
    return Guard([&] {
        if (CheckAll(button, strip) != VOR_OK) return vor_last_status();
        if (count != 3 && count != 4) return Record(VOR_E_ARGUMENT);
        if (!ParentIsUsable(parent)) return vor_last_status();
        button->parent.Attach(static_cast<HWND>(parent));
        auto* picture = PictureOf(strip);
        if (horizontal)
            button->button.InitH(&button->parent, commandId, x, y, picture, count);
        else
            button->button.Init(&button->parent, commandId, x, y, picture, count);
        return Record(VOR_OK);
    });
}

// Four separate faces; a null disabled face keeps the old one.
template <class Picture>
int SetFaces(VorButton* button, void* parent, int commandId, int x, int y, Picture* normal, Picture* hover,
             Picture* pressed, Picture* disabled) {
    return Guard([&] {
        if (CheckAll(button, normal, hover, pressed) != VOR_OK) return vor_last_status();
        if (disabled && CheckAll(disabled) != VOR_OK) return vor_last_status();
        if (!ParentIsUsable(parent)) return vor_last_status();
        button->parent.Attach(static_cast<HWND>(parent));
        button->button.Init(&button->parent, commandId, x, y, PictureOf(normal), PictureOf(hover), PictureOf(pressed),
                            disabled ? PictureOf(disabled) : nullptr);
        return Record(VOR_OK);
    });
}

}  // namespace

VorButton* vor_button_create(void) {
    return GuardValue<VorButton*>(nullptr, [&]() -> VorButton* {
        VorButton* h = NewHandle<VorButton>();
        if (h) Record(VOR_OK);
        return h;
    });
}

void vor_button_destroy(VorButton* button) {
    Guard([&] {
        if (CheckAll(button) != VOR_OK) return vor_last_status();
        ForgetFaces(button);
        DeleteHandle(button);
        return Record(VOR_OK);
    });
}

int vor_button_set_tga_faces(VorButton* button, void* parent, int commandId, int x, int y, VorTga* normal,
                             VorTga* hover, VorTga* pressed, VorTga* disabled) {
    return SetFaces(button, parent, commandId, x, y, normal, hover, pressed, disabled);
}

int vor_button_set_bitmap_faces(VorButton* button, void* parent, int commandId, int x, int y, VorBitmap* normal,
                                VorBitmap* hover, VorBitmap* pressed, VorBitmap* disabled) {
    return SetFaces(button, parent, commandId, x, y, normal, hover, pressed, disabled);
}

int vor_button_set_tga_strip(VorButton* button, void* parent, int commandId, int x, int y, VorTga* strip, int count,
                             int horizontal) {
    return SetStrip(button, parent, commandId, x, y, strip, count, horizontal);
}

int vor_button_set_bitmap_strip(VorButton* button, void* parent, int commandId, int x, int y, VorBitmap* strip,
                                int count, int horizontal) {
    return SetStrip(button, parent, commandId, x, y, strip, count, horizontal);
}

namespace {

// A mouse event: the button's answer (1 or 0), 0 for a handle that is not alive.
template <class Event>
int Mouse(VorButton* button, Event event) {
    return GuardValue(0, [&] {
        if (CheckAll(button) != VOR_OK) return 0;
        const int answer = event(button->button);  // a click sends WM_COMMAND to the parent here
        Record(VOR_OK);
        return answer;
    });
}

}  // namespace

int vor_button_mouse_move(VorButton* button, int x, int y) {
    return Mouse(button, [&](CVorButton& b) { return b.OnMouseMove(x, y); });
}

int vor_button_mouse_down(VorButton* button, int x, int y) {
    return Mouse(button, [&](CVorButton& b) { return b.OnMouseDown(x, y); });
}

int vor_button_mouse_up(VorButton* button, int x, int y) {
    return Mouse(button, [&](CVorButton& b) { return b.OnMouseUp(x, y); });
}

int vor_button_enable(VorButton* button, int enable) {
    if (CheckAll(button) != VOR_OK) return vor_last_status();
    button->button.Enable(enable);
    return Record(VOR_OK);
}

int vor_button_show(VorButton* button, int show) {
    if (CheckAll(button) != VOR_OK) return vor_last_status();
    button->button.Show(show);
    return Record(VOR_OK);
}

int vor_button_state(const VorButton* button) {
    return Query<int>(button, 0, [&] { return button->button.GetState(); });
}

int vor_button_enabled(const VorButton* button) {
    return Query<int>(button, 0, [&] { return button->button.GetEnable(); });
}

int vor_button_rect(const VorButton* button, VorRect* out) {
    if (CheckAll(button) != VOR_OK) return vor_last_status();
    if (!out) return Record(VOR_E_ARGUMENT);
    out->x = button->button.GetX();
    out->y = button->button.GetY();
    out->width = button->button.GetWidth();
    out->height = button->button.GetHeight();
    return Record(VOR_OK);
}

int vor_button_command_id(const VorButton* button) {
    return Query<int>(button, 0, [&] { return button->button.GetCommandId(); });
}

VorPanel* vor_panel_create(void) {
    return GuardValue<VorPanel*>(nullptr, [&]() -> VorPanel* {
        VorPanel* h = NewHandle<VorPanel>();
        if (h) Record(VOR_OK);
        return h;
    });
}

void vor_panel_destroy(VorPanel* panel) {
    Guard([&] {
        if (CheckAll(panel) != VOR_OK) return vor_last_status();
        for (int i = 0; i < CGameBackImage::kCells; ++i) ForgetSprite(panel->panel.GetCellSprite(i));
        DeleteHandle(panel);
        return Record(VOR_OK);
    });
}

int vor_panel_init(VorPanel* panel, VorSurface* surface, int x, int y, int width, int height,
                   const unsigned int* cellIds, const char* moduleName) {
    return Guard([&] {
        if (CheckAll(panel, surface) != VOR_OK) return vor_last_status();
        if (!cellIds || (moduleName && !NameIsBounded(moduleName))) return Record(VOR_E_ARGUMENT);
        EnsureGdiplus();
        // Sprites of the old layout may still be listed somewhere.
        for (int i = 0; i < CGameBackImage::kCells; ++i) ForgetSprite(panel->panel.GetCellSprite(i));
        panel->panel.InitBackImage(&surface->graphics, Gdiplus::Rect(x, y, width, height), cellIds, moduleName);
        panel->surface = surface;
        for (int i = 0; i < CGameBackImage::kCells; ++i)
            if (panel->panel.GetCell(i)->GetWidth() == 0)
                return Record(VOR_E_LOAD, panel->panel.GetCell(i)->GetLastStatus());
        return Record(VOR_OK);
    });
}

int vor_panel_render(VorPanel* panel, int show) {
    return Guard([&] {
        if (CheckAll(panel) != VOR_OK) return vor_last_status();
        if (!panel->surface) return Record(VOR_E_STATE);
        panel->panel.Render(show);
        return Record(VOR_OK);
    });
}

int vor_panel_cell_size(const VorPanel* panel, int index, int* width, int* height) {
    if (CheckAll(panel) != VOR_OK) return vor_last_status();
    if (index < 0 || index >= CGameBackImage::kCells || !width || !height) return Record(VOR_E_ARGUMENT);
    CVorBitmap* cell = const_cast<VorPanel*>(panel)->panel.GetCell(index);
    *width = cell->GetWidth();
    *height = cell->GetHeight();
    return Record(VOR_OK);
}
