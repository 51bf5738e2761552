// The Windows-free core under the sanitizers: TGA reader, TGA blitters, rectangles and the dirty
// list, with edge cases and seeded random runs (the seed is printed on failure).
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest.h>

#include <algorithm>

#include <climits>
#include <cstring>
#include <random>
#include <vector>

#include "CVorRect.h"
#include "CVorZang.h"
#include "NativeTgaDecode.h"
#include "render/TgaBlit.h"
#include "../tga/TgaTestKit.h"

using namespace tgakit;

namespace {
// Draws through the library's clip + blitter into a surface with 16 guard bytes either side,
// and checks every byte against the independent expectation.
void CheckDraw(const std::vector<uint32_t>& words, uint32_t tw, uint32_t th, int sw, int sh, const DrawRequest& q) {
    const int stride = (3 * sw + 3) / 4 * 4;
    const size_t bodySize = size_t(stride) * sh, guard = 16;
    std::vector<uint8_t> buffer(bodySize + 2 * guard);
    for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = uint8_t(i * 37 + 11);
    std::vector<uint8_t> expected(buffer.begin() + guard, buffer.begin() + guard + bodySize);
    const std::vector<uint8_t> before = buffer;
    ExpectedDraw(expected, sw, sh, stride, words, tw, th, q);

    std::vector<uint8_t> source(words.size() * 4);
    for (size_t i = 0; i < words.size(); ++i)
        for (int b = 0; b < 4; ++b) source[4 * i + b] = uint8_t(words[i] >> (8 * b));
    PixelSurface surface = {buffer.data() + guard, stride, sw, sh};
    TgaSource picture = {source.data(), tw, th};
    TgaBlitArea area;
    const bool draws = q.whole ? ClipTgaBlitWhole(sw, sh, tw, th, q.x, q.y, area)
                               : ClipTgaBlit(sw, sh, tw, th, q.x, q.y, q.srcX, q.srcY, q.width, q.height, area);
    if (draws) {
        if (q.opacity < 0)
            BlitTgaAlpha(surface, picture, area);
        else
            BlitTgaAlphaOpacity(surface, picture, area, uint8_t(q.opacity));
    }
    CHECK(std::memcmp(buffer.data(), before.data(), guard) == 0);
    CHECK(std::memcmp(buffer.data() + guard + bodySize, before.data() + guard + bodySize, guard) == 0);
    CHECK((bodySize == 0 || std::memcmp(buffer.data() + guard, expected.data(), bodySize) == 0));
}
}  // namespace

TEST_CASE("reader: bottom-first and top-first files, byte order, ID, 24-bit, run-length") {
    // P0..P5 in file order, width 3, height 2
    std::vector<uint8_t> file = Header(3, 2, TgaLayout());
    for (uint8_t i = 0; i < 6; ++i) PutFilePixel(file, Bgra{uint8_t(10 + i), 20, 30, 40}, 32);
    TgaInfo info;
    std::vector<uint32_t> words;
    REQUIRE(Decode(file, info, words));
    const uint32_t p0 = 0x281E140A;  // bytes 10, 20, 30, 40
    CHECK(words == std::vector<uint32_t>{p0 + 3, p0 + 4, p0 + 5, p0, p0 + 1, p0 + 2});

    file[17] |= 0x20;  // stored top row first: loads upright
    REQUIRE(Decode(file, info, words));
    CHECK(words == std::vector<uint32_t>{p0, p0 + 1, p0 + 2, p0 + 3, p0 + 4, p0 + 5});

    file[17] = 0x08 | 0x10;  // bottom row first, right to left
    REQUIRE(Decode(file, info, words));
    CHECK(words == std::vector<uint32_t>{p0 + 5, p0 + 4, p0 + 3, p0 + 2, p0 + 1, p0});

    uint32_t state = 7;
    for (int bits : {24, 32})
        for (bool rle : {false, true})
            for (bool top : {false, true})
                for (int id : {0, 1, 255}) {
                    TgaLayout l;
                    l.bitsPerPixel = bits;
                    l.rle = rle;
                    l.topRowFirst = top;
                    l.idLength = id;
                    const std::vector<Bgra> pic = RandomPicture(13, 7, state);
                    CAPTURE(bits);
                    CAPTURE(rle);
                    CAPTURE(top);
                    CAPTURE(id);
                    REQUIRE(Decode(MakeTga(13, 7, pic, l), info, words));
                    CHECK(words == ExpectedWords(pic, bits));
                }
}

