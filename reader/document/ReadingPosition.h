#pragma once

#include "DavaroDiroBook.h"

#include <functional>
#include <optional>
#include <string>

// Where the reader stopped in each book: kept in the option store, section
// "lumo.davarodiro.document", key "position/" + the book's path, value
// "line,offset". Older installations kept it in the application profile; that
// form is only ever read.
namespace yomite {

// The profile section of the old form (a registry-style key, not a file path).
extern const wchar_t* const LEGACY_POSITION_SECTION;

std::wstring positionKey(const std::wstring& pathName);
std::wstring formatPosition(SourcePosition position);

// Turns a stored value back into a position: empty text gives nullopt (keep
// where the layout left the reader); text without a comma, or starting with
// one, gives {1, 0}; otherwise the leading decimal numbers before and after
// the first comma, leniently as the C library reads them (no digits give 0,
// out-of-range numbers are clamped).
std::optional<SourcePosition> parseStoredPosition(const std::wstring& text);

// Looks up the old profile form: (section, entry, default) -> value.
using LegacyProfileReader = std::function<std::wstring(
    const std::wstring& section, const std::wstring& entry, const std::wstring& defaultValue)>;

// Saves positionOf(current index) of `book` under `pathName` when
// m_autoSaveAtExit is non-zero and the book has a path. True when written.
bool saveReadingPosition(const CDavaroDiroBook& book, const std::wstring& pathName);

// After the first layout: when m_autoSaveAtExit is non-zero, sets the book's
// current index from the stored position (the option store first, then the
// old profile form through `legacy`, which may be empty). True when the
// index was set.
bool restoreReadingPosition(CDavaroDiroBook& book, const std::wstring& pathName,
                            const LegacyProfileReader& legacy);

} // namespace yomite
