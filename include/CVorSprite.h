// CVorSprite - one scene item of one of six kinds: text, pen, brush, colour, TGA or bitmap.
// The sprite points to images and resources owned by the host and never frees them; it owns
// only its text brush and text buffers.
#pragma once
#include <string>
#include "CVorSpriteRect.h"

class CVorTga;
class CVorBitmap;
class CVorPen;
class CVorBrush;
class CVorColor;
class CVorFont;

class VORIMAGE4_API CVorSprite : public CVorSpriteRect {
public:
    typedef void (*AnimationProc)(CVorSprite*);
    enum { kMaxTextUnits = 1023 };  // UTF-16 units of text the sprite holds (longer text is cut)

    CVorSprite();
    CVorSprite(const CVorSprite& other);
    CVorSprite& operator=(const CVorSprite& other);
    ~CVorSprite();

    void Init(CVorTga* tga);
    // An animated bitmap (frame count > 0) gets the frame stepper as its animation procedure.
    void Init(CVorBitmap* bitmap);
    // A non-null proc becomes the animation procedure; null keeps the current one.
    void Init(CVorBitmap* bitmap, AnimationProc proc);
    void Init(CVorPen* pen, int box);
    void Init(CVorColor* colour);
    void Init(CVorBrush* brush);
    // Same font and same text as now: nothing changes (colour and alignment are ignored).
    void Init(CVorFont* font, const char* text, const Gdiplus::Color& colour, Gdiplus::StringAlignment alignment);

    // Width or height 0 takes the image's (or the text's estimated) size. Pen, brush and colour
    // sprites store (x, y, width, height) as their shape and cover one more pixel each way.
    void SetRect(int x, int y, int width, int height, int srcX, int srcY, unsigned char alpha);
    void SetRect(int x, int y, unsigned char alpha);

    CVorTga* GetTga() const;
    CVorBitmap* GetBitmap() const;
    CVorPen* GetPen() const;
    int GetBox() const;
    int GetPenX() const;
    int GetPenY() const;
    int GetPenWidth() const;
    int GetPenHeight() const;
    CVorBrush* GetBrush() const;
    CVorColor* GetColor() const;
    CVorFont* GetFont() const;
    Gdiplus::SolidBrush* GetSolidBrush() const;
    Gdiplus::StringAlignment GetStringAlignment() const;
    unsigned char GetAlpha() const;
    int GetUpdate() const;
    void SetUpdate(int update);
    int GetSort() const;
    void SetSort(int sort);
    AnimationProc GetpfnAnmaionProc() const;
    wchar_t* GetString();
    wchar_t* GetStringW();
    const char* GetStringA() const;
    int GetFrameIndex() const;
    DWORD GetFrameTick() const;

    // The frame stepper installed for animated bitmaps (advances after 10 * delay ms).
    static void StepFrame(CVorSprite* sprite);
    // Same, with the clock given (for tests and hosts with their own clock).
    void StepFrameAt(DWORD now);

private:
    void ClearKind();
    void DeleteTextBrush();

    CVorTga* m_tga;
    CVorBitmap* m_bitmap;
    CVorPen* m_pen;
    int m_box;
    int m_penX;
    int m_penY;
    int m_penWidth;
    int m_penHeight;
    CVorBrush* m_brush;
    CVorColor* m_color;
    CVorFont* m_font;
    wchar_t m_text[kMaxTextUnits + 1];
    std::string m_textA;
    Gdiplus::SolidBrush* m_textBrush;
    Gdiplus::StringAlignment m_alignment;
    unsigned char m_alpha;
    int m_update;
    int m_sort;
    AnimationProc m_animation;
    int m_frameIndex;
    DWORD m_frameTick;
};
