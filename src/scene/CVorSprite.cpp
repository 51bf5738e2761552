// A sprite: what is drawn (one of six kinds), how it is placed and sized, and the frame stepper
// that animates GIF sprites.
#include "CVorSprite.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "CVorBitmap.h"
#include "CVorFont.h"
#include "CVorTga.h"
#include "base/GdiplusNew.h"

namespace {

// Frames of an animated GIF run along the time dimension.
const GUID kFrameDimensionTime = {0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};

// A code page needs at most this many bytes for one UTF-16 unit (GB18030 and UTF-8 sequences),
// so the first kMaxTextUnits units come from a bounded prefix of the text.
const size_t kMaxBytesPerUnit = 4;

int ClampToInt(int64_t v) {
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return int(v);
}

// trunc(v) as an int; values beyond the int range (or not a number) are clamped.
int TruncToInt(double v) {
    if (!(v == v)) return 0;
    if (v >= double(INT_MAX)) return INT_MAX;
    if (v <= double(INT_MIN)) return INT_MIN;
    return int(v);
}

int ImageSize(unsigned long size) { return size > (unsigned long)INT_MAX ? INT_MAX : int(size); }

// ANSI text to UTF-16 in out (capacity units + terminator). Text that converts to more than
// capacity units is cut after capacity units (one fewer when that would split a surrogate pair).
void AnsiToWide(const std::string& text, wchar_t* out, size_t capacity) {
    out[0] = L'\0';
    if (text.empty()) return;
    const size_t prefix = std::min(text.size(), capacity * kMaxBytesPerUnit + kMaxBytesPerUnit);
    const int bytes = int(prefix);
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0);
    if (units <= 0) return;
    if (size_t(units) <= capacity) {
        const int written = ::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, out, int(capacity));
        out[written > 0 ? written : 0] = L'\0';
        return;
    }
    std::vector<wchar_t> all(static_cast<size_t>(units));
    const int written = ::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, all.data(), units);
    if (written <= 0) return;
    size_t keep = std::min(size_t(written), capacity);
    if (keep == capacity && keep < size_t(written) && all[keep - 1] >= 0xD800 && all[keep - 1] <= 0xDBFF) --keep;
    std::memcpy(out, all.data(), keep * sizeof(wchar_t));
    out[keep] = L'\0';
}

// A text brush of its own in the same colour (null when the source has none or GDI+ cannot make one).
Gdiplus::SolidBrush* CloneTextBrush(const Gdiplus::SolidBrush* brush) {
    if (!brush) return nullptr;
    Gdiplus::Color colour;
    brush->GetColor(&colour);
    return NewGdiplus<Gdiplus::SolidBrush>(colour);
}

}  // namespace

CVorSprite::CVorSprite()
    : CVorSpriteRect(), m_tga(nullptr), m_bitmap(nullptr), m_pen(nullptr), m_box(0), m_penX(0), m_penY(0),
      m_penWidth(0), m_penHeight(0), m_brush(nullptr), m_color(nullptr), m_font(nullptr), m_textA(),
      m_textBrush(nullptr), m_alignment(Gdiplus::StringAlignmentNear), m_alpha(255), m_update(0), m_sort(0),
      m_animation(nullptr), m_frameIndex(0), m_frameTick(0) {
    std::memset(m_text, 0, sizeof m_text);
}

CVorSprite::CVorSprite(const CVorSprite& other)
    : CVorSpriteRect(other), m_tga(other.m_tga), m_bitmap(other.m_bitmap), m_pen(other.m_pen), m_box(other.m_box),
      m_penX(other.m_penX), m_penY(other.m_penY), m_penWidth(other.m_penWidth), m_penHeight(other.m_penHeight),
      m_brush(other.m_brush), m_color(other.m_color), m_font(other.m_font), m_textA(other.m_textA),
      m_textBrush(CloneTextBrush(other.m_textBrush)), m_alignment(other.m_alignment), m_alpha(other.m_alpha),
      m_update(other.m_update), m_sort(other.m_sort), m_animation(other.m_animation), m_frameIndex(other.m_frameIndex),
      m_frameTick(other.m_frameTick) {
    std::memcpy(m_text, other.m_text, sizeof m_text);
}

