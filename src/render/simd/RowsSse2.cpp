// SSE2 rows. SSE2 has no byte shuffle, so pixels move between 3 and 4 bytes by byte shifts and masks.
#include <cstring>

#include "render/simd/Pixels128.h"
#include "render/simd/RowKernels.h"

#define VOR_TARGET VOR_SSE2

namespace {

VOR_SSE2 inline __m128i Spread24(__m128i v) {
    const __m128i m = _mm_setr_epi32(0x00FFFFFF, 0, 0, 0);
    return _mm_or_si128(_mm_or_si128(_mm_and_si128(v, m), _mm_and_si128(_mm_slli_si128(v, 1), _mm_slli_si128(m, 4))),
                        _mm_or_si128(_mm_and_si128(_mm_slli_si128(v, 2), _mm_slli_si128(m, 8)),
                                     _mm_and_si128(_mm_slli_si128(v, 3), _mm_slli_si128(m, 12))));
}

VOR_SSE2 inline __m128i Pack24(__m128i v) {
    const __m128i m = _mm_setr_epi32(0x00FFFFFF, 0, 0, 0);
    return _mm_or_si128(_mm_or_si128(_mm_and_si128(v, m), _mm_and_si128(_mm_srli_si128(v, 1), _mm_slli_si128(m, 3))),
                        _mm_or_si128(_mm_and_si128(_mm_srli_si128(v, 2), _mm_slli_si128(m, 6)),
                                     _mm_and_si128(_mm_srli_si128(v, 3), _mm_slli_si128(m, 9))));
}
}  // namespace

#include "render/simd/RowsBody.inc"

const RowKernels kSse2Rows = {BlitLevel::Sse2, AlphaRowVec,  KeyedCopyRowVec,  BlendRowVec, BlendKeyedRowVec,
                              FillRowVec,      CopyBytesVec, kSse2RunMinSolid, 16};
