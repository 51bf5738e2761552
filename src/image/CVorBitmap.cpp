// CVorBitmap: loading pictures (image files, resources of the host executable, animated GIFs,
// 24-bit memory blocks) and the colour key.
//
// Copies share rather than clone. A GDI+ clone of an animated GIF need not keep its frames, and the
// sprite animation selects frames on the bitmap it draws; sharing the one GDI+ bitmap (and the
// attributes and memory pixels) keeps a copy drawing exactly what the original draws, with no extra
// memory. Nothing is changed in place after loading (a loader or SetColorKey replaces instead), so
// sharing is safe. Each shared thing has its own count; the last holder releases it, once.
#include "CVorBitmap.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include <objbase.h>

#include "base/GdiplusNew.h"
#include "image/ImageFileCheck.h"

namespace {

long* NewCount() { return new (std::nothrow) long(1); }

// Drops one reference; the last one deletes the object (plain delete / delete[] as it was made).
template <class T>
void Unshare(T*& object, long*& refs) {
    if (!object) return;
    if (refs && --*refs == 0) {
        delete object;
        delete refs;
    }
    object = nullptr;
    refs = nullptr;
}

void UnsharePixels(unsigned char*& pixels, long*& refs) {
    if (!pixels) return;
    if (refs && --*refs == 0) {
        delete[] pixels;
        delete refs;
    }
    pixels = nullptr;
    refs = nullptr;
}

void AddRef(long* refs) {
    if (refs) ++*refs;
}

}  // namespace

CVorBitmap::CVorBitmap()
    : m_attributes(nullptr), m_bitmap(nullptr), m_keyR(0), m_keyG(0), m_keyB(0), m_keyRGB(0), m_colorKey(0),
      m_memBits(nullptr), m_memWidth(0), m_memHeight(0), m_header(), m_zoom(0), m_frames(0), m_delayTime(0),
      m_memSize(0), m_lastStatus(Gdiplus::Ok), m_attributesRefs(nullptr), m_bitmapRefs(nullptr), m_memRefs(nullptr),
      m_bitmapEmpty(false) {}

CVorBitmap::CVorBitmap(const unsigned char* bits, int size, BITMAPINFO& info, int zoom) : CVorBitmap() {
    Init(bits, size, info, zoom);
}

CVorBitmap::CVorBitmap(const wchar_t* path) : CVorBitmap() { Init(path); }

CVorBitmap::CVorBitmap(const unsigned char* bits, int size, BITMAPINFO& info, unsigned char r, unsigned char g,
                       unsigned char b)
    : CVorBitmap() {
    Init(bits, size, info, r, g, b);
}

CVorBitmap::CVorBitmap(const wchar_t* path, unsigned char r, unsigned char g, unsigned char b) : CVorBitmap() {
    Init(path, r, g, b);
}

CVorBitmap::CVorBitmap(const CVorBitmap& other) : CVorBitmap() { Share(other); }

CVorBitmap& CVorBitmap::operator=(const CVorBitmap& other) {
    if (this == &other) return *this;
    // other holds its own references, so what both hold survives our release.
    ReleaseAttributes();
    Release();
    Share(other);
    return *this;
}

CVorBitmap::~CVorBitmap() {
    ReleaseAttributes();
    Release();
}

void CVorBitmap::Share(const CVorBitmap& other) {
    m_attributes = other.m_attributes;
    m_attributesRefs = other.m_attributesRefs;
    AddRef(m_attributesRefs);
    m_bitmap = other.m_bitmap;
    m_bitmapRefs = other.m_bitmapRefs;
    m_bitmapEmpty = other.m_bitmapEmpty;
    AddRef(m_bitmapRefs);
    m_memBits = other.m_memBits;
    m_memRefs = other.m_memRefs;
    AddRef(m_memRefs);
    m_keyR = other.m_keyR;
    m_keyG = other.m_keyG;
    m_keyB = other.m_keyB;
    m_keyRGB = other.m_keyRGB;
    m_colorKey = other.m_colorKey;
    m_memWidth = other.m_memWidth;
    m_memHeight = other.m_memHeight;
    m_header = other.m_header;
    m_zoom = other.m_zoom;
    m_frames = other.m_frames;
    m_delayTime = other.m_delayTime;
    m_memSize = other.m_memSize;
    m_lastStatus = other.m_lastStatus;
}

