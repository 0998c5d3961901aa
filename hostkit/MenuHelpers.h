#pragma once

// Menu editing helpers: the main frame's menu is assembled from several menu
// resources that meet at placeholder items. All four work on menu objects,
// address items by position, compare texts exactly (case-sensitive) and
// always return 1; items whose properties cannot be read count as having no
// submenu, empty text or id -1. Null menus are left alone.

#include "hostkit/HostkitExport.h"
#include "platform/core/CString.h"
#include "platform/ui/Menu.h"

#include <map>
#include <set>
#include <string>

// Merges src into dest: popups of src merge into dest popups of the same
// text, commands into dest commands of the same id (taking src's text when
// replaceText is TRUE); everything else is copied in before the first dest
// item whose text is `marker` (or appended when there is none or the marker
// is empty). The scan never goes back, so src popups must come in dest order.
LUMO_C_EXPORT int LumoMergeMenu(CMenu* dest, CMenu* src, const CString& marker, BOOL replaceText);

// Removes empty popups (after normalising them) and superfluous separators
// (leading, trailing, and all but the last of a run); with topLevel TRUE also
// every item of `menu` itself that is not a popup.
LUMO_C_EXPORT int LumoNormalizeMenu(CMenu* menu, BOOL topLevel);

// Deletes, at every depth, the items whose text is in `texts` (a popup with
// its submenu).
LUMO_C_EXPORT int LumoRemoveMenuItems(CMenu* menu, const std::set<std::wstring>& texts);

// Gives each item of `menu` (this level only) whose text is a key of
// `renames` the mapped text; popups keep their submenus, items keep their
// ids and states. Separators have no text and are never renamed.
LUMO_C_EXPORT int LumoRenameMenuItems(CMenu* menu,
                                      const std::map<std::wstring, std::wstring>& renames);
