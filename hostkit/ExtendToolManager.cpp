#include "ExtendToolManager.h"

#include "MenuHelpers.h"

#include "platform/core/CString.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Menu.h"

namespace {
constexpr unsigned kFirstDynamicId = 1024;
}

CExtendToolManager::CExtendToolManager() = default;

CExtendToolManager::~CExtendToolManager() {
    // Command targets go in tool-name order.
    for (auto& [name, tool] : toolMap)
        tool.commandTarget.reset();
}

bool CExtendToolManager::registerExtendToolInformation(SExtendToolInformation* info) {
    if (!info || toolMap.contains(info->toolName))
        return false;
    toolMap.emplace(info->toolName, Tool{*info, std::unique_ptr<CCmdTarget>(info->commandTarget)});
    return true;
}

bool CExtendToolManager::getExtendToolInformation(const std::wstring& toolName,
                                                  SExtendToolInformation& out) {
    auto found = toolMap.find(toolName);
    if (found == toolMap.end())
        return false;
    out = found->second.info;
    return true;
}

int CExtendToolManager::getRegisteredExtendToolList(std::vector<std::wstring>& names) {
    names.clear();
    for (const auto& [name, tool] : toolMap)
        names.push_back(name);
    return static_cast<int>(names.size());
}

bool CExtendToolManager::doMergePulldownMenu(CMenu& menu) {
    commandIdMap.clear();
    unsigned nextDynamicId = kFirstDynamicId;
    for (const auto& [name, tool] : toolMap) {
        if (!tool.info.menuBuilder)
            continue;
        CMenu toolMenu;
        if (!tool.info.menuBuilder(&toolMenu) || !::IsMenu(toolMenu.GetSafeHmenu()))
            continue;
        updateDynamicMenuCommandIDs(toolMenu, name, nextDynamicId);
        LumoMergeMenu(&menu, &toolMenu, CString(L"<SUBMENU_INSERT_POSITION>"), FALSE);
        toolMenu.DestroyMenu();
    }
    return true;
}

unsigned CExtendToolManager::getDynamicAllocateMenuId(const std::wstring& toolName,
                                                      unsigned toolCommandId) {
    for (const auto& [dynamicId, origin] : commandIdMap)
        if (origin.toolName == toolName && origin.toolCommandId == toolCommandId)
            return dynamicId;
    return 0;
}

BOOL CExtendToolManager::OnCmdMsg(unsigned nID, int nCode, void* pExtra,
                                  AFX_CMDHANDLERINFO* pHandlerInfo) {
    auto origin = commandIdMap.find(nID);
    if (origin == commandIdMap.end())
        return FALSE;
    auto tool = toolMap.find(origin->second.toolName);
    if (tool == toolMap.end())
        return FALSE;
    if (CCmdTarget* target = tool->second.commandTarget.get())
        target->OnCmdMsg(origin->second.toolCommandId, nCode, pExtra, pHandlerInfo);
    return TRUE;
}

LRESULT CExtendToolManager::WindowProc(unsigned message, WPARAM wParam, LPARAM lParam,
                                       BOOL& continueDefault) {
    LRESULT result = 0;
    for (const auto& [name, tool] : toolMap) {
        if (!tool.info.windowProcHook)
            continue;
        tool.info.windowProcHook(message, wParam, lParam, &result, &continueDefault);
        if (!continueDefault)
            break;
    }
    return result;
}

void CExtendToolManager::updateDynamicMenuCommandIDs(CMenu& menu, const std::wstring& toolName,
                                                     unsigned& nextDynamicId) {
    const int count = static_cast<int>(menu.GetMenuItemCount());
    for (int position = 0; position < count; ++position) {
        if (CMenu* submenu = menu.GetSubMenu(position)) {
            updateDynamicMenuCommandIDs(*submenu, toolName, nextDynamicId);
            continue;
        }
        CString text;
        menu.GetMenuString(static_cast<UINT>(position), text, MF_BYPOSITION);
        if (text.IsEmpty())
            continue;
        commandIdMap[nextDynamicId] = {toolName, menu.GetMenuItemID(position)};
        menu.ModifyMenu(static_cast<UINT>(position), MF_BYPOSITION | MF_STRING, nextDynamicId,
                        text.GetString());
        ++nextDynamicId;
    }
}
