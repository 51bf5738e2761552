#pragma once
#include "VorFramework.h"

/// A bitmap picture: a GDI+ bitmap (image file, bitmap resource, animated GIF) or a memory image
/// (24-bit DIB pixel bytes copied from the host), with an optional colour key and zoom flag.
///
/// A picture never loaded, or whose load failed, draws nothing. Copies share the GDI+ bitmap, the
/// image attributes and the memory pixels, each with its own count; the last owner releases them.
class VORIMAGE4_API CVorBitmap {
public:
    CVorBitmap();  ///< An empty picture.
    /// Same as Init(bits, size, info, zoom).
    CVorBitmap(const unsigned char* bits, int size, BITMAPINFO& info, int zoom);
    /// Same as Init(path).
    CVorBitmap(const wchar_t* path);
    /// Same as Init(bits, size, info, r, g, b).
    CVorBitmap(const unsigned char* bits, int size, BITMAPINFO& info, unsigned char r, unsigned char g,
               unsigned char b);
    /// Same as Init(path, r, g, b).
    CVorBitmap(const wchar_t* path, unsigned char r, unsigned char g, unsigned char b);
    CVorBitmap(const CVorBitmap& other);             ///< Shares the other's pixels and attributes.
    CVorBitmap& operator=(const CVorBitmap& other);  ///< Lets go of this picture, then shares the other's.
    ~CVorBitmap();                                   ///< Lets go of the picture (the last owner releases it).

    /// Memory image: copies size bytes of bottom-up 24-bit rows (3 * biWidth bytes each, unpadded);
    /// a non-zero zoom draws it stretched through StretchDIBits.
    void Init(const unsigned char* bits, int size, BITMAPINFO& info, int zoom);
    /// Memory image with colour key (r, g, b).
    void Init(const unsigned char* bits, int size, BITMAPINFO& info, unsigned char r, unsigned char g, unsigned char b);
    /// GDI+ bitmap from an image file (BMP, PNG, JPEG, GIF, ...). A BMP, GIF, PNG or JPEG file is
    /// refused from its header, before anything is decoded or allocated, when the picture or any
    /// GIF frame declares more than 2^27 pixels (status ValueOverflow) or when the header cannot
    /// describe a sound picture (no area, BMP rows past the end of the file: UnknownImageFormat).
    /// A GIF frame with neither a global nor a local colour table is shown through a gray table
    /// (index i is gray level i).
    ///
    /// A file that is refused or cannot be read or decoded still leaves a Gdiplus::Bitmap object:
    /// it holds no image, its GetLastStatus() is not Ok, GetWidth and GetHeight give 0 and drawing
    /// draws nothing; GetLastStatus of this picture says why.
    void Init(const wchar_t* path);
    /// GDI+ bitmap from an image file, with colour key (r, g, b).
    void Init(const wchar_t* path, unsigned char r, unsigned char g, unsigned char b);
    /// GDI+ bitmap from a bitmap resource of the host executable (low 16 bits of the id). A
    /// missing resource leaves a failed Gdiplus::Bitmap object, as a file that cannot be read.
    void Init(unsigned int resourceId);
    /// The same from a bitmap resource of the given module (a DLL of the host, say); the current
    /// resource module is left alone. A null module loads nothing (InvalidParameter).
    void Init(HINSTANCE module, unsigned int resourceId);
    /// GDI+ bitmap from an image file, with frame count and first frame delay (1/100 s).
    void InitGif(const wchar_t* path);
    /// Sets the colour key: pixels of this colour are not drawn.
    void SetColorKey(unsigned char r, unsigned char g, unsigned char b);

    int GetWidth() const;   ///< Width in pixels, 0 when empty.
    int GetHeight() const;  ///< Height in pixels, 0 when empty.
    /// The memory image's bytes, null for a GDI+ picture.
    unsigned char* GetMemBitmap() const;
    /// Bytes held by the memory image.
    int GetMemSize() const;
    /// The memory image's header.
    BITMAPINFO* GetBitmapHeader();
    /// The GDI+ bitmap, null for a memory image and before any load; after a failed load an
    /// object without an image whose own GetLastStatus() tells the failure.
    Gdiplus::Bitmap* GetBitmap() const;
    /// The colour-key attributes for GDI+ drawing, null without a key.
    Gdiplus::ImageAttributes* GetImageAttributes() const;
    /// 1 when a colour key is set.
    int IsColorKey() const;
    /// @{
    /// The colour key's channels.
    unsigned char GetKeyR() const;
    unsigned char GetKeyG() const;
    unsigned char GetKeyB() const;
    /// @}
    /// The colour key as one value, 0xRRGGBB.
    unsigned long GetKeyRGB() const;
    /// 1 when the memory image is drawn stretched.
    int IsZoom() const;
    /// Frames of an animated GIF (0 when not loaded with InitGif or unreadable).
    int GetFrames() const;
    /// Delay of the first frame in 1/100 s (0 when the file has none).
    int GetDelayTime() const;
    /// Status of the last failing GDI+ call on this picture (Ok when none failed).
    Gdiplus::Status GetLastStatus() const;

private:
    // Copies share the GDI+ bitmap, the image attributes and the memory pixels, each with its own
    // count; the last object that lets go of one releases it.
    void Release();  // lets go of the pixel source (GDI+ bitmap or memory pixels)
    void ReleaseAttributes();
    void LoadMemory(const unsigned char* bits, int size, const BITMAPINFO& info);
    void LoadFile(const wchar_t* path);
    void Hold(Gdiplus::Bitmap* made, Gdiplus::Status refusal = Gdiplus::Ok);
    void Refuse(Gdiplus::Status why);
    bool HasImage() const;  // a GDI+ bitmap that holds an image
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
    bool m_bitmapEmpty;  // the GDI+ bitmap object of a failed load: no image
};
