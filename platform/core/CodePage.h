#pragma once

#include "Export.h"
#include "types.h"

#include <string>
#include <string_view>

// Multi-byte <-> wide conversion. CP_ACP is code page 932 (Windows-31J)
// unless LUMO_CODEPAGE names another ("65001"/"utf-8" or "932"). Decoding
// never fails for bad bytes: a byte that does not start a mapped character
// becomes one U+FFFD and decoding resumes at the next byte.

namespace lumo {

// The code page CP_ACP stands for in this process (932 or 65001).
PLATFORM_API UINT activeCodePage();
// True when LUMO_CODEPAGE names the code page, so nothing should guess it.
PLATFORM_API bool codePageConfigured();

// Characters that the code page cannot represent encode as '?'.
PLATFORM_API std::wstring decodeMultiByte(UINT codePage, std::string_view bytes);
PLATFORM_API std::string encodeMultiByte(UINT codePage, std::wstring_view text);

} // namespace lumo
