#pragma once
#include "CVorSprite.h"

class CVorTga;
class CVorBitmap;

/// A push button drawn as a sprite, with normal, hover, pressed and disabled faces.
///
/// The host forwards its mouse events; a press and a release inside the button send WM_COMMAND
/// (wParam = command id, lParam = 0) to the parent window. Hand the button to
/// CVorGraphics::AddSprite in every frame in which it is to appear.
///
/// The button points to the face images and the parent window and never frees them. Copies are
/// independent buttons showing the same images (each face sprite owns its own text brush).
class VORIMAGE4_API CVorButton {
public:
    /// The mouse state of an enabled button.
    enum State {
        kNormal = 0,  ///< the mouse is elsewhere
        kHover = 1,   ///< the mouse is over the button
        kPressed = 2  ///< pressed inside the button and not yet released
    };

    CVorButton();                                    ///< A button with no faces and an empty hit area.
    CVorButton(const CVorButton& other);             ///< An independent button with the same faces and place.
    CVorButton& operator=(const CVorButton& other);  ///< Same as the copy constructor.
    ~CVorButton();                                   ///< Frees the face sprites' text brushes.

    /// Four separate faces, each placed at (x, y) in its own size; the hit area is the normal
    /// face's size. A null disabled face leaves face 3 as it was.
    void Init(CWnd* parent, int commandId, int x, int y, CVorTga* normal, CVorTga* hover, CVorTga* pressed,
              CVorTga* disabled);
    /// The same with bitmap faces.
    void Init(CWnd* parent, int commandId, int x, int y, CVorBitmap* normal, CVorBitmap* hover, CVorBitmap* pressed,
              CVorBitmap* disabled);
    /// count (3 or 4) faces stacked vertically in one image. Any other count leaves the button
    /// with no faces and an empty hit area.
    void Init(CWnd* parent, int commandId, int x, int y, CVorTga* strip, int count);
    /// The same with a bitmap strip.
    void Init(CWnd* parent, int commandId, int x, int y, CVorBitmap* strip, int count);
    /// count (3 or 4) faces side by side in one image.
    void InitH(CWnd* parent, int commandId, int x, int y, CVorTga* strip, int count);
    /// The same with a bitmap strip.
    void InitH(CWnd* parent, int commandId, int x, int y, CVorBitmap* strip, int count);

    /// Mouse moved to (x, y), surface pixels; 1 when the button just became hovered. A disabled or
    /// hidden button ignores the mouse (returns 0).
    int OnMouseMove(int x, int y);
    /// Button pressed at (x, y); 1 when the press hit the button.
    int OnMouseDown(int x, int y);
    /// Button released at (x, y); 1 when this completed a click and the parent window handled the
    /// WM_COMMAND. A click whose parent window is missing or already destroyed sends nothing and
    /// returns 0.
    int OnMouseUp(int x, int y);

    /// Enables (non-zero) or disables the button; a disabled button shows face 3.
    void Enable(int enable);
    /// Shows (non-zero) or hides the button.
    void Show(int show);
    /// The face to show now: null when hidden, the disabled face when disabled, else the state's.
    CVorSprite* GetSprite();
    /// Face sprite 0 normal, 1 hover, 2 pressed, 3 disabled (null for any other index).
    CVorSprite* GetFace(int index);
    /// The State now.
    int GetState() const;
    /// @{
    /// The hit area.
    int GetX() const;
    int GetY() const;
    int GetWidth() const;
    int GetHeight() const;
    /// @}
    int GetEnable() const;     ///< 1 when enabled.
    int GetShow() const;       ///< 1 when shown.
    int GetCommandId() const;  ///< The id sent as WM_COMMAND's wParam.

private:
    void SetTarget(CWnd* parent, int commandId);
    void SetArea(int x, int y, int width, int height);
    int HitTest(int x, int y) const;
    int Reacts() const;

    CVorSprite m_faces[4];
    int m_state;
    int m_x;
    int m_y;
    int m_width;
    int m_height;
    int m_enable;
    int m_commandId;
    CWnd* m_parent;
    int m_show;
};
