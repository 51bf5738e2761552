// Fuzz inputs for the C interface's entry points that take sizes and blocks: TGA file images and
// host pixel blocks (with fuzzed headers and size arguments) placed right before a no-access page,
// surface sizes, reads into short buffers, dirty rectangles, placements, and strings without a
// NUL that end at a no-access page. Every call must answer with a status that matches what it
// did, and draws must stay inside the surface's pixels.
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "FuzzInputs.h"
#include "GuardedBlock.h"
#include "Mutator.h"
#include "VorImage4C.h"

namespace fuzz {
namespace {

const int kWidth = 61, kHeight = 37;  // odd width: every row ends in a padding byte
const unsigned char kPad = 0x5A;

VorSurface* Surface() {
    static VorSurface* surface = nullptr;
    if (!surface) {
        surface = vor_surface_create(kWidth, kHeight);
        vor_surface_bind_dc(surface, nullptr);  // a memory DC of its own, for the GDI+ draws
    }
    return surface;
}

// The back buffer and the background copy (which the background draw copies whole) have the
// same row padding.
void MarkPadding(VorSurface* s) {
    const int stride = vor_surface_stride(s);
    for (unsigned char* p : {vor_surface_pixels(s), vor_surface_back_copy(s)})
        for (int y = 0; p && y < kHeight; ++y) std::memset(p + y * stride + 3 * kWidth, kPad, stride - 3 * kWidth);
}

bool PaddingKept(VorSurface* s) {
    const int stride = vor_surface_stride(s);
    for (const unsigned char* p : {vor_surface_pixels(s), vor_surface_back_copy(s)})
        for (int y = 0; p && y < kHeight; ++y)
            for (int x = 3 * kWidth; x < stride; ++x)
                if (p[y * stride + x] != kPad) return false;
    return true;
}

// Mostly near the surface, sometimes at the ends of the int range.
int Value(Random& rng) {
    switch (rng.Range(0, 9)) {
        case 0:
            return INT_MIN;
        case 1:
            return INT_MAX;
        case 2:
            return int(rng.Interesting());
        default:
            return int(rng.Range(-90, 90));
    }
}

bool Fault(const Input& input, const char* what) {
    std::printf("FAULT in the C interface (input seed 0x%016llx): %s, status %d\n",
                static_cast<unsigned long long>(input.seed), what, vor_last_status());
    return false;
}

// A 40-byte BITMAPINFOHEADER with fuzzed fields, ending at a no-access page.
void FillHeader(GuardedBlock& header, Random& rng, int width, int height) {
    unsigned char* h = header.Data();
    std::memset(h, 0, 40);
    const int fields[5] = {rng.OneIn(6) ? int(rng.Interesting()) : 40, width, height,
                           rng.OneIn(6) ? int(rng.Next()) : 1, rng.OneIn(6) ? int(rng.Interesting()) : 24};
    std::memcpy(h, &fields[0], 4);
    std::memcpy(h + 4, &fields[1], 4);
    std::memcpy(h + 8, &fields[2], 4);
    std::memcpy(h + 12, &fields[3], 2);
    std::memcpy(h + 14, &fields[4], 2);
}

void Draw(VorSurface* s, VorTga* t, VorBitmap* b, Random& rng) {
    for (int k = int(rng.Range(2, 8)); k > 0; --k) {
        const int x = Value(rng), y = Value(rng), sx = Value(rng), sy = Value(rng), w = Value(rng), h = Value(rng);
        const unsigned char alpha = (unsigned char)rng.Next();
        switch (rng.Range(0, 8)) {
            case 0:
                vor_draw_tga(s, t, x, y);
                break;
            case 1:
                vor_draw_tga_part(s, t, x, y, sx, sy, w, h);
                break;
            case 2:
                vor_draw_tga_part_alpha(s, t, x, y, sx, sy, w, h, alpha);
                break;
            case 3:
                vor_draw_bitmap(s, b, x, y);
                break;
            case 4:
                vor_draw_bitmap_alpha(s, b, x, y, alpha);
                break;
            case 5:
                vor_draw_bitmap_part(s, b, x, y, sx, sy, w, h);
                break;
            case 6:
                vor_draw_bitmap_part_alpha(s, b, x, y, sx, sy, w, h, alpha);
                break;
            case 7:
                vor_fill_rect(s, x, y, w, h, alpha, 1, 2);
                break;
            default:
                vor_surface_set_back(s, b);
                vor_surface_draw_back(s);
                break;
        }
    }
}

// Sprites of both pictures placed at fuzzed places, a frame drawn, dirty rectangles read back.
bool Frame(const Input& input, VorSurface* s, VorTga* t, VorBitmap* b, Random& rng) {
    VorSprite* sprites[2] = {vor_sprite_create(), vor_sprite_create()};
    vor_sprite_set_tga(sprites[0], t);
    vor_sprite_set_bitmap(sprites[1], b);
    vor_surface_begin_frame(s);
    for (VorSprite* sprite : sprites)
        vor_surface_add_at(s, sprite, Value(rng), Value(rng), Value(rng), Value(rng), Value(rng), Value(rng),
                           (unsigned char)rng.Next());
    const int x = Value(rng), y = Value(rng), w = Value(rng), h = Value(rng);
    if ((vor_surface_add_dirty(s, x, y, w, h) == VOR_OK) != (w >= 0 && h >= 0)) return Fault(input, "add_dirty");
    vor_surface_draw_frame(s, 0);
    const int count = vor_surface_dirty_count(s), index = int(rng.Range(-2, count + 1));
    VorRect r;
    if ((vor_surface_dirty_rect(s, index, &r) == VOR_OK) != (index >= 0 && index < count))
        return Fault(input, "dirty_rect");
    vor_surface_clear_sprites(s);
    for (VorSprite* sprite : sprites) vor_sprite_destroy(sprite);
    return true;
}

// Reads into a buffer of fuzzed size and stride that ends at a no-access page.
bool Read(const Input& input, VorSurface* s, Random& rng) {
    const size_t need = size_t(3 * kWidth) * kHeight;
    const size_t size = rng.OneIn(3) ? size_t(rng.Range(0, int64_t(need) + 64)) : need;
    const int stride = rng.OneIn(3) ? Value(rng) : 3 * kWidth + int(rng.Range(0, 2));
    GuardedBlock dst(size);
    const bool fits = stride >= 3 * kWidth && uint64_t(stride) * (kHeight - 1) + 3 * kWidth <= size;
    if ((vor_surface_read(s, dst.Data(), size, stride) == VOR_OK) != fits) return Fault(input, "surface_read");
    unsigned rgb;
    const int px = Value(rng), py = Value(rng);
    if ((vor_surface_get_pixel(s, px, py, &rgb) == VOR_OK) != (px >= 0 && py >= 0 && px < kWidth && py < kHeight))
        return Fault(input, "get_pixel");
    return true;
}

// Surfaces of fuzzed size, made and freed (sizes whose pixels fit but need more than a few
// megabytes are cut down to keep the run fast).
bool Sizes(const Input& input, Random& rng) {
    int w = Value(rng), h = Value(rng);
    if (w > 0 && h > 0 && int64_t(w) * h > (1 << 20) && int64_t(w) * h * 3 <= INT_MAX) h = 1;
    VorSurface* s = vor_surface_create(w, h);
    if ((s != nullptr) != (vor_last_status() == VOR_OK)) return Fault(input, "surface_create status");
    if (s && (vor_surface_width(s) != w || vor_surface_height(s) != h)) return Fault(input, "surface size");
    if (!s && w > 0 && h > 0 && int64_t(w) * h * 3 < (1 << 24)) return Fault(input, "small surface refused");
    vor_surface_destroy(s);
    return true;
}

// Strings without a NUL, ending at a no-access page: texts are read up to VOR_TEXT_MAX units,
// names are refused after VOR_PATH_MAX characters; neither may read past its bound.
bool Unterminated(const Input& input, VorSurface* s, Random& rng) {
    const size_t textUnits = VOR_TEXT_MAX + size_t(rng.Range(0, 3));
    GuardedBlock text(textUnits);
    std::memset(text.Data(), 'a' + int(rng.Range(0, 25)), textUnits);
    const char* ansi = reinterpret_cast<const char*>(text.Data());
    VorSprite* sprite = vor_sprite_create();
    vor_surface_add_text(s, sprite, Value(rng), Value(rng), Value(rng), Value(rng), ansi, 0xFFFFFFFFu, 0);
    vor_surface_clear_sprites(s);
    vor_sprite_destroy(sprite);
    GuardedBlock wide(textUnits * sizeof(wchar_t));
    for (size_t i = 0; i < textUnits; ++i) reinterpret_cast<wchar_t*>(wide.Data())[i] = L'W';
    VorFont* font = vor_font_create(9, L"DejaVu Sans", 0);
    vor_draw_text(s, reinterpret_cast<const wchar_t*>(wide.Data()), Value(rng), Value(rng), font, 0xFF00FF00u);
    vor_font_destroy(font);
    GuardedBlock name(size_t(VOR_PATH_MAX) + 1);
    std::memset(name.Data(), 'p', name.Size());
    if (vor_tga_load_file(reinterpret_cast<const char*>(name.Data())) || vor_last_status() != VOR_E_ARGUMENT)
        return Fault(input, "unterminated path accepted");
    return true;
}

}  // namespace

bool RunCApiInput(const Input& input, Outcome* outcome) {
    VorSurface* s = Surface();
    Random rng(MixSeed(input.seed ^ 0xCA91u));
    MarkPadding(s);
    *outcome = kRefused;

    // A TGA file image, with a size argument up to the bytes held.
    GuardedBlock file(input.bytes.data(), input.bytes.size());
    const size_t size = rng.OneIn(4) ? size_t(rng.Range(0, int64_t(file.Size()))) : file.Size();
    VorTga* t = vor_tga_load_memory(file.Data(), size);
    if ((t != nullptr) != (vor_last_status() == VOR_OK)) return Fault(input, "tga_load_memory status");

    // A host pixel block with a fuzzed header and size argument.
    const int w = rng.OneIn(5) ? int(rng.Interesting()) : int(rng.Range(-3, 40));
    const int h = rng.OneIn(5) ? int(rng.Interesting()) : int(rng.Range(-3, 30));
    const int64_t need = int64_t(w) * h * 3;
    size_t held = need > 0 && need <= 20000 ? size_t(need) : size_t(rng.Range(0, 600));
    if (rng.OneIn(3)) held = size_t(rng.Range(0, int64_t(held)));
    GuardedBlock bits(held);
    for (size_t i = 0; i < held; ++i) bits.Data()[i] = uint8_t(rng.Next());
    GuardedBlock header(40);
    FillHeader(header, rng, w, h);
    int sizeArgument = rng.OneIn(4) ? int(rng.Range(0, int64_t(held))) : int(held);
    if (rng.OneIn(8)) sizeArgument = rng.OneIn(2) ? INT_MIN : -int(rng.Range(1, 1 << 20));
    VorBitmap* b = rng.OneIn(3)
                       ? vor_bitmap_load_pixels_key(bits.Data(), sizeArgument, header.Data(), 1, 2, 3)
                       : vor_bitmap_load_pixels(bits.Data(), sizeArgument, header.Data(), int(rng.Range(0, 1)));
    if ((b != nullptr) != (vor_last_status() == VOR_OK)) return Fault(input, "bitmap_load_pixels status");
    if (sizeArgument < 0 && b) return Fault(input, "negative block size accepted");
    if (t || b) *outcome = kLoaded;

    Draw(s, t, b, rng);
    bool clean = Frame(input, s, t, b, rng) && Read(input, s, rng) && Sizes(input, rng) && Unterminated(input, s, rng);
    vor_bitmap_destroy(b);
    vor_tga_destroy(t);
    if (clean && !PaddingKept(s)) clean = Fault(input, "a draw wrote into the surface's row padding");
    return clean;
}

}  // namespace fuzz
