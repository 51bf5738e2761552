// The solid-colour fill of the back buffer, free of Windows types.
#pragma once
#include <cstdint>

#include "render/PixelSurface.h"

// Writes blue b, green g, red r (no blending) to every pixel of the half-open rectangle
// [x, x + width) x [y, y + height) that lies on the surface. Clipping is done in 64 bits, so any
// position and size, INT_MIN and INT_MAX included, either clips to the surface or writes nothing.
// Row padding is never touched.
void FillSolidRect(const PixelSurface& surface, int x, int y, int width, int height, uint8_t r, uint8_t g, uint8_t b);
