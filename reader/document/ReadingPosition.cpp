#include "ReadingPosition.h"

#include "ReaderSettings.h"

#include "hostkit/LumoPluginManager.h"
#include "platform/core/Log.h"

#include <cerrno>
#include <climits>
#include <cwchar>

namespace yomite {
namespace {

// The C library's wide-string to integer reading, clamped to 32 bits.
int32_t leadingInteger(const std::wstring& text) {
    long long value = std::wcstoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

} // namespace

const wchar_t* const LEGACY_POSITION_SECTION = L"lumo.davarodiro.document\\position";

std::wstring positionKey(const std::wstring& pathName) {
    return L"position/" + pathName;
}

std::wstring formatPosition(SourcePosition position) {
    return std::to_wstring(position.line) + L"," + std::to_wstring(position.offset);
}

std::optional<SourcePosition> parseStoredPosition(const std::wstring& text) {
    if (text.empty())
        return std::nullopt;
    size_t comma = text.find(L',');
    if (comma == std::wstring::npos || comma == 0)
        return SourcePosition{1, 0};
    return SourcePosition{leadingInteger(text.substr(0, comma)),
                          leadingInteger(text.substr(comma + 1))};
}

bool saveReadingPosition(const CDavaroDiroBook& book, const std::wstring& pathName) {
    // A document that never had a file has nothing to remember.
    if (m_autoSaveAtExit == 0 || pathName.empty())
        return false;
    CLumoPluginManager* options = CLumoPluginManager::getInstance();
    if (!options) {
        lumo::log::warning(L"the reading position of " + pathName +
                           L" is lost: the book closed after the option store was written");
        return false;
    }
    return options->writeOption(SETTINGS_SECTION, positionKey(pathName),
                                formatPosition(book.positionOf(book.m_currentIndex)));
}

bool restoreReadingPosition(CDavaroDiroBook& book, const std::wstring& pathName,
                            const LegacyProfileReader& legacy) {
    if (m_autoSaveAtExit == 0)
        return false;
    CLumoPluginManager* options = CLumoPluginManager::getInstance();
    if (!options)
        return false;
    std::wstring text;
    if (!options->getOption(SETTINGS_SECTION, positionKey(pathName), L"-", text))
        text = legacy ? legacy(LEGACY_POSITION_SECTION, pathName, L"0,0") : L"0,0";
    std::optional<SourcePosition> position = parseStoredPosition(text);
    if (!position)
        return false;
    // A place far into the book waits for the layout to reach it, no further.
    book.layoutUntilPosition(*position);
    book.m_currentIndex = book.indexOf(*position);
    return true;
}

} // namespace yomite
