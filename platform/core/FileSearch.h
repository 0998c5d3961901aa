#pragma once

#include "Export.h"
#include "types.h"

#include <optional>
#include <string>
#include <string_view>

namespace lumo {

struct FoundFile {
    std::wstring name; // file name only, without the directory
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;

    bool isDirectory() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// Wildcard search in one directory, e.g. "/opt/x/plugins/*.lumo". Entries
// come in the order the file system returns them; directories are reported
// too (with FILE_ATTRIBUTE_DIRECTORY). "*" and "?" match as on the device's
// file system, ignoring the case of ASCII letters. "." and ".." are never
// reported. A missing or unreadable directory simply finds nothing.
class PLATFORM_API FileSearch {
public:
    explicit FileSearch(std::wstring_view pattern);
    ~FileSearch();
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    std::optional<FoundFile> next();

private:
    std::string m_directory;
    std::string m_mask;
    void* m_dir = nullptr;
};

} // namespace lumo
