// Placement of a sprite and the decision whether it must be drawn whole this frame.
// No Windows API here: the class builds natively too.
#include "CVorSpriteRect.h"

CVorSpriteRect::CVorSpriteRect() : m_oldRect(), m_newRect(), m_zang(1), m_qiangzhi(0), m_srcX(0), m_srcY(0) {}

CVorSpriteRect::~CVorSpriteRect() {}

CVorSpriteRect& CVorSpriteRect::operator=(const CVorSpriteRect& other) {
    m_oldRect = other.m_oldRect;
    m_newRect = other.m_newRect;
    m_zang = other.m_zang;
    m_qiangzhi = other.m_qiangzhi;
    m_srcX = other.m_srcX;
    m_srcY = other.m_srcY;
    return *this;
}

CVorRect* CVorSpriteRect::GetOldRect() { return &m_oldRect; }
CVorRect* CVorSpriteRect::GetNewRect() { return &m_newRect; }
int CVorSpriteRect::GetX() const { return m_newRect.X; }
int CVorSpriteRect::GetY() const { return m_newRect.Y; }
int CVorSpriteRect::GetWidth() const { return m_newRect.Width; }
int CVorSpriteRect::GetHeight() const { return m_newRect.Height; }
int CVorSpriteRect::GetSrcX() const { return m_srcX; }
int CVorSpriteRect::GetSrcY() const { return m_srcY; }

int CVorSpriteRect::IsZang() const { return m_zang; }
void CVorSpriteRect::SetZang(int zang) { m_zang = zang; }
int CVorSpriteRect::IsQiangzhiZang() const { return m_qiangzhi; }
void CVorSpriteRect::SetQiangzhiZang(int qiangzhi) { m_qiangzhi = qiangzhi; }

void CVorSpriteRect::SetNewRect(int x, int y, int width, int height, int srcX, int srcY) {
    m_zang = 0;
    if (x != m_newRect.X || y != m_newRect.Y || width != m_newRect.Width || height != m_newRect.Height) m_zang = 1;
    if (srcX != m_srcX || srcY != m_srcY) m_zang = 1;
    if (m_qiangzhi == 1) {
        m_zang = 1;
        m_qiangzhi = 0;
    }
    // Unchanged: the old rectangle keeps the place from before the last real change.
    if (m_zang == 1) {
        m_oldRect = m_newRect;
        m_srcX = srcX;
        m_srcY = srcY;
        m_newRect = CVorRect(x, y, width, height);
    }
}
