#include "Utf8.h"

namespace lumo {

namespace {
constexpr wchar_t kReplacement = 0xFFFD;

bool isScalarValue(char32_t c) {
    return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF);
}

void appendUtf8(std::string& out, char32_t c) {
    if (!isScalarValue(c))
        c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}
} // namespace

std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        appendUtf8(out, static_cast<char32_t>(c));
    return out;
}

namespace {
// The length of the well-formed sequence at bytes[i] and its character in
// `c`; 0 when the byte there does not begin one.
size_t decodeSequence(std::string_view bytes, size_t i, char32_t& c) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
        c = b;
        return 1;
    }
    size_t length = 0;
    char32_t minimum = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2, c = b & 0x1F, minimum = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3, c = b & 0x0F, minimum = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4, c = b & 0x07, minimum = 0x10000;
    }
    if (length == 0 || i + length > bytes.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        unsigned char t = static_cast<unsigned char>(bytes[i + k]);
        if ((t & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (t & 0x3F);
    }
    return c >= minimum && isScalarValue(c) ? length : 0;
}
} // namespace

std::wstring fromUtf8(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        char32_t c = 0;
        size_t length = decodeSequence(bytes, i, c);
        if (length == 0) {
            out += kReplacement;
            ++i;
        } else {
            out += static_cast<wchar_t>(c);
            i += length;
        }
    }
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    char32_t c = 0;
    for (size_t i = 0; i < bytes.size();) {
        size_t length = decodeSequence(bytes, i, c);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::filesystem::path toFsPath(std::wstring_view path) {
    return std::filesystem::path(toUtf8(path));
}

std::wstring fromFsPath(const std::filesystem::path& path) {
    return fromUtf8(path.native());
}

} // namespace lumo
