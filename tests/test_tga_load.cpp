// CVorTga: reading TGA files (layouts read and refused), empty pictures, and copies sharing one
// buffer.
#include <doctest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "TestSupport.h"
#include "tga/TgaTestKit.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#if __has_include(<stb/stb_image.h>)
#include <stb/stb_image.h>
#else
#include "/usr/include/stb/stb_image.h"  // the cross compiler does not search the host's headers
#endif

using namespace tgakit;

namespace {
std::vector<uint32_t> Words(const CVorTga& t) {
    if (!t.GetBuffer()) return {};
    return std::vector<uint32_t>(t.GetBuffer(), t.GetBuffer() + t.GetWidth() * t.GetHeight());
}

bool LoadFile(CVorTga& t, const std::vector<uint8_t>& file, const char* name = "vor_tga_load.tga") {
    return t.Init(WriteTempFile(name, file).c_str());
}

void CheckEmpty(const CVorTga& t) {
    CHECK(t.GetBuffer() == nullptr);
    CHECK(t.GetWidth() == 0);
    CHECK(t.GetHeight() == 0);
}

std::vector<Bgra> Pattern(unsigned w, unsigned h, uint32_t seed) {
    std::vector<Bgra> p(size_t(w) * h);
    for (Bgra& px : p) px = RandomPixel(seed);
    return p;
}

const uint32_t kP0 = 0x281E140A;  // file bytes 10, 20, 30, 40
}  // namespace

TEST_CASE("a bottom-first file loads with its first row at the bottom") {
    std::vector<uint8_t> file = Header(3, 2, TgaLayout());
    for (uint8_t i = 0; i < 6; ++i) PutFilePixel(file, Bgra{uint8_t(10 + i), 20, 30, 40}, 32);
    CVorTga t;
    REQUIRE(LoadFile(t, file));
    CHECK(t.GetWidth() == 3);
    CHECK(t.GetHeight() == 2);
    // P3, P4, P5, P0, P1, P2
    CHECK(Words(t) == std::vector<uint32_t>{kP0 + 3, kP0 + 4, kP0 + 5, kP0, kP0 + 1, kP0 + 2});

    SUBCASE("the same pixels stored top row first load upright") {
        file[17] |= 0x20;
        REQUIRE(LoadFile(t, file));
        CHECK(Words(t) == std::vector<uint32_t>{kP0, kP0 + 1, kP0 + 2, kP0 + 3, kP0 + 4, kP0 + 5});
    }
    SUBCASE("rows stored right to left (bit 4) load left to right") {
        file[17] |= 0x10;
        REQUIRE(LoadFile(t, file));
        CHECK(Words(t) == std::vector<uint32_t>{kP0 + 5, kP0 + 4, kP0 + 3, kP0 + 2, kP0 + 1, kP0});
    }
    SUBCASE("interleaved rows (bits 6, 7) are refused") {
        file[17] |= 0x40;
        CHECK_FALSE(LoadFile(t, file));
        CheckEmpty(t);
    }
    SUBCASE("the constructor with a path loads too, also as a conversion") {
        CVorTga byPath(WriteTempFile("vor_tga_ctor.tga", file).c_str());
        CHECK(Words(byPath) == Words(t));
        const std::string path = WriteTempFile("vor_tga_convert.tga", file);
        CVorTga converted = path.c_str();
        CHECK(Words(converted) == Words(t));
    }
}

TEST_CASE("pixel bytes blue, green, red, alpha make the word alpha:red:green:blue") {
    std::vector<uint8_t> file = Header(1, 1, TgaLayout());
    PutFilePixel(file, Bgra{10, 20, 30, 40}, 32);
    CVorTga t;
    REQUIRE(t.InitFromMemory(file.data(), file.size()));
    REQUIRE(t.GetBuffer() != nullptr);
    CHECK(t.GetBuffer()[0] == 0x281E140Au);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(t.GetBuffer());
    CHECK(bytes[0] == 10);
    CHECK(bytes[1] == 20);
    CHECK(bytes[2] == 30);
    CHECK(bytes[3] == 40);
}

