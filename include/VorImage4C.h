/** \file
 * The C interface of VorImage4: the whole engine behind opaque handles and plain functions, for hosts
 * written in C or built by any compiler (Visual C++, clang, MinGW) or language (C#, Delphi, Python,
 * Rust) that can call a C function in a DLL.
 *
 * Plain C89 (also C99 and C++); it includes only `<stddef.h>`. Every function is `extern "C"`,
 * uses the `__cdecl` convention and is exported by `VorImage4.dll` under its own undecorated name,
 * on 32-bit and 64-bit Windows alike. Link with `libVorImage4.dll.a` (MinGW, clang) or load the DLL
 * and look the names up.
 *
 * \par Conventions
 * - One prefix: functions `vor_...`, types `Vor...`, constants `VOR_...`.
 * - Handles are pointers to incomplete structs. Each `vor_X_create...` (or loader) returns a new
 *   handle or NULL; `vor_X_destroy` frees it. Destroying NULL is allowed and does nothing.
 * - Every call records its outcome: `vor_last_status()` returns it (`VOR_OK` or a `VOR_E_...`
 *   code) until the next call. Calls that act return the same code; getters return their value (0
 *   on failure). `vor_last_detail()` gives the GDI+ status behind a `VOR_E_LOAD` or `VOR_E_GDIPLUS`.
 * - A NULL handle, a handle already destroyed, a NULL pointer or string, a negative size or a
 *   value out of range never crashes: the call does nothing and says so in the status. No C++
 *   exception leaves the DLL.
 * - Colours are 0xAARRGGBB (`argb`) where GDI+ draws them, separate 0..255 channels elsewhere.
 * - Strings end with a NUL. A text is read up to `VOR_TEXT_MAX` units (longer ones are cut), a
 *   path or face name up to `VOR_PATH_MAX` (longer ones are refused), so a missing NUL never makes
 *   the library read without bound. Sprite texts are in the ANSI code page; text drawn directly,
 *   font faces and bitmap file paths are UTF-16 (`wchar_t`).
 * - Everything runs on the host's window thread; the last status is one per process.
 *
 * \par Ownership and lifetime
 * - The host owns every handle it creates and destroys it once. Nothing in the library frees a
 *   host's handle.
 * - A sprite, a button and a surface only point to the pictures, pens, brushes, colours and fonts
 *   they draw. Keep those alive while they are used. When one is destroyed anyway, every sprite and
 *   button face showing it becomes a sprite of no kind (draws nothing) and a surface whose current
 *   font it was has none, so the next frame draws nothing there instead of reading freed memory.
 * - A surface only points to the sprites listed in its frame. Destroying a sprite, button or panel
 *   that a surface lists empties that surface's sprite list and marks the whole surface dirty.
 * - A panel points to the surface it was made for; once that surface is destroyed the panel's
 *   `vor_panel_render` does nothing and reports `VOR_E_STATE`.
 * - A button points to its parent window by handle and never destroys it. A click whose parent
 *   window is gone sends nothing. A surface bound with `vor_surface_bind_window` holds the window's
 *   DC until it is unbound, rebound or destroyed; `vor_surface_present` on a destroyed window
 *   reports `VOR_E_WINDOW`. A DC given to `vor_surface_bind_dc` stays the host's and must stay
 *   valid while bound.
 * - Pixel pointers (`vor_surface_pixels`, `vor_surface_back_copy`, `vor_tga_pixels`) are valid until
 *   the object is resized or destroyed.
 */
#ifndef VORIMAGE4_C_H
#define VORIMAGE4_C_H

#include <stddef.h>

/** \def VOR_CAPI_LINK
 * dllexport while the DLL is built, dllimport in a host, nothing for a static build
 * (VORIMAGE4_STATIC) or off Windows.
 */
/** \def VOR_CAPI
 * Declares a function of the C interface (`extern` and `VOR_CAPI_LINK`).
 */
/** \def VOR_CALL
 * The calling convention of every function and callback: `__cdecl` on Windows.
 */
#if defined(_WIN32)
#  if defined(VORIMAGE4_BUILD)
#    define VOR_CAPI_LINK __declspec(dllexport)
#  elif defined(VORIMAGE4_STATIC)
#    define VOR_CAPI_LINK
#  else
#    define VOR_CAPI_LINK __declspec(dllimport)
#  endif
#  define VOR_CALL __cdecl
#else
#  define VOR_CAPI_LINK
#  define VOR_CALL
#endif
#define VOR_CAPI extern VOR_CAPI_LINK

