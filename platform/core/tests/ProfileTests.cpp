#include "platform/core/Profile.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", m_dir.path().c_str(), 1); }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }
    lumo::test::TempDir m_dir;
};

TEST_F(ProfileTest, StoresUnderTheProfileKeyAndPersistsAtOnce) {
    lumo::Profile profile(L"lumoCoreComponent", L"LumoCore");
    EXPECT_EQ(profile.getString(L"lumo.main", L"lastDirectory", L"none"), L"none");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "lumoCoreComponent"))
        << "created on first write only";

    ASSERT_TRUE(
        profile.writeString(L"lumo.main", L"lastDirectory", L"/books/\u7F85\u751F\u9580.txt"));
    ASSERT_TRUE(profile.writeString(L"lumo.davarodiro.document\\position", L"/b.txt", L"-7"));
    EXPECT_EQ(profile.filePath(), (m_dir / "lumoCoreComponent/LumoCore.ini").wstring());

    lumo::Profile reread(L"lumoCoreComponent", L"LumoCore");
    EXPECT_EQ(reread.getString(L"lumo.main", L"lastDirectory", L""),
              L"/books/\u7F85\u751F\u9580.txt");
    EXPECT_EQ(reread.getString(L"lumo.davarodiro.document\\position", L"/b.txt", L""), L"-7");
    EXPECT_EQ(reread.getString(L"lumo.main", L"missing", L"3"), L"3");
}

} // namespace
