// Top-level window enumeration, class names and the window functions on
// other programs' windows (through the fake desktop).
#include "platform/core/Clock.h"
#include "platform/core/Process.h"
#include "platform/testsupport/FakeDesktop.h"
#include "platform/testsupport/TestHooks.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Kind = lumo::test::DesktopCall::Kind;

std::vector<HWND> enumerate() {
    std::vector<HWND> handles;
    EnumWindows(
        [](HWND h, LPARAM l) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&handles));
    return handles;
}

std::unique_ptr<CWnd> makeTopLevel(const wchar_t* className) {
    auto wnd = std::make_unique<CWnd>();
    EXPECT_TRUE(
        wnd->CreateEx(0, className, L"own", WS_OVERLAPPED, RECT{0, 0, 100, 50}, nullptr, 0));
    return wnd;
}

TEST(Desktop, WithoutADesktopOnlyOwnTopLevelWindowsAreEnumerated) {
    ASSERT_EQ(lumo::desktop(), nullptr)
        << "the offscreen platform has no desktop of other programs";
    auto first = makeTopLevel(L"FirstClass");
    auto second = makeTopLevel(L"SecondClass");
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD, RECT{0, 0, 10, 10}, first.get(), 1));

    const std::vector<HWND> all = enumerate();
    EXPECT_EQ(all, (std::vector<HWND>{second->m_hWnd, first->m_hWnd}))
        << "newest first, no child windows";

    int seen = 0;
    EXPECT_FALSE(
        EnumWindows([](HWND, LPARAM l) -> BOOL { return ++*reinterpret_cast<int*>(l) < 1; },
                    reinterpret_cast<LPARAM>(&seen)));
    EXPECT_EQ(seen, 1) << "the callback stops the enumeration";
    EXPECT_FALSE(EnumWindows(nullptr, 0));
}