/** Version of the library this header belongs to (major * 10000 + minor * 100 + patch). */
#define VOR_VERSION 40000
/** UTF-16 units (sprite texts: bytes) a text may have; longer texts are cut. */
#define VOR_TEXT_MAX 1023
/** Characters a path, module or font face name may have; longer ones are refused. */
#define VOR_PATH_MAX 32767

/** Outcome of a call (`vor_last_status`). */
typedef enum VorStatus {
    VOR_OK = 0,            /**< done */
    VOR_E_NULL_HANDLE = 1, /**< a handle argument was NULL */
    VOR_E_BAD_HANDLE = 2,  /**< a handle that is not alive (destroyed, or never made by the library) */
    VOR_E_ARGUMENT = 3,    /**< a NULL pointer or string, a negative size, a value out of range */
    VOR_E_LOAD = 4,        /**< the picture did not load (`vor_last_detail`: the GDI+ status) */
    VOR_E_GDIPLUS = 5,     /**< GDI+ could not make the pen, brush or font (detail: the GDI+ status) */
    VOR_E_MEMORY = 6,      /**< out of memory, or a size too large for a back buffer */
    VOR_E_WINDOW = 7,      /**< not a window (or one already destroyed), or no DC for it */
    VOR_E_UNSUPPORTED = 8, /**< this CPU cannot run the blit level asked for */
    VOR_E_STATE = 9,       /**< the object lacks what the call needs (no pixels, no target, its surface is gone) */
    VOR_E_INTERNAL = 10    /**< the library failed inside (an exception stopped at the boundary) */
} VorStatus;

/** Instruction sets of the pixel writers; every level writes the same bytes. */
enum VorBlitLevelC {
    VOR_BLITLEVEL_SCALAR = 0, /**< plain code, the reference */
    VOR_BLITLEVEL_SSE2 = 1,   /**< SSE2 */
    VOR_BLITLEVEL_SSSE3 = 2,  /**< SSSE3 (byte shuffles for the 3- and 4-byte pixels) */
    VOR_BLITLEVEL_AVX2 = 3    /**< AVX2 */
};

/** Pen dash styles (the GDI+ values). */
enum VorDash {
    VOR_DASH_SOLID = 0,     /**< a solid line */
    VOR_DASH_DASH = 1,      /**< dashes */
    VOR_DASH_DOT = 2,       /**< dots */
    VOR_DASH_DASHDOT = 3,   /**< dash, dot */
    VOR_DASH_DASHDOTDOT = 4 /**< dash, dot, dot */
};

/** Some hatch styles; any GDI+ hatch style number from 0 to `VOR_HATCH_LAST` is accepted. */
enum VorHatch {
    VOR_HATCH_HORIZONTAL = 0, /**< horizontal lines */
    VOR_HATCH_VERTICAL = 1,   /**< vertical lines */
    VOR_HATCH_CROSS = 4,      /**< horizontal and vertical lines */
    VOR_HATCH_DIAGCROSS = 5,  /**< both diagonals */
    VOR_HATCH_LAST = 52       /**< the last hatch style number */
};

/** Texture wrap modes of a texture brush (the GDI+ values). */
enum VorWrap {
    VOR_WRAP_TILE = 0,   /**< tiled */
    VOR_WRAP_FLIPX = 1,  /**< tiled, every other column mirrored */
    VOR_WRAP_FLIPY = 2,  /**< tiled, every other row mirrored */
    VOR_WRAP_FLIPXY = 3, /**< both */
    VOR_WRAP_CLAMP = 4   /**< not tiled */
};

/** Font style bits (the GDI+ values); combine with `|`. */
enum VorFontStyle {
    VOR_FONT_REGULAR = 0,   /**< regular */
    VOR_FONT_BOLD = 1,      /**< bold */
    VOR_FONT_ITALIC = 2,    /**< italic */
    VOR_FONT_UNDERLINE = 4, /**< underlined */
    VOR_FONT_STRIKEOUT = 8  /**< struck out */
};

/** Horizontal alignment of text in its rectangle (the GDI+ values). */
enum VorAlign {
    VOR_ALIGN_NEAR = 0,   /**< left */
    VOR_ALIGN_CENTER = 1, /**< centred */
    VOR_ALIGN_FAR = 2     /**< right */
};

/** Mouse state of an enabled button (`vor_button_state`). */
enum VorButtonState {
    VOR_BUTTON_NORMAL = 0, /**< the mouse is elsewhere */
    VOR_BUTTON_HOVER = 1,  /**< the mouse is over the button */
    VOR_BUTTON_PRESSED = 2 /**< pressed inside and not yet released */
};

/** An integer rectangle; overlap tests treat it as closed (the far edges x + width, y + height belong to it). */
typedef struct VorRect {
    int x;      /**< left edge */
    int y;      /**< top edge */
    int width;  /**< width */
    int height; /**< height */
} VorRect;

