// Whole-picture blits onto a 1024x768 back buffer: our levels against GDI+ and GDI, on the same
// pictures, and a plain SSE2 copy of buffers of the same size as the memory-bandwidth bound.
#include <emmintrin.h>

#include <cstring>

#include "Bench.h"

namespace {

const int W = 1024, H = 768;
const char* const kLevelNames[] = {"scalar", "SSE2", "AVX2"};

double Mpix(double seconds) { return double(W) * H / seconds / 1e6; }

// A DIB section of the given depth (top row first) holding bytes, selected into its own DC.
struct DibDC {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DibDC(int bits, const uint8_t* bytes, bool bottomUp) {
        BITMAPINFO info;
        std::memset(&info, 0, sizeof info);
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = W;
        info.bmiHeader.biHeight = bottomUp ? H : -H;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = WORD(bits);
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        dc = ::CreateCompatibleDC(nullptr);
        bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        if (pixels) std::memcpy(pixels, bytes, size_t(W) * H * (bits / 8));
        old = ::SelectObject(dc, bitmap);
    }
    ~DibDC() {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
};

// A plain SSE2 copy, 64 bytes a step.
__attribute__((target("sse2"))) void CopySse2(const uint8_t* src, uint8_t* dst, size_t bytes) {
    for (size_t i = 0; i + 64 <= bytes; i += 64) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 32));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 48));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), a);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 16), b);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 32), c);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 48), d);
    }
}

// Bytes touched per second by the copy (read + write).
double CopyBytesPerSecond(const uint8_t* src, uint8_t* dst, size_t bytes) {
    const double t = MedianSecondsPerCall([&] { CopySse2(src, dst, bytes); });
    return 2.0 * double(bytes) / t;
}

void AlphaBlits(CVorGraphics& g, const std::string& group, const Picture& pic) {
    CVorTga tga;
    const std::vector<uint8_t> file = TgaFileOf(pic);
    if (!tga.InitFromMemory(file.data(), file.size())) return;
    for (int level = VOR_BLIT_SCALAR; level <= VOR_BLIT_AVX2; ++level) {
        if (!CVorGraphics::SetBlitLevel(level)) continue;
        Report(group, std::string("VorImage4 ") + kLevelNames[level], Mpix(MedianSecondsPerCall([&] { g.Draw(&tga, 0, 0); })),
               "Mpixel/s");
    }
    CVorGraphics::SetBlitLevel(CVorGraphics::GetBestBlitLevel());
    Report(group, "VorImage4 best at opacity 200",
           Mpix(MedianSecondsPerCall([&] { g.Draw(&tga, 0, 0, 0, 0, W, H, 200); })), "Mpixel/s");

    Gdiplus::Graphics* graphics = g.GetGraphics();
    graphics->SetCompositingMode(Gdiplus::CompositingModeSourceOver);
    graphics->SetCompositingQuality(Gdiplus::CompositingQualityHighSpeed);
    graphics->SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    std::vector<uint8_t> argbBytes(pic.bgra), pargbBytes = Premultiplied(pic);
    Gdiplus::Bitmap argb(W, H, 4 * W, PixelFormat32bppARGB, argbBytes.data());
    Gdiplus::Bitmap pargb(W, H, 4 * W, PixelFormat32bppPARGB, pargbBytes.data());
    Report(group, "GDI+ DrawImage ARGB", Mpix(MedianSecondsPerCall([&] {
               graphics->DrawImage(&argb, 0, 0, W, H);
               graphics->Flush(Gdiplus::FlushIntentionSync);
           })),
           "Mpixel/s");
    Report(group, "GDI+ DrawImage PARGB", Mpix(MedianSecondsPerCall([&] {
               graphics->DrawImage(&pargb, 0, 0, W, H);
               graphics->Flush(Gdiplus::FlushIntentionSync);
           })),
           "Mpixel/s");

    DibDC source(32, pargbBytes.data(), false);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    HDC target = g.GetMemDC()->m_hDC;
    Report(group, "GDI AlphaBlend", Mpix(MedianSecondsPerCall([&] {
               ::AlphaBlend(target, 0, 0, W, H, source.dc, 0, 0, W, H, blend);
               ::GdiFlush();
           })),
           "Mpixel/s");

    std::vector<uint8_t> scratch(pic.bgra.size());
    const double bytesPerSecond = CopyBytesPerSecond(pic.bgra.data(), scratch.data(), scratch.size());
    Report(group, "bound: SSE2 copy at 10 bytes/pixel", bytesPerSecond / 10.0 / 1e6, "Mpixel/s");
}

void KeyedBlits(CVorGraphics& g, const Picture& pic) {
    const std::string group = "colour-key copy";
    // 24-bit rows, bottom row first; where the sprite is less than half opaque, the key colour.
    std::vector<uint8_t> bits(size_t(W) * H * 3);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint8_t* s = &pic.bgra[(size_t(y) * W + x) * 4];
            uint8_t* d = &bits[(size_t(H - 1 - y) * W + x) * 3];
            const bool key = s[3] < 128;
            d[0] = key ? 0xFF : s[0];
            d[1] = key ? 0x00 : s[1];
            d[2] = key ? 0xFF : s[2];
        }
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = W;
    info.bmiHeader.biHeight = H;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    CVorBitmap keyed(bits.data(), int(bits.size()), info, 0xFF, 0x00, 0xFF);
    for (int level = VOR_BLIT_SCALAR; level <= VOR_BLIT_AVX2; ++level) {
        if (!CVorGraphics::SetBlitLevel(level)) continue;
        Report(group, std::string("VorImage4 ") + kLevelNames[level],
               Mpix(MedianSecondsPerCall([&] { g.Draw(&keyed, 0, 0); })), "Mpixel/s");
    }
    CVorGraphics::SetBlitLevel(CVorGraphics::GetBestBlitLevel());

    Gdiplus::Graphics* graphics = g.GetGraphics();
    Gdiplus::Bitmap bitmap(W, H, -3 * W, PixelFormat24bppRGB, bits.data() + size_t(H - 1) * W * 3);
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorKey(Gdiplus::Color(255, 0, 255), Gdiplus::Color(255, 0, 255));
    Report(group, "GDI+ DrawImage + colour key", Mpix(MedianSecondsPerCall([&] {
               graphics->DrawImage(&bitmap, Gdiplus::Rect(0, 0, W, H), 0, 0, W, H, Gdiplus::UnitPixel, &attributes);
               graphics->Flush(Gdiplus::FlushIntentionSync);
           })),
           "Mpixel/s");
    DibDC source(24, bits.data(), true);
    HDC target = g.GetMemDC()->m_hDC;
    Report(group, "GDI TransparentBlt", Mpix(MedianSecondsPerCall([&] {
               ::TransparentBlt(target, 0, 0, W, H, source.dc, 0, 0, W, H, RGB(255, 0, 255));
               ::GdiFlush();
           })),
           "Mpixel/s");
}

}  // namespace

void RunBlitBenchmarks() {
    CVorGraphics g;
    if (!g.Init(W, H)) return;
    g.InitGraphics(static_cast<CPaintDC*>(nullptr));
    if (!g.GetGraphics() || !g.GetMemDC()) return;
    const Picture sprites = SpritePicture(W, H, 64);
    AlphaBlits(g, "alpha blit (sprite tiles)", sprites);
    AlphaBlits(g, "alpha blit (random alpha)", NoisePicture(W, H));
    KeyedBlits(g, sprites);
}
