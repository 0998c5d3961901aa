#include "Process.h"

#include "Utf8.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace lumo {
namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

SpawnStarter& starterOverride() {
    static SpawnStarter starter;
    return starter;
}

// What the grandchild tells the caller through the pipe: the step that failed
// and its errno, or its pid once the program runs (the pipe closes on exec).
struct ChildReport {
    int error;
    long pid;
};

void writeAll(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        p += n;
        size -= static_cast<size_t>(n);
    }
}

// Reads until end of file; the number of bytes read.
size_t readAll(int fd, void* data, size_t size) {
    char* p = static_cast<char*>(data);
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, p + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    return got;
}

SpawnResult spawnWithFork(const std::wstring& program, const std::vector<std::wstring>& arguments,
                          const std::wstring& workingDirectory) {
    // Everything the children need is prepared here: after fork in a program
    // with threads only async-signal-safe calls are allowed.
    const std::string path = toUtf8(program);
    const std::string directory = toUtf8(workingDirectory);
    std::vector<std::string> args{path};
    for (const std::wstring& a : arguments)
        args.push_back(toUtf8(a));
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    SpawnResult result;
    if (path.empty() || path.find('\0') != std::string::npos) {
        result.error = ENOENT;
        return result;
    }

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        result.error = errno;
        return result;
    }
    sigset_t all, previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);

    const pid_t middle = ::fork();
    if (middle == 0) {
        // The middle child only exists so that the program is adopted by init
        // and reaped there: nobody here ever waits for it.
        ::close(fds[0]);
        ::setsid();
        const pid_t program_pid = ::fork();
        if (program_pid < 0) {
            const ChildReport report{errno, 0};
            writeAll(fds[1], &report, sizeof report);
            ::_exit(0);
        }
        if (program_pid > 0) {
            const ChildReport report{0, static_cast<long>(program_pid)};
            writeAll(fds[1], &report, sizeof report);
            ::_exit(0);
        }
        for (int sig = 1; sig < NSIG; ++sig)
            ::signal(sig, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        if (!directory.empty() && ::chdir(directory.c_str()) != 0) {
            const ChildReport report{errno, -1};
            writeAll(fds[1], &report, sizeof report);
            ::_exit(127);
        }
        ::execve(path.c_str(), argv.data(), environ);
        const ChildReport report{errno, -1};
        writeAll(fds[1], &report, sizeof report);
        ::_exit(127);
    }
    const int forkError = errno;
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(fds[1]);
    if (middle < 0) {
        ::close(fds[0]);
        result.error = forkError;
        return result;
    }
    // First report: the middle child's (pid or fork failure); a second one
    // comes only when the program could not be executed.
    ChildReport first{}, second{};
    const size_t firstSize = readAll(fds[0], &first, sizeof first);
    const size_t secondSize =
        firstSize == sizeof first ? readAll(fds[0], &second, sizeof second) : 0;
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }

    if (firstSize != sizeof first) {
        result.error = ECHILD;
    } else if (first.error != 0) {
        // A failed fork, or the program's own report, which may come first.
        result.error = first.error;
    } else if (secondSize == sizeof second) {
        result.error = second.error != 0 ? second.error : ENOEXEC;
    } else {
        result.started = true;
        result.pid = first.pid;
    }
    return result;
}

DWORD errorFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case ENOMEM:
    case EAGAIN:
        return ERROR_NOT_ENOUGH_MEMORY;
    case ENOEXEC:
        return ERROR_BAD_FORMAT;
    default:
        return ERROR_INVALID_PARAMETER;
    }
}

} // namespace

void setSpawnStarterForTesting(SpawnStarter starter) {
    starterOverride() = std::move(starter);
}

SpawnResult spawnDetached(const std::wstring& program, const std::vector<std::wstring>& arguments,
                          const std::wstring& workingDirectory) {
    if (const SpawnStarter& starter = starterOverride())
        return starter(program, arguments, workingDirectory);
    return spawnWithFork(program, arguments, workingDirectory);
}

std::vector<std::wstring> splitCommandLine(const std::wstring& commandLine) {
    std::vector<std::wstring> words;
    std::wstring word;
    bool inWord = false;
    bool quoted = false;
    for (size_t i = 0; i < commandLine.size();) {
        const wchar_t c = commandLine[i];
        if (c == L'\\') {
            size_t count = 0;
            while (i < commandLine.size() && commandLine[i] == L'\\') {
                ++count;
                ++i;
            }
            inWord = true;
            if (i < commandLine.size() && commandLine[i] == L'"') {
                word.append(count / 2, L'\\');
                if (count % 2 == 1) {
                    word += L'"';
                    ++i;
                }
            } else {
                word.append(count, L'\\');
            }
            continue;
        }
        if (c == L'"') {
            inWord = true;
            quoted = !quoted;
            ++i;
            continue;
        }
        if ((c == L' ' || c == L'\t') && !quoted) {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
            ++i;
            continue;
        }
        word += c;
        inWord = true;
        ++i;
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

} // namespace lumo

DWORD GetLastError() {
    return lumo::t_lastError;
}
void SetLastError(DWORD dwErrCode) {
    lumo::t_lastError = dwErrCode;
}

BOOL CreateProcess(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, LPSECURITY_ATTRIBUTES,
                   LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID lpEnvironment,
                   LPCWSTR lpCurrentDirectory, LPSTARTUPINFO,
                   LPPROCESS_INFORMATION lpProcessInformation) {
    if (lpProcessInformation)
        *lpProcessInformation = PROCESS_INFORMATION{};
    if (lpEnvironment) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    std::vector<std::wstring> words =
        lpCommandLine ? lumo::splitCommandLine(lpCommandLine) : std::vector<std::wstring>{};
    std::wstring program;
    if (lpApplicationName && *lpApplicationName) {
        program = lpApplicationName;
    } else if (!words.empty()) {
        program = words.front();
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The first word of a command line names the program, as argv[0] does.
    if (!words.empty())
        words.erase(words.begin());

    const lumo::SpawnResult result = lumo::spawnDetached(
        program, words, lpCurrentDirectory ? std::wstring(lpCurrentDirectory) : std::wstring());
    if (!result.started) {
        SetLastError(lumo::errorFromErrno(result.error));
        return FALSE;
    }
    if (lpProcessInformation) {
        lpProcessInformation->dwProcessId = static_cast<DWORD>(result.pid);
        lpProcessInformation->dwThreadId = static_cast<DWORD>(result.pid);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}
