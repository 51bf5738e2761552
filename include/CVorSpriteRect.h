// CVorSpriteRect - where a sprite stands: the new rectangle (now), the old rectangle (before its
// last change), the source offset into its image, and the dirty (zang) and forced (qiangzhi) flags.
#pragma once
#include "CVorRect.h"

class VORIMAGE4_API CVorSpriteRect {
public:
    CVorSpriteRect();
    ~CVorSpriteRect();
    CVorSpriteRect(const CVorSpriteRect& other) = default;
    CVorSpriteRect& operator=(const CVorSpriteRect& other);

    CVorRect* GetOldRect();
    CVorRect* GetNewRect();
    int GetX() const;
    int GetY() const;
    int GetWidth() const;
    int GetHeight() const;
    int GetSrcX() const;
    int GetSrcY() const;

    int IsZang() const;
    void SetZang(int zang);
    int IsQiangzhiZang() const;
    void SetQiangzhiZang(int qiangzhi);

    // Places the sprite; it becomes dirty when the placement or source offset changed, or when
    // the forced flag was set (which it then clears).
    void SetNewRect(int x, int y, int width, int height, int srcX, int srcY);

protected:
    CVorRect m_oldRect;
    CVorRect m_newRect;
    int m_zang;
    int m_qiangzhi;
    int m_srcX;
    int m_srcY;
};