TEST_CASE("reader: every layout, both origins, both directions, packets across rows") {
    uint32_t state = 11;
    TgaInfo info;
    std::vector<uint32_t> words;
    for (TgaLayout l : AllPixelLayouts())
        for (bool top : {false, true})
            for (bool rtl : {false, true}) {
                l.topRowFirst = top;
                l.rightToLeft = rtl;
                l.idLength = rtl ? 5 : 0;
                const std::vector<Bgra> pic = RandomPicture(13, 7, state);  // runs of 1 to many, across rows
                const std::vector<uint8_t> file = MakeTga(13, 7, pic, l);
                CAPTURE(file[2]);
                CAPTURE(int(file[16]));
                CAPTURE(int(file[7]));
                CAPTURE(int(file[17]));
                REQUIRE(Decode(file, info, words));
                CHECK(words == ExpectedWords(pic, l));
            }

    // 5-bit channels widen to v * 255 / 31 rounded down; the top bit is alpha only with 1 alpha bit
    std::vector<uint8_t> file = Header(32, 1, [] { TgaLayout l; l.bitsPerPixel = 16; l.topRowFirst = true; return l; }());
    for (unsigned v = 0; v < 32; ++v) {
        const unsigned word = v | (31 - v) << 5 | v << 10 | (v & 1) << 15;
        file.push_back(uint8_t(word));
        file.push_back(uint8_t(word >> 8));
    }
    REQUIRE(Decode(file, info, words));
    for (unsigned v = 0; v < 32; ++v) {
        CAPTURE(v);
        const uint32_t c = v * 255 / 31, g = (31 - v) * 255 / 31;
        CHECK(words[v] == ((v & 1 ? 0xFF000000u : 0u) | c << 16 | g << 8 | c));
    }
    for (int descriptor : {0x20, 0x28, 0x22}) {  // 0 or 8 or 2 alpha bits: opaque
        file[17] = uint8_t(descriptor);
        REQUIRE(Decode(file, info, words));
        for (uint32_t w : words) CHECK((w >> 24) == 255u);
    }
    file[16] = 15;  // 15 bits: the top bit is never alpha
    file[17] = 0x21;
    REQUIRE(Decode(file, info, words));
    for (uint32_t w : words) CHECK((w >> 24) == 255u);
}

