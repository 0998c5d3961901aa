// The desktop of an X11 session, through libX11 on a connection of its own.
#include "platform/ui/Desktop.h"

#include "platform/core/Utf8.h"
#include "platform/ui/Surface.h"
#include "platform/ui/WindowState.h"

#include <QGuiApplication>

#include <algorithm>
#include <array>
#include <chrono>
#include <map>
#include <thread>

// Xlib last: its macros (None, Bool, Status) clash with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace lumo {
namespace {

int g_lastXError = 0;

int recordXError(Display*, XErrorEvent* event) {
    g_lastXError = event->error_code;
    return 0;
}

// Xlib's error handler belongs to the whole process (Qt may have one too):
// ours is in place only while our own requests run, so a window that went
// away meanwhile (BadWindow) is an answer, not a fatal error.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : m_display(display) {
        XSync(m_display, False);
        g_lastXError = 0;
        m_previous = XSetErrorHandler(recordXError);
    }
    ~ErrorTrap() {
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
    }
    bool failed() {
        XSync(m_display, False);
        return g_lastXError != 0;
    }

private:
    Display* m_display;
    int (*m_previous)(Display*, XErrorEvent*) = nullptr;
};

// How long a close request may take before the sender goes on.
constexpr auto CLOSE_WAIT = std::chrono::milliseconds(2000);
constexpr auto CLOSE_POLL = std::chrono::milliseconds(20);
// _NET_WM_STATE actions and the source indication of a pager-like tool.
constexpr long NET_WM_STATE_REMOVE = 0;
constexpr long NET_WM_STATE_ADD = 1;
constexpr long SOURCE_PAGER = 2;

class X11Desktop : public DesktopBackend {
public:
    explicit X11Desktop(Display* display) : m_display(display), m_root(DefaultRootWindow(display)) {
        auto atom = [&](const char* name) { return XInternAtom(m_display, name, False); };
        m_clientListStacking = atom("_NET_CLIENT_LIST_STACKING");
        m_clientList = atom("_NET_CLIENT_LIST");
        m_supported = atom("_NET_SUPPORTED");
        m_activeWindow = atom("_NET_ACTIVE_WINDOW");
        m_wmState = atom("_NET_WM_STATE");
        m_wmStateAbove = atom("_NET_WM_STATE_ABOVE");
        m_icccmState = atom("WM_STATE");
        m_protocols = atom("WM_PROTOCOLS");
        m_deleteWindow = atom("WM_DELETE_WINDOW");
    }
    ~X11Desktop() override { XCloseDisplay(m_display); }

    std::vector<HWND> windows() override {
        std::map<::Window, HWND> own;
        for (CWnd* wnd : topLevelWindows()) {
            const WindowState* s = wnd->state();
            if (s && s->surface && s->surface->internalWinId())
                own[static_cast<::Window>(s->surface->internalWinId())] = wnd->m_hWnd;
        }
        std::vector<HWND> result;
        for (::Window w : clientsTopFirst()) {
            auto it = own.find(w);
            result.push_back(it != own.end() ? it->second : foreignHandle(w));
        }
        return result;
    }

    bool isWindow(HWND hWnd) override {
        XWindowAttributes attributes;
        return attributesOf(hWnd, attributes);
    }

    std::optional<std::wstring> className(HWND hWnd) override {
        ErrorTrap trap(m_display);
        XClassHint hint{nullptr, nullptr};
        const Status ok = XGetClassHint(m_display, idOf(hWnd), &hint);
        std::optional<std::wstring> result;
        if (ok && !trap.failed())
            result = hint.res_class ? fromUtf8(hint.res_class) : std::wstring();
        if (hint.res_name)
            XFree(hint.res_name);
        if (hint.res_class)
            XFree(hint.res_class);
        return result;
    }

    BOOL show(HWND hWnd, int nCmdShow) override {
        XWindowAttributes attributes;
        if (!attributesOf(hWnd, attributes))
            return FALSE;
        const ::Window w = idOf(hWnd);
        ErrorTrap trap(m_display);
        switch (nCmdShow) {
        case SW_HIDE:
            XWithdrawWindow(m_display, w, DefaultScreen(m_display));
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            XIconifyWindow(m_display, w, DefaultScreen(m_display));
            break;
        default:
            // Mapping an iconic window asks the window manager to restore it.
            XMapWindow(m_display, w);
            break;
        }
        return attributes.map_state == IsViewable ? TRUE : FALSE;
    }

