#pragma once
#include "CVorBitmap.h"
#include "CVorBrush.h"
#include "CVorSprite.h"

class CVorGraphics;

/// A panel of any size drawn as a nine-cell frame from nine bitmap resources: four corners at
/// their own size, four edges and the centre tiled. Call Render(1) in every frame in which the
/// panel is to appear, at its place in the frame's back-to-front order.
///
/// The object owns its nine cell images, five fill brushes and nine sprites; it must stay alive, at
/// the same address, while a surface lists its sprites. A copy shares the loaded pictures and
/// brushes (counted, released once) and lays out sprites of its own, so it draws the same panel and
/// outlives the object it was copied from.
class VORIMAGE4_API CGameBackImage {
public:
    /// Cell order of the nine resource ids and of GetCell.
    enum Cell {
        kTopLeft = 0,
        kTop = 1,
        kTopRight = 2,
        kLeft = 3,
        kRight = 4,
        kBottomLeft = 5,
        kBottom = 6,
        kBottomRight = 7,
        kCentre = 8
    };
    /// Counts of cells and of tiled fills (four edges and the centre).
    enum { kCells = 9, kBrushes = 5 };

    CGameBackImage();                             ///< No panel yet (Render draws nothing).
    CGameBackImage(const CGameBackImage& other);  ///< Shares the pictures and brushes, lays out its own sprites.
    CGameBackImage& operator=(const CGameBackImage& other);  ///< Same as the copy constructor.
    ~CGameBackImage();  ///< Lets go of the pictures and brushes (the last owner releases them).

    /// cellIds: nine bitmap resource ids in cell order, loaded from the module named moduleName
    /// (null = the host executable); afterwards the host executable is the current resource module.
    /// Always true: a cell that does not load (no such module or resource, null cellIds) has size 0.
    /// Lengths of a panel smaller than its corners are passed on unchanged (zero or negative), and
    /// such cells draw nothing.
    bool InitBackImage(CVorGraphics* graphics, Gdiplus::Rect rect, const unsigned int* cellIds, const char* moduleName);
    /// Non-zero: hands the nine cell sprites to the surface, back to front (centre, bottom, right,
    /// left and top edge, then the corners bottom-right, bottom-left, top-right, top-left).
    void Render(int show);

    CVorBitmap* GetCell(int index);        ///< Cell image in cell order (null outside 0..8).
    CVorSprite* GetCellSprite(int index);  ///< Sprite in drawing order (null outside 0..8).
    Gdiplus::Rect GetFrameRect() const;    ///< The panel's rectangle as given to InitBackImage.

private:
    void LayOutSprites();

    CVorGraphics* m_graphics;
    CVorBitmap m_cells[kCells];
    CVorBrush m_brushes[kBrushes];
    CVorSprite m_sprites[kCells];
    int m_x;
    int m_y;
    int m_width;
    int m_height;
};
