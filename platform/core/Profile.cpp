#include "Profile.h"

#include "IniFile.h"
#include "UserFolders.h"
#include "Utf8.h"

#include <filesystem>
#include <system_error>

namespace lumo {

Profile::Profile(std::wstring key, std::wstring application)
    : m_key(std::move(key)), m_application(std::move(application)) {}

std::wstring Profile::filePath() const {
    return userConfigFolder() + L'/' + m_key + L'/' + m_application + L".ini";
}

void Profile::load() const {
    if (m_loaded)
        return;
    m_loaded = true;
    readIniFile(filePath(), m_sections);
}

std::wstring Profile::getString(const std::wstring& section, const std::wstring& entry,
                                const std::wstring& defaultValue) const {
    load();
    auto s = m_sections.find(section);
    if (s == m_sections.end())
        return defaultValue;
    auto e = s->second.find(entry);
    return e == s->second.end() ? defaultValue : e->second;
}

bool Profile::writeString(const std::wstring& section, const std::wstring& entry,
                          const std::wstring& value) {
    load();
    m_sections[section][entry] = value;
    std::filesystem::path path = toFsPath(filePath());
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    return writeIniFile(filePath(), m_sections);
}

} // namespace lumo
