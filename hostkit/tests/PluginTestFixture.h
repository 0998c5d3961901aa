#pragma once

#include "hostkit/LumoPluginManager.h"
#include "hostkit/tests/plugins/Probe.h"
#include "platform/core/Module.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

// A pretend program directory: LumoCore "lives" in a temporary folder whose
// plugins/ holds the plug-ins a test copies in.
class PluginTestFixture : public ::testing::Test {
protected:
    void SetUp() override {
        probeEvents().clear();
        std::filesystem::create_directory(m_dir / "plugins");
        // A portable tree: its "lumoconf.ini" stays beside the program.
        m_dir.write("lumoconf.ini", "");
        lumo::setProgramPathForTesting((m_dir / "LumoCore").wstring());
    }
    void TearDown() override {
        CLumoPluginManager::destroy();
        CLumoPluginManager::resetForTesting();
        lumo::setProgramPathForTesting(L"");
    }

    void installPlugin(const char* name, const char* as = nullptr) {
        std::filesystem::copy_file(std::filesystem::path(TEST_PLUGIN_DIR) / name,
                                   m_dir / "plugins" / (as ? as : name));
    }
    void writeConfig(std::string_view text) { m_dir.write("lumoconf.ini", text); }
    std::string config() const { return m_dir.read("lumoconf.ini"); }

    lumo::test::TempDir m_dir;
};
