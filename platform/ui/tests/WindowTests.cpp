#include "platform/core/Clock.h"
#include "platform/testsupport/TestHooks.h"
#include "platform/ui/DC.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT WM_PROBE = WM_USER + 7;
constexpr UINT WM_SWALLOWED = WM_USER + 8;

// Records the messages it gets as short names with their parameters.
class CProbeWnd : public CWnd {
public:
    std::vector<std::string> log;
    std::vector<DWORD> timerTimes;
    bool captureOnDown = false;
    bool paintRed = false;

    int OnCreate(LPCREATESTRUCT lpcs) {
        log.push_back("create");
        return CWnd::OnCreate(lpcs);
    }
    void OnDestroy() { log.push_back("destroy"); }
    void OnSize(UINT, int cx, int cy) {
        log.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    BOOL OnEraseBkgnd(CDC* pDC) {
        log.push_back("erase");
        return CWnd::OnEraseBkgnd(pDC);
    }
    void OnPaint() {
        CPaintDC dc(this);
        log.push_back("paint");
        if (paintRed)
            dc.FillSolidRect(0, 0, 2, 2, RGB(255, 0, 0));
    }
    void OnTimer(UINT_PTR id) {
        log.push_back("timer " + std::to_string(id));
        timerTimes.push_back(static_cast<DWORD>(GetMessageTime()));
    }
    void OnLButtonDown(UINT, CPoint p) {
        log.push_back("down " + std::to_string(p.x) + "," + std::to_string(p.y));
        if (captureOnDown)
            SetCapture();
    }
    void OnLButtonUp(UINT, CPoint p) {
        log.push_back("up " + std::to_string(p.x) + "," + std::to_string(p.y));
        if (GetCapture() == this)
            ReleaseCapture();
    }
    void OnLButtonDblClk(UINT, CPoint p) {
        log.push_back("dblclk " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    BOOL OnMouseWheel(UINT, short delta, CPoint) {
        log.push_back("wheel " + std::to_string(delta));
        return TRUE;
    }
    LRESULT OnProbe(WPARAM w, LPARAM l) {
        log.push_back("probe " + std::to_string(w) + "," + std::to_string(l));
        if (w == 1) {
            // A posted message waits for the current one; a sent one runs now.
            PostMessage(WM_PROBE, 3, 0);
            SendMessage(WM_PROBE, 2, 0);
        }
        return 0;
    }
    LRESULT OnSwallowed(WPARAM, LPARAM) {
        log.push_back("swallowed message arrived");
        return 0;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override { return pMsg->message == WM_SWALLOWED; }

    void clear() { log.clear(); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEWHEEL()
ON_MESSAGE(WM_PROBE, &CProbeWnd::OnProbe)
ON_MESSAGE(WM_SWALLOWED, &CProbeWnd::OnSwallowed)
END_MESSAGE_MAP()

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        lumo::test::installManualClock(1000);
        lumo::test::resetHooks();
        ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_OVERLAPPED | WS_VISIBLE,
                                 RECT{0, 0, 200, 100}, nullptr, 0));
        ASSERT_TRUE(
            left.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 20, 100, 100}, &top, 1));
        ASSERT_TRUE(right.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{100, 20, 200, 100},
                                 &top, 2));
        lumo::test::pumpMessages();
        top.clear();
        left.clear();
        right.clear();
    }
    void TearDown() override {
        top.DestroyWindow();
        lumo::test::pumpMessages();
        lumo::test::resetQuit();
        lumo::test::uninstallManualClock();
    }
    CProbeWnd top, left, right;
};

TEST_F(WindowTest, CreationSendsCreateThenSize) {
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, nullptr, WS_CHILD, RECT{5, 5, 45, 35}, &top, 9));
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"create", "size 40x30"}));
    EXPECT_EQ(top.GetDlgItem(9), &wnd);
    EXPECT_EQ(wnd.GetParent(), &top);
    EXPECT_EQ(wnd.GetTopLevelParent(), &top);
}

