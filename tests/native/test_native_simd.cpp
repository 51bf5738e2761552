// Every vector row against the scalar reference, byte for byte: the blend arithmetic over all
// (source, destination, alpha) triples, and random rows of every length and offset for every row.
#include <doctest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "render/simd/RowKernels.h"

namespace {

typedef std::vector<uint8_t> Bytes;

// The vector levels this CPU runs; a missing one is said once.
std::vector<const RowKernels*> VectorLevels() {
    std::vector<const RowKernels*> levels;
    for (BlitLevel level : {BlitLevel::Sse2, BlitLevel::Avx2}) {
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
