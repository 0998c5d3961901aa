#pragma once

// The fuzz input as a file the decoders can open by path: an in-memory file
// reached through /proc, so no disk is touched.

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace lumo::fuzz {

inline const std::wstring& inputAsFile(const std::uint8_t* data, std::size_t size) {
    static int fd = memfd_create("fuzz-input", 0);
    static std::wstring path = L"/proc/self/fd/" + std::to_wstring(fd);
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        __builtin_trap();
    return path;
}

} // namespace lumo::fuzz
