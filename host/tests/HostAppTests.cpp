#include "HostFixture.h"

#include "platform/ui/Desktop.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Menu.h"
#include "platform/ui/View.h"

#include <algorithm>
#include <vector>

namespace {

using HostApp = HostFixture;

TEST_F(HostApp, StartsWithTheDefaultViewThenOpensTheFileNamedOnTheCommandLine) {
    installViewer();
    std::wstring book = writeBook("story.tst", "once");
    CWinApp::SetCommandLineArguments({book});
    ASSERT_TRUE(m_app.InitInstance());
    ASSERT_NE(frame(), nullptr);
    EXPECT_TRUE(frame()->IsWindowVisible());
    EXPECT_EQ(activeViewClass(), "CTestViewerView");
    EXPECT_EQ(probeEvents(), (std::vector<std::string>{"load viewer", "open once (frame shown)"}))
        << "the frame was up with the default view before the file was opened";
    EXPECT_EQ(m_app.GetProfileString(L"lumo.main", L"lastDirectory", L""), CString(book));
    EXPECT_EQ(option(L"lumo.main", L"history/file/0"), L"<none>")
        << "the command line does not touch the history";
    RECT client;
    frame()->GetClientRect(&client);
    EXPECT_EQ(client.right - client.left, 800);
    EXPECT_EQ(client.bottom - client.top, 480);
}

TEST_F(HostApp, AnUnclaimedCommandLineFileKeepsTheDefaultViewSilently) {
    installViewer();
    CWinApp::SetCommandLineArguments({writeBook("notes.md", "x")});
    ASSERT_TRUE(m_app.InitInstance());
    EXPECT_EQ(activeViewClass(), "CLumoCoreView");
    EXPECT_TRUE(lumo::test::messageBoxes().empty());
    EXPECT_EQ(m_app.GetProfileString(L"lumo.main", L"lastDirectory", L"unset"), CString(L"unset"));
}

TEST_F(HostApp, WithoutPluginsStartUpFailsButTheConfigurationIsStillWritten) {
    m_dir.write("lumoconf.ini", "[zz.old]\nk=v\n[aa.plugin]\nx=1\n");
    EXPECT_FALSE(m_app.InitInstance()) << "no document template, no frame";
    EXPECT_EQ(m_app.ExitInstance(), 1) << "the failed start is not reported as success";
    EXPECT_EQ(m_dir.read("lumoconf.ini"), "[aa.plugin]\nx=1\n[zz.old]\nk=v\n");
}

TEST_F(HostApp, ExitRunsUnloadEntryPointsBeforeWritingTheConfiguration) {
    installViewer();
    std::filesystem::copy_file(std::filesystem::path(TEST_PLUGIN_DIR) / "beta.lumo",
                               m_dir / "plugins" / "beta.lumo");
    ASSERT_TRUE(m_app.InitInstance());
    m_app.m_pMainWnd->DestroyWindow();
    lumo::test::pumpMessages();
    m_app.ExitInstance();
    EXPECT_EQ(CLumoPluginManager::instance, nullptr);
    EXPECT_NE(m_dir.read("lumoconf.ini").find("[beta]\nunloaded=yes\n"), std::string::npos);
}

std::vector<CWnd*> frames() {
    std::vector<CWnd*> found;
    ::EnumWindows(
        [](HWND hwnd, LPARAM list) -> BOOL {
            if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(hwnd)))
                reinterpret_cast<std::vector<CWnd*>*>(list)->push_back(frame);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST_F(HostApp, NewDocumentShowsTheDefaultViewInTheOneFrame) {
    installViewer();
    ASSERT_TRUE(m_app.InitInstance());
    CWnd* const main = m_app.m_pMainWnd;
    ASSERT_NE(m_app.OpenDocumentFile(writeBook("story.tst", "once").c_str()), nullptr);
    ASSERT_EQ(activeViewClass(), "CTestViewerView");

    frame()->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
    lumo::test::pumpMessages();
    EXPECT_EQ(m_app.m_pMainWnd, main);
    EXPECT_EQ(frames(), std::vector<CWnd*>{main}) << "no second main frame";
    EXPECT_EQ(activeViewClass(), "CLumoCoreView");

    // The program's exit path: the frame closes, the manager goes, and what
    // is left of the windows goes after it.
    main->SendMessage(WM_CLOSE);
    lumo::test::pumpMessages();
    m_app.ExitInstance();
    for (CWnd* left : frames())
        left->DestroyWindow();
    lumo::test::pumpMessages();
    EXPECT_EQ(CLumoPluginManager::instance, nullptr);
    EXPECT_EQ(std::count(probeEvents().begin(), probeEvents().end(), "load viewer"), 1)
        << "no plug-in is loaded twice";
}

TEST_F(HostApp, AboutCommandShowsTheAboutBox) {
    installViewer();
    ASSERT_TRUE(m_app.InitInstance());
    std::wstring caption;
    lumo::test::driveNextDialog([&](lumo::test::DialogDriver& dialog) {
        caption = dialog.caption();
        dialog.press(IDOK);
    });
    frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_EQ(caption, L"バージョン情報 LumoCore");
}

} // namespace

namespace {

TEST_F(HostApp, RecentFilesSurviveARestart) {
    installViewer();
    std::wstring book = writeBook("kept.tst", "k");
    ASSERT_TRUE(m_app.InitInstance());
    frame()->openFile(book);
    m_app.m_pMainWnd->DestroyWindow();
    lumo::test::pumpMessages();
    m_app.ExitInstance();
    CLumoPluginManager::resetForTesting();

    CLumoCoreApp restarted;
    ASSERT_TRUE(restarted.InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(restarted.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    HMENU file = ::GetSubMenu(frame->currentMenu, 0);
    HMENU recent = ::GetSubMenu(file, 4); // 開く, -, 環境設定, -, 最近使ったファイル
    ASSERT_NE(recent, nullptr);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(recent), MAKELPARAM(4, FALSE));
    ASSERT_EQ(::GetMenuItemCount(recent), 1);
    wchar_t text[512] = {};
    ::GetMenuString(recent, 0, text, 512, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), book);
    frame->DestroyWindow();
    lumo::test::pumpMessages();
    restarted.ExitInstance();
}

} // namespace
