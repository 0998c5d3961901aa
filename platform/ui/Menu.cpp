#include "platform/ui/Menu.h"

#include "platform/core/CString.h"
#include "platform/ui/MenuData.h"
#include "platform/ui/Resources.h"

#include <algorithm>
#include <cwchar>
#include <unordered_map>

namespace lumo {
namespace {

// Handles are serial numbers, never reused, so a stale handle can never
// reach a menu created later.
std::unordered_map<UINT_PTR, MenuData*>& liveMenus() {
    static std::unordered_map<UINT_PTR, MenuData*> menus;
    return menus;
}

UINT_PTR g_nextMenuHandle = 0x10000;

HMENU newMenu(bool popup) {
    auto* data = new MenuData;
    data->isPopup = popup;
    data->handle = g_nextMenuHandle++;
    liveMenus()[data->handle] = data;
    return reinterpret_cast<HMENU>(data->handle);
}

// An item found by command id (searching submenus depth-first) or position.
struct ItemRef {
    MenuData* menu = nullptr;
    size_t index = 0;
    MenuItemData* item() const { return menu ? &menu->items[index] : nullptr; }
};

ItemRef findByCommand(MenuData* menu, UINT id) {
    for (size_t i = 0; i < menu->items.size(); ++i) {
        MenuItemData& item = menu->items[i];
        if (item.popup) {
            if (MenuData* sub = menuData(item.popup)) {
                ItemRef found = findByCommand(sub, id);
                if (found.menu)
                    return found;
            }
            continue;
        }
        if (!(item.flags & MF_SEPARATOR) && item.id == id)
            return {menu, i};
    }
    return {};
}

ItemRef findItem(HMENU hMenu, UINT position, UINT flags) {
    MenuData* menu = menuData(hMenu);
    if (!menu)
        return {};
    if (flags & MF_BYPOSITION) {
        if (position >= menu->items.size())
            return {};
        return {menu, position};
    }
    return findByCommand(menu, position);
}

bool makeItem(UINT flags, UINT_PTR idOrMenu, LPCWSTR text, MenuItemData& item) {
    item.flags = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR);
    if (flags & MF_POPUP) {
        item.popup = reinterpret_cast<HMENU>(idOrMenu);
        if (!menuData(item.popup))
            return false;
        item.id = static_cast<UINT>(-1);
    } else if (flags & MF_SEPARATOR) {
        item.id = 0;
    } else {
        item.id = static_cast<UINT>(idOrMenu);
    }
    if (!(flags & MF_SEPARATOR))
        item.text = text ? text : L"";
    return true;
}

void destroyTree(MenuData* menu) {
    if (!liveMenus().erase(menu->handle))
        return;
    for (MenuItemData& item : menu->items)
        if (MenuData* sub = menuData(item.popup))
            destroyTree(sub);
    if (menu->wrapper)
        menu->wrapper->m_hMenu = nullptr;
    delete menu;
}

void fillFromTemplate(HMENU target, const std::vector<MenuTemplateItem>& items) {
    for (const MenuTemplateItem& item : items) {
        switch (item.kind) {
        case MenuTemplateItem::Kind::Separator:
            AppendMenu(target, MF_SEPARATOR, 0, nullptr);
            break;
        case MenuTemplateItem::Kind::Command:
            AppendMenu(target, MF_STRING | item.state, item.id, item.text.c_str());
            break;
        case MenuTemplateItem::Kind::Popup: {
            HMENU sub = newMenu(true);
            fillFromTemplate(sub, item.items);
            AppendMenu(target, MF_POPUP | item.state, reinterpret_cast<UINT_PTR>(sub),
                       item.text.c_str());
            break;
        }
        }
    }
}

} // namespace

MenuData* menuData(HMENU menu) {
    const auto found = liveMenus().find(reinterpret_cast<UINT_PTR>(menu));
    return found == liveMenus().end() ? nullptr : found->second;
}

} // namespace lumo

using lumo::MenuData;
using lumo::MenuItemData;

HMENU CreateMenu() {
    return lumo::newMenu(false);
}
HMENU CreatePopupMenu() {
    return lumo::newMenu(true);
}

BOOL DestroyMenu(HMENU hMenu) {
    MenuData* menu = lumo::menuData(hMenu);
    if (!menu)
        return FALSE;
    lumo::destroyTree(menu);
    return TRUE;
}

BOOL IsMenu(HMENU hMenu) {
    return lumo::menuData(hMenu) != nullptr;
}

HMENU LoadMenu(HINSTANCE hInstance, LPCWSTR lpMenuName) {
    if (!IS_INTRESOURCE(lpMenuName))
        return nullptr;
    const auto id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpMenuName));
    const auto* items = lumo::findMenuResource(hInstance, id);
    if (!items)
        return nullptr;
    HMENU menu = lumo::newMenu(false);
    lumo::fillFromTemplate(menu, *items);
    return menu;
}

