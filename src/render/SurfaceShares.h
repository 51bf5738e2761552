// Resources a surface shares with its copies, each released by the last surface that lets go.
#pragma once
#include "VorFramework.h"

// The DIB section, its header and the background copy.
struct VorBackBufferShare {
    long refs;
    HBITMAP bitmap;
    BYTE* pixels;  // owned by the DIB section
    BITMAPINFO* info;
    BYTE* backCopy;  // height * stride bytes, same layout as pixels (a page block)
    size_t backCopyBytes;
};

// The memory DC. While a back buffer is selected into it, the DC holds a reference to that
// buffer and remembers the bitmap it came with, so the buffer is put back before it is deleted.
struct VorDeviceShare {
    long refs;
    CDC dc;
    HGDIOBJ originalBitmap;
    VorBackBufferShare* selected;
};

struct VorGraphicsShare {
    long refs;
    Gdiplus::Graphics* graphics;
};
