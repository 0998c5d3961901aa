// The message queue, timers, painting on idle and the message loop on top of
// Qt's event loop.

#include "platform/ui/WindowState.h"

#include "platform/ui/IdleWork.h"

#include "platform/core/Clock.h"
#include "platform/core/Utf8.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/WinApp.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <algorithm>

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

bool runIdleSlice();

class Dispatcher : public QObject {
public:
    Dispatcher() {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [] { pumpMessages(); });
        // A zero timer fires once the window system's events are handled:
        // one slice of idle work per turn of the loop.
        m_idle.setSingleShot(true);
        QObject::connect(&m_idle, &QTimer::timeout, [] {
            runIdleSlice();
            pumpMessages();
        });
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
    void scheduleIdle() {
        if (!m_idle.isActive())
            m_idle.start(0);
    }

private:
    bool m_wakePending = false;
    QTimer m_timer;
    QTimer m_idle;
};

struct Queue {
    std::deque<MSG> messages;
    // Close requests held back while a modal loop runs (ModalLoop.h).
    std::deque<MSG> heldCloses;
    std::vector<Timer> timers;
    bool quit = false;
    int quitCode = 0;
    DWORD lastTime = 0;
    POINT lastPos{0, 0};
    // Windows that asked for idle work, in turn order.
    std::deque<HWND> idleWindows;
    bool idleWorkHeld = false;
    Dispatcher* dispatcher = nullptr;
    int pumpDepth = 0;
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
    MSG msg{earliest->hwnd, WM_TIMER, earliest->id, 0, t, cursorPosition()};
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

namespace {

// Sends WM_KICKIDLE to the next window with idle work; false when there is
// none (or idle work is held).
bool runIdleSlice() {
    Queue& q = queue();
    while (!q.idleWindows.empty() && !q.idleWorkHeld) {
        const HWND hwnd = q.idleWindows.front();
        q.idleWindows.pop_front();
        CWnd* wnd = CWnd::FromHandle(hwnd);
        if (!wnd)
            continue;
        if (wnd->SendMessage(WM_KICKIDLE, 0, 0) && CWnd::FromHandle(hwnd))
            RequestIdleWork(hwnd);
        return true;
    }
    return false;
}

void scheduleIdleWork() {
    Queue& q = queue();
    if (q.idleWindows.empty() || q.idleWorkHeld)
        return;
    if (Dispatcher* d = dispatcher())
        d->scheduleIdle();
}

} // namespace

void setIdleWorkHeld(bool held) {
    queue().idleWorkHeld = held;
    if (!held)
        scheduleIdleWork();
}

bool paintPending() {
    for (CWnd* top : topLevelWindows())
        if (paintPendingIn(top))
            return true;
    return false;
}

bool pumpMessages(IdleWork idleWork) {
    Queue& q = queue();
    ++q.pumpDepth;
    for (;;) {
        if (!q.heldCloses.empty() && !insideModalLoop()) {
            q.messages.insert(q.messages.begin(), q.heldCloses.begin(), q.heldCloses.end());
            q.heldCloses.clear();
        }
        while (!q.messages.empty() && !q.quit) {
            MSG msg = q.messages.front();
            q.messages.pop_front();
            if (msg.message == WM_CLOSE && insideModalLoop()) {
                q.heldCloses.push_back(msg);
                endModalLoops();
                continue;
            }
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
        screenshotOnIdle();
        if (q.messages.empty() && !paintPending()) {
            if (idleWork == IdleWork::Finish && runIdleSlice())
                continue;
            break;
        }
    }
    --q.pumpDepth;
    scheduleRealTimer();
    scheduleIdleWork();
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

void forgetWindowMessages(HWND hwnd) {
    for (auto* messages : {&queue().messages, &queue().heldCloses})
        messages->erase(std::remove_if(messages->begin(), messages->end(),
                                       [&](const MSG& m) { return m.hwnd == hwnd; }),
                        messages->end());
    forgetWindowInput(hwnd);
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

} // namespace lumo

BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return lumo::postMessageAt(
        MSG{hWnd, Msg, wParam, lParam, lumo::Clock::current().now(), lumo::cursorPosition()});
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

BOOL RequestIdleWork(HWND hwnd) {
    if (!CWnd::FromHandle(hwnd))
        return FALSE;
    lumo::Queue& q = lumo::queue();
    if (std::find(q.idleWindows.begin(), q.idleWindows.end(), hwnd) == q.idleWindows.end())
        q.idleWindows.push_back(hwnd);
    lumo::scheduleIdleWork();
    return TRUE;
}
