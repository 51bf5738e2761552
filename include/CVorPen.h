// CVorPen - owns one GDI+ pen (opaque colour, width in world units, dash style).
// GDI+ must be started (CVorGraphics::GdiInit) before Init.
// Copies share the GDI+ pen; the last copy to be destroyed or re-initialised deletes it.
#pragma once
#include "VorFramework.h"

class VORIMAGE4_API CVorPen {
public:
    CVorPen();
    CVorPen(int r, int g, int b, float width, Gdiplus::DashStyle style);
    CVorPen(const CVorPen& other);
    CVorPen& operator=(const CVorPen& other);
    ~CVorPen();

    // Replaces the pen. Only the low 8 bits of r, g, b count.
    void Init(int r, int g, int b, float width, Gdiplus::DashStyle style);
    Gdiplus::Pen* GetPen() const;
    // Status of the last failing GDI+ call made for this pen since its last Init (Ok when none failed).
    Gdiplus::Status GetLastStatus() const;

private:
    void Release();

    Gdiplus::Pen* m_pen;
    long* m_uses;  // shared by copies; the last one to let go deletes the GDI+ object
    Gdiplus::Status m_lastStatus;
};
