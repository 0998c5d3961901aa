// The window functions over handles; other programs' windows go to the
// desktop backend (Desktop.h).

#include "platform/ui/Window.h"

#include "platform/ui/Desktop.h"
#include "platform/ui/WindowState.h"

using lumo::WindowState;

LRESULT SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->SendMessage(Msg, wParam, lParam)
               : lumo::foreignSendMessage(hWnd, Msg, wParam, lParam);
}

BOOL IsWindow(HWND hWnd) {
    return CWnd::FromHandle(hWnd) != nullptr || lumo::foreignIsWindow(hWnd);
}

BOOL DestroyWindow(HWND hWnd) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->DestroyWindow() : FALSE;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->ShowWindow(nCmdShow) : lumo::foreignShowWindow(hWnd, nCmdShow);
}

BOOL UpdateWindow(HWND hWnd) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return FALSE;
    wnd->UpdateWindow();
    return TRUE;
}

BOOL InvalidateRect(HWND hWnd, LPCRECT lpRect, BOOL bErase) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return FALSE;
    wnd->InvalidateRect(lpRect, bErase);
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return FALSE;
    wnd->GetClientRect(lpRect);
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return FALSE;
    wnd->ClientToScreen(lpPoint);
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return FALSE;
    wnd->ScreenToClient(lpPoint);
    return TRUE;
}

HWND SetCapture(HWND hWnd) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    CWnd* previous = lumo::captureWindow();
    if (wnd)
        lumo::setCaptureWindow(wnd);
    return previous ? previous->m_hWnd : nullptr;
}

BOOL ReleaseCapture() {
    lumo::setCaptureWindow(nullptr);
    return TRUE;
}

HWND GetCapture() {
    CWnd* wnd = lumo::captureWindow();
    return wnd ? wnd->m_hWnd : nullptr;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return lumo::foreignSetWindowPos(hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags);
    // Top-most ordering has no meaning for the single program window.
    const bool special = hWndInsertAfter == HWND_TOPMOST || hWndInsertAfter == HWND_NOTOPMOST;
    return wnd->SetWindowPos(special ? nullptr : CWnd::FromHandle(hWndInsertAfter), X, Y, cx, cy,
                             special ? (uFlags | SWP_NOZORDER) : uFlags);
}

BOOL SetForegroundWindow(HWND hWnd) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->SetForegroundWindow() : lumo::foreignSetForegroundWindow(hWnd);
}

UINT GetDoubleClickTime() {
    return 500;
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXSCREEN:
        return 800;
    case SM_CYSCREEN:
        return 480;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    default:
        return 0;
    }
}

SHORT GetKeyState(int nVirtKey) {
    const BYTE modifiers = lumo::currentKeyModifiers();
    const bool down = (nVirtKey == VK_SHIFT && (modifiers & 0x04)) ||
                      (nVirtKey == VK_CONTROL && (modifiers & 0x08)) ||
                      (nVirtKey == VK_MENU && (modifiers & 0x10));
    return down ? static_cast<SHORT>(0x8000) : 0;
}

HWND FindWindow(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
    for (CWnd* wnd : lumo::topLevelWindows()) {
        const WindowState* s = wnd->state();
        if (lpClassName && s->className != lpClassName)
            continue;
        if (lpWindowName && s->text != lpWindowName)
            continue;
        return wnd->m_hWnd;
    }
    // Other programs' windows are known by class name only.
    lumo::DesktopBackend* desktop = lumo::desktop();
    if (!desktop || !lpClassName || lpWindowName)
        return nullptr;
    for (HWND h : desktop->windows())
        if (lumo::isForeignHandle(h) && desktop->className(h) == std::wstring(lpClassName))
            return h;
    return nullptr;
}
