// CVorFont - owns one GDI+ font of an installed family, sized in points.
// A family that is not installed gives no usable font; the failure is in GetLastStatus.
// Copies share the GDI+ font; the last copy to be destroyed or re-initialised deletes it.
#pragma once
#include "VorFramework.h"

class VORIMAGE4_API CVorFont {
public:
    CVorFont();
    CVorFont(int size, const wchar_t* face, Gdiplus::FontStyle style);
    CVorFont(const CVorFont& other);
    CVorFont& operator=(const CVorFont& other);
    ~CVorFont();

    // A size of 0 points or less makes no font (status InvalidParameter).
    void Init(int size, const wchar_t* face, Gdiplus::FontStyle style);
    Gdiplus::Font* GetFont() const;
    // Em size in points as GDI+ reports it; 0 when there is no font.
    float GetSize() const;
    // Status of the last failing GDI+ call since the last Init (Ok when none failed).
    Gdiplus::Status GetLastStatus() const;

private:
    void Release();

    Gdiplus::Font* m_font;
    long* m_uses;  // shared by copies; the last one to let go deletes the GDI+ object
    mutable Gdiplus::Status m_lastStatus;
};
