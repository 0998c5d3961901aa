#pragma once

#include "Export.h"

#include <optional>
#include <string>
#include <string_view>

namespace lumo {

// The whole file as bytes; nullopt, with errno telling why, when it cannot
// be opened or read.
PLATFORM_API std::optional<std::string> readFileBytes(std::wstring_view path);

// Replaces a file in one step: the bytes go to a temporary file in the same
// directory, which is flushed to disk and renamed over the target, so a crash
// or a full disk leaves either the old file or the new one, never half a file.
// False (and the old file untouched), with errno telling why, when any step
// fails.
PLATFORM_API bool writeFileAtomically(std::wstring_view path, std::string_view bytes);

} // namespace lumo
