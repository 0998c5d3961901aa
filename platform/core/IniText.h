#pragma once

#include "Export.h"

#include <map>
#include <string>
#include <string_view>

namespace lumo {

// Section name -> (key -> value), both ordered by plain code-unit comparison.
using IniSections = std::map<std::wstring, std::map<std::wstring, std::wstring>>;

// The line format of the configuration files: "[" name "]" starts a section,
// key "=" value sets an entry of the current section (the key ends at the
// first "="). Nothing is trimmed; there are no comments.
//
// An entry or header that would not read back from that form (an "=" or a
// line feed in the key, a line feed in the value or a CR at its end, a key
// line shaped like a header, a line feed in a section name) is written as an
// escaped line instead: "\" key TAB value, or "\[" name "]", where "\\",
// "\e", "\t", "\n" and "\r" stand for a backslash, "=", TAB, LF and CR. An
// escaped line never holds an "=", which every plain entry line does, so
// plain lines read exactly as before and an escaped line with a malformed
// escape is ignored like any other line without "=". Everything else is
// written as a plain line.
//
// Reading: a CR directly before a LF is dropped (as a text-mode stream does),
// a repeated header continues its section, a repeated key keeps the last
// value, and every other line (before the first header, without "=") is
// ignored. Lines of any length are read whole.
PLATFORM_API void parseIni(std::wstring_view text, IniSections& sections);

// Sections and keys in map order, every line ended by a LF, no blank lines.
PLATFORM_API std::wstring formatIni(const IniSections& sections);

} // namespace lumo
