#pragma once

#include "host/LumoCoreApp.h"
#include "hostkit/LumoPluginManager.h"
#include "hostkit/MainFrame.h"
#include "hostkit/tests/plugins/Probe.h"
#include "platform/core/Module.h"
#include "platform/testsupport/TestHooks.h"
#include "platform/ui/Document.h"
#include "platform/ui/View.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

// The program "lives" in a temporary folder; its plugins/ holds the test
// plug-ins a test installs, and its profile goes to a temporary config home.
class HostFixture : public ::testing::Test {
protected:
    void SetUp() override {
        probeEvents().clear();
        lumo::test::resetHooks();
        // The previous test's main window asked the loop to quit.
        lumo::test::resetQuit();
        std::filesystem::create_directory(m_dir / "plugins");
        std::filesystem::create_directory(m_dir / "config");
        setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
        // A portable tree: its "lumoconf.ini" stays beside the program.
        m_dir.write("lumoconf.ini", "");
        lumo::setProgramPathForTesting((m_dir / "LumoCore").wstring());
        CWinApp::SetCommandLineArguments({});
    }
    void TearDown() override {
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        lumo::test::pumpMessages();
        CLumoPluginManager::destroy();
        CLumoPluginManager::resetForTesting();
        lumo::setProgramPathForTesting(L"");
        unsetenv("XDG_CONFIG_HOME");
    }

    void installViewer() {
        std::filesystem::copy_file(std::filesystem::path(TEST_PLUGIN_DIR) / "viewer.lumo",
                                   m_dir / "plugins" / "viewer.lumo");
    }
    std::wstring writeBook(const char* name, std::string_view text) {
        m_dir.write(name, text);
        return (m_dir / name).wstring();
    }
    CMainFrame* frame() const { return dynamic_cast<CMainFrame*>(m_app.m_pMainWnd); }
    std::string activeViewClass() const {
        CView* view = frame() ? frame()->GetActiveView() : nullptr;
        return view ? view->GetRuntimeClass()->m_lpszClassName : "";
    }
    std::wstring option(const wchar_t* section, const wchar_t* key) const {
        std::wstring value;
        CLumoPluginManager::getInstance()->getOption(section, key, L"<none>", value);
        return value;
    }

    lumo::test::TempDir m_dir;
    CLumoCoreApp m_app;
};
