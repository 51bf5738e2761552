// The C interface's pictures: TGA and bitmap loaders, their sizes and pixels. A load's status is the
// picture class's own answer (Init's result, the bitmap's last GDI+ status).
#include "CApiHandles.h"

#include <cstring>

using namespace capi;

namespace {

// Keeps a loaded picture's handle, or frees it and answers null with status.
template <class H>
H* Keep(H* h, int status, int detail) {
    if (status == VOR_OK) {
        Record(VOR_OK);
        return h;
    }
    DeleteHandle(h);
    Record(status, detail);
    return nullptr;
}

// A bitmap's load failed when its own status says so. An animated-GIF load also queries frames
// and delays, whose failure on a picture that has pixels is no failure of the load.
VorBitmap* KeepBitmap(VorBitmap* h, bool gif) {
    const Gdiplus::Status status = h->bitmap.GetLastStatus();
    const bool hasPicture = h->bitmap.GetWidth() > 0 && h->bitmap.GetHeight() > 0;
    const bool failed = status != Gdiplus::Ok && !(gif && hasPicture);
    return Keep(h, failed ? VOR_E_LOAD : VOR_OK, failed ? int(status) : 0);
}

template <class Load>
VorBitmap* LoadBitmap(Load load, bool gif = false) {
    return GuardValue<VorBitmap*>(nullptr, [&]() -> VorBitmap* {
        EnsureGdiplus();
        VorBitmap* h = NewHandle<VorBitmap>();
        if (!h) return nullptr;
        load(h->bitmap);
        return KeepBitmap(h, gif);
    });
}

bool PathIsUsable(const wchar_t* path) {
    if (path && NameIsBounded(path)) return true;
    Record(VOR_E_ARGUMENT);
    return false;
}

// The header of a host's pixel block: its first 40 bytes (a BITMAPINFOHEADER), the rest zero.
bool BlockHeader(const void* bits, int size, const void* bitmapInfo, BITMAPINFO* header) {
    if (!bits || size < 0 || !bitmapInfo) {
        Record(VOR_E_ARGUMENT);
        return false;
    }
    std::memset(header, 0, sizeof *header);
    std::memcpy(&header->bmiHeader, bitmapInfo, sizeof(BITMAPINFOHEADER));
    return true;
}

}  // namespace

VorTga* vor_tga_load_file(const char* path) {
    return GuardValue<VorTga*>(nullptr, [&]() -> VorTga* {
        if (!path || !NameIsBounded(path)) {
            Record(VOR_E_ARGUMENT);
            return nullptr;
        }
        VorTga* h = NewHandle<VorTga>();
        if (!h) return nullptr;
        return Keep(h, h->tga.Init(path) ? VOR_OK : VOR_E_LOAD, 0);
    });
}

VorTga* vor_tga_load_memory(const void* data, size_t size) {
    return GuardValue<VorTga*>(nullptr, [&]() -> VorTga* {
        if (!data) {
            Record(VOR_E_ARGUMENT);
            return nullptr;
        }
        VorTga* h = NewHandle<VorTga>();
        if (!h) return nullptr;
        return Keep(h, h->tga.InitFromMemory(data, size) ? VOR_OK : VOR_E_LOAD, 0);
    });
}

void vor_tga_destroy(VorTga* tga) {
    Guard([&] {
        if (CheckAll(tga) != VOR_OK) return vor_last_status();
        ForgetPicture(&tga->tga, nullptr);
        DeleteHandle(tga);
        return Record(VOR_OK);
    });
}

int vor_tga_width(const VorTga* tga) {
    return Query<int>(tga, 0, [&] { return int(tga->tga.GetWidth()); });
}

int vor_tga_height(const VorTga* tga) {
    return Query<int>(tga, 0, [&] { return int(tga->tga.GetHeight()); });
}

const unsigned int* vor_tga_pixels(const VorTga* tga) {
    static_assert(sizeof(unsigned long) == sizeof(unsigned int), "TGA pixels are 32-bit words");
    if (CheckAll(tga) != VOR_OK) return nullptr;
    Record(VOR_OK);
    return reinterpret_cast<const unsigned int*>(tga->tga.GetBuffer());
}

VorBitmap* vor_bitmap_load_file(const wchar_t* path) {
    if (!PathIsUsable(path)) return nullptr;
    return LoadBitmap([&](CVorBitmap& b) { b.Init(path); });
}

VorBitmap* vor_bitmap_load_file_key(const wchar_t* path, unsigned char r, unsigned char g, unsigned char b) {
    if (!PathIsUsable(path)) return nullptr;
    return LoadBitmap([&](CVorBitmap& bitmap) { bitmap.Init(path, r, g, b); });
}

VorBitmap* vor_bitmap_load_gif(const wchar_t* path) {
    if (!PathIsUsable(path)) return nullptr;
    return LoadBitmap([&](CVorBitmap& b) { b.InitGif(path); }, true);
}

VorBitmap* vor_bitmap_load_resource(void* module, unsigned int id) {
    return LoadBitmap([&](CVorBitmap& b) {
        if (module)
            b.Init(static_cast<HINSTANCE>(module), id);
        else
            b.Init(id);
    });
}

VorBitmap* vor_bitmap_load_pixels(const void* bits, int size, const void* bitmapInfo, int zoom) {
    BITMAPINFO header;
    if (!BlockHeader(bits, size, bitmapInfo, &header)) return nullptr;
    return LoadBitmap([&](CVorBitmap& b) { b.Init(static_cast<const unsigned char*>(bits), size, header, zoom); });
}

VorBitmap* vor_bitmap_load_pixels_key(const void* bits, int size, const void* bitmapInfo, unsigned char r,
                                      unsigned char g, unsigned char b) {
    BITMAPINFO header;
    if (!BlockHeader(bits, size, bitmapInfo, &header)) return nullptr;
    return LoadBitmap(
        [&](CVorBitmap& bitmap) { bitmap.Init(static_cast<const unsigned char*>(bits), size, header, r, g, b); });
}

void vor_bitmap_destroy(VorBitmap* bitmap) {
    Guard([&] {
        if (CheckAll(bitmap) != VOR_OK) return vor_last_status();
        ForgetPicture(nullptr, &bitmap->bitmap);
        DeleteHandle(bitmap);
        return Record(VOR_OK);
    });
}

int vor_bitmap_set_key(VorBitmap* bitmap, unsigned char r, unsigned char g, unsigned char b) {
    return Guard([&] {
        if (CheckAll(bitmap) != VOR_OK) return vor_last_status();
        bitmap->bitmap.SetColorKey(r, g, b);
        return Record(VOR_OK);
    });
}

int vor_bitmap_width(const VorBitmap* bitmap) {
    return Query<int>(bitmap, 0, [&] { return bitmap->bitmap.GetWidth(); });
}

int vor_bitmap_height(const VorBitmap* bitmap) {
    return Query<int>(bitmap, 0, [&] { return bitmap->bitmap.GetHeight(); });
}

int vor_bitmap_frames(const VorBitmap* bitmap) {
    return Query<int>(bitmap, 0, [&] { return bitmap->bitmap.GetFrames(); });
}

int vor_bitmap_delay(const VorBitmap* bitmap) {
    return Query<int>(bitmap, 0, [&] { return bitmap->bitmap.GetDelayTime(); });
}

int vor_bitmap_gdiplus_status(const VorBitmap* bitmap) {
    return Query<int>(bitmap, 0, [&] { return int(bitmap->bitmap.GetLastStatus()); });
}
