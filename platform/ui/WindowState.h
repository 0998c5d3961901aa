#pragma once

// Private: the platform's per-window record and the message queue.

#include "platform/ui/EventLoop.h"
#include "platform/ui/Window.h"

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

class QWidget;

namespace lumo {

class Surface;

struct WindowState {
    CWnd* wnd = nullptr;
    CWnd* parent = nullptr;
    std::vector<CWnd*> children; // z-order: later children are on top
    CRect rect;                  // parent client coordinates; screen for top level
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT id = 0;
    std::wstring text;
    std::wstring className;
    bool visible = false;
    bool enabled = true;
    bool minimized = false;
    bool destroying = false;
    QRegion update; // invalid part, client coordinates
    bool erase = false;
    COLORREF background = 0x00FFFFFF;
    // Top-level windows only.
    QImage frame;
    Surface* surface = nullptr;
    bool painted = false;

    bool isTopLevel() const { return parent == nullptr; }
    // The top-level window and this window's offset in its frame buffer.
    CWnd* topLevel() const;
    QPoint frameOffset() const;
    // The window's visible area in frame-buffer coordinates, without the
    // areas of its visible children.
    QRegion frameClip(bool clipChildren = true) const;
    bool visibleInTree() const;
    // Shows the changed frame buffer on screen.
    void presentFrame() const;
    // The same, on screen before returning: drawing outside WM_PAINT shows at
    // once, even when a long task follows before the loop runs again.
    void presentFrameNow() const;
};

// Dispatches one message to its window (PreTranslateMessage walk first).
void dispatchMessage(MSG& msg);

// Window bookkeeping shared by the window code and the queue.
bool isLiveWindow(const CWnd* wnd);
const std::vector<CWnd*>& topLevelWindows();
void forgetWindowMessages(HWND hwnd);
void forgetWindowTimers(HWND hwnd);
void noteWindowShown();
// The capture window, or null.
CWnd* captureWindow();
void setCaptureWindow(CWnd* wnd);
// The screen point of the last pen input (the point of posted messages).
POINT cursorPosition();
// Forgets the window as the first tap of a double tap.
void forgetWindowInput(HWND hwnd);

// Runs the Qt event loop until PostQuitMessage.
int runMessageLoop();

// Writes the main window's picture once LUMO_SCREENSHOT asks for it.
void screenshotOnIdle();

} // namespace lumo

namespace lumo {
// Posts a message with an explicit time stamp and screen point (input).
bool postMessageAt(const MSG& msg);
// Makes the loop run soon (something was queued or invalidated).
void wake();
// True when a visible window has an invalid part.
bool paintPending();
} // namespace lumo
