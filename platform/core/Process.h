#pragma once

// Starting other programs. A program is started by its path with an argument
// vector, never through a shell, and runs detached: nobody waits for it and it
// leaves no zombie behind when it ends.

#include "Export.h"
#include "types.h"

#include <functional>
#include <string>
#include <vector>

namespace lumo {

struct SpawnResult {
    bool started = false;
    int error = 0; // errno of the failed step (ENOENT, EACCES, ENOEXEC, ...)
    long pid = 0;  // the started program's process id
};

// Starts `program` (no PATH search: a relative path is taken from the working
// directory) with argv[0] = program followed by `arguments`. The call returns
// once the program has replaced the child (or failed to), so a missing or
// non-executable file is reported here. `workingDirectory` empty: inherited.
PLATFORM_API SpawnResult spawnDetached(const std::wstring& program,
                                       const std::vector<std::wstring>& arguments,
                                       const std::wstring& workingDirectory = {});

// Tests replace the real start with their own (an empty function restores it).
using SpawnStarter = std::function<SpawnResult(const std::wstring& program,
                                               const std::vector<std::wstring>& arguments,
                                               const std::wstring& workingDirectory)>;
PLATFORM_API void setSpawnStarterForTesting(SpawnStarter starter);

// Splits a command line into arguments the way the original platform does:
// blanks separate, double quotes group, 2n backslashes before a quote give n
// and toggle quoting, 2n+1 give n and a literal quote; other backslashes are
// literal.
PLATFORM_API std::vector<std::wstring> splitCommandLine(const std::wstring& commandLine);

} // namespace lumo

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
using LPVOID = void*;

// Accepted for the call's shape; its fields are not used here.
struct STARTUPINFO {
    DWORD cb;
};
using LPSTARTUPINFO = STARTUPINFO*;

// Process handles are not offered: hProcess and hThread are always null, the
// ids are the started program's process id.
struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_BAD_FORMAT = 11;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;

// The calling thread's error code of the last failed process call.
PLATFORM_API DWORD GetLastError();
PLATFORM_API void SetLastError(DWORD dwErrCode);

// Starts a program. lpApplicationName is the program's path; lpCommandLine,
// when given, is split by splitCommandLine and, as on the original platform,
// its first word stands for argv[0] (the program itself when
// lpApplicationName is null). Security attributes, handle inheritance,
// creation flags and start-up information have no meaning here and are
// ignored; an environment block is not supported (ERROR_NOT_SUPPORTED).
// FALSE with GetLastError() set when the program cannot be started.
PLATFORM_API BOOL CreateProcess(LPCWSTR lpApplicationName, LPWSTR lpCommandLine,
                                LPSECURITY_ATTRIBUTES lpProcessAttributes,
                                LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles,
                                DWORD dwCreationFlags, LPVOID lpEnvironment,
                                LPCWSTR lpCurrentDirectory, LPSTARTUPINFO lpStartupInfo,
                                LPPROCESS_INFORMATION lpProcessInformation);