TEST_CASE("image ID, 24-bit, run-length files and the other layouts") {
    const std::vector<Bgra> pic = Pattern(5, 4, 3);
    CVorTga t;
    SUBCASE("an image ID is skipped") {
        TgaLayout l;
        l.idLength = 7;
        REQUIRE(LoadFile(t, MakeTga(5, 4, pic, l)));
        CHECK(Words(t) == ExpectedWords(pic, 32));
        l.idLength = 255;
        l.topRowFirst = true;
        REQUIRE(LoadFile(t, MakeTga(5, 4, pic, l)));
        CHECK(Words(t) == ExpectedWords(pic, 32));
    }
    SUBCASE("24-bit pixels get alpha 255") {
        TgaLayout l;
        l.bitsPerPixel = 24;
        REQUIRE(LoadFile(t, MakeTga(5, 4, pic, l)));
        CHECK(Words(t) == ExpectedWords(pic, 24));
        CHECK((t.GetBuffer()[0] >> 24) == 255u);
    }
    SUBCASE("run-length files, 32 and 24 bits, both origins") {
        for (int bits : {24, 32})
            for (bool top : {false, true}) {
                TgaLayout l;
                l.rle = true;
                l.bitsPerPixel = bits;
                l.topRowFirst = top;
                CAPTURE(bits);
                CAPTURE(top);
                REQUIRE(LoadFile(t, MakeTga(5, 4, pic, l)));
                CHECK(Words(t) == ExpectedWords(pic, bits));
            }
    }
    SUBCASE("every layout: true colour 15 to 32 bits, grey, colour-mapped; any origin") {
        for (TgaLayout l : AllPixelLayouts())
            for (int origin = 0; origin < 4; ++origin) {
                l.topRowFirst = origin & 1;
                l.rightToLeft = origin & 2;
                CAPTURE(int(l.kind));
                CAPTURE(l.bitsPerPixel);
                CAPTURE(l.mapEntryBits);
                CAPTURE(l.rle);
                CAPTURE(origin);
                REQUIRE(LoadFile(t, MakeTga(5, 4, pic, l)));
                CHECK(Words(t) == ExpectedWords(pic, l));
            }
    }
    SUBCASE("a run packet and a raw packet crossing rows") {
        // 3 x 2, top row first: run of 4 A (row 0 and the start of row 1), then raw B, C
        TgaLayout l;
        l.rle = true;
        l.topRowFirst = true;
        std::vector<uint8_t> file = Header(3, 2, l);
        const Bgra a{1, 2, 3, 4}, b{5, 6, 7, 8}, c{9, 10, 11, 12};
        file.push_back(0x83);
        PutFilePixel(file, a, 32);
        file.push_back(0x01);
        PutFilePixel(file, b, 32);
        PutFilePixel(file, c, 32);
        REQUIRE(LoadFile(t, file));
        CHECK(Words(t) == std::vector<uint32_t>{Word(a), Word(a), Word(a), Word(a), Word(b), Word(c)});
        // the same data bottom row first: the file's first row is the picture's last
        file[17] &= ~0x20;
        REQUIRE(LoadFile(t, file));
        CHECK(Words(t) == std::vector<uint32_t>{Word(a), Word(b), Word(c), Word(a), Word(a), Word(a)});
        // a raw packet crossing rows: raw 5 pixels then a run of 1
        file.resize(18);
        file.push_back(0x04);
        for (int i = 0; i < 5; ++i) PutFilePixel(file, Bgra{uint8_t(i), 0, 0, 255}, 32);
        file.push_back(0x80);
        PutFilePixel(file, c, 32);
        REQUIRE(LoadFile(t, file));
        CHECK(Words(t) == std::vector<uint32_t>{0xFF000003u, 0xFF000004u, Word(c), 0xFF000000u, 0xFF000001u,
                                                0xFF000002u});
    }
}

TEST_CASE("width or height 0 is an empty picture that loads") {
    CVorTga t;
    REQUIRE(LoadFile(t, MakeTga(0, 0, {})));
    CHECK(t.GetBuffer() == nullptr);
    REQUIRE(LoadFile(t, MakeTga(7, 0, {})));
    CHECK(t.GetBuffer() == nullptr);
    CHECK(t.GetWidth() * t.GetHeight() == 0);
    REQUIRE(t.InitFromMemory(MakeTga(0, 9, {}).data(), 18));
    CHECK(t.GetBuffer() == nullptr);
    CHECK(t.GetWidth() * t.GetHeight() == 0);
}

