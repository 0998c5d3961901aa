// The configuration file is written a few seconds after the options last
// changed, on the platform clock, so an end without the exit path loses at
// most those seconds.
#include "HostFixture.h"

#include "platform/core/Log.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class ConfigurationWrite : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        lumo::test::installManualClock(1000);
        installViewer();
        ASSERT_TRUE(m_app.InitInstance());
        lumo::test::pumpMessages();
    }
    void TearDown() override {
        lumo::log::setSink({});
        HostFixture::TearDown();
        lumo::test::uninstallManualClock();
    }
    void write(const wchar_t* key, const wchar_t* value) {
        CLumoPluginManager::getInstance()->writeOption(L"test", key, value);
    }
    std::string config() const { return m_dir.read("lumoconf.ini"); }

    static constexpr DWORD kDelay = CMainFrame::SAVE_OPTIONS_DELAY;
};

TEST_F(ConfigurationWrite, FollowsTheLastOfAStreamOfChanges) {
    for (const wchar_t* position : {L"1,0", L"2,0", L"3,0"}) {
        write(L"position", position);
        lumo::test::advanceClock(kDelay - 1);
        EXPECT_EQ(config(), "") << "each change restarts the wait";
    }
    lumo::test::advanceClock(1);
    EXPECT_EQ(config(), "[test]\nposition=3,0\n");

    write(L"position", L"4,0");
    lumo::test::advanceClock(kDelay);
    EXPECT_EQ(config(), "[test]\nposition=4,0\n");
}

TEST_F(ConfigurationWrite, NothingIsWrittenWhenNothingChanged) {
    write(L"position", L"1,0");
    lumo::test::advanceClock(kDelay);
    ASSERT_EQ(config(), "[test]\nposition=1,0\n");
    m_dir.write("lumoconf.ini", "[untouched]\n");

    lumo::test::advanceClock(10 * kDelay);
    write(L"position", L"1,0"); // the same value again
    lumo::test::advanceClock(10 * kDelay);
    EXPECT_EQ(config(), "[untouched]\n");
}

TEST_F(ConfigurationWrite, AFailedWriteIsReportedAndTriedAgainWithTheNextChange) {
    std::vector<std::string> errors;
    lumo::log::setSink([&](lumo::log::Level level, std::string_view text) {
        if (level == lumo::log::Level::Error)
            errors.emplace_back(text);
    });
    // Not a portable tree, and the user's settings folder cannot be made: a
    // plain file stands where a folder on its way should be.
    lumo::setProgramPathForTesting((m_dir / "gone" / "LumoCore").wstring());
    m_dir.write("blocker", "");
    setenv("XDG_CONFIG_HOME", (m_dir / "blocker" / "config").c_str(), 1);
    write(L"position", L"1,0");
    lumo::test::advanceClock(kDelay);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("lumoconf.ini"), std::string::npos) << errors[0];

    lumo::setProgramPathForTesting((m_dir / "LumoCore").wstring());
    write(L"other", L"x");
    lumo::test::advanceClock(kDelay);
    EXPECT_EQ(config(), "[test]\nother=x\nposition=1,0\n") << "the earlier change too";
    EXPECT_EQ(errors.size(), 1u);
}

} // namespace
