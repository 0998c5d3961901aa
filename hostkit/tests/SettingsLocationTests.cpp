// Where "lumoconf.ini" is read and written: beside the program in a portable
// tree, else in the user's settings folder.
#include "PluginTestFixture.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
using Manager = CLumoPluginManager;

class SettingsLocation : public PluginTestFixture {
protected:
    void SetUp() override {
        PluginTestFixture::SetUp();
        for (const char* name : {"HOME", "XDG_CONFIG_HOME"})
            if (const char* value = std::getenv(name))
                m_saved.emplace_back(name, value);
    }
    void TearDown() override {
        unsetenv("HOME");
        unsetenv("XDG_CONFIG_HOME");
        for (const auto& [name, value] : m_saved)
            setenv(name.c_str(), value.c_str(), 1);
        PluginTestFixture::TearDown();
    }

    // One run of the program: read the settings, change one, write them back.
    void runWriting(const std::wstring& value) {
        ASSERT_TRUE(Manager::create());
        Manager::getInstance()->writeOption(L"lumo.main", L"k", value);
        Manager::destroy();
    }
    // The next start: what it reads.
    std::wstring readBack() {
        if (!Manager::create())
            return L"<no new manager>";
        std::wstring value;
        Manager::getInstance()->getOption(L"lumo.main", L"k", L"<missing>", value);
        Manager::destroy();
        return value;
    }

    lumo::test::TempDir m_user;
    std::vector<std::pair<std::string, std::string>> m_saved;
};

TEST_F(SettingsLocation, APortableTreeKeepsItsSettingsBesideTheProgram) {
    setenv("XDG_CONFIG_HOME", (m_user / "config").c_str(), 1);
    writeConfig("[lumo.main]\nk=old\n");
    EXPECT_EQ(readBack(), L"old");
    runWriting(L"new");
    EXPECT_EQ(config(), "[lumo.main]\nk=new\n");
    EXPECT_FALSE(fs::exists(m_user / "config")) << "the user's folder is not touched";
}

TEST_F(SettingsLocation, WithoutAFileBesideTheProgramTheUsersFolderHoldsThem) {
    struct Case {
        const char* label;
        std::optional<std::string> configHome; // relative to the user's scratch folder
        bool absolute;
        std::string expectedFile;
    };
    const Case cases[] = {
        {"XDG_CONFIG_HOME set", "cfg", true, "cfg/lumocore/lumoconf.ini"},
        {"XDG_CONFIG_HOME unset", std::nullopt, true, "home/.config/lumocore/lumoconf.ini"},
        {"XDG_CONFIG_HOME relative", "cfg", false, "home/.config/lumocore/lumoconf.ini"},
    };
    for (const Case& c : cases) {
        lumo::test::TempDir user;
        fs::remove(m_dir / "lumoconf.ini");
        setenv("HOME", (user / "home").c_str(), 1);
        if (!c.configHome)
            unsetenv("XDG_CONFIG_HOME");
        else
            setenv("XDG_CONFIG_HOME", c.absolute ? (user / *c.configHome).c_str() : "cfg", 1);

        ASSERT_TRUE(Manager::create());
        EXPECT_FALSE(fs::exists(user / c.expectedFile)) << c.label << ": made on the first save";
        Manager::getInstance()->writeOption(L"lumo.main", L"k", L"\u672C");
        Manager::destroy();
        EXPECT_EQ(user.read(c.expectedFile), "[lumo.main]\nk=\xE6\x9C\xAC\n") << c.label;
        EXPECT_FALSE(fs::exists(m_dir / "lumoconf.ini")) << c.label << ": nothing beside";
        EXPECT_EQ(readBack(), L"\u672C") << c.label << ": read back at the next start";
    }
}

TEST_F(SettingsLocation, AFolderNamedLikeTheFileDoesNotMakeATreePortable) {
    setenv("XDG_CONFIG_HOME", (m_user / "config").c_str(), 1);
    fs::remove(m_dir / "lumoconf.ini");
    fs::create_directory(m_dir / "lumoconf.ini");
    runWriting(L"v");
    EXPECT_EQ(m_user.read("config/lumocore/lumoconf.ini"), "[lumo.main]\nk=v\n");
}

} // namespace