TEST_CASE("reader: refused layouts and short files") {
    const std::vector<Bgra> pic(4 * 3, Bgra{1, 2, 3, 4});
    TgaInfo info;
    std::vector<uint32_t> words;
    const std::vector<uint8_t> good = MakeTga(4, 3, pic);
    REQUIRE(Decode(good, info, words));
    for (size_t n = 0; n < good.size(); ++n) {
        CAPTURE(n);
        CHECK_FALSE(Decode(std::vector<uint8_t>(good.begin(), good.begin() + long(n)), info, words));
    }
    auto refused = [&](TgaLayout l) { return !Decode(MakeTga(4, 3, pic, l), info, words); };
    TgaLayout l;
    l.colourMapType = 1; CHECK(refused(l)); l = TgaLayout();
    l.colourMapLength = 2; CHECK(refused(l)); l = TgaLayout();
    l.bitsPerPixel = 8; CHECK(refused(l)); l = TgaLayout();   // 8-bit true colour
    l.imageType = 3; CHECK(refused(l)); l = TgaLayout();   // grey of 32 bits
    l.imageType = 1; CHECK(refused(l)); l = TgaLayout();   // colour-mapped without a map
    l.imageType = 11; CHECK(refused(l)); l = TgaLayout();  // grey of 32 bits, run-length
    l.imageType = 0; CHECK(refused(l)); l = TgaLayout();
    l.imageType = 32; CHECK(refused(l)); l = TgaLayout();  // Huffman, delta, 4-pass quadtree
    l.imageType = 33; CHECK(refused(l)); l = TgaLayout();
    l.kind = kGreyKind; l.bitsPerPixel = 24; CHECK(refused(l)); l = TgaLayout();
    l.kind = kMappedKind; l.bitsPerPixel = 24; CHECK(refused(l)); l = TgaLayout();  // 24-bit indices
    l.kind = kMappedKind; l.bitsPerPixel = 8; l.mapEntryBits = 8; CHECK(refused(l)); l = TgaLayout();
    l.kind = kMappedKind; l.bitsPerPixel = 8;
    REQUIRE_FALSE(refused(l));
    {
        std::vector<uint8_t> mapped = MakeTga(4, 3, pic, l);  // one map entry, index 0
        mapped[18 + 3] = 1;   // the first pixel's index past the map
        CHECK_FALSE(Decode(mapped, info, words));
        mapped[18 + 3] = 0;
        mapped[3] = 1;        // the map now starts at index 1: index 0 lies before it
        CHECK_FALSE(Decode(mapped, info, words));
        mapped[3] = 0;
        mapped[5] = 0;        // a map of no entries
        CHECK_FALSE(Decode(mapped, info, words));
        mapped[5] = 1;
        mapped.resize(18 + 3 + 11);  // the last index cut off
        CHECK_FALSE(Decode(mapped, info, words));
        mapped.resize(18 + 2);       // the map cut short
        CHECK_FALSE(Decode(mapped, info, words));
    }
    l = TgaLayout();
    l.descriptorExtra = 0x40; CHECK(refused(l));

    // a run packet that runs past the last pixel
    std::vector<uint8_t> rle = Header(2, 2, [] { TgaLayout r; r.rle = true; return r; }());
    rle.push_back(0x84);  // 5 pixels of 4
    PutFilePixel(rle, Bgra{1, 2, 3, 4}, 32);
    CHECK_FALSE(Decode(rle, info, words));
    // a raw packet that does
    rle.resize(18);
    rle.push_back(0x04);
    for (int i = 0; i < 5; ++i) PutFilePixel(rle, Bgra{1, 2, 3, 4}, 32);
    CHECK_FALSE(Decode(rle, info, words));

    // 65535 x 65535 announced by a tiny file: refused before any allocation
    std::vector<uint8_t> huge = Header(65535, 65535, TgaLayout());
    huge.resize(64, 0);
    CHECK_FALSE(ReadTgaInfo(huge.data(), huge.size(), info));
    huge[2] = 10;
    CHECK_FALSE(ReadTgaInfo(huge.data(), huge.size(), info));

    // The picture-size limit: 2^27 pixels pass the header check, one row more is refused although
    // the file holds every run packet the picture needs (8-bit grey, run-length).
    for (unsigned height : {8192u, 8193u}) {
        TgaLayout grey;
        grey.kind = kGreyKind;
        grey.bitsPerPixel = 8;
        grey.rle = true;
        std::vector<uint8_t> big = Header(16384, height, grey);
        for (uint64_t n = 0; n < uint64_t(16384) * height / 128; ++n) {
            big.push_back(0xFF);
            big.push_back(0x7F);
        }
        CAPTURE(height);
        CHECK(ReadTgaInfo(big.data(), big.size(), info) == (height == 8192u));
    }
}

TEST_CASE("reader: width or height 0 is an empty picture") {
    TgaInfo info;
    std::vector<uint32_t> words;
    for (unsigned w : {0u, 5u}) {
        const std::vector<uint8_t> file = MakeTga(w, w ? 0 : 5, {});
        REQUIRE(Decode(file, info, words));
        CHECK(TgaPixelCount(info) == 0);
        CHECK(words.empty());
    }
}

