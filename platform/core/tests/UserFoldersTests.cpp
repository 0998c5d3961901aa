#include "platform/core/UserFolders.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

// Sets or clears one environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

std::wstring databaseHome() {
    const passwd* entry = getpwuid(getuid());
    return entry ? std::wstring(entry->pw_dir, entry->pw_dir + std::strlen(entry->pw_dir))
                 : std::wstring();
}

TEST(UserFolders, FollowTheEnvironmentAndFallBackToThePasswordDatabase) {
    const std::wstring fromDatabase = databaseHome();
    ASSERT_FALSE(fromDatabase.empty()) << "the test user has a home folder";
    struct Case {
        std::optional<std::string> home;
        std::optional<std::string> configHome;
        std::wstring expectedHome;
        std::wstring expectedConfig;
    };
    const Case cases[] = {
        {"/users/a", std::nullopt, L"/users/a", L"/users/a/.config"},
        {"/users/a", "/cfg", L"/users/a", L"/cfg"},
        {"/users/a", "", L"/users/a", L"/users/a/.config"},
        {"/users/a", "relative/cfg", L"/users/a", L"/users/a/.config"},
        {"/users/\xE6\x9C\xAC", std::nullopt, L"/users/\u672C", L"/users/\u672C/.config"},
        {std::nullopt, std::nullopt, fromDatabase, fromDatabase + L"/.config"},
        {"", "/cfg", fromDatabase, L"/cfg"},
        {"not/absolute", std::nullopt, fromDatabase, fromDatabase + L"/.config"},
    };
    for (const Case& c : cases) {
        ScopedVariable home("HOME", c.home);
        ScopedVariable config("XDG_CONFIG_HOME", c.configHome);
        const std::string label =
            c.home.value_or("(unset)") + " " + c.configHome.value_or("(unset)");
        EXPECT_EQ(lumo::userHomeFolder(), c.expectedHome) << label;
        EXPECT_EQ(lumo::userConfigFolder(), c.expectedConfig) << label;
    }
}

} // namespace