void CVorBitmap::Release() {
    Unshare(m_bitmap, m_bitmapRefs);
    m_bitmapEmpty = false;
    UnsharePixels(m_memBits, m_memRefs);
    m_memSize = 0;
}

void CVorBitmap::ReleaseAttributes() { Unshare(m_attributes, m_attributesRefs); }

void CVorBitmap::TakeStatus(Gdiplus::Status status) const {
    if (status != Gdiplus::Ok) m_lastStatus = status;
}

// ---- loaders ----

// Every file, resource and GIF load holds the Gdiplus::Bitmap object it made, also one whose load
// failed: a host may read GetBitmap()->GetLastStatus(). A failed object has no GDI+ image; it
// is never drawn or queried, so GetWidth and GetHeight give 0 and drawing it draws nothing.
void CVorBitmap::Hold(Gdiplus::Bitmap* made, Gdiplus::Status refusal) {
    if (!made) {
        TakeStatus(Gdiplus::OutOfMemory);
        return;
    }
    long* count = NewCount();
    if (!count) {
        delete made;
        TakeStatus(Gdiplus::OutOfMemory);
        return;
    }
    // A refused load's empty object keeps the status GDI+ gave it; a made one keeps its failure.
    const Gdiplus::Status created = refusal != Gdiplus::Ok ? refusal : CreationStatus(made);
    if (created != Gdiplus::Ok) TakeStatus(created);
    m_bitmap = made;
    m_bitmapRefs = count;
    m_bitmapEmpty = created != Gdiplus::Ok;
}

bool CVorBitmap::HasImage() const { return m_bitmap && !m_bitmapEmpty; }

namespace {

// A bitmap object that holds no image, for a load refused before GDI+ decodes anything: GDI+
// refuses the missing stream (InvalidParameter), which is the status the object keeps.
Gdiplus::Bitmap* NewEmptyBitmap() { return NewGdiplus<Gdiplus::Bitmap>(static_cast<IStream*>(nullptr), FALSE); }

// A bitmap decoded from a file image in memory, through a stream that owns a copy of the bytes.
// GDI+ keeps its own reference to the stream for as long as it reads frames from it.
Gdiplus::Bitmap* NewBitmapFromBytes(const std::vector<uint8_t>& bytes) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) return nullptr;
    void* data = ::GlobalLock(block);
    if (!data) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    IStream* stream = nullptr;
    if (::CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK || !stream) {
        ::GlobalFree(block);
        return nullptr;
    }
    Gdiplus::Bitmap* made = NewGdiplus<Gdiplus::Bitmap>(stream, FALSE);
    stream->Release();
    return made;
}

}  // namespace

void CVorBitmap::Refuse(Gdiplus::Status why) {
    m_lastStatus = Gdiplus::Ok;
    Hold(NewEmptyBitmap(), why);
}

void CVorBitmap::LoadMemory(const unsigned char* bits, int size, const BITMAPINFO& info) {
    Release();
    m_lastStatus = Gdiplus::Ok;
    if (!bits || size < 0) {
        m_lastStatus = Gdiplus::InvalidParameter;
        return;
    }
    // At least one byte, so an empty block still counts as a (zero-sized) memory image.
    unsigned char* copy = new (std::nothrow) unsigned char[size > 0 ? size_t(size) : size_t(1)];
    long* count = copy ? NewCount() : nullptr;
    if (!count) {
        delete[] copy;
        m_lastStatus = Gdiplus::OutOfMemory;
        return;
    }
    if (size > 0) std::memcpy(copy, bits, size_t(size));
    m_memBits = copy;
    m_memRefs = count;
    m_memSize = size;
    m_memWidth = info.bmiHeader.biWidth;
    m_memHeight = info.bmiHeader.biHeight;
    std::memcpy(&m_header, &info, sizeof(BITMAPINFO));  // the header and the first colour entry
}

