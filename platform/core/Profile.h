#pragma once

#include "Export.h"
#include "IniText.h"

#include <string>

namespace lumo {

// The application's registry-backed profile: strings by section and entry,
// kept in $XDG_CONFIG_HOME/<key>/<application>.ini (~/.config when the
// variable is unset). The file is created on the first write and rewritten
// at once on every write, as the registry would persist it.
class PLATFORM_API Profile {
public:
    Profile(std::wstring key, std::wstring application);

    std::wstring getString(const std::wstring& section, const std::wstring& entry,
                           const std::wstring& defaultValue) const;
    // False when the profile file could not be written; the value is kept in
    // memory either way.
    bool writeString(const std::wstring& section, const std::wstring& entry,
                     const std::wstring& value);

    std::wstring filePath() const;

private:
    void load() const;

    std::wstring m_key;
    std::wstring m_application;
    mutable bool m_loaded = false;
    mutable IniSections m_sections;
};

} // namespace lumo