CVorSprite& CVorSprite::operator=(const CVorSprite& other) {
    if (this == &other) return *this;
    // Each sprite owns its text brush: take a clone of the other's, release the one it replaces.
    Gdiplus::SolidBrush* brush = CloneTextBrush(other.m_textBrush);
    DeleteTextBrush();
    m_textBrush = brush;
    CVorSpriteRect::operator=(other);
    m_tga = other.m_tga;
    m_bitmap = other.m_bitmap;
    m_pen = other.m_pen;
    m_box = other.m_box;
    m_penX = other.m_penX;
    m_penY = other.m_penY;
    m_penWidth = other.m_penWidth;
    m_penHeight = other.m_penHeight;
    m_brush = other.m_brush;
    m_color = other.m_color;
    m_font = other.m_font;
    std::memcpy(m_text, other.m_text, sizeof m_text);
    m_textA = other.m_textA;
    m_alignment = other.m_alignment;
    m_alpha = other.m_alpha;
    m_update = other.m_update;
    m_sort = other.m_sort;
    m_animation = other.m_animation;
    m_frameIndex = other.m_frameIndex;
    m_frameTick = other.m_frameTick;
    return *this;
}

CVorSprite::~CVorSprite() { DeleteTextBrush(); }

void CVorSprite::DeleteTextBrush() {
    delete m_textBrush;
    m_textBrush = nullptr;
}

void CVorSprite::ClearKind() {
    m_tga = nullptr;
    m_bitmap = nullptr;
    m_pen = nullptr;
    m_brush = nullptr;
    m_color = nullptr;
    m_font = nullptr;
}

void CVorSprite::Init(CVorTga* tga) {
    DeleteTextBrush();
    ClearKind();
    m_tga = tga;
    m_alpha = 255;
    m_animation = nullptr;
    SetNewRect(0, 0, 0, 0, 0, 0);
}

void CVorSprite::Init(CVorBitmap* bitmap) {
    DeleteTextBrush();
    ClearKind();
    m_bitmap = bitmap;
    m_alpha = 255;
    m_animation = nullptr;
    SetNewRect(0, 0, 0, 0, 0, 0);
    if (bitmap && bitmap->GetFrames() > 0) {
        m_animation = &CVorSprite::StepFrame;
        m_frameIndex = 0;
        m_frameTick = 0;
    }
}

void CVorSprite::Init(CVorBitmap* bitmap, AnimationProc proc) {
    if (proc) m_animation = proc;
    DeleteTextBrush();
    ClearKind();
    m_bitmap = bitmap;
    m_alpha = 255;
    SetNewRect(0, 0, 0, 0, 0, 0);
}

// Pen, colour and brush sprites start the same way: no picture, no text, opaque, no animation,
// an empty shape.
void CVorSprite::ResetForShape() {
    DeleteTextBrush();
    ClearKind();
    m_alpha = 255;
    m_animation = nullptr;
    m_penX = m_penY = m_penWidth = m_penHeight = 0;
}

void CVorSprite::Init(CVorPen* pen, int box) {
    ResetForShape();
    m_pen = pen;
    m_box = box;
    SetNewRect(0, 0, 0, 0, 0, 0);
}

void CVorSprite::Init(CVorColor* colour) {
    ResetForShape();
    m_color = colour;
    SetNewRect(0, 0, 0, 0, 0, 0);
}

void CVorSprite::Init(CVorBrush* brush) {
    ResetForShape();
    m_brush = brush;
    SetNewRect(0, 0, 0, 0, 0, 0);
}

void CVorSprite::Init(CVorFont* font, const char* text, const Gdiplus::Color& colour,
                      Gdiplus::StringAlignment alignment) {
    if (!text) text = "";
    // The host may re-initialise an unchanged text every frame without making it dirty.
    if (font == m_font && m_textA == text) return;
    DeleteTextBrush();
    ClearKind();
    m_font = font;
    m_textBrush = NewGdiplus<Gdiplus::SolidBrush>(colour);
    m_alignment = alignment;
    m_textA = text;
    AnsiToWide(m_textA, m_text, kMaxTextUnits);
    m_alpha = 255;
    m_animation = nullptr;
    SetNewRect(0, 0, 0, 0, 0, 0);
}

