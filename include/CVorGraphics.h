// CVorGraphics - the render surface: a 24-bit top-down back buffer (DIB section), a memory DC
// holding it, a GDI+ graphics object drawing on it, a background copy, the sprite list and the
// dirty-rectangle list that drive presentation.
//
// Back buffer layout: pixel (x, y) is the three bytes blue, green, red at
// GetPixels() + y * GetStride() + 3 * x; the stride is 3 * width rounded up to a multiple of 4.
//
// Copies share the back buffer, memory DC and graphics object; the last surface that lets go of
// them releases them.
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

// Instruction sets of the pixel writers.
enum VorBlitLevel { VOR_BLIT_SCALAR = 0, VOR_BLIT_SSE2 = 1, VOR_BLIT_AVX2 = 2 };

class VORIMAGE4_API CVorGraphics {
public:
    CVorGraphics();
    explicit CVorGraphics(HDC hdc);
    CVorGraphics(const CVorGraphics& other);
    CVorGraphics& operator=(const CVorGraphics& other);
    ~CVorGraphics();

    // ---- life cycle and presentation ----
    // Starts GDI+ (version 1) for the process; call once before any GDI+ object is made.
    void GdiInit();
    // (Re)creates the back buffer and background copy. False only when the header cannot be
    // allocated. Sizes that are negative or too large leave the surface with no pixels.
    bool Init(int width, int height);
    // GDI+ drawing goes straight to hdc; the back buffer and memory DC are kept.
    void InitGraphics(HDC hdc);
    // Makes a memory DC compatible with dc holding the back buffer, and a graphics object on it;
    // DrawDC presents to dc.
    void InitGraphics(CPaintDC* dc);
    // Drops the graphics object and memory DC (back buffer, target and background stay).
    void DeleteGraphics();
    // Puts on the target DC what copying, for every dirty rectangle, the block from the origin to
    // its far corner would put there, copying each window pixel at most once (the union of the
    // blocks, as disjoint bands).
    void DrawDC();
    // Pixels the last DrawDC copied to the target DC (0 when it had nothing to present).
    long long GetLastPresentedPixels() const;

    Gdiplus::Graphics* GetGraphics() const;
    HBITMAP GetBitmap() const;
    CDC* GetMemDC() const;
    CPaintDC* GetTargetDC() const;
    unsigned long GetWidth() const;
    unsigned long GetHeight() const;
    // Direct access to the back buffer (null when the surface has no pixels).
    BYTE* GetPixels() const;
    int GetStride() const;
    int GetBitsPerPixel() const;
    BITMAPINFO* GetBitmapInfo() const;
    // The background copy (same layout as the back buffer), null before Init.
    BYTE* GetBackCopy() const;
    CVorZang& GetZang() { return m_zang; }
    const CVorZang& GetZang() const { return m_zang; }

    // ---- pixel writers (TGA alpha, bitmap copy and blend, colour fill, background copy) ----
    // One instruction set for the whole process (a VorBlitLevel). At start it is the best one the
    // CPU runs, unless the environment variable VORIMAGE4_SIMD=scalar|sse2|avx2 names another.
    // Every level writes the same bytes; scalar is the reference. SetBlitLevel returns false and
    // changes nothing for a level this CPU cannot run.
    static bool SetBlitLevel(int level);
    static int GetBlitLevel();
    static int GetBestBlitLevel();

    // ---- TGA pictures: per-pixel alpha, clipped ----
    void Draw(CVorTga* tga, int x, int y);
    void Draw(CVorTga* tga, int x, int y, int srcX, int srcY, int width, int height);
    void Draw(CVorTga* tga, int x, int y, int srcX, int srcY, int width, int height, unsigned char alpha);

    // ---- bitmaps: memory, locked, GDI+ and zoom paths ----
    void Draw(CVorBitmap* bitmap, int x, int y);
    void DrawImage(CVorBitmap* bitmap, int x, int y);
    void Draw(CVorBitmap* bitmap, int x, int y, unsigned char alpha);
    void Draw(CVorBitmap* bitmap, int x, int y, int srcX, int srcY, int width, int height);
    void Draw(CVorBitmap* bitmap, int x, int y, int srcX, int srcY, int width, int height, unsigned char alpha);
    void DrawImage(CVorBitmap* bitmap, int x, int y, int width, int height);
    void DrawImage(CVorBitmap* bitmap, const Gdiplus::Rect& dest);
    void DrawImage(CVorBitmap* bitmap, const Gdiplus::RectF& dest, const Gdiplus::RectF& src);

    // ---- shapes and text ----
    void FillRectangle(int x, int y, int width, int height, unsigned char r, unsigned char g, unsigned char b);
    void FillRectangle(CVorBrush* brush, int x, int y, int width, int height);
    void DrawLine(CVorPen* pen, int x1, int y1, int x2, int y2);
    void DrawRectangle(CVorPen* pen, int x, int y, int width, int height);
    void Draw(const wchar_t* text, int x, int y, CVorFont* font, Gdiplus::SolidBrush* brush);
    void Draw(const wchar_t* text, int x, int y, int width, int height, CVorFont* font,
              Gdiplus::SolidBrush* brush, Gdiplus::StringAlignment align);
    void SetNowFont(CVorFont* font);
    CVorFont* GetNowFont() const;

    // ---- background copy ----
    void SetBackBitmap(CVorBitmap* image);
    void DrawBack();

    // ---- sprite list and frame composition ----
    void InitSprite();
    void UpDataAnimation();
    void AddSprite(CVorSprite* sprite);
    void AddSprite(CVorSprite* sprite, int x, int y, int width, int height, int srcX, int srcY, unsigned char alpha);
    void AddSprite(CVorSprite* sprite, int x, int y, unsigned char alpha);
    void AddSprite(CVorSprite* sprite, int x, int y, int width, int height, const char* text,
                   const Gdiplus::Color& colour, Gdiplus::StringAlignment alignment);
    void AddSprite(CVorSprite* sprite, CVorSprite* shadow, int x, int y, int width, int height, const char* text,
                   const Gdiplus::Color& colour, const Gdiplus::Color& shadowColour,
                   Gdiplus::StringAlignment alignment);
    void AddSprite(CVorButton* button);
    void ClearSprite();
    void DrawSprite(bool present);
    const std::vector<CVorSprite*>& GetSpriteList() const { return m_sprites; }

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
    long long m_lastPresented;            // pixels the last DrawDC copied
    std::vector<CVorRect> m_presentBands;  // DrawDC's bands, storage kept between frames
};
