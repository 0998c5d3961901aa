#include "platform/ui/Desktop.h"

#include "platform/ui/WindowState.h"

#include <algorithm>

namespace lumo {
namespace {

struct DesktopChoice {
    DesktopBackend* installed = nullptr;
    std::unique_ptr<DesktopBackend> automatic;
    bool chosen = false;
};

DesktopChoice& choice() {
    static DesktopChoice c;
    return c;
}

bool isSpecialInsertAfter(HWND hWnd) {
    return hWnd == HWND_TOPMOST || hWnd == HWND_NOTOPMOST;
}

DesktopBackend* backendFor(HWND hWnd) {
    if (!isForeignHandle(hWnd) || isSpecialInsertAfter(hWnd))
        return nullptr;
    return desktop();
}

} // namespace

DesktopBackend* desktop() {
    DesktopChoice& c = choice();
    if (c.installed)
        return c.installed;
    if (!c.chosen) {
        // Chosen once: the platform of the running Qt application does not change.
        c.automatic = openX11Desktop();
        c.chosen = true;
    }
    return c.automatic.get();
}

void installDesktop(DesktopBackend* backend) {
    choice().installed = backend;
}

HWND foreignHandle(std::uintptr_t id) {
    return reinterpret_cast<HWND>((id << 1) | 1u);
}
bool isForeignHandle(HWND hWnd) {
    return (reinterpret_cast<std::uintptr_t>(hWnd) & 1u) != 0;
}
std::uintptr_t foreignId(HWND hWnd) {
    return reinterpret_cast<std::uintptr_t>(hWnd) >> 1;
}

LRESULT foreignSendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DesktopBackend* backend = backendFor(hWnd);
    return backend ? backend->sendMessage(hWnd, message, wParam, lParam) : 0;
}

BOOL foreignIsWindow(HWND hWnd) {
    DesktopBackend* backend = backendFor(hWnd);
    return backend && backend->isWindow(hWnd) ? TRUE : FALSE;
}

BOOL foreignShowWindow(HWND hWnd, int nCmdShow) {
    DesktopBackend* backend = backendFor(hWnd);
    return backend ? backend->show(hWnd, nCmdShow) : FALSE;
}

BOOL foreignSetForegroundWindow(HWND hWnd) {
    DesktopBackend* backend = backendFor(hWnd);
    return backend ? backend->setForeground(hWnd) : FALSE;
}

BOOL foreignSetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                         UINT uFlags) {
    DesktopBackend* backend = backendFor(hWnd);
    return backend ? backend->setWindowPos(hWnd, hWndInsertAfter, x, y, cx, cy, uFlags) : FALSE;
}

} // namespace lumo

BOOL EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam) {
    if (!lpEnumFunc)
        return FALSE;
    std::vector<HWND> handles;
    if (lumo::DesktopBackend* backend = lumo::desktop())
        handles = backend->windows();
    // Own windows the desktop does not show (hidden, or no desktop at all)
    // follow, the most recently created first.
    const std::vector<CWnd*>& own = lumo::topLevelWindows();
    for (auto it = own.rbegin(); it != own.rend(); ++it) {
        HWND h = (*it)->m_hWnd;
        if (h && std::find(handles.begin(), handles.end(), h) == handles.end())
            handles.push_back(h);
    }
    // The callback may create or destroy windows: every handle is checked
    // again before it is passed on.
    for (HWND h : handles) {
        if (!IsWindow(h))
            continue;
        if (!lpEnumFunc(h, lParam))
            return FALSE;
    }
    return TRUE;
}

int GetClassName(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
    if (!lpClassName || nMaxCount <= 0)
        return 0;
    std::optional<std::wstring> name;
    if (CWnd* wnd = CWnd::FromHandle(hWnd)) {
        name = wnd->state()->className;
    } else if (lumo::isForeignHandle(hWnd)) {
        if (lumo::DesktopBackend* backend = lumo::desktop())
            name = backend->className(hWnd);
    }
    if (!name || name->empty()) {
        lpClassName[0] = L'\0';
        return 0;
    }
    const size_t count = std::min(name->size(), static_cast<size_t>(nMaxCount - 1));
    std::copy_n(name->begin(), count, lpClassName);
    lpClassName[count] = L'\0';
    return static_cast<int>(count);
}
