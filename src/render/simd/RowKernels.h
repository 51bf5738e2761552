// Row writers behind every pixel blitter, in one table per instruction set, and the choice of the
// table the library uses. Scalar rows are the reference; SSE2, SSSE3 and AVX2 rows give the same bytes.
// Windows-free, so the native sanitizer build tests every variant too.
#pragma once
#include <cstddef>
#include <cstdint>

#include "render/BitmapBlit.h"

enum class BlitLevel { Scalar = 0, Sse2 = 1, Ssse3 = 2, Avx2 = 3 };

struct RowKernels {
    BlitLevel level;
    // n pixels of 4 bytes (blue, green, red, alpha) over n pixels of 3 bytes, each alpha scaled by
    // opacity (255: the pixel's own alpha).
    void (*alphaRow)(uint8_t* d, const uint8_t* s, int n, unsigned opacity);
    // n pixels of 3 bytes copied, those of the key colour left out.
    void (*keyedCopyRow)(uint8_t* d, const uint8_t* s, int n, ColorKey key);
    // n pixels of 3 bytes blended with one opacity (1..254).
    void (*blendRow)(uint8_t* d, const uint8_t* s, int n, unsigned opacity);
    // The same, key-colour pixels left out.
    void (*blendKeyedRow)(uint8_t* d, const uint8_t* s, int n, unsigned opacity, ColorKey key);
    // n pixels of 3 bytes set to blue, green, red.
    void (*fillRow)(uint8_t* d, int n, uint8_t b, uint8_t g, uint8_t r);
    // A plain copy of bytes.
    void (*copyBytes)(uint8_t* d, const uint8_t* s, size_t bytes);
    // How a picture's prepared runs are used (TgaBlit.cpp): transparent and opaque runs shorter
    // than runMinSolid go through alphaRow with their neighbours (a vector row skips and copies
    // whole blocks of them itself), and such stretches are widened to whole blocks of runBlock.
    int runMinSolid;
    int runBlock;
};

// Vector rows skip and copy whole blocks of transparent and opaque pixels themselves, so only runs
// at least this long are worth taking out of them. Measured on 64x64 alpha sprites, tiles of them
// and an opaque ground: the SSE2 row (slow to blend) gains from runs of 16 on; the SSSE3 and AVX2
// rows only from 64 on (shorter ones draw the sprites slower than their own block tests); an
// opaque ground draws like a copy at every level.
const int kSse2RunMinSolid = 16;
const int kShuffleRunMinSolid = 64;

// The scalar reference rows (TgaBlit.cpp, BitmapBlit.cpp, FillKernel.cpp).
void AlphaRowScalar(uint8_t* d, const uint8_t* s, int n, unsigned opacity);
void KeyedCopyRowScalar(uint8_t* d, const uint8_t* s, int n, ColorKey key);
void BlendRowScalar(uint8_t* d, const uint8_t* s, int n, unsigned opacity);
void BlendKeyedRowScalar(uint8_t* d, const uint8_t* s, int n, unsigned opacity, ColorKey key);
void FillRowScalar(uint8_t* d, int n, uint8_t b, uint8_t g, uint8_t r);
void CopyBytesScalar(uint8_t* d, const uint8_t* s, size_t bytes);

extern const RowKernels kScalarRows;
extern const RowKernels kSse2Rows;   // RowsSse2.cpp
extern const RowKernels kSsse3Rows;  // RowsSsse3.cpp
extern const RowKernels kAvx2Rows;   // RowsAvx2.cpp

// The best level this CPU (and operating system) runs, found once by CPUID.
BlitLevel BestBlitLevel();
// The table of a level; null when the CPU cannot run it.
const RowKernels* RowsFor(BlitLevel level);
// The table in use: the best level, unless VORIMAGE4_SIMD=scalar|sse2|ssse3|avx2 asked for another one
// at first use, or SetBlitLevel chose one since.
const RowKernels& ActiveRows();
// Uses the given level from now on; false (and no change) when the CPU cannot run it.
bool SetBlitLevel(BlitLevel level);
// Name of a level as the environment variable spells it.
const char* BlitLevelName(BlitLevel level);
