#pragma once

#include "TextEncoding.h"

#include <string>
#include <string_view>
#include <vector>

// Reading a book file into decoded source lines, the way the device's
// text-mode stream and the system code page deliver them.
namespace yomite {

// One line's bytes (without its line feed) to wide text: the text ends at the
// first NUL byte; the rest is decoded with the system code page (CP_ACP) or
// as UTF-8. Invalid bytes become U+FFFD; no byte-order mark is recognised
// here (the book's first bytes are examined once, see TextEncoding.h).
std::wstring decodeSourceLine(std::string_view bytes,
                              TextEncoding encoding = TextEncoding::SystemCodePage);

// Appends the lines of a whole book held in memory: its encoding is chosen
// from all its bytes (a UTF-8 byte-order mark is dropped), then it is split at
// every LF byte, a CR directly before the LF dropped (any other CR stays), and
// each line decoded. The text after the last LF is a line too, even when
// empty, so an empty book is one empty line and a final LF leaves an empty
// last line.
void appendSourceLines(std::string_view bytes, std::vector<std::wstring>& lines);

enum class ReadResult {
    Read,       // the file was read (a read error part-way keeps the lines so far)
    CannotOpen, // missing, unreadable, not a regular file, or a path the system cannot name
};

// Reads the file at `path` for reading only and appends its lines as
// appendSourceLines would: a first pass chooses the encoding (it stops after the
// first line that rules UTF-8 out), a second splits and decodes. Nothing is
// appended when it cannot be opened.
ReadResult readSourceLines(const std::wstring& path, std::vector<std::wstring>& lines);

} // namespace yomite
