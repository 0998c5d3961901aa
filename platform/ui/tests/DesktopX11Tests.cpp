// The X11 desktop on a private Xvfb server (skipped where Xvfb is missing).
// No window manager runs there, so these cover the paths of a bare server:
// the window tree, WM_CLASS, map state, stacking, properties and the
// delete-window request.
#include "platform/ui/Desktop.h"

#include "tests/support/XServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

class X11DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_server = std::make_unique<lumo::test::XServer>();
        if (m_server->name().empty())
            GTEST_SKIP() << "Xvfb is not installed";
        m_display = XOpenDisplay(m_server->name().c_str());
        ASSERT_NE(m_display, nullptr);
        m_desktop = lumo::openX11DesktopOn(m_server->name().c_str());
        ASSERT_NE(m_desktop, nullptr);
    }
    void TearDown() override {
        m_desktop.reset();
        if (m_display)
            XCloseDisplay(m_display);
    }

    ::Window makeWindow(const char* className, bool map = true, bool overrideRedirect = false) {
        XSetWindowAttributes attributes{};
        attributes.override_redirect = overrideRedirect ? True : False;
        ::Window w =
            XCreateWindow(m_display, DefaultRootWindow(m_display), 0, 0, 100, 80, 0, CopyFromParent,
                          InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
        if (className) {
            XClassHint hint{const_cast<char*>("test"), const_cast<char*>(className)};
            XSetClassHint(m_display, w, &hint);
        }
        if (map)
            XMapWindow(m_display, w);
        XSync(m_display, False);
        return w;
    }
    static HWND handle(::Window w) { return lumo::foreignHandle(w); }
    bool mapped(::Window w) {
        XWindowAttributes attributes;
        return XGetWindowAttributes(m_display, w, &attributes) &&
               attributes.map_state == IsViewable;
    }
    std::vector<Atom> states(::Window w) {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        std::vector<Atom> result;
        XGetWindowProperty(m_display, w, XInternAtom(m_display, "_NET_WM_STATE", False), 0, 32,
                           False, XA_ATOM, &type, &format, &count, &after, &data);
        if (data) {
            const long* items = reinterpret_cast<const long*>(data);
            result.assign(items, items + count);
            XFree(data);
        }
        return result;
    }

    std::unique_ptr<lumo::test::XServer> m_server;
    Display* m_display = nullptr;
    std::unique_ptr<lumo::DesktopBackend> m_desktop;
};

TEST_F(X11DesktopTest, ListsApplicationWindowsTopFirstWithTheirClass) {
    const ::Window alpha = makeWindow("Alpha");
    const ::Window beta = makeWindow("Beta");
    makeWindow(nullptr);            // no WM_CLASS: not an application window
    makeWindow("Menu", true, true); // override-redirect: a menu or tooltip
    const ::Window hidden = makeWindow("Hidden", false);

    EXPECT_EQ(m_desktop->windows(), (std::vector<HWND>{handle(beta), handle(alpha)}));
    EXPECT_EQ(m_desktop->className(handle(beta)), std::optional<std::wstring>(L"Beta"));
    EXPECT_EQ(m_desktop->className(handle(hidden)), std::optional<std::wstring>(L"Hidden"));
    EXPECT_TRUE(m_desktop->isWindow(handle(hidden)));

    XDestroyWindow(m_display, alpha);
    XSync(m_display, False);
    EXPECT_FALSE(m_desktop->isWindow(handle(alpha)));
    EXPECT_EQ(m_desktop->className(handle(alpha)), std::nullopt)
        << "a vanished window is an answer, not a crash";
    EXPECT_FALSE(m_desktop->show(handle(alpha), SW_SHOW));
    EXPECT_FALSE(m_desktop->setForeground(handle(alpha)));
    EXPECT_EQ(m_desktop->windows(), std::vector<HWND>{handle(beta)});
}

