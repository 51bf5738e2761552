// Making and running fuzz inputs. Loaded pictures are drawn through every draw form at random
// and extreme places; the surface's row padding must stay as it was.
#include "FuzzInputs.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "BitmapTestFiles.h"
#include "GuardedBlock.h"
#include "Mutator.h"
#include "VorImage4.h"
#include "tga/TgaTestKit.h"

namespace fuzz {

const char* LoaderName(int loader) {
    static const char* names[] = {"tga", "bmp", "png", "gif", "initgif", "block", "capi"};
    return loader >= 0 && loader < kLoaderCount ? names[loader] : "?";
}

const char* ExtensionOf(int loader) {
    static const char* ext[] = {".tga", ".bmp", ".png", ".gif", ".gif", ".blk", ".tga"};
    return loader >= 0 && loader < kLoaderCount ? ext[loader] : ".bin";
}

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool EndsWith(const std::string& s, const char* tail) {
    const size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// A valid TGA written from code: any size up to 40 x 30, any layout the reader takes (true colour
// of 15 to 32 bits, grey, colour-mapped), raw or run-length, any origin, with or without an image ID.
std::vector<uint8_t> MadeTga(Random& rng) {
    const unsigned w = unsigned(rng.Range(0, 40)), h = unsigned(rng.Range(0, 30));
    const tgakit::TgaLayout l = tgakit::AnyLayout([&](int lo, int hi) { return int(rng.Range(lo, hi)); });
    uint32_t state = uint32_t(rng.Next());
    std::vector<tgakit::Bgra> picture(size_t(w) * h);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = (i > 0 && rng.OneIn(3)) ? picture[i - 1] : tgakit::RandomPixel(state);
    return tgakit::MakeTga(w, h, picture, l);
}

const std::vector<uint8_t>& Pick(const std::vector<std::vector<uint8_t>>& list, Random& rng) {
    return list[size_t(rng.Range(0, int64_t(list.size()) - 1))];
}

// Positions and sizes: mostly near the surface, sometimes at the ends of the int range.
int Coordinate(Random& rng, int span) {
    switch (rng.Range(0, 9)) {
        case 0: return INT_MIN;
        case 1: return INT_MAX;
        case 2: return int(rng.Interesting());
        case 3: return int(rng.Range(INT_MIN / 2, INT_MAX / 2));
        default: return int(rng.Range(-span, span));
    }
}

int Size(Random& rng, int span) {
    switch (rng.Range(0, 9)) {
        case 0: return INT_MAX;
        case 1: return INT_MIN;
        case 2: return 0;
        case 3: return int(rng.Interesting());
        case 4: return -int(rng.Range(1, span));
        default: return int(rng.Range(1, span));
    }
}

// The surface every input draws on: odd width, so each row ends in a padding byte.
const int kSurfaceWidth = 61, kSurfaceHeight = 37;
const uint8_t kPadding = 0xA5;

CVorGraphics& Surface() {
    static CVorGraphics* g = nullptr;
    if (!g) {
        g = new CVorGraphics();
        g->GdiInit();
        g->Init(kSurfaceWidth, kSurfaceHeight);
        g->InitGraphics(static_cast<CPaintDC*>(nullptr));  // a memory DC of its own
    }
    return *g;
}

void MarkPadding(BYTE* rows, int stride, int width, int height) {
    if (!rows) return;
    for (int y = 0; y < height; ++y)
        for (int x = 3 * width; x < stride; ++x) rows[size_t(y) * stride + x] = kPadding;
}

bool PaddingKept(const BYTE* rows, int stride, int width, int height) {
    if (!rows) return true;
    for (int y = 0; y < height; ++y)
        for (int x = 3 * width; x < stride; ++x)
            if (rows[size_t(y) * stride + x] != kPadding) return false;
    return true;
}

// Replay mode: the first draw call that wrote into the padding is named.
bool g_trace = false;
bool g_traced = false;

void Trace(CVorGraphics& g, const char* call, int x, int y, int a = 0, int b = 0, int c = 0, int d = 0) {
    if (!g_trace || g_traced) return;
    if (PaddingKept(g.GetPixels(), g.GetStride(), kSurfaceWidth, kSurfaceHeight) &&
        PaddingKept(g.GetBackCopy(), g.GetStride(), kSurfaceWidth, kSurfaceHeight))
        return;
    std::printf("first stray write by %s(x %d, y %d, %d, %d, %d, %d)\n", call, x, y, a, b, c, d);
    g_traced = true;
}

void DrawTga(CVorGraphics& g, CVorTga& t, Random& rng) {
    const int span = 80;
    for (int k = int(rng.Range(2, 6)); k > 0; --k) {
        const int x = Coordinate(rng, span), y = Coordinate(rng, span);
        switch (rng.Range(0, 2)) {
            case 0:
                g.Draw(&t, x, y);
                Trace(g, "Draw(tga)", x, y);
                break;
            case 1: {
                const int sx = Coordinate(rng, span), sy = Coordinate(rng, span), w = Size(rng, span), h = Size(rng, span);
                g.Draw(&t, x, y, sx, sy, w, h);
                Trace(g, "Draw(tga, src)", x, y, sx, sy, w, h);
                break;
            }
            default: {
                const int sx = Coordinate(rng, span), sy = Coordinate(rng, span), w = Size(rng, span), h = Size(rng, span);
                g.Draw(&t, x, y, sx, sy, w, h, uint8_t(rng.Next()));
                Trace(g, "Draw(tga, src, alpha)", x, y, sx, sy, w, h);
                break;
            }
        }
    }
    CVorTga copy(t);  // a copy shares the pixels and draws the same
    const int x = Coordinate(rng, span), y = Coordinate(rng, span);
    g.Draw(&copy, x, y);
    Trace(g, "Draw(tga copy)", x, y);
}

void DrawBitmap(CVorGraphics& g, CVorBitmap& b, Random& rng) {
    const int span = 80;
    for (int k = int(rng.Range(2, 6)); k > 0; --k) {
        // Every value drawn in a fixed order, so a seed means the same calls on every compiler.
        const int x = Coordinate(rng, span), y = Coordinate(rng, span);
        const int sx = Coordinate(rng, span), sy = Coordinate(rng, span);
        const int w = Size(rng, span), h = Size(rng, span);
        const uint8_t alpha = uint8_t(rng.Next());
        switch (rng.Range(0, 7)) {
            case 0:
                g.Draw(&b, x, y);
                Trace(g, "Draw(bitmap)", x, y);
                break;
            case 1:
                g.Draw(&b, x, y, alpha);
                Trace(g, "Draw(bitmap, alpha)", x, y, alpha);
                break;
            case 2:
                g.Draw(&b, x, y, sx, sy, w, h);
                Trace(g, "Draw(bitmap, src)", x, y, sx, sy, w, h);
                break;
            case 3:
                g.Draw(&b, x, y, sx, sy, w, h, alpha);
                Trace(g, "Draw(bitmap, src, alpha)", x, y, sx, sy, w, h);
                break;
            case 4:
                g.DrawImage(&b, x, y, w, h);
                Trace(g, "DrawImage(bitmap, w, h)", x, y, w, h);
                break;
            case 5:
                g.DrawImage(&b, Gdiplus::RectF(float(x), float(y), float(w), float(h)),
                            Gdiplus::RectF(float(sx), float(sy), float(Size(rng, span)), float(Size(rng, span))));
                Trace(g, "DrawImage(bitmap, RectF, RectF)", x, y, w, h);
                break;
            case 6:
                g.SetBackBitmap(&b);
                g.DrawBack();
                Trace(g, "SetBackBitmap + DrawBack", 0, 0);
                break;
            default: {
                CVorBrush brush;
                brush.Init(&b, Gdiplus::WrapMode(alpha % 5));
                g.FillRectangle(&brush, x, y, w, h);
                Trace(g, "FillRectangle(texture brush)", x, y, w, h);
                break;
            }
        }
    }
    // As a sprite, whole and then in parts.
    CVorSprite sprite;
    sprite.Init(&b);
    g.InitSprite();
    const int x = Coordinate(rng, span), y = Coordinate(rng, span), w = Size(rng, span), h = Size(rng, span);
    const int sx = Coordinate(rng, span), sy = Coordinate(rng, span);
    g.AddSprite(&sprite, x, y, w, h, sx, sy, uint8_t(rng.Next()));
    g.DrawSprite(false);
    Trace(g, "sprite whole", x, y, sx, sy, w, h);
    g.InitSprite();
    const int dx = int(rng.Range(-10, 70)), dy = int(rng.Range(-10, 40));
    const int dw = int(rng.Range(0, 30)), dh = int(rng.Range(0, 30));
    g.GetZang().AddRect(CVorRect(dx, dy, dw, dh));
    g.AddSprite(&sprite);
    g.DrawSprite(false);
    Trace(g, "sprite part", dx, dy, dw, dh);
    g.InitSprite();
    g.DrawSprite(false);  // the sprite leaves the list
    CVorBitmap copy(b);
    const int cx = Coordinate(rng, span), cy = Coordinate(rng, span);
    g.Draw(&copy, cx, cy);
    Trace(g, "Draw(bitmap copy)", cx, cy);
}

}  // namespace

void SetTrace(bool on) { g_trace = on; }

bool SeedFiles::Load(const std::string& directory) {
    WIN32_FIND_DATAA found;
    HANDLE h = ::FindFirstFileA((directory + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            std::vector<std::vector<uint8_t>>* list = EndsWith(name, ".tga")   ? &tga
                                                      : EndsWith(name, ".bmp") ? &bmp
                                                      : EndsWith(name, ".png") ? &png
                                                      : EndsWith(name, ".gif") ? &gif
                                                                               : nullptr;
            if (list) list->push_back(ReadFile(directory + "\\" + name));
        } while (::FindNextFileA(h, &found));
        ::FindClose(h);
    }
    return !tga.empty() && !bmp.empty() && !png.empty() && !gif.empty();
}

int LoaderOf(uint64_t seed) {
    // The C interface takes one input in seven, drawn apart from the rest, so every other input
    // is the same as before it joined.
    Random pickCApi(MixSeed(seed ^ 0xC0FFEEu));
    if (pickCApi.OneIn(7)) return kCApi;
    Random pick(seed);
    return int(pick.Range(0, kBlock));
}

Input MakeInput(uint64_t seed, const SeedFiles& seeds) {
    Random rng(seed);
    Input in;
    in.seed = seed;
    in.loader = int(rng.Range(0, kBlock));
    if (LoaderOf(seed) == kCApi) in.loader = kCApi;
    switch (in.loader) {
        case kTga:
            in.bytes = rng.OneIn(2) ? MadeTga(rng) : Pick(seeds.tga, rng);
            if (!rng.OneIn(8)) Mutate(in.bytes, 18, rng);
            break;
        case kBmp:
            in.bytes = Pick(seeds.bmp, rng);
            if (!rng.OneIn(8)) Mutate(in.bytes, 54, rng);
            break;
        case kPng:
            in.bytes = Pick(seeds.png, rng);
            if (!rng.OneIn(8)) Mutate(in.bytes, 40, rng);
            if (!rng.OneIn(4)) FixPngCrcs(in.bytes);
            break;
        case kGif:
        case kInitGif:
            in.bytes = Pick(seeds.gif, rng);
            if (!rng.OneIn(8)) Mutate(in.bytes, 32, rng);
            break;
        case kCApi:
            in.bytes = rng.OneIn(2) ? MadeTga(rng) : Pick(seeds.tga, rng);
            if (!rng.OneIn(4)) Mutate(in.bytes, 18, rng);
            break;
        default: {  // a host pixel block: header sizes and the size argument against the bytes held
            in.blockWidth = rng.OneIn(5) ? int(rng.Interesting()) : int(rng.Range(-3, 40));
            in.blockHeight = rng.OneIn(5) ? int(rng.Interesting()) : int(rng.Range(-3, 30));
            const int64_t need = int64_t(in.blockWidth) * in.blockHeight * 3;
            int64_t held = need > 0 && need <= 20000 ? need : int64_t(rng.Range(0, 600));
            if (rng.OneIn(3)) held = rng.Range(0, held);  // short block
            in.bytes.resize(size_t(held));
            for (uint8_t& b : in.bytes) b = uint8_t(rng.Next());
            in.sizeArgument = rng.OneIn(4) ? int(rng.Range(0, held)) : int(held);
            if (rng.OneIn(8)) in.sizeArgument = -int(rng.Range(1, 1 << 20));
            if (rng.OneIn(10)) in.sizeArgument = INT_MIN;
            in.zoom = rng.OneIn(2);
            in.colourKey = rng.OneIn(3);
            break;
        }
    }
    return in;
}

bool RunInput(const Input& input, const std::string& tempDir, Outcome* outcome) {
    if (input.loader == kCApi) return RunCApiInput(input, outcome);
    CVorGraphics& g = Surface();
    Random rng(MixSeed(input.seed ^ 0xD7A3u));
    MarkPadding(g.GetPixels(), g.GetStride(), kSurfaceWidth, kSurfaceHeight);
    MarkPadding(g.GetBackCopy(), g.GetStride(), kSurfaceWidth, kSurfaceHeight);
    *outcome = kRefused;

    if (input.loader == kBlock) {
        // The block ends right before a no-access page: reading past size bytes faults.
        GuardedBlock block(input.bytes.data(), input.bytes.size());
        BITMAPINFO info = MemoryImageHeader(input.blockWidth, input.blockHeight);
        CVorBitmap b;
        if (input.colourKey) b.Init(block.Data(), input.sizeArgument, info, 1, 2, 3);
        else b.Init(block.Data(), input.sizeArgument, info, input.zoom ? 1 : 0);
        const bool whole = b.GetMemBitmap() && b.GetWidth() > 0 && b.GetHeight() > 0 &&
                           int64_t(b.GetMemSize()) >= int64_t(b.GetWidth()) * b.GetHeight() * 3;
        if (whole) *outcome = kLoaded;
        if (b.GetMemBitmap()) DrawBitmap(g, b, rng);
    } else if (input.loader == kTga) {
        CVorTga t;
        bool ok;
        if (rng.OneIn(4)) {
            const std::string path = tempDir + "input.tga";
            ok = imagefile::WriteFile(path, input.bytes) && t.Init(path.c_str());
            ::DeleteFileA(path.c_str());
        } else {
            GuardedBlock file(input.bytes.data(), input.bytes.size());
            ok = t.InitFromMemory(file.Data(), file.Size());
        }
        // The answer must match the picture: a refused one is empty, a loaded one has pixels
        // exactly when it has an area (a 0 x n picture is valid and has none).
        const bool hasArea = t.GetWidth() > 0 && t.GetHeight() > 0;
        const bool consistent = ok ? (t.GetBuffer() != nullptr) == hasArea
                                   : !t.GetBuffer() && t.GetWidth() == 0 && t.GetHeight() == 0;
        if (!consistent) {
            std::printf("inconsistent TGA result: %s, %lux%lu, buffer %s\n", ok ? "loaded" : "refused",
                        t.GetWidth(), t.GetHeight(), t.GetBuffer() ? "set" : "null");
            return false;
        }
        if (ok) {
            *outcome = kLoaded;
            DrawTga(g, t, rng);
        }
    } else {
        // A file of its own per input: GDI+ (wine's at least) can keep a file it failed to load
        // open until the process ends, and the parent removes the files after each child.
        char name[48];
        std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(input.seed));
        const std::string path = tempDir + name + ExtensionOf(input.loader);
        if (!imagefile::WriteFile(path, input.bytes)) return true;
        CVorBitmap b;
        if (input.loader == kInitGif) b.InitGif(Wide(path).c_str());
        else if (rng.OneIn(3)) b.Init(Wide(path).c_str(), 255, 0, 255);
        else b.Init(Wide(path).c_str());
        // A failed load keeps a GDI+ object without an image: 0 x 0.
        if (b.GetBitmap() && b.GetWidth() > 0) {
            *outcome = kLoaded;
            if (input.loader == kInitGif && b.GetFrames() > 1) {
                CVorSprite s;
                s.Init(&b);
                for (int k = 0; k < 3; ++k) s.StepFrameAt(DWORD(rng.Range(0, 100000)));
            }
            DrawBitmap(g, b, rng);
        }
    }
    if (input.loader != kTga && input.loader != kBlock) {
        char name[48];
        std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(input.seed));
        ::DeleteFileA((tempDir + name + ExtensionOf(input.loader)).c_str());  // fails while still held
    }
    return PaddingKept(g.GetPixels(), g.GetStride(), kSurfaceWidth, kSurfaceHeight) &&
           PaddingKept(g.GetBackCopy(), g.GetStride(), kSurfaceWidth, kSurfaceHeight);
}

}  // namespace fuzz
