#include "CVorBrush.h"

#include "CVorBitmap.h"
#include "base/GdiplusNew.h"
#include "base/SharedCount.h"

CVorBrush::CVorBrush() : m_hatch(nullptr), m_texture(nullptr), m_uses(nullptr), m_lastStatus(Gdiplus::Ok) {}

CVorBrush::CVorBrush(Gdiplus::HatchStyle style, const Gdiplus::Color& fore, const Gdiplus::Color& back) : CVorBrush() {
    Init(style, fore, back);
}

// A copy shares the brush; the use count keeps it alive until the last copy lets go.
CVorBrush::CVorBrush(const CVorBrush& other)
    : m_hatch(other.m_hatch), m_texture(other.m_texture), m_uses(other.m_uses), m_lastStatus(other.m_lastStatus) {
    AddSharedUse(m_uses);
}

CVorBrush& CVorBrush::operator=(const CVorBrush& other) {
    if (this == &other) return *this;
    AddSharedUse(other.m_uses);
    Release();
    m_hatch = other.m_hatch;
    m_texture = other.m_texture;
    m_uses = other.m_uses;
    m_lastStatus = other.m_lastStatus;
    return *this;
}

CVorBrush::~CVorBrush() { Release(); }

void CVorBrush::Release() {
    if (DropSharedUse(m_uses)) {
        delete m_hatch;
        delete m_texture;
    }
    m_hatch = nullptr;
    m_texture = nullptr;
}

void CVorBrush::Init(CVorBitmap* image, Gdiplus::WrapMode wrap) {
    Release();
    m_lastStatus = Gdiplus::Ok;
    // A memory image has no GDI+ bitmap to make a texture of.
    Gdiplus::Bitmap* bitmap = image ? image->GetBitmap() : nullptr;
    if (!bitmap) {
        m_lastStatus = Gdiplus::InvalidParameter;
        return;
    }
    long* uses = NewSharedCount();
    Gdiplus::TextureBrush* texture = uses ? NewGdiplus<Gdiplus::TextureBrush>(bitmap, wrap) : nullptr;
    if (!texture) {
        delete uses;
        m_lastStatus = Gdiplus::OutOfMemory;
        return;
    }
    m_lastStatus = CreationStatus(texture);
    m_texture = texture;
    m_uses = uses;
}

void CVorBrush::Init(Gdiplus::HatchStyle style, const Gdiplus::Color& fore, const Gdiplus::Color& back) {
    Release();
    m_lastStatus = Gdiplus::Ok;
    long* uses = NewSharedCount();
    Gdiplus::HatchBrush* hatch = uses ? NewGdiplus<Gdiplus::HatchBrush>(style, fore, back) : nullptr;
    if (!hatch) {
        delete uses;
        m_lastStatus = Gdiplus::OutOfMemory;
        return;
    }
    m_lastStatus = CreationStatus(hatch);
    m_hatch = hatch;
    m_uses = uses;
}

Gdiplus::HatchBrush* CVorBrush::GetHatchBrush() const { return m_hatch; }
Gdiplus::TextureBrush* CVorBrush::GetTextureBrush() const { return m_texture; }
Gdiplus::Status CVorBrush::GetLastStatus() const { return m_lastStatus; }