TEST_CASE("malformed files are refused and leave an empty picture") {
    const std::vector<Bgra> pic = Pattern(4, 3, 11);
    const std::vector<uint8_t> good = MakeTga(4, 3, pic);
    std::vector<std::pair<const char*, std::vector<uint8_t>>> bad;
    bad.push_back({"empty file", {}});
    bad.push_back({"truncated header", std::vector<uint8_t>(good.begin(), good.begin() + 17)});
    bad.push_back({"header only", std::vector<uint8_t>(good.begin(), good.begin() + 18)});
    bad.push_back({"truncated data", std::vector<uint8_t>(good.begin(), good.end() - 1)});
    auto with = [&](void (*change)(TgaLayout&)) {
        TgaLayout l;
        change(l);
        return MakeTga(4, 3, pic, l);
    };
    bad.push_back({"colour-mapped", with([](TgaLayout& l) { l.imageType = 1; })});
    bad.push_back({"colour map present", with([](TgaLayout& l) { l.colourMapType = 1; l.colourMapLength = 4; })});
    bad.push_back({"16-bit true colour cut short", with([](TgaLayout& l) { l.bitsPerPixel = 16; })});
    bad.back().second.resize(18 + 2 * 12 - 1);
    bad.push_back({"8-bit", with([](TgaLayout& l) { l.bitsPerPixel = 8; })});
    bad.push_back({"grey of 32 bits", with([](TgaLayout& l) { l.imageType = 3; })});
    bad.push_back({"grey of 32 bits, run-length", with([](TgaLayout& l) { l.imageType = 11; })});
    bad.push_back({"no image", with([](TgaLayout& l) { l.imageType = 0; })});
    bad.push_back({"Huffman-coded (type 32)", with([](TgaLayout& l) { l.kind = kMappedKind; l.bitsPerPixel = 8; l.imageType = 32; })});
    bad.push_back({"Huffman-coded, 4-pass (type 33)", with([](TgaLayout& l) { l.kind = kMappedKind; l.bitsPerPixel = 8; l.imageType = 33; })});
    bad.push_back({"24-bit colour-map indices", with([](TgaLayout& l) { l.kind = kMappedKind; l.bitsPerPixel = 24; })});
    {
        TgaLayout l;
        l.kind = kMappedKind;
        l.bitsPerPixel = 8;
        l.mapEntryBits = 16;
        l.mapFirst = 2;
        const std::vector<uint8_t> mapped = MakeTga(4, 3, pic, l);  // 12 colours: entries 0 to 11, indices 2 to 13
        const size_t pixels = mapped.size() - 12;
        std::vector<uint8_t> f = mapped;
        f[pixels + 5] = 14;
        bad.push_back({"colour-map index past the map", f});
        f[pixels + 5] = 1;
        bad.push_back({"colour-map index before the map's first entry", f});
        bad.push_back({"colour map cut short", std::vector<uint8_t>(mapped.begin(), mapped.begin() + 18 + 23)});
        f = mapped;
        f[pixels + 11] = 13;  // the last index inside the map: sound
        REQUIRE(CVorTga().InitFromMemory(f.data(), f.size()));
    }
    {
        // Over the picture-size limit (2^27 pixels) by one row, though every run packet is there:
        // refused from the header.
        TgaLayout l;
        l.kind = kGreyKind;
        l.bitsPerPixel = 8;
        l.rle = true;
        std::vector<uint8_t> f = Header(16384, 8193, l);
        for (int n = 0; n < 16384 * 8193 / 128; ++n) {
            f.push_back(0xFF);
            f.push_back(0x40);
        }
        bad.push_back({"16384 x 8193: over the picture-size limit", f});
    }
    bad.push_back({"image ID longer than the file", with([](TgaLayout& l) { l.idLength = 200; })});
    bad.back().second.resize(100);
    {
        TgaLayout l;
        l.rle = true;
        std::vector<uint8_t> f = Header(2, 2, l);
        f.push_back(0x84);  // a run of 5 in a picture of 4
        PutFilePixel(f, Bgra{1, 2, 3, 4}, 32);
        bad.push_back({"run overrunning the picture", f});
        f.resize(18);
        f.push_back(0x81);
        PutFilePixel(f, Bgra{1, 2, 3, 4}, 32);
        f.push_back(0x02);  // raw 3 where 2 remain
        for (int i = 0; i < 3; ++i) PutFilePixel(f, Bgra{1, 2, 3, 4}, 32);
        bad.push_back({"raw packet overrunning the picture", f});
        f.resize(18);
        f.push_back(0x83);  // run of 4, pixel cut short
        f.push_back(1);
        bad.push_back({"run packet cut short", f});
    }
    {
        std::vector<uint8_t> f = Header(65535, 65535, TgaLayout());
        f.resize(100, 0x55);
        bad.push_back({"65535 x 65535 header, tiny file", f});
        f[2] = 10;
        bad.push_back({"65535 x 65535 run-length header, tiny file", f});
    }
    for (const auto& item : bad) {
        CAPTURE(item.first);
        CVorTga t;
        REQUIRE(LoadFile(t, good));
        REQUIRE(t.GetBuffer() != nullptr);
        CHECK_FALSE(LoadFile(t, item.second, "vor_tga_bad.tga"));
        CheckEmpty(t);
        REQUIRE(t.InitFromMemory(good.data(), good.size()));
        CHECK_FALSE(t.InitFromMemory(item.second.data(), item.second.size()));
        CheckEmpty(t);
    }
}

