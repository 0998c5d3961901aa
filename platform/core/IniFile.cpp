#include "IniFile.h"

#include "CodePage.h"
#include "FileIO.h"
#include "Log.h"
#include "Utf8.h"

#include <cerrno>
#include <cstring>

namespace lumo {

namespace {
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

std::string describe(std::wstring_view path, const char* what, int error) {
    return std::string(what) + " " + toUtf8(path) + ": " + std::strerror(error);
}
} // namespace

namespace {
struct DecodedText {
    std::wstring text;
    bool fromCodePage = false;
};

DecodedText decode(std::string_view bytes) {
    if (bytes.starts_with(kUtf8ByteOrderMark))
        return {fromUtf8(bytes.substr(kUtf8ByteOrderMark.size()))};
    if (isValidUtf8(bytes))
        return {fromUtf8(bytes)};
    return {decodeMultiByte(CP_ACP, bytes), true};
}
} // namespace

std::wstring decodeIniBytes(std::string_view bytes) {
    return decode(bytes).text;
}

bool readIniFile(std::wstring_view path, IniSections& sections) {
    auto bytes = readFileBytes(path);
    if (!bytes) {
        if (errno != ENOENT)
            log::warning(describe(path, "cannot read", errno));
        return false;
    }
    DecodedText decoded = decode(*bytes);
    if (decoded.fromCodePage)
        log::info(toUtf8(path) + " is not UTF-8: read in code page " +
                  std::to_string(activeCodePage()));
    parseIni(decoded.text, sections);
    return true;
}

bool writeIniFile(std::wstring_view path, const IniSections& sections) {
    if (writeFileAtomically(path, toUtf8(formatIni(sections))))
        return true;
    log::error(describe(path, "cannot write", errno));
    return false;
}

} // namespace lumo
