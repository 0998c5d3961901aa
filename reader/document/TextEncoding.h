#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Which encoding a book's bytes are read in. Books come in the system code
// page (Shift_JIS), as the device read them, but many copies in circulation
// were re-encoded as UTF-8; those are recognised by their bytes.
namespace yomite {

enum class TextEncoding {
    SystemCodePage, // CP_ACP: code page 932 unless LUMO_CODEPAGE names another
    Utf8,
};

// Length of the UTF-8 byte-order mark.
constexpr std::size_t UTF8_BOM_LENGTH = 3;

// Decides a book's encoding from its bytes, fed from the start in pieces of
// any size. UTF-8 when the book starts with a byte-order mark, or when it is
// well-formed UTF-8 throughout and holds at least one multi-byte character;
// the system code page otherwise, and always when LUMO_CODEPAGE is set.
// Shift_JIS text is never well-formed UTF-8 for long: hiragana and most
// kanji start with bytes that cannot begin a UTF-8 character.
class EncodingDetector {
public:
    EncodingDetector();

    // Examines the next bytes; false once the answer can no longer change,
    // so the caller may stop feeding.
    bool feed(std::string_view bytes);
    // The answer for the bytes fed so far, taken as the whole book.
    TextEncoding result() const;
    // Bytes at the very start that are no text: the byte-order mark of a
    // UTF-8 book, else 0.
    std::size_t markLength() const { return m_hasMark ? UTF8_BOM_LENGTH : 0; }

private:
    bool decided() const { return m_configured || m_hasMark || m_malformed; }
    void examineMark(std::string_view bytes);
    // Whole lines only: a line feed never falls inside a UTF-8 character.
    void examineLines(std::string_view lines);

    bool m_configured; // LUMO_CODEPAGE decides
    bool m_hasMark = false;
    std::size_t m_markMatched = 0; // leading bytes that matched the mark so far
    bool m_markRuledOut = false;
    bool m_malformed = false;  // not well-formed UTF-8
    bool m_multiByte = false;  // at least one byte above 0x7F seen
    std::string m_partialLine; // bytes after the last line feed fed
};

// The encoding of a whole book held in memory.
TextEncoding detectEncoding(std::string_view book, std::size_t& markLength);

} // namespace yomite