TEST(Desktop, ClassNamesAreCopiedCutAndTerminated) {
    lumo::test::FakeDesktop desktop;
    auto own = makeTopLevel(L"OwnClass");
    HWND foreign = desktop.addWindow(L"ForeignClass");
    CWnd nameless;
    ASSERT_TRUE(nameless.CreateEx(0, nullptr, L"x", WS_OVERLAPPED, RECT{0, 0, 10, 10}, nullptr, 0));
    struct Row {
        const char* name;
        HWND hwnd;
        int size;
        int copied;
        std::wstring text;
    };
    const Row rows[] = {
        {"own window", own->m_hWnd, 256, 8, L"OwnClass"},
        {"foreign window", foreign, 256, 12, L"ForeignClass"},
        {"exact fit", foreign, 13, 12, L"ForeignClass"},
        {"cut", foreign, 5, 4, L"Fore"},
        {"room for the zero only", foreign, 1, 0, L""},
        {"no class name", nameless.m_hWnd, 256, 0, L""},
        {"null window", nullptr, 256, 0, L""},
        {"unknown foreign handle", lumo::foreignHandle(987654), 256, 0, L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        wchar_t buffer[300];
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        EXPECT_EQ(GetClassName(row.hwnd, buffer, row.size), row.copied);
        EXPECT_EQ(std::wstring(buffer), row.text);
        EXPECT_EQ(buffer[row.size], L'#') << "nothing written past the buffer";
    }
    wchar_t untouched[4] = L"abc";
    EXPECT_EQ(GetClassName(foreign, untouched, 0), 0);
    EXPECT_EQ(std::wstring(untouched), L"abc");
    EXPECT_EQ(GetClassName(foreign, nullptr, 10), 0);
}

TEST(Desktop, ForeignWindowsAreListedFirstTopmostFirstAndNeverMistakenForOwnWindows) {
    lumo::test::FakeDesktop desktop;
    auto own = makeTopLevel(L"Own");
    HWND below = desktop.addWindow(L"Below");
    HWND above = desktop.addWindow(L"Above");
    EXPECT_EQ(enumerate(), (std::vector<HWND>{above, below, own->m_hWnd}));
    for (HWND h : {below, above}) {
        EXPECT_TRUE(lumo::isForeignHandle(h));
        EXPECT_EQ(CWnd::FromHandle(h), nullptr);
        EXPECT_TRUE(IsWindow(h));
    }
    EXPECT_FALSE(lumo::isForeignHandle(own->m_hWnd));

    ASSERT_TRUE(SetWindowPos(below, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(enumerate().front(), below);
    ASSERT_TRUE(SetForegroundWindow(above));
    EXPECT_EQ(enumerate().front(), below)
        << "activation does not lift a window above a topmost one";
    ASSERT_TRUE(SetWindowPos(below, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_FALSE(desktop.isTopmost(below));
}

TEST(Desktop, WindowFunctionsReachForeignWindowsAndAreRecorded) {
    lumo::test::FakeDesktop desktop;
    HWND player = desktop.addWindow(L"Player");
    HWND stubborn = desktop.addWindow(L"Stubborn");
    desktop.setClosesOnRequest(stubborn, false);

    EXPECT_TRUE(ShowWindow(player, SW_HIDE)) << "was visible";
    EXPECT_FALSE(desktop.isVisible(player));
    EXPECT_FALSE(ShowWindow(player, SW_SHOW)) << "was hidden";
    EXPECT_TRUE(desktop.isVisible(player));

    EXPECT_EQ(SendMessage(stubborn, WM_DESTROY, 0, 0), 0);
    EXPECT_TRUE(IsWindow(stubborn)) << "a program may ignore the request";
    SendMessage(player, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(player));

    const std::vector<lumo::test::DesktopCall> calls = desktop.callsTo(player);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, Kind::Show);
    EXPECT_EQ(calls[0].showCommand, SW_HIDE);
    EXPECT_EQ(calls[2].kind, Kind::SendMessage);
    EXPECT_EQ(calls[2].message, WM_CLOSE);

    // A window that is gone takes no calls and records none.
    desktop.clearCalls();
    EXPECT_FALSE(ShowWindow(player, SW_SHOW));
    EXPECT_FALSE(SetForegroundWindow(player));
    EXPECT_FALSE(SetWindowPos(player, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(SendMessage(player, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(desktop.calls().empty());
}

TEST(Desktop, ForeignHandlesOutliveTheirDesktopHarmlessly) {
    HWND stale;
    {
        lumo::test::FakeDesktop desktop;
        stale = desktop.addWindow(L"Gone");
    }
    EXPECT_FALSE(IsWindow(stale));
    EXPECT_FALSE(ShowWindow(stale, SW_SHOW));
    EXPECT_FALSE(SetForegroundWindow(stale));
    EXPECT_FALSE(SetWindowPos(stale, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(SendMessage(stale, WM_DESTROY, 0, 0), 0);
    EXPECT_FALSE(PostMessage(stale, WM_CLOSE, 0, 0));
    wchar_t name[16] = L"x";
    EXPECT_EQ(GetClassName(stale, name, 16), 0);
}

// A started program's window shows up when the clock reaches its delay.
TEST(FakeDesktop, StartedProgramsOpenTheirWindowOnTime) {
    lumo::test::installManualClock(100);
    lumo::test::FakeDesktop desktop;
    desktop.addProgram(L"/bin/player", std::wstring(L"PlayerWindow"), 300);
    ASSERT_TRUE(CreateProcess(L"/bin/player", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              nullptr, nullptr));
    EXPECT_FALSE(CreateProcess(L"/bin/unknown", nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    Sleep(299);
    EXPECT_TRUE(desktop.windowsOfClass(L"PlayerWindow").empty());
    Sleep(1);
    EXPECT_EQ(desktop.windowsOfClass(L"PlayerWindow").size(), 1u);
    ASSERT_EQ(desktop.calls().size(), 2u);
    EXPECT_EQ(desktop.calls()[1].className, L"/bin/unknown");
    lumo::test::uninstallManualClock();
}

} // namespace
