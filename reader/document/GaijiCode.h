#pragma once

#include <optional>
#include <string_view>

// Characters outside the book's code page, written in the text as a note
// "※［＃description、第3水準1-85-67］" with a JIS X 0213 plane-row-cell or a
// Unicode code point.
namespace yomite {

// The character a note's text (without "［＃" and "］") names: the first of its
// parts after the description that is "[第3水準|第4水準]P-R-C" or "U+XXXX".
// Nothing when the note has no code, or when the code names no single
// character (outside the sets, a control character, or a sequence of two).
std::optional<wchar_t> gaijiCharacter(std::wstring_view note);

// JIS X 0213 plane 1 or 2, row and cell 1..94, through the C library's
// EUC-JISX0213 converter. Nothing for a code it rejects or maps to two
// characters.
std::optional<wchar_t> jisX0213Character(int plane, int row, int cell);

} // namespace yomite
