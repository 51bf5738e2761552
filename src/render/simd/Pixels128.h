// 128-bit helpers shared by the SSE2, SSSE3 and AVX2 rows: moving 16 pixels of 3 bytes between three
// registers and four groups of four pixels, and the blend rule on 16-bit lanes. SSE2 only; the
// AVX2 rows may inline them too. Unaligned loads and stores throughout.
#pragma once
#include <emmintrin.h>

#include "render/BitmapBlit.h"

#define VOR_SSE2 __attribute__((target("sse2")))
#define VOR_SSSE3 __attribute__((target("ssse3")))
#define VOR_AVX2 __attribute__((target("avx2")))

// 16 pixels of 3 bytes as three registers, as they lie in memory.
struct Regs3 {
    __m128i r[3];
};
// The same 16 pixels as four groups of four, each group in the low 12 bytes of a register.
struct Groups4 {
    __m128i g[4];
};

VOR_SSE2 static inline Regs3 Load48(const uint8_t* s) {
    Regs3 v;
    for (int i = 0; i < 3; ++i) v.r[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16 * size_t(i)));
    return v;
}

VOR_SSE2 static inline void Store48(uint8_t* d, const Regs3& v) {
    for (int i = 0; i < 3; ++i) _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16 * size_t(i)), v.r[i]);
}

// Registers to groups (bytes above a group's 12 are left over from its neighbours).
VOR_SSE2 static inline Groups4 SplitGroups(const Regs3& v) {
    Groups4 q;
    q.g[0] = v.r[0];
    q.g[1] = _mm_or_si128(_mm_srli_si128(v.r[0], 12), _mm_slli_si128(v.r[1], 4));
    q.g[2] = _mm_or_si128(_mm_srli_si128(v.r[1], 8), _mm_slli_si128(v.r[2], 8));
    q.g[3] = _mm_srli_si128(v.r[2], 4);
    return q;
}

// Groups (each with its top 4 bytes zero) to registers.
VOR_SSE2 static inline Regs3 JoinGroups(const Groups4& q) {
    Regs3 v;
    v.r[0] = _mm_or_si128(q.g[0], _mm_slli_si128(q.g[1], 12));
    v.r[1] = _mm_or_si128(_mm_srli_si128(q.g[1], 4), _mm_slli_si128(q.g[2], 8));
    v.r[2] = _mm_or_si128(_mm_srli_si128(q.g[2], 8), _mm_slli_si128(q.g[3], 4));
    return v;
}

// 16 pixels of 4 bytes as four registers.
VOR_SSE2 static inline Groups4 Load64(const uint8_t* s) {
    Groups4 q;
    for (int i = 0; i < 4; ++i) q.g[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16 * size_t(i)));
    return q;
}

// Blend rule on 16-bit lanes, a in 0..256: (d * (256 - a) + s * a) >> 8. This equals
// d + ((s - d) * a >> 8) with a floor shift, and the sum never passes 255 * 256.
VOR_SSE2 static inline __m128i BlendLanes(__m128i d, __m128i s, __m128i a) {
    const __m128i full = _mm_set1_epi16(256);
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d, _mm_sub_epi16(full, a)), _mm_mullo_epi16(s, a)), 8);
}

// Colour-key pixels of 3 bytes as 32-bit lanes (fourth byte zero).
VOR_SSE2 static inline __m128i KeyLanes(ColorKey key) {
    return _mm_set1_epi32(int(uint32_t(key.b) | uint32_t(key.g) << 8 | uint32_t(key.r) << 16));
}

// The 16 bytes of v as 16-bit lanes, low and high half.
VOR_SSE2 static inline __m128i WidenLo(__m128i v) { return _mm_unpacklo_epi8(v, _mm_setzero_si128()); }
VOR_SSE2 static inline __m128i WidenHi(__m128i v) { return _mm_unpackhi_epi8(v, _mm_setzero_si128()); }

// Blends 16 bytes with one weight a (0..256) per byte lane, given as 16-bit lanes lo/hi.
VOR_SSE2 static inline __m128i BlendBytes(__m128i d, __m128i s, __m128i aLo, __m128i aHi) {
    return _mm_packus_epi16(BlendLanes(WidenLo(d), WidenLo(s), aLo), BlendLanes(WidenHi(d), WidenHi(s), aHi));
}

// Keyed select: d where keep is 0xFF, s where it is 0.
VOR_SSE2 static inline __m128i SelectBytes(__m128i keep, __m128i d, __m128i s) {
    return _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, s));
}
