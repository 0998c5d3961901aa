#include "IniText.h"

namespace lumo {

void parseIni(std::wstring_view text, IniSections& sections) {
    std::map<std::wstring, std::wstring>* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        size_t next = end == std::wstring_view::npos ? text.size() : end + 1;
        std::wstring_view line = text.substr(start, next - start);
        start = next;
        if (!line.empty() && line.back() == L'\n') {
            line.remove_suffix(1);
            if (!line.empty() && line.back() == L'\r')
                line.remove_suffix(1);
        }
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            current = &sections[std::wstring(line.substr(1, line.size() - 2))];
            continue;
        }
        if (!current)
            continue;
        size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos)
            continue;
        (*current)[std::wstring(line.substr(0, equals))] = std::wstring(line.substr(equals + 1));
    }
}

std::wstring formatIni(const IniSections& sections) {
    std::wstring out;
    for (const auto& [name, entries] : sections) {
        out += L'[';
        out += name;
        out += L"]\n";
        for (const auto& [key, value] : entries) {
            out += key;
            out += L'=';
            out += value;
            out += L'\n';
        }
    }
    return out;
}

} // namespace lumo
