// An image button: four face sprites, a three-state mouse machine, and WM_COMMAND on a click.
#include "CVorButton.h"

#include <climits>
#include <cstdint>

#include "CVorBitmap.h"
#include "CVorTga.h"

namespace {

const int kFaces = 4;
const int kDisabledFace = 3;

int ImageWidth(CVorTga* image) {
    return image ? int(image->GetWidth() > (unsigned long)INT_MAX ? INT_MAX : image->GetWidth()) : 0;
}
int ImageHeight(CVorTga* image) {
    return image ? int(image->GetHeight() > (unsigned long)INT_MAX ? INT_MAX : image->GetHeight()) : 0;
}
int ImageWidth(CVorBitmap* image) { return image ? image->GetWidth() : 0; }
int ImageHeight(CVorBitmap* image) { return image ? image->GetHeight() : 0; }

struct FaceSize {
    int width;
    int height;
};

// Faces 0 to 2 (and 3 when a disabled image is given) show their own image at (x, y) in its own
// size. The hit area is the normal face's size.
template <class Image>
FaceSize PlaceSeparateFaces(CVorSprite* faces, int x, int y, Image* const (&images)[kFaces]) {
    for (int k = 0; k < kFaces; ++k) {
        if (k == kDisabledFace && !images[k]) break;
        faces[k].Init(images[k]);
        faces[k].SetRect(x, y, 255);
    }
    return FaceSize{ImageWidth(images[0]), ImageHeight(images[0])};
}

// Faces cut from one strip of count (3 or 4) equal parts, stacked (across = false) or side by
// side (across = true). Rows or columns left over by the division are never shown. With any other
// count every face becomes empty and the hit area 0 x 0, so the button neither shows nor reacts.
template <class Image>
FaceSize PlaceStripFaces(CVorSprite* faces, int x, int y, Image* strip, int count, bool across) {
    if (count != 3 && count != 4) {
        for (int k = 0; k < kFaces; ++k) faces[k].Init(static_cast<Image*>(nullptr));
        return FaceSize{0, 0};
    }
    const int stripWidth = ImageWidth(strip), stripHeight = ImageHeight(strip);
    const int faceWidth = across ? stripWidth / count : stripWidth;
    const int faceHeight = across ? stripHeight : stripHeight / count;
    for (int k = 0; k < count; ++k) {
        faces[k].Init(strip);
        faces[k].SetRect(x, y, faceWidth, faceHeight, across ? k * faceWidth : 0, across ? 0 : k * faceHeight, 255);
    }
    return FaceSize{faceWidth, faceHeight};
}

}  // namespace

CVorButton::CVorButton()
    : m_state(kNormal), m_x(0), m_y(0), m_width(0), m_height(0), m_enable(1), m_commandId(0), m_parent(nullptr),
      m_show(1) {}

// Member by member: each face sprite copies as a sprite does (its own text brush), and the copy
// points to the same images and parent window, none of which a button ever frees.
// The compiler's own loop over the face array uses a reserved name, which clang-tidy reports.
// NOLINTBEGIN(bugprone-reserved-identifier)
CVorButton::CVorButton(const CVorButton& other) = default;
CVorButton& CVorButton::operator=(const CVorButton& other) = default;
// NOLINTEND(bugprone-reserved-identifier)
CVorButton::~CVorButton() = default;

void CVorButton::SetTarget(CWnd* parent, int commandId) {
    m_commandId = commandId;
    m_parent = parent;
}

void CVorButton::SetArea(int x, int y, int width, int height) {
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
}

void CVorButton::Init(CWnd* parent, int commandId, int x, int y, CVorTga* normal, CVorTga* hover, CVorTga* pressed,
                      CVorTga* disabled) {
    SetTarget(parent, commandId);
    CVorTga* const images[kFaces] = {normal, hover, pressed, disabled};
    const FaceSize size = PlaceSeparateFaces(m_faces, x, y, images);
    SetArea(x, y, size.width, size.height);
}

