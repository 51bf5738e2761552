// CVorTga - a picture with per-pixel alpha loaded from a TGA file.
// Pixels are 32-bit words, top row first, bytes blue, green, red, alpha (not premultiplied).
// Init reads true-colour TGA files (types 2 and 10, 24 or 32 bits, either origin) and refuses
// everything else with false and an empty picture.
#pragma once
#include <cstddef>
#include "VorFramework.h"

class VORIMAGE4_API CVorTga {
public:
    CVorTga();
    explicit CVorTga(const char* path);
    CVorTga(const CVorTga& other);
    CVorTga& operator=(const CVorTga& other);
    ~CVorTga();

    // Loads the file; false (and an empty picture) when it cannot be read or is not a supported TGA.
    bool Init(const char* path);
    // Same from a file image already in memory.
    bool InitFromMemory(const void* data, size_t size);

    unsigned long* GetBuffer() const;
    unsigned long GetWidth() const;
    unsigned long GetHeight() const;

private:
    // Lets go of the picture (the last owner frees the buffer); empty afterwards.
    void Release();

    // Copies share one buffer with a count of owners: a picture is never written after it is
    // loaded, so sharing is safe, and a copy costs nothing however large the picture.
    unsigned long* m_buffer;  // width * height words, shared between copies
    unsigned long m_width;
    unsigned long m_height;
    long* m_refCount;         // owners of m_buffer (null when there is no buffer)
};
