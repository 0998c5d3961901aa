#pragma once

#include "platform/core/CString.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Geometry.h"

#include <string>
#include <vector>

class CDC;
class CFrameWnd;
class CMenu;
struct CCreateContext;
namespace lumo {
class Surface;
struct WindowState;
} // namespace lumo

// A window: an object in the window tree with a window procedure and a
// message map. Top-level windows are shown through one Qt widget presenting
// a frame buffer; child windows are rectangles inside their top-level
// window's frame buffer. What is drawn stays until drawn over.
//
// Messages: SendMessage calls WindowProc at once; PostMessage queues the
// message, and the queue is processed in order by the Qt event loop (or by
// lumo::test::pumpMessages). When the queue is empty, due timers produce
// WM_TIMER and invalid windows get WM_PAINT (parents before children).
//
// Geometry: a child's window rectangle is in its parent's client coordinates
// and equals its client rectangle (no non-client area); a top-level window's
// rectangle is in screen coordinates.
class PLATFORMUI_API CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    HWND m_hWnd = nullptr;

    CWnd();
    ~CWnd() override;

    // The window object of a handle; null for a null or destroyed window.
    static CWnd* FromHandle(HWND hWnd);
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Creates the window: PreCreateWindow, then WM_CREATE (a -1 answer destroys
    // the window and fails), then WM_SIZE. A window without WS_CHILD (or
    // without a parent) is top-level. CW_USEDEFAULT sizes give 800 x 480.
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, void* lpParam = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Sends WM_DESTROY to the window and then its children, takes the tree
    // down and calls PostNcDestroy. Destroying the application's main window
    // ends the message loop.
    virtual BOOL DestroyWindow();

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Seen for every queued message aimed at this window or a child before it
    // is dispatched (innermost window first); TRUE swallows the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // The message being handled (the last one sent or dispatched).
    // Default processing of the current message.
    LRESULT Default();

    // Tree and identity.
    CWnd* GetParent() const;
    CWnd* GetTopLevelParent() const;
    CFrameWnd* GetParentFrame() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    DWORD GetStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    void SetWindowText(LPCWSTR lpszString);
    void GetWindowText(CString& rString) const;

    // Geometry.
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    void BringWindowToTop();
    BOOL SetForegroundWindow();

    // Painting. Invalid parts are painted when the queue goes idle; bErase
    // makes BeginPaint send WM_ERASEBKGND first.
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    // Sends WM_PAINT now if the window has an invalid part.
    void UpdateWindow();
    // The colour DefWindowProc erases the background with (white by default).
    void SetBackgroundColor(COLORREF color);

    // Timers: WM_TIMER(nIDEvent) every nElapse ms of the platform clock.
    // Setting an existing id restarts it. Returns nIDEvent, 0 when the window
    // does not exist.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                      void (*lpfnTimer)(HWND, UINT, UINT_PTR, DWORD) = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // Pen capture: pen messages go to the capturing window until released.
    CWnd* SetCapture();
    static CWnd* GetCapture();

    BOOL IsWindow() const { return FromHandle(m_hWnd) != nullptr; }

    // Handlers reached through message maps (ON_WM_...). The base versions
    // run the default processing.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnTimer(UINT_PTR nIDEvent);
    void OnClose();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    // Internal state (platform use).
    lumo::WindowState* state() const { return m_state; }

protected:
    // Dispatches through the message map; TRUE when a handler ran.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND: routes the command through OnCmdMsg.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: ON_NOTIFY entries of this window's map.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called after the window is gone; frames and views delete themselves.
    virtual void PostNcDestroy();
    // Top-level windows present a frame buffer; dialogs are Qt dialogs instead.
    virtual bool hasFrameBuffer() const { return true; }
    // Windows whose text lives elsewhere (dialog controls) answer these.
    virtual bool getTextHook(std::wstring&) const { return false; }
    virtual bool setTextHook(const std::wstring&) { return false; }
    // Called after the window was shown, hidden, enabled or disabled.
    virtual void showStateHook() {}

private:
    friend struct lumo::WindowState;
    lumo::WindowState* m_state = nullptr;
};

// ---- window message map entries -------------------------------------------

#define ON_WM_CREATE()                                                                             \
    {                                                                                              \
        WM_CREATE, 0, 0, 0,                                                                        \
            LUMO_MSG_THUNK(return self->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));)       \
    }                                                                                              \
    ,
