#pragma once

#include "Export.h"
#include "types.h"

#include <string>

// Loading shared objects and finding their exports. A module handle is the
// dynamic linker's handle; loading the same file twice yields the same handle.
//
// A module finds its own instance handle at load time, as process attach
// would, by naming a variable inside itself:
//
//     HINSTANCE g_hModuleInstance = lumo::moduleHandleOf(&g_hModuleInstance);

// Loads the shared object at a full path (all symbols bound at once). A file
// name that exists only in another letter case is found, as on the device.
// Returns null when the file is missing or is not a loadable library;
// lumo::moduleLoadError() then says why.
PLATFORM_API HMODULE LoadLibrary(const wchar_t* path);
// Null when the module is null or has no such export.
PLATFORM_API void* GetProcAddress(HMODULE module, const char* name);
// The full path of a module; a null module means the running program. Copies
// at most size - 1 characters plus a NUL and returns the length copied.
PLATFORM_API DWORD GetModuleFileName(HMODULE module, wchar_t* buffer, DWORD size);

namespace lumo {

// The handle of the module whose code or data holds this address.
PLATFORM_API HMODULE moduleHandleOf(const void* address);
// The running program's own handle.
PLATFORM_API HMODULE programModuleHandle();
// The full path of a module; a null module means the running program.
PLATFORM_API std::wstring moduleFileName(HMODULE module);
// The dynamic linker's message for the last LoadLibrary of this thread that
// failed ("...: cannot open shared object file: No such file or directory",
// "undefined symbol: ..."), for the caller to report with its own context.
PLATFORM_API std::string moduleLoadError();

// Tests put a pretend program path in a temporary directory so that files
// found "beside the program" (configuration, plug-ins) live there. An empty
// path restores the real one.
PLATFORM_API void setProgramPathForTesting(const std::wstring& path);

} // namespace lumo
