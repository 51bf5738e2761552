#pragma once
#include <cstddef>
#include "VorFramework.h"

struct TgaRunTable;

/// A picture with per-pixel alpha loaded from a TGA file.
///
/// Pixels are 32-bit words, top row first, bytes blue, green, red, alpha (not premultiplied).
/// Init reads TGA files raw or run-length, any origin: true colour (15, 16, 24, 32 bits), grey (8
/// bits, 16 with alpha) and colour-mapped (8- or 16-bit indices); it refuses everything else, and
/// pictures over 2^27 pixels, with false and an empty picture.
///
/// Copies share one buffer with a count of owners: a picture is never written after it is
/// loaded, so sharing is safe, and a copy costs nothing however large the picture.
///
/// Prepared at load for fast blits (and shared by copies like the pixels): each row cut into runs of
/// transparent, opaque and partly transparent pixels, and the opaque pixels packed as 3-byte
/// blue-green-red. Drawing skips transparent runs, copies opaque ones and blends only the rest.
/// Memory: 3 bytes per pixel of alpha 255 in a run of 8 or more, 8 bytes per run and 6 per row,
/// next to the 4 bytes per pixel of the picture. Measured: an opaque picture +75%, tiles of 64x64
/// soft alpha discs +46% (+49% for one 64x64 disc), random alpha +0.3%. Load time, 4096x4096 from
/// memory: random alpha +13%, sprite tiles +11%, opaque +77% (filling 48 MB of new memory; see
/// scripts/bench.sh, group "load 4096x4096 TGA"). The pixels behind GetBuffer must therefore not be
/// written after loading: blits follow the prepared runs.
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
    /// The runs prepared at load (the library's blitters read them); null when empty, or when the
    /// memory for them could not be had (the picture then draws pixel by pixel).
    const TgaRunTable* GetRunTable() const;

private:
    // Lets go of the picture (the last owner frees the buffer); empty afterwards.
    void Release();

    unsigned long* m_buffer;  // width * height words, shared between copies
    unsigned long m_width;
    unsigned long m_height;
    long* m_refCount;     // owners of m_buffer and m_runs (null when there is no buffer)
    TgaRunTable* m_runs;  // shared between copies like m_buffer
};
