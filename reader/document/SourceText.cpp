#include "SourceText.h"

#include "platform/core/CodePage.h"
#include "platform/core/Utf8.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/stat.h>

namespace yomite {
namespace {

constexpr size_t READ_CHUNK = 256 * 1024;

// Collects the bytes of one line across reads and hands finished lines over.
class LineSplitter {
public:
    explicit LineSplitter(std::vector<std::wstring>& lines) : m_lines(lines) {}

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
        m_lines.push_back(decodeSourceLine(m_pending));
        m_pending.clear();
    }

private:
    void emit(std::string_view line) {
        // A text-mode stream turns CR LF into LF.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_lines.push_back(decodeSourceLine(line));
    }

    std::vector<std::wstring>& m_lines;
    std::string m_pending;
};

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

} // namespace

std::wstring decodeSourceLine(std::string_view bytes) {
    size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);
    if (bytes.empty())
        return {};
    return lumo::decodeMultiByte(CP_ACP, bytes);
}

void appendSourceLines(std::string_view bytes, std::vector<std::wstring>& lines) {
    LineSplitter splitter(lines);
    splitter.feed(bytes);
    splitter.finish();
}

ReadResult readSourceLines(const std::wstring& path, std::vector<std::wstring>& lines) {
    if (path.empty() || path.find(L'\0') != std::wstring::npos)
        return ReadResult::CannotOpen;
    // Read-only: a book on a write-protected card or with a read-only
    // attribute opens like any other, and nothing can ever be written to it.
    std::unique_ptr<FILE, FileCloser> file(std::fopen(lumo::toFsPath(path).c_str(), "rb"));
    if (!file)
        return ReadResult::CannotOpen;
    struct stat info {};
    // Only regular files are books: a directory has no text, and a device or
    // pipe could feed the reader forever.
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode))
        return ReadResult::CannotOpen;

    LineSplitter splitter(lines);
    std::unique_ptr<char[]> buffer(new char[READ_CHUNK]);
    for (;;) {
        size_t got = std::fread(buffer.get(), 1, READ_CHUNK, file.get());
        splitter.feed(std::string_view(buffer.get(), got));
        // A read error ends the book here; the lines read so far stay.
        if (got == 0 || std::ferror(file.get()))
            break;
    }
    splitter.finish();
    return ReadResult::Read;
}

} // namespace yomite
