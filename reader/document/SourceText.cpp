#include "SourceText.h"

#include "platform/core/CodePage.h"
#include "platform/core/Log.h"
#include "platform/core/Utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/stat.h>

namespace yomite {
namespace {

constexpr size_t READ_CHUNK = 256 * 1024;

void reportUnreadable(const std::wstring& path, const char* reason) {
    lumo::log::warning(L"cannot open the book " + path + L": " + lumo::fromUtf8(reason));
}

// Collects the bytes of one line across reads and hands finished lines over.
class LineSplitter {
public:
    LineSplitter(std::vector<std::wstring>& lines, TextEncoding encoding)
        : m_lines(lines), m_encoding(encoding) {}

    void feed(std::string_view bytes) {
        while (!bytes.empty()) {
            const void* found = std::memchr(bytes.data(), '\n', bytes.size());
            if (!found) {
                m_pending.append(bytes);
                return;
            }
            size_t length = static_cast<const char*>(found) - bytes.data();
            if (m_pending.empty()) {
                emit(bytes.substr(0, length));
            } else {
                m_pending.append(bytes.substr(0, length));
                emit(m_pending);
                m_pending.clear();
            }
            bytes.remove_prefix(length + 1);
        }
    }

    // The text after the last line feed is a line of its own, even when empty.
    void finish() {
        m_lines.push_back(decodeSourceLine(m_pending, m_encoding));
        m_pending.clear();
    }

private:
    void emit(std::string_view line) {
        // A text-mode stream turns CR LF into LF.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_lines.push_back(decodeSourceLine(line, m_encoding));
    }

    std::vector<std::wstring>& m_lines;
    const TextEncoding m_encoding;
    std::string m_pending;
};

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

} // namespace

std::wstring decodeSourceLine(std::string_view bytes, TextEncoding encoding) {
    size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);
    if (bytes.empty())
        return {};
    if (encoding == TextEncoding::Utf8)
        return lumo::fromUtf8(bytes);
    return lumo::decodeMultiByte(CP_ACP, bytes);
}

void appendSourceLines(std::string_view bytes, std::vector<std::wstring>& lines) {
    size_t markLength = 0;
    const TextEncoding encoding = detectEncoding(bytes, markLength);
    LineSplitter splitter(lines, encoding);
    splitter.feed(bytes.substr(markLength));
    splitter.finish();
}

ReadResult readSourceLines(const std::wstring& path, std::vector<std::wstring>& lines) {
    if (path.empty() || path.find(L'\0') != std::wstring::npos) {
        reportUnreadable(path, "the name cannot be a file's");
        return ReadResult::CannotOpen;
    }
    // Read-only: a book on a write-protected card or with a read-only
    // attribute opens like any other, and nothing can ever be written to it.
    std::unique_ptr<FILE, FileCloser> file(std::fopen(lumo::toFsPath(path).c_str(), "rb"));
    if (!file) {
        reportUnreadable(path, std::strerror(errno));
        return ReadResult::CannotOpen;
    }
    struct stat info {};
    // Only regular files are books: a directory has no text, and a device or
    // pipe could feed the reader forever.
    if (fstat(fileno(file.get()), &info) != 0) {
        reportUnreadable(path, std::strerror(errno));
        return ReadResult::CannotOpen;
    }
    if (!S_ISREG(info.st_mode)) {
        reportUnreadable(path, "not a regular file");
        return ReadResult::CannotOpen;
    }

    std::unique_ptr<char[]> buffer(new char[READ_CHUNK]);
    auto read = [&]() -> std::string_view {
        // A read error ends the book here; the lines read so far stay.
        if (std::ferror(file.get()))
            return {};
        return std::string_view(buffer.get(), std::fread(buffer.get(), 1, READ_CHUNK, file.get()));
    };

    EncodingDetector detector;
    for (std::string_view piece = read(); !piece.empty() && detector.feed(piece);)
        piece = read();
    std::rewind(file.get());

    LineSplitter splitter(lines, detector.result());
    std::string_view piece = read();
    piece.remove_prefix(std::min(detector.markLength(), piece.size()));
    for (; !piece.empty(); piece = read())
        splitter.feed(piece);
    splitter.finish();
    if (std::ferror(file.get()))
        lumo::log::warning(L"the book " + path + L" could not be read to its end");
    return ReadResult::Read;
}

} // namespace yomite
