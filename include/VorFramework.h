// VorFramework.h - the small window / device-context layer VorImage4 is built on.
//
// CWnd holds a window handle, CDC owns a device-context handle, CPaintDC wraps BeginPaint/EndPaint,
// CClientDC wraps GetDC/ReleaseDC (for drawing outside WM_PAINT, e.g. a game loop). The current
// resource module is the module bitmap resources are loaded from; it defaults to the host executable.
#pragma once

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
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// gdiplus.h uses min/max unqualified.
#include <algorithm>
namespace Gdiplus { using std::min; using std::max; }
#include <gdiplus.h>

// The window a button reports to. Only the handle is used.
class CWnd {
public:
    HWND m_hWnd;

    CWnd() : m_hWnd(nullptr) {}
    explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}
    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    HWND Detach() { HWND h = m_hWnd; m_hWnd = nullptr; return h; }
    HWND GetSafeHwnd() const { return m_hWnd; }
};

// A device context. An attached DC is deleted (DeleteDC) when the object dies.
class CDC {
public:
    HDC m_hDC;

    CDC() : m_hDC(nullptr) {}
    ~CDC() { DeleteDC(); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    void Attach(HDC hdc) { m_hDC = hdc; }
    HDC Detach() { HDC h = m_hDC; m_hDC = nullptr; return h; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DeleteDC() {
        if (!m_hDC) return FALSE;
        BOOL ok = ::DeleteDC(m_hDC);
        m_hDC = nullptr;
        return ok;
    }
};

// The window's paint DC: BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC : public CDC {
public:
    HWND m_hWnd;
    PAINTSTRUCT m_ps;

    explicit CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr), m_ps() {
        if (m_hWnd) Attach(::BeginPaint(m_hWnd, &m_ps));
    }
    ~CPaintDC() {
        if (m_hWnd && m_ps.hdc) ::EndPaint(m_hWnd, &m_ps);
        Detach();  // a paint DC is not ours to DeleteDC
    }

protected:
    // For CClientDC: a window DC that is not a paint DC.
    CPaintDC(HWND hwnd, HDC hdc) : m_hWnd(hwnd), m_ps() { Attach(hdc); }
};

// The window's client-area DC (GetDC / ReleaseDC). Usable wherever a CPaintDC* is asked for,
// so a game loop can present outside WM_PAINT.
class CClientDC : public CPaintDC {
public:
    explicit CClientDC(CWnd* wnd) : CPaintDC(wnd ? wnd->m_hWnd : nullptr, ::GetDC(wnd ? wnd->m_hWnd : nullptr)) {}
    explicit CClientDC(HWND hwnd) : CPaintDC(hwnd, ::GetDC(hwnd)) {}
    ~CClientDC() {
        if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
        Detach();
    }
};

// Module that bitmap resources are loaded from. Null until set; Get returns the host executable then.
VORIMAGE4_API HINSTANCE AfxGetResourceHandle();
VORIMAGE4_API void AfxSetResourceHandle(HINSTANCE module);
#endif  // _WIN32