TEST_CASE("blit: every alpha against the rule, with and without opacity") {
    std::vector<uint32_t> words;
    for (unsigned a = 0; a < 256; ++a) words.push_back(a << 24 | (255 - a) << 16 | (a * 7 & 255) << 8 | (a ^ 0x5A));
    for (int opacity : {-1, 0, 1, 128, 254, 255}) {
        CAPTURE(opacity);
        DrawRequest q;
        q.whole = opacity < 0;
        q.width = 256;
        q.height = 1;
        q.opacity = opacity;
        CheckDraw(words, 256, 1, 256, 1, q);
    }
    // the worked examples: a = 128, 1, 254
    CHECK(ExpectedChannel(100, 200, 128) == 150);
    CHECK(ExpectedChannel(200, 100, 128) == 150);
    CHECK(ExpectedChannel(255, 0, 1) == 254);
    CHECK(ExpectedChannel(0, 255, 254) == 253);
    uint8_t d[3] = {100, 200, 255};
    const uint8_t s[4] = {200, 100, 0, 128};
    WriteTgaPixel(d, s, 128);
    CHECK(d[0] == 150);
    CHECK(d[1] == 150);
    CHECK(d[2] == 127);  // 255 + floor(-127.5)
}

TEST_CASE("clip: edges, source rectangles, extreme values") {
    uint32_t state = 99;
    std::vector<uint32_t> words;
    for (int i = 0; i < 10 * 8; ++i) words.push_back(Word(RandomPixel(state)));
    const int big[] = {INT_MIN, INT_MIN + 1, -65536, -11, -10, -3, -1, 0, 1, 3, 9, 10, 17, 65535, INT_MAX - 1, INT_MAX};
    for (int x : big)
        for (int y : {INT_MIN, -3, 0, 5, INT_MAX}) {
            DrawRequest q;
            q.x = x;
            q.y = y;
            q.whole = true;
            CAPTURE(x);
            CAPTURE(y);
            CheckDraw(words, 10, 8, 17, 11, q);
            q.whole = false;
            for (int srcX : {INT_MIN, -1, 0, 4, 9, 10, INT_MAX})
                for (int width : {INT_MIN, -1, 0, 3, 10, 11, INT_MAX}) {
                    q.srcX = srcX;
                    q.srcY = srcX == 4 ? 2 : 0;
                    q.width = width;
                    q.height = width == 3 ? 5 : -1;
                    CAPTURE(srcX);
                    CAPTURE(width);
                    CheckDraw(words, 10, 8, 17, 11, q);
                }
        }
    // a surface with no size takes nothing
    TgaBlitArea area;
    CHECK_FALSE(ClipTgaBlitWhole(0, 0, 10, 8, 0, 0, area));
    CHECK_FALSE(ClipTgaBlit(0, 0, 10, 8, 0, 0, 0, 0, -1, -1, area));
    // a 10 x 10 picture at x = -3: picture columns 3..9 land in columns 0..6
    REQUIRE(ClipTgaBlitWhole(20, 20, 10, 10, -3, 0, area));
    CHECK(area.x == 0);
    CHECK(area.srcX == 3);
    CHECK(area.width == 7);
}

