// Windows' idle work: slices after messages, paint and timers, in turns,
// through the test hooks and through the real event loop.

#include "platform/testsupport/TestHooks.h"
#include "platform/ui/IdleWork.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

constexpr UINT WM_NOTE = WM_USER + 7;

class CWorkWnd : public CWnd {
public:
    std::string name;
    int slicesLeft = 0;
    bool postOnFirstSlice = false;
    int quitAfter = -1;
    int slices = 0;

    LRESULT OnKickIdle(WPARAM, LPARAM) {
        g_log.push_back(name + " slice");
        if (postOnFirstSlice && slices == 0)
            PostMessage(WM_NOTE);
        if (++slices == quitAfter)
            PostQuitMessage(5);
        return --slicesLeft > 0;
    }
    LRESULT OnNote(WPARAM, LPARAM) {
        g_log.push_back(name + " message");
        return 0;
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CWorkWnd, CWnd)
ON_MESSAGE(WM_KICKIDLE, &CWorkWnd::OnKickIdle)
ON_MESSAGE(WM_NOTE, &CWorkWnd::OnNote)
END_MESSAGE_MAP()

class IdleWork : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        lumo::test::resetHooks();
        lumo::test::resetQuit();
        lumo::test::pumpMessages();
    }
    void TearDown() override {
        lumo::test::resetHooks();
        lumo::test::resetQuit();
    }
    void create(CWorkWnd& wnd, const char* name, int slices) {
        wnd.name = name;
        wnd.slicesLeft = slices;
        ASSERT_TRUE(
            wnd.CreateEx(0, nullptr, L"work", WS_OVERLAPPED, RECT{0, 0, 10, 10}, nullptr, 0));
    }
};

TEST_F(IdleWork, WindowsTakeTurnsUntilEachSaysItIsDone) {
    CWorkWnd a, b;
    create(a, "a", 3);
    create(b, "b", 1);
    ASSERT_TRUE(RequestIdleWork(a.m_hWnd));
    ASSERT_TRUE(RequestIdleWork(b.m_hWnd));
    ASSERT_TRUE(RequestIdleWork(a.m_hWnd)) << "asking twice changes nothing";
    lumo::test::pumpMessages();
    EXPECT_EQ(g_log, (std::vector<std::string>{"a slice", "b slice", "a slice", "a slice"}));
    EXPECT_FALSE(RequestIdleWork(nullptr));
}

TEST_F(IdleWork, MessagesComeBeforeTheNextSlice) {
    CWorkWnd a;
    create(a, "a", 2);
    a.postOnFirstSlice = true;
    RequestIdleWork(a.m_hWnd);
    lumo::test::pumpMessages();
    EXPECT_EQ(g_log, (std::vector<std::string>{"a slice", "a message", "a slice"}));
}

TEST_F(IdleWork, HeldWorkWaitsAndADestroyedWindowsWorkEnds) {
    CWorkWnd a, b;
    create(a, "a", 2);
    create(b, "b", 5);
    lumo::test::holdIdleWork(true);
    RequestIdleWork(a.m_hWnd);
    RequestIdleWork(b.m_hWnd);
    lumo::test::pumpMessages();
    EXPECT_TRUE(g_log.empty());
    b.DestroyWindow();
    lumo::test::holdIdleWork(false);
    lumo::test::pumpMessages();
    EXPECT_EQ(g_log, (std::vector<std::string>{"a slice", "a slice"}));
}

TEST_F(IdleWork, TheRealEventLoopRunsItASliceAtATime) {
    CWinApp app;
    auto* main = new CWorkWnd;
    create(*main, "main", 100);
    main->quitAfter = 4;
    app.m_pMainWnd = main;
    RequestIdleWork(main->m_hWnd);
    EXPECT_EQ(app.Run(), 5);
    EXPECT_EQ(main->slices, 4);
    app.m_pMainWnd = nullptr;
    main->DestroyWindow();
    delete main;
}

} // namespace
