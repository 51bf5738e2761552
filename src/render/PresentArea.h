// What DrawDC copies to the window. Each dirty rectangle stands for the block from the origin to
// its far corner (cut to the back buffer); the union of such blocks is a staircase, which is
// presented as disjoint bands so no window pixel is copied twice. Free of Windows calls.
#pragma once
#include <cstdint>
#include <list>
#include <vector>

#include "CVorRect.h"

// Fills bands with disjoint rectangles covering exactly the union of the blocks
// [0, min(X + Width, width)) x [0, min(Y + Height, height)) of the dirty rectangles (blocks
// with no area left out). Bands run from the top, each as wide as the union is in its rows.
// bands is reused storage: it keeps its capacity from call to call. Returns the pixel count.
int64_t PresentBands(const std::list<CVorRect>& dirty, int width, int height, std::vector<CVorRect>& bands);

// Exact presentation: the dirty rectangles themselves, as half-open pixel rectangles cut to
// [0, width) x [0, height), those with no area left out. The list's rectangles never meet, so the
// bands are disjoint. Same storage and result as PresentBands.
int64_t ExactBands(const std::list<CVorRect>& dirty, int width, int height, std::vector<CVorRect>& bands);
