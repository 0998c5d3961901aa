#pragma once

#include "ExtendToolInformation.h"
#include "HostkitExport.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CMenu;
struct AFX_CMDHANDLERINFO;

// The tools plug-ins register: menus merged into the main frame's menu with
// their commands renumbered from 1024, command routing back to the owning
// tool under its own ids, and hooks on the main frame's window messages.
class HOSTKIT_API CExtendToolManager {
public:
    CExtendToolManager();
    // Deletes every tool's command target.
    virtual ~CExtendToolManager();
    CExtendToolManager(const CExtendToolManager&) = delete;
    CExtendToolManager& operator=(const CExtendToolManager&) = delete;

    // Stores a copy and takes the command target; false for a duplicate name
    // (the caller keeps its target).
    bool registerExtendToolInformation(SExtendToolInformation* info);
    bool getExtendToolInformation(const std::wstring& toolName, SExtendToolInformation& out);
    int getRegisteredExtendToolList(std::vector<std::wstring>& names);
    // Merges every tool's menu into `menu` before its "<SUBMENU_INSERT_POSITION>"
    // items, renumbering the tool commands from 1024 in tool-name order.
    bool doMergePulldownMenu(CMenu& menu);
    // The dynamic id the last merge gave to a tool's command; 0 when none.
    unsigned getDynamicAllocateMenuId(const std::wstring& toolName, unsigned toolCommandId);
    // TRUE for every dynamic id: the owning tool's target (if any) gets the
    // call under the tool's own id. FALSE for any other id.
    BOOL OnCmdMsg(unsigned nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    // Offers a message to the hooks in tool-name order until one clears
    // continueDefault; returns the result they set.
    LRESULT WindowProc(unsigned message, WPARAM wParam, LPARAM lParam, BOOL& continueDefault);

protected:
    void updateDynamicMenuCommandIDs(CMenu& menu, const std::wstring& toolName,
                                     unsigned& nextDynamicId);

private:
    struct CommandOrigin {
        std::wstring toolName;
        unsigned toolCommandId;
    };
    // A registered tool: the stored record and the command target it names.
    struct Tool {
        SExtendToolInformation info;
        std::unique_ptr<CCmdTarget> commandTarget;
    };

    std::map<std::wstring, Tool> toolMap;
    std::map<unsigned, CommandOrigin> commandIdMap;
};
