// A nine-cell panel: corner images at their own size, edges and centre filled with tiling texture
// brushes, all handed to the surface as sprites.
#include "CGameBackImage.h"

#include <climits>
#include <cstdint>

#include "CVorGraphics.h"

namespace {

// The cell image that each fill brush tiles (brush 0 to 4).
const int kBrushCell[CGameBackImage::kBrushes] = {CGameBackImage::kTop, CGameBackImage::kLeft, CGameBackImage::kRight,
                                                  CGameBackImage::kBottom, CGameBackImage::kCentre};

// Sprites in drawing order: 0 to 4 fill with brush 4 - s (centre, bottom, right, left, top edge),
// 5 to 8 show a corner.
const int kCentreSprite = 0, kBottomSprite = 1, kRightSprite = 2, kLeftSprite = 3, kTopSprite = 4;
const int kFillSprites = 5;
const int kCornerSprite[4] = {5, 6, 7, 8};
const int kCornerCell[4] = {CGameBackImage::kBottomRight, CGameBackImage::kBottomLeft, CGameBackImage::kTopRight,
                            CGameBackImage::kTopLeft};

// Panel arithmetic in 64 bits, saturated to int: a panel at the far end of the int range gives
// clamped positions rather than wrapped ones.
int Saturate(int64_t v) {
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return int(v);
}

}  // namespace

CGameBackImage::CGameBackImage() : m_graphics(nullptr), m_x(0), m_y(0), m_width(0), m_height(0) {}

// The pictures and brushes are shared with the original (each counted, released by the last
// holder); the sprites are laid out afresh so that they point to this object's own cells and
// brushes, never to the original's.
CGameBackImage::CGameBackImage(const CGameBackImage& other)
    : m_graphics(other.m_graphics), m_x(other.m_x), m_y(other.m_y), m_width(other.m_width), m_height(other.m_height) {
    for (int k = 0; k < kCells; ++k) m_cells[k] = other.m_cells[k];
    for (int b = 0; b < kBrushes; ++b) m_brushes[b] = other.m_brushes[b];
    LayOutSprites();
}

CGameBackImage& CGameBackImage::operator=(const CGameBackImage& other) {
    if (this == &other) return *this;
    m_graphics = other.m_graphics;
    for (int k = 0; k < kCells; ++k) m_cells[k] = other.m_cells[k];
    for (int b = 0; b < kBrushes; ++b) m_brushes[b] = other.m_brushes[b];
    m_x = other.m_x;
    m_y = other.m_y;
    m_width = other.m_width;
    m_height = other.m_height;
    LayOutSprites();
    return *this;
}

// Members die in reverse order of declaration: sprites, then brushes, then cell images.
CGameBackImage::~CGameBackImage() = default;

bool CGameBackImage::InitBackImage(CVorGraphics* graphics, Gdiplus::Rect rect, const unsigned int* cellIds,
                                   const char* moduleName) {
    m_graphics = graphics;
    // The cells come from the named module; a name that names no loaded module loads none.
    HINSTANCE module = ::GetModuleHandleA(moduleName);
    AfxSetResourceHandle(module);
    for (int k = 0; k < kCells; ++k) m_cells[k].Init(cellIds ? module : nullptr, cellIds ? cellIds[k] : 0u);
    for (int b = 0; b < kBrushes; ++b) m_brushes[b].Init(&m_cells[kBrushCell[b]], Gdiplus::WrapModeTile);
    m_x = rect.X;
    m_y = rect.Y;
    m_width = rect.Width;
    m_height = rect.Height;
    LayOutSprites();
    AfxSetResourceHandle(::GetModuleHandleA(nullptr));
    return true;
}

// Corner sprites take their cell image (placed by Render); edge and centre sprites take their brush
// and their rectangle. Each edge runs between the corners at its ends in its own cell's thickness;
// the centre covers the whole panel under them. Lengths are not clamped.
void CGameBackImage::LayOutSprites() {
    for (int c = 0; c < 4; ++c) m_sprites[kCornerSprite[c]].Init(&m_cells[kCornerCell[c]]);

    const int64_t X = m_x, Y = m_y, W = m_width, H = m_height;
    auto w = [this](int cell) { return int64_t(m_cells[cell].GetWidth()); };
    auto h = [this](int cell) { return int64_t(m_cells[cell].GetHeight()); };
    struct Fill {
        int sprite;
        int64_t x, y, width, height;
    };
    const Fill fills[kFillSprites] = {
        {kTopSprite, X + w(kTopLeft), Y, W - w(kTopLeft) - w(kTopRight), h(kTop)},
        {kLeftSprite, X, Y + h(kTopLeft), w(kLeft), H - h(kTopLeft) - h(kBottomLeft)},
        {kRightSprite, X + W - w(kRight), Y + h(kTopRight), w(kRight), H - h(kTopRight) - h(kBottomRight)},
        {kBottomSprite, X + w(kBottomLeft), Y + H - h(kBottom), W - w(kBottomLeft) - w(kBottomRight), h(kBottom)},
        {kCentreSprite, X, Y, W, H},
    };
    for (const Fill& f : fills) {
        CVorSprite& sprite = m_sprites[f.sprite];
        sprite.Init(&m_brushes[kBrushes - 1 - f.sprite]);
        sprite.SetRect(Saturate(f.x), Saturate(f.y), Saturate(f.width), Saturate(f.height), 0, 0, 255);
    }
}

void CGameBackImage::Render(int show) {
    if (!show || !m_graphics) return;
    for (int s = 0; s < kFillSprites; ++s) m_graphics->AddSprite(&m_sprites[s]);
    const int64_t X = m_x, Y = m_y, W = m_width, H = m_height;
    for (int c = 0; c < 4; ++c) {
        // Corner sizes are asked of the cell images at each call.
        const CVorBitmap& cell = m_cells[kCornerCell[c]];
        const bool right = kCornerCell[c] == kTopRight || kCornerCell[c] == kBottomRight;
        const bool bottom = kCornerCell[c] == kBottomLeft || kCornerCell[c] == kBottomRight;
        const int64_t x = right ? X + W - cell.GetWidth() : X;
        const int64_t y = bottom ? Y + H - cell.GetHeight() : Y;
        m_graphics->AddSprite(&m_sprites[kCornerSprite[c]], Saturate(x), Saturate(y), 255);
    }
}

CVorBitmap* CGameBackImage::GetCell(int index) { return index >= 0 && index < kCells ? &m_cells[index] : nullptr; }

CVorSprite* CGameBackImage::GetCellSprite(int index) {
    return index >= 0 && index < kCells ? &m_sprites[index] : nullptr;
}

Gdiplus::Rect CGameBackImage::GetFrameRect() const { return Gdiplus::Rect(m_x, m_y, m_width, m_height); }
