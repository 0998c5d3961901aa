// Input from the window system (or the test hooks) turned into messages:
// hit testing, double taps, input times, capture and key modifiers.

#include "platform/ui/WindowState.h"

#include "platform/core/Clock.h"

#include <cstdlib>

namespace lumo {
namespace {

struct InputState {
    POINT cursor{0, 0};
    CWnd* capture = nullptr;
    // Double-tap recognition.
    HWND lastDownWindow = nullptr;
    DWORD lastDownTime = 0;
    POINT lastDownPos{0, 0};
    bool lastDownValid = false;
    // Tick count minus the window system's input time, taken from the input
    // delivered soonest after it was made.
    DWORD inputClockOffset = 0;
    bool inputClockKnown = false;
    // Shift/Control/Alt held at the last key input.
    BYTE modifiers = 0;
};

InputState& input() {
    static InputState state;
    return state;
}

DWORD now() {
    return Clock::current().now();
}

CWnd* hitTest(CWnd* wnd, QPoint point) {
    // point is in wnd's client coordinates; later children are on top.
    const WindowState* s = wnd->state();
    for (auto it = s->children.rbegin(); it != s->children.rend(); ++it) {
        const WindowState* c = (*it)->state();
        if (!c->visible || !c->enabled)
            continue;
        const QRect r(c->rect.left, c->rect.top, c->rect.Width(), c->rect.Height());
        if (r.contains(point))
            return hitTest(*it, point - r.topLeft());
    }
    return wnd;
}

POINT screenPointOf(CWnd* top, QPoint framePoint) {
    const CRect& r = top->state()->rect;
    return POINT{r.left + framePoint.x(), r.top + framePoint.y()};
}

// The tick count at which input was made. Qt delivers input only when the
// loop is free again, so taps made while a handler kept it busy (an
// illustration being prepared) must keep the time they were made, not the
// time they arrived: handlers compare them with times they noted themselves.
DWORD inputTime(std::uint64_t eventTime) {
    const DWORD current = now();
    if (eventTime == 0)
        return current;
    InputState& q = input();
    const DWORD made = static_cast<DWORD>(eventTime) + q.inputClockOffset;
    const auto age = static_cast<std::int32_t>(current - made);
    // Arriving sooner than any input before (or the first, or after the
    // window system's clock jumped or wrapped): this one is taken as prompt.
    if (!q.inputClockKnown || age < 0 || age > 60000) {
        q.inputClockOffset = current - static_cast<DWORD>(eventTime);
        q.inputClockKnown = true;
        return current;
    }
    return made;
}

} // namespace

POINT cursorPosition() {
    return input().cursor;
}

void forgetWindowInput(HWND hwnd) {
    InputState& in = input();
    if (in.lastDownWindow == hwnd)
        in.lastDownValid = false;
}

CWnd* captureWindow() {
    return isLiveWindow(input().capture) ? input().capture : nullptr;
}
void setCaptureWindow(CWnd* wnd) {
    input().capture = wnd;
}

BYTE currentKeyModifiers() {
    return input().modifiers;
}
void setKeyModifiers(BYTE modifiers) {
    input().modifiers = modifiers;
}

void penInput(CWnd* top, QPoint framePoint, PenAction action, std::uint64_t eventTime) {
    if (!isLiveWindow(top))
        return;
    InputState& q = input();
    const DWORD t = inputTime(eventTime);
    const POINT screen = screenPointOf(top, framePoint);
    q.cursor = screen;
    CWnd* target = captureWindow();
    if (!target)
        target = hitTest(top, framePoint);
    if (!target->IsWindowEnabled())
        return;
    POINT client = screen;
    target->ScreenToClient(&client);
    UINT message = WM_MOUSEMOVE;
    WPARAM keys = MK_LBUTTON;
    switch (action) {
    case PenAction::Down: {
        const bool doubleTap = q.lastDownValid && q.lastDownWindow == target->m_hWnd &&
                               (t - q.lastDownTime) <= GetDoubleClickTime() &&
                               std::abs(screen.x - q.lastDownPos.x) <= 4 &&
                               std::abs(screen.y - q.lastDownPos.y) <= 4;
        message = doubleTap ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        // The tap after a double tap starts a new sequence.
        q.lastDownValid = !doubleTap;
        q.lastDownWindow = target->m_hWnd;
        q.lastDownTime = t;
        q.lastDownPos = screen;
        break;
    }
    case PenAction::Up:
        message = WM_LBUTTONUP;
        keys = 0;
        break;
    case PenAction::Move:
        message = WM_MOUSEMOVE;
        break;
    }
    const LPARAM lParam = MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y));
    postMessageAt(MSG{target->m_hWnd, message, keys, lParam, t, screen});
}

void wheelInput(CWnd* top, QPoint framePoint, int delta, std::uint64_t eventTime) {
    if (!isLiveWindow(top) || delta == 0)
        return;
    const POINT screen = screenPointOf(top, framePoint);
    input().cursor = screen;
    CWnd* target = captureWindow();
    if (!target)
        target = hitTest(top, framePoint);
    const WPARAM wParam = MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta)));
    const LPARAM lParam = MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
    postMessageAt(MSG{target->m_hWnd, WM_MOUSEWHEEL, wParam, lParam, inputTime(eventTime), screen});
}

void keyInput(CWnd* top, UINT virtualKey, bool down) {
    if (!isLiveWindow(top))
        return;
    CWnd* target = CWnd::GetFocus();
    if (!isLiveWindow(target) || target->GetTopLevelParent() != top)
        target = top;
    const LPARAM lParam = down ? 1 : static_cast<LPARAM>(0xC0000001u);
    postMessageAt(MSG{target->m_hWnd, down ? WM_KEYDOWN : WM_KEYUP, virtualKey, lParam, now(),
                      input().cursor});
}

} // namespace lumo
