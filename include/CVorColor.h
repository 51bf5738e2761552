// CVorColor - an opaque RGB colour, used by the surface's own pixel fill and colour sprites.
#pragma once
#include "VorFramework.h"

class VORIMAGE4_API CVorColor {
public:
    CVorColor();
    CVorColor(unsigned char r, unsigned char g, unsigned char b);
    ~CVorColor();
    CVorColor(const CVorColor& c) = default;
    CVorColor& operator=(const CVorColor& c);

    void Init(unsigned char r, unsigned char g, unsigned char b);
    unsigned char GetR() const;
    unsigned char GetG() const;
    unsigned char GetB() const;

private:
    unsigned char m_r;
    unsigned char m_g;
    unsigned char m_b;
};
