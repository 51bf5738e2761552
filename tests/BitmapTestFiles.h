// Picture makers for the bitmap tests: BMP and GIF files written byte by byte, PNG files saved by
// GDI+, and 24-bit memory blocks in the layout CVorBitmap draws (bottom row first, unpadded rows).
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "ImageFileBytes.h"

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
inline Bgr ToBgr(const Rgb& c) { return Bgr{c.b, c.g, c.r}; }

typedef std::function<Rgb(int x, int y)> PixelRule;  // y = 0 is the picture's top row

inline std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

inline imagefile::Rgba ToRgba(const Rgb& c) { return imagefile::Rgba{c.r, c.g, c.b, 255}; }
inline std::vector<imagefile::Rgba> ToRgba(const std::vector<Rgb>& colours) {
    std::vector<imagefile::Rgba> out;
    for (const Rgb& c : colours) out.push_back(ToRgba(c));
    return out;
}

// A bottom-up BMP file of 24 or 32 bits a pixel (32-bit: fourth byte 0).
inline std::vector<uint8_t> BmpFile(int width, int height, int bits, const PixelRule& pixel) {
    return imagefile::Bmp(width, height, bits, [&](int x, int y) { return ToRgba(pixel(x, y)); });
}

// A bottom-up 8-bit palette BMP file.
inline std::vector<uint8_t> Bmp8File(int width, int height, const std::vector<Rgb>& palette,
                                     const std::function<int(int, int)>& index) {
    return imagefile::Bmp8(width, height, ToRgba(palette), index);
}

// A GIF89a file: a 4-entry global palette and one frame of colour indices per element of frames
// (each width * height indices, top row first). With gce, each frame has a graphic control
// extension with its delay (1/100 s).
inline std::vector<uint8_t> GifFile(int width, int height, const std::vector<Rgb>& palette4,
                                    const std::vector<std::vector<uint8_t>>& frames,
                                    const std::vector<int>& delays, bool gce) {
    return imagefile::Gif(width, height, ToRgba(palette4), frames, delays, gce);
}

// The header a host gives with a 24-bit memory image of w x h pixels.
inline BITMAPINFO MemoryImageHeader(int w, int h) {
    BITMAPINFO info;
    imagefile::SetInfo24(&info, w, h);
    return info;
}

// A memory image as a host hands it over: 24-bit rows of exactly 3 * width bytes, bottom row first.
struct MemoryPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> bytes;
    BITMAPINFO info;

    MemoryPicture(int w, int h, const PixelRule& pixel) : width(w), height(h) {
        imagefile::SetInfo24(&info, w, h);
        bytes = imagefile::MemoryRows24(w, h, [&](int x, int y) { return ToRgba(pixel(x, y)); });
    }
    int Size() const { return int(bytes.size()); }
    // Pixel of memory row m (m = 0 is the first row of the block), column x.
    Bgr MemoryPixel(int x, int m) const {
        const uint8_t* p = &bytes[size_t(3) * (size_t(m) * width + x)];
        return Bgr{p[0], p[1], p[2]};
    }
};

// CLSID of the GDI+ encoder for a MIME type ("image/png", "image/bmp").
inline bool EncoderClsid(const wchar_t* mime, CLSID* clsid) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<uint8_t> buffer(size);
    Gdiplus::ImageCodecInfo* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i)
        if (std::wcscmp(codecs[i].MimeType, mime) == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    return false;
}

// Saves a width x height picture made in memory by GDI+ (in the given pixel format) as a file.
inline bool SaveWithGdiplus(const std::wstring& path, const wchar_t* mime, int width, int height,
                            Gdiplus::PixelFormat format, const std::function<Gdiplus::Color(int, int)>& pixel) {
    CLSID clsid;
    if (!EncoderClsid(mime, &clsid)) return false;
    Gdiplus::Bitmap bitmap(width, height, format);
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, pixel(x, y));
    return bitmap.Save(path.c_str(), &clsid, nullptr) == Gdiplus::Ok;
}

// A surface of the given size with a memory DC and a graphics object on it, every byte set to fill.
inline void MakeSurface(CVorGraphics& g, int width, int height, uint8_t fill) {
    EnsureGdiplus();
    g.Init(width, height);
    g.InitGraphics(static_cast<CPaintDC*>(nullptr));
    FillBytes(g, fill);
}
