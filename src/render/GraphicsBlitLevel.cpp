// CVorGraphics: the caller's switch for the instruction set of the pixel writers.
#include "CVorGraphics.h"
#include "render/simd/RowKernels.h"

bool CVorGraphics::SetBlitLevel(int level) {
    if (level < VOR_BLIT_SCALAR || level > VOR_BLIT_AVX2) return false;
    return ::SetBlitLevel(BlitLevel(level));
}

int CVorGraphics::GetBlitLevel() { return int(ActiveRows().level); }

int CVorGraphics::GetBestBlitLevel() { return int(BestBlitLevel()); }
