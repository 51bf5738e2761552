#pragma once
#include "VorFramework.h"

class CVorBitmap;

/// Owns one GDI+ brush: a hatch brush, or a texture brush made from a CVorBitmap.
///
/// Copies share the GDI+ brush; the last copy to be destroyed or re-initialised deletes it.
class VORIMAGE4_API CVorBrush {
public:
    CVorBrush();  ///< No brush yet.
    /// Same as Init(style, fore, back).
    CVorBrush(Gdiplus::HatchStyle style, const Gdiplus::Color& fore, const Gdiplus::Color& back);
    CVorBrush(const CVorBrush& other);             ///< Shares the other's GDI+ brush.
    CVorBrush& operator=(const CVorBrush& other);  ///< Lets go of this brush, then shares the other's.
    ~CVorBrush();                                  ///< Lets go of the brush (the last owner deletes it).

    /// Texture brush from the image's GDI+ bitmap (a memory image makes none). A picture whose load
    /// failed gives a texture brush GDI+ refused: kept, its failure on it and in GetLastStatus.
    void Init(CVorBitmap* image, Gdiplus::WrapMode wrap);
    /// Hatch brush with full ARGB foreground and background colours.
    void Init(Gdiplus::HatchStyle style, const Gdiplus::Color& fore, const Gdiplus::Color& back);

    /// The hatch brush, null unless the last Init made one.
    Gdiplus::HatchBrush* GetHatchBrush() const;
    /// The texture brush, null unless the last Init made one.
    Gdiplus::TextureBrush* GetTextureBrush() const;
    /// Status of the last failing GDI+ call since the last Init (Ok when none failed); a texture
    /// Init without a GDI+ bitmap gives InvalidParameter.
    Gdiplus::Status GetLastStatus() const;

private:
    void Release();

    Gdiplus::HatchBrush* m_hatch;
    Gdiplus::TextureBrush* m_texture;
    long* m_uses;  // shared by copies; the last one to let go deletes the GDI+ object
    Gdiplus::Status m_lastStatus;
};
