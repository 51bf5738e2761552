// CVorBitmap - a GDI+ bitmap (image file, bitmap resource, animated GIF) or a memory image
// (24-bit DIB pixel bytes copied from the host), with an optional colour key and zoom flag.
#pragma once
#include "VorFramework.h"

class VORIMAGE4_API CVorBitmap {
public:
    CVorBitmap();
    CVorBitmap(const unsigned char* bits, int size, BITMAPINFO& info, int zoom);
    explicit CVorBitmap(const wchar_t* path);
    CVorBitmap(const unsigned char* bits, int size, BITMAPINFO& info, unsigned char r, unsigned char g, unsigned char b);
    CVorBitmap(const wchar_t* path, unsigned char r, unsigned char g, unsigned char b);
    CVorBitmap(const CVorBitmap& other);
    CVorBitmap& operator=(const CVorBitmap& other);
    ~CVorBitmap();

    // Memory image: copies size bytes of bottom-up 24-bit rows (3 * biWidth bytes each, unpadded).
    void Init(const unsigned char* bits, int size, BITMAPINFO& info, int zoom);
    void Init(const unsigned char* bits, int size, BITMAPINFO& info, unsigned char r, unsigned char g, unsigned char b);
    // GDI+ bitmap from an image file (BMP, PNG, JPEG, GIF, ...). A BMP, GIF or PNG file whose
    // header cannot describe a sound picture (sizes whose pixels need 2 GB or more, BMP rows past
    // the end of the file, a GIF frame without a colour table) is refused before it is decoded:
    // empty picture, status UnknownImageFormat.
    void Init(const wchar_t* path);
    void Init(const wchar_t* path, unsigned char r, unsigned char g, unsigned char b);
    // GDI+ bitmap from a bitmap resource of the host executable (low 16 bits of the id).
    void Init(unsigned int resourceId);
    // GDI+ bitmap from an image file, with frame count and first frame delay (1/100 s).
    void InitGif(const wchar_t* path);
    void SetColorKey(unsigned char r, unsigned char g, unsigned char b);

    int GetWidth() const;
    int GetHeight() const;
    unsigned char* GetMemBitmap() const;
    int GetMemSize() const;  // bytes held by the memory image
    BITMAPINFO* GetBitmapHeader();
    Gdiplus::Bitmap* GetBitmap() const;
    Gdiplus::ImageAttributes* GetImageAttributes() const;
    int IsColorKey() const;
    unsigned char GetKeyR() const;
    unsigned char GetKeyG() const;
    unsigned char GetKeyB() const;
    unsigned long GetKeyRGB() const;
    int IsZoom() const;
    int GetFrames() const;
    int GetDelayTime() const;
    // Status of the last failing GDI+ call on this picture (Ok when none failed).
    Gdiplus::Status GetLastStatus() const;

private:
    // Copies share the GDI+ bitmap, the image attributes and the memory pixels, each with its own
    // count; the last object that lets go of one releases it.
    void Release();              // lets go of the pixel source (GDI+ bitmap or memory pixels)
    void ReleaseAttributes();
    void LoadMemory(const unsigned char* bits, int size, const BITMAPINFO& info);
    void LoadFile(const wchar_t* path);
    void Share(const CVorBitmap& other);
    void TakeStatus(Gdiplus::Status status) const;

    Gdiplus::ImageAttributes* m_attributes;
    Gdiplus::Bitmap* m_bitmap;
    unsigned char m_keyR;
    unsigned char m_keyG;
    unsigned char m_keyB;
    unsigned long m_keyRGB;
    int m_colorKey;
    unsigned char* m_memBits;
    int m_memWidth;
    int m_memHeight;
    BITMAPINFO m_header;
    int m_zoom;
    int m_frames;
    int m_delayTime;
    int m_memSize;
    mutable Gdiplus::Status m_lastStatus;
    long* m_attributesRefs;
    long* m_bitmapRefs;
    long* m_memRefs;
};
