// CVorGraphics shapes and text: the solid-colour fill written into the back buffer, and brush
// fills, lines, frames and text drawn through the surface's GDI+ graphics object. GDI+ failures
// land in the graphics object's own last status (Gdiplus::Graphics::GetLastStatus).
#include <climits>
#include <cwchar>

#include "CVorBrush.h"
#include "CVorFont.h"
#include "CVorGraphics.h"
#include "CVorPen.h"
#include "base/GdiplusNew.h"
#include "render/FillKernel.h"
#include "render/SurfaceView.h"

namespace {

// UTF-16 units before the terminating zero, as GDI+ takes it.
INT TextLength(const wchar_t* text) {
    const size_t length = std::wcslen(text);
    return length > size_t(INT_MAX) ? INT_MAX : INT(length);
}

}  // namespace

void CVorGraphics::FillRectangle(int x, int y, int width, int height, unsigned char r, unsigned char g,
                                 unsigned char b) {
    FillSolidRect(PixelsOf(*this), x, y, width, height, r, g, b);
}

void CVorGraphics::FillRectangle(CVorBrush* brush, int x, int y, int width, int height) {
    Gdiplus::Graphics* graphics = GetGraphics();
    // GDI+ would mirror a rectangle of negative size: an empty one draws nothing here.
    if (!graphics || !brush || width <= 0 || height <= 0) return;
    if (Gdiplus::HatchBrush* hatch = brush->GetHatchBrush()) graphics->FillRectangle(hatch, x, y, width, height);
    if (Gdiplus::TextureBrush* texture = brush->GetTextureBrush()) {
        // The texture's origin sits at the rectangle's corner, wherever the rectangle is.
        graphics->TranslateTransform(Gdiplus::REAL(x), Gdiplus::REAL(y), Gdiplus::MatrixOrderPrepend);
        graphics->FillRectangle(texture, 0, 0, width, height);
        graphics->ResetTransform();
    }
}

void CVorGraphics::DrawLine(CVorPen* pen, int x1, int y1, int x2, int y2) {
    Gdiplus::Graphics* graphics = GetGraphics();
    if (!graphics || !pen || !pen->GetPen()) return;
    graphics->DrawLine(pen->GetPen(), x1, y1, x2, y2);
}

void CVorGraphics::DrawRectangle(CVorPen* pen, int x, int y, int width, int height) {
    Gdiplus::Graphics* graphics = GetGraphics();
    // A frame of no or negative size would be a line or a mirrored frame in GDI+: draw nothing.
    if (!graphics || !pen || !pen->GetPen() || width <= 0 || height <= 0) return;
    graphics->DrawRectangle(pen->GetPen(), x, y, width, height);
}

void CVorGraphics::Draw(const wchar_t* text, int x, int y, CVorFont* font, Gdiplus::SolidBrush* brush) {
    Gdiplus::Graphics* graphics = GetGraphics();
    if (!graphics || !text || !font) return;
    // A font or brush GDI+ never made goes to GDI+ as null; its failure is recorded in the graphics.
    const Gdiplus::PointF origin{static_cast<Gdiplus::REAL>(x), static_cast<Gdiplus::REAL>(y)};
    graphics->DrawString(text, TextLength(text), font->GetFont(), origin, brush);
}

void CVorGraphics::Draw(const wchar_t* text, int x, int y, int width, int height, CVorFont* font,
                        Gdiplus::SolidBrush* brush, Gdiplus::StringAlignment align) {
    Gdiplus::Graphics* graphics = GetGraphics();
    // GDI+ reads a zero-size layout rectangle as "no bounds": an empty box draws nothing here.
    if (!graphics || !text || !font || width <= 0 || height <= 0) return;
    // Each call has its own format: horizontal alignment as asked, the default (top) line alignment.
    // A format that fails keeps its failure to itself; the text is drawn all the same.
    Gdiplus::StringFormat* format = NewGdiplus<Gdiplus::StringFormat>(0, LANGID(0));
    if (format) format->SetAlignment(align);
    const Gdiplus::RectF layout{static_cast<Gdiplus::REAL>(x), static_cast<Gdiplus::REAL>(y),
                                static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(height)};
    graphics->DrawString(text, TextLength(text), font->GetFont(), layout, format, brush);
    delete format;
}

void CVorGraphics::SetNowFont(CVorFont* font) { m_nowFont = font; }
CVorFont* CVorGraphics::GetNowFont() const { return m_nowFont; }
