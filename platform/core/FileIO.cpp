#include "FileIO.h"

#include "Utf8.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace lumo {

std::optional<std::string> readFileBytes(std::wstring_view path) {
    std::string name = toUtf8(path);
    int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string bytes;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            close(fd);
            errno = error;
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return bytes;
}

bool writeFileAtomically(std::wstring_view path, std::string_view bytes) {
    std::string target = toUtf8(path);
    std::string temp = target + ".tmpXXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    // The first failing step's errno is the one the caller sees.
    int error = 0;
    auto fail = [&error](int code) {
        if (error == 0)
            error = code;
    };
    size_t done = 0;
    while (error == 0 && done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(n == 0 ? ENOSPC : errno);
        else
            done += static_cast<size_t>(n);
    }
    // mkstemp creates 0600: keep the mode of the file being replaced, or give
    // a new file the mode the process would create it with.
    struct stat st;
    mode_t mode;
    if (stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (error == 0 && fchmod(fd, mode) != 0)
        fail(errno);
    if (error == 0 && fsync(fd) != 0)
        fail(errno);
    if (close(fd) != 0)
        fail(errno);
    if (error == 0 && rename(temp.c_str(), target.c_str()) != 0)
        fail(errno);
    if (error != 0) {
        unlink(temp.c_str());
        errno = error;
    }
    return error == 0;
}

} // namespace lumo