TEST_CASE("a path that cannot be opened: false, the old picture released") {
    CVorTga t;
    REQUIRE(LoadFile(t, MakeTga(2, 2, Pattern(2, 2, 1))));
    CHECK_FALSE(t.Init("Z:\\no\\such\\folder\\picture.tga"));
    CheckEmpty(t);
    CHECK_FALSE(t.Init(nullptr));
    CHECK_FALSE(t.InitFromMemory(nullptr, 100));
    CheckEmpty(t);
    CVorTga missing("no_such_picture.tga");
    CheckEmpty(missing);
}

TEST_CASE("random valid files read as stb_image reads them") {
    std::mt19937 rng(1234);
    const uint32_t seed = rng();
    INFO("seed " << seed);
    std::mt19937 gen(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    for (int i = 0; i < 300; ++i) {
        CAPTURE(i);
        const unsigned w = unsigned(pick(1, 40)), h = unsigned(pick(1, 40));
        TgaLayout l;
        l.bitsPerPixel = pick(0, 1) ? 32 : 24;
        l.rle = pick(0, 1) != 0;
        l.topRowFirst = pick(0, 1) != 0;
        l.idLength = pick(0, 2) ? 0 : pick(1, 255);
        std::vector<Bgra> pic = Pattern(w, h, uint32_t(gen()));
        for (size_t k = 1; k < pic.size(); ++k)
            if (pick(0, 2) == 0) pic[k] = pic[k - 1];  // runs
        const std::vector<uint8_t> file = MakeTga(w, h, pic, l);
        CVorTga t;
        REQUIRE(t.InitFromMemory(file.data(), file.size()));
        int sw = 0, sh = 0, comp = 0;
        std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
            stbi_load_from_memory(file.data(), int(file.size()), &sw, &sh, &comp, 4), &stbi_image_free);
        REQUIRE(rgba);
        REQUIRE(unsigned(sw) == t.GetWidth());
        REQUIRE(unsigned(sh) == t.GetHeight());
        std::vector<uint32_t> oracle(size_t(sw) * sh);
        for (size_t k = 0; k < oracle.size(); ++k) {
            const stbi_uc* p = rgba.get() + 4 * k;
            oracle[k] = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        }
        CHECK(Words(t) == oracle);
    }
}

