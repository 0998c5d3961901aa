#include "PluginTestFixture.h"

#include "platform/core/CString.h"
#include "platform/core/Log.h"

#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using Manager = CLumoPluginManager;
using OptionStore = PluginTestFixture;

TEST_F(OptionStore, StringFormSetsTheDefaultFirst) {
    writeConfig("[s]\nk=v\n");
    Manager* m = Manager::getInstance();
    std::wstring value = L"junk";
    EXPECT_FALSE(m->getOption(L"s", L"missing", L"12", value));
    EXPECT_EQ(value, L"12");
    EXPECT_FALSE(m->getOption(L"nosection", L"k", L"d", value));
    EXPECT_EQ(value, L"d");
    EXPECT_TRUE(m->getOption(L"s", L"k", L"d", value));
    EXPECT_EQ(value, L"v");
    CString framework;
    EXPECT_TRUE(m->getOption(L"s", L"k", L"d", framework));
    EXPECT_EQ(framework, L"v");
}

TEST_F(OptionStore, IntegerFormParsesLikeTheCRuntime) {
    writeConfig("[n]\nneg=-5\nletters=abc\nspaced=  +42x\nempty=\nhuge=99999999999\n");
    Manager* m = Manager::getInstance();
    struct {
        const wchar_t* key;
        bool found;
        int value;
    } cases[] = {
        {L"neg", true, -5},  {L"letters", true, 0},       {L"spaced", true, 42},
        {L"empty", true, 0}, {L"huge", true, 2147483647}, {L"missing", false, 77},
    };
    for (const auto& c : cases) {
        int value = -1;
        EXPECT_EQ(m->getOption(L"n", c.key, 77, value), c.found) << c.key;
        EXPECT_EQ(value, c.value) << c.key;
    }
}

TEST_F(OptionStore, WritesAreSortedInTheFileWhateverTheirOrder) {
    Manager* m = Manager::getInstance();
    EXPECT_TRUE(m->writeOption(L"new", L"b", L"2"));
    EXPECT_TRUE(m->writeOption(L"new", L"a", -1));
    EXPECT_TRUE(m->writeOption(L"lumo.main", L"x", L"\u3042=\u3044"));
    Manager::destroy();
    EXPECT_EQ(config(), "[lumo.main]\nx=\xE3\x81\x82=\xE3\x81\x84\n[new]\na=-1\nb=2\n");
}

TEST_F(OptionStore, PathsWithEqualsSignsAndLineBreaksSurviveARestartAlone) {
    writeConfig("[lumo.davarodiro.document]\nm_fontSize=24\n");
    Manager* m = Manager::getInstance();
    const std::wstring book = L"position//books/a=b.txt";
    m->writeOption(L"lumo.davarodiro.document", book, L"40,0");
    m->writeOption(L"lumo.main", L"history/file/0",
                   L"/books/x\n[lumo.davarodiro.document]\nm_fontSize=99\r");
    Manager::destroy();
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(Manager::create());
        m = Manager::instance;
        std::wstring value;
        EXPECT_TRUE(m->getOption(L"lumo.davarodiro.document", book, L"", value));
        EXPECT_EQ(value, L"40,0");
        EXPECT_TRUE(m->getOption(L"lumo.davarodiro.document", L"m_fontSize", L"", value));
        EXPECT_EQ(value, L"24") << "a history entry never overwrites a reader setting";
        EXPECT_TRUE(m->getOption(L"lumo.main", L"history/file/0", L"", value));
        EXPECT_EQ(value, L"/books/x\n[lumo.davarodiro.document]\nm_fontSize=99\r");
        Manager::destroy();
    }
    // One entry per key, however often the program exits.
    EXPECT_EQ(config(), "[lumo.davarodiro.document]\n"
                        "m_fontSize=24\n"
                        "\\position//books/a\\eb.txt\t40,0\n"
                        "[lumo.main]\n"
                        "\\history/file/0\t/books/x\\n[lumo.davarodiro.document]\\n"
                        "m_fontSize\\e99\\r\n");
}