#define ON_WM_DESTROY()                                                                            \
    { WM_DESTROY, 0, 0, 0, LUMO_MSG_THUNK(self->OnDestroy(); return 0;) }                          \
    ,
#define ON_WM_CLOSE()                                                                              \
    { WM_CLOSE, 0, 0, 0, LUMO_MSG_THUNK(self->OnClose(); return 0;) }                              \
    ,
#define ON_WM_SIZE()                                                                               \
    {                                                                                              \
        WM_SIZE, 0, 0, 0,                                                                          \
            LUMO_MSG_THUNK(self->OnSize(static_cast<UINT>(wParam),                                 \
                                        static_cast<short>(LOWORD(lParam)),                        \
                                        static_cast<short>(HIWORD(lParam)));                       \
                           return 0;)                                                              \
    }                                                                                              \
    ,
#define ON_WM_PAINT()                                                                              \
    { WM_PAINT, 0, 0, 0, LUMO_MSG_THUNK(self->OnPaint(); return 0;) }                              \
    ,
#define ON_WM_ERASEBKGND()                                                                         \
    {                                                                                              \
        WM_ERASEBKGND, 0, 0, 0,                                                                    \
            LUMO_MSG_THUNK(                                                                        \
                return self->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));)        \
    }                                                                                              \
    ,
#define ON_WM_TIMER()                                                                              \
    { WM_TIMER, 0, 0, 0, LUMO_MSG_THUNK(self->OnTimer(static_cast<UINT_PTR>(wParam)); return 0;) } \
    ,
#define LUMO_ON_PEN_MESSAGE(message, fn)                                                           \
    {                                                                                              \
        message, 0, 0, 0,                                                                          \
            LUMO_MSG_THUNK(self->fn(static_cast<UINT>(wParam),                                     \
                                    CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));           \
                           return 0;)                                                              \
    }                                                                                              \
    ,
#define ON_WM_LBUTTONDOWN() LUMO_ON_PEN_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() LUMO_ON_PEN_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() LUMO_ON_PEN_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
// The wheel point is in screen coordinates, as on the original platform.
#define ON_WM_MOUSEWHEEL()                                                                         \
    {                                                                                              \
        WM_MOUSEWHEEL, 0, 0, 0,                                                                    \
            LUMO_MSG_THUNK(                                                                        \
                return self->OnMouseWheel(LOWORD(wParam), GET_WHEEL_DELTA_WPARAM(wParam),          \
                                          CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));)    \
    }                                                                                              \
    ,
#define ON_WM_KEYDOWN()                                                                            \
    {                                                                                              \
        WM_KEYDOWN, 0, 0, 0,                                                                       \
            LUMO_MSG_THUNK(                                                                        \
                self->OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));        \
                return 0;)                                                                         \
    }                                                                                              \
    ,
#define ON_WM_INITMENUPOPUP()                                                                      \
    {                                                                                              \
        WM_INITMENUPOPUP, 0, 0, 0,                                                                 \
            LUMO_MSG_THUNK(                                                                        \
                self->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)),          \
                                      LOWORD(lParam), HIWORD(lParam));                             \
                return 0;)                                                                         \
    }                                                                                              \
    ,

// ---- free functions over handles ------------------------------------------

PLATFORMUI_API LRESULT SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// FALSE for a null or destroyed window.
PLATFORMUI_API BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Ends the message loop with this exit code once the current message is done.
PLATFORMUI_API void PostQuitMessage(int nExitCode);
PLATFORMUI_API BOOL IsWindow(HWND hWnd);
PLATFORMUI_API BOOL ShowWindow(HWND hWnd, int nCmdShow);
PLATFORMUI_API UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, void* lpTimerFunc);
PLATFORMUI_API BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);
PLATFORMUI_API BOOL ReleaseCapture();
PLATFORMUI_API BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy,
                                 UINT uFlags);
PLATFORMUI_API BOOL SetForegroundWindow(HWND hWnd);
// Time stamp (platform clock, ms) and screen position of the last message
// taken from the queue.
PLATFORMUI_API LONG GetMessageTime();
PLATFORMUI_API DWORD GetMessagePos();
// The interval within which a second tap is a double tap (ms).
PLATFORMUI_API UINT GetDoubleClickTime();
