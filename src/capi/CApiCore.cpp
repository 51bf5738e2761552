// The C interface's library-wide calls: status, version, GDI+ start, blit levels, rectangles.
#include "CApiHandles.h"

namespace capi {
namespace {
int g_status = VOR_OK;
int g_detail = 0;
bool g_gdiplusStarted = false;
std::unordered_map<const CVorSprite*, VorSprite*>& SpriteMap() {
    static std::unordered_map<const CVorSprite*, VorSprite*> map;
    return map;
}
template <class Char>
size_t BoundedLength(const Char* s, size_t limit) {
    size_t n = 0;
    while (n < limit && s[n]) ++n;
    return n;
}
}  // namespace

int Record(int status, int detail) {
    g_status = status;
    g_detail = detail;
    return status;
}

void EnsureGdiplus() {
    if (g_gdiplusStarted) return;
    CVorGraphics starter;  // GdiInit starts GDI+ for the process; nothing shuts it down
    starter.GdiInit();
    g_gdiplusStarted = true;
}

std::string BoundedText(const char* text) { return std::string(text, BoundedLength(text, VOR_TEXT_MAX)); }
std::wstring BoundedText(const wchar_t* text) { return std::wstring(text, BoundedLength(text, VOR_TEXT_MAX)); }
bool NameIsBounded(const char* name) { return BoundedLength(name, VOR_PATH_MAX + 1) <= VOR_PATH_MAX; }
bool NameIsBounded(const wchar_t* name) { return BoundedLength(name, VOR_PATH_MAX + 1) <= VOR_PATH_MAX; }

VorSprite* SpriteOf(const CVorSprite* sprite) {
    auto it = SpriteMap().find(sprite);
    return it == SpriteMap().end() ? nullptr : it->second;
}
void RegisterSprite(VorSprite* s) { SpriteMap()[&s->sprite] = s; }
void UnregisterSprite(VorSprite* s) { SpriteMap().erase(&s->sprite); }

}  // namespace capi

using namespace capi;

int vor_version(int* major, int* minor, int* patch, int* blitLevel) {
    return GuardValue(0, [&] {
        if (major) *major = VOR_VERSION / 10000;
        if (minor) *minor = VOR_VERSION / 100 % 100;
        if (patch) *patch = VOR_VERSION % 100;
        if (blitLevel) *blitLevel = CVorGraphics::GetBlitLevel();
        Record(VOR_OK);
        return VOR_VERSION;
    });
}

int vor_startup(void) {
    return Guard([] {
        EnsureGdiplus();
        return Record(VOR_OK);
    });
}

int vor_last_status(void) { return g_status; }
int vor_last_detail(void) { return g_detail; }

const char* vor_status_text(int status) {
    static const char* const texts[] = {"ok",
                                        "null handle",
                                        "handle not alive",
                                        "bad argument",
                                        "picture did not load",
                                        "GDI+ failed",
                                        "out of memory",
                                        "not a window, or no DC for it",
                                        "not supported by this CPU",
                                        "object not ready for this call",
                                        "internal failure"};
    return status >= 0 && status <= VOR_E_INTERNAL ? texts[status] : "unknown status";
}

int vor_set_blit_level(int level) {
    return Guard([&] {
        if (level < VOR_BLITLEVEL_SCALAR || level > VOR_BLITLEVEL_AVX2) return Record(VOR_E_ARGUMENT);
        return Record(CVorGraphics::SetBlitLevel(level) ? VOR_OK : VOR_E_UNSUPPORTED);
    });
}

int vor_blit_level(void) {
    Record(VOR_OK);
    return CVorGraphics::GetBlitLevel();
}

int vor_best_blit_level(void) {
    Record(VOR_OK);
    return CVorGraphics::GetBestBlitLevel();
}

int vor_rect_overlaps(const VorRect* a, const VorRect* b) {
    if (!a || !b) {
        Record(VOR_E_ARGUMENT);
        return 0;
    }
    Record(VOR_OK);
    return ToRect(*a).CheckSuperpose(ToRect(*b));
}

int vor_rect_overlap(const VorRect* a, const VorRect* b, VorRect* out) {
    if (!a || !b || !out) return Record(VOR_E_ARGUMENT);
    const CVorRect r = ToRect(*a).GetSuperpose(ToRect(*b));
    out->x = r.X;
    out->y = r.Y;
    out->width = r.Width;
    out->height = r.Height;
    return Record(VOR_OK);
}

int vor_rect_contains(const VorRect* r, int px, int py) {
    if (!r) {
        Record(VOR_E_ARGUMENT);
        return 0;
    }
    Record(VOR_OK);
    return ToRect(*r).MyContains(px, py);
}
