// Every vector row against the scalar reference, byte for byte: the blend arithmetic over all
// (source, destination, alpha) triples, and random rows of every length and offset for every row.
#include <doctest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "image/TgaRuns.h"
#include "render/TgaBlit.h"
#include "render/simd/RowKernels.h"

namespace {

typedef std::vector<uint8_t> Bytes;

// The vector levels this CPU runs; a missing one is said once.
std::vector<const RowKernels*> VectorLevels() {
    std::vector<const RowKernels*> levels;
    for (BlitLevel level : {BlitLevel::Sse2, BlitLevel::Ssse3, BlitLevel::Avx2}) {
        if (const RowKernels* rows = RowsFor(level)) levels.push_back(rows);
        else MESSAGE("CPU lacks ", BlitLevelName(level), ": its rows are not tested here");
    }
    return levels;
}

// 65536 pixel pairs: channel values (s, d) run over every pair on each of blue, green and red
// (green and red through a different bijection, so channels do not mirror each other).
void PairPixels(Bytes& src, Bytes& dst, int srcBytes, int alphaSeed, bool varyAlpha) {
    src.assign(size_t(65536) * srcBytes, 0);
    dst.assign(size_t(65536) * 3, 0);
    for (int i = 0; i < 65536; ++i) {
        const uint8_t s = uint8_t(i), d = uint8_t(i >> 8);
        uint8_t* sp = &src[size_t(i) * srcBytes];
        uint8_t* dp = &dst[size_t(i) * 3];
        sp[0] = s, sp[1] = uint8_t(255 - s), sp[2] = uint8_t(s ^ 0x5A);
        dp[0] = d, dp[1] = uint8_t(255 - d), dp[2] = uint8_t(d ^ 0xC3);
        if (srcBytes == 4) sp[3] = uint8_t(varyAlpha ? (i * 7 + (i >> 9) + alphaSeed) : alphaSeed);
    }
}

}  // namespace

TEST_CASE("alpha rows: all 2^24 (source, destination, alpha) triples equal the reference") {
    Bytes src, dst, want, got;
    for (const RowKernels* rows : VectorLevels()) {
        int bad = 0;
        for (int a = 0; a < 256; ++a) {
            for (bool vary : {false, true}) {  // whole blocks of one alpha, and mixed blocks
                PairPixels(src, dst, 4, a, vary);
                want = dst;
                got = dst;
                AlphaRowScalar(want.data(), src.data(), 65536, 255);
                rows->alphaRow(got.data(), src.data(), 65536, 255);
                if (want != got) ++bad;
            }
        }
        CHECK_MESSAGE(bad == 0, BlitLevelName(rows->level));
    }
}

TEST_CASE("alpha rows with opacity: every opacity over every (source, destination) pair") {
    Bytes src, dst, want, got;
    for (const RowKernels* rows : VectorLevels()) {
        int bad = 0;
        for (int opacity = 0; opacity < 255; ++opacity) {
            PairPixels(src, dst, 4, opacity, true);
            want = dst;
            got = dst;
            AlphaRowScalar(want.data(), src.data(), 65536, unsigned(opacity));
            rows->alphaRow(got.data(), src.data(), 65536, unsigned(opacity));
            if (want != got) ++bad;
        }
        CHECK_MESSAGE(bad == 0, BlitLevelName(rows->level));
    }
}

TEST_CASE("opacity blend rows: all 2^24 (source, destination, opacity) triples equal the reference") {
    Bytes src, dst, want, got;
    const ColorKey key{0x10, 0x20, 0x30};
    for (const RowKernels* rows : VectorLevels()) {
        int bad = 0;
        PairPixels(src, dst, 3, 0, false);
        for (int opacity = 0; opacity < 256; ++opacity) {
            want = dst;
            got = dst;
            BlendRowScalar(want.data(), src.data(), 65536, unsigned(opacity));
            rows->blendRow(got.data(), src.data(), 65536, unsigned(opacity));
            if (want != got) ++bad;
            want = dst;
            got = dst;
            BlendKeyedRowScalar(want.data(), src.data(), 65536, unsigned(opacity), key);
            rows->blendKeyedRow(got.data(), src.data(), 65536, unsigned(opacity), key);
            if (want != got) ++bad;
        }
        CHECK_MESSAGE(bad == 0, BlitLevelName(rows->level));
    }
}

