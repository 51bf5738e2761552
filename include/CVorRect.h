#pragma once
#include "VorFramework.h"

/// An integer rectangle (x, y, width, height), laid out like Gdiplus::Rect.
///
/// Overlap and containment tests treat rectangles as closed: the far edges x + width and
/// y + height belong to the rectangle. Sums are formed in 64 bits, so no value overflows.
class VORIMAGE4_API CVorRect {
public:
    int X;       ///< left edge
    int Y;       ///< top edge
    int Width;   ///< width (the far edge X + Width is inside)
    int Height;  ///< height (the far edge Y + Height is inside)

    /// The empty rectangle (0, 0, 0, 0).
    CVorRect();
    /// A rectangle from its corner and size.
    CVorRect(int x, int y, int width, int height);
    ~CVorRect();                             ///< Nothing to release.
    CVorRect(const CVorRect& r) = default;   ///< Copies the four values.
    CVorRect& operator=(const CVorRect& r);  ///< Copies the four values.

    /// 1 when all four values are equal.
    int operator==(const CVorRect& r) const;
    /// 1 when any of the four values differs.
    int operator!=(const CVorRect& r) const;

    /// 1 when x <= px <= x + width and y <= py <= y + height.
    int MyContains(int px, int py) const;
    /// 1 when r lies wholly inside this rectangle (equal rectangles included).
    int MyContains(const CVorRect& r) const;
    /// 1 for the cross: this spans r horizontally while r spans this vertically.
    int Superpose(const CVorRect& r) const;
    /// 1 when the two closed rectangles share at least one point.
    int CheckSuperpose(const CVorRect& r) const;
    /// The common part of the two closed rectangles, relative to r's top-left corner;
    /// (0, 0, 0, 0) when they share no point.
    CVorRect GetSuperpose(const CVorRect& r) const;

#if defined(_WIN32)
    /// From a GDI+ rectangle.
    CVorRect(const Gdiplus::Rect& r) : X(r.X), Y(r.Y), Width(r.Width), Height(r.Height) {}
    /// To a GDI+ rectangle.
    operator Gdiplus::Rect() const { return Gdiplus::Rect(X, Y, Width, Height); }
    /// MyContains for a GDI+ rectangle.
    int MyContains(const Gdiplus::Rect& r) const { return MyContains(CVorRect(r)); }
    /// Superpose for a GDI+ rectangle.
    int Superpose(const Gdiplus::Rect& r) const { return Superpose(CVorRect(r)); }
#endif
};