namespace {

// Files larger than this go to GDI+ unchecked (no picture file of a game comes near it).
const LONGLONG kMaxCheckedFileBytes = 256LL << 20;

// The whole file, when it can be read and is not larger than kMaxCheckedFileBytes.
class WholeFile {
public:
    explicit WholeFile(const wchar_t* path) : m_bytes(nullptr), m_size(0) {
        HANDLE file =
            ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        LARGE_INTEGER size;
        if (::GetFileSizeEx(file, &size) && size.QuadPart <= kMaxCheckedFileBytes) {
            const DWORD bytes = DWORD(size.QuadPart);
            m_bytes = new (std::nothrow) uint8_t[bytes ? bytes : 1];
            DWORD got = 0;
            if (m_bytes && ::ReadFile(file, m_bytes, bytes, &got, nullptr) && got == bytes) {
                m_size = got;
            } else {
                delete[] m_bytes;
                m_bytes = nullptr;
            }
        }
        ::CloseHandle(file);
    }
    ~WholeFile() { delete[] m_bytes; }
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    bool Read() const { return m_bytes != nullptr; }
    const uint8_t* Bytes() const { return m_bytes; }
    size_t Size() const { return m_size; }

private:
    uint8_t* m_bytes;
    size_t m_size;
};

}  // namespace

void CVorBitmap::LoadFile(const wchar_t* path) {
    Release();
    m_lastStatus = Gdiplus::Ok;
    if (!path) {
        Refuse(Gdiplus::InvalidParameter);
        return;
    }
    // The file is judged from its header before a system decoder sees it: decoders have crashed on
    // impossible headers and spent seconds and gigabytes on pictures past the size limit. A file
    // that cannot be read here is left to GDI+, which reports its own failure.
    const WholeFile file(path);
    if (file.Read()) {
        const ImageFileVerdict verdict = CheckImageFile(file.Bytes(), file.Size());
        if (verdict != kImageFileDecode) {
            Refuse(verdict == kImageFileTooLarge ? Gdiplus::ValueOverflow : Gdiplus::UnknownImageFormat);
            return;
        }
        // GIF frames without a colour table get a gray one, in memory, before GDI+ decodes them.
        std::vector<uint8_t> repaired;
        if (AddGifGrayTable(file.Bytes(), file.Size(), &repaired)) {
            Hold(NewBitmapFromBytes(repaired));
            return;
        }
    }
    Hold(NewGdiplus<Gdiplus::Bitmap>(path, FALSE));
}

void CVorBitmap::Init(const unsigned char* bits, int size, BITMAPINFO& info, int zoom) {
    LoadMemory(bits, size, info);
    m_zoom = zoom;
}

void CVorBitmap::Init(const unsigned char* bits, int size, BITMAPINFO& info, unsigned char r, unsigned char g,
                      unsigned char b) {
    LoadMemory(bits, size, info);
    SetColorKey(r, g, b);
}

void CVorBitmap::Init(const wchar_t* path) { LoadFile(path); }

void CVorBitmap::Init(const wchar_t* path, unsigned char r, unsigned char g, unsigned char b) {
    LoadFile(path);
    SetColorKey(r, g, b);
}

void CVorBitmap::Init(unsigned int resourceId) {
    // Bitmap resources come from the executable that started the process, not from this library;
    // it stays the framework's current resource module afterwards.
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    AfxSetResourceHandle(module);
    Init(module, resourceId);
}

void CVorBitmap::Init(HINSTANCE module, unsigned int resourceId) {
    Release();
    m_lastStatus = Gdiplus::Ok;
    // GDI+ would read a null module as "no module" differently on each platform: load nothing.
    if (!module) {
        Refuse(Gdiplus::InvalidParameter);
        return;
    }
    // cppcheck-suppress AssignmentIntegerToAddress ; a resource id travels as a pointer value
    const WCHAR* name = MAKEINTRESOURCEW(resourceId & 0xFFFF);
    Hold(NewGdiplus<Gdiplus::Bitmap>(module, name));
}

