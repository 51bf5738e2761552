#pragma once
#include <cstddef>
#include "VorFramework.h"

/// A picture with per-pixel alpha loaded from a TGA file.
///
/// Pixels are 32-bit words, top row first, bytes blue, green, red, alpha (not premultiplied).
/// Init reads TGA files raw or run-length, any origin: true colour (15, 16, 24, 32 bits), grey (8
/// bits, 16 with alpha) and colour-mapped (8- or 16-bit indices); it refuses everything else, and
/// pictures over 2^27 pixels, with false and an empty picture.
///
/// Copies share one buffer with a count of owners: a picture is never written after it is
/// loaded, so sharing is safe, and a copy costs nothing however large the picture.
class VORIMAGE4_API CVorTga {
public:
    CVorTga();  ///< An empty picture.
    /// Same as Init(path).
    CVorTga(const char* path);
    CVorTga(const CVorTga& other);             ///< Shares the other's pixels.
    CVorTga& operator=(const CVorTga& other);  ///< Lets go of this picture, then shares the other's.
    ~CVorTga();                                ///< Lets go of the picture (the last owner frees the pixels).

    /// Loads the file; false (and an empty picture) when it cannot be read or is not a supported TGA.
    bool Init(const char* path);
    /// Same as Init from a file image already in memory.
    bool InitFromMemory(const void* data, size_t size);

    /// The pixels (width * height words, top row first), null when empty.
    unsigned long* GetBuffer() const;
    /// Width in pixels, 0 when empty.
    unsigned long GetWidth() const;
    /// Height in pixels, 0 when empty.
    unsigned long GetHeight() const;

private:
    // Lets go of the picture (the last owner frees the buffer); empty afterwards.
    void Release();

    unsigned long* m_buffer;  // width * height words, shared between copies
    unsigned long m_width;
    unsigned long m_height;
    long* m_refCount;  // owners of m_buffer (null when there is no buffer)
};
