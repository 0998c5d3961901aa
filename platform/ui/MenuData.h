#pragma once

// Private: the storage behind menu handles.

#include "platform/ui/Menu.h"

#include <memory>
#include <string>
#include <vector>

namespace lumo {

struct MenuItemData {
    UINT flags = 0; // MF_GRAYED, MF_CHECKED, MF_POPUP, MF_SEPARATOR
    UINT id = 0;
    std::wstring text;
    HMENU popup = nullptr;
};

struct MenuData {
    std::vector<MenuItemData> items;
    bool isPopup = false;
    UINT_PTR handle = 0;
    std::unique_ptr<CMenu> wrapper; // the FromHandle object
};

// Null for a null, destroyed or foreign handle.
MenuData* menuData(HMENU menu);

} // namespace lumo