void CVorBitmap::InitGif(const wchar_t* path) {
    LoadFile(path);
    // A file that does not load, or one without the items below, is a still picture: 0 and 0.
    m_frames = 0;
    m_delayTime = 0;
    if (!HasImage()) return;

    const UINT dimensions = m_bitmap->GetFrameDimensionsCount();
    if (dimensions > 0) {
        GUID* list = new (std::nothrow) GUID[dimensions];
        if (!list) {
            TakeStatus(Gdiplus::OutOfMemory);
        } else {
            if (m_bitmap->GetFrameDimensionsList(list, dimensions) == Gdiplus::Ok) {
                const UINT frames = m_bitmap->GetFrameCount(&list[0]);
                m_frames = frames > UINT(INT_MAX) ? INT_MAX : int(frames);
            }
            delete[] list;
        }
    }

    // The frame delays: an array of 32-bit values in 1/100 s, one a frame; the first one is kept.
    const UINT size = m_bitmap->GetPropertyItemSize(PropertyTagFrameDelay);
    if (size >= sizeof(Gdiplus::PropertyItem) + 4) {
        unsigned char* buffer = new (std::nothrow) unsigned char[size];
        if (!buffer) {
            TakeStatus(Gdiplus::OutOfMemory);
        } else {
            Gdiplus::PropertyItem* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer);
            if (m_bitmap->GetPropertyItem(PropertyTagFrameDelay, size, item) == Gdiplus::Ok && item->length >= 4) {
                // The value lies in the same buffer, after the item.
                const unsigned char* value = static_cast<const unsigned char*>(item->value);
                if (value >= buffer + sizeof(Gdiplus::PropertyItem) && value + 4 <= buffer + size) {
                    uint32_t delay = 0;
                    std::memcpy(&delay, value, 4);
                    m_delayTime = int(delay);
                }
            }
            delete[] buffer;
        }
    }
    TakeStatus(m_bitmap->GetLastStatus());
}

void CVorBitmap::SetColorKey(unsigned char r, unsigned char g, unsigned char b) {
    ReleaseAttributes();
    Gdiplus::ImageAttributes* attributes = NewGdiplus<Gdiplus::ImageAttributes>();
    if (!attributes) {
        TakeStatus(Gdiplus::OutOfMemory);
    } else {
        // Low and high key the same opaque colour: exactly one colour is keyed.
        const Gdiplus::Color key(255, r, g, b);
        attributes->SetColorKey(key, key, Gdiplus::ColorAdjustTypeDefault);
        const Gdiplus::Status status = attributes->GetLastStatus();
        long* count = status == Gdiplus::Ok ? NewCount() : nullptr;
        if (!count) {
            TakeStatus(status == Gdiplus::Ok ? Gdiplus::OutOfMemory : status);
            delete attributes;
        } else {
            m_attributes = attributes;
            m_attributesRefs = count;
        }
    }
    // The byte paths use the key bytes even when GDI+ could not make attributes.
    m_keyR = r;
    m_keyG = g;
    m_keyB = b;
    m_keyRGB = (unsigned long)r << 16 | (unsigned long)g << 8 | (unsigned long)b;
    m_colorKey = 1;
}

// ---- accessors ----

int CVorBitmap::GetWidth() const {
    if (m_memBits) return m_memWidth;
    if (!HasImage()) return 0;
    const UINT width = m_bitmap->GetWidth();  // asked every time; a failure stays in the wrapper
    return width > UINT(INT_MAX) ? 0 : int(width);
}

int CVorBitmap::GetHeight() const {
    if (m_memBits) return m_memHeight;
    if (!HasImage()) return 0;
    const UINT height = m_bitmap->GetHeight();
    return height > UINT(INT_MAX) ? 0 : int(height);
}

unsigned char* CVorBitmap::GetMemBitmap() const { return m_memBits; }
int CVorBitmap::GetMemSize() const { return m_memBits ? m_memSize : 0; }
BITMAPINFO* CVorBitmap::GetBitmapHeader() { return &m_header; }
Gdiplus::Bitmap* CVorBitmap::GetBitmap() const { return m_bitmap; }
Gdiplus::ImageAttributes* CVorBitmap::GetImageAttributes() const { return m_attributes; }
int CVorBitmap::IsColorKey() const { return m_colorKey; }
unsigned char CVorBitmap::GetKeyR() const { return m_keyR; }
unsigned char CVorBitmap::GetKeyG() const { return m_keyG; }
unsigned char CVorBitmap::GetKeyB() const { return m_keyB; }
unsigned long CVorBitmap::GetKeyRGB() const { return m_keyRGB; }
int CVorBitmap::IsZoom() const { return m_zoom; }
int CVorBitmap::GetFrames() const { return m_frames; }
int CVorBitmap::GetDelayTime() const { return m_delayTime; }

Gdiplus::Status CVorBitmap::GetLastStatus() const {
    // Failures of calls made through the GDI+ bitmap (size queries, locks) wait in its wrapper.
    // A failed object keeps its own status for the host: its failure is recorded here already.
    if (HasImage()) TakeStatus(m_bitmap->GetLastStatus());
    return m_lastStatus;
}
