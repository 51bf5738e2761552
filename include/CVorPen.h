#pragma once
#include "VorFramework.h"

/// Owns one GDI+ pen: an opaque colour, a width in world units and a dash style.
///
/// GDI+ must be started (CVorGraphics::GdiInit) before Init. Copies share the GDI+ pen; the last
/// copy to be destroyed or re-initialised deletes it.
class VORIMAGE4_API CVorPen {
public:
    CVorPen();  ///< No pen yet (GetPen is null).
    /// Same as Init(r, g, b, width, style).
    CVorPen(int r, int g, int b, float width, Gdiplus::DashStyle style);
    CVorPen(const CVorPen& other);             ///< Shares the other's GDI+ pen.
    CVorPen& operator=(const CVorPen& other);  ///< Lets go of this pen, then shares the other's.
    ~CVorPen();                                ///< Lets go of the pen (the last owner deletes it).

    /// Replaces the pen. Only the low 8 bits of r, g, b count.
    void Init(int r, int g, int b, float width, Gdiplus::DashStyle style);
    /// The GDI+ pen, null before Init (or when GDI+ could not allocate it). A pen GDI+ refused (a
    /// dash style it does not know, say) is kept: its own GetLastStatus() tells the failure.
    Gdiplus::Pen* GetPen() const;
    /// Status of the last failing GDI+ call made for this pen since its last Init (Ok when none failed).
    Gdiplus::Status GetLastStatus() const;

private:
    void Release();

    Gdiplus::Pen* m_pen;
    long* m_uses;  // shared by copies; the last one to let go deletes the GDI+ object
    Gdiplus::Status m_lastStatus;
};
