// Pixel memory that ends exactly where its pages end, followed by a page that is reserved but never
// committed: a row written or read one byte past the end faults at once, where a heap block would
// silently damage its neighbour. Used for the background copy.
#pragma once
#include "VorFramework.h"

// bytes > 0; null when the memory cannot be had. The pointer is 4-byte aligned when bytes is a
// multiple of 4 (a surface's stride always is).
BYTE* AllocatePageBlock(size_t bytes);
// p and bytes as given to / returned by AllocatePageBlock; null is ignored.
void FreePageBlock(BYTE* p, size_t bytes);