TEST_F(WindowTest, SentMessagesRunAtOncePostedOnesInOrder) {
    left.PostMessage(WM_PROBE, 1, 10);
    left.PostMessage(WM_PROBE, 4, 40);
    EXPECT_TRUE(left.log.empty());
    lumo::test::pumpMessages();
    EXPECT_EQ(left.log,
              (std::vector<std::string>{"probe 1,10", "probe 2,0", "probe 4,40", "probe 3,0"}));
}

TEST_F(WindowTest, PreTranslateMessageSeesPostedButNotSentMessages) {
    left.PostMessage(WM_SWALLOWED);
    lumo::test::pumpMessages();
    EXPECT_TRUE(left.log.empty());
    left.SendMessage(WM_SWALLOWED);
    EXPECT_EQ(left.log, (std::vector<std::string>{"swallowed message arrived"}));
}

TEST_F(WindowTest, MessagesForADestroyedWindowAreDropped) {
    auto* doomed = new CProbeWnd;
    ASSERT_TRUE(
        doomed->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, &left, 5));
    const HWND handle = doomed->m_hWnd;
    doomed->SetTimer(7, 100);
    EXPECT_TRUE(::PostMessage(handle, WM_PROBE, 1, 0));
    doomed->DestroyWindow();
    delete doomed;
    EXPECT_FALSE(::IsWindow(handle));
    EXPECT_FALSE(::PostMessage(handle, WM_PROBE, 1, 0));
    lumo::test::advanceClock(500); // neither the message nor the timer may reach freed memory
    EXPECT_EQ(::SendMessage(handle, WM_PROBE, 0, 0), 0);
}

TEST_F(WindowTest, InvalidateWithEraseSendsEraseThenPaint) {
    left.Invalidate(TRUE);
    lumo::test::pumpMessages();
    EXPECT_EQ(left.log, (std::vector<std::string>{"erase", "paint"}));
    EXPECT_TRUE(right.log.empty());
    left.clear();
    left.Invalidate(FALSE);
    lumo::test::pumpMessages();
    EXPECT_EQ(left.log, (std::vector<std::string>{"paint"}));
    left.clear();
    lumo::test::pumpMessages();
    EXPECT_TRUE(left.log.empty()) << "a painted window is valid again";
}

TEST_F(WindowTest, UpdateWindowPaintsAtOnce) {
    left.Invalidate(FALSE);
    left.UpdateWindow();
    EXPECT_EQ(left.log, (std::vector<std::string>{"paint"}));
}

TEST_F(WindowTest, DrawnPixelsStayUntilErased) {
    left.SetBackgroundColor(RGB(0, 0, 255));
    {
        CClientDC dc(&left);
        dc.FillSolidRect(10, 10, 5, 5, RGB(0, 255, 0));
    }
    left.Invalidate(FALSE);
    lumo::test::pumpMessages();
    QImage image = lumo::test::captureWindow(&left);
    EXPECT_EQ(image.pixel(12, 12), qRgb(0, 255, 0)) << "a paint without erase keeps what was drawn";
    left.Invalidate(TRUE);
    lumo::test::pumpMessages();
    image = lumo::test::captureWindow(&left);
    EXPECT_EQ(image.pixel(12, 12), qRgb(0, 0, 255));
}

TEST_F(WindowTest, PaintingIsClippedToTheInvalidPartAndTheWindow) {
    left.paintRed = true;
    right.paintRed = true;
    {
        CClientDC dc(&left);
        dc.FillSolidRect(0, 0, 100, 80, RGB(255, 255, 255));
        // A child's DC cannot draw outside the child.
        dc.FillSolidRect(90, 0, 50, 10, RGB(0, 0, 0));
    }
    const RECT part{1, 1, 4, 4};
    left.InvalidateRect(&part, FALSE);
    lumo::test::pumpMessages();
    QImage image = lumo::test::captureWindow(&left);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255)) << "outside the invalid part";
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(99, 5), qRgb(0, 0, 0));
    EXPECT_NE(lumo::test::captureWindow(&right).pixel(0, 5), qRgb(0, 0, 0));
}

