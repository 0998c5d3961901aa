#include "platform/core/Log.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using lumo::log::Level;

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        lumo::log::setSink([this](Level level, std::string_view text) {
            said.emplace_back(level, std::string(text));
        });
    }
    void TearDown() override { lumo::log::setSink({}); }

    std::vector<std::pair<Level, std::string>> said;
};

TEST_F(LogTest, WarningsAndErrorsAreSaidAndDebugIsQuietByDefault) {
    // ctest runs without LUMO_LOG, so the default threshold applies.
    lumo::log::debug("details");
    lumo::log::info("progress");
    lumo::log::warning("cannot load x.lumo");
    lumo::log::error("cannot write lumoconf.ini");
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0].first, Level::Warning);
    EXPECT_EQ(said[0].second, "cannot load x.lumo");
    EXPECT_EQ(said[1].first, Level::Error);
}

TEST_F(LogTest, WideTextArrivesAsUtf8) {
    lumo::log::write(Level::Error, std::wstring_view(L"本.txt を開けません"));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].second, "本.txt を開けません");
}

} // namespace
