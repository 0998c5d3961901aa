#pragma once

#include "Export.h"

#include <functional>
#include <string_view>

namespace lumo::log {

// Diagnostics for failures the user cannot otherwise see: a module that does
// not load, a picture that does not decode, a file that cannot be written.
// Messages go to standard error as "<program>: <level>: <text>". Warnings and
// errors are shown; LUMO_LOG=debug shows everything, LUMO_LOG=error only
// errors, LUMO_LOG=off nothing. A healthy run prints nothing.
enum class Level { Debug, Info, Warning, Error };

PLATFORM_API bool enabled(Level level);
// Text is UTF-8; wide text goes through the overload.
PLATFORM_API void write(Level level, std::string_view text);
PLATFORM_API void write(Level level, std::wstring_view text);

// Replaces standard error as the destination (tests read what was said);
// an empty function restores it. The threshold still applies.
using Sink = std::function<void(Level, std::string_view)>;
PLATFORM_API void setSink(Sink sink);

inline void debug(std::string_view text) {
    write(Level::Debug, text);
}
inline void info(std::string_view text) {
    write(Level::Info, text);
}
inline void warning(std::string_view text) {
    write(Level::Warning, text);
}
inline void error(std::string_view text) {
    write(Level::Error, text);
}
inline void debug(std::wstring_view text) {
    write(Level::Debug, text);
}
inline void info(std::wstring_view text) {
    write(Level::Info, text);
}
inline void warning(std::wstring_view text) {
    write(Level::Warning, text);
}
inline void error(std::wstring_view text) {
    write(Level::Error, text);
}

} // namespace lumo::log
