// The objects behind the C interface's handles, the registry of live handles and the status every
// entry point records. Written against the public classes only.
#pragma once
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "VorImage4.h"
#include "VorImage4C.h"

struct VorSurface {
    CVorGraphics graphics;
    std::unique_ptr<CPaintDC> target;  // the window's or the host's DC that present copies to
    HWND window = nullptr;             // the bound window, checked before each present
    bool redrawAll = false;            // a listed sprite was destroyed: the next frame redraws everything
};
struct VorTga {
    CVorTga tga;
};
struct VorBitmap {
    CVorBitmap bitmap;
};
struct VorColor {
    CVorColor color;
};
struct VorPen {
    CVorPen pen;
};
struct VorBrush {
    CVorBrush brush;
};
struct VorFont {
    CVorFont font;
};
struct VorSprite {
    CVorSprite sprite;
    VorAnimationProc proc = nullptr;  // the host's animation, run through a trampoline
    void* user = nullptr;
};
struct VorButton {
    CVorButton button;
    CWnd parent;  // the button points to this, so it lives exactly as long as the button
};
struct VorPanel {
    CGameBackImage panel;
    VorSurface* surface = nullptr;  // null once that surface is destroyed
};

namespace capi {

// Records the outcome of the running call; returns status.
int Record(int status, int detail = 0);

// The live handles of one type. The library runs on the host's window thread only.
template <class H>
std::unordered_set<const H*>& Live() {
    static std::unordered_set<const H*> live;
    return live;
}

// VOR_OK for a live handle, else the status that says what is wrong with it (not recorded).
template <class H>
int HandleStatus(const H* h) {
    if (!h) return VOR_E_NULL_HANDLE;
    return Live<H>().count(h) ? VOR_OK : VOR_E_BAD_HANDLE;
}

// VOR_OK when every handle is live, else the first fault, recorded.
inline int CheckAll() { return VOR_OK; }
template <class H, class... Rest>
int CheckAll(const H* h, const Rest*... rest) {
    const int status = HandleStatus(h);
    if (status != VOR_OK) return Record(status);
    return CheckAll(rest...);
}

// A getter: read() for a live handle (status VOR_OK), else failed with the handle's status.
template <class T, class H, class Read>
T Query(const H* h, T failed, Read read) {
    if (CheckAll(h) != VOR_OK) return failed;
    Record(VOR_OK);
    return read();
}

// A new handle of type H, registered; null (and VOR_E_MEMORY recorded) when memory runs out.
template <class H>
H* NewHandle() {
    H* h = new (std::nothrow) H();
    if (!h) {
        Record(VOR_E_MEMORY);
        return nullptr;
    }
    Live<H>().insert(h);
    return h;
}

// Unregisters and frees a handle; false when it was not live.
template <class H>
bool DeleteHandle(H* h) {
    if (!h || !Live<H>().erase(h)) return false;
    delete h;
    return true;
}

// Runs body (which returns a status) with every exception stopped here.
template <class Body>
int Guard(Body body) {
    try {
        return body();
    } catch (const std::bad_alloc&) { return Record(VOR_E_MEMORY); } catch (...) {
        return Record(VOR_E_INTERNAL);
    }
}

// Runs body (which returns a value and records its status); failed is returned on an exception.
template <class T, class Body>
T GuardValue(T failed, Body body) {
    try {
        return body();
    } catch (const std::bad_alloc&) { Record(VOR_E_MEMORY); } catch (...) {
        Record(VOR_E_INTERNAL);
    }
    return failed;
}

// Starts GDI+ for the process once.
void EnsureGdiplus();

// Strings read with a bound. A text longer than VOR_TEXT_MAX is cut; a name without a NUL within
// VOR_PATH_MAX characters is refused (false).
std::string BoundedText(const char* text);
std::wstring BoundedText(const wchar_t* text);
bool NameIsBounded(const char* name);
bool NameIsBounded(const wchar_t* name);

// Turns a C rectangle into the library's.
inline CVorRect ToRect(const VorRect& r) { return CVorRect(r.x, r.y, r.width, r.height); }

// The C sprite a library sprite belongs to (for animation procedures); null when none.
VorSprite* SpriteOf(const CVorSprite* sprite);
void RegisterSprite(VorSprite* s);
void UnregisterSprite(VorSprite* s);

// Lifetime rules: what a destroyed object leaves behind is detached from everything that points to it.
void ForgetSprite(const CVorSprite* sprite);  // a surface listing it empties its list
void ForgetPicture(const CVorTga* tga, const CVorBitmap* bitmap);
void ForgetPen(const CVorPen* pen);
void ForgetBrush(const CVorBrush* brush);
void ForgetColor(const CVorColor* color);
void ForgetFont(const CVorFont* font);
void ForgetSurface(const VorSurface* surface);

}  // namespace capi
