#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A book as Aozora Bunko distributes it: a .zip archive holding the text and,
// for illustrated books, the pictures it refers to. Read in place with libzip:
// entries are decompressed into memory, nothing is ever extracted, and an
// entry's name is only a name.
//
// Every refusal (not a zip archive, no book in it, an entry too large,
// encrypted, compressed in a way libzip cannot read or corrupt) is logged as
// a warning naming the archive, and answered with nothing.
namespace yomite {

// The largest book text an archive may hand over.
constexpr std::size_t MAX_ARCHIVE_BOOK_BYTES = 64u << 20;

// True for a path whose extension is ".zip" in any letter case.
bool isArchivePath(const std::wstring& path);

class BookArchive {
public:
    // The archive in a regular file, or held in memory; null when it cannot be
    // read as a zip archive. `label` names the archive in messages.
    static std::unique_ptr<BookArchive> openFile(const std::wstring& path);
    // The archive keeps `bytes` as long as it lives.
    static std::unique_ptr<BookArchive> openMemory(std::string bytes, const std::wstring& label);
    ~BookArchive();
    BookArchive(const BookArchive&) = delete;
    BookArchive& operator=(const BookArchive&) = delete;

    // The book: the first entry in archive order whose name ends in ".txt"
    // (any letter case). Entries whose names would leave the archive as
    // paths ("/x", "../x") are passed over. Empty when there is none.
    const std::wstring& bookName() const { return m_bookName; }
    // The book's bytes, at most MAX_ARCHIVE_BOOK_BYTES.
    std::optional<std::string> readBook();
    // A picture the book `bookName` refers to, resolved from the book's
    // folder as on disk and matched ignoring ASCII letter case; at most
    // `limit` bytes. The entry's name comes back in `name` (its extension
    // picks the decoder).
    std::optional<std::string> readPicture(const std::wstring& bookName,
                                           const std::wstring& reference, std::size_t limit,
                                           std::wstring& name);

private:
    struct Entry {
        unsigned long long index;
        std::wstring name; // normalised
    };
    struct Handle;
    BookArchive(std::unique_ptr<Handle> handle, std::wstring label);

    void listEntries();
    std::optional<std::string> readEntry(const Entry& entry, std::size_t limit);
    void refuse(const std::wstring& what) const;

    std::unique_ptr<Handle> m_handle;
    std::wstring m_label;
    std::vector<Entry> m_entries;
    std::wstring m_bookName;
};

// Reads the book of the archive at `path` and appends its lines as
// appendSourceLines does; the book's entry name goes to `bookName`. False,
// appending nothing, when the archive holds no book that can be read.
bool readArchiveBook(const std::wstring& path, std::vector<std::wstring>& lines,
                     std::wstring& bookName);

} // namespace yomite
