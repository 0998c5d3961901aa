#pragma once

#include "platform/ui/RuntimeClass.h"
#include "platform/ui/UiTypes.h"

#include <string>

class CString;
class CWnd;

// Menu item flags and states.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

// TrackPopupMenu flags.
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

// Menu handles. A handle stays valid until DestroyMenu; destroying a menu
// destroys its submenus. Failing calls return FALSE, -1 or 0 as the
// original functions do; a null or destroyed handle is never dereferenced.
PLATFORMUI_API HMENU CreateMenu();
PLATFORMUI_API HMENU CreatePopupMenu();
PLATFORMUI_API BOOL DestroyMenu(HMENU hMenu);
PLATFORMUI_API BOOL IsMenu(HMENU hMenu);
// A copy of menu resource `id` of `hInstance` (see Resources.h); null when the
// module has no such menu.
PLATFORMUI_API HMENU LoadMenu(HINSTANCE hInstance, LPCWSTR lpMenuName);
PLATFORMUI_API int GetMenuItemCount(HMENU hMenu);
PLATFORMUI_API UINT GetMenuItemID(HMENU hMenu, int nPos);
PLATFORMUI_API HMENU GetSubMenu(HMENU hMenu, int nPos);
PLATFORMUI_API UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
PLATFORMUI_API int GetMenuString(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax,
                                 UINT flags);
PLATFORMUI_API BOOL InsertMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem,
                               LPCWSTR lpNewItem);
PLATFORMUI_API BOOL AppendMenu(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
PLATFORMUI_API BOOL ModifyMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem,
                               LPCWSTR lpNewItem);
PLATFORMUI_API BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
PLATFORMUI_API UINT EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
PLATFORMUI_API DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
// Shows the menu as a pop-up at a screen point (the real Qt menu, or the test
// hook's answer). The owner gets WM_INITMENUPOPUP first; the chosen command is
// posted to it as WM_COMMAND, or returned with TPM_RETURNCMD. 0 when nothing
// was chosen.
PLATFORMUI_API BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd,
                                   LPCRECT prcRect);

// A thin wrapper over a menu handle. The wrapper destroys an attached menu
// when it is destroyed, so Detach() a menu that must outlive it. FromHandle
// gives a wrapper owned by the menu itself (valid until the menu is destroyed).
class PLATFORMUI_API CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    static CMenu* FromHandle(HMENU hMenu);
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return GetSafeHmenu(); }

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    // Loads the menu resource of one module.
    BOOL LoadMenu(HINSTANCE hInstance, UINT nIDResource);

    UINT GetMenuItemCount() const;
    UINT GetMenuItemID(int nPos) const;
    CMenu* GetSubMenu(int nPos) const;
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0,
                    LPCWSTR lpszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0,
                    LPCWSTR lpszNewItem = nullptr);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);

    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
};
