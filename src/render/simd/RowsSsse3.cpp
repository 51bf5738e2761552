// SSSE3 rows: the 128-bit rows with a byte shuffle (pshufb) to move pixels between 3 and 4 bytes,
// where SSE2 needs shifts and masks. Only reached when CPUID reports SSSE3.
#include <tmmintrin.h>

#include <cstring>

#include "render/simd/Pixels128.h"
#include "render/simd/RowKernels.h"

#define VOR_TARGET VOR_SSSE3

namespace {
VOR_SSSE3 inline __m128i Spread24(__m128i v) {
    return _mm_shuffle_epi8(v, _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1));
}

VOR_SSSE3 inline __m128i Pack24(__m128i v) {
    return _mm_shuffle_epi8(v, _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1));
}
}  // namespace

#include "render/simd/RowsBody.inc"

const RowKernels kSsse3Rows = {BlitLevel::Ssse3, AlphaRowVec,  KeyedCopyRowVec, BlendRowVec, BlendKeyedRowVec,
                               FillRowVec,       CopyBytesVec, kSseRunMinSolid, 16};
