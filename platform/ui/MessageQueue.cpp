// The message queue, timers, painting on idle, input translation and the
// message loop on top of Qt's event loop.

#include "platform/ui/WindowState.h"

#include "platform/core/Clock.h"
#include "platform/core/Utf8.h"
#include "platform/ui/WinApp.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace lumo {
namespace {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT elapse;
    DWORD due;
};

bool isDue(DWORD due, DWORD now) {
    return static_cast<std::int32_t>(now - due) >= 0;
}

class Dispatcher : public QObject {
public:
    Dispatcher() {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [] { pumpMessages(); });
    }
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        m_wakePending = false;
        pumpMessages();
        return true;
    }
    void wake() {
        if (m_wakePending)
            return;
        m_wakePending = true;
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }
    void scheduleTimer(int ms) { m_timer.start(std::max(ms, 0)); }
    void stopTimer() { m_timer.stop(); }

private:
    bool m_wakePending = false;
    QTimer m_timer;
};

struct Queue {
    std::deque<MSG> messages;
    std::vector<Timer> timers;
    bool quit = false;
    int quitCode = 0;
    DWORD lastTime = 0;
    POINT lastPos{0, 0};
    POINT cursor{0, 0};
    CWnd* capture = nullptr;
    std::function<void()> idleHook;
    Dispatcher* dispatcher = nullptr;
    int pumpDepth = 0;
    // Double-tap recognition.
    HWND lastDownWindow = nullptr;
    DWORD lastDownTime = 0;
    POINT lastDownPos{0, 0};
    bool lastDownValid = false;
    bool screenshotDone = false;
    // Tick count minus the window system's input time, taken from the input
    // delivered soonest after it was made.
    DWORD inputClockOffset = 0;
    bool inputClockKnown = false;
};

Queue& queue() {
    static Queue q;
    return q;
}

Dispatcher* dispatcher() {
    Queue& q = queue();
    if (!q.dispatcher && QCoreApplication::instance())
        q.dispatcher = new Dispatcher;
    return q.dispatcher;
}

DWORD now() {
    return Clock::current().now();
}

bool paintPendingIn(CWnd* wnd) {
    const WindowState* s = wnd->state();
    if (!s->visible)
        return false;
    if (!s->update.isEmpty())
        return true;
    return std::any_of(s->children.begin(), s->children.end(), paintPendingIn);
}

void paintAll() {
    const std::vector<CWnd*> tops = topLevelWindows();
    for (CWnd* top : tops) {
        if (!isLiveWindow(top) || !top->state()->visible)
            continue;
        const bool pending = paintPendingIn(top);
        top->UpdateWindow();
        if (pending && isLiveWindow(top))
            top->state()->presentFrame();
    }
}

// Fires the earliest due timer; false when none is due.
bool fireDueTimer() {
    Queue& q = queue();
    const DWORD t = now();
    Timer* earliest = nullptr;
    for (Timer& timer : q.timers)
        if (isDue(timer.due, t) &&
            (!earliest || static_cast<std::int32_t>(timer.due - earliest->due) < 0))
            earliest = &timer;
    if (!earliest)
        return false;
    earliest->due = t + earliest->elapse;
    MSG msg{earliest->hwnd, WM_TIMER, earliest->id, 0, t, q.cursor};
    q.lastTime = msg.time;
    q.lastPos = msg.pt;
    dispatchMessage(msg);
    return true;
}

void scheduleRealTimer() {
    Queue& q = queue();
    Dispatcher* d = dispatcher();
    if (!d)
        return;
    if (q.timers.empty()) {
        d->stopTimer();
        return;
    }
    const DWORD t = now();
    std::int32_t wait = INT32_MAX;
    for (const Timer& timer : q.timers)
        wait = std::min(wait, static_cast<std::int32_t>(timer.due - t));
    d->scheduleTimer(static_cast<int>(std::max<std::int32_t>(wait, 0)));
}

// LUMO_SCREENSHOT: the first idle moment after the main window was shown and
// painted, write its frame buffer and close it the normal way.
void screenshotOnIdle() {
    Queue& q = queue();
    if (q.screenshotDone)
        return;
    const char* path = std::getenv("LUMO_SCREENSHOT");
    if (!path || !*path)
        return;
    CWinApp* app = AfxGetApp();
    CWnd* main = app ? app->m_pMainWnd : nullptr;
    if (!isLiveWindow(main) || !main->state()->visible || !main->state()->painted || paintPending())
        return;
    q.screenshotDone = true;
    main->state()->frame.save(QString::fromLocal8Bit(path), "PNG");
    ::PostMessage(main->m_hWnd, WM_CLOSE, 0, 0);
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

} // namespace

void ensureGuiApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "lumo";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

void wake() {
    if (Dispatcher* d = dispatcher())
        d->wake();
}

bool postMessageAt(const MSG& msg) {
    if (!CWnd::FromHandle(msg.hwnd))
        return false;
    queue().messages.push_back(msg);
    wake();
    return true;
}

void dispatchMessage(MSG& msg) {
    CWnd* target = CWnd::FromHandle(msg.hwnd);
    if (!target)
        return;
    Queue& q = queue();
    q.lastTime = msg.time;
    q.lastPos = msg.pt;
    for (CWnd* wnd = target; wnd; wnd = wnd->GetParent())
        if (wnd->PreTranslateMessage(&msg))
            return;
    if (CWinApp* app = AfxGetApp())
        if (app->PreTranslateMessage(&msg))
            return;
    if (CWnd* live = CWnd::FromHandle(msg.hwnd))
        live->SendMessage(msg.message, msg.wParam, msg.lParam);
}

