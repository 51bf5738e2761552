// CGameBackImage - a panel of any size drawn as a nine-cell frame from nine bitmap resources:
// four corners at their own size, four edges and the centre tiled. Call Render(1) every frame.
#pragma once
#include "CVorBitmap.h"
#include "CVorBrush.h"
#include "CVorSprite.h"

class CVorGraphics;

class VORIMAGE4_API CGameBackImage {
public:
    enum { kCells = 9, kBrushes = 5 };

    CGameBackImage();
    CGameBackImage(const CGameBackImage& other);
    CGameBackImage& operator=(const CGameBackImage& other);
    ~CGameBackImage();

    // cellIds: nine bitmap resource ids in cell order (top-left, top, top-right, left, right,
    // bottom-left, bottom, bottom-right, centre) from the module named moduleName (null = host exe).
    bool InitBackImage(CVorGraphics* graphics, Gdiplus::Rect rect, const unsigned int* cellIds, const char* moduleName);
    // Non-zero: hands the nine cell sprites to the surface, back to front.
    void Render(int show);

    CVorBitmap* GetCell(int index);
    CVorSprite* GetCellSprite(int index);
    Gdiplus::Rect GetFrameRect() const;

private:
    CVorGraphics* m_graphics;
    CVorBitmap m_cells[kCells];
    CVorBrush m_brushes[kBrushes];
    CVorSprite m_sprites[kCells];
    int m_x;
    int m_y;
    int m_width;
    int m_height;
};
