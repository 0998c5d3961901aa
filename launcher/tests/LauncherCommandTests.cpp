// The launcher's commands against a fake desktop and a manual clock: which
// program starts, which windows are closed and brought forward, and how long
// the command waits.
#include "launcher/AppDeckResources.h"
#include "launcher/CowonV5AppLauncher.h"

#include "platform/core/Clock.h"
#include "platform/testsupport/FakeDesktop.h"
#include "platform/testsupport/TestHooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using lumo::test::DesktopCall;
using Kind = lumo::test::DesktopCall::Kind;

const wchar_t* const VIDEO = L"5014689D-D9F6-4dd3-B6C0-200E9D9C5FB6";
const wchar_t* const AUDIO = L"B3F3866F-D7A5-4e93-8EB9-3FB22731D9B4";
const wchar_t* const FLASH = L"FLASHPLAYER";
const wchar_t* const IMAGE = L"675F33B1-359A-4578-8D6E-C7F29BBDFEFC";
const wchar_t* const TEXT = L"7707D7FD-41EB-4af0-873B-3A6E4EAA6D98";
const wchar_t* const BROWSER = L"84DF53DB-CFBE-4a82-B9DE-C3295830F920";
const wchar_t* const CONFIG = L"5836AA0E-D0CD-408a-A533-DE950EF901F8";
const wchar_t* const TASKBAR = L"HHTaskBar";

struct Application {
    UINT command;
    const wchar_t* className;
    const wchar_t* program;
};

const Application APPLICATIONS[] = {
    {32778, AUDIO, L"/Program Files/CowonApp/COWON_AUDIOPLAYER.exe"},
    {32779, VIDEO, L"/Program Files/CowonApp/COWON_VIDEOPLAYER.exe"},
    {32780, FLASH, L"/Program Files/CowonApp/COWON_FLASHPLAYER.exe"},
    {32781, IMAGE, L"/Program Files/CowonApp/COWON_IMAGEVIEWER.exe"},
    {32782, TEXT, L"/Program Files/CowonApp/COWON_TEXTVIEWER.exe"},
    {32783, BROWSER, L"/Program Files/CowonApp/COWON_FILEBROWSER.exe"},
    {32784, CONFIG, L"/Program Files/CowonApp/COWON_CONFIG.exe"},
};

class Launcher : public ::testing::Test {
protected:
    void SetUp() override { lumo::test::installManualClock(5000); }
    void TearDown() override { lumo::test::uninstallManualClock(); }

    // Runs a command the way the host does, through the target's routing.
    void run(UINT command) {
        ASSERT_TRUE(m_launcher.OnCmdMsg(command, CN_COMMAND, nullptr, nullptr));
    }

