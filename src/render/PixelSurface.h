// A plain view of a 24-bit back buffer, free of Windows types, for the pixel writers.
#pragma once

struct PixelSurface {
    unsigned char* pixels;  // row 0 is the top row; null when there is nothing to write to
    int stride;             // bytes per row
    int width;
    int height;

    bool Writable() const { return pixels != nullptr && width > 0 && height > 0 && stride >= 3 * width; }
};