void CVorButton::Init(CWnd* parent, int commandId, int x, int y, CVorBitmap* normal, CVorBitmap* hover,
                      CVorBitmap* pressed, CVorBitmap* disabled) {
    SetTarget(parent, commandId);
    CVorBitmap* const images[kFaces] = {normal, hover, pressed, disabled};
    const FaceSize size = PlaceSeparateFaces(m_faces, x, y, images);
    SetArea(x, y, size.width, size.height);
}

void CVorButton::Init(CWnd* parent, int commandId, int x, int y, CVorTga* strip, int count) {
    SetTarget(parent, commandId);
    const FaceSize size = PlaceStripFaces(m_faces, x, y, strip, count, false);
    SetArea(x, y, size.width, size.height);
}

void CVorButton::Init(CWnd* parent, int commandId, int x, int y, CVorBitmap* strip, int count) {
    SetTarget(parent, commandId);
    const FaceSize size = PlaceStripFaces(m_faces, x, y, strip, count, false);
    SetArea(x, y, size.width, size.height);
}

void CVorButton::InitH(CWnd* parent, int commandId, int x, int y, CVorTga* strip, int count) {
    SetTarget(parent, commandId);
    const FaceSize size = PlaceStripFaces(m_faces, x, y, strip, count, true);
    SetArea(x, y, size.width, size.height);
}

void CVorButton::InitH(CWnd* parent, int commandId, int x, int y, CVorBitmap* strip, int count) {
    SetTarget(parent, commandId);
    const FaceSize size = PlaceStripFaces(m_faces, x, y, strip, count, true);
    SetArea(x, y, size.width, size.height);
}

// Half-open: the left and top edges are inside, the right and bottom edges outside. 64-bit sums,
// so a button at the far end of the int range does not wrap.
int CVorButton::HitTest(int x, int y) const {
    return x >= m_x && int64_t(x) < int64_t(m_x) + m_width && y >= m_y && int64_t(y) < int64_t(m_y) + m_height;
}

int CVorButton::Reacts() const { return m_enable != 0 && m_show != 0; }

int CVorButton::OnMouseMove(int x, int y) {
    if (!Reacts()) return 0;
    if (!HitTest(x, y)) {
        m_state = kNormal;  // leaving cancels a press in progress
        return 0;
    }
    if (m_state != kNormal) return 0;
    m_state = kHover;
    return 1;
}

int CVorButton::OnMouseDown(int x, int y) {
    if (!Reacts() || !HitTest(x, y)) return 0;
    m_state = kPressed;
    return 1;
}

int CVorButton::OnMouseUp(int x, int y) {
    if (!Reacts() || !HitTest(x, y) || m_state != kPressed) return 0;
    m_state = kNormal;
    // Nothing goes to a window that is gone: a handle that no longer names a window may already
    // have been given to another one.
    const HWND target = m_parent ? m_parent->m_hWnd : nullptr;
    if (!target || !::IsWindow(target)) return 0;
    // The id as an int made a WPARAM: on 64-bit a negative id arrives sign-extended, as a window
    // procedure reading (int)wParam or LOWORD(wParam) expects. The parent may destroy this button
    // while it handles the message, so nothing of it is touched afterwards.
    ::SendMessageA(target, WM_COMMAND, WPARAM(INT_PTR(m_commandId)), 0);
    return 1;
}

void CVorButton::Enable(int enable) { m_enable = enable; }
void CVorButton::Show(int show) { m_show = show; }

CVorSprite* CVorButton::GetSprite() {
    if (!m_show) return nullptr;
    if (!m_enable) return &m_faces[kDisabledFace];
    return &m_faces[m_state];
}

CVorSprite* CVorButton::GetFace(int index) { return index >= 0 && index < kFaces ? &m_faces[index] : nullptr; }
int CVorButton::GetState() const { return m_state; }
int CVorButton::GetX() const { return m_x; }
int CVorButton::GetY() const { return m_y; }
int CVorButton::GetWidth() const { return m_width; }
int CVorButton::GetHeight() const { return m_height; }
int CVorButton::GetEnable() const { return m_enable; }
int CVorButton::GetShow() const { return m_show; }
int CVorButton::GetCommandId() const { return m_commandId; }
