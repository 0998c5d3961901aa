// The module's entry points: the launcher registers itself as a tool with a
// "ツール" menu.
#include "AppDeckResources.h"
#include "CowonV5AppLauncher.h"

#include "hostkit/ExtendToolManager.h"
#include "hostkit/LumoPluginManager.h"
#include "platform/core/Export.h"
#include "platform/ui/Menu.h"

namespace {

bool buildLauncherMenu(CMenu* menu) {
    menu->LoadMenu(appdeck::moduleInstance(), appdeck::IDR_LAUNCHER_MENU);
    return true;
}

} // namespace

LUMO_C_EXPORT void LUMO_LoadPluginModule() {
    SExtendToolInformation tool{};
    tool.infoCode = 1;
    tool.toolName = L"lumo.cowonv5.tool";
    tool.displayName = L"COWON V5 - アプリケーションランチャ";
    tool.hModuleInstance = appdeck::moduleInstance();
    tool.menuBuilder = &buildLauncherMenu;
    tool.commandTarget = new CCowonV5AppLauncher;
    tool.windowProcHook = nullptr;
    if (!CLumoPluginManager::getInstance()->getExtendToolManager()->registerExtendToolInformation(
            &tool))
        delete tool.commandTarget; // refused (name taken): the registry did not take it
}

LUMO_C_EXPORT void LUMO_UnloadPluginModule() {}
