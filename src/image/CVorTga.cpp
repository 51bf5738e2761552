#include "CVorTga.h"

#include <cstdio>
#include <new>
#include <vector>

#include "image/TgaDecoder.h"
#include "image/TgaRuns.h"

// The pixel words are 4 bytes (unsigned long is 32 bits on Windows, 32- and 64-bit alike).
static_assert(sizeof(unsigned long) == 4, "TGA pixel words are 32 bits");

CVorTga::CVorTga() : m_buffer(nullptr), m_width(0), m_height(0), m_refCount(nullptr), m_runs(nullptr) {}

CVorTga::CVorTga(const char* path) : CVorTga() { Init(path); }

// A copy shares the source's buffer (see the header): the count grows, nothing is copied.
CVorTga::CVorTga(const CVorTga& other)
    : m_buffer(other.m_buffer), m_width(other.m_width), m_height(other.m_height), m_refCount(other.m_refCount),
      m_runs(other.m_runs) {
    if (m_refCount) ++*m_refCount;
}

CVorTga& CVorTga::operator=(const CVorTga& other) {
    if (this == &other) return *this;
    // Take the new reference before letting go of the old one, so sharing one buffer is safe.
    if (other.m_refCount) ++*other.m_refCount;
    Release();
    m_buffer = other.m_buffer;
    m_width = other.m_width;
    m_height = other.m_height;
    m_refCount = other.m_refCount;
    m_runs = other.m_runs;
    return *this;
}

CVorTga::~CVorTga() { Release(); }

void CVorTga::Release() {
    if (m_refCount && --*m_refCount == 0) {
        delete[] m_buffer;
        delete m_refCount;
        delete m_runs;
    }
    m_buffer = nullptr;
    m_refCount = nullptr;
    m_runs = nullptr;
    m_width = 0;
    m_height = 0;
}

bool CVorTga::Init(const char* path) {
    Release();
    if (!path) return false;
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    // The whole file image is read, then decoded; a read error just ends the image early,
    // which the decoder refuses as a short file.
    std::vector<uint8_t> bytes;
    bool readOk = true;
    try {
        uint8_t chunk[65536];
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    } catch (const std::bad_alloc&) { readOk = false; }
    std::fclose(file);
    return readOk && InitFromMemory(bytes.data(), bytes.size());
}

bool CVorTga::InitFromMemory(const void* data, size_t size) {
    Release();
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    TgaInfo info;
    if (!ReadTgaInfo(bytes, size, info)) return false;

    const uint64_t count = TgaPixelCount(info);
    if (count == 0) {  // a valid empty picture: its size, no pixels
        m_width = info.width;
        m_height = info.height;
        return true;
    }
    unsigned long* buffer = new (std::nothrow) unsigned long[size_t(count)];
    long* refCount = new (std::nothrow) long(1);
    if (!buffer || !refCount || !DecodeTgaPixels(bytes, size, info, reinterpret_cast<uint8_t*>(buffer))) {
        delete[] buffer;
        delete refCount;
        return false;
    }
    // Without memory for the runs the picture still loads; it then draws pixel by pixel.
    TgaRunTable* runs = new (std::nothrow) TgaRunTable();
    if (runs && !BuildTgaRuns(reinterpret_cast<const uint8_t*>(buffer), info.width, info.height, *runs)) {
        delete runs;
        runs = nullptr;
    }
    m_buffer = buffer;
    m_refCount = refCount;
    m_runs = runs;
    m_width = info.width;
    m_height = info.height;
    return true;
}

unsigned long* CVorTga::GetBuffer() const { return m_buffer; }
unsigned long CVorTga::GetWidth() const { return m_width; }
unsigned long CVorTga::GetHeight() const { return m_height; }
const TgaRunTable* CVorTga::GetRunTable() const { return m_runs; }
