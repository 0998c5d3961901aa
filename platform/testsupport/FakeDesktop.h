#pragma once

// A desktop for tests: fake application windows registered by class name and
// fake programs whose window appears some time after they are started. Every
// call that reaches a fake window, and every program start, is recorded.
//
// While a FakeDesktop exists it is the desktop (Desktop.h) and it answers
// process starts (platform/core/Process.h); its destructor puts the real ones
// back. Times come from the platform clock, so a test with a manual clock
// decides exactly when a started program's window shows up.

#include "platform/ui/Desktop.h"

#include <optional>
#include <string>
#include <vector>

namespace lumo::test {

struct DesktopCall {
    enum class Kind { StartProgram, Show, SetForeground, SetWindowPos, SendMessage };
    Kind kind = Kind::Show;
    DWORD time = 0;                      // GetTickCount() at the call
    HWND hwnd = nullptr;                 // null for StartProgram
    std::wstring className;              // of the window; the program's path for StartProgram
    std::vector<std::wstring> arguments; // StartProgram
    int showCommand = 0;                 // Show
    HWND insertAfter = nullptr;          // SetWindowPos
    int x = 0, y = 0, cx = 0, cy = 0;
    UINT flags = 0;
    UINT message = 0; // SendMessage
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class FakeDesktop : public DesktopBackend {
public:
    FakeDesktop();
    ~FakeDesktop() override;
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    // A visible, non-topmost window on top of the other non-topmost ones.
    HWND addWindow(const std::wstring& className);
    // The program at `path` can be started; each start opens a window of
    // `windowClass` `delayMs` later, or none when windowClass is empty.
    // Starting any other path fails as a missing file.
    void addProgram(const std::wstring& path, std::optional<std::wstring> windowClass,
                    DWORD delayMs = 0);
    // Whether WM_CLOSE / WM_DESTROY make the window go away (the default).
    void setClosesOnRequest(HWND hWnd, bool closes);
    // Removes a window as if its program had ended.
    void removeWindow(HWND hWnd);

    bool exists(HWND hWnd);
    bool isVisible(HWND hWnd);
    bool isTopmost(HWND hWnd);
    HWND foregroundWindow();
    // Handles of the windows with this class, topmost first.
    std::vector<HWND> windowsOfClass(const std::wstring& className);

    const std::vector<DesktopCall>& calls() const { return m_calls; }
    // The recorded calls that reached one window.
    std::vector<DesktopCall> callsTo(HWND hWnd) const;
    void clearCalls() { m_calls.clear(); }

    // DesktopBackend
    std::vector<HWND> windows() override;
    bool isWindow(HWND hWnd) override;
    std::optional<std::wstring> className(HWND hWnd) override;
    BOOL show(HWND hWnd, int nCmdShow) override;
    BOOL setForeground(HWND hWnd) override;
    BOOL setWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                      UINT uFlags) override;
    LRESULT sendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Window {
        HWND handle = nullptr;
        std::wstring className;
        bool visible = true;
        bool minimized = false;
        bool topmost = false;
        bool closesOnRequest = true;
        RECT rect{0, 0, 800, 480};
    };
    struct Program {
        std::wstring path;
        std::optional<std::wstring> windowClass;
        DWORD delay = 0;
    };
    struct Pending {
        std::wstring className;
        DWORD startedAt = 0;
        DWORD delay = 0;
    };

    void openDueWindows();
    Window* find(HWND hWnd);
    void record(DesktopCall call);
    // Puts the window on top of its band (topmost windows above the others).
    void raise(Window& window);
    HWND insertWindow(const std::wstring& className);

    std::vector<Window> m_windows; // stacking order, topmost first
    std::vector<Program> m_programs;
    std::vector<Pending> m_pending;
    std::vector<DesktopCall> m_calls;
    HWND m_foreground = nullptr;
    std::uintptr_t m_nextId = 1;
};

} // namespace lumo::test
