#include "platform/testsupport/FakeDesktop.h"

#include "platform/core/Clock.h"
#include "platform/core/Process.h"

#include <algorithm>
#include <cerrno>

namespace lumo::test {

FakeDesktop::FakeDesktop() {
    installDesktop(this);
    setSpawnStarterForTesting([this](const std::wstring& program,
                                     const std::vector<std::wstring>& arguments,
                                     const std::wstring&) {
        DesktopCall call;
        call.kind = DesktopCall::Kind::StartProgram;
        call.className = program;
        call.arguments = arguments;
        record(call);
        SpawnResult result;
        auto it = std::find_if(m_programs.begin(), m_programs.end(),
                               [&](const Program& p) { return p.path == program; });
        if (it == m_programs.end()) {
            result.error = ENOENT;
            return result;
        }
        if (it->windowClass)
            m_pending.push_back({*it->windowClass, GetTickCount(), it->delay});
        result.started = true;
        result.pid = 1000 + static_cast<long>(m_calls.size());
        return result;
    });
}

FakeDesktop::~FakeDesktop() {
    setSpawnStarterForTesting({});
    installDesktop(nullptr);
}

HWND FakeDesktop::insertWindow(const std::wstring& className) {
    Window window;
    window.handle = foreignHandle(m_nextId++);
    window.className = className;
    auto firstNormal = std::find_if(m_windows.begin(), m_windows.end(),
                                    [](const Window& w) { return !w.topmost; });
    m_windows.insert(firstNormal, window);
    return window.handle;
}

HWND FakeDesktop::addWindow(const std::wstring& className) {
    return insertWindow(className);
}

void FakeDesktop::addProgram(const std::wstring& path, std::optional<std::wstring> windowClass,
                             DWORD delayMs) {
    m_programs.push_back({path, std::move(windowClass), delayMs});
}

void FakeDesktop::openDueWindows() {
    const DWORD now = GetTickCount();
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        // Unsigned difference: correct across the tick count's wrap.
        if (now - it->startedAt >= it->delay) {
            insertWindow(it->className);
            it = m_pending.erase(it);
        } else {
            ++it;
        }
    }
}

FakeDesktop::Window* FakeDesktop::find(HWND hWnd) {
    openDueWindows();
    auto it = std::find_if(m_windows.begin(), m_windows.end(),
                           [&](const Window& w) { return w.handle == hWnd; });
    return it == m_windows.end() ? nullptr : &*it;
}

void FakeDesktop::record(DesktopCall call) {
    call.time = GetTickCount();
    m_calls.push_back(std::move(call));
}

void FakeDesktop::raise(Window& window) {
    auto it = std::find_if(m_windows.begin(), m_windows.end(),
                           [&](const Window& w) { return w.handle == window.handle; });
    Window moved = *it;
    m_windows.erase(it);
    auto at = moved.topmost ? m_windows.begin()
                            : std::find_if(m_windows.begin(), m_windows.end(),
                                           [](const Window& w) { return !w.topmost; });
    m_windows.insert(at, moved);
}

void FakeDesktop::setClosesOnRequest(HWND hWnd, bool closes) {
    if (Window* w = find(hWnd))
        w->closesOnRequest = closes;
}

void FakeDesktop::removeWindow(HWND hWnd) {
    m_windows.erase(std::remove_if(m_windows.begin(), m_windows.end(),
                                   [&](const Window& w) { return w.handle == hWnd; }),
                    m_windows.end());
    if (m_foreground == hWnd)
        m_foreground = nullptr;
}

bool FakeDesktop::exists(HWND hWnd) {
    return find(hWnd) != nullptr;
}

bool FakeDesktop::isVisible(HWND hWnd) {
    Window* w = find(hWnd);
    return w && w->visible;
}

bool FakeDesktop::isTopmost(HWND hWnd) {
    Window* w = find(hWnd);
    return w && w->topmost;
}

HWND FakeDesktop::foregroundWindow() {
    return find(m_foreground) ? m_foreground : nullptr;
}

