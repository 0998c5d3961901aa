#include "CodePage.h"

#include "Utf8.h"

#include <iconv.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr UINT kShiftJis = 932;
constexpr wchar_t kReplacement = 0xFFFD;

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Code page 932 as Windows decodes it. glibc's CP932 supplies the double-byte
// rows (including the NEC and IBM extensions); the single bytes that only
// Windows maps are added by hand. Built once, then decoding is table lookups.
class Cp932Table {
public:
    Cp932Table() {
        for (int b = 0; b < 0x80; ++b)
            m_single[b] = static_cast<char16_t>(b);
        for (int b = 0xA1; b <= 0xDF; ++b)
            m_single[b] = static_cast<char16_t>(0xFF61 + (b - 0xA1));
        m_single[0x80] = 0x0080;
        m_single[0xA0] = 0xF8F0;
        m_single[0xFD] = 0xF8F1;
        m_single[0xFE] = 0xF8F2;
        m_single[0xFF] = 0xF8F3;

        iconv_t cd = iconv_open("WCHAR_T", "CP932");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                wchar_t out[2] = {0, 0};
                char* inPtr = in;
                size_t inLeft = 2;
                char* outPtr = reinterpret_cast<char*>(out);
                size_t outLeft = sizeof(out);
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
                if (r != static_cast<size_t>(-1) && inLeft == 0 && outLeft == sizeof(wchar_t) &&
                    out[0] != 0 && out[0] < 0x10000)
                    m_double[(lead << 8) | trail] = static_cast<char16_t>(out[0]);
            }
        }
        iconv_close(cd);
    }

    // Decodes one character at bytes[i]; returns how many bytes it took.
    size_t decode(const unsigned char* bytes, size_t i, size_t n, wchar_t& out) const {
        unsigned char b = bytes[i];
        if (!isLeadByte(b)) {
            char16_t c = m_single[b];
            out = (c == 0 && b != 0) ? kReplacement : c;
            return 1;
        }
        if (i + 1 < n) {
            char16_t c = m_double[(b << 8) | bytes[i + 1]];
            if (c != 0) {
                out = c;
                return 2;
            }
        }
        out = kReplacement;
        return 1;
    }

private:
    std::array<char16_t, 256> m_single{};
    std::array<char16_t, 0x10000> m_double{};
};

const Cp932Table& cp932() {
    static const auto table = std::make_unique<Cp932Table>();
    return *table;
}

UINT resolve(UINT codePage) {
    return codePage == CP_ACP ? lumo::activeCodePage() : codePage;
}

std::wstring decode(UINT codePage, const char* source, size_t length) {
    std::wstring out;
    if (resolve(codePage) == CP_UTF8)
        return lumo::fromUtf8(std::string_view(source, length));
    const Cp932Table& table = cp932();
    const auto* bytes = reinterpret_cast<const unsigned char*>(source);
    out.reserve(length);
    size_t i = 0;
    while (i < length) {
        wchar_t c;
        i += table.decode(bytes, i, length, c);
        out += c;
    }
    return out;
}

// Encodes one character to code page 932; false when it has no mapping.
bool encodeCp932(wchar_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return true;
    }
    switch (c) {
    case 0x0080:
        out += '\x80';
        return true;
    case 0xF8F0:
        out += '\xA0';
        return true;
    case 0xF8F1:
        out += '\xFD';
        return true;
    case 0xF8F2:
        out += '\xFE';
        return true;
    case 0xF8F3:
        out += '\xFF';
        return true;
    default:
        break;
    }
    thread_local iconv_t cd = iconv_open("CP932", "WCHAR_T");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    wchar_t in[1] = {c};
    char buffer[8];
    char* inPtr = reinterpret_cast<char*>(in);
    size_t inLeft = sizeof(in);
    char* outPtr = buffer;
    size_t outLeft = sizeof(buffer);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1))
        return false;
    out.append(buffer, sizeof(buffer) - outLeft);
    return true;
}

std::string encode(UINT codePage, std::wstring_view text) {
    if (resolve(codePage) == CP_UTF8)
        return lumo::toUtf8(text);
    std::string out;
    out.reserve(text.size() * 2);
    for (wchar_t c : text)
        if (!encodeCp932(c, out))
            out += '?';
    return out;
}

} // namespace

namespace lumo {

UINT activeCodePage() {
    static const UINT codePage = [] {
        const char* value = std::getenv("LUMO_CODEPAGE");
        if (!value || !*value)
            return kShiftJis;
        std::string name(value);
        for (char& ch : name)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if (name == "65001" || name == "utf-8" || name == "utf8")
            return static_cast<UINT>(CP_UTF8);
        return kShiftJis;
    }();
    return codePage;
}

bool codePageConfigured() {
    // Read once, like the code page itself.
    static const bool configured = [] {
        const char* value = std::getenv("LUMO_CODEPAGE");
        return value && *value;
    }();
    return configured;
}

std::wstring decodeMultiByte(UINT codePage, std::string_view bytes) {
    return decode(codePage, bytes.data(), bytes.size());
}

std::string encodeMultiByte(UINT codePage, std::wstring_view text) {
    return encode(codePage, text);
}

} // namespace lumo
