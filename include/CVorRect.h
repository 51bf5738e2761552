// CVorRect - integer rectangle (x, y, width, height), laid out like Gdiplus::Rect.
// Overlap and containment tests treat rectangles as closed: the far edges x + width and
// y + height belong to the rectangle. Sums are formed in 64 bits, so no value overflows.
#pragma once
#include "VorFramework.h"

class VORIMAGE4_API CVorRect {
public:
    int X;
    int Y;
    int Width;
    int Height;

    CVorRect();
    CVorRect(int x, int y, int width, int height);
    ~CVorRect();
    CVorRect(const CVorRect& r) = default;
    CVorRect& operator=(const CVorRect& r);

    int operator==(const CVorRect& r) const;
    int operator!=(const CVorRect& r) const;

    // 1 when x <= px <= x + width and y <= py <= y + height.
    int MyContains(int px, int py) const;
    // 1 when r lies wholly inside this rectangle (equal rectangles included).
    int MyContains(const CVorRect& r) const;
    // 1 for the cross: this spans r horizontally while r spans this vertically.
    int Superpose(const CVorRect& r) const;
    // 1 when the two closed rectangles share at least one point.
    int CheckSuperpose(const CVorRect& r) const;
    // The common part of the two closed rectangles, relative to r's top-left corner;
    // (0, 0, 0, 0) when they share no point.
    CVorRect GetSuperpose(const CVorRect& r) const;

#if defined(_WIN32)
    CVorRect(const Gdiplus::Rect& r) : X(r.X), Y(r.Y), Width(r.Width), Height(r.Height) {}
    operator Gdiplus::Rect() const { return Gdiplus::Rect(X, Y, Width, Height); }
    int MyContains(const Gdiplus::Rect& r) const { return MyContains(CVorRect(r)); }
    int Superpose(const Gdiplus::Rect& r) const { return Superpose(CVorRect(r)); }
#endif
};