TEST_F(OptionStore, RoundTripKeepsEverythingReadAndDropsIgnoredLines) {
    writeConfig(
        "stray=before\n[b]\nz=1\n; comment\n[a]\n k = v \n[]\n=\n[b]\nz=2\n[lumo.gone.plugin]\n");
    Manager::getInstance();
    Manager::destroy();
    EXPECT_EQ(config(), "[]\n=\n[a]\n k = v \n[b]\nz=2\n[lumo.gone.plugin]\n");
}

TEST_F(OptionStore, LongValuesAreReadWhole) {
    std::string longValue(5000, 'q');
    writeConfig("[s]\nlong=" + longValue + "\nafter=ok\n");
    Manager* m = Manager::getInstance();
    std::wstring value;
    ASSERT_TRUE(m->getOption(L"s", L"long", L"", value));
    EXPECT_EQ(value.size(), 5000u);
    EXPECT_TRUE(m->getOption(L"s", L"after", L"", value));
}

TEST_F(OptionStore, FilesFromOtherEditorsKeepEverySectionAndValue) {
    unsetenv("LUMO_CODEPAGE");
    struct Case {
        const char* name;
        std::string written;
        std::string saved;
    } cases[] = {
        {"a byte-order mark before the first section",
         "\xEF\xBB\xBF[lumo.davarodiro.document]\nm_fontSize=24\n[lumo.main]\nlastDirectory=/b\n",
         "[lumo.davarodiro.document]\nm_fontSize=24\n[lumo.main]\nlastDirectory=/b\n"},
        {"Shift_JIS with CR LF line ends",
         "[lumo.davarodiro.document]\r\nm_pathWallpaper=/\x95\xC7\x8E\x86\r\n",
         "[lumo.davarodiro.document]\nm_pathWallpaper=/\xE5\xA3\x81\xE7\xB4\x99\n"},
    };
    for (const auto& c : cases) {
        writeConfig(c.written);
        Manager::create();
        Manager::destroy();
        EXPECT_EQ(config(), c.saved) << c.name;
    }
}

TEST_F(OptionStore, LargeFileLoads) {
    std::string text = "[big]\n";
    for (int i = 0; text.size() < (10u << 20); ++i)
        text += "key" + std::to_string(i) + "=" + std::string(100, 'v') + "\n";
    writeConfig(text);
    Manager* m = Manager::getInstance();
    std::wstring value;
    EXPECT_TRUE(m->getOption(L"big", L"key90000", L"", value));
}

TEST_F(OptionStore, UnwritableFileKeepsThePreviousConfiguration) {
    writeConfig("[s]\nk=old\n");
    Manager* m = Manager::getInstance();
    m->writeOption(L"s", L"k", L"new");
    // A read-only program directory: the new file cannot be created.
    chmod(m_dir.path().c_str(), 0555);
    Manager::destroy();
    chmod(m_dir.path().c_str(), 0755);
    if (geteuid() != 0) // root writes anyway
        EXPECT_EQ(config(), "[s]\nk=old\n");
    else
        EXPECT_EQ(config(), "[s]\nk=new\n");
}

TEST_F(OptionStore, AConfigurationThatCannotBeWrittenIsReported) {
    std::vector<std::string> said;
    lumo::log::setSink([&](lumo::log::Level level, std::string_view text) {
        if (level == lumo::log::Level::Error)
            said.emplace_back(text);
    });
    // No file beside the program, and the user's settings folder cannot be
    // made: a plain file stands where a folder on its way should be.
    std::filesystem::remove(m_dir / "lumoconf.ini");
    m_dir.write("blocker", "");
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> oldConfigHome =
        saved ? std::optional<std::string>(saved) : std::nullopt;
    setenv("XDG_CONFIG_HOME", (m_dir / "blocker" / "config").c_str(), 1);
    Manager::getInstance()->writeOption(L"s", L"k", L"v");
    Manager::destroy();
    if (oldConfigHome)
        setenv("XDG_CONFIG_HOME", oldConfigHome->c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    lumo::log::setSink({});
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find((m_dir / "blocker/config/lumocore/lumoconf.ini").string()),
              std::string::npos)
        << said[0];
}

} // namespace
