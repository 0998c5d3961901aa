// A library that is not a plug-in: it has only the unload entry point.
#include "Probe.h"

#include "platform/core/Export.h"

LUMO_C_EXPORT void LUMO_UnloadPluginModule() {
    probeEvents().push_back("unload noentry");
}
