#pragma once
#include <unordered_set>
#include <vector>
#include "VorFramework.h"
#include "CVorZang.h"

class CVorTga;
class CVorBitmap;
class CVorBrush;
class CVorPen;
class CVorFont;
class CVorSprite;
class CVorButton;
struct VorBackBufferShare;
struct VorDeviceShare;
struct VorGraphicsShare;

/// Instruction sets of the pixel writers (CVorGraphics::SetBlitLevel).
enum VorBlitLevel {
    VOR_BLIT_SCALAR = 0,  ///< plain C++, the reference
    VOR_BLIT_SSE2 = 1,    ///< SSE2
    VOR_BLIT_SSSE3 = 2,   ///< SSSE3 (byte shuffles for the 3- and 4-byte pixels)
    VOR_BLIT_AVX2 = 3     ///< AVX2
};

/// The render surface: a 24-bit top-down back buffer (DIB section), a memory DC holding it, a GDI+
/// graphics object drawing on it, a background copy, the sprite list and the dirty-rectangle list
/// that drive presentation.
///
/// Back buffer layout: pixel (x, y) is the three bytes blue, green, red at
/// GetPixels() + y * GetStride() + 3 * x; the stride is 3 * width rounded up to a multiple of 4.
/// Every drawing call clips to the back buffer on all sides, whatever its position and size, and
/// draws nothing for a null picture or resource, an empty picture or a surface without pixels.
///
/// Copies share the back buffer, memory DC and graphics object; the last surface that lets go of
/// them releases them.
class VORIMAGE4_API CVorGraphics {
public:
    CVorGraphics();  ///< A surface with no pixels yet.
    /// A surface whose GDI+ drawing goes to hdc (as InitGraphics(hdc)).
    CVorGraphics(HDC hdc);
    CVorGraphics(const CVorGraphics& other);             ///< Shares the other's back buffer, DC and graphics object.
    CVorGraphics& operator=(const CVorGraphics& other);  ///< Lets go of this surface's, then shares the other's.
    ~CVorGraphics();                                     ///< Lets go of everything (the last owner releases it).

    /// @name Life cycle and presentation
    /// @{
    /// Starts GDI+ (version 1) for the process; call once before any GDI+ object is made.
    void GdiInit();
    /// (Re)creates the back buffer and background copy. False only when the header cannot be
    /// allocated; true otherwise, also for sizes that are negative or too large (the surface then
    /// has no pixels and draws nothing) and when the DIB section cannot be made.
    bool Init(int width, int height);
    /// GDI+ drawing goes straight to hdc; the back buffer and memory DC are kept.
    void InitGraphics(HDC hdc);
    /// Makes a memory DC compatible with dc holding the back buffer, and a graphics object on it;
    /// DrawDC presents to dc.
    void InitGraphics(CPaintDC* dc);
    /// Drops the graphics object and memory DC (back buffer, target and background stay).
    void DeleteGraphics();
    /// Puts on the target DC what copying, for every dirty rectangle, the block from the origin to
    /// its far corner would put there, copying each window pixel at most once (the union of the
    /// blocks, as disjoint bands).
    void DrawDC();
    /// Pixels the last DrawDC copied to the target DC (0 when it had nothing to present).
    long long GetLastPresentedPixels() const;
    /// Exact presentation, off (0) by default: when on, DrawDC copies only the dirty rectangles
    /// themselves (cut to the back buffer; they never meet, so each window pixel once) instead of
    /// the blocks from the origin. For a host that draws nothing else on the window, whose pixels
    /// outside the dirty rectangles are then already those of the back buffer: it sees the same
    /// window either way, for fewer copied pixels. Copies of the surface take the setting along.
    void SetExactPresent(int exact);
    /// 1 when DrawDC presents the dirty rectangles only, 0 for the blocks from the origin.
    int GetExactPresent() const;
    /// @}