    std::vector<DesktopCall> callsOf(Kind kind) const {
        std::vector<DesktopCall> result;
        for (const DesktopCall& call : m_desktop.calls())
            if (call.kind == kind)
                result.push_back(call);
        return result;
    }
    std::vector<std::wstring> destroyedClasses() const {
        std::vector<std::wstring> names;
        for (const DesktopCall& call : callsOf(Kind::SendMessage)) {
            EXPECT_EQ(call.message, WM_DESTROY);
            EXPECT_EQ(call.wParam, 0u);
            EXPECT_EQ(call.lParam, 0);
            names.push_back(call.className);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // The four calls that bring `window` forward with the task bar behind it.
    void expectBroughtForward(HWND window, HWND taskBar) {
        const std::vector<DesktopCall> calls = m_desktop.callsTo(window);
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[0].kind, Kind::Show);
        EXPECT_EQ(calls[0].showCommand, SW_SHOW);
        EXPECT_EQ(calls[1].kind, Kind::SetForeground);
        EXPECT_EQ(calls[2].kind, Kind::SetWindowPos);
        EXPECT_EQ(calls[2].insertAfter, HWND_TOPMOST);
        EXPECT_EQ(calls[2].flags, SWP_NOMOVE | SWP_NOSIZE);
        EXPECT_TRUE(m_desktop.isTopmost(window));
        EXPECT_EQ(m_desktop.foregroundWindow(), window);
        EXPECT_EQ(m_desktop.windows().front(), window) << "on top of every other window";
        if (!taskBar)
            return;
        const std::vector<DesktopCall> bar = m_desktop.callsTo(taskBar);
        ASSERT_EQ(bar.size(), 1u);
        EXPECT_EQ(bar[0].kind, Kind::SetWindowPos);
        EXPECT_EQ(bar[0].insertAfter, HWND_NOTOPMOST);
        EXPECT_EQ(bar[0].flags, SWP_NOMOVE | SWP_NOSIZE);
        EXPECT_FALSE(m_desktop.isTopmost(taskBar));
        // The bar call comes last, after the window was made topmost.
        EXPECT_EQ(m_desktop.calls().back().hwnd, taskBar);
    }

    lumo::test::FakeDesktop m_desktop;
    CCowonV5AppLauncher m_launcher;
};

TEST_F(Launcher, RunningPlayerIsOnlyBroughtForward) {
    HWND audio = m_desktop.addWindow(AUDIO);
    HWND video = m_desktop.addWindow(VIDEO);
    HWND taskBar = m_desktop.addWindow(TASKBAR);
    m_desktop.setWindowPos(taskBar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_desktop.clearCalls();
    m_desktop.show(video, SW_MINIMIZE);
    m_desktop.clearCalls();

    run(32779);

    EXPECT_TRUE(callsOf(Kind::StartProgram).empty()) << "no program started";
    EXPECT_TRUE(destroyedClasses().empty()) << "no player closed";
    EXPECT_TRUE(m_desktop.callsTo(audio).empty());
    EXPECT_EQ(GetTickCount(), 5000u) << "no wait";
    expectBroughtForward(video, taskBar);
    EXPECT_TRUE(m_desktop.isVisible(video));
}

TEST_F(Launcher, StartingVideoWhileAudioPlaysClosesAudioAndWaitsForTheNewWindow) {
    HWND audio = m_desktop.addWindow(AUDIO);
    HWND taskBar = m_desktop.addWindow(TASKBAR);
    m_desktop.addProgram(L"/Program Files/CowonApp/COWON_VIDEOPLAYER.exe", VIDEO, 2500);

    run(32779);

    const std::vector<DesktopCall> starts = callsOf(Kind::StartProgram);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].className, L"/Program Files/CowonApp/COWON_VIDEOPLAYER.exe");
    EXPECT_TRUE(starts[0].arguments.empty()) << "no command line";
    EXPECT_EQ(destroyedClasses(), std::vector<std::wstring>{AUDIO});
    const std::vector<DesktopCall> toAudio = m_desktop.callsTo(audio);
    ASSERT_EQ(toAudio.size(), 1u);
    EXPECT_EQ(toAudio[0].time, 5000u) << "closed right after the start, before any wait";
    EXPECT_FALSE(m_desktop.exists(audio));
    EXPECT_EQ(GetTickCount(), 8000u) << "three one-second waits until the window showed";
    const std::vector<HWND> video = m_desktop.windowsOfClass(VIDEO);
    ASSERT_EQ(video.size(), 1u);
    expectBroughtForward(video[0], taskBar);
}

// Every command, with every other application already running: its own
// program starts and only the media players close each other.
TEST_F(Launcher, EachCommandStartsItsProgramAndClosesOnlyTheOtherMediaPlayers) {
    const std::map<UINT, std::vector<std::wstring>> closes = {
        {32778, {VIDEO, FLASH}},
        {32779, {AUDIO, FLASH}},
        {32780, {VIDEO, AUDIO}},
        {32781, {}},
        {32782, {}},
        {32783, {}},
        {32784, {}},
    };
    for (const Application& app : APPLICATIONS) {
        SCOPED_TRACE(app.command);
        lumo::test::FakeDesktop desktop;
        std::map<std::wstring, HWND> running;
        for (const Application& other : APPLICATIONS)
            if (other.command != app.command)
                running[other.className] = desktop.addWindow(other.className);
        HWND taskBar = desktop.addWindow(TASKBAR);
        desktop.addProgram(app.program, app.className, 1000);

        CCowonV5AppLauncher launcher;
        const DWORD before = GetTickCount();
        ASSERT_TRUE(launcher.OnCmdMsg(app.command, CN_COMMAND, nullptr, nullptr));

        ASSERT_EQ(desktop.calls().front().kind, Kind::StartProgram);
        EXPECT_EQ(desktop.calls().front().className, app.program);
        std::vector<std::wstring> closed;
        for (const DesktopCall& call : desktop.calls())
            if (call.kind == Kind::SendMessage && call.message == WM_DESTROY)
                closed.push_back(call.className);
        std::sort(closed.begin(), closed.end());
        std::vector<std::wstring> expected = closes.at(app.command);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(closed, expected);
        for (const auto& [name, hwnd] : running)
            EXPECT_EQ(desktop.exists(hwnd),
                      std::find(expected.begin(), expected.end(), name) == expected.end());
        EXPECT_EQ(GetTickCount() - before, 1000u);
        const std::vector<HWND> started = desktop.windowsOfClass(app.className);
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(desktop.foregroundWindow(), started[0]);
        EXPECT_TRUE(desktop.isTopmost(started[0]));
        EXPECT_FALSE(desktop.isTopmost(taskBar));
    }
}

