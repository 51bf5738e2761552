// Whole-picture blits onto a 1024x768 back buffer: our levels against GDI+ and GDI, on the same
// pictures, and a plain SSE2 copy of buffers of the same size as the memory-bandwidth bound.
#include <emmintrin.h>

#include <cstring>
#include <utility>

#include "Bench.h"
#include "ImageFileBytes.h"

namespace {

const int kW = 1024, kH = 768;
const char* const kLevelNames[] = {"scalar", "SSE2", "SSSE3", "AVX2"};

// A DIB section of the given depth (top row first) holding bytes, selected into its own DC.
struct DibDC {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DibDC(int w, int h, int bits, const uint8_t* bytes, bool bottomUp) {
        BITMAPINFO info;
        std::memset(&info, 0, sizeof info);
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = bottomUp ? h : -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = WORD(bits);
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        dc = ::CreateCompatibleDC(nullptr);
        bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        if (pixels) std::memcpy(pixels, bytes, size_t(w) * h * (bits / 8));
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

// Named contenders of one group, timed in turns, reported in Mpixel/s of the whole picture.
struct Contenders {
    std::vector<std::string> names;
    std::vector<std::function<void()>> work;
    std::vector<double> pixels;  // per call
    void Add(const std::string& name, std::function<void()> f, double pixelsPerCall) {
        names.push_back(name);
        work.push_back(std::move(f));
        pixels.push_back(pixelsPerCall);
    }
    void Report(const std::string& group) const {
        const std::vector<double> seconds = MedianSecondsInTurns(work);
        for (size_t k = 0; k < names.size(); ++k) ::Report(group, names[k], pixels[k] / seconds[k] / 1e6, "Mpixel/s");
    }
};

// Our levels the CPU runs, each drawing through draw().
void AddLevels(Contenders& c, const std::function<void()>& draw, double pixelsPerCall) {
    for (int level = VOR_BLIT_SCALAR; level <= VOR_BLIT_AVX2; ++level) {
        if (level > CVorGraphics::GetBestBlitLevel()) continue;
        c.Add(std::string("VorImage4 ") + kLevelNames[level], [level, draw] {
            CVorGraphics::SetBlitLevel(level);
            draw();
        }, pixelsPerCall);
    }
}

// The picture over the whole of g (as large as the picture). withPeers: GDI+ and GDI too.
void AlphaBlits(CVorGraphics& g, const std::string& group, const Picture& pic, bool withPeers) {
    const int W = pic.width, H = pic.height;
    const double n = double(W) * H;
    CVorTga tga;
    const std::vector<uint8_t> file = TgaFileOf(pic);
    if (!tga.InitFromMemory(file.data(), file.size())) return;
    Contenders c;
    AddLevels(c, [&] { g.Draw(&tga, 0, 0); }, n);
    c.Add("VorImage4 best at opacity 200", [&] {
        CVorGraphics::SetBlitLevel(CVorGraphics::GetBestBlitLevel());
        g.Draw(&tga, 0, 0, 0, 0, W, H, 200);
    }, n);

    // The peers draw the same picture: GDI+ from straight and premultiplied ARGB, GDI AlphaBlend
    // from a premultiplied 32-bit DIB.
    Gdiplus::Graphics* graphics = g.GetGraphics();
    graphics->SetCompositingMode(Gdiplus::CompositingModeSourceOver);
    graphics->SetCompositingQuality(Gdiplus::CompositingQualityHighSpeed);
    graphics->SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    std::vector<uint8_t> argbBytes(pic.bgra), pargbBytes = Premultiplied(pic);
    Gdiplus::Bitmap argb(W, H, 4 * W, PixelFormat32bppARGB, argbBytes.data());
    Gdiplus::Bitmap pargb(W, H, 4 * W, PixelFormat32bppPARGB, pargbBytes.data());
    DibDC source(W, H, 32, pargbBytes.data(), false);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    HDC target = g.GetMemDC()->m_hDC;
    if (withPeers) {
        c.Add("GDI+ DrawImage ARGB", [&] {
            graphics->DrawImage(&argb, 0, 0, W, H);
            graphics->Flush(Gdiplus::FlushIntentionSync);
        }, n);
        c.Add("GDI+ DrawImage PARGB", [&] {
            graphics->DrawImage(&pargb, 0, 0, W, H);
            graphics->Flush(Gdiplus::FlushIntentionSync);
        }, n);
        c.Add("GDI AlphaBlend", [&] {
            ::AlphaBlend(target, 0, 0, W, H, source.dc, 0, 0, W, H, blend);
            ::GdiFlush();
        }, n);
    }
    // The bound: the picture's bytes copied; bytes read + written per second, at 10 bytes a blended pixel.
    std::vector<uint8_t> scratch(pic.bgra.size());
    c.Add("bound: SSE2 copy at 10 bytes/pixel", [&] { CopySse2(pic.bgra.data(), scratch.data(), scratch.size()); },
          2.0 * double(scratch.size()) / 10.0);
    c.Report(group);
    CVorGraphics::SetBlitLevel(CVorGraphics::GetBestBlitLevel());
}

void KeyedBlits(CVorGraphics& g, const Picture& pic) {
    const std::string group = "colour-key copy";
    const int W = pic.width, H = pic.height;
    const double n = double(W) * H;
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
    imagefile::SetInfo24(&info, W, H);
    CVorBitmap keyed(bits.data(), int(bits.size()), info, 0xFF, 0x00, 0xFF);
    Contenders c;
    AddLevels(c, [&] { g.Draw(&keyed, 0, 0); }, n);

    Gdiplus::Graphics* graphics = g.GetGraphics();
    Gdiplus::Bitmap bitmap(W, H, -3 * W, PixelFormat24bppRGB, bits.data() + size_t(H - 1) * W * 3);
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorKey(Gdiplus::Color(255, 0, 255), Gdiplus::Color(255, 0, 255));
    c.Add("GDI+ DrawImage + colour key", [&] {
        graphics->DrawImage(&bitmap, Gdiplus::Rect(0, 0, W, H), 0, 0, W, H, Gdiplus::UnitPixel, &attributes);
        graphics->Flush(Gdiplus::FlushIntentionSync);
    }, n);
    DibDC source(W, H, 24, bits.data(), true);
    HDC target = g.GetMemDC()->m_hDC;
    c.Add("GDI TransparentBlt", [&] {
        ::TransparentBlt(target, 0, 0, W, H, source.dc, 0, 0, W, H, RGB(255, 0, 255));
        ::GdiFlush();
    }, n);
    c.Report(group);
    CVorGraphics::SetBlitLevel(CVorGraphics::GetBestBlitLevel());
}

}  // namespace

void RunBlitBenchmarks() {
    CVorGraphics g;
    if (!g.Init(kW, kH)) return;
    g.InitGraphics(static_cast<CPaintDC*>(nullptr));
    if (!g.GetGraphics() || !g.GetMemDC()) return;
    const Picture sprites = SpritePicture(kW, kH, 64);
    AlphaBlits(g, "alpha blit (sprite tiles)", sprites, true);
    AlphaBlits(g, "alpha blit (random alpha)", NoisePicture(kW, kH), true);
    KeyedBlits(g, sprites);

    // 1024x768 pictures stay in a large last-level cache; at 4096x3072 (48 MB of picture, 36 MB of
    // back buffer) the copy bound is main memory's.
    CVorGraphics large;
    if (!large.Init(4096, 3072)) return;
    large.InitGraphics(static_cast<CPaintDC*>(nullptr));
    AlphaBlits(large, "alpha blit (random alpha 4096x3072)", NoisePicture(4096, 3072), false);
}