    /// @name Accessors
    /// @{
    Gdiplus::Graphics* GetGraphics() const;  ///< The GDI+ graphics object, null before InitGraphics.
    HBITMAP GetBitmap() const;               ///< The back buffer's DIB section.
    CDC* GetMemDC() const;                   ///< The memory DC holding the back buffer.
    CPaintDC* GetTargetDC() const;           ///< The DC DrawDC presents to.
    unsigned long GetWidth() const;          ///< Back buffer width in pixels.
    unsigned long GetHeight() const;         ///< Back buffer height in pixels.
    /// Direct access to the back buffer (null when the surface has no pixels).
    BYTE* GetPixels() const;
    int GetStride() const;              ///< Bytes from one row to the next.
    int GetBitsPerPixel() const;        ///< 24.
    BITMAPINFO* GetBitmapInfo() const;  ///< The back buffer's header.
    /// The background copy (same layout as the back buffer), null before Init.
    BYTE* GetBackCopy() const;
    CVorZang& GetZang() { return m_zang; }              ///< The dirty-rectangle list.
    const CVorZang& GetZang() const { return m_zang; }  ///< The dirty-rectangle list.
    /// @}

    /// @name Pixel writers: TGA alpha, bitmap copy and blend, colour fill, background copy
    /// One instruction set for the whole process (a VorBlitLevel). At start it is the best one the
    /// CPU runs, unless the environment variable VORIMAGE4_SIMD=scalar|sse2|ssse3|avx2 names another.
    /// Every level writes the same bytes; scalar is the reference.
    /// @{
    /// Forces a level; false, and nothing changes, for a level this CPU cannot run.
    static bool SetBlitLevel(int level);
    static int GetBlitLevel();      ///< The level in use.
    static int GetBestBlitLevel();  ///< The best level this CPU runs.
    /// @}

    /// @name TGA pictures: per-pixel alpha, blend rule d + (s - d) * a / 256 (a = 255 copies, 0 skips)
    /// @{
    /// The whole picture at (x, y).
    void Draw(CVorTga* tga, int x, int y);
    /// The source rectangle (srcX, srcY, width, height) of the picture at (x, y).
    void Draw(CVorTga* tga, int x, int y, int srcX, int srcY, int width, int height);
    /// The same with a global opacity alpha applied on top of each pixel's own.
    void Draw(CVorTga* tga, int x, int y, int srcX, int srcY, int width, int height, unsigned char alpha);
    /// @}

    /// @name Bitmaps: memory, locked, GDI+ and zoom paths
    /// @{
    /// The whole bitmap, opaque except for the colour key.
    void Draw(CVorBitmap* bitmap, int x, int y);
    /// The same operation as Draw(bitmap, x, y) under a second name.
    void DrawImage(CVorBitmap* bitmap, int x, int y);
    /// The whole bitmap blended with one opacity.
    void Draw(CVorBitmap* bitmap, int x, int y, unsigned char alpha);
    /// A source rectangle, opaque except for the colour key; stretched when the bitmap is a zoomed
    /// memory image.
    void Draw(CVorBitmap* bitmap, int x, int y, int srcX, int srcY, int width, int height);
    /// A source rectangle blended with one opacity.
    void Draw(CVorBitmap* bitmap, int x, int y, int srcX, int srcY, int width, int height, unsigned char alpha);
    /// The whole GDI+ bitmap scaled into the rectangle.
    void DrawImage(CVorBitmap* bitmap, int x, int y, int width, int height);
    /// The same with a Gdiplus::Rect.
    void DrawImage(CVorBitmap* bitmap, const Gdiplus::Rect& dest);
    /// A source rectangle of the GDI+ bitmap scaled into dest, through the bitmap's image attributes.
    void DrawImage(CVorBitmap* bitmap, const Gdiplus::RectF& dest, const Gdiplus::RectF& src);
    /// @}