TEST_F(WindowTest, ParentPaintingLeavesChildrenAlone) {
    {
        CClientDC dc(&left);
        dc.FillSolidRect(0, 0, 100, 80, RGB(0, 255, 0));
    }
    {
        CClientDC dc(&top);
        dc.FillSolidRect(0, 0, 200, 100, RGB(255, 0, 0));
    }
    EXPECT_EQ(lumo::test::captureWindow(&left).pixel(50, 50), qRgb(0, 255, 0));
    EXPECT_EQ(lumo::test::captureWindow(&top).pixel(50, 5), qRgb(255, 0, 0));
}

TEST_F(WindowTest, TimersFireExactlyUnderTheManualClock) {
    left.SetTimer(100, 100);
    left.SetTimer(101, 500);
    lumo::test::advanceClock(99);
    EXPECT_TRUE(left.log.empty());
    lumo::test::advanceClock(1);
    EXPECT_EQ(left.log, (std::vector<std::string>{"timer 100"}));
    lumo::test::advanceClock(400);
    EXPECT_EQ(left.log.size(), 6u);
    EXPECT_EQ(left.log.back(), "timer 101");
    EXPECT_EQ(left.timerTimes, (std::vector<DWORD>{1100, 1200, 1300, 1400, 1500, 1500}));
    EXPECT_EQ(GetTickCount(), 1500u);
    left.KillTimer(100);
    left.clear();
    lumo::test::advanceClock(1000);
    EXPECT_EQ(left.log, (std::vector<std::string>{"timer 101", "timer 101"}));
    EXPECT_FALSE(left.KillTimer(100)) << "already killed";
}

TEST_F(WindowTest, SettingATimerAgainRestartsIt) {
    left.SetTimer(5, 100);
    lumo::test::advanceClock(80);
    left.SetTimer(5, 100);
    lumo::test::advanceClock(80);
    EXPECT_TRUE(left.log.empty());
    lumo::test::advanceClock(20);
    EXPECT_EQ(left.log, (std::vector<std::string>{"timer 5"}));
}

TEST_F(WindowTest, PenInputGoesToTheChildUnderThePenInClientCoordinates) {
    lumo::test::tap(&top, POINT{150, 30});
    EXPECT_EQ(right.log, (std::vector<std::string>{"down 50,10", "up 50,10"}));
    EXPECT_TRUE(left.log.empty());
    EXPECT_EQ(GetMessageTime(), 1000);
    const DWORD pos = GetMessagePos();
    EXPECT_EQ(static_cast<short>(LOWORD(pos)), 150);
    EXPECT_EQ(static_cast<short>(HIWORD(pos)), 30);
}

TEST_F(WindowTest, CaptureKeepsPenMessagesAtTheCapturingWindow) {
    left.captureOnDown = true;
    lumo::test::penDown(&left, POINT{10, 10});
    lumo::test::penUp(&right, POINT{5, 5});
    EXPECT_EQ(left.log, (std::vector<std::string>{"down 10,10", "up 105,5"}));
    EXPECT_TRUE(right.log.empty());
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(WindowTest, DoubleTapSequenceMatchesTheDevice) {
    struct Case {
        const char* name;
        DWORD gap;
        POINT second;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"quick second tap",
         200,
         POINT{11, 11},
         {"down 10,10", "up 10,10", "dblclk 11,11", "up 11,11"}},
        {"second tap too late",
         501,
         POINT{10, 10},
         {"down 10,10", "up 10,10", "down 10,10", "up 10,10"}},
        {"second tap too far",
         100,
         POINT{20, 10},
         {"down 10,10", "up 10,10", "down 20,10", "up 20,10"}},
    };
    for (const Case& c : cases) {
        left.clear();
        lumo::test::advanceClock(2000);
        lumo::test::tap(&left, POINT{10, 10});
        lumo::test::advanceClock(c.gap);
        lumo::test::tap(&left, c.second);
        EXPECT_EQ(left.log, c.expected) << c.name;
    }
    // A third quick tap starts a new sequence.
    left.clear();
    lumo::test::advanceClock(2000);
    for (int i = 0; i < 3; ++i)
        lumo::test::tap(&left, POINT{1, 1});
    EXPECT_EQ(left.log, (std::vector<std::string>{"down 1,1", "up 1,1", "dblclk 1,1", "up 1,1",
                                                  "down 1,1", "up 1,1"}));
}