void CVorSprite::SetRect(int x, int y, int width, int height, int srcX, int srcY, unsigned char alpha) {
    if (m_pen || m_brush || m_color) {
        m_penX = x;
        m_penY = y;
        m_penWidth = width;
        m_penHeight = height;
        // The sprite's rectangle also covers the shape's right and bottom edge.
        width = ClampToInt(int64_t(width) + 1);
        height = ClampToInt(int64_t(height) + 1);
    }
    if (width == 0) {
        if (m_tga)
            width = ImageSize(m_tga->GetWidth());
        else if (m_bitmap)
            width = m_bitmap->GetWidth();
        else if (m_font)
            width = ClampToInt(int64_t(TruncToInt(0.75 * m_font->GetSize())) * (int64_t(m_textA.size()) + 2));
    }
    if (height == 0) {
        if (m_tga)
            height = ImageSize(m_tga->GetHeight());
        else if (m_bitmap)
            height = m_bitmap->GetHeight();
        else if (m_font)
            height = TruncToInt(1.5 * m_font->GetSize());
    }
    if (srcX < 0) srcX = 0;
    if (srcY < 0) srcY = 0;
    SetNewRect(x, y, width, height, srcX, srcY);
    // Opacity takes no part in the dirty decision.
    m_alpha = alpha;
}

void CVorSprite::SetRect(int x, int y, unsigned char alpha) { SetRect(x, y, 0, 0, 0, 0, alpha); }

void CVorSprite::StepFrame(CVorSprite* sprite) {
    if (sprite) sprite->StepFrameAt(::GetTickCount());
}

void CVorSprite::StepFrameAt(DWORD now) {
    if (!m_bitmap) return;
    // Unsigned difference: the tick counter's wrap-around is harmless.
    const DWORD elapsed = now - m_frameTick;
    const int delay = m_bitmap->GetDelayTime();
    const uint64_t wait = delay > 0 ? uint64_t(delay) * 10u : 0u;
    if (uint64_t(elapsed) <= wait) return;
    ++m_frameIndex;
    m_frameTick = now;
    if (m_frameIndex >= m_bitmap->GetFrames()) m_frameIndex = 0;
    if (Gdiplus::Bitmap* image = m_bitmap->GetBitmap())
        image->SelectActiveFrame(&kFrameDimensionTime, UINT(m_frameIndex));
    // The new frame is drawn whole at the sprite's next placement.
    m_qiangzhi = 1;
}

CVorTga* CVorSprite::GetTga() const { return m_tga; }
CVorBitmap* CVorSprite::GetBitmap() const { return m_bitmap; }
CVorPen* CVorSprite::GetPen() const { return m_pen; }
int CVorSprite::GetBox() const { return m_box; }
int CVorSprite::GetPenX() const { return m_penX; }
int CVorSprite::GetPenY() const { return m_penY; }
int CVorSprite::GetPenWidth() const { return m_penWidth; }
int CVorSprite::GetPenHeight() const { return m_penHeight; }
CVorBrush* CVorSprite::GetBrush() const { return m_brush; }
CVorColor* CVorSprite::GetColor() const { return m_color; }
CVorFont* CVorSprite::GetFont() const { return m_font; }
Gdiplus::SolidBrush* CVorSprite::GetSolidBrush() const { return m_textBrush; }
Gdiplus::StringAlignment CVorSprite::GetStringAlignment() const { return m_alignment; }
unsigned char CVorSprite::GetAlpha() const { return m_alpha; }
int CVorSprite::GetUpdate() const { return m_update; }
void CVorSprite::SetUpdate(int update) { m_update = update; }
int CVorSprite::GetSort() const { return m_sort; }
void CVorSprite::SetSort(int sort) { m_sort = sort; }
CVorSprite::AnimationProc CVorSprite::GetpfnAnmaionProc() const { return m_animation; }
wchar_t* CVorSprite::GetString() { return m_text; }
wchar_t* CVorSprite::GetStringW() { return m_text; }
const char* CVorSprite::GetStringA() const { return m_textA.c_str(); }
int CVorSprite::GetFrameIndex() const { return m_frameIndex; }
DWORD CVorSprite::GetFrameTick() const { return m_frameTick; }