TEST_CASE("every row, random data, lengths 0..67 at every offset, bytes around untouched") {
    std::mt19937 rng(20261209);
    const ColorKey key{7, 8, 9};
    for (const RowKernels* rows : VectorLevels()) {
        for (int round = 0; round < 3000; ++round) {
            const int n = round % 68, dstOffset = int(rng() % 16), srcOffset = int(rng() % 16);
            const unsigned opacity = rng() % 4 == 0 ? 255u : unsigned(rng() % 256);
            // Alpha in runs, so whole blocks of 0 and of 255 occur; key colour in runs too.
            Bytes src(size_t(n) * 4 + 64), dst(size_t(n) * 3 + 64);
            for (auto& b : dst) b = uint8_t(rng());
            const int mode = int(rng() % 4);
            for (int i = 0; i < n; ++i) {
                uint8_t* p = &src[size_t(srcOffset) + size_t(i) * 4];
                for (int c = 0; c < 4; ++c) p[c] = uint8_t(rng());
                if (mode == 0) p[3] = 0;
                if (mode == 1) p[3] = 255;
                if (mode == 2 && (i / 16) % 2) p[3] = uint8_t((i / 16) % 4 == 1 ? 0 : 255);
            }
            Bytes src3(size_t(n) * 3 + 64);
            for (auto& b : src3) b = uint8_t(rng());
            for (int i = 0; i < n; ++i)
                if ((mode == 0) || (mode == 2 && (i / 16) % 2) || (mode == 3 && rng() % 3 == 0)) {
                    uint8_t* p = &src3[size_t(srcOffset) + size_t(i) * 3];
                    p[0] = key.b, p[1] = key.g, p[2] = key.r;
                }
            const uint8_t* s4 = src.data() + srcOffset;
            const uint8_t* s3 = src3.data() + srcOffset;
            Bytes want = dst, got = dst;
            uint8_t* w = want.data() + dstOffset;
            uint8_t* g = got.data() + dstOffset;
            AlphaRowScalar(w, s4, n, opacity);
            rows->alphaRow(g, s4, n, opacity);
            KeyedCopyRowScalar(w, s3, n, key);
            rows->keyedCopyRow(g, s3, n, key);
            BlendRowScalar(w, s3, n, opacity);
            rows->blendRow(g, s3, n, opacity);
            BlendKeyedRowScalar(w, s3 + 1, n, opacity, key);
            rows->blendKeyedRow(g, s3 + 1, n, opacity, key);
            FillRowScalar(w + 1, n, uint8_t(round), 2, 3);
            rows->fillRow(g + 1, n, uint8_t(round), 2, 3);
            CopyBytesScalar(w + 2, s4, size_t(n) * 3);
            rows->copyBytes(g + 2, s4, size_t(n) * 3);
            REQUIRE_MESSAGE(want == got, BlitLevelName(rows->level), " n=", n, " mode=", mode);
        }
    }
}

// A picture whose rows are runs of transparent, opaque and partly transparent pixels, each kind
// taking every length 0..67 in turn, in random order of kinds.
std::vector<uint8_t> RunPicture(uint32_t w, uint32_t h, std::mt19937& rng, int lengths[3]) {
    std::vector<uint8_t> px(size_t(w) * h * 4);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w;) {
            const int kind = int(rng() % 3), length = lengths[kind]++ % 68;
            for (int k = 0; k < length && x < w; ++k, ++x) {
                uint8_t* p = &px[(size_t(y) * w + x) * 4];
                for (int c = 0; c < 3; ++c) p[c] = uint8_t(rng());
                p[3] = kind == 0 ? 0 : kind == 1 ? 255 : uint8_t(1 + rng() % 254);
            }
        }
    }
    return px;
}