TEST_F(WindowTest, WheelReachesTheWindowUnderThePen) {
    lumo::test::wheel(&top, POINT{50, 50}, -120);
    EXPECT_EQ(left.log, (std::vector<std::string>{"wheel -120"}));
}

TEST_F(WindowTest, AnUnhandledWheelGoesToTheParent) {
    CWnd plain;
    ASSERT_TRUE(
        plain.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, &left, 3));
    lumo::test::wheel(&plain, POINT{5, 5}, 240);
    EXPECT_EQ(left.log, (std::vector<std::string>{"wheel 240"}));
    plain.DestroyWindow();
}

TEST_F(WindowTest, CoordinatesConvertBetweenClientAndScreen) {
    top.MoveWindow(30, 40, 200, 100, FALSE);
    CPoint p(5, 6);
    right.ClientToScreen(&p);
    EXPECT_EQ(p, CPoint(135, 66));
    right.ScreenToClient(&p);
    EXPECT_EQ(p, CPoint(5, 6));
    CRect r;
    right.GetWindowRect(&r);
    EXPECT_EQ(r, CRect(130, 60, 230, 140));
    right.GetClientRect(&r);
    EXPECT_EQ(r, CRect(0, 0, 100, 80));
}

TEST_F(WindowTest, MovingAChildResizesItAndRepaints) {
    left.MoveWindow(0, 20, 60, 80);
    EXPECT_EQ(left.log, (std::vector<std::string>{"size 60x80"}));
    left.clear();
    lumo::test::pumpMessages();
    EXPECT_EQ(left.log, (std::vector<std::string>{"erase", "paint"}));
}

TEST_F(WindowTest, DestroySendsDestroyToParentThenChildren) {
    std::vector<std::string> order;
    left.DestroyWindow();
    EXPECT_EQ(left.log, (std::vector<std::string>{"destroy"}));
    EXPECT_EQ(top.GetDlgItem(1), nullptr);
    EXPECT_FALSE(left.IsWindow());
}

TEST_F(WindowTest, HiddenAndMinimisedWindows) {
    EXPECT_TRUE(top.IsWindowVisible());
    top.ShowWindow(SW_MINIMIZE);
    EXPECT_TRUE(top.IsIconic());
    top.ShowWindow(SW_SHOW);
    EXPECT_FALSE(top.IsIconic());
    left.ShowWindow(SW_HIDE);
    EXPECT_FALSE(left.IsWindowVisible());
    left.clear();
    left.Invalidate();
    lumo::test::pumpMessages();
    EXPECT_TRUE(left.log.empty()) << "hidden windows are not painted";
}

class CMainApp : public CWinApp {};

TEST(MainWindow, DestroyingTheMainWindowEndsTheLoop) {
    CMainApp app;
    auto* main = new CProbeWnd;
    ASSERT_TRUE(main->CreateEx(0, nullptr, L"main", WS_OVERLAPPED, RECT{0, 0, 50, 50}, nullptr, 0));
    app.m_pMainWnd = main;
    lumo::test::resetQuit();
    main->PostMessage(WM_CLOSE);
    lumo::test::pumpMessages();
    EXPECT_TRUE(lumo::test::quitRequested());
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(main->log.back(), "destroy");
    delete main;
    lumo::test::resetQuit();
}

} // namespace
