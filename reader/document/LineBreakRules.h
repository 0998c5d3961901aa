#pragma once

#include <string>

// Japanese line-breaking character tables, exactly as the reader has always
// used them: 83 characters that may not begin a display line (they hang at the
// end of the previous one) and 20 that may not end one.
namespace yomite {

extern const std::wstring lineStartForbidden;
extern const std::wstring lineEndForbidden;

bool isLineStartForbidden(wchar_t c);
bool isLineEndForbidden(wchar_t c);

} // namespace yomite