bool paintPending() {
    for (CWnd* top : topLevelWindows())
        if (paintPendingIn(top))
            return true;
    return false;
}

bool pumpMessages() {
    Queue& q = queue();
    ++q.pumpDepth;
    for (;;) {
        while (!q.messages.empty() && !q.quit) {
            MSG msg = q.messages.front();
            q.messages.pop_front();
            dispatchMessage(msg);
        }
        if (q.quit)
            break;
        if (paintPending()) {
            paintAll();
            continue;
        }
        if (fireDueTimer())
            continue;
        if (q.idleHook)
            q.idleHook();
        screenshotOnIdle();
        if (q.messages.empty() && !paintPending())
            break;
    }
    --q.pumpDepth;
    scheduleRealTimer();
    return !q.quit;
}

bool quitRequested() {
    return queue().quit;
}
int quitCode() {
    return queue().quitCode;
}
void resetQuit() {
    queue().quit = false;
    queue().quitCode = 0;
}

int runMessageLoop() {
    ensureGuiApplication();
    if (!pumpMessages())
        return quitCode();
    wake();
    QApplication::exec();
    return quitCode();
}

void setIdleHook(std::function<void()> hook) {
    queue().idleHook = std::move(hook);
}

void forgetWindowMessages(HWND hwnd) {
    auto& messages = queue().messages;
    messages.erase(std::remove_if(messages.begin(), messages.end(),
                                  [&](const MSG& m) { return m.hwnd == hwnd; }),
                   messages.end());
    Queue& q = queue();
    if (q.lastDownWindow == hwnd)
        q.lastDownValid = false;
}

void forgetWindowTimers(HWND hwnd) {
    auto& timers = queue().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [&](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
}

void noteWindowShown() {
    wake();
}

CWnd* captureWindow() {
    return isLiveWindow(queue().capture) ? queue().capture : nullptr;
}
void setCaptureWindow(CWnd* wnd) {
    queue().capture = wnd;
}

// The tick count at which input was made. Qt delivers input only when the
// loop is free again, so taps made while a handler kept it busy (an
// illustration being prepared) must keep the time they were made, not the
// time they arrived: handlers compare them with times they noted themselves.
DWORD inputTime(std::uint64_t eventTime) {
    const DWORD current = now();
    if (eventTime == 0)
        return current;
    Queue& q = queue();
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

void penInput(CWnd* top, QPoint framePoint, PenAction action, std::uint64_t eventTime) {
    if (!isLiveWindow(top))
        return;
    Queue& q = queue();
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
    queue().cursor = screen;
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
                      queue().cursor});
}

} // namespace lumo

BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return lumo::postMessageAt(
        MSG{hWnd, Msg, wParam, lParam, lumo::Clock::current().now(), lumo::queue().cursor});
}

void PostQuitMessage(int nExitCode) {
    lumo::Queue& q = lumo::queue();
    q.quit = true;
    q.quitCode = nExitCode;
    if (QCoreApplication::instance())
        QCoreApplication::exit(nExitCode);
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, void*) {
    if (!CWnd::FromHandle(hWnd))
        return 0;
    // The original platform's minimum interval; it also keeps a zero interval
    // from firing without end.
    const UINT elapse = std::max<UINT>(uElapse, 10);
    lumo::Queue& q = lumo::queue();
    const DWORD due = lumo::now() + elapse;
    auto existing = std::find_if(q.timers.begin(), q.timers.end(), [&](const lumo::Timer& t) {
        return t.hwnd == hWnd && t.id == nIDEvent;
    });
    if (existing != q.timers.end()) {
        existing->elapse = elapse;
        existing->due = due;
    } else {
        q.timers.push_back(lumo::Timer{hWnd, nIDEvent, elapse, due});
    }
    lumo::scheduleRealTimer();
    return nIDEvent ? nIDEvent : 1;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    auto& timers = lumo::queue().timers;
    auto found = std::find_if(timers.begin(), timers.end(), [&](const lumo::Timer& t) {
        return t.hwnd == hWnd && t.id == uIDEvent;
    });
    if (found == timers.end())
        return FALSE;
    timers.erase(found);
    return TRUE;
}

LONG GetMessageTime() {
    return static_cast<LONG>(lumo::queue().lastTime);
}

DWORD GetMessagePos() {
    const POINT& p = lumo::queue().lastPos;
    return static_cast<DWORD>(MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

namespace lumo {
namespace {
BYTE g_modifiers = 0;
}
BYTE currentKeyModifiers() {
    return g_modifiers;
}
void setKeyModifiers(BYTE modifiers) {
    g_modifiers = modifiers;
}

// The next time a timer is due, for the test clock; false when none.
bool nextTimerDue(DWORD& due) {
    auto& timers = queue().timers;
    if (timers.empty())
        return false;
    const DWORD t = now();
    std::int32_t best = INT32_MAX;
    for (const Timer& timer : timers)
        best = std::min(best, static_cast<std::int32_t>(timer.due - t));
    due = t + static_cast<DWORD>(std::max<std::int32_t>(best, 0));
    return true;
}
} // namespace lumo
