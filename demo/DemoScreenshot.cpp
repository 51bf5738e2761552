#include "DemoScreenshot.h"

#include <vector>

namespace {
bool FindEncoder(const wchar_t* mime, CLSID* clsid) {
    UINT count = 0, bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
    std::vector<BYTE> buffer(bytes);
    Gdiplus::ImageCodecInfo* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, mime) == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}
}  // namespace

bool SaveClientPng(HWND hwnd, const wchar_t* path) {
    RECT rc;
    if (!::GetClientRect(hwnd, &rc)) return false;
    const int w = rc.right, h = rc.bottom;
    HDC windowDC = ::GetDC(hwnd);
    HDC memDC = ::CreateCompatibleDC(windowDC);
    HBITMAP bmp = ::CreateCompatibleBitmap(windowDC, w, h);
    HGDIOBJ old = ::SelectObject(memDC, bmp);
    ::BitBlt(memDC, 0, 0, w, h, windowDC, 0, 0, SRCCOPY);
    ::SelectObject(memDC, old);
    bool ok = false;
    {
        Gdiplus::Bitmap image(bmp, nullptr);
        CLSID png;
        ok = FindEncoder(L"image/png", &png) && image.Save(path, &png, nullptr) == Gdiplus::Ok;
    }
    ::DeleteObject(bmp);
    ::DeleteDC(memDC);
    ::ReleaseDC(hwnd, windowDC);
    return ok;
}