    BOOL setForeground(HWND hWnd) override {
        XWindowAttributes attributes;
        if (!attributesOf(hWnd, attributes))
            return FALSE;
        const ::Window w = idOf(hWnd);
        ErrorTrap trap(m_display);
        if (supports(m_activeWindow)) {
            sendToRoot(w, m_activeWindow, {SOURCE_PAGER, CurrentTime, 0, 0, 0});
        } else {
            XRaiseWindow(m_display, w);
            if (attributes.map_state == IsViewable)
                XSetInputFocus(m_display, w, RevertToParent, CurrentTime);
        }
        return TRUE;
    }

    BOOL setWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                      UINT uFlags) override {
        XWindowAttributes attributes;
        if (!attributesOf(hWnd, attributes))
            return FALSE;
        const ::Window w = idOf(hWnd);
        if (uFlags & SWP_HIDEWINDOW)
            show(hWnd, SW_HIDE);
        ErrorTrap trap(m_display);
        XWindowChanges changes{};
        unsigned mask = 0;
        if (!(uFlags & SWP_NOMOVE)) {
            changes.x = x;
            changes.y = y;
            mask |= CWX | CWY;
        }
        if (!(uFlags & SWP_NOSIZE) && cx > 0 && cy > 0) {
            changes.width = cx;
            changes.height = cy;
            mask |= CWWidth | CWHeight;
        }
        if (mask)
            XConfigureWindow(m_display, w, mask, &changes);
        if (!(uFlags & SWP_NOZORDER)) {
            if (hWndInsertAfter == HWND_TOPMOST) {
                setAbove(w, attributes, true);
                XRaiseWindow(m_display, w);
            } else if (hWndInsertAfter == HWND_NOTOPMOST) {
                setAbove(w, attributes, false);
            } else if (hWndInsertAfter == HWND_TOP) {
                XRaiseWindow(m_display, w);
            }
        }
        if (uFlags & SWP_SHOWWINDOW)
            XMapWindow(m_display, w);
        return trap.failed() ? FALSE : TRUE;
    }

    LRESULT sendMessage(HWND hWnd, UINT message, WPARAM, LPARAM) override {
        // Another program's window procedure cannot be called from here; a
        // request to close or destroy it is the window manager's delete-window
        // request, which the program answers by closing the window.
        if (message != WM_CLOSE && message != WM_DESTROY)
            return 0;
        const ::Window w = idOf(hWnd);
        if (!hasProtocol(w, m_deleteWindow))
            return 0; // no way to ask it politely; killing it is not ours to do
        {
            ErrorTrap trap(m_display);
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = w;
            event.xclient.message_type = m_protocols;
            event.xclient.format = 32;
            event.xclient.data.l[0] = static_cast<long>(m_deleteWindow);
            event.xclient.data.l[1] = CurrentTime;
            XSendEvent(m_display, w, False, NoEventMask, &event);
        }
        // The sender expects the window to be gone when the call returns, as
        // a synchronous message would leave it; wait a while for that.
        const auto deadline = std::chrono::steady_clock::now() + CLOSE_WAIT;
        while (std::chrono::steady_clock::now() < deadline) {
            XWindowAttributes attributes;
            if (!attributesOf(hWnd, attributes) ||
                (attributes.map_state == IsUnmapped && !hasIcccmState(w)))
                break;
            std::this_thread::sleep_for(CLOSE_POLL);
        }
        return 0;
    }