std::vector<HWND> FakeDesktop::windowsOfClass(const std::wstring& className) {
    std::vector<HWND> result;
    for (HWND h : windows())
        if (find(h)->className == className)
            result.push_back(h);
    return result;
}

std::vector<DesktopCall> FakeDesktop::callsTo(HWND hWnd) const {
    std::vector<DesktopCall> result;
    for (const DesktopCall& call : m_calls)
        if (call.hwnd == hWnd && call.kind != DesktopCall::Kind::StartProgram)
            result.push_back(call);
    return result;
}

std::vector<HWND> FakeDesktop::windows() {
    openDueWindows();
    std::vector<HWND> result;
    for (const Window& w : m_windows)
        result.push_back(w.handle);
    return result;
}

bool FakeDesktop::isWindow(HWND hWnd) {
    return find(hWnd) != nullptr;
}

std::optional<std::wstring> FakeDesktop::className(HWND hWnd) {
    Window* w = find(hWnd);
    return w ? std::optional<std::wstring>(w->className) : std::nullopt;
}

BOOL FakeDesktop::show(HWND hWnd, int nCmdShow) {
    Window* w = find(hWnd);
    if (!w)
        return FALSE;
    DesktopCall call;
    call.kind = DesktopCall::Kind::Show;
    call.hwnd = hWnd;
    call.className = w->className;
    call.showCommand = nCmdShow;
    record(call);
    const BOOL wasVisible = w->visible ? TRUE : FALSE;
    switch (nCmdShow) {
    case SW_HIDE:
        w->visible = false;
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        w->visible = true;
        w->minimized = true;
        break;
    default:
        w->visible = true;
        w->minimized = false;
        break;
    }
    return wasVisible;
}

BOOL FakeDesktop::setForeground(HWND hWnd) {
    Window* w = find(hWnd);
    if (!w)
        return FALSE;
    DesktopCall call;
    call.kind = DesktopCall::Kind::SetForeground;
    call.hwnd = hWnd;
    call.className = w->className;
    record(call);
    m_foreground = hWnd;
    raise(*w);
    return TRUE;
}

BOOL FakeDesktop::setWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                               UINT uFlags) {
    Window* w = find(hWnd);
    if (!w)
        return FALSE;
    DesktopCall call;
    call.kind = DesktopCall::Kind::SetWindowPos;
    call.hwnd = hWnd;
    call.className = w->className;
    call.insertAfter = hWndInsertAfter;
    call.x = x;
    call.y = y;
    call.cx = cx;
    call.cy = cy;
    call.flags = uFlags;
    record(call);
    if (!(uFlags & SWP_NOMOVE)) {
        const int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
        w->rect = RECT{x, y, x + width, y + height};
    }
    if (!(uFlags & SWP_NOSIZE)) {
        w->rect.right = w->rect.left + cx;
        w->rect.bottom = w->rect.top + cy;
    }
    if (uFlags & SWP_SHOWWINDOW)
        w->visible = true;
    if (uFlags & SWP_HIDEWINDOW)
        w->visible = false;
    if (!(uFlags & SWP_NOZORDER)) {
        if (hWndInsertAfter == HWND_TOPMOST)
            w->topmost = true;
        else if (hWndInsertAfter == HWND_NOTOPMOST)
            w->topmost = false;
        if (hWndInsertAfter == HWND_TOPMOST || hWndInsertAfter == HWND_NOTOPMOST ||
            hWndInsertAfter == HWND_TOP)
            raise(*w); // moves the record: w is not used after this
    }
    return TRUE;
}

LRESULT FakeDesktop::sendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = find(hWnd);
    if (!w)
        return 0;
    DesktopCall call;
    call.kind = DesktopCall::Kind::SendMessage;
    call.hwnd = hWnd;
    call.className = w->className;
    call.message = message;
    call.wParam = wParam;
    call.lParam = lParam;
    record(call);
    if ((message == WM_CLOSE || message == WM_DESTROY) && w->closesOnRequest)
        removeWindow(hWnd);
    return 0;
}

} // namespace lumo::test
