#include "CVorColor.h"

CVorColor::CVorColor() : m_r(0), m_g(0), m_b(0) {}
CVorColor::CVorColor(unsigned char r, unsigned char g, unsigned char b) : m_r(r), m_g(g), m_b(b) {}
CVorColor::~CVorColor() {}

CVorColor& CVorColor::operator=(const CVorColor& c) {
    m_r = c.m_r;
    m_g = c.m_g;
    m_b = c.m_b;
    return *this;
}

void CVorColor::Init(unsigned char r, unsigned char g, unsigned char b) {
    m_r = r;
    m_g = g;
    m_b = b;
}

unsigned char CVorColor::GetR() const { return m_r; }
unsigned char CVorColor::GetG() const { return m_g; }
unsigned char CVorColor::GetB() const { return m_b; }
