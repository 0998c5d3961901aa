#pragma once

#include "Export.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace lumo {

// UTF-8 <-> wide text. Malformed input never fails: each byte that does not
// begin a well-formed sequence decodes to one U+FFFD, and a wide character that
// is not a Unicode scalar value encodes as U+FFFD.
PLATFORM_API std::string toUtf8(std::wstring_view text);
PLATFORM_API std::wstring fromUtf8(std::string_view bytes);
// True when every byte belongs to a well-formed sequence.
PLATFORM_API bool isValidUtf8(std::string_view bytes);

// File names reach the C library and the dynamic linker as UTF-8.
PLATFORM_API std::filesystem::path toFsPath(std::wstring_view path);
PLATFORM_API std::wstring fromFsPath(const std::filesystem::path& path);

} // namespace lumo