int GetMenuItemCount(HMENU hMenu) {
    MenuData* menu = lumo::menuData(hMenu);
    return menu ? static_cast<int>(menu->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos) {
    MenuData* menu = lumo::menuData(hMenu);
    if (!menu || nPos < 0 || static_cast<size_t>(nPos) >= menu->items.size())
        return static_cast<UINT>(-1);
    const MenuItemData& item = menu->items[static_cast<size_t>(nPos)];
    return item.popup ? static_cast<UINT>(-1) : item.id;
}

HMENU GetSubMenu(HMENU hMenu, int nPos) {
    MenuData* menu = lumo::menuData(hMenu);
    if (!menu || nPos < 0 || static_cast<size_t>(nPos) >= menu->items.size())
        return nullptr;
    HMENU sub = menu->items[static_cast<size_t>(nPos)].popup;
    return lumo::menuData(sub) ? sub : nullptr;
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
    const lumo::ItemRef ref = lumo::findItem(hMenu, uId, uFlags);
    const MenuItemData* item = ref.item();
    if (!item)
        return static_cast<UINT>(-1);
    if (item->popup) {
        // Popups report their item count in the high byte, as the original does.
        const int count = GetMenuItemCount(item->popup);
        return (static_cast<UINT>(std::max(count, 0)) << 8) | (item->flags & 0xFF) | MF_POPUP;
    }
    return item->flags;
}

int GetMenuString(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags) {
    const MenuItemData* item = lumo::findItem(hMenu, uIDItem, flags).item();
    if (!item) {
        if (lpString && cchMax > 0)
            lpString[0] = L'\0';
        return 0;
    }
    const int length = static_cast<int>(item->text.size());
    if (!lpString || cchMax <= 0)
        return length;
    const int copied = std::min(length, cchMax - 1);
    std::wmemcpy(lpString, item->text.data(), static_cast<size_t>(copied));
    lpString[copied] = L'\0';
    return copied;
}

BOOL InsertMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
    MenuData* menu = lumo::menuData(hMenu);
    if (!menu)
        return FALSE;
    MenuItemData item;
    if (!lumo::makeItem(uFlags, uIDNewItem, lpNewItem, item))
        return FALSE;
    if (uFlags & MF_BYPOSITION) {
        // An out-of-range position appends, as the original does for -1.
        const size_t at = std::min<size_t>(uPosition, menu->items.size());
        menu->items.insert(menu->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
        return TRUE;
    }
    const lumo::ItemRef ref = lumo::findByCommand(menu, uPosition);
    if (!ref.menu)
        return FALSE;
    ref.menu->items.insert(ref.menu->items.begin() + static_cast<std::ptrdiff_t>(ref.index),
                           std::move(item));
    return TRUE;
}

BOOL AppendMenu(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
    MenuData* menu = lumo::menuData(hMenu);
    if (!menu)
        return FALSE;
    MenuItemData item;
    if (!lumo::makeItem(uFlags, uIDNewItem, lpNewItem, item))
        return FALSE;
    menu->items.push_back(std::move(item));
    return TRUE;
}

BOOL ModifyMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
    const lumo::ItemRef ref = lumo::findItem(hMenu, uPosition, uFlags);
    MenuItemData* item = ref.item();
    if (!item)
        return FALSE;
    MenuItemData replacement;
    if (!lumo::makeItem(uFlags, uIDNewItem, lpNewItem, replacement))
        return FALSE;
    // A popup turned into a command keeps no reference to its old submenu,
    // which the original would leak; destroy it unless it is reused.
    if (item->popup && item->popup != replacement.popup)
        DestroyMenu(item->popup);
    *item = std::move(replacement);
    return TRUE;
}

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    const lumo::ItemRef ref = lumo::findItem(hMenu, uPosition, uFlags);
    if (!ref.menu)
        return FALSE;
    HMENU popup = ref.item()->popup;
    ref.menu->items.erase(ref.menu->items.begin() + static_cast<std::ptrdiff_t>(ref.index));
    if (popup)
        DestroyMenu(popup);
    return TRUE;
}

UINT EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
    MenuItemData* item = lumo::findItem(hMenu, uIDEnableItem, uEnable).item();
    if (!item)
        return static_cast<UINT>(-1);
    const UINT previous = item->flags & (MF_GRAYED | MF_DISABLED);
    item->flags =
        (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck) {
    MenuItemData* item = lumo::findItem(hMenu, uIDCheckItem, uCheck).item();
    if (!item)
        return static_cast<DWORD>(-1);
    const DWORD previous = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~MF_CHECKED) | (uCheck & MF_CHECKED);
    return previous;
}

// ---- CMenu ---------------------------------------------------------------

IMPLEMENT_DYNAMIC(CMenu, CObject)

CMenu::~CMenu() {
    // A wrapper owned by the menu itself never destroys it.
    MenuData* menu = lumo::menuData(m_hMenu);
    if (menu && menu->wrapper.get() != this)
        ::DestroyMenu(m_hMenu);
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    MenuData* menu = lumo::menuData(hMenu);
    if (!menu)
        return nullptr;
    if (!menu->wrapper) {
        menu->wrapper = std::make_unique<CMenu>();
        menu->wrapper->m_hMenu = hMenu;
    }
    return menu->wrapper.get();
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (m_hMenu || !lumo::menuData(hMenu))
        return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::CreateMenu() {
    return Attach(::CreateMenu());
}
BOOL CMenu::CreatePopupMenu() {
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu)
        return FALSE;
    HMENU menu = Detach();
    return ::DestroyMenu(menu);
}

BOOL CMenu::LoadMenu(HINSTANCE hInstance, UINT nIDResource) {
    return Attach(
        ::LoadMenu(hInstance ? hInstance : AfxGetInstanceHandle(), MAKEINTRESOURCE(nIDResource)));
}

UINT CMenu::GetMenuItemCount() const {
    return static_cast<UINT>(::GetMenuItemCount(m_hMenu));
}
UINT CMenu::GetMenuItemID(int nPos) const {
    return ::GetMenuItemID(m_hMenu, nPos);
}
CMenu* CMenu::GetSubMenu(int nPos) const {
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    return ::GetMenuState(m_hMenu, nID, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    const MenuItemData* item = lumo::findItem(m_hMenu, nIDItem, nFlags).item();
    rString = item ? CString(item->text) : CString();
    return rString.GetLength();
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
    return ::AppendMenu(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
    return ::InsertMenu(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
    return ::ModifyMenu(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}
UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
}
UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck);
}
