/// \file
/// The small window / device-context layer VorImage4 is built on.
///
/// CWnd holds a window handle, CDC owns a device-context handle, CPaintDC wraps BeginPaint/EndPaint,
/// CClientDC wraps GetDC/ReleaseDC (for drawing outside WM_PAINT, e.g. a game loop). The current
/// resource module is the module bitmap resources are loaded from; it defaults to the host executable.
#pragma once

/// \def VORIMAGE4_API
/// Exports a class from the DLL while it is built (VORIMAGE4_BUILD) and imports it in a host;
/// empty for a static build (VORIMAGE4_STATIC) and off Windows.

#if defined(_WIN32)
#  if defined(VORIMAGE4_BUILD)
#    define VORIMAGE4_API __declspec(dllexport)
#  elif defined(VORIMAGE4_STATIC)
#    define VORIMAGE4_API
#  else
#    define VORIMAGE4_API __declspec(dllimport)
#  endif
#else
#  define VORIMAGE4_API
#endif

#if defined(_WIN32)
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
// gdiplus.h uses min/max unqualified.
#  include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#  include <gdiplus.h>

/// A window, by handle (the window a button reports to). The object never destroys the window.
class CWnd {
public:
    HWND m_hWnd;  ///< the window, null when none

    CWnd() : m_hWnd(nullptr) {}                 ///< No window.
    explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}  ///< Refers to hwnd.
    void Attach(HWND hwnd) { m_hWnd = hwnd; }   ///< Refers to hwnd from now on.
    /// Forgets the window and returns it.
    HWND Detach() {
        HWND h = m_hWnd;
        m_hWnd = nullptr;
        return h;
    }
    HWND GetSafeHwnd() const { return m_hWnd; }  ///< The window, null when none.
};

/// A device context. An attached DC is deleted (DeleteDC) when the object dies.
class CDC {
public:
    HDC m_hDC;  ///< the device context, null when none

    CDC() : m_hDC(nullptr) {}  ///< No DC.
    ~CDC() { DeleteDC(); }     ///< Deletes an attached DC.
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    void Attach(HDC hdc) { m_hDC = hdc; }  ///< Takes ownership of hdc.
    /// Gives up the DC without deleting it and returns it.
    HDC Detach() {
        HDC h = m_hDC;
        m_hDC = nullptr;
        return h;
    }
    HDC GetSafeHdc() const { return m_hDC; }  ///< The DC, null when none.
    /// Deletes the attached DC; FALSE when there is none or DeleteDC fails.
    BOOL DeleteDC() {
        if (!m_hDC) return FALSE;
        BOOL ok = ::DeleteDC(m_hDC);
        m_hDC = nullptr;
        return ok;
    }
};

/// The window's paint DC: BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC : public CDC {
public:
    HWND m_hWnd;       ///< the window painted
    PAINTSTRUCT m_ps;  ///< what BeginPaint filled in

    /// BeginPaint on the window (nothing when wnd is null).
    explicit CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr), m_ps() {
        if (m_hWnd) Attach(::BeginPaint(m_hWnd, &m_ps));
    }
    /// EndPaint.
    ~CPaintDC() {
        if (m_hWnd && m_ps.hdc) ::EndPaint(m_hWnd, &m_ps);
        Detach();  // a paint DC is not ours to DeleteDC
    }

protected:
    /// For CClientDC: a window DC that is not a paint DC.
    CPaintDC(HWND hwnd, HDC hdc) : m_hWnd(hwnd), m_ps() { Attach(hdc); }
};

/// The window's client-area DC (GetDC / ReleaseDC). Usable wherever a CPaintDC* is asked for,
/// so a game loop can present outside WM_PAINT.
class CClientDC : public CPaintDC {
public:
    /// GetDC of the window.
    explicit CClientDC(CWnd* wnd) : CPaintDC(wnd ? wnd->m_hWnd : nullptr, ::GetDC(wnd ? wnd->m_hWnd : nullptr)) {}
    /// GetDC of hwnd.
    explicit CClientDC(HWND hwnd) : CPaintDC(hwnd, ::GetDC(hwnd)) {}
    /// ReleaseDC.
    ~CClientDC() {
        if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
        Detach();
    }
};

/// The module bitmap resources are loaded from: the host executable until set.
VORIMAGE4_API HINSTANCE AfxGetResourceHandle();
/// Makes module the current resource module (null: the host executable again).
VORIMAGE4_API void AfxSetResourceHandle(HINSTANCE module);
#endif  // _WIN32
