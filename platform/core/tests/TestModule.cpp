#include "platform/core/Module.h"

HINSTANCE g_hModuleInstance = lumo::moduleHandleOf(&g_hModuleInstance);

LUMO_C_EXPORT HINSTANCE testModuleInstance() {
    return g_hModuleInstance;
}
LUMO_C_EXPORT int testModuleAnswer() {
    return 42;
}
