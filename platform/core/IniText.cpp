#include "IniText.h"

#include <optional>

namespace lumo {

namespace {

// Escaped lines (see IniText.h) begin with the escape character and hold no
// "=", a form no plain entry line can take.
constexpr wchar_t kEscape = L'\\';
constexpr wchar_t kEscapedSeparator = L'\t';

struct Escape {
    wchar_t character;
    wchar_t code;
};
constexpr Escape kEscapes[] = {
    {L'\\', L'\\'}, {L'=', L'e'}, {L'\t', L't'}, {L'\n', L'n'}, {L'\r', L'r'},
};

void appendEscaped(std::wstring& out, std::wstring_view text) {
    for (wchar_t c : text) {
        const Escape* escape = nullptr;
        for (const Escape& e : kEscapes)
            if (e.character == c)
                escape = &e;
        if (escape) {
            out += kEscape;
            out += escape->code;
        } else {
            out += c;
        }
    }
}

// The text an escaped field stands for; nullopt when it holds an escape
// that is not one of ours or ends in the middle of one.
std::optional<std::wstring> unescape(std::wstring_view text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != kEscape) {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        const Escape* escape = nullptr;
        for (const Escape& e : kEscapes)
            if (e.code == text[i])
                escape = &e;
        if (!escape)
            return std::nullopt;
        out += escape->character;
    }
    return out;
}

bool plainHeaderReadsBack(std::wstring_view name) {
    return name.find(L'\n') == std::wstring_view::npos;
}

bool plainEntryReadsBack(std::wstring_view key, std::wstring_view value) {
    if (key.find_first_of(L"=\n") != std::wstring_view::npos ||
        value.find(L'\n') != std::wstring_view::npos)
        return false;
    // A CR at the end of a line is taken for part of a CR LF line end.
    if (!value.empty() && value.back() == L'\r')
        return false;
    // "[a=b]" would read as a section header.
    return key.empty() || key.front() != L'[' || value.empty() || value.back() != L']';
}

bool isHeader(std::wstring_view line) {
    return line.size() >= 2 && line.front() == L'[' && line.back() == L']';
}

using Section = std::map<std::wstring, std::wstring>;

// Reads one escaped line (without its escape character): a header, or an
// entry whose key and value are parted by the one unescaped separator.
// Anything else is ignored, as any malformed line is.
void parseEscapedLine(std::wstring_view body, IniSections& sections, Section*& current) {
    const size_t separator = body.find(kEscapedSeparator);
    if (separator == std::wstring_view::npos) {
        if (!isHeader(body))
            return;
        if (auto name = unescape(body.substr(1, body.size() - 2)))
            current = &sections[*name];
        return;
    }
    if (!current || body.find(kEscapedSeparator, separator + 1) != std::wstring_view::npos)
        return;
    auto key = unescape(body.substr(0, separator));
    auto value = unescape(body.substr(separator + 1));
    if (key && value)
        (*current)[std::move(*key)] = std::move(*value);
}

} // namespace

void parseIni(std::wstring_view text, IniSections& sections) {
    Section* current = nullptr;
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
        if (isHeader(line)) {
            current = &sections[std::wstring(line.substr(1, line.size() - 2))];
            continue;
        }
        size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos) {
            if (!line.empty() && line.front() == kEscape)
                parseEscapedLine(line.substr(1), sections, current);
            continue;
        }
        if (current)
            (*current)[std::wstring(line.substr(0, equals))] =
                std::wstring(line.substr(equals + 1));
    }
}

std::wstring formatIni(const IniSections& sections) {
    std::wstring out;
    for (const auto& [name, entries] : sections) {
        if (plainHeaderReadsBack(name)) {
            out += L'[';
            out += name;
        } else {
            out += kEscape;
            out += L'[';
            appendEscaped(out, name);
        }
        out += L"]\n";
        for (const auto& [key, value] : entries) {
            if (plainEntryReadsBack(key, value)) {
                out += key;
                out += L'=';
                out += value;
            } else {
                out += kEscape;
                appendEscaped(out, key);
                out += kEscapedSeparator;
                appendEscaped(out, value);
            }
            out += L'\n';
        }
    }
    return out;
}

} // namespace lumo
