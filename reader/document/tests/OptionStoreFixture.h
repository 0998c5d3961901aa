#pragma once

#include "BookFixture.h"

#include "hostkit/LumoPluginManager.h"
#include "platform/core/Module.h"
#include "tests/support/TempDir.h"

// The program "lives" in a temporary folder, so the option store reads and
// writes that folder's "lumoconf.ini".
class OptionStoreTest : public BookTest {
protected:
    void SetUp() override {
        BookTest::SetUp();
        m_autoSaveAtExit = 1;
        std::filesystem::create_directory(m_dir / "plugins");
        // A portable tree: its "lumoconf.ini" stays beside the program.
        m_dir.write("lumoconf.ini", "");
        lumo::setProgramPathForTesting((m_dir / "LumoCore").wstring());
    }
    void TearDown() override {
        CLumoPluginManager::destroy();
        CLumoPluginManager::resetForTesting();
        lumo::setProgramPathForTesting(L"");
        m_autoSaveAtExit = 1;
        BookTest::TearDown();
    }

    // Writes the option store to the file and reads it back, as a restart would.
    void restart() {
        CLumoPluginManager::destroy();
        CLumoPluginManager::create();
    }
    std::wstring option(const std::wstring& key, const std::wstring& missing = L"<missing>") {
        std::wstring value;
        CLumoPluginManager::getInstance()->getOption(L"lumo.davarodiro.document", key, missing,
                                                     value);
        return value;
    }
    void writeConfig(std::string_view text) { m_dir.write("lumoconf.ini", text); }
    std::string config() const { return m_dir.read("lumoconf.ini"); }

    lumo::test::TempDir m_dir;
};
