#pragma once
#include "VorFramework.h"

/// Owns one GDI+ font of an installed family, sized in points.
///
/// A family that is not installed gives no usable font; the failure is in GetLastStatus, and text
/// drawn with it draws nothing. Copies share the GDI+ font; the last copy to be destroyed or
/// re-initialised deletes it.
class VORIMAGE4_API CVorFont {
public:
    CVorFont();  ///< No font yet.
    /// Same as Init(size, face, style).
    CVorFont(int size, const wchar_t* face, Gdiplus::FontStyle style);
    CVorFont(const CVorFont& other);             ///< Shares the other's GDI+ font.
    CVorFont& operator=(const CVorFont& other);  ///< Lets go of this font, then shares the other's.
    ~CVorFont();                                 ///< Lets go of the font (the last owner deletes it).

    /// Replaces the font: family face (e.g. L"DejaVu Sans"), size in points, style. A family that is
    /// not installed, or a size of 0 points or less, leaves a GDI+ font that GDI+ refused: it draws
    /// nothing, and its own GetLastStatus() and this object's tell the failure (InvalidParameter
    /// for the size).
    void Init(int size, const wchar_t* face, Gdiplus::FontStyle style);
    /// The GDI+ font, null before Init (or when GDI+ could not allocate it).
    Gdiplus::Font* GetFont() const;
    /// Em size in points as GDI+ reports it; 0 when there is no font.
    float GetSize() const;
    /// Status of the last failing GDI+ call since the last Init (Ok when none failed).
    Gdiplus::Status GetLastStatus() const;

private:
    void Release();

    Gdiplus::Font* m_font;
    long* m_uses;  // shared by copies; the last one to let go deletes the GDI+ object
    mutable Gdiplus::Status m_lastStatus;
};
