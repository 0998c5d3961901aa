// The module's entry points: the document type for Aozora Bunko texts, the
// tool with the settings item, and the settings themselves.
#include "DavaroDiroToolCommandHandler.h"
#include "DavaroDiroView.h"
#include "YomiteResources.h"

#include "hostkit/ExtendToolManager.h"
#include "hostkit/LumoDocumentManager.h"
#include "hostkit/LumoPluginManager.h"
#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"

#include "platform/core/Export.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Menu.h"

namespace {

bool buildToolMenu(CMenu* menu) {
    menu->LoadMenu(yomite::moduleInstance(), yomite::IDR_TOOL_MENU);
    return true;
}

} // namespace

LUMO_C_EXPORT void LUMO_LoadPluginModule() {
    yomite::ensureResources();
    CLumoPluginManager* manager = CLumoPluginManager::getInstance();

    SDocumentTypeInformation type{};
    type.infoCode = 0;
    type.typeName = L"lumo.davarodiro.document";
    type.displayName = L"青空文庫リーダ";
    type.hModuleInstance = yomite::moduleInstance();
    type.docTemplate = nullptr;
    type.resourceId = yomite::IDR_DOCUMENT_TYPE;
    type.documentClass = RUNTIME_CLASS(CDavaroDiroDocument);
    type.viewClass = RUNTIME_CLASS(CDavaroDiroView);
    type.frameClass = RUNTIME_CLASS(CFrameWnd);
    // Aozora Bunko hands its books out as .zip archives of the text and its pictures.
    type.extensions = {L".cpp", L".h", L".c", L".txt", L".ini", L".zip"};
    type.userFlag1 = type.userFlag2 = type.userFlag3 = true;
    manager->getDocumentManager()->registerDocumentInformation(&type);

    SExtendToolInformation tool{};
    tool.infoCode = 1;
    tool.toolName = L"lumo.davarodiro.tool";
    tool.displayName = L"青空文庫リーダ - 環境設定";
    tool.hModuleInstance = yomite::moduleInstance();
    tool.menuBuilder = &buildToolMenu;
    tool.commandTarget = new CDavaroDiroToolCommandHandler;
    tool.windowProcHook = nullptr;
    if (!manager->getExtendToolManager()->registerExtendToolInformation(&tool))
        delete tool.commandTarget; // refused: the registry did not take it
    loadSettings();
}

LUMO_C_EXPORT void LUMO_UnloadPluginModule() {
    saveSettings();
}
