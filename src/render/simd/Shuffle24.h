// Moving four pixels between 3 and 4 bytes with one byte shuffle (pshufb): the group converters of
// the SSSE3 and AVX2 rows (RowsBody.inc). SSSE3 code, which AVX2 functions inline as well.
#pragma once
#include <tmmintrin.h>

#include "render/simd/Pixels128.h"

namespace {
// Four 3-byte pixels to 4-byte lanes, fourth byte 0.
VOR_SSSE3 inline __m128i Spread24(__m128i v) {
    return _mm_shuffle_epi8(v, _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1));
}

// Back: four 4-byte lanes to 3-byte pixels, top 4 bytes 0.
VOR_SSSE3 inline __m128i Pack24(__m128i v) {
    return _mm_shuffle_epi8(v, _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1));
}
}  // namespace
