#include "CVorRect.h"

#include <cstdint>

namespace {
typedef int64_t i64;

// Closed containment of a point, in 64 bits so x + width never overflows.
inline bool Contains(i64 x, i64 y, i64 w, i64 h, i64 px, i64 py) {
    return x <= px && px <= x + w && y <= py && py <= y + h;
}
}  // namespace

CVorRect::CVorRect() : X(0), Y(0), Width(0), Height(0) {}
CVorRect::CVorRect(int x, int y, int width, int height) : X(x), Y(y), Width(width), Height(height) {}
CVorRect::~CVorRect() {}

CVorRect& CVorRect::operator=(const CVorRect& r) {
    X = r.X;
    Y = r.Y;
    Width = r.Width;
    Height = r.Height;
    return *this;
}

int CVorRect::operator==(const CVorRect& r) const {
    return X == r.X && Y == r.Y && Width == r.Width && Height == r.Height;
}

int CVorRect::operator!=(const CVorRect& r) const { return !(*this == r); }

int CVorRect::MyContains(int px, int py) const { return Contains(X, Y, Width, Height, px, py); }

int CVorRect::MyContains(const CVorRect& r) const {
    return i64(X) <= r.X && i64(r.X) + r.Width <= i64(X) + Width && i64(Y) <= r.Y &&
           i64(r.Y) + r.Height <= i64(Y) + Height;
}

int CVorRect::Superpose(const CVorRect& r) const {
    return i64(X) <= r.X && i64(r.X) + r.Width <= i64(X) + Width && i64(r.Y) <= Y &&
           i64(Y) + Height <= i64(r.Y) + r.Height;
}

// The test sequence below defines the result for every input, negative sizes included; for
// sizes of 0 or more it is exactly "the closed rectangles share a point".
int CVorRect::CheckSuperpose(const CVorRect& r) const {
    const i64 x = X, y = Y, w = Width, h = Height;
    const i64 rx = r.X, ry = r.Y, rw = r.Width, rh = r.Height;
    // 1. a corner of r in this rectangle: top-left, bottom-right, bottom-left, top-right
    if (Contains(x, y, w, h, rx, ry) || Contains(x, y, w, h, rx + rw, ry + rh) || Contains(x, y, w, h, rx, ry + rh) ||
        Contains(x, y, w, h, rx + rw, ry))
        return 1;
    // 2. an edge of this rectangle in r: left, top, bottom, right
    auto inR = [&](i64 px, i64 py) { return Contains(rx, ry, rw, rh, px, py); };
    if ((inR(x, y) && inR(x, y + h)) || (inR(x, y) && inR(x + w, y)) || (inR(x, y + h) && inR(x + w, y + h)) ||
        (inR(x + w, y) && inR(x + w, y + h)))
        return 1;
    // 3. the two cross configurations
    if (Superpose(r) || r.Superpose(*this)) return 1;
    // 4. containment either way
    if (MyContains(r) || r.MyContains(*this)) return 1;
    return 0;
}

// Cases tried in order; for sizes of 0 or more this is the intersection relative to r.
CVorRect CVorRect::GetSuperpose(const CVorRect& r) const {
    const i64 x = X, y = Y, w = Width, h = Height;
    const i64 rx = r.X, ry = r.Y, rw = r.Width, rh = r.Height;
    auto make = [](i64 a, i64 b, i64 c, i64 d) { return CVorRect(int(a), int(b), int(c), int(d)); };
    auto inA = [&](i64 px, i64 py) { return Contains(x, y, w, h, px, py); };
    auto inR = [&](i64 px, i64 py) { return Contains(rx, ry, rw, rh, px, py); };

    if (MyContains(r)) return make(0, 0, rw, rh);
    if (r.MyContains(*this)) return make(x - rx, y - ry, w, h);
    if (Superpose(r)) return make(0, y - ry, rw, h);
    if (r.Superpose(*this)) return make(x - rx, 0, w, rh);
    if (inR(x, y) && inR(x + w, y)) return make(x - rx, y - ry, w, ry + rh - y);             // r holds A's top edge
    if (inR(x, y) && inR(x, y + h)) return make(x - rx, y - ry, rx + rw - x, h);             // A's left edge
    if (inR(x, y + h) && inR(x + w, y + h)) return make(x - rx, 0, w, y + h - ry);           // A's bottom edge
    if (inR(x + w, y) && inR(x + w, y + h)) return make(0, y - ry, x + w - rx, h);           // A's right edge
    if (inA(rx, ry) && inA(rx + rw, ry)) return make(0, 0, rw, y + h - ry);                  // A holds r's top edge
    if (inA(rx, ry) && inA(rx, ry + rh)) return make(0, 0, x + w - rx, rh);                  // r's left edge
    if (inA(rx, ry + rh) && inA(rx + rw, ry + rh)) return make(0, y - ry, rw, ry + rh - y);  // r's bottom edge
    if (inA(rx + rw, ry) && inA(rx + rw, ry + rh)) return make(x - rx, 0, rx + rw - x, rh);  // r's right edge
    if (inA(rx, ry)) return make(0, 0, x + w - rx, y + h - ry);                              // r's top-left corner
    if (inA(rx + rw, ry + rh)) return make(x - rx, y - ry, rx + rw - x, ry + rh - y);        // bottom-right
    if (inA(rx, ry + rh)) return make(0, y - ry, x + w - rx, ry + rh - y);                   // bottom-left
    if (inA(rx + rw, ry)) return make(x - rx, 0, rx + rw - x, y + h - ry);                   // top-right
    return CVorRect();
}
