#include "UserFolders.h"

#include "Utf8.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace lumo {

namespace {

bool isAbsolute(const char* path) {
    return path && path[0] == '/';
}

std::wstring passwordDatabaseHome() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !isAbsolute(found->pw_dir))
        return std::wstring();
    return fromUtf8(found->pw_dir);
}

} // namespace

std::wstring userHomeFolder() {
    if (const char* home = std::getenv("HOME"); isAbsolute(home))
        return fromUtf8(home);
    return passwordDatabaseHome();
}

std::wstring userConfigFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); isAbsolute(config))
        return fromUtf8(config);
    const std::wstring home = userHomeFolder();
    return home.empty() ? std::wstring(L"/tmp") : home + L"/.config";
}

} // namespace lumo
