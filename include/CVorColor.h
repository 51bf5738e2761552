#pragma once
#include "VorFramework.h"

/// An opaque RGB colour, used by the surface's own pixel fill and by colour sprites.
class VORIMAGE4_API CVorColor {
public:
    CVorColor();  ///< Black.
    /// The colour (r, g, b).
    CVorColor(unsigned char r, unsigned char g, unsigned char b);
    ~CVorColor();                              ///< Nothing to release.
    CVorColor(const CVorColor& c) = default;   ///< Copies the colour.
    CVorColor& operator=(const CVorColor& c);  ///< Copies the colour.

    /// Sets the colour.
    void Init(unsigned char r, unsigned char g, unsigned char b);
    unsigned char GetR() const;  ///< Red.
    unsigned char GetG() const;  ///< Green.
    unsigned char GetB() const;  ///< Blue.

private:
    unsigned char m_r;
    unsigned char m_g;
    unsigned char m_b;
};
