// Checks that the manager it reaches while loading is the one being created,
// and writes an option from its unload entry point.
#include "Probe.h"

#include "hostkit/LumoPluginManager.h"

LUMO_C_EXPORT void LUMO_LoadPluginModule() {
    bool same = CLumoPluginManager::getInstance() == CLumoPluginManager::instance;
    probeEvents().push_back(same ? "load beta same-instance" : "load beta other-instance");
}

LUMO_C_EXPORT void LUMO_UnloadPluginModule() {
    probeEvents().push_back("unload beta");
    CLumoPluginManager::getInstance()->writeOption(L"beta", L"unloaded", L"yes");
}
