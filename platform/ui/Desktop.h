#pragma once

// Other programs' windows: enumeration of top-level windows with their class
// names, and the calls that show, activate, stack and close them.
//
// Which windows exist depends on the desktop backend in use:
// - X11 (the Qt platform is xcb and the display opens): the real top-level
//   windows of the desktop. A window's class name is its WM_CLASS class;
//   activation and topmost go through the window manager's standard hints
//   (_NET_ACTIVE_WINDOW, _NET_WM_STATE_ABOVE); WM_CLOSE and WM_DESTROY become
//   the window manager's delete-window request (WM_DELETE_WINDOW).
// - none (offscreen, Wayland without XWayland, no application object): only
//   the program's own windows are seen.
// - a test desktop (lumo::test::FakeDesktop) installed by a test.
//
// Handles of other programs' windows are odd numbers, never the address of a
// CWnd, so the window functions of Window.h tell the two kinds apart and pass
// the foreign ones here.

#include "platform/ui/UiExport.h"
#include "platform/ui/UiTypes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Called for each top-level window; FALSE stops the enumeration.
using WNDENUMPROC = BOOL (*)(HWND hwnd, LPARAM lParam);

// Enumerates the top-level windows, topmost first: other programs' windows
// as the backend sees them, and the program's own top-level windows. Returns
// FALSE when the callback stopped it.
PLATFORMUI_API BOOL EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam);
// Copies the window's class name (cut to nMaxCount - 1 characters) with a
// terminating zero; the number of characters copied, 0 for an unknown window,
// a window without a class name or a null or empty buffer.
PLATFORMUI_API int GetClassName(HWND hWnd, LPWSTR lpClassName, int nMaxCount);

namespace lumo {

// What a desktop offers for other programs' windows. All handles passed in
// and out are foreign handles (see foreignHandle), except that windows() may
// list the program's own windows by their CWnd handles to place them in the
// stacking order.
class PLATFORMUI_API DesktopBackend {
public:
    virtual ~DesktopBackend() = default;
    // Top-level windows, topmost first.
    virtual std::vector<HWND> windows() = 0;
    virtual bool isWindow(HWND hWnd) = 0;
    // Empty optional for an unknown window.
    virtual std::optional<std::wstring> className(HWND hWnd) = 0;
    // ShowWindow: TRUE when the window was visible before.
    virtual BOOL show(HWND hWnd, int nCmdShow) = 0;
    virtual BOOL setForeground(HWND hWnd) = 0;
    virtual BOOL setWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                              UINT uFlags) = 0;
    // Returns once the window has handled the message (or the backend gave up
    // waiting for it).
    virtual LRESULT sendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// The backend in use, chosen on first use (X11 or none); null when only the
// program's own windows are seen.
PLATFORMUI_API DesktopBackend* desktop();
// Installs a backend (not owned) in place of the chosen one; null goes back
// to the automatic choice.
PLATFORMUI_API void installDesktop(DesktopBackend* backend);

// Foreign handles: id 0 and up map to odd handle values.
PLATFORMUI_API HWND foreignHandle(std::uintptr_t id);
PLATFORMUI_API bool isForeignHandle(HWND hWnd);
PLATFORMUI_API std::uintptr_t foreignId(HWND hWnd);

// The window functions' way to foreign windows (0 / FALSE without one).
LRESULT foreignSendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL foreignIsWindow(HWND hWnd);
BOOL foreignShowWindow(HWND hWnd, int nCmdShow);
BOOL foreignSetForegroundWindow(HWND hWnd);
BOOL foreignSetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                         UINT uFlags);

// The X11 backend when the Qt platform is xcb and the display opens (owned
// by the caller), else null.
std::unique_ptr<DesktopBackend> openX11Desktop();
// The X11 backend on a named display, whatever Qt runs on (tests); null when
// the display does not open.
PLATFORMUI_API std::unique_ptr<DesktopBackend> openX11DesktopOn(const char* displayName);

} // namespace lumo
