#include "Module.h"

#include "Utf8.h"

#include <dirent.h>
#include <dlfcn.h>
#include <link.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {

thread_local std::string g_moduleLoadError;

std::wstring& programPathOverride() {
    static std::wstring path;
    return path;
}

std::wstring realProgramPath() {
    std::vector<char> buffer(MAX_PATH + 1);
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0)
        return {};
    return lumo::fromUtf8(std::string_view(buffer.data(), static_cast<size_t>(n)));
}

// The device's file system ignores the case of ASCII letters, and callers form
// module names from file extensions as users wrote them ("x.Bmp" asks for
// "Bmp_import_wince.iplg"). When the name does not exist as given, the one
// entry of its directory that differs only in case stands in for it.
std::string existingSpelling(const std::string& path) {
    if (access(path.c_str(), F_OK) == 0)
        return path;
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return path;
    const std::string directory = slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = path.substr(slash + 1);
    DIR* dir = opendir(directory.c_str());
    if (!dir)
        return path;
    std::string found = path;
    while (dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = path.substr(0, slash + 1) + entry->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

} // namespace

HMODULE LoadLibrary(const wchar_t* path) {
    if (!path || !*path) {
        g_moduleLoadError = "no file name given";
        return nullptr;
    }
    HMODULE module = dlopen(existingSpelling(lumo::toUtf8(path)).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* message = dlerror();
        g_moduleLoadError = message ? message : "unknown error";
    }
    return module;
}

void* GetProcAddress(HMODULE module, const char* name) {
    if (!module || !name)
        return nullptr;
    return dlsym(module, name);
}

DWORD GetModuleFileName(HMODULE module, wchar_t* buffer, DWORD size) {
    if (!buffer || size == 0)
        return 0;
    std::wstring name = lumo::moduleFileName(module);
    size_t count = std::min<size_t>(name.size(), size - 1);
    std::wmemcpy(buffer, name.data(), count);
    buffer[count] = L'\0';
    return static_cast<DWORD>(count);
}

namespace lumo {

HMODULE moduleHandleOf(const void* address) {
    Dl_info info;
    link_map* map = nullptr;
    if (!dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) || !map)
        return nullptr;
    // glibc's handles are the link-map entries themselves, so this is the
    // handle LoadLibrary returns for the same file (the program's for the
    // program).
    return map;
}

HMODULE programModuleHandle() {
    static HMODULE handle = dlopen(nullptr, RTLD_NOW);
    return handle;
}

std::wstring moduleFileName(HMODULE module) {
    if (!module || module == programModuleHandle()) {
        if (!programPathOverride().empty())
            return programPathOverride();
        return realProgramPath();
    }
    link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name)
        return {};
    return fromUtf8(map->l_name);
}

std::string moduleLoadError() {
    return g_moduleLoadError;
}

void setProgramPathForTesting(const std::wstring& path) {
    programPathOverride() = path;
}

} // namespace lumo
