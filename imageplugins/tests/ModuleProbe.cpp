// module_probe FILE: loads one module as the program loads its plug-ins, in a
// process that has loaded none of our libraries yet, so every symbol the
// module needs must come from its own dependencies. Exit status 0 when it
// loads; otherwise the dynamic linker's message on standard error.
#include "platform/core/Module.h"
#include "platform/core/Utf8.h"

#include <cstdio>
#include <dlfcn.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: module_probe FILE\n");
        return 2;
    }
    if (LoadLibrary(lumo::fromUtf8(argv[1]).c_str()))
        return 0;
    const char* reason = dlerror();
    std::fprintf(stderr, "%s\n", reason ? reason : "not loaded");
    return 1;
}
