// The staged appdeck.lumo in the real host: its registration, its "ツール"
// menu in the main frame, and commands routed back from the dynamic ids.
#include "host/tests/HostFixture.h"

#include "hostkit/ExtendToolManager.h"
#include "platform/core/Clock.h"
#include "platform/testsupport/FakeDesktop.h"
#include "platform/ui/Menu.h"

namespace {

class LauncherInHost : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        lumo::test::installManualClock(0);
        installViewer(); // a document type, without which the host does not start
        std::filesystem::copy_file(std::filesystem::path(LUMO_STAGE_DIR) / "plugins" /
                                       "appdeck.lumo",
                                   m_dir / "plugins" / "appdeck.lumo");
        ASSERT_TRUE(m_app.InitInstance());
    }
    void TearDown() override {
        HostFixture::TearDown();
        lumo::test::uninstallManualClock();
    }

    HMENU toolsMenu() const {
        HMENU bar = frame()->currentMenu;
        for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
            wchar_t text[64] = {};
            ::GetMenuString(bar, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            if (std::wstring(text) == L"ツール")
                return ::GetSubMenu(bar, i);
        }
        return nullptr;
    }

    lumo::test::FakeDesktop m_desktop;
};

TEST_F(LauncherInHost, RegistersItselfAsTheLauncherTool) {
    SExtendToolInformation info{};
    ASSERT_TRUE(CLumoPluginManager::getInstance()->getExtendToolManager()->getExtendToolInformation(
        L"lumo.cowonv5.tool", info));
    EXPECT_EQ(info.infoCode, 1u);
    EXPECT_EQ(info.displayName, L"COWON V5 - アプリケーションランチャ");
    EXPECT_NE(info.menuBuilder, nullptr);
    EXPECT_NE(info.commandTarget, nullptr);
    EXPECT_EQ(info.windowProcHook, nullptr);
    const auto& modules = CLumoPluginManager::hPluginInstance;
    EXPECT_NE(std::find(modules.begin(), modules.end(), info.hModuleInstance), modules.end())
        << "the record carries the module's own handle";
}

TEST_F(LauncherInHost, ToolsMenuIsMergedWithDynamicIdsInItsOrder) {
    HMENU tools = toolsMenu();
    ASSERT_NE(tools, nullptr) << "a \"ツール\" popup in the main menu";
    const std::vector<std::wstring> texts = {
        L"オーディオプレイヤー", L"動画プレイヤー",   L"フラッシュプレイヤー", L"",
        L"画像ビューア",         L"テキストビューア", L"ファイルブラウザ",     L"",
        L"デバイス設定"};
    ASSERT_EQ(::GetMenuItemCount(tools), static_cast<int>(texts.size()));
    // "lumo.cowonv5.tool" sorts before the viewer's "test.tool": ids from 1024.
    UINT expectedId = 1024;
    CExtendToolManager* tools_ = CLumoPluginManager::getInstance()->getExtendToolManager();
    UINT ownId = 32778;
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        wchar_t text[64] = {};
        ::GetMenuString(tools, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(text), texts[i]);
        if (texts[i].empty()) {
            EXPECT_TRUE(::GetMenuState(tools, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR);
            continue;
        }
        EXPECT_EQ(static_cast<UINT>(::GetMenuItemID(tools, static_cast<int>(i))), expectedId);
        EXPECT_EQ(tools_->getDynamicAllocateMenuId(L"lumo.cowonv5.tool", ownId), expectedId);
        ++expectedId;
        ++ownId;
    }
}

// Each menu command reaches the launcher under its own id: the program it
// starts tells which handler ran.
TEST_F(LauncherInHost, DynamicIdsRunTheSevenCommands) {
    const wchar_t* const programs[] = {L"COWON_AUDIOPLAYER.exe", L"COWON_VIDEOPLAYER.exe",
                                       L"COWON_FLASHPLAYER.exe", L"COWON_IMAGEVIEWER.exe",
                                       L"COWON_TEXTVIEWER.exe",  L"COWON_FILEBROWSER.exe",
                                       L"COWON_CONFIG.exe"};
    for (UINT i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        m_desktop.clearCalls();
        frame()->SendMessage(WM_COMMAND, 1024 + i, 0);
        ASSERT_FALSE(m_desktop.calls().empty());
        EXPECT_EQ(m_desktop.calls().front().className,
                  std::wstring(L"/Program Files/CowonApp/") + programs[i]);
    }
}

} // namespace
