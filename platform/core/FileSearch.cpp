#include "FileSearch.h"

#include "Utf8.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <cstring>

namespace lumo {

FileSearch::FileSearch(std::wstring_view pattern) {
    std::string path = toUtf8(pattern);
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        m_directory = ".";
        m_mask = path;
    } else {
        m_directory = slash == 0 ? "/" : path.substr(0, slash);
        m_mask = path.substr(slash + 1);
    }
    if (!m_mask.empty())
        m_dir = opendir(m_directory.c_str());
}

FileSearch::~FileSearch() {
    if (m_dir)
        closedir(static_cast<DIR*>(m_dir));
}

std::optional<FoundFile> FileSearch::next() {
    if (!m_dir)
        return std::nullopt;
    while (dirent* entry = readdir(static_cast<DIR*>(m_dir))) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        if (fnmatch(m_mask.c_str(), name, FNM_CASEFOLD) != 0)
            continue;
        bool directory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st;
            std::string full = m_directory + "/" + name;
            directory = stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        return FoundFile{fromUtf8(name),
                         directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL};
    }
    return std::nullopt;
}

} // namespace lumo
