// AVX2 rows: the 128-bit rows with a byte shuffle to move pixels between 3 and 4 bytes, and the
// per-pixel alpha row on 256-bit registers (8 pixels per register). Only reached when CPUID
// reports AVX2, so the code is compiled for AVX2 function by function.
#include <immintrin.h>

#include <algorithm>
#include <cstring>

#include "render/simd/Pixels128.h"
#include "render/simd/RowKernels.h"
#include "render/simd/Shuffle24.h"

#define VOR_TARGET VOR_AVX2

#include "render/simd/RowsBody.inc"

namespace {

VOR_AVX2 inline bool AllBytesSet(__m256i compare) { return _mm256_movemask_epi8(compare) == -1; }

// The blend works on the destination's own byte order: 16 pixels are 48 bytes, three registers of
// 16 bytes widened to 16-bit lanes. For destination register k a window of eight source pixels
// (pixels 0-7, 4-11, 8-15) is permuted so each 128-bit half holds the pixels its 8 bytes need, then
// one byte shuffle spreads their colours and another their alphas to the matching lanes.
struct AlphaShuffles {
    __m256i pixels[3];  // dword permutation of window k
    __m256i colour[3];  // bytes to 16-bit lanes: colour byte of destination byte j
    __m256i alpha[3];   // bytes to 16-bit lanes: alpha of the pixel of destination byte j
};

VOR_AVX2 AlphaShuffles MakeAlphaShuffles() {
    const int windowStart[3] = {0, 4, 8};
    AlphaShuffles t;
    for (int k = 0; k < 3; ++k) {
        int32_t dwords[8];
        int8_t colour[32], alpha[32];
        for (int half = 0; half < 2; ++half) {
            const int firstByte = 16 * k + 8 * half, firstPixel = firstByte / 3;
            for (int m = 0; m < 4; ++m) dwords[4 * half + m] = std::min(firstPixel + m - windowStart[k], 7);
            for (int i = 0; i < 8; ++i) {
                const int j = firstByte + i, m = j / 3 - firstPixel;
                colour[16 * half + 2 * i] = int8_t(4 * m + j % 3);
                alpha[16 * half + 2 * i] = int8_t(4 * m + 3);
                colour[16 * half + 2 * i + 1] = alpha[16 * half + 2 * i + 1] = -1;  // high byte 0
            }
        }
        t.pixels[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dwords));
        t.colour[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(colour));
        t.alpha[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(alpha));
    }
    return t;
}

VOR_AVX2 const AlphaShuffles& Shuffles() {
    static const AlphaShuffles shuffles = MakeAlphaShuffles();
    return shuffles;
}

template <bool kScaled>
VOR_AVX2 void AlphaRow256(uint8_t* d, const uint8_t* s, int n, unsigned opacity) {
    const __m256i alphaBytes = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i op = _mm256_set1_epi16(short(opacity));
    const __m256i opaque = _mm256_set1_epi16(255);
    const AlphaShuffles& sh = Shuffles();
    int i = 0;
    for (; i + 16 <= n; i += 16, d += 48, s += 64) {
        const __m256i p0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
        const __m256i p1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 32));
        const __m256i any = _mm256_and_si256(_mm256_or_si256(p0, p1), alphaBytes);
        if (AllBytesSet(_mm256_cmpeq_epi8(any, _mm256_setzero_si256()))) continue;
        const __m256i all = _mm256_and_si256(_mm256_and_si256(p0, p1), alphaBytes);
        if (!kScaled && AllBytesSet(_mm256_cmpeq_epi8(all, alphaBytes))) {
            Groups4 out;
            out.g[0] = Pack24(_mm256_castsi256_si128(p0));
            out.g[1] = Pack24(_mm256_extracti128_si256(p0, 1));
            out.g[2] = Pack24(_mm256_castsi256_si128(p1));
            out.g[3] = Pack24(_mm256_extracti128_si256(p1, 1));
            Store48(d, JoinGroups(out));
            continue;
        }
        const __m256i window[3] = {p0, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 16)), p1};
        __m256i r[3];
        for (int k = 0; k < 3; ++k) {
            const __m256i px = _mm256_permutevar8x32_epi32(window[k], sh.pixels[k]);
            const __m256i s16 = _mm256_shuffle_epi8(px, sh.colour[k]);
            __m256i a16 = _mm256_shuffle_epi8(px, sh.alpha[k]);
            // Weight: A * opacity >> 8, or A with 255 made 256 (a copy, as the reference does).
            if (kScaled)
                a16 = _mm256_srli_epi16(_mm256_mullo_epi16(a16, op), 8);
            else
                a16 = _mm256_sub_epi16(a16, _mm256_cmpeq_epi16(a16, opaque));
            const __m256i d16 =
                _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 16 * size_t(k))));
            // (d * 256 + (s - d) * a) >> 8: the true sum lies in 0..65280, so 16-bit wrap-around is harmless.
            r[k] = _mm256_srli_epi16(
                _mm256_add_epi16(_mm256_slli_epi16(d16, 8), _mm256_mullo_epi16(_mm256_sub_epi16(s16, d16), a16)), 8);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d),
                            _mm256_permute4x64_epi64(_mm256_packus_epi16(r[0], r[1]), 0xD8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 32),
                         _mm_packus_epi16(_mm256_castsi256_si128(r[2]), _mm256_extracti128_si256(r[2], 1)));
    }
    if (i < n) AlphaTail<AlphaRow256<kScaled>>(d, s, n - i, opacity);
}

VOR_AVX2 void AlphaRowAvx2(uint8_t* d, const uint8_t* s, int n, unsigned opacity) {
    if (opacity == 255)
        AlphaRow256<false>(d, s, n, opacity);
    else
        AlphaRow256<true>(d, s, n, opacity);
}

VOR_AVX2 void CopyBytesAvx2(uint8_t* d, const uint8_t* s, size_t bytes) {
    size_t i = 0;
    for (; i + 128 <= bytes; i += 128) {
        __m256i v[4];
        for (int k = 0; k < 4; ++k) v[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 32 * size_t(k)));
        for (int k = 0; k < 4; ++k) _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i + 32 * size_t(k)), v[k]);
    }
    CopyBytesVec(d + i, s + i, bytes - i);
}

}  // namespace

const RowKernels kAvx2Rows = {BlitLevel::Avx2, AlphaRowAvx2,  KeyedCopyRowVec,     BlendRowVec, BlendKeyedRowVec,
                              FillRowVec,      CopyBytesAvx2, kShuffleRunMinSolid, 16};