struct NeverShowsCase {
    const char* name;
    bool programExists;
};

// A program that cannot start, and one that starts but never opens its
// window: ten waits, then nothing else happens to any window.
TEST_F(Launcher, WindowThatNeverAppearsEndsTheCommandAfterTenWaitsWithoutTouchingWindows) {
    for (const NeverShowsCase c :
         {NeverShowsCase{"missing program", false}, NeverShowsCase{"no window", true}}) {
        SCOPED_TRACE(c.name);
        lumo::test::FakeDesktop desktop;
        HWND taskBar = desktop.addWindow(TASKBAR);
        HWND text = desktop.addWindow(TEXT);
        if (c.programExists)
            desktop.addProgram(L"/Program Files/CowonApp/COWON_IMAGEVIEWER.exe", std::nullopt);
        CCowonV5AppLauncher launcher;
        const DWORD before = GetTickCount();

        launcher.OnImageViewer();

        EXPECT_EQ(GetTickCount() - before, 10000u);
        ASSERT_EQ(desktop.calls().size(), 1u) << "only the start was tried";
        EXPECT_EQ(desktop.calls()[0].kind, Kind::StartProgram);
        EXPECT_TRUE(desktop.exists(text));
        EXPECT_FALSE(desktop.isTopmost(taskBar));
    }
}

// The window is looked for after each wait: one that shows during the tenth
// wait is still brought forward, one that shows later is not.
TEST_F(Launcher, TheTenthWaitIsTheLastChance) {
    struct Row {
        DWORD delay;
        bool found;
    };
    for (const Row row : {Row{9999, true}, Row{10000, true}, Row{10001, false}}) {
        SCOPED_TRACE(row.delay);
        lumo::test::FakeDesktop desktop;
        desktop.addProgram(L"/Program Files/CowonApp/COWON_CONFIG.exe", CONFIG, row.delay);
        CCowonV5AppLauncher launcher;
        launcher.OnDeviceConfig();
        Sleep(1); // a late window does show up, just after the command gave up
        const std::vector<HWND> windows = desktop.windowsOfClass(CONFIG);
        ASSERT_EQ(windows.size(), 1u);
        EXPECT_EQ(desktop.foregroundWindow() == windows[0], row.found);
    }
}

TEST_F(Launcher, MissingTaskBarLeavesTheOtherCallsAlone) {
    HWND browser = m_desktop.addWindow(BROWSER);
    run(32783);
    expectBroughtForward(browser, nullptr);
    EXPECT_EQ(m_desktop.calls().size(), 3u);
}

// Class names are compared exactly; with several windows of one class the
// one enumerated last is used.
TEST(LauncherWindowTable, ClassNamesMatchExactlyAndTheLastEnumeratedWindowWins) {
    lumo::test::FakeDesktop desktop;
    for (const wchar_t* nearMiss : {L"flashplayer", L"FLASHPLAYER ", L"HHTaskBar2",
                                    L"5014689d-d9f6-4dd3-b6c0-200e9d9c5fb6", L""})
        desktop.addWindow(nearMiss);
    appdeck::WindowTable table = appdeck::findApplicationWindows();
    for (HWND h : table)
        EXPECT_EQ(h, nullptr) << "no near miss counts";

    HWND first = desktop.addWindow(VIDEO);
    HWND second = desktop.addWindow(VIDEO);
    HWND bar = desktop.addWindow(TASKBAR);
    table = appdeck::findApplicationWindows();
    const std::vector<HWND> order = desktop.windowsOfClass(VIDEO);
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(table[appdeck::SLOT_VIDEOPLAYER], order.back());
    EXPECT_TRUE(table[appdeck::SLOT_VIDEOPLAYER] == first ||
                table[appdeck::SLOT_VIDEOPLAYER] == second);
    EXPECT_EQ(table[appdeck::SLOT_TASKBAR], bar);
    EXPECT_EQ(table[appdeck::SLOT_AUDIOPLAYER], nullptr);
}

// A class name longer than the launcher's 256-character buffer is cut, so it
// can never equal a slot name it merely begins with.
TEST(LauncherWindowTable, OverlongClassNameIsNotMistakenForASlot) {
    lumo::test::FakeDesktop desktop;
    desktop.addWindow(std::wstring(L"HHTaskBar") + std::wstring(300, L'x'));
    EXPECT_EQ(appdeck::findApplicationWindows()[appdeck::SLOT_TASKBAR], nullptr);
}

} // namespace
