#pragma once

#include "platform/core/types.h"

#include <string>

class CCmdTarget;
class CMenu;

// A tool's registration record; its layout is part of the plug-in interface.
struct SExtendToolInformation {
    // Fills an empty menu with the tool's pull-down menus; false or no valid
    // menu means the tool contributes none.
    using MenuBuilder = bool (*)(CMenu* menu);
    // Sees the main frame's messages first; clearing *continueDefault makes the
    // frame return *result without handling the message itself.
    using WindowProcHook = void (*)(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                                    BOOL* continueDefault);

    DWORD infoCode;        // the registering module's own value, never interpreted
    std::wstring toolName; // unique key
    std::wstring displayName;
    HINSTANCE hModuleInstance;
    MenuBuilder menuBuilder;       // may be null
    CCmdTarget* commandTarget;     // may be null; owned by the registry once registered
    WindowProcHook windowProcHook; // may be null
};