TEST_CASE("copies share the picture") {
    EnsureGdiplus();
    const std::vector<Bgra> pic = Pattern(6, 5, 77);
    const std::vector<uint8_t> file = MakeTga(6, 5, pic);
    const std::vector<uint32_t> expected = ExpectedWords(pic, 32);

    SUBCASE("copy construction, original destroyed first") {
        CVorTga* original = new CVorTga;
        REQUIRE(original->InitFromMemory(file.data(), file.size()));
        CVorTga copy(*original);
        CHECK(copy.GetBuffer() == original->GetBuffer());
        CHECK(copy.GetWidth() == 6);
        CHECK(copy.GetHeight() == 5);
        delete original;
        CHECK(Words(copy) == expected);
    }
    SUBCASE("copy construction, copy destroyed first") {
        CVorTga original;
        REQUIRE(original.InitFromMemory(file.data(), file.size()));
        {
            CVorTga copy(original);
            CHECK(Words(copy) == expected);
        }
        CHECK(Words(original) == expected);
        CVorTga again(original);  // still counted correctly after a copy went away
        CHECK(Words(again) == expected);
    }
    SUBCASE("assignment releases the target's picture, then shares") {
        CVorTga a, b, c;
        REQUIRE(a.InitFromMemory(file.data(), file.size()));
        const std::vector<uint8_t> other = MakeTga(2, 3, Pattern(2, 3, 5));
        REQUIRE(b.InitFromMemory(other.data(), other.size()));
        c = b;  // b's picture now has two owners
        b = a;
        CHECK(b.GetBuffer() == a.GetBuffer());
        CHECK(b.GetWidth() == 6);
        CHECK(Words(c).size() == 6);  // c still holds the 2 x 3 picture
        c = a;
        a = CVorTga();  // a lets go; b and c keep the picture
        CheckEmpty(a);
        CHECK(Words(b) == expected);
        CHECK(Words(c) == expected);
        b = b;
        CHECK(Words(b) == expected);
        // re-loading one owner does not touch the others
        REQUIRE(b.InitFromMemory(other.data(), other.size()));
        CHECK(Words(c) == expected);
    }
    SUBCASE("self-assignment keeps the picture") {
        CVorTga a;
        REQUIRE(a.InitFromMemory(file.data(), file.size()));
        CVorTga& same = a;
        a = same;
        CHECK(Words(a) == expected);
        CVorTga empty;
        empty = empty;
        CheckEmpty(empty);
    }
    SUBCASE("a copy draws the same bytes") {
        CVorTga a;
        REQUIRE(a.InitFromMemory(file.data(), file.size()));
        CVorTga copy;
        copy = a;
        CVorGraphics g1, g2;
        REQUIRE(g1.Init(9, 8));
        REQUIRE(g2.Init(9, 8));
        FillBytes(g1, 0x33);
        FillBytes(g2, 0x33);
        g1.Draw(&a, 1, 2);
        g2.Draw(&copy, 1, 2);
        CHECK(Snapshot(g1) == Snapshot(g2));
        CHECK(Snapshot(g1) != std::vector<uint8_t>(Snapshot(g1).size(), 0x33));
    }
}

TEST_CASE("assigning over pictures many times frees the ones let go") {
    // 100 pictures of 2048 x 2048 (16 MB each) assigned over one target: 1.6 GB if none were freed.
    std::vector<uint8_t> file = Header(2048, 2048, [] { TgaLayout l; l.rle = true; return l; }());
    for (int i = 0; i < 2048 * 2048 / 128; ++i) {
        file.push_back(0xFF);
        PutFilePixel(file, Bgra{1, 2, 3, 255}, 32);
    }
    MEMORYSTATUSEX before = {};
    before.dwLength = sizeof before;
    ::GlobalMemoryStatusEx(&before);
    CVorTga target;
    for (int i = 0; i < 100; ++i) {
        CVorTga picture;
        REQUIRE(picture.InitFromMemory(file.data(), file.size()));
        target = picture;
    }
    MEMORYSTATUSEX after = {};
    after.dwLength = sizeof after;
    ::GlobalMemoryStatusEx(&after);
    const double usedMb = (double(before.ullAvailVirtual) - double(after.ullAvailVirtual)) / (1024.0 * 1024.0);
    CAPTURE(usedMb);
    CHECK(usedMb < 200.0);
    CHECK(Words(target).size() == 2048u * 2048u);
}
