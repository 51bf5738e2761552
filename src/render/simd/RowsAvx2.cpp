// AVX2 rows: the 128-bit rows with a byte shuffle to move pixels between 3 and 4 bytes, and the
// per-pixel alpha row on 256-bit registers (8 pixels per register). Only reached when CPUID
// reports AVX2, so the code is compiled for AVX2 function by function.
#include <immintrin.h>

#include "render/simd/Pixels128.h"
#include "render/simd/RowKernels.h"

#define VOR_TARGET VOR_AVX2

namespace {
VOR_AVX2 inline __m128i Spread24(__m128i v) {
    return _mm_shuffle_epi8(v, _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1));
}

VOR_AVX2 inline __m128i Pack24(__m128i v) {
    return _mm_shuffle_epi8(v, _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1));
}
}  // namespace

#include "render/simd/RowsBody.inc"

namespace {

VOR_AVX2 inline bool AllBytesSet(__m256i compare) { return _mm256_movemask_epi8(compare) == -1; }

// Two groups of four 3-byte pixels as one register of eight 4-byte lanes.
VOR_AVX2 inline __m256i Spread48(__m128i lo, __m128i hi) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(Spread24(lo)), Spread24(hi), 1);
}

template <bool kScaled>
VOR_AVX2 inline __m256i AlphaWeights256(__m256i s16, __m256i opacity) {
    __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s16, 0xFF), 0xFF);
    if (kScaled) a = _mm256_srli_epi16(_mm256_mullo_epi16(a, opacity), 8);
    return _mm256_sub_epi16(a, _mm256_cmpeq_epi16(a, _mm256_set1_epi16(255)));
}

VOR_AVX2 inline __m256i BlendLanes256(__m256i d, __m256i s, __m256i a) {
    const __m256i full = _mm256_set1_epi16(256);
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(d, _mm256_sub_epi16(full, a)), _mm256_mullo_epi16(s, a)), 8);
}

// Eight 4-byte source pixels over eight destination pixels in 4-byte lanes.
template <bool kScaled>
VOR_AVX2 inline __m256i BlendGroup256(__m256i d, __m256i s, __m256i opacity) {
    const __m256i z = _mm256_setzero_si256();
    const __m256i sLo = _mm256_unpacklo_epi8(s, z), sHi = _mm256_unpackhi_epi8(s, z);
    return _mm256_packus_epi16(
        BlendLanes256(_mm256_unpacklo_epi8(d, z), sLo, AlphaWeights256<kScaled>(sLo, opacity)),
        BlendLanes256(_mm256_unpackhi_epi8(d, z), sHi, AlphaWeights256<kScaled>(sHi, opacity)));
}

template <bool kScaled>
VOR_AVX2 void AlphaRow256(uint8_t* d, const uint8_t* s, int n, unsigned opacity) {
    const __m256i alphaBytes = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i op = _mm256_set1_epi16(short(opacity));
    int i = 0;
    for (; i + 16 <= n; i += 16, d += 48, s += 64) {
        __m256i p0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
        __m256i p1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 32));
        const __m256i any = _mm256_and_si256(_mm256_or_si256(p0, p1), alphaBytes);
        if (AllBytesSet(_mm256_cmpeq_epi8(any, _mm256_setzero_si256()))) continue;
        const __m256i all = _mm256_and_si256(_mm256_and_si256(p0, p1), alphaBytes);
        if (kScaled || !AllBytesSet(_mm256_cmpeq_epi8(all, alphaBytes))) {
            const Groups4 dst = SplitGroups(Load48(d));
            p0 = BlendGroup256<kScaled>(Spread48(dst.g[0], dst.g[1]), p0, op);
            p1 = BlendGroup256<kScaled>(Spread48(dst.g[2], dst.g[3]), p1, op);
        }
        Groups4 out;
        out.g[0] = Pack24(_mm256_castsi256_si128(p0));
        out.g[1] = Pack24(_mm256_extracti128_si256(p0, 1));
        out.g[2] = Pack24(_mm256_castsi256_si128(p1));
        out.g[3] = Pack24(_mm256_extracti128_si256(p1, 1));
        Store48(d, JoinGroups(out));
    }
    AlphaRowScalar(d, s, n - i, opacity);
}

VOR_AVX2 void AlphaRowAvx2(uint8_t* d, const uint8_t* s, int n, unsigned opacity) {
    if (opacity == 255) AlphaRow256<false>(d, s, n, opacity);
    else AlphaRow256<true>(d, s, n, opacity);
}

VOR_AVX2 void CopyBytesAvx2(uint8_t* d, const uint8_t* s, size_t bytes) {
    size_t i = 0;
    for (; i + 128 <= bytes; i += 128) {
        __m256i v[4];
        for (int k = 0; k < 4; ++k) v[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 32 * k));
        for (int k = 0; k < 4; ++k) _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i + 32 * k), v[k]);
    }
    CopyBytesVec(d + i, s + i, bytes - i);
}

}  // namespace

const RowKernels kAvx2Rows = {BlitLevel::Avx2, AlphaRowAvx2, KeyedCopyRowVec, BlendRowVec,
                              BlendKeyedRowVec, FillRowVec, CopyBytesAvx2};