    /// @name Shapes and text
    /// @{
    /// Opaque colour fill written straight into the back buffer (half-open rectangle).
    void FillRectangle(int x, int y, int width, int height, unsigned char r, unsigned char g, unsigned char b);
    /// Brush fill through GDI+.
    void FillRectangle(CVorBrush* brush, int x, int y, int width, int height);
    /// A line through GDI+.
    void DrawLine(CVorPen* pen, int x1, int y1, int x2, int y2);
    /// A rectangle frame through GDI+.
    void DrawRectangle(CVorPen* pen, int x, int y, int width, int height);
    /// Text from (x, y) through GDI+.
    void Draw(const wchar_t* text, int x, int y, CVorFont* font, Gdiplus::SolidBrush* brush);
    /// Text aligned horizontally in the layout rectangle (x, y, width, height).
    void Draw(const wchar_t* text, int x, int y, int width, int height, CVorFont* font, Gdiplus::SolidBrush* brush,
              Gdiplus::StringAlignment align);
    /// Sets the current font (the surface only points to it).
    void SetNowFont(CVorFont* font);
    /// The current font.
    CVorFont* GetNowFont() const;
    /// @}

    /// @name Background copy
    /// @{
    /// Puts the picture upright into the top-left of the background copy (clipped).
    void SetBackBitmap(CVorBitmap* image);
    /// Copies the whole background copy into the back buffer.
    void DrawBack();
    /// @}

    /// @name Sprite list and frame composition
    /// @{
    /// Starts a frame: a sprite not added again before DrawSprite is dropped from the list.
    void InitSprite();
    /// Runs every listed sprite's animation procedure (animated bitmaps step their frames).
    void UpDataAnimation();
    /// Lists the sprite at its current place, after the ones added before it in this frame.
    void AddSprite(CVorSprite* sprite);
    /// Places the sprite (CVorSprite::SetRect), then lists it.
    void AddSprite(CVorSprite* sprite, int x, int y, int width, int height, int srcX, int srcY, unsigned char alpha);
    /// Places the sprite at (x, y) at its image's size, then lists it.
    void AddSprite(CVorSprite* sprite, int x, int y, unsigned char alpha);
    /// Makes the sprite a text sprite in the current font, places it, then lists it.
    void AddSprite(CVorSprite* sprite, int x, int y, int width, int height, const char* text,
                   const Gdiplus::Color& colour, Gdiplus::StringAlignment alignment);
    /// The same with a shadow sprite one pixel down and right, listed first.
    void AddSprite(CVorSprite* sprite, CVorSprite* shadow, int x, int y, int width, int height, const char* text,
                   const Gdiplus::Color& colour, const Gdiplus::Color& shadowColour,
                   Gdiplus::StringAlignment alignment);
    /// Lists the button's current face.
    void AddSprite(CVorButton* button);
    /// Empties the sprite list.
    void ClearSprite();
    /// Drops unlisted sprites, draws changed sprites whole and unchanged ones inside the dirty
    /// rectangles, back to front; presents with DrawDC when present is true.
    void DrawSprite(bool present);
    /// The listed sprites in drawing order.
    const std::vector<CVorSprite*>& GetSpriteList() const { return m_sprites; }
    /// @}

private:
    void ReleaseBackBuffer();
    void ReleaseDevice();
    void ReleaseGraphics();

    ULONG_PTR m_gdiplusToken;
    VorBackBufferShare* m_buffer;  // DIB section, its header and the background copy (counted)
    VorDeviceShare* m_device;      // memory DC with the back buffer selected (counted)
    VorGraphicsShare* m_graphics;  // GDI+ graphics object (counted)
    CPaintDC* m_targetDC;
    int m_stride;
    int m_width;
    int m_height;
    int m_bitsPerPixel;
    std::vector<CVorSprite*> m_sprites;
    std::unordered_set<CVorSprite*> m_listed;  // the sprites in m_sprites, for AddSprite's membership test
    CVorZang m_zang;
    int m_spriteOrder;
    CVorFont* m_nowFont;
    long long m_lastPresented;             // pixels the last DrawDC copied
    int m_exactPresent;                    // DrawDC copies the dirty rectangles only
    std::vector<CVorRect> m_presentBands;  // DrawDC's bands, storage kept between frames
};
