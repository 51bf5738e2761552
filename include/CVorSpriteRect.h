#pragma once
#include "CVorRect.h"

/// Where a sprite stands: the new rectangle (now), the old rectangle (before its last change),
/// the source offset into its image, and the dirty (zang) and forced-dirty (qiangzhi) flags.
class VORIMAGE4_API CVorSpriteRect {
public:
    CVorSpriteRect();                                        ///< Empty rectangles, offset (0, 0), dirty.
    ~CVorSpriteRect();                                       ///< Nothing to release.
    CVorSpriteRect(const CVorSpriteRect& other) = default;   ///< Copies placement and flags.
    CVorSpriteRect& operator=(const CVorSpriteRect& other);  ///< Copies placement and flags.

    /// Where the sprite stood before its last change.
    CVorRect* GetOldRect();
    /// Where the sprite stands now.
    CVorRect* GetNewRect();
    /// @{
    /// The new rectangle's position and size.
    int GetX() const;
    int GetY() const;
    int GetWidth() const;
    int GetHeight() const;
    /// @}
    /// @{
    /// Offset of the drawn part in the sprite's image.
    int GetSrcX() const;
    int GetSrcY() const;
    /// @}

    /// 1 when the sprite must be drawn whole this frame.
    int IsZang() const;
    /// Sets or clears the dirty flag.
    void SetZang(int zang);
    /// 1 when the sprite becomes dirty at its next placement whatever it is.
    int IsQiangzhiZang() const;
    /// Sets or clears the forced-dirty flag.
    void SetQiangzhiZang(int qiangzhi);

    /// Places the sprite; it becomes dirty when the placement or source offset changed, or when
    /// the forced flag was set (which it then clears).
    void SetNewRect(int x, int y, int width, int height, int srcX, int srcY);

protected:
    CVorRect m_oldRect;  ///< where the sprite stood before its last change
    CVorRect m_newRect;  ///< where the sprite stands now
    int m_zang;          ///< dirty: draw whole this frame
    int m_qiangzhi;      ///< forced: dirty at the next placement
    int m_srcX;          ///< source offset, x
    int m_srcY;          ///< source offset, y
};
