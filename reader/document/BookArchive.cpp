#include "BookArchive.h"

#include "ArchiveEntry.h"
#include "ArchiveNames.h"
#include "SourceText.h"

#include "platform/core/CodePage.h"
#include "platform/core/Log.h"
#include "platform/core/Utf8.h"

#include <zip.h>

#include <cstdio>

#include <sys/stat.h>

namespace yomite {
namespace {

bool endsWithFolded(const std::wstring& text, std::wstring_view suffix) {
    return text.size() >= suffix.size() &&
           foldCase(text.substr(text.size() - suffix.size())) == suffix;
}

// Archives made on Japanese systems carry Shift_JIS names without saying so;
// names that are well-formed UTF-8 are taken as UTF-8.
std::wstring decodeEntryName(const char* raw) {
    const std::string_view bytes(raw);
    if (lumo::isValidUtf8(bytes))
        return lumo::fromUtf8(bytes);
    return lumo::decodeMultiByte(CP_ACP, bytes);
}

std::string describe(zip_error_t* error) {
    return zip_error_strerror(error);
}

} // namespace

struct BookArchive::Handle {
    std::string bytes; // an archive held in memory, read in place
    zip_t* zip = nullptr;
    ~Handle() {
        if (zip)
            zip_discard(zip);
    }
};

bool isArchivePath(const std::wstring& path) {
    return endsWithFolded(path, L".zip");
}

BookArchive::BookArchive(std::unique_ptr<Handle> handle, std::wstring label)
    : m_handle(std::move(handle)), m_label(std::move(label)) {
    listEntries();
}

BookArchive::~BookArchive() = default;

namespace {

// Opens an archive from a source libzip owns once it is open.
zip_t* openSource(zip_source_t* source, const std::wstring& label) {
    zip_error_t error;
    zip_error_init(&error);
    zip_t* zip = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!zip) {
        lumo::log::warning(lumo::toUtf8(label) +
                           " is not a zip archive that can be read: " + describe(&error));
        zip_source_free(source);
    }
    zip_error_fini(&error);
    return zip;
}

} // namespace

std::unique_ptr<BookArchive> BookArchive::openFile(const std::wstring& path) {
    std::FILE* file = std::fopen(lumo::toFsPath(path).c_str(), "rb");
    if (!file) {
        lumo::log::warning("cannot open " + lumo::toUtf8(path));
        return nullptr;
    }
    // A device or a pipe is no archive, and could be read forever.
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        lumo::log::warning(lumo::toUtf8(path) + " is not a regular file");
        return nullptr;
    }
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_filep_create(file, 0, -1, &error);
    zip_error_fini(&error);
    if (!source) {
        std::fclose(file);
        lumo::log::warning("cannot read " + lumo::toUtf8(path));
        return nullptr;
    }
    auto handle = std::make_unique<Handle>();
    handle->zip = openSource(source, path);
    if (!handle->zip)
        return nullptr;
    return std::unique_ptr<BookArchive>(new BookArchive(std::move(handle), path));
}

std::unique_ptr<BookArchive> BookArchive::openMemory(std::string bytes, const std::wstring& label) {
    auto handle = std::make_unique<Handle>();
    handle->bytes = std::move(bytes);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(handle->bytes.data(), handle->bytes.size(), 0, &error);
    zip_error_fini(&error);
    if (!source)
        return nullptr;
    handle->zip = openSource(source, label);
    if (!handle->zip)
        return nullptr;
    return std::unique_ptr<BookArchive>(new BookArchive(std::move(handle), label));
}

void BookArchive::listEntries() {
    const zip_int64_t count = zip_get_num_entries(m_handle->zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* raw = zip_get_name(m_handle->zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (!raw)
            continue;
        const std::wstring decoded = decodeEntryName(raw);
        std::optional<std::wstring> name = normalizeEntryName(decoded);
        if (!name) {
            // Folders end in "/" and are simply no files.
            if (!decoded.empty() && decoded.back() != L'/')
                refuse(L"the entry \"" + decoded + L"\", whose name leaves the archive,");
            continue;
        }
        if (m_bookName.empty() && endsWithFolded(*name, L".txt"))
            m_bookName = *name;
        m_entries.push_back({static_cast<unsigned long long>(i), std::move(*name)});
    }
}

void BookArchive::refuse(const std::wstring& what) const {
    lumo::log::warning(lumo::toUtf8(m_label + L": " + what + L" is not read"));
}

std::optional<std::string> BookArchive::readEntry(const Entry& entry, std::size_t limit) {
    EntryBytes bytes = readArchiveEntry(m_handle->zip, entry.index, limit);
    if (auto* reason = std::get_if<std::wstring>(&bytes)) {
        refuse(L"\"" + entry.name + L"\" (" + *reason + L")");
        return std::nullopt;
    }
    return std::move(std::get<std::string>(bytes));
}

std::optional<std::string> BookArchive::readBook() {
    for (const Entry& entry : m_entries)
        if (entry.name == m_bookName)
            return readEntry(entry, MAX_ARCHIVE_BOOK_BYTES);
    lumo::log::warning(lumo::toUtf8(m_label) + " holds no book (no .txt entry)");
    return std::nullopt;
}

std::optional<std::string> BookArchive::readPicture(const std::wstring& bookName,
                                                    const std::wstring& reference,
                                                    std::size_t limit, std::wstring& name) {
    const std::optional<std::wstring> wanted = resolveReference(entryFolder(bookName), reference);
    if (wanted) {
        const std::wstring folded = foldCase(*wanted);
        for (const Entry& entry : m_entries)
            if (foldCase(entry.name) == folded) {
                name = entry.name;
                return readEntry(entry, limit);
            }
    }
    lumo::log::warning(lumo::toUtf8(m_label + L" has no picture \"" + reference + L"\""));
    return std::nullopt;
}

bool readArchiveBook(const std::wstring& path, std::vector<std::wstring>& lines,
                     std::wstring& bookName) {
    std::unique_ptr<BookArchive> archive = BookArchive::openFile(path);
    if (!archive)
        return false;
    std::optional<std::string> text = archive->readBook();
    if (!text)
        return false;
    appendSourceLines(*text, lines);
    bookName = archive->bookName();
    return true;
}

} // namespace yomite
