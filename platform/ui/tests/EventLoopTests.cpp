// The real Qt side: the message loop on Qt's event loop, real-time timers and
// Qt input events on a top-level window's widget.

#include "platform/testsupport/TestHooks.h"
#include "platform/ui/DC.h"
#include "platform/ui/Surface.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowState.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CLoopWnd : public CWnd {
public:
    std::vector<std::string> log;
    int ticks = 0;
    void OnTimer(UINT_PTR) {
        if (++ticks == 3)
            PostMessage(WM_CLOSE);
    }
    std::vector<DWORD> times;
    void OnLButtonDown(UINT, CPoint p) {
        log.push_back("down " + std::to_string(p.x) + "," + std::to_string(p.y));
        times.push_back(GetMessageTime());
    }
    void OnLButtonDblClk(UINT, CPoint) {
        log.push_back("double");
        times.push_back(GetMessageTime());
    }
    void OnLButtonUp(UINT, CPoint p) {
        log.push_back("up " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    void OnKeyDown(UINT key, UINT, UINT) { log.push_back("key " + std::to_string(key)); }
    void OnClose() {
        log.push_back("close");
        CWnd::OnClose();
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLoopWnd, CWnd)
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONUP()
ON_WM_KEYDOWN()
ON_WM_CLOSE()
END_MESSAGE_MAP()

class CLoopApp : public CWinApp {
public:
    int exits = 0;
    int ExitInstance() override {
        ++exits;
        return CWinApp::ExitInstance();
    }
};

TEST(EventLoop, RunsRealTimeTimersUntilTheMainWindowCloses) {
    lumo::test::resetQuit();
    CLoopApp app;
    auto* main = new CLoopWnd;
    ASSERT_TRUE(main->CreateEx(0, nullptr, L"loop", WS_OVERLAPPED | WS_VISIBLE,
                               RECT{0, 0, 100, 100}, nullptr, 0));
    app.m_pMainWnd = main;
    main->SetTimer(1, 20);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(app.Run(), 0);
    EXPECT_GE(clock.elapsed(), 50) << "three 20 ms ticks of the real clock";
    EXPECT_EQ(main->ticks, 3);
    EXPECT_EQ(main->log, (std::vector<std::string>{"close"}));
    EXPECT_EQ(app.exits, 1) << "the exit hook runs after the loop";
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    delete main;
    lumo::test::resetQuit();
}

TEST(EventLoop, QtInputOnTheWindowWidgetBecomesMessages) {
    lumo::test::installManualClock(5000);
    CLoopWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"input", WS_OVERLAPPED | WS_VISIBLE, RECT{0, 0, 100, 100},
                             nullptr, 0));
    CLoopWnd child;
    ASSERT_TRUE(
        child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{20, 30, 80, 90}, &top, 1));
    QWidget* widget = top.state()->surface;
    ASSERT_NE(widget, nullptr);
    const QPointF at(25, 40);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
    child.SetFocus();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &key);
    lumo::test::pumpMessages();
    EXPECT_EQ(child.log, (std::vector<std::string>{"down 5,10", "up 5,10", "key 40"}));
    EXPECT_EQ(GetMessageTime(), 5000);

    // Resizing the Qt window resizes the window and its frame buffer.
    widget->resize(120, 90);
    lumo::test::pumpMessages();
    CRect client;
    top.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 120, 90));
    EXPECT_EQ(lumo::test::captureWindow(&top).size(), QSize(120, 90));

    // Closing the Qt window asks the window to close the normal way.
    QCloseEvent close;
    QCoreApplication::sendEvent(widget, &close);
    lumo::test::pumpMessages();
    EXPECT_EQ(top.log, (std::vector<std::string>{"close"}));
    EXPECT_FALSE(top.IsWindow());
    lumo::test::uninstallManualClock();
}

// A pen tap on the widget as the window system reports it, made at `time`.
void tapWidget(QWidget* widget, QPointF at, std::uint64_t time) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    press.setTimestamp(time);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    release.setTimestamp(time);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

TEST(EventLoop, TapsQueuedWhileTheLoopWasBusyKeepTheTimeTheyWereMade) {
    lumo::test::installManualClock(5000);
    CLoopWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"busy", WS_OVERLAPPED | WS_VISIBLE, RECT{0, 0, 100, 100},
                             nullptr, 0));
    QWidget* widget = top.state()->surface;
    ASSERT_NE(widget, nullptr);
    tapWidget(widget, QPointF(10, 10), 900000);
    lumo::test::pumpMessages();
    // A handler keeps the loop busy for a second and a half; meanwhile two taps
    // are made 600 ms apart, and arrive together when it is free again.
    lumo::test::advanceClock(1500);
    tapWidget(widget, QPointF(10, 10), 900600);
    tapWidget(widget, QPointF(10, 10), 901200);
    lumo::test::pumpMessages();
    const std::vector<std::string> threeTaps = {"down 10,10", "up 10,10",   "down 10,10",
                                                "up 10,10",   "down 10,10", "up 10,10"};
    EXPECT_EQ(top.log, threeTaps) << "600 ms apart is no double tap, however late they arrived";
    EXPECT_EQ(top.times, (std::vector<DWORD>{5000, 5600, 6200}));

    // Input that has no time of its own carries the current tick count.
    lumo::test::tap(&top, POINT{10, 10});
    EXPECT_EQ(top.times.back(), 6500u);
    lumo::test::uninstallManualClock();
}

TEST(EventLoop, DrawingThroughAWindowDcIsOnScreenWhenTheDcIsReleased) {
    CLoopWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"draw", WS_OVERLAPPED | WS_VISIBLE, RECT{0, 0, 100, 100},
                             nullptr, 0));
    QWidget* widget = top.state()->surface;
    ASSERT_NE(widget, nullptr);
    lumo::test::pumpMessages();
    QCoreApplication::processEvents();
    auto screenPixel = [&] {
        return widget->screen()->grabWindow(widget->winId()).toImage().pixel(50, 50) & 0xFFFFFF;
    };
    // A notice drawn before a long task, with no chance for the loop to run.
    HDC dc = ::GetDC(top.m_hWnd);
    CDC::FromHandle(dc)->FillSolidRect(0, 0, 100, 100, RGB(255, 0, 0));
    EXPECT_NE(screenPixel(), 0xFF0000u) << "not yet: the drawing is still being made";
    ::ReleaseDC(top.m_hWnd, dc);
    EXPECT_EQ(screenPixel(), 0xFF0000u);

    // A DC only used to measure presents nothing; one that draws presents
    // the whole frame, pixels put there by other means too.
    top.state()->frame.setPixel(50, 50, qRgb(0, 0, 255));
    {
        CClientDC measure(&top);
        EXPECT_GT(measure.GetTextExtent(L"A", 1).cx, 0);
    }
    EXPECT_EQ(screenPixel(), 0xFF0000u) << "nothing was presented";
    HDC draw = ::GetDC(top.m_hWnd);
    CDC::FromHandle(draw)->FillSolidRect(0, 0, 1, 1, RGB(0, 255, 0));
    ::ReleaseDC(top.m_hWnd, draw);
    EXPECT_EQ(screenPixel(), 0x0000FFu);
}

} // namespace