TEST_CASE("prepared runs: every level draws every clip of mixed-run rows like the unprepared scalar rule") {
    std::mt19937 rng(16);
    const BlitLevel start = ActiveRows().level;
    std::vector<BlitLevel> levels = {BlitLevel::Scalar};
    for (const RowKernels* rows : VectorLevels()) levels.push_back(rows->level);
    int lengths[3] = {0, 0, 0};
    const uint32_t w = 140, h = 60;
    const int sw = int(w) + 7, stride = 3 * sw + 1, left = 3;  // the block lands 3 pixels in
    const std::vector<uint8_t> px = RunPicture(w, h, rng, lengths);
    for (int kind = 0; kind < 3; ++kind) REQUIRE(lengths[kind] > 68);  // every length of every kind is there
    TgaRunTable table;
    REQUIRE(BuildTgaRuns(px.data(), w, h, table));
    REQUIRE(table.rowStart.size() == h + 1);
    Bytes ground(size_t(stride) * h + 32);
    for (auto& b : ground) b = uint8_t(rng());
    int bad = 0;
    // Every first and last column; a few rows from anywhere.
    for (uint32_t from = 0; from < w && bad < 5; ++from) {
        for (uint32_t to = from + 1; to <= w && bad < 5; ++to) {
            const unsigned opacity = (from + to) % 3 == 0 ? 255u : unsigned(rng() % 256);
            const uint32_t top = (from * 7 + to) % h, rows = 1 + (from + to) % 4 < h - top ? 1 + (from + to) % 4 : h - top;
            // The reference: each row's pixels through the per-pixel rule, no runs.
            Bytes want = ground;
            for (uint32_t y = top; y < top + rows; ++y)
                AlphaRowScalar(&want[16 + size_t(y) * stride + 3 * left], &px[(size_t(y) * w + from) * 4],
                               int(to - from), opacity);
            const TgaBlitArea area{left, int(top), from, top, int(to - from), int(rows)};
            for (BlitLevel level : levels) {
                REQUIRE(SetBlitLevel(level));
                Bytes got = ground;
                const PixelSurface surface = {got.data() + 16, stride, sw, int(h)};
                const TgaSource source{px.data(), w, h, &table};
                BlitTgaAlphaOpacity(surface, source, area, uint8_t(opacity));
                if (got != want) {
                    ++bad;
                    MESSAGE(std::string(BlitLevelName(level)), " columns ", from, "..", to, " rows ", top, "+", rows, " opacity ",
                            opacity);
                }
            }
        }
    }
    CHECK(bad == 0);
    CHECK(SetBlitLevel(start));
}

TEST_CASE("prepared runs: rows of one kind, short solid runs counted as partial, the table's size") {
    const uint32_t w = 40;
    std::vector<uint8_t> px(size_t(w) * 3 * 4, 0);
    for (uint32_t x = 0; x < w; ++x) {
        px[(w + x) * 4 + 3] = 255;                                          // row 1: opaque
        px[(2 * w + x) * 4 + 3] = x < kTgaMinSolidRun - 1 ? 255 : x < 20 ? 0 : 77;  // row 2: short opaque, transparent, partial
    }
    px[(w + 5) * 4] = 9;  // a colour byte of row 1 reaches the packed bytes
    TgaRunTable t;
    REQUIRE(BuildTgaRuns(px.data(), w, 3, t));
    REQUIRE(t.rowStart == std::vector<uint32_t>({0, 1, 2, 5}));
    CHECK(t.runs[0].kind == TgaRunKind::Transparent);
    CHECK(t.runs[0].end == w);
    CHECK(t.runs[1].kind == TgaRunKind::Opaque);
    CHECK(t.opaqueBgr.size() == 3 * w);
    CHECK(t.opaqueBgr[15] == 9);
    CHECK(t.runs[2].kind == TgaRunKind::Partial);
    CHECK(t.runs[2].end == uint16_t(kTgaMinSolidRun - 1));
    CHECK(t.runs[3].kind == TgaRunKind::Transparent);
    CHECK(t.runs[3].end == 20);
    CHECK(t.runs[4].kind == TgaRunKind::Partial);
    CHECK(t.rowLongest == std::vector<uint16_t>({uint16_t(w), uint16_t(w), uint16_t(20 - (kTgaMinSolidRun - 1))}));
    CHECK(t.Bytes() >= t.runs.size() * sizeof(TgaRun) + t.opaqueBgr.size());
    CHECK_FALSE(BuildTgaRuns(px.data(), 65536, 0, t));  // wider than a TGA can be
    CHECK(t.runs.empty());
}

TEST_CASE("levels: the best one is runnable, a forced one sticks, an unknown one is refused") {
    const BlitLevel best = BestBlitLevel();
    REQUIRE(RowsFor(best) != nullptr);
    CHECK(RowsFor(BlitLevel::Scalar) == &kScalarRows);
    CHECK(SetBlitLevel(BlitLevel::Scalar));
    CHECK(ActiveRows().level == BlitLevel::Scalar);
    CHECK_FALSE(SetBlitLevel(BlitLevel(7)));
    CHECK(ActiveRows().level == BlitLevel::Scalar);
    CHECK(SetBlitLevel(best));
    CHECK(ActiveRows().level == best);
}
