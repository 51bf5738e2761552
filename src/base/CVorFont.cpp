#include "CVorFont.h"

#include "base/GdiplusNew.h"
#include "base/SharedCount.h"

CVorFont::CVorFont() : m_font(nullptr), m_uses(nullptr), m_lastStatus(Gdiplus::Ok) {}

CVorFont::CVorFont(int size, const wchar_t* face, Gdiplus::FontStyle style) : CVorFont() { Init(size, face, style); }

// A copy shares the font; the use count keeps it alive until the last copy lets go.
CVorFont::CVorFont(const CVorFont& other)
    : m_font(other.m_font), m_uses(other.m_uses), m_lastStatus(other.m_lastStatus) {
    AddSharedUse(m_uses);
}

CVorFont& CVorFont::operator=(const CVorFont& other) {
    if (this == &other) return *this;
    AddSharedUse(other.m_uses);
    Release();
    m_font = other.m_font;
    m_uses = other.m_uses;
    m_lastStatus = other.m_lastStatus;
    return *this;
}

CVorFont::~CVorFont() { Release(); }

void CVorFont::Release() {
    if (DropSharedUse(m_uses)) delete m_font;
    m_font = nullptr;
}

void CVorFont::Init(int size, const wchar_t* face, Gdiplus::FontStyle style) {
    Release();
    m_lastStatus = Gdiplus::Ok;
    long* uses = NewSharedCount();
    // The family comes from the installed fonts only: a face that is not installed is not
    // replaced by another one, so the font below fails and draws nothing. A size of no points
    // makes no font either (some GDI+ versions would make an invisible one): it is made from no
    // family, which GDI+ refuses, so the font object exists with its failure (InvalidParameter).
    Gdiplus::FontFamily* family = uses && size > 0 ? NewGdiplus<Gdiplus::FontFamily>(face) : nullptr;
    Gdiplus::Font* font = uses && (family || size <= 0)
                              ? NewGdiplus<Gdiplus::Font>(family, float(size), int(style), Gdiplus::UnitPoint)
                              : nullptr;
    if (family) {
        const Gdiplus::Status found = family->GetLastStatus();
        if (found != Gdiplus::Ok) m_lastStatus = found;
        delete family;
    }
    if (!font) {
        delete uses;
        m_lastStatus = Gdiplus::OutOfMemory;
        return;
    }
    // A font GDI+ could not make is kept all the same (it draws nothing); its failure is recorded.
    // (The GDI+ font keeps its status when it is read.)
    const Gdiplus::Status created = font->GetLastStatus();
    if (created != Gdiplus::Ok) m_lastStatus = created;
    m_font = font;
    m_uses = uses;
}

Gdiplus::Font* CVorFont::GetFont() const { return m_font; }

float CVorFont::GetSize() const {
    if (!m_font) return 0.0f;
    const float size = m_font->GetSize();
    // The GDI+ font keeps its status, so a font that never came to be reports its failure here.
    const Gdiplus::Status status = m_font->GetLastStatus();
    if (status != Gdiplus::Ok) m_lastStatus = status;
    return size;
}

Gdiplus::Status CVorFont::GetLastStatus() const { return m_lastStatus; }
