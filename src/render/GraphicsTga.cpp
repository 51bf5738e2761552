// CVorGraphics: drawing TGA pictures into the back buffer with per-pixel alpha.
#include "CVorGraphics.h"
#include "CVorTga.h"
#include "render/SurfaceView.h"
#include "render/TgaBlit.h"

namespace {
// A picture as the blitters read it; false for a missing or empty picture.
bool SourceOf(const CVorTga* tga, TgaSource& source) {
    if (!tga || !tga->GetBuffer() || tga->GetWidth() == 0 || tga->GetHeight() == 0) return false;
    source.pixels = reinterpret_cast<const uint8_t*>(tga->GetBuffer());
    source.width = uint32_t(tga->GetWidth());
    source.height = uint32_t(tga->GetHeight());
    source.runs = tga->GetRunTable();
    return true;
}
}  // namespace

void CVorGraphics::Draw(CVorTga* tga, int x, int y) {
    TgaSource source;
    const PixelSurface surface = PixelsOf(*this);
    TgaBlitArea area;
    if (!SourceOf(tga, source) || !surface.Writable()) return;
    if (!ClipTgaBlitWhole(surface.width, surface.height, source.width, source.height, x, y, area)) return;
    BlitTgaAlpha(surface, source, area);
}

void CVorGraphics::Draw(CVorTga* tga, int x, int y, int srcX, int srcY, int width, int height) {
    TgaSource source;
    const PixelSurface surface = PixelsOf(*this);
    TgaBlitArea area;
    if (!SourceOf(tga, source) || !surface.Writable()) return;
    if (!ClipTgaBlit(surface.width, surface.height, source.width, source.height, x, y, srcX, srcY, width, height, area))
        return;
    BlitTgaAlpha(surface, source, area);
}

void CVorGraphics::Draw(CVorTga* tga, int x, int y, int srcX, int srcY, int width, int height, unsigned char alpha) {
    TgaSource source;
    const PixelSurface surface = PixelsOf(*this);
    TgaBlitArea area;
    if (!SourceOf(tga, source) || !surface.Writable()) return;
    if (!ClipTgaBlit(surface.width, surface.height, source.width, source.height, x, y, srcX, srcY, width, height, area))
        return;
    BlitTgaAlphaOpacity(surface, source, area, alpha);
}
