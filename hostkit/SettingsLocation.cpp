#include "SettingsLocation.h"

#include "platform/core/UserFolders.h"
#include "platform/core/Utf8.h"
#include "platform/core/types.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace lumo {

namespace {

const wchar_t USER_SETTINGS_FOLDER[] = L"lumocore";

bool isPortableTree(const std::wstring& programFolder, const std::wstring& fileName) {
    std::error_code error;
    return std::filesystem::is_regular_file(toFsPath(programFolder + fileName), error) &&
           access(toUtf8(programFolder).c_str(), W_OK) == 0;
}

} // namespace

std::wstring settingsFilePath(const std::wstring& programFolder, const std::wstring& fileName) {
    if (isPortableTree(programFolder, fileName))
        return programFolder + fileName;
    return userConfigFolder() + PATH_SEPARATOR + USER_SETTINGS_FOLDER + PATH_SEPARATOR + fileName;
}

} // namespace lumo
