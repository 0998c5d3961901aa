#include "ArchiveNames.h"

#include <vector>

namespace yomite {
namespace {

constexpr wchar_t SEPARATOR = L'/';

std::vector<std::wstring> splitParts(const std::wstring& path) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (wchar_t c : path) {
        if (c == L'/' || c == L'\\') {
            parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(std::move(part));
    return parts;
}

std::wstring joinParts(const std::vector<std::wstring>& parts) {
    std::wstring joined;
    for (const std::wstring& part : parts) {
        if (!joined.empty())
            joined += SEPARATOR;
        joined += part;
    }
    return joined;
}

bool isAbsolute(const std::wstring& name) {
    const bool drive =
        name.size() >= 2 && name[1] == L':' &&
        ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'a' && name[0] <= L'z'));
    return drive || (!name.empty() && (name[0] == L'/' || name[0] == L'\\'));
}

} // namespace

std::optional<std::wstring> normalizeEntryName(const std::wstring& name) {
    if (name.empty() || isAbsolute(name) || name.back() == L'/' || name.back() == L'\\')
        return std::nullopt;
    std::vector<std::wstring> kept;
    for (std::wstring& part : splitParts(name)) {
        if (part == L"..")
            return std::nullopt;
        if (!part.empty() && part != L".")
            kept.push_back(std::move(part));
    }
    if (kept.empty())
        return std::nullopt;
    return joinParts(kept);
}

std::wstring entryFolder(const std::wstring& name) {
    const size_t separator = name.rfind(SEPARATOR);
    return separator == std::wstring::npos ? std::wstring() : name.substr(0, separator + 1);
}

std::optional<std::wstring> resolveReference(const std::wstring& folder,
                                             const std::wstring& reference) {
    std::vector<std::wstring> kept;
    for (std::wstring& part : splitParts(folder + SEPARATOR + reference)) {
        if (part == L"..") {
            if (kept.empty())
                return std::nullopt;
            kept.pop_back();
        } else if (!part.empty() && part != L".") {
            kept.push_back(std::move(part));
        }
    }
    const bool namesAFile = !reference.empty() && reference.back() != L'/' &&
                            reference.back() != L'\\' && !kept.empty();
    if (!namesAFile)
        return std::nullopt;
    return joinParts(kept);
}

std::wstring foldCase(std::wstring name) {
    for (wchar_t& c : name)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return name;
}

} // namespace yomite
