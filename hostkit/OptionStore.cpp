// The option store half of CLumoPluginManager: getOption/writeOption and the
// configuration file.
#include "LumoPluginManager.h"

#include "SettingsLocation.h"

#include "platform/core/CString.h"
#include "platform/core/IniFile.h"
#include "platform/core/Utf8.h"

#include <cstdint>
#include <cwchar>
#include <filesystem>
#include <system_error>

namespace {

std::wstring settingsFile() {
    return lumo::settingsFilePath(CLumoPluginManager::GetToolModuleDirectory(),
                                  CLumoPluginManager::CONFIG_FILE_NAME);
}

// Written whole to a temporary file and renamed into place: a failure leaves
// the previous file as it was. The user's settings folder is made on the
// first save.
bool writeSettingsFile(const CLumoPluginManager::OptionMap& options) {
    const std::wstring path = settingsFile();
    std::error_code ignored;
    std::filesystem::create_directories(lumo::toFsPath(path).parent_path(), ignored);
    return lumo::writeIniFile(path, options);
}

} // namespace

bool CLumoPluginManager::getOption(const std::wstring& section, const std::wstring& key,
                                   const std::wstring& defaultValue, std::wstring& value) {
    value = defaultValue;
    auto s = optionMap.find(section);
    if (s == optionMap.end())
        return false;
    auto k = s->second.find(key);
    if (k == s->second.end())
        return false;
    value = k->second;
    return true;
}

bool CLumoPluginManager::getOption(const std::wstring& section, const std::wstring& key,
                                   int defaultValue, int& value) {
    std::wstring text;
    if (!getOption(section, key, std::wstring(), text)) {
        value = defaultValue;
        return false;
    }
    // As the C runtime's wtoi: out-of-range text is clamped, never undefined.
    long long number = std::wcstoll(text.c_str(), nullptr, 10);
    if (number > INT32_MAX)
        number = INT32_MAX;
    if (number < INT32_MIN)
        number = INT32_MIN;
    value = static_cast<int>(number);
    return true;
}

bool CLumoPluginManager::getOption(const std::wstring& section, const std::wstring& key,
                                   const std::wstring& defaultValue, CString& value) {
    std::wstring text;
    bool found = getOption(section, key, defaultValue, text);
    value = CString(std::move(text));
    return found;
}

bool CLumoPluginManager::writeOption(const std::wstring& section, const std::wstring& key,
                                     const std::wstring& value) {
    auto [entries, newSection] = optionMap.try_emplace(section);
    auto [entry, newKey] = entries->second.try_emplace(key, value);
    if (!newSection && !newKey && entry->second == value)
        return true;
    entry->second = value;
    optionsChanged = true;
    if (optionsChangedHandler)
        optionsChangedHandler();
    return true;
}

bool CLumoPluginManager::writeOption(const std::wstring& section, const std::wstring& key,
                                     int value) {
    return writeOption(section, key, std::to_wstring(value));
}

void CLumoPluginManager::setOptionsChangedHandler(std::function<void()> handler) {
    optionsChangedHandler = std::move(handler);
}

bool CLumoPluginManager::saveChangedOptions() {
    if (!optionsChanged)
        return true;
    if (!writeSettingsFile(optionMap))
        return false;
    optionsChanged = false;
    return true;
}

void CLumoPluginManager::loadOption() {
    optionMap.clear();
    optionsChanged = false;
    lumo::readIniFile(settingsFile(), optionMap);
}

void CLumoPluginManager::saveOption() {
    writeSettingsFile(optionMap);
}
