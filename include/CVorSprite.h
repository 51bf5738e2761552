#pragma once
#include <string>
#include "CVorSpriteRect.h"

class CVorTga;
class CVorBitmap;
class CVorPen;
class CVorBrush;
class CVorColor;
class CVorFont;

/// One scene item of one of six kinds: text, pen, brush, colour, TGA or bitmap.
///
/// The kind is chosen by the last Init overload called. The sprite points to images and
/// resources owned by the host and never frees them; it owns only its text brush and text
/// buffers. Hand it to CVorGraphics::AddSprite every frame it is to be shown.
class VORIMAGE4_API CVorSprite : public CVorSpriteRect {
public:
    /// An animation procedure, called by CVorGraphics::UpDataAnimation once a frame.
    typedef void (*AnimationProc)(CVorSprite*);
    /// UTF-16 units of text the sprite holds (longer text is cut).
    enum { kMaxTextUnits = 1023 };

    CVorSprite();                                    ///< A sprite of no kind (draws nothing).
    CVorSprite(const CVorSprite& other);             ///< Copies kind, placement and text; the text brush is cloned.
    CVorSprite& operator=(const CVorSprite& other);  ///< Same as the copy constructor.
    ~CVorSprite();                                   ///< Frees the text brush.

    /// A TGA picture sprite.
    void Init(CVorTga* tga);
    /// A bitmap sprite. An animated bitmap (frame count > 0) gets the frame stepper as its animation procedure.
    void Init(CVorBitmap* bitmap);
    /// A bitmap sprite; a non-null proc becomes the animation procedure; null keeps the current one.
    void Init(CVorBitmap* bitmap, AnimationProc proc);
    /// A pen sprite: a rectangle frame when box is non-zero, else a line from corner to corner.
    void Init(CVorPen* pen, int box);
    /// A solid colour fill.
    void Init(CVorColor* colour);
    /// A brush fill.
    void Init(CVorBrush* brush);
    /// A line of text (ANSI code page) in colour, aligned in the sprite's rectangle.
    /// Same font and same text as now: nothing changes (colour and alignment are ignored).
    void Init(CVorFont* font, const char* text, const Gdiplus::Color& colour, Gdiplus::StringAlignment alignment);

    /// Places the sprite with a size, a source offset and an opacity. Width or height 0 takes the
    /// image's (or the text's estimated) size. Pen, brush and colour sprites store
    /// (x, y, width, height) as their shape and cover one more pixel each way.
    void SetRect(int x, int y, int width, int height, int srcX, int srcY, unsigned char alpha);
    /// Places the sprite at (x, y) at its image's size.
    void SetRect(int x, int y, unsigned char alpha);

    /// @{
    /// What the sprite draws (null / 0 for other kinds).

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
    /// @}
    /// Opacity the sprite is drawn with (255 opaque).
    unsigned char GetAlpha() const;
    /// 1 while the sprite is listed in the current frame.
    int GetUpdate() const;
    /// Marks the sprite listed (1) or not (0).
    void SetUpdate(int update);
    /// Order number in the frame (back to front).
    int GetSort() const;
    /// Sets the order number.
    void SetSort(int sort);
    /// The animation procedure, null when none.
    AnimationProc GetpfnAnmaionProc() const;
    /// @{
    /// The text as UTF-16 (both names return the same buffer).
    wchar_t* GetString();
    wchar_t* GetStringW();
    /// @}
    /// The text as given to Init.
    const char* GetStringA() const;
    /// Current frame of an animated bitmap.
    int GetFrameIndex() const;
    /// Tick count when the current frame was shown.
    DWORD GetFrameTick() const;

    /// The frame stepper installed for animated bitmaps (advances after 10 * delay ms).
    static void StepFrame(CVorSprite* sprite);
    /// Same, with the clock given (for tests and hosts with their own clock).
    void StepFrameAt(DWORD now);

private:
    void ClearKind();
    void ResetForShape();
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