TEST_F(X11DesktopTest, ShowsHidesStacksAndMarksTopmost) {
    const ::Window lower = makeWindow("Lower");
    const ::Window upper = makeWindow("Upper");

    EXPECT_TRUE(m_desktop->show(handle(lower), SW_HIDE)) << "it was visible";
    XSync(m_display, False);
    EXPECT_FALSE(mapped(lower));
    EXPECT_FALSE(m_desktop->show(handle(lower), SW_SHOW)) << "it was hidden";
    XSync(m_display, False);
    EXPECT_TRUE(mapped(lower));

    // Without a window manager, activation raises the window and focuses it.
    ASSERT_TRUE(m_desktop->setForeground(handle(lower)));
    XSync(m_display, False);
    EXPECT_EQ(m_desktop->windows().front(), handle(lower));
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    EXPECT_EQ(focus, lower);
    ASSERT_TRUE(
        m_desktop->setWindowPos(handle(upper), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(m_desktop->windows().front(), handle(upper));

    ASSERT_TRUE(m_desktop->setWindowPos(handle(upper), nullptr, 30, 40, 50, 60, SWP_NOZORDER));
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(m_display, upper, &attributes));
    EXPECT_EQ((std::vector<int>{attributes.x, attributes.y, attributes.width, attributes.height}),
              (std::vector<int>{30, 40, 50, 60}));

    // A withdrawn window carries the state for the window manager to read.
    const ::Window later = makeWindow("Later", false);
    const Atom above = XInternAtom(m_display, "_NET_WM_STATE_ABOVE", False);
    ASSERT_TRUE(
        m_desktop->setWindowPos(handle(later), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(states(later), std::vector<Atom>{above});
    ASSERT_TRUE(
        m_desktop->setWindowPos(handle(later), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(states(later), std::vector<Atom>{above}) << "not added twice";
    ASSERT_TRUE(m_desktop->setWindowPos(handle(later), HWND_NOTOPMOST, 0, 0, 0, 0,
                                        SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_TRUE(states(later).empty());
}

// The window's owner answers the delete-window request on its own
// connection; the close call returns once the window is gone.
TEST_F(X11DesktopTest, CloseBecomesTheDeleteWindowRequestAndWaitsForTheWindowToGo) {
    Display* owner = XOpenDisplay(m_server->name().c_str());
    ASSERT_NE(owner, nullptr);
    const Atom deleteWindow = XInternAtom(owner, "WM_DELETE_WINDOW", False);
    auto create = [&](const char* name, bool polite) {
        ::Window w = XCreateSimpleWindow(owner, DefaultRootWindow(owner), 0, 0, 50, 50, 0, 0, 0);
        XClassHint hint{const_cast<char*>("test"), const_cast<char*>(name)};
        XSetClassHint(owner, w, &hint);
        if (polite) {
            Atom protocols[] = {deleteWindow};
            XSetWMProtocols(owner, w, protocols, 1);
        }
        XMapWindow(owner, w);
        return w;
    };
    const ::Window player = create("Player", true);
    const ::Window rude = create("Rude", false);
    XSync(owner, False);

    std::atomic<int> requests{0};
    std::thread ownerThread([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            while (XPending(owner)) {
                XEvent event;
                XNextEvent(owner, &event);
                if (event.type == ClientMessage &&
                    static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
                    ++requests;
                    XDestroyWindow(owner, event.xclient.window);
                    XSync(owner, False);
                    return;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });

    EXPECT_EQ(m_desktop->sendMessage(handle(rude), WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(m_desktop->sendMessage(handle(player), WM_USER, 0, 0), 0);
    EXPECT_TRUE(m_desktop->isWindow(handle(rude))) << "no request without the protocol";
    EXPECT_TRUE(m_desktop->isWindow(handle(player))) << "other messages do nothing";

    m_desktop->sendMessage(handle(player), WM_DESTROY, 0, 0);
    EXPECT_FALSE(m_desktop->isWindow(handle(player))) << "gone when the call returns";
    ownerThread.join();
    EXPECT_EQ(requests.load(), 1);
    XCloseDisplay(owner);
}

} // namespace
