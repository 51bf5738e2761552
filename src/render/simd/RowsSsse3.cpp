// SSSE3 rows: the 128-bit rows with a byte shuffle (pshufb) to move pixels between 3 and 4 bytes,
// where SSE2 needs shifts and masks, and an alpha row that blends in the destination's byte order.
// Only reached when CPUID reports SSSE3.
#include <tmmintrin.h>

#include <cstring>

#include "render/simd/Pixels128.h"
#include "render/simd/RowKernels.h"
#include "render/simd/Shuffle24.h"

#define VOR_TARGET VOR_SSSE3

#include "render/simd/RowsBody.inc"

namespace {

// The blend works on the destination's own byte order, as the AVX2 row does on 256 bits: 16 pixels
// are 48 bytes, six halves of 8 bytes widened to 16-bit lanes. Half h needs at most four source
// pixels, loaded as one register from pixel kFirstPixel[h]; one byte shuffle spreads their colours
// and another their alphas to the lanes of the half's bytes.
const int kFirstPixel[6] = {0, 2, 5, 8, 10, 12};
alignas(16) const int8_t kColour[4][16] = {{0, -1, 1, -1, 2, -1, 4, -1, 5, -1, 6, -1, 8, -1, 9, -1},
                                           {2, -1, 4, -1, 5, -1, 6, -1, 8, -1, 9, -1, 10, -1, 12, -1},
                                           {1, -1, 2, -1, 4, -1, 5, -1, 6, -1, 8, -1, 9, -1, 10, -1},
                                           {5, -1, 6, -1, 8, -1, 9, -1, 10, -1, 12, -1, 13, -1, 14, -1}};
alignas(16) const int8_t kAlpha[4][16] = {{3, -1, 3, -1, 3, -1, 7, -1, 7, -1, 7, -1, 11, -1, 11, -1},
                                          {3, -1, 7, -1, 7, -1, 7, -1, 11, -1, 11, -1, 11, -1, 15, -1},
                                          {3, -1, 3, -1, 7, -1, 7, -1, 7, -1, 11, -1, 11, -1, 11, -1},
                                          {7, -1, 7, -1, 11, -1, 11, -1, 11, -1, 15, -1, 15, -1, 15, -1}};
const int kMask[6] = {0, 1, 2, 0, 1, 3};  // masks of half h

template <bool kScaled>
VOR_SSSE3 inline __m128i BlendHalf(const uint8_t* d, const uint8_t* s, int h, __m128i op) {
    const __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * kFirstPixel[h]));
    const __m128i s16 = _mm_shuffle_epi8(px, _mm_load_si128(reinterpret_cast<const __m128i*>(kColour[kMask[h]])));
    __m128i a16 = _mm_shuffle_epi8(px, _mm_load_si128(reinterpret_cast<const __m128i*>(kAlpha[kMask[h]])));
    // Weight: A * opacity >> 8, or A with 255 made 256 (a copy, as the reference does).
    if (kScaled)
        a16 = _mm_srli_epi16(_mm_mullo_epi16(a16, op), 8);
    else
        a16 = _mm_sub_epi16(a16, _mm_cmpeq_epi16(a16, _mm_set1_epi16(255)));
    const __m128i d16 = WidenLo(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(d + 8 * h)));
    // (d * 256 + (s - d) * a) >> 8: the true sum lies in 0..65280, so 16-bit wrap-around is harmless.
    return _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(d16, 8), _mm_mullo_epi16(_mm_sub_epi16(s16, d16), a16)), 8);
}

template <bool kScaled>
VOR_SSSE3 void AlphaRowShuffled(uint8_t* d, const uint8_t* s, int n, unsigned opacity) {
    const __m128i alphaBytes = _mm_set1_epi32(int(0xFF000000u));
    const __m128i op = _mm_set1_epi16(short(opacity));
    int i = 0;
    for (; i + 16 <= n; i += 16, d += 48, s += 64) {
        const Groups4 src = Load64(s);
        const __m128i any = _mm_or_si128(_mm_or_si128(src.g[0], src.g[1]), _mm_or_si128(src.g[2], src.g[3]));
        if (AllBytesSet(_mm_cmpeq_epi8(_mm_and_si128(any, alphaBytes), _mm_setzero_si128()))) continue;
        const __m128i all = _mm_and_si128(_mm_and_si128(src.g[0], src.g[1]), _mm_and_si128(src.g[2], src.g[3]));
        if (!kScaled && AllBytesSet(_mm_cmpeq_epi8(_mm_and_si128(all, alphaBytes), alphaBytes))) {
            Groups4 out;
            for (int k = 0; k < 4; ++k) out.g[k] = Pack24(src.g[k]);
            Store48(d, JoinGroups(out));
            continue;
        }
        __m128i r[6];
        for (int h = 0; h < 6; ++h) r[h] = BlendHalf<kScaled>(d, s, h, op);
        for (int k = 0; k < 3; ++k)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16 * k), _mm_packus_epi16(r[2 * k], r[2 * k + 1]));
    }
    if (i < n) AlphaTail<AlphaRowShuffled<kScaled>>(d, s, n - i, opacity);
}

VOR_SSSE3 void AlphaRowSsse3(uint8_t* d, const uint8_t* s, int n, unsigned opacity) {
    if (opacity == 255)
        AlphaRowShuffled<false>(d, s, n, opacity);
    else
        AlphaRowShuffled<true>(d, s, n, opacity);
}

}  // namespace

const RowKernels kSsse3Rows = {BlitLevel::Ssse3, AlphaRowSsse3, KeyedCopyRowVec,     BlendRowVec, BlendKeyedRowVec,
                               FillRowVec,       CopyBytesVec,  kShuffleRunMinSolid, 16};
