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

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd ? wnd->ShowWindow(nCmdShow) : lumo::foreignShowWindow(hWnd, nCmdShow);
}

BOOL ReleaseCapture() {
    lumo::setCaptureWindow(nullptr);
    return TRUE;
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
