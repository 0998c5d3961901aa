#include "GaijiCode.h"

#include "platform/core/Log.h"
#include "platform/core/Utf8.h"

#include <iconv.h>

#include <array>

namespace yomite {
namespace {

constexpr wchar_t DESCRIPTION_END = L'」';
constexpr wchar_t PART_SEPARATOR = L'、';
constexpr std::array<std::wstring_view, 2> LEVEL_PREFIXES = {L"第3水準", L"第4水準"};
constexpr std::wstring_view UNICODE_PREFIX = L"U+";
constexpr unsigned char EUC_PLANE_2 = 0x8F;
constexpr unsigned char EUC_OFFSET = 0xA0;
constexpr int CELLS = 94;
constexpr unsigned MAX_CODE_POINT = 0x10FFFF;

// One converter per thread, opened on first use: the reader looks codes up
// while it lays out and paints, and opening a converter costs far more.
class Converter {
public:
    Converter() : m_cd(iconv_open("WCHAR_T", "EUC-JISX0213")) {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            lumo::log::warning("the C library has no EUC-JISX0213 converter; gaiji notes keep "
                               "their mark");
    }
    ~Converter() {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // The characters `bytes` decode to, or 0 when they are not exactly one.
    wchar_t convert(const unsigned char* bytes, size_t size) {
        std::array<wchar_t, 4> out{};
        char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
        char* to = reinterpret_cast<char*>(out.data());
        size_t inLeft = size;
        size_t outLeft = sizeof out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        // The converter holds back a kana that a following mark could
        // combine with; the flush call lets it out.
        if (iconv(m_cd, &in, &inLeft, &to, &outLeft) == static_cast<size_t>(-1) ||
            iconv(m_cd, nullptr, nullptr, &to, &outLeft) == static_cast<size_t>(-1))
            return 0;
        const size_t produced = (sizeof out - outLeft) / sizeof(wchar_t);
        return produced == 1 ? out[0] : 0;
    }

private:
    iconv_t m_cd;
};

std::optional<int> number(std::wstring_view text) {
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    return value;
}

struct JisCode {
    int plane;
    int row;
    int cell;
};

// "P-R-C" in decimal digits, whatever the numbers.
std::optional<JisCode> planeRowCell(std::wstring_view part) {
    const size_t first = part.find(L'-');
    const size_t second = first == std::wstring_view::npos ? first : part.find(L'-', first + 1);
    if (second == std::wstring_view::npos)
        return std::nullopt;
    std::optional<int> plane = number(part.substr(0, first));
    std::optional<int> row = number(part.substr(first + 1, second - first - 1));
    std::optional<int> cell = number(part.substr(second + 1));
    if (!plane || !row || !cell)
        return std::nullopt;
    return JisCode{*plane, *row, *cell};
}

std::optional<wchar_t> unicodeCharacter(std::wstring_view hex) {
    if (hex.size() < 4 || hex.size() > 6)
        return std::nullopt;
    unsigned value = 0;
    for (wchar_t c : hex) {
        unsigned digit;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (c >= L'A' && c <= L'F')
            digit = c - L'A' + 10;
        else if (c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    // Controls would reach the drawing code and surrogates are no characters.
    if (value < 0x20 || (value >= 0x7F && value < 0xA0) || (value >= 0xD800 && value < 0xE000) ||
        value > MAX_CODE_POINT)
        return std::nullopt;
    return static_cast<wchar_t>(value);
}

// The character of a part written as a code ("1-85-67", "第3水準1-85-67",
// "U+546D"); `hadCode` tells whether the part was one at all.
std::optional<wchar_t> codeOf(std::wstring_view part, bool& hadCode) {
    if (part.starts_with(UNICODE_PREFIX)) {
        hadCode = true;
        return unicodeCharacter(part.substr(UNICODE_PREFIX.size()));
    }
    for (std::wstring_view prefix : LEVEL_PREFIXES)
        if (part.starts_with(prefix))
            part.remove_prefix(prefix.size());
    std::optional<JisCode> code = planeRowCell(part);
    if (!code)
        return std::nullopt;
    hadCode = true;
    return jisX0213Character(code->plane, code->row, code->cell);
}

} // namespace

std::optional<wchar_t> jisX0213Character(int plane, int row, int cell) {
    if (plane < 1 || plane > 2 || row < 1 || row > CELLS || cell < 1 || cell > CELLS)
        return std::nullopt;
    thread_local Converter converter;
    if (!converter.valid())
        return std::nullopt;
    std::array<unsigned char, 3> bytes{};
    size_t size = 0;
    if (plane == 2)
        bytes[size++] = EUC_PLANE_2;
    bytes[size++] = static_cast<unsigned char>(EUC_OFFSET + row);
    bytes[size++] = static_cast<unsigned char>(EUC_OFFSET + cell);
    const wchar_t c = converter.convert(bytes.data(), size);
    if (c == 0)
        return std::nullopt;
    return c;
}

std::optional<wchar_t> gaijiCharacter(std::wstring_view note) {
    const size_t described = note.rfind(DESCRIPTION_END);
    std::wstring_view parts =
        described == std::wstring_view::npos ? note : note.substr(described + 1);
    bool hadCode = false;
    while (!parts.empty()) {
        const size_t comma = parts.find(PART_SEPARATOR);
        std::wstring_view part = parts.substr(0, comma);
        if (std::optional<wchar_t> c = codeOf(part, hadCode))
            return c;
        if (comma == std::wstring_view::npos)
            break;
        parts.remove_prefix(comma + 1);
    }
    if (hadCode)
        lumo::log::debug("gaiji note names no single character: " + lumo::toUtf8(note));
    return std::nullopt;
}

} // namespace yomite