/** A render surface: 24-bit back buffer, background copy, sprite list and dirty rectangles. */
typedef struct VorSurface VorSurface;
/** A TGA picture with per-pixel alpha. */
typedef struct VorTga VorTga;
/** A bitmap picture: image file, bitmap resource, animated GIF or host pixel block. */
typedef struct VorBitmap VorBitmap;
/** An opaque RGB colour for colour sprites. */
typedef struct VorColor VorColor;
/** A GDI+ pen. */
typedef struct VorPen VorPen;
/** A GDI+ hatch or texture brush. */
typedef struct VorBrush VorBrush;
/** A GDI+ font. */
typedef struct VorFont VorFont;
/** One scene item: text, pen, brush, colour, TGA or bitmap. */
typedef struct VorSprite VorSprite;
/** An image button with normal, hover, pressed and disabled faces. */
typedef struct VorButton VorButton;
/** A nine-cell panel background. */
typedef struct VorPanel VorPanel;

/** An animation procedure, run by `vor_surface_animate` once a frame with the user value given. */
typedef void(VOR_CALL* VorAnimationProc)(VorSprite* sprite, void* user);

#ifdef __cplusplus
extern "C" {
#endif

/** \name Library */
/** \{ */
/** Writes the version's parts and the blit level in use to the non-NULL pointers; returns `VOR_VERSION`'s form of the
 * DLL's version. */
VOR_CAPI int VOR_CALL vor_version(int* major, int* minor, int* patch, int* blitLevel);
/** Starts GDI+ for the process. Optional: the first call that needs GDI+ starts it. */
VOR_CAPI int VOR_CALL vor_startup(void);
/** The outcome of the last call (`VorStatus`). */
VOR_CAPI int VOR_CALL vor_last_status(void);
/** The GDI+ status behind the last `VOR_E_LOAD` or `VOR_E_GDIPLUS` (0 otherwise). */
VOR_CAPI int VOR_CALL vor_last_detail(void);
/** A short English text for a status code (never NULL). */
VOR_CAPI const char* VOR_CALL vor_status_text(int status);
/** Forces a blit level for the process; `VOR_E_UNSUPPORTED` for one this CPU cannot run. */
VOR_CAPI int VOR_CALL vor_set_blit_level(int level);
/** The blit level in use. */
VOR_CAPI int VOR_CALL vor_blit_level(void);
/** The best blit level this CPU runs. */
VOR_CAPI int VOR_CALL vor_best_blit_level(void);
/** \} */

/** \name Rectangles */
/** \{ */
/** 1 when the closed rectangles share a point. */
VOR_CAPI int VOR_CALL vor_rect_overlaps(const VorRect* a, const VorRect* b);
/** Their common part relative to b's top-left corner into *out; (0, 0, 0, 0) when they share none. */
VOR_CAPI int VOR_CALL vor_rect_overlap(const VorRect* a, const VorRect* b, VorRect* out);
/** 1 when x <= px <= x + width and y <= py <= y + height. */
VOR_CAPI int VOR_CALL vor_rect_contains(const VorRect* r, int px, int py);
/** \} */

/** \name Surfaces */
/** \{ */
/** A surface with a back buffer of width x height pixels (both at least 1); NULL when it cannot be made. */
VOR_CAPI VorSurface* VOR_CALL vor_surface_create(int width, int height);
/** Frees the surface, its back buffer and DCs (not the sprites it lists). */
VOR_CAPI void VOR_CALL vor_surface_destroy(VorSurface* surface);
/** Makes a new back buffer (contents undefined; the sprite list is kept). */
VOR_CAPI int VOR_CALL vor_surface_resize(VorSurface* surface, int width, int height);
/** Back buffer width in pixels. */
VOR_CAPI int VOR_CALL vor_surface_width(const VorSurface* surface);
/** Back buffer height in pixels. */
VOR_CAPI int VOR_CALL vor_surface_height(const VorSurface* surface);
/** Binds the surface to a window (an HWND): a memory DC compatible with the window's DC, GDI+ on the back buffer;
 * present copies to the window. */
VOR_CAPI int VOR_CALL vor_surface_bind_window(VorSurface* surface, void* hwnd);
/** The same for a device context (an HDC) the host owns; NULL gives a memory DC of its own and no target (present
 * reports `VOR_E_STATE`). */
VOR_CAPI int VOR_CALL vor_surface_bind_dc(VorSurface* surface, void* hdc);
/** GDI+ drawing (lines, frames, text, brush fills, scaled images) goes straight to hdc instead of the back buffer. */
VOR_CAPI int VOR_CALL vor_surface_draw_gdiplus_to_dc(VorSurface* surface, void* hdc);
/** Drops the binding: the memory DC, GDI+ graphics and the window's DC. */
VOR_CAPI int VOR_CALL vor_surface_unbind(VorSurface* surface);
/** Presents the dirty rectangles to the bound window or DC. */
VOR_CAPI int VOR_CALL vor_surface_present(VorSurface* surface);
/** Pixels the last present copied. */
VOR_CAPI long VOR_CALL vor_surface_presented_pixels(const VorSurface* surface);
/** Non-zero: present copies only the dirty rectangles themselves, each window pixel once (for a host that draws
 * nothing else on its window); 0, the default: the blocks from the window's origin to each rectangle's far corner.
 * The window's pixels are the same either way. */
VOR_CAPI int VOR_CALL vor_surface_set_exact_present(VorSurface* surface, int exact);
/** 1 when present copies only the dirty rectangles, else 0. */
VOR_CAPI int VOR_CALL vor_surface_exact_present(const VorSurface* surface);
/** The back buffer: pixel (x, y) is the bytes blue, green, red at pixels + y * stride + 3 * x. */
VOR_CAPI unsigned char* VOR_CALL vor_surface_pixels(VorSurface* surface);
/** Bytes from one row of the back buffer to the next. */
VOR_CAPI int VOR_CALL vor_surface_stride(const VorSurface* surface);
/** The background copy (same layout as the back buffer). */
VOR_CAPI unsigned char* VOR_CALL vor_surface_back_copy(VorSurface* surface);
/** Pixel (x, y) of the back buffer as 0xRRGGBB into *rgb; `VOR_E_ARGUMENT` outside the surface. */
VOR_CAPI int VOR_CALL vor_surface_get_pixel(const VorSurface* surface, int x, int y, unsigned int* rgb);
/** Copies the back buffer into dst, rows of dstStride bytes (at least 3 * width), dstSize bytes held. */
VOR_CAPI int VOR_CALL vor_surface_read(const VorSurface* surface, void* dst, size_t dstSize, int dstStride);
/** \} */

/** \name Drawing on a surface
 * Every call clips to the back buffer and draws nothing for an empty picture or a size of 0 or less.
 */
/** \{ */
/** The whole TGA at (x, y), blended with its alpha: d + (s - d) * a / 256. */
VOR_CAPI int VOR_CALL vor_draw_tga(VorSurface* surface, const VorTga* tga, int x, int y);
/** The part (srcX, srcY, width, height) of the TGA at (x, y). */
VOR_CAPI int VOR_CALL vor_draw_tga_part(VorSurface* surface, const VorTga* tga, int x, int y, int srcX, int srcY,
                                        int width, int height);
/** The same with a global opacity on top of each pixel's alpha. */
VOR_CAPI int VOR_CALL vor_draw_tga_part_alpha(VorSurface* surface, const VorTga* tga, int x, int y, int srcX, int srcY,
                                              int width, int height, unsigned char alpha);
/** The whole bitmap at (x, y), opaque except for its colour key. */
VOR_CAPI int VOR_CALL vor_draw_bitmap(VorSurface* surface, const VorBitmap* bitmap, int x, int y);
/** The whole bitmap blended with one opacity. */
VOR_CAPI int VOR_CALL vor_draw_bitmap_alpha(VorSurface* surface, const VorBitmap* bitmap, int x, int y,
                                            unsigned char alpha);
/** A part of the bitmap at (x, y); stretched when it is a zoomed pixel block. */
VOR_CAPI int VOR_CALL vor_draw_bitmap_part(VorSurface* surface, const VorBitmap* bitmap, int x, int y, int srcX,
                                           int srcY, int width, int height);
/** A part of the bitmap blended with one opacity. */
VOR_CAPI int VOR_CALL vor_draw_bitmap_part_alpha(VorSurface* surface, const VorBitmap* bitmap, int x, int y, int srcX,
                                                 int srcY, int width, int height, unsigned char alpha);
/** The whole (GDI+) bitmap scaled into (x, y, width, height). */
VOR_CAPI int VOR_CALL vor_draw_bitmap_scaled(VorSurface* surface, const VorBitmap* bitmap, int x, int y, int width,
                                             int height);
/** The source rectangle (sx, sy, sw, sh) of the (GDI+) bitmap scaled into (dx, dy, dw, dh), through its colour key. */
VOR_CAPI int VOR_CALL vor_draw_bitmap_scaled_part(VorSurface* surface, const VorBitmap* bitmap, float dx, float dy,
                                                  float dw, float dh, float sx, float sy, float sw, float sh);
/** Opaque colour fill written into the back buffer (half-open rectangle). */
VOR_CAPI int VOR_CALL vor_fill_rect(VorSurface* surface, int x, int y, int width, int height, unsigned char r,
                                    unsigned char g, unsigned char b);
/** Brush fill through GDI+. */
VOR_CAPI int VOR_CALL vor_fill_rect_brush(VorSurface* surface, const VorBrush* brush, int x, int y, int width,
                                          int height);
/** A line through GDI+. */
VOR_CAPI int VOR_CALL vor_draw_line(VorSurface* surface, const VorPen* pen, int x1, int y1, int x2, int y2);
/** A rectangle frame through GDI+. */
VOR_CAPI int VOR_CALL vor_draw_rect(VorSurface* surface, const VorPen* pen, int x, int y, int width, int height);
/** UTF-16 text from (x, y) in the font and colour argb, through GDI+. */
VOR_CAPI int VOR_CALL vor_draw_text(VorSurface* surface, const wchar_t* text, int x, int y, const VorFont* font,
                                    unsigned int argb);
/** UTF-16 text aligned (`VorAlign`) in the rectangle (x, y, width, height). */
VOR_CAPI int VOR_CALL vor_draw_text_in(VorSurface* surface, const wchar_t* text, int x, int y, int width, int height,
                                       const VorFont* font, unsigned int argb, int align);
/** Sets the surface's current font, used by `vor_surface_add_text` (NULL: none). */
VOR_CAPI int VOR_CALL vor_surface_set_font(VorSurface* surface, VorFont* font);
/** Puts the bitmap upright into the top-left of the background copy (clipped). */
VOR_CAPI int VOR_CALL vor_surface_set_back(VorSurface* surface, const VorBitmap* bitmap);
/** Copies the whole background copy into the back buffer. */
VOR_CAPI int VOR_CALL vor_surface_draw_back(VorSurface* surface);
/** \} */

/** \name Frames: the sprite list and the dirty rectangles */
/** \{ */
/** Starts a frame: a sprite not added again before `vor_surface_draw_frame` is dropped; the dirty list is emptied. */
VOR_CAPI int VOR_CALL vor_surface_begin_frame(VorSurface* surface);
/** Runs every listed sprite's animation (animated bitmaps step their frames). */
VOR_CAPI int VOR_CALL vor_surface_animate(VorSurface* surface);
/** Lists the sprite at its current place, after the ones added before it. */
VOR_CAPI int VOR_CALL vor_surface_add(VorSurface* surface, VorSprite* sprite);
/** Places the sprite (as `vor_sprite_place`), then lists it. */
VOR_CAPI int VOR_CALL vor_surface_add_at(VorSurface* surface, VorSprite* sprite, int x, int y, int width, int height,
                                         int srcX, int srcY, unsigned char alpha);
/** Places the sprite at (x, y) at its picture's size, then lists it. */
VOR_CAPI int VOR_CALL vor_surface_add_xy(VorSurface* surface, VorSprite* sprite, int x, int y, unsigned char alpha);
/** Makes the sprite a text sprite (ANSI text) in the surface's current font, places it, lists it. */
VOR_CAPI int VOR_CALL vor_surface_add_text(VorSurface* surface, VorSprite* sprite, int x, int y, int width, int height,
                                           const char* text, unsigned int argb, int align);
/** The same with a shadow sprite one pixel down and right in shadowArgb, listed first. */
VOR_CAPI int VOR_CALL vor_surface_add_text_shadow(VorSurface* surface, VorSprite* sprite, VorSprite* shadow, int x,
                                                  int y, int width, int height, const char* text, unsigned int argb,
                                                  unsigned int shadowArgb, int align);
/** Lists the button's current face. */
VOR_CAPI int VOR_CALL vor_surface_add_button(VorSurface* surface, VorButton* button);
/** Empties the sprite list. */
VOR_CAPI int VOR_CALL vor_surface_clear_sprites(VorSurface* surface);
/** Draws the frame: changed sprites whole, unchanged ones inside the dirty rectangles; presents when present is
 * non-zero. */
VOR_CAPI int VOR_CALL vor_surface_draw_frame(VorSurface* surface, int present);
/** Sprites listed now. */
VOR_CAPI int VOR_CALL vor_surface_sprite_count(const VorSurface* surface);
/** Marks a rectangle dirty (merged with the ones it meets). */
VOR_CAPI int VOR_CALL vor_surface_add_dirty(VorSurface* surface, int x, int y, int width, int height);
/** Dirty rectangles now. */
VOR_CAPI int VOR_CALL vor_surface_dirty_count(const VorSurface* surface);
/** Dirty rectangle number index (from 0) into *out. */
VOR_CAPI int VOR_CALL vor_surface_dirty_rect(const VorSurface* surface, int index, VorRect* out);
/** \} */

/** \name TGA pictures
 * TGA files raw or run-length, any origin: true colour (15, 16, 24, 32 bits), grey (8 bits, 16 with alpha) and
 * colour-mapped (8- or 16-bit indices); pixels are 32-bit words, bytes blue,
 * green, red, alpha, top row first.
 */
/** \{ */
/** Loads a TGA file (path in the ANSI code page); NULL and `VOR_E_LOAD` when it cannot be read or is not a supported
 * TGA. */
VOR_CAPI VorTga* VOR_CALL vor_tga_load_file(const char* path);
/** Loads a TGA file image of size bytes held in memory (the bytes are copied). */
VOR_CAPI VorTga* VOR_CALL vor_tga_load_memory(const void* data, size_t size);
/** Frees the picture. */
VOR_CAPI void VOR_CALL vor_tga_destroy(VorTga* tga);
/** Width in pixels. */
VOR_CAPI int VOR_CALL vor_tga_width(const VorTga* tga);
/** Height in pixels. */
VOR_CAPI int VOR_CALL vor_tga_height(const VorTga* tga);
/** The pixels (width * height words), NULL when empty. */
VOR_CAPI const unsigned int* VOR_CALL vor_tga_pixels(const VorTga* tga);
/** \} */

/** \name Bitmap pictures */
/** \{ */
/** An image file GDI+ decodes (BMP, PNG, JPEG, GIF, ...), UTF-16 path. */
VOR_CAPI VorBitmap* VOR_CALL vor_bitmap_load_file(const wchar_t* path);
/** The same with colour key (r, g, b): pixels of that colour are not drawn. */
VOR_CAPI VorBitmap* VOR_CALL vor_bitmap_load_file_key(const wchar_t* path, unsigned char r, unsigned char g,
                                                      unsigned char b);
/** An animated GIF (or any image file): frame count and first frame delay are read. */
VOR_CAPI VorBitmap* VOR_CALL vor_bitmap_load_gif(const wchar_t* path);
/** Bitmap resource id (low 16 bits) of module (an HINSTANCE, a DLL of the host say); NULL module: the host executable.
 */
VOR_CAPI VorBitmap* VOR_CALL vor_bitmap_load_resource(void* module, unsigned int id);
/** A pixel block the host holds: size bytes of bottom-up 24-bit rows, 3 * width bytes each, described by bitmapInfo (a
 * BITMAPINFO or BITMAPINFOHEADER; its first 40 bytes are read). The bytes are copied. A non-zero zoom draws parts
 * stretched. */
VOR_CAPI VorBitmap* VOR_CALL vor_bitmap_load_pixels(const void* bits, int size, const void* bitmapInfo, int zoom);
/** The same with colour key (r, g, b). */
VOR_CAPI VorBitmap* VOR_CALL vor_bitmap_load_pixels_key(const void* bits, int size, const void* bitmapInfo,
                                                        unsigned char r, unsigned char g, unsigned char b);
/** Frees the picture. */
VOR_CAPI void VOR_CALL vor_bitmap_destroy(VorBitmap* bitmap);
/** Sets the colour key. */
VOR_CAPI int VOR_CALL vor_bitmap_set_key(VorBitmap* bitmap, unsigned char r, unsigned char g, unsigned char b);
/** Width in pixels. */
VOR_CAPI int VOR_CALL vor_bitmap_width(const VorBitmap* bitmap);
/** Height in pixels. */
VOR_CAPI int VOR_CALL vor_bitmap_height(const VorBitmap* bitmap);
/** Frames of an animated GIF loaded by `vor_bitmap_load_gif` (0 otherwise). */
VOR_CAPI int VOR_CALL vor_bitmap_frames(const VorBitmap* bitmap);
/** Delay of the first frame in 1/100 s. */
VOR_CAPI int VOR_CALL vor_bitmap_delay(const VorBitmap* bitmap);
/** The GDI+ status of the picture's last failing GDI+ call (0 when none failed). */
VOR_CAPI int VOR_CALL vor_bitmap_gdiplus_status(const VorBitmap* bitmap);
/** \} */

/** \name Colours, pens, brushes, fonts (GDI+ is started on first use) */
/** \{ */
/** An opaque colour (r, g, b) for colour sprites. */
VOR_CAPI VorColor* VOR_CALL vor_color_create(unsigned char r, unsigned char g, unsigned char b);
/** Frees the colour. */
VOR_CAPI void VOR_CALL vor_color_destroy(VorColor* color);
/** Changes the colour. */
VOR_CAPI int VOR_CALL vor_color_set(VorColor* color, unsigned char r, unsigned char g, unsigned char b);
/** The colour as 0xRRGGBB. */
VOR_CAPI unsigned int VOR_CALL vor_color_get(const VorColor* color);
/** A pen of opaque colour (r, g, b), width (more than 0) and dash (`VorDash`); NULL and `VOR_E_GDIPLUS` when GDI+
 * fails. */
VOR_CAPI VorPen* VOR_CALL vor_pen_create(unsigned char r, unsigned char g, unsigned char b, float width, int dash);
/** Frees the pen. */
VOR_CAPI void VOR_CALL vor_pen_destroy(VorPen* pen);
/** A hatch brush (`VorHatch` style 0..52) with ARGB fore- and background. */
VOR_CAPI VorBrush* VOR_CALL vor_brush_create_hatch(int style, unsigned int foreArgb, unsigned int backArgb);
/** A texture brush from a GDI+ bitmap (a pixel block makes none: `VOR_E_GDIPLUS`), wrapped (`VorWrap`). The brush keeps
 * its own copy. */
VOR_CAPI VorBrush* VOR_CALL vor_brush_create_texture(const VorBitmap* bitmap, int wrap);
/** Frees the brush. */
VOR_CAPI void VOR_CALL vor_brush_destroy(VorBrush* brush);
/** A font of an installed family (UTF-16 face), size in points (more than 0), style bits (`VorFontStyle`); NULL and
 * `VOR_E_GDIPLUS` when the family is missing. */
VOR_CAPI VorFont* VOR_CALL vor_font_create(int size, const wchar_t* face, int style);
/** Frees the font. */
VOR_CAPI void VOR_CALL vor_font_destroy(VorFont* font);
/** Em size in points. */
VOR_CAPI float VOR_CALL vor_font_size(const VorFont* font);
/** \} */

/** \name Sprites */
/** \{ */
/** A sprite of no kind (draws nothing until a `vor_sprite_set_...`). */
VOR_CAPI VorSprite* VOR_CALL vor_sprite_create(void);
/** Frees the sprite (see the lifetime rules for a listed one). */
VOR_CAPI void VOR_CALL vor_sprite_destroy(VorSprite* sprite);
/** Shows a TGA picture. */
VOR_CAPI int VOR_CALL vor_sprite_set_tga(VorSprite* sprite, VorTga* tga);
/** Shows a bitmap; an animated GIF steps its frames by itself in `vor_surface_animate`. */
VOR_CAPI int VOR_CALL vor_sprite_set_bitmap(VorSprite* sprite, VorBitmap* bitmap);
/** Shows a bitmap and runs proc(sprite, user) in every `vor_surface_animate` (NULL proc: as `vor_sprite_set_bitmap`).
 */
VOR_CAPI int VOR_CALL vor_sprite_set_bitmap_animated(VorSprite* sprite, VorBitmap* bitmap, VorAnimationProc proc,
                                                     void* user);
/** Draws with the pen: a rectangle frame when box is non-zero, else a line corner to corner. */
VOR_CAPI int VOR_CALL vor_sprite_set_pen(VorSprite* sprite, VorPen* pen, int box);
/** Fills with the colour. */
VOR_CAPI int VOR_CALL vor_sprite_set_color(VorSprite* sprite, VorColor* color);
/** Fills with the brush. */
VOR_CAPI int VOR_CALL vor_sprite_set_brush(VorSprite* sprite, VorBrush* brush);
/** A line of ANSI text in the font and colour argb, aligned (`VorAlign`) in the sprite's rectangle. */
VOR_CAPI int VOR_CALL vor_sprite_set_text(VorSprite* sprite, VorFont* font, const char* text, unsigned int argb,
                                          int align);
/** Places the sprite: rectangle, source offset, opacity; width or height 0 takes the picture's size. */
VOR_CAPI int VOR_CALL vor_sprite_place(VorSprite* sprite, int x, int y, int width, int height, int srcX, int srcY,
                                       unsigned char alpha);
/** Places the sprite at (x, y) at its picture's size. */
VOR_CAPI int VOR_CALL vor_sprite_place_xy(VorSprite* sprite, int x, int y, unsigned char alpha);
/** Where the sprite stands now into *out. */
VOR_CAPI int VOR_CALL vor_sprite_rect(const VorSprite* sprite, VorRect* out);
/** Makes the sprite dirty at its next placement, changed or not. */
VOR_CAPI int VOR_CALL vor_sprite_force_dirty(VorSprite* sprite);
/** 1 when the sprite is to be drawn whole this frame. */
VOR_CAPI int VOR_CALL vor_sprite_is_dirty(const VorSprite* sprite);
/** Current frame of an animated bitmap sprite. */
VOR_CAPI int VOR_CALL vor_sprite_frame(const VorSprite* sprite);
/** Steps an animated bitmap sprite as its frame stepper does, with the clock now (ms) given. */
VOR_CAPI int VOR_CALL vor_sprite_step_frame_at(VorSprite* sprite, unsigned long now);
/** \} */

/** \name Buttons
 * The host forwards its mouse messages; a press and a release inside the button send `WM_COMMAND`
 * (wParam = command id, lParam = 0) to the parent window (an HWND), synchronously.
 */
/** \{ */
/** A button with no faces. */
VOR_CAPI VorButton* VOR_CALL vor_button_create(void);
/** Frees the button (see the lifetime rules for a listed one). */
VOR_CAPI void VOR_CALL vor_button_destroy(VorButton* button);
/** Four TGA faces (normal, hover, pressed, disabled; a NULL disabled face keeps the old one) at (x, y). */
VOR_CAPI int VOR_CALL vor_button_set_tga_faces(VorButton* button, void* parent, int commandId, int x, int y,
                                               VorTga* normal, VorTga* hover, VorTga* pressed, VorTga* disabled);
/** The same with bitmap faces. */
VOR_CAPI int VOR_CALL vor_button_set_bitmap_faces(VorButton* button, void* parent, int commandId, int x, int y,
                                                  VorBitmap* normal, VorBitmap* hover, VorBitmap* pressed,
                                                  VorBitmap* disabled);
/** count (3 or 4) faces in one TGA, stacked vertically (horizontal 0) or side by side. */
VOR_CAPI int VOR_CALL vor_button_set_tga_strip(VorButton* button, void* parent, int commandId, int x, int y,
                                               VorTga* strip, int count, int horizontal);
/** The same with a bitmap strip. */
VOR_CAPI int VOR_CALL vor_button_set_bitmap_strip(VorButton* button, void* parent, int commandId, int x, int y,
                                                  VorBitmap* strip, int count, int horizontal);
/** Mouse moved to (x, y) in surface pixels; 1 when the button just became hovered. */
VOR_CAPI int VOR_CALL vor_button_mouse_move(VorButton* button, int x, int y);
/** Mouse button pressed at (x, y); 1 when the press hit the button. */
VOR_CAPI int VOR_CALL vor_button_mouse_down(VorButton* button, int x, int y);
/** Mouse button released at (x, y); 1 when this completed a click and the parent handled its `WM_COMMAND`. */
VOR_CAPI int VOR_CALL vor_button_mouse_up(VorButton* button, int x, int y);
/** Enables (non-zero) or disables the button; a disabled button shows its disabled face and ignores the mouse. */
VOR_CAPI int VOR_CALL vor_button_enable(VorButton* button, int enable);
/** Shows (non-zero) or hides the button. */
VOR_CAPI int VOR_CALL vor_button_show(VorButton* button, int show);
/** The `VorButtonState`. */
VOR_CAPI int VOR_CALL vor_button_state(const VorButton* button);
/** 1 when enabled. */
VOR_CAPI int VOR_CALL vor_button_enabled(const VorButton* button);
/** The hit area into *out. */
VOR_CAPI int VOR_CALL vor_button_rect(const VorButton* button, VorRect* out);
/** The command id sent as `WM_COMMAND`'s wParam. */
VOR_CAPI int VOR_CALL vor_button_command_id(const VorButton* button);
/** \} */

/** \name Panels */
/** \{ */
/** A panel with no cells. */
VOR_CAPI VorPanel* VOR_CALL vor_panel_create(void);
/** Frees the panel and its cell pictures (see the lifetime rules for a listed one). */
VOR_CAPI void VOR_CALL vor_panel_destroy(VorPanel* panel);
/** Lays the panel out over (x, y, width, height) of the surface from nine bitmap resource ids in cell order (corners
 * and edges top-left to bottom-right, then the centre), loaded from the module named moduleName (NULL: the host
 * executable). A cell that does not load has size 0: the panel is laid out anyway and the call reports `VOR_E_LOAD`. */
VOR_CAPI int VOR_CALL vor_panel_init(VorPanel* panel, VorSurface* surface, int x, int y, int width, int height,
                                     const unsigned int* cellIds, const char* moduleName);
/** Non-zero: lists the nine cell sprites in the panel's surface, back to front. */
VOR_CAPI int VOR_CALL vor_panel_render(VorPanel* panel, int show);
/** Size of cell index (0..8, cell order) into *width and *height. */
VOR_CAPI int VOR_CALL vor_panel_cell_size(const VorPanel* panel, int index, int* width, int* height);
/** \} */

#ifdef __cplusplus
}
#endif

#endif /* VORIMAGE4_C_H */