TEST_CASE("fuzz: mutated files are read or refused, and what is read draws anywhere") {
    std::mt19937 rng(20240611);
    const uint32_t seed = rng();
    INFO("seed " << seed);
    std::mt19937 gen(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    int loaded = 0, refused = 0;
    for (int round = 0; round < 3000; ++round) {
        CAPTURE(round);
        uint32_t state = uint32_t(round) * 2654435761u + seed;
        const unsigned w = unsigned(pick(0, 9)), h = unsigned(pick(0, 7));
        const TgaLayout l = AnyLayout(pick);
        std::vector<uint8_t> file = MakeTga(w, h, RandomPicture(w, h, state), l);
        switch (pick(0, 5)) {
            case 0:  // header bytes
                for (int k = pick(1, 3); k > 0; --k) file[size_t(pick(0, 17))] = uint8_t(pick(0, 255));
                break;
            case 1:  // sizes
                Put16(file, 12, unsigned(pick(0, 3) ? pick(0, 20) : pick(0, 65535)));
                Put16(file, 14, unsigned(pick(0, 3) ? pick(0, 20) : pick(0, 65535)));
                break;
            case 2:  // truncation
                file.resize(size_t(pick(0, int(file.size()))));
                break;
            case 3:  // any byte of the data (packet headers included)
                for (int k = pick(1, 4); k > 0; --k) file[size_t(pick(0, int(file.size()) - 1))] = uint8_t(pick(0, 255));
                break;
            case 4:  // extra bytes at the end
                file.resize(file.size() + size_t(pick(1, 40)), uint8_t(pick(0, 255)));
                break;
            default:
                break;
        }
        TgaInfo info;
        std::vector<uint32_t> words;
        if (!Decode(file, info, words)) {
            ++refused;
            continue;
        }
        ++loaded;
        REQUIRE(words.size() == size_t(info.width) * info.height);
        if (words.size() > 4000) continue;  // big announced sizes: read, too slow to check by hand
        DrawRequest q;
        q.x = pick(-15, 25);
        q.y = pick(-15, 25);
        q.whole = pick(0, 1) != 0;
        q.srcX = pick(-3, 12);
        q.srcY = pick(-3, 12);
        q.width = pick(-2, 14);
        q.height = pick(-2, 14);
        q.opacity = pick(-1, 255);
        CheckDraw(words, info.width, info.height, pick(0, 20), pick(0, 16), q);
    }
    MESSAGE("fuzz: " << loaded << " loaded, " << refused << " refused");
    CHECK(loaded > 500);
    CHECK(refused > 500);
}

// ---- rectangles and the dirty list ----

namespace {
bool Meet(const CVorRect& a, const CVorRect& b) {  // closed rectangles with sizes >= 0
    return int64_t(a.X) <= int64_t(b.X) + b.Width && int64_t(b.X) <= int64_t(a.X) + a.Width &&
           int64_t(a.Y) <= int64_t(b.Y) + b.Height && int64_t(b.Y) <= int64_t(a.Y) + a.Height;
}
}  // namespace

TEST_CASE("rectangles: overlap test and overlap part match the closed intersection") {
    std::mt19937 gen(4242);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    for (int i = 0; i < 20000; ++i) {
        const CVorRect a(pick(-20, 20), pick(-20, 20), pick(0, 15), pick(0, 15));
        const CVorRect b(pick(-20, 20), pick(-20, 20), pick(0, 15), pick(0, 15));
        CAPTURE(i);
        REQUIRE(bool(a.CheckSuperpose(b)) == Meet(a, b));
        if (!Meet(a, b)) continue;
        const int left = std::max(a.X, b.X), top = std::max(a.Y, b.Y);
        const int right = std::min(a.X + a.Width, b.X + b.Width), bottom = std::min(a.Y + a.Height, b.Y + b.Height);
        REQUIRE(a.GetSuperpose(b) == CVorRect(left - b.X, top - b.Y, right - left, bottom - top));
    }
    // extreme values: no overflow (the sanitizers watch), sensible answers
    const CVorRect whole(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    CHECK(whole.MyContains(-1, -1));
    CHECK_FALSE(whole.MyContains(0, -1));
    CHECK(whole.CheckSuperpose(CVorRect(-5, -5, 1, 1)));
    CHECK_FALSE(CVorRect(INT_MAX, INT_MAX, INT_MAX, INT_MAX).CheckSuperpose(CVorRect(0, 0, 10, 10)));
    CHECK(CVorRect(INT_MAX, 0, INT_MAX, 1).MyContains(INT_MAX, 1));
    const int extremes[] = {INT_MIN, -1, 0, 1, INT_MAX};
    for (int a : extremes)
        for (int b : extremes) {
            const CVorRect r(a, b, b, a), s(b, a, a, b);
            (void)r.CheckSuperpose(s);
            (void)r.GetSuperpose(s);
            (void)r.MyContains(s);
            (void)r.Superpose(s);
        }
}

TEST_CASE("dirty list: entries never meet and cover everything added") {
    std::mt19937 gen(777);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    for (int run = 0; run < 300; ++run) {
        CAPTURE(run);
        CVorZang z;
        std::vector<CVorRect> added;
        const int n = pick(1, 25);
        for (int i = 0; i < n; ++i) {
            added.push_back(CVorRect(pick(0, 200), pick(0, 200), pick(0, 30), pick(0, 30)));
            z.AddRect(added.back());
        }
        const std::vector<CVorRect> entries(z.GetRects().begin(), z.GetRects().end());
        for (size_t i = 0; i < entries.size(); ++i)
            for (size_t j = i + 1; j < entries.size(); ++j) REQUIRE_FALSE(Meet(entries[i], entries[j]));
        for (const CVorRect& r : added) REQUIRE(z.CheckRect(r));
    }
    CVorZang z;
    z.AddRect(CVorRect(INT_MAX, INT_MAX, INT_MAX, INT_MAX));
    z.AddRect(CVorRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    z.AddRect(CVorRect(INT_MIN, 0, -1, INT_MIN));
    CHECK(!z.GetRects().empty());
}

// ---- picture file plausibility (before a system decoder sees a file) ----
#include "image/ImageFileCheck.h"

namespace {
std::vector<uint8_t> Bmp24(int32_t width, int32_t height, size_t pixelBytes, uint32_t compression = 0) {
    std::vector<uint8_t> f(54 + pixelBytes, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, uint32_t(f.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    f[26] = 1;
    f[28] = 24;
    put32(30, compression);
    return f;
}
std::vector<uint8_t> Gif(uint8_t screenFlags, uint8_t imageFlags) {
    std::vector<uint8_t> f = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, screenFlags, 0, 0};
    if (screenFlags & 0x80) f.insert(f.end(), 6, 0x40);  // two colours
    const uint8_t image[] = {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, imageFlags};
    f.insert(f.end(), image, image + sizeof image);
    if (imageFlags & 0x80) f.insert(f.end(), 6, 0x80);
    const uint8_t data[] = {2, 2, 0x44, 0x01, 0, 0x3B};
    f.insert(f.end(), data, data + sizeof data);
    return f;
}
std::vector<uint8_t> Png(uint32_t width, uint32_t height) {
    std::vector<uint8_t> f = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (uint32_t v : {width, height})
        for (int i = 3; i >= 0; --i) f.push_back(uint8_t(v >> (8 * i)));
    f.insert(f.end(), {8, 2, 0, 0, 0});
    return f;
}
// SOI, an APP0 segment, then a baseline or progressive frame header of the given size.
std::vector<uint8_t> Jpeg(uint32_t width, uint32_t height, uint8_t sof = 0xC0) {
    return {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xFF, sof, 0, 11, 8, uint8_t(height >> 8), uint8_t(height),
            uint8_t(width >> 8), uint8_t(width), 1, 1, 0x11, 0, 0xFF, 0xDA, 0, 8};
}
ImageFileVerdict Verdict(const std::vector<uint8_t>& f) { return CheckImageFile(f.data(), f.size()); }
}  // namespace

TEST_CASE("picture files: sound BMP, GIF, PNG and JPEG headers pass, impossible ones are refused") {
    const size_t row = 8;  // 2 pixels of 24 bits, padded
    CHECK(Verdict(Bmp24(2, 3, 3 * row)) == kImageFileDecode);
    CHECK(Verdict(Bmp24(2, -3, 3 * row)) == kImageFileDecode);  // top-down
    CHECK(Verdict(Bmp24(2, 3, 2 * row)) == kImageFileImpossible);  // rows past the end
    CHECK(Verdict(Bmp24(0x4000000D, 7, 3 * row)) == kImageFileTooLarge);
    CHECK(Verdict(Bmp24(13, 0x40000007, 3 * row)) == kImageFileTooLarge);
    CHECK(Verdict(Bmp24(0, 3, 0)) == kImageFileImpossible);
    CHECK(Verdict(Bmp24(-2, 3, 3 * row)) == kImageFileImpossible);
    CHECK(Verdict(Bmp24(2, INT32_MIN, 3 * row)) == kImageFileTooLarge);
    // Run-length data may be shorter than the picture; the size limit still holds.
    CHECK(Verdict(Bmp24(200, 100, 4, 1)) == kImageFileDecode);
    CHECK(Verdict(Bmp24(13, 0x04000007, 4, 1)) == kImageFileTooLarge);
    for (size_t cut = 2; cut < 54; ++cut) {  // from "BM" on, a cut header is refused
        const std::vector<uint8_t> f = Bmp24(2, 3, 3 * row);
        CHECK(Verdict(std::vector<uint8_t>(f.begin(), f.begin() + ptrdiff_t(cut))) == kImageFileImpossible);
    }

    CHECK(Verdict(Gif(0x80, 0x00)) == kImageFileDecode);  // global table
    CHECK(Verdict(Gif(0x00, 0x80)) == kImageFileDecode);  // local table
    CHECK(Verdict(Gif(0x00, 0x00)) == kImageFileDecode);  // neither: given a gray table before decoding
    std::vector<uint8_t> huge = Gif(0x80, 0);
    huge[6] = huge[7] = huge[8] = huge[9] = 0xFF;  // 65535 x 65535 screen
    CHECK(Verdict(huge) == kImageFileTooLarge);
    // Cut anywhere: never read past the end (the sanitizers watch), refused or left to the decoder.
    const std::vector<uint8_t> gif = Gif(0x00, 0x80);
    for (size_t cut = 0; cut <= gif.size(); ++cut) {
        std::vector<uint8_t> part(gif.begin(), gif.begin() + ptrdiff_t(cut));
        part.shrink_to_fit();
        CheckImageFile(part.data(), part.size());
        std::vector<uint8_t> out;
        AddGifGrayTable(part.data(), part.size(), &out);
    }

    CHECK(Verdict(Png(16, 9)) == kImageFileDecode);
    CHECK(Verdict(Png(0x7F000010, 9)) == kImageFileTooLarge);
    CHECK(Verdict(Png(0, 9)) == kImageFileImpossible);

    CHECK(Verdict(Jpeg(640, 480)) == kImageFileDecode);
    CHECK(Verdict(Jpeg(65535, 65535)) == kImageFileTooLarge);
    CHECK(Verdict(Jpeg(65535, 65535, 0xC2)) == kImageFileTooLarge);  // progressive
    CHECK(Verdict(Jpeg(65535, 65535, 0xC4)) == kImageFileDecode);    // a Huffman table, not a frame
    CHECK(Verdict(Jpeg(0, 480)) == kImageFileImpossible);
    CHECK(Verdict(Jpeg(640, 0)) == kImageFileDecode);  // height from a DNL marker: the decoder's
    const std::vector<uint8_t> jpeg = Jpeg(65535, 65535);
    for (size_t cut = 0; cut <= jpeg.size(); ++cut) {
        std::vector<uint8_t> part(jpeg.begin(), jpeg.begin() + ptrdiff_t(cut));
        part.shrink_to_fit();
        CheckImageFile(part.data(), part.size());
    }
    CHECK(CheckImageFile(nullptr, 0) == kImageFileImpossible);
    const uint8_t other[] = {'I', 'I', 42, 0};
    CHECK(CheckImageFile(other, sizeof other) == kImageFileDecode);  // not ours to judge
}

TEST_CASE("picture-size limit: exactly 2^27 pixels pass, one more is refused, in every format") {
    REQUIRE(kMaxPicturePixels == 134217728u);
    // 16384 x 8192 = 2^27; 16385 x 8192 and 16384 x 8193 are over.
    CHECK(Verdict(Png(16384, 8192)) == kImageFileDecode);
    CHECK(Verdict(Png(16385, 8192)) == kImageFileTooLarge);
    CHECK(Verdict(Png(16384, 8193)) == kImageFileTooLarge);
    CHECK(Verdict(Png(0xFFFFFFFF, 0xFFFFFFFF)) == kImageFileTooLarge);  // no 64-bit overflow
    CHECK(Verdict(Jpeg(16384, 8192)) == kImageFileDecode);
    CHECK(Verdict(Jpeg(16385, 8192)) == kImageFileTooLarge);
    CHECK(Verdict(Bmp24(8192, -16385, 4, 1)) == kImageFileTooLarge);
    // A 1,640-byte RLE8 file declaring 13 x 33,554,439 pixels (a decompression bomb).
    std::vector<uint8_t> bomb = Bmp24(13, 33554439, 1640 - 54, 1);
    bomb[28] = 8;
    CHECK(Verdict(bomb) == kImageFileTooLarge);
    bomb[22] = 7;  // 13 x 7: the same file with a sound height
    bomb[23] = bomb[24] = bomb[25] = 0;
    CHECK(Verdict(bomb) == kImageFileDecode);
    // GIF: the screen may be small while one frame is over the limit (65535 x 65535 > 2^27); the
    // second frame of an animation is looked at too.
    auto twoFrames = [](uint32_t w, uint32_t h) {
        std::vector<uint8_t> f = Gif(0x80, 0x00);
        f.pop_back();  // the trailer
        const uint8_t second[] = {0x2C, 0, 0, 0, 0, uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8), 0x00,
                                  2,    2, 0x44, 0x01, 0, 0x3B};
        f.insert(f.end(), second, second + sizeof second);
        return f;
    };
    CHECK(Verdict(twoFrames(65535, 65535)) == kImageFileTooLarge);
    CHECK(Verdict(twoFrames(65535, 2049)) == kImageFileTooLarge);  // 134,281,215 pixels
    CHECK(Verdict(twoFrames(65535, 2048)) == kImageFileDecode);    // 134,215,680 pixels
}

TEST_CASE("GIF without any colour table: a 256-entry gray global table is inserted") {
    std::vector<uint8_t> out;
    // Global or local table present: nothing to do.
    for (uint8_t screen : {uint8_t(0x80), uint8_t(0x00)}) {
        const std::vector<uint8_t> f = Gif(screen, screen ? 0x00 : 0x80);
        CHECK_FALSE(AddGifGrayTable(f.data(), f.size(), &out));
        CHECK(out.empty());
    }
    const std::vector<uint8_t> bare = Gif(0x00, 0x00);
    REQUIRE(AddGifGrayTable(bare.data(), bare.size(), &out));
    REQUIRE(out.size() == bare.size() + 768);
    CHECK(std::equal(bare.begin(), bare.begin() + 10, out.begin()));
    CHECK(out[10] == 0x87);  // global table, 2^(7+1) entries
    CHECK(out[11] == bare[11]);
    CHECK(out[12] == bare[12]);
    for (int i = 0; i < 256; ++i) {
        CAPTURE(i);
        CHECK(out[13 + 3 * i] == i);
        CHECK(out[14 + 3 * i] == i);
        CHECK(out[15 + 3 * i] == i);
    }
    CHECK(std::equal(bare.begin() + 13, bare.end(), out.begin() + 13 + 768));
    CHECK(Verdict(out) == kImageFileDecode);
    // The rewritten file needs nothing more.
    std::vector<uint8_t> again;
    CHECK_FALSE(AddGifGrayTable(out.data(), out.size(), &again));
    // A second frame without a table, after one with its own: the file gets the table too.
    std::vector<uint8_t> two = Gif(0x00, 0x80);
    two.pop_back();
    const uint8_t second[] = {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0x00, 2, 2, 0x44, 0x01, 0, 0x3B};
    two.insert(two.end(), second, second + sizeof second);
    CHECK(AddGifGrayTable(two.data(), two.size(), &out));
    CHECK(out.size() == two.size() + 768);
    // Not a GIF, or null: untouched.
    const std::vector<uint8_t> png = Png(2, 2);
    out.clear();
    CHECK_FALSE(AddGifGrayTable(png.data(), png.size(), &out));
    CHECK_FALSE(AddGifGrayTable(nullptr, 0, &out));
    CHECK(out.empty());
}
