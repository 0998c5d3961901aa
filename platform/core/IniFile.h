#pragma once

#include "Export.h"
#include "IniText.h"

#include <string>
#include <string_view>

namespace lumo {

// Whole configuration files in the IniText line format, as "lumoconf.ini" and
// the application profile keep them.

// The text of a configuration file's bytes: UTF-8, a leading byte-order mark
// skipped. A file that is not UTF-8 without one (hand-edited in an editor
// that saved it in Shift_JIS) is read in the system code page instead, so its
// values survive; it is written back as UTF-8.
PLATFORM_API std::wstring decodeIniBytes(std::string_view bytes);

// Adds the file's sections to `sections`. False when the file cannot be read;
// a missing file is expected and says nothing, any other failure is logged.
PLATFORM_API bool readIniFile(std::wstring_view path, IniSections& sections);

// Replaces the file atomically with `sections` in UTF-8. False, with an error
// naming the file and the reason in the log, when it cannot be written; the
// previous file is then left as it was.
PLATFORM_API bool writeIniFile(std::wstring_view path, const IniSections& sections);

} // namespace lumo
