#pragma once

#include "Export.h"

namespace lumo {

// Character classes as the device sees them, where kana and ideographs are
// letters: a letter is any character of Unicode general category L, a digit
// any of category Nd (full-width digits included; circled and superscript
// digits are not). Independent of the process locale.
PLATFORM_API bool isLetter(wchar_t c);
PLATFORM_API bool isDigit(wchar_t c);
PLATFORM_API bool isLetterOrDigit(wchar_t c);

} // namespace lumo
