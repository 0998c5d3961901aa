// Records its load and unload, and what option it found while loading.
#include "Probe.h"

#include "hostkit/LumoPluginManager.h"

LUMO_C_EXPORT void LUMO_LoadPluginModule() {
    std::wstring value;
    CLumoPluginManager::getInstance()->getOption(L"alpha", L"greeting", L"(none)", value);
    probeEvents().push_back("load alpha " + std::string(value.begin(), value.end()));
}

LUMO_C_EXPORT void LUMO_UnloadPluginModule() {
    probeEvents().push_back("unload alpha");
}
