// CVorButton - a push button drawn as a sprite, with normal, hover, pressed and disabled faces.
// The host forwards mouse events; a press and release inside sends WM_COMMAND (wParam = command
// id, lParam = 0) to the parent window. Hand the button to CVorGraphics::AddSprite every frame.
#pragma once
#include "CVorSprite.h"

class CVorTga;
class CVorBitmap;

class VORIMAGE4_API CVorButton {
public:
    enum State { kNormal = 0, kHover = 1, kPressed = 2 };

    CVorButton();
    CVorButton(const CVorButton& other);
    CVorButton& operator=(const CVorButton& other);
    ~CVorButton();

    // Four separate faces (the disabled one may be null).
    void Init(CWnd* parent, int commandId, int x, int y, CVorTga* normal, CVorTga* hover, CVorTga* pressed, CVorTga* disabled);
    void Init(CWnd* parent, int commandId, int x, int y, CVorBitmap* normal, CVorBitmap* hover, CVorBitmap* pressed, CVorBitmap* disabled);
    // count (3 or 4) faces stacked vertically in one image.
    void Init(CWnd* parent, int commandId, int x, int y, CVorTga* strip, int count);
    void Init(CWnd* parent, int commandId, int x, int y, CVorBitmap* strip, int count);
    // count (3 or 4) faces side by side in one image.
    void InitH(CWnd* parent, int commandId, int x, int y, CVorTga* strip, int count);
    void InitH(CWnd* parent, int commandId, int x, int y, CVorBitmap* strip, int count);

    int OnMouseMove(int x, int y);  // 1 when the button just became hovered
    int OnMouseDown(int x, int y);  // 1 when the press hit the button
    int OnMouseUp(int x, int y);    // 1 when this completed a click (WM_COMMAND sent)

    void Enable(int enable);
    void Show(int show);
    // The face to show now: null when hidden, the disabled face when disabled, else the state's.
    CVorSprite* GetSprite();
    CVorSprite* GetFace(int index);
    int GetState() const;
    int GetX() const;
    int GetY() const;
    int GetWidth() const;
    int GetHeight() const;
    int GetEnable() const;
    int GetShow() const;
    int GetCommandId() const;

private:
    int HitTest(int x, int y) const;

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
