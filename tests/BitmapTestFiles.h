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

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
inline Bgr ToBgr(const Rgb& c) { return Bgr{c.b, c.g, c.r}; }

typedef std::function<Rgb(int x, int y)> PixelRule;  // y = 0 is the picture's top row

inline std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

inline void Put16(std::vector<uint8_t>& v, unsigned x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// A bottom-up BMP file of 24 or 32 bits a pixel (32-bit: fourth byte 0).
inline std::vector<uint8_t> BmpFile(int width, int height, int bits, const PixelRule& pixel) {
    const int bpp = bits / 8;
    const int stride = (width * bpp + 3) & ~3;
    std::vector<uint8_t> f;
    f.push_back('B');
    f.push_back('M');
    Put32(f, 54 + stride * height);
    Put32(f, 0);
    Put32(f, 54);
    Put32(f, 40);
    Put32(f, uint32_t(width));
    Put32(f, uint32_t(height));
    Put16(f, 1);
    Put16(f, unsigned(bits));
    Put32(f, 0);
    Put32(f, uint32_t(stride * height));
    Put32(f, 2835);
    Put32(f, 2835);
    Put32(f, 0);
    Put32(f, 0);
    for (int y = height - 1; y >= 0; --y) {
        size_t start = f.size();
        for (int x = 0; x < width; ++x) {
            Rgb c = pixel(x, y);
            f.push_back(c.b);
            f.push_back(c.g);
            f.push_back(c.r);
            if (bpp == 4) f.push_back(0);
        }
        while (f.size() - start < size_t(stride)) f.push_back(0);
    }
    return f;
}

// A bottom-up 8-bit palette BMP file.
inline std::vector<uint8_t> Bmp8File(int width, int height, const std::vector<Rgb>& palette,
                                     const std::function<int(int, int)>& index) {
    const int stride = (width + 3) & ~3;
    const int offset = 54 + 4 * int(palette.size());
    std::vector<uint8_t> f;
    f.push_back('B');
    f.push_back('M');
    Put32(f, offset + stride * height);
    Put32(f, 0);
    Put32(f, offset);
    Put32(f, 40);
    Put32(f, uint32_t(width));
    Put32(f, uint32_t(height));
    Put16(f, 1);
    Put16(f, 8);
    Put32(f, 0);
    Put32(f, uint32_t(stride * height));
    Put32(f, 2835);
    Put32(f, 2835);
    Put32(f, uint32_t(palette.size()));
    Put32(f, 0);
    for (const Rgb& c : palette) {
        f.push_back(c.b);
        f.push_back(c.g);
        f.push_back(c.r);
        f.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) f.push_back(uint8_t(index(x, y)));
        for (int p = width; p < stride; ++p) f.push_back(0);
    }
    return f;
}

// A GIF89a file: a 4-entry global palette and one frame of colour indices per element of frames
// (each width * height indices, top row first). With gce, each frame has a graphic control
// extension with its delay (1/100 s). The LZW data uses literal codes only, with a clear code
// after every two, so the code size stays 3 bits.
inline std::vector<uint8_t> GifFile(int width, int height, const std::vector<Rgb>& palette4,
                                    const std::vector<std::vector<uint8_t>>& frames,
                                    const std::vector<int>& delays, bool gce) {
    std::vector<uint8_t> f = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(f, unsigned(width));
    Put16(f, unsigned(height));
    f.push_back(0x81);  // global colour table of 4 entries
    f.push_back(0);
    f.push_back(0);
    for (int i = 0; i < 4; ++i) {
        const Rgb c = i < int(palette4.size()) ? palette4[i] : Rgb{0, 0, 0};
        f.push_back(c.r);
        f.push_back(c.g);
        f.push_back(c.b);
    }
    if (frames.size() > 1) {  // loop forever
        const char* app = "NETSCAPE2.0";
        f.push_back(0x21);
        f.push_back(0xFF);
        f.push_back(11);
        f.insert(f.end(), app, app + 11);
        f.push_back(3);
        f.push_back(1);
        Put16(f, 0);
        f.push_back(0);
    }
    for (size_t n = 0; n < frames.size(); ++n) {
        if (gce) {
            f.push_back(0x21);
            f.push_back(0xF9);
            f.push_back(4);
            f.push_back(0x04);  // dispose: do not dispose
            Put16(f, unsigned(n < delays.size() ? delays[n] : 0));
            f.push_back(0);
            f.push_back(0);
        }
        f.push_back(0x2C);
        Put16(f, 0);
        Put16(f, 0);
        Put16(f, unsigned(width));
        Put16(f, unsigned(height));
        f.push_back(0);
        // LZW: minimum code size 2 (clear 4, end 5), 3-bit codes.
        std::vector<int> codes = {4};
        int sinceClear = 0;
        for (uint8_t index : frames[n]) {
            if (sinceClear == 2) {
                codes.push_back(4);
                sinceClear = 0;
            }
            codes.push_back(index & 3);
            ++sinceClear;
        }
        codes.push_back(5);
        std::vector<uint8_t> data;
        uint32_t acc = 0;
        int nbits = 0;
        for (int code : codes) {
            acc |= uint32_t(code) << nbits;
            nbits += 3;
            while (nbits >= 8) {
                data.push_back(uint8_t(acc));
                acc >>= 8;
                nbits -= 8;
            }
        }
        if (nbits > 0) data.push_back(uint8_t(acc));
        f.push_back(2);
        for (size_t i = 0; i < data.size(); i += 255) {
            const size_t len = std::min<size_t>(255, data.size() - i);
            f.push_back(uint8_t(len));
            f.insert(f.end(), data.begin() + i, data.begin() + i + len);
        }
        f.push_back(0);
    }
    f.push_back(0x3B);
    return f;
}

// The header a host gives with a 24-bit memory image of w x h pixels.
inline BITMAPINFO MemoryImageHeader(int w, int h) {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A memory image as a host hands it over: 24-bit rows of exactly 3 * width bytes, bottom row first.
struct MemoryPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> bytes;
    BITMAPINFO info;

    MemoryPicture(int w, int h, const PixelRule& pixel) : width(w), height(h), info(MemoryImageHeader(w, h)) {
        for (int y = h - 1; y >= 0; --y)
            for (int x = 0; x < w; ++x) {
                Rgb c = pixel(x, y);
                bytes.push_back(c.b);
                bytes.push_back(c.g);
                bytes.push_back(c.r);
            }
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
