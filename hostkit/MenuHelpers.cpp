#include "hostkit/MenuHelpers.h"

namespace {

int itemCount(CMenu* menu) {
    const int count = static_cast<int>(menu->GetMenuItemCount());
    return count < 0 ? 0 : count;
}

CString itemText(CMenu* menu, int pos) {
    CString text;
    menu->GetMenuString(static_cast<UINT>(pos), text, MF_BYPOSITION);
    return text;
}

UINT keptState(CMenu* menu, int pos) {
    const UINT state = menu->GetMenuState(static_cast<UINT>(pos), MF_BYPOSITION);
    return state == static_cast<UINT>(-1) ? 0 : state & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
}

} // namespace

int LumoMergeMenu(CMenu* dest, CMenu* src, const CString& marker, BOOL replaceText) {
    if (!dest || !src)
        return 1;
    // The count of dest items is taken once; inserted items are not scanned.
    const int n = itemCount(dest);
    const int srcCount = itemCount(src);
    if (srcCount == 0)
        return 1;
    int pos = 0;
    for (int i = 0; i < srcCount; ++i) {
        const CString text = itemText(src, i);
        CMenu* sub = src->GetSubMenu(i);
        const UINT id = src->GetMenuItemID(i);
        const bool separator = !sub && text.IsEmpty();

        bool matched = false;
        if (!separator) {
            for (int d = pos; d < n && !matched; ++d) {
                CMenu* destSub = dest->GetSubMenu(d);
                const CString destText = itemText(dest, d);
                if (sub) {
                    if (destSub && destText == text) {
                        LumoMergeMenu(destSub, sub, marker, replaceText);
                        pos = d;
                        matched = true;
                    }
                    continue;
                }
                if (destSub || destText.IsEmpty())
                    continue;
                if (dest->GetMenuItemID(d) == id) {
                    if (replaceText)
                        dest->ModifyMenu(static_cast<UINT>(d),
                                         MF_BYPOSITION | MF_STRING | keptState(dest, d), id, text);
                    pos = d;
                    matched = true;
                }
            }
        }
        if (matched)
            continue;

        pos = n;
        if (!marker.IsEmpty()) {
            for (int d = 0; d < n; ++d) {
                if (itemText(dest, d) == marker) {
                    pos = d;
                    break;
                }
            }
        }

        UINT flags = MF_STRING;
        UINT_PTR item = id;
        if (sub) {
            CMenu popup;
            popup.CreatePopupMenu();
            LumoMergeMenu(&popup, sub, marker, replaceText);
            flags = MF_POPUP | MF_STRING;
            item = reinterpret_cast<UINT_PTR>(popup.Detach());
        } else if (separator) {
            flags = MF_SEPARATOR;
            item = 0;
        }
        const wchar_t* label = separator ? nullptr : text.GetString();
        if (pos < n)
            dest->InsertMenu(static_cast<UINT>(pos), MF_BYPOSITION | flags, item, label);
        else
            dest->AppendMenu(flags, item, label);
    }
    return 1;
}

int LumoNormalizeMenu(CMenu* menu, BOOL topLevel) {
    if (!menu)
        return 1;
    for (int i = itemCount(menu) - 1; i >= 0; --i) {
        CMenu* sub = menu->GetSubMenu(i);
        if (!sub) {
            if (topLevel)
                menu->DeleteMenu(static_cast<UINT>(i), MF_BYPOSITION);
            continue;
        }
        LumoNormalizeMenu(sub, FALSE);
        if (itemCount(sub) == 0)
            menu->DeleteMenu(static_cast<UINT>(i), MF_BYPOSITION);
    }

    bool pending = true;
    for (int i = itemCount(menu) - 1; i >= 0; --i) {
        if (menu->GetSubMenu(i) || !itemText(menu, i).IsEmpty()) {
            pending = false;
            continue;
        }
        if (pending)
            menu->DeleteMenu(static_cast<UINT>(i), MF_BYPOSITION);
        else
            pending = true;
    }

    if (itemCount(menu) > 0 && pending) {
        // A popup's state carries its item count in the high byte, which can
        // look like the separator flag; only a non-popup counts.
        const UINT state = menu->GetMenuState(0, MF_BYPOSITION);
        if (state != static_cast<UINT>(-1) && (state & MF_SEPARATOR) && !(state & MF_POPUP))
            menu->DeleteMenu(0, MF_BYPOSITION);
    }
    return 1;
}

int LumoRemoveMenuItems(CMenu* menu, const std::set<std::wstring>& texts) {
    if (!menu)
        return 1;
    for (int i = itemCount(menu) - 1; i >= 0; --i) {
        if (texts.count(itemText(menu, i).str())) {
            menu->DeleteMenu(static_cast<UINT>(i), MF_BYPOSITION);
            continue;
        }
        if (CMenu* sub = menu->GetSubMenu(i))
            LumoRemoveMenuItems(sub, texts);
    }
    return 1;
}

int LumoRenameMenuItems(CMenu* menu, const std::map<std::wstring, std::wstring>& renames) {
    if (!menu)
        return 1;
    for (int i = itemCount(menu) - 1; i >= 0; --i) {
        const UINT state = menu->GetMenuState(static_cast<UINT>(i), MF_BYPOSITION);
        CMenu* sub = menu->GetSubMenu(i);
        if (!sub && state != static_cast<UINT>(-1) && (state & MF_SEPARATOR))
            continue;
        const auto found = renames.find(itemText(menu, i).str());
        if (found == renames.end())
            continue;
        const UINT kept = keptState(menu, i);
        if (sub)
            menu->ModifyMenu(static_cast<UINT>(i), MF_BYPOSITION | MF_STRING | MF_POPUP | kept,
                             reinterpret_cast<UINT_PTR>(sub->m_hMenu), found->second.c_str());
        else
            menu->ModifyMenu(static_cast<UINT>(i), MF_BYPOSITION | MF_STRING | kept,
                             menu->GetMenuItemID(i), found->second.c_str());
    }
    return 1;
}