private:
    static ::Window idOf(HWND hWnd) { return static_cast<::Window>(foreignId(hWnd)); }

    bool attributesOf(HWND hWnd, XWindowAttributes& attributes) {
        if (!isForeignHandle(hWnd))
            return false;
        ErrorTrap trap(m_display);
        const Status ok = XGetWindowAttributes(m_display, idOf(hWnd), &attributes);
        return ok && !trap.failed();
    }

    // A 32-bit list property (windows or atoms); empty when absent.
    std::vector<unsigned long> listProperty(::Window w, Atom property, Atom type) {
        ErrorTrap trap(m_display);
        Atom actualType = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned long> result;
        if (XGetWindowProperty(m_display, w, property, 0, 1L << 16, False, type, &actualType,
                               &format, &count, &after, &data) == Success &&
            data && format == 32) {
            // Format 32 items arrive as longs, whatever the size of long.
            const long* items = reinterpret_cast<const long*>(data);
            result.assign(items, items + count);
        }
        if (data)
            XFree(data);
        return result;
    }

    bool supports(Atom feature) {
        const std::vector<unsigned long> atoms = listProperty(m_root, m_supported, XA_ATOM);
        return std::find(atoms.begin(), atoms.end(), feature) != atoms.end();
    }

    bool hasProtocol(::Window w, Atom protocol) {
        const std::vector<unsigned long> atoms = listProperty(w, m_protocols, XA_ATOM);
        return std::find(atoms.begin(), atoms.end(), protocol) != atoms.end();
    }

    bool hasIcccmState(::Window w) {
        ErrorTrap trap(m_display);
        Atom actualType = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const bool present =
            XGetWindowProperty(m_display, w, m_icccmState, 0, 2, False, AnyPropertyType,
                               &actualType, &format, &count, &after, &data) == Success &&
            actualType != 0;
        bool managed = false;
        if (present && data && format == 32 && count >= 1)
            managed = reinterpret_cast<const long*>(data)[0] != WithdrawnState;
        if (data)
            XFree(data);
        return managed;
    }

    void sendToRoot(::Window w, Atom type, std::array<long, 5> data) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = w;
        event.xclient.message_type = type;
        event.xclient.format = 32;
        for (int i = 0; i < 5; ++i)
            event.xclient.data.l[i] = data[static_cast<size_t>(i)];
        XSendEvent(m_display, m_root, False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
    }

    void setAbove(::Window w, const XWindowAttributes& attributes, bool above) {
        if (attributes.map_state != IsUnmapped || hasIcccmState(w)) {
            // A managed window: the window manager keeps its state.
            sendToRoot(w, m_wmState,
                       {above ? NET_WM_STATE_ADD : NET_WM_STATE_REMOVE,
                        static_cast<long>(m_wmStateAbove), 0, SOURCE_PAGER, 0});
            return;
        }
        // A withdrawn window: the state is read when it is mapped next.
        std::vector<unsigned long> states = listProperty(w, m_wmState, XA_ATOM);
        states.erase(std::remove(states.begin(), states.end(), m_wmStateAbove), states.end());
        if (above)
            states.push_back(m_wmStateAbove);
        std::vector<long> values(states.begin(), states.end());
        XChangeProperty(m_display, w, m_wmState, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(values.data()),
                        static_cast<int>(values.size()));
    }

    // Client windows, top of the stacking order first. The window manager's
    // lists are the truth when it keeps them; without one, the root's
    // children that are (or hold) client windows.
    std::vector<::Window> clientsTopFirst() {
        std::vector<unsigned long> list = listProperty(m_root, m_clientListStacking, XA_WINDOW);
        if (list.empty())
            list = listProperty(m_root, m_clientList, XA_WINDOW);
        if (list.empty())
            list = clientsFromTree();
        std::vector<::Window> result(list.rbegin(), list.rend());
        return result;
    }

    // Bottom to top, as XQueryTree lists them.
    std::vector<unsigned long> clientsFromTree() {
        std::vector<unsigned long> result;
        for (::Window top : children(m_root)) {
            XWindowAttributes attributes;
            {
                ErrorTrap trap(m_display);
                if (!XGetWindowAttributes(m_display, top, &attributes) || trap.failed())
                    continue;
            }
            if (attributes.override_redirect)
                continue; // menus, tooltips: never application windows
            if (const ::Window client = findClient(top, 2))
                result.push_back(client);
            else if (attributes.map_state == IsViewable && hasClassHint(top))
                result.push_back(top); // no window manager: the window itself
        }
        return result;
    }

    ::Window findClient(::Window w, int depth) {
        if (hasIcccmState(w))
            return w;
        if (depth == 0)
            return 0;
        for (::Window child : children(w))
            if (const ::Window client = findClient(child, depth - 1))
                return client;
        return 0;
    }

    bool hasClassHint(::Window w) {
        ErrorTrap trap(m_display);
        XClassHint hint{nullptr, nullptr};
        const Status ok = XGetClassHint(m_display, w, &hint);
        if (hint.res_name)
            XFree(hint.res_name);
        if (hint.res_class)
            XFree(hint.res_class);
        return ok && !trap.failed();
    }

    std::vector<::Window> children(::Window w) {
        ErrorTrap trap(m_display);
        ::Window root = 0, parent = 0;
        ::Window* list = nullptr;
        unsigned int count = 0;
        std::vector<::Window> result;
        if (XQueryTree(m_display, w, &root, &parent, &list, &count) && list)
            result.assign(list, list + count);
        if (list)
            XFree(list);
        return result;
    }

    Display* m_display;
    ::Window m_root;
    Atom m_clientListStacking, m_clientList, m_supported, m_activeWindow, m_wmState, m_wmStateAbove,
        m_icccmState, m_protocols, m_deleteWindow;
};

} // namespace

std::unique_ptr<DesktopBackend> openX11DesktopOn(const char* displayName) {
    Display* display = XOpenDisplay(displayName);
    if (!display)
        return nullptr;
    return std::make_unique<X11Desktop>(display);
}

std::unique_ptr<DesktopBackend> openX11Desktop() {
    // Under offscreen or Wayland the program's windows are not X11 windows,
    // and a stray DISPLAY must not make other programs' windows appear.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    return openX11DesktopOn(nullptr);
}

} // namespace lumo
