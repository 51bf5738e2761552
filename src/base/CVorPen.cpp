#include "CVorPen.h"

#include "base/GdiplusNew.h"
#include "base/SharedCount.h"

CVorPen::CVorPen() : m_pen(nullptr), m_uses(nullptr), m_lastStatus(Gdiplus::Ok) {}

CVorPen::CVorPen(int r, int g, int b, float width, Gdiplus::DashStyle style) : CVorPen() {
    Init(r, g, b, width, style);
}

// A copy shares the pen; the use count keeps it alive until the last copy lets go.
CVorPen::CVorPen(const CVorPen& other) : m_pen(other.m_pen), m_uses(other.m_uses), m_lastStatus(other.m_lastStatus) {
    AddSharedUse(m_uses);
}

CVorPen& CVorPen::operator=(const CVorPen& other) {
    if (this == &other) return *this;
    AddSharedUse(other.m_uses);
    Release();
    m_pen = other.m_pen;
    m_uses = other.m_uses;
    m_lastStatus = other.m_lastStatus;
    return *this;
}

CVorPen::~CVorPen() { Release(); }

void CVorPen::Release() {
    if (DropSharedUse(m_uses)) delete m_pen;
    m_pen = nullptr;
}

void CVorPen::Init(int r, int g, int b, float width, Gdiplus::DashStyle style) {
    Release();
    m_lastStatus = Gdiplus::Ok;
    long* uses = NewSharedCount();
    // Only the low byte of each component counts; the pen is always opaque.
    const Gdiplus::Color colour(255, BYTE(r & 0xFF), BYTE(g & 0xFF), BYTE(b & 0xFF));
    Gdiplus::Pen* pen = uses ? NewGdiplus<Gdiplus::Pen>(colour, width) : nullptr;
    if (!pen) {
        delete uses;
        m_lastStatus = Gdiplus::OutOfMemory;
        return;
    }
    // A pen GDI+ could not make is kept all the same (it draws nothing); its failure is recorded
    // here and stays readable on the GDI+ pen, whose GetLastStatus is not read (reading clears it).
    // Setting the dash style fails on a pen that was not made, so its result tells both.
    const Gdiplus::Status dashed = pen->SetDashStyle(style);
    if (dashed != Gdiplus::Ok) m_lastStatus = dashed;
    m_pen = pen;
    m_uses = uses;
}

Gdiplus::Pen* CVorPen::GetPen() const { return m_pen; }
Gdiplus::Status CVorPen::GetLastStatus() const { return m_lastStatus; }
