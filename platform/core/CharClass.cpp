#include "CharClass.h"

#include <unicode/uchar.h>

namespace lumo {

bool isLetter(wchar_t c) {
    if (c < 0x80)
        return (c | 0x20) >= L'a' && (c | 0x20) <= L'z';
    return u_isalpha(static_cast<UChar32>(c));
}

bool isDigit(wchar_t c) {
    if (c < 0x80)
        return c >= L'0' && c <= L'9';
    // Kana and ideographs, most of a Japanese book, hold no decimal digits;
    // answering them here keeps line breaking out of the Unicode tables.
    if (c >= 0x3000 && c < 0xA000)
        return false;
    return u_isdigit(static_cast<UChar32>(c));
}

bool isLetterOrDigit(wchar_t c) {
    return isLetter(c) || isDigit(c);
}

} // namespace lumo
