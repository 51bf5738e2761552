// Chooses the row table once: CPUID says what the CPU runs, the environment may ask for less.
#include <atomic>
#include <initializer_list>
#include <cstdlib>
#include <cstring>

#include "render/simd/RowKernels.h"

#if defined(__i386__) || defined(__x86_64__)
#  include <cpuid.h>
#endif

const RowKernels kScalarRows = {BlitLevel::Scalar,
                                AlphaRowScalar,
                                KeyedCopyRowScalar,
                                BlendRowScalar,
                                BlendKeyedRowScalar,
                                FillRowScalar,
                                CopyBytesScalar,
                                1,
                                1};

namespace {

BlitLevel DetectBlitLevel() {
#if defined(__i386__) || defined(__x86_64__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return BlitLevel::Scalar;
    if (!(d & bit_SSE2)) return BlitLevel::Scalar;
    if (!(c & bit_SSSE3)) return BlitLevel::Sse2;
    // AVX2 needs the CPU flag and an operating system that saves the YMM registers (XCR0 bits 1, 2).
    const bool osxsave = (c & bit_OSXSAVE) != 0, avx = (c & bit_AVX) != 0;
    if (!osxsave || !avx) return BlitLevel::Ssse3;
    unsigned xcr0lo = 0, xcr0hi = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0lo), "=d"(xcr0hi) : "c"(0));
    if ((xcr0lo & 6u) != 6u) return BlitLevel::Ssse3;
    if (__get_cpuid_max(0, nullptr) < 7) return BlitLevel::Ssse3;
    __cpuid_count(7, 0, a, b, c, d);
    return (b & bit_AVX2) ? BlitLevel::Avx2 : BlitLevel::Ssse3;
#else
    return BlitLevel::Scalar;
#endif
}

// The level named by VORIMAGE4_SIMD, or the best one when it is unset, unknown or not runnable.
const RowKernels* InitialRows() {
    const RowKernels* rows = RowsFor(BestBlitLevel());
    if (const char* want = std::getenv("VORIMAGE4_SIMD")) {
        for (BlitLevel level : {BlitLevel::Scalar, BlitLevel::Sse2, BlitLevel::Ssse3, BlitLevel::Avx2})
            if (std::strcmp(want, BlitLevelName(level)) == 0 && RowsFor(level)) rows = RowsFor(level);
    }
    return rows;
}

std::atomic<const RowKernels*>& Active() {
    static std::atomic<const RowKernels*> active(InitialRows());
    return active;
}

}  // namespace

BlitLevel BestBlitLevel() {
    static const BlitLevel best = DetectBlitLevel();
    return best;
}

const RowKernels* RowsFor(BlitLevel level) {
    if (int(level) > int(BestBlitLevel())) return nullptr;
    switch (level) {
        case BlitLevel::Scalar:
            return &kScalarRows;
        case BlitLevel::Sse2:
            return &kSse2Rows;
        case BlitLevel::Ssse3:
            return &kSsse3Rows;
        case BlitLevel::Avx2:
            return &kAvx2Rows;
    }
    return nullptr;
}

const RowKernels& ActiveRows() { return *Active().load(std::memory_order_relaxed); }

bool SetBlitLevel(BlitLevel level) {
    const RowKernels* rows = RowsFor(level);
    if (!rows) return false;
    Active().store(rows, std::memory_order_relaxed);
    return true;
}

const char* BlitLevelName(BlitLevel level) {
    switch (level) {
        case BlitLevel::Scalar:
            return "scalar";
        case BlitLevel::Sse2:
            return "sse2";
        case BlitLevel::Ssse3:
            return "ssse3";
        case BlitLevel::Avx2:
            return "avx2";
    }
    return "?";
}
