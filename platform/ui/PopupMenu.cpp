// Tracking a pop-up menu: the real QMenu, or the answer of a stand-in for the
// user (ModalHook.h).

#include "platform/ui/Menu.h"

#include "platform/ui/MenuData.h"
#include "platform/ui/ModalHook.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/Surface.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowState.h"

#include <QMenu>

namespace {

void fillQMenu(QMenu* qmenu, HMENU menu, HWND owner, UINT* chosen) {
    lumo::MenuData* data = lumo::menuData(menu);
    if (!data)
        return;
    for (size_t i = 0; i < data->items.size(); ++i) {
        const lumo::MenuItemData& item = data->items[i];
        const QString text = QString::fromStdWString(item.text);
        const bool enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
        if (item.flags & MF_SEPARATOR) {
            qmenu->addSeparator();
        } else if (item.popup) {
            QMenu* sub = qmenu->addMenu(text);
            sub->setEnabled(enabled);
            const HMENU popup = item.popup;
            const int index = static_cast<int>(i);
            QObject::connect(sub, &QMenu::aboutToShow, sub, [sub, popup, owner, chosen, index] {
                sub->clear();
                ::SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                              MAKELPARAM(static_cast<WORD>(index), FALSE));
                fillQMenu(sub, popup, owner, chosen);
            });
            // Qt shows a submenu only when it has actions; give it a placeholder
            // until it opens.
            sub->addAction(QString());
        } else {
            QAction* action = qmenu->addAction(text);
            action->setEnabled(enabled);
            action->setCheckable((item.flags & MF_CHECKED) != 0);
            action->setChecked((item.flags & MF_CHECKED) != 0);
            const UINT id = item.id;
            QObject::connect(action, &QAction::triggered, action, [chosen, id] { *chosen = id; });
        }
    }
}

} // namespace

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, LPCRECT) {
    CWnd* owner = CWnd::FromHandle(hWnd);
    if (!lumo::menuData(hMenu) || !owner)
        return FALSE;
    owner->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(0, FALSE));
    if (!lumo::menuData(hMenu) || !CWnd::FromHandle(hWnd))
        return FALSE;

    UINT chosen = 0;
    lumo::ModalLoop loop;
    lumo::ModalHook* hook = lumo::modalHook();
    const std::optional<UINT> answer =
        hook ? hook->popupMenu(hMenu, hWnd, POINT{x, y}, uFlags) : std::nullopt;
    if (answer) {
        chosen = *answer;
    } else if (!lumo::headless() && !loop.cancelled()) {
        lumo::ensureGuiApplication();
        QMenu menu;
        fillQMenu(&menu, hMenu, hWnd, &chosen);
        CWnd* top = owner->GetTopLevelParent();
        QPoint global(x, y);
        if (top && top->state()->surface) {
            const CRect& r = top->state()->rect;
            global = top->state()->surface->mapToGlobal(QPoint(x - r.left, y - r.top));
        }
        loop.setEnd([&menu] { menu.close(); });
        menu.exec(global);
    }
    // A close request ended the menu: nothing was chosen.
    if (!chosen || loop.cancelled())
        return FALSE;
    if (uFlags & TPM_RETURNCMD)
        return static_cast<BOOL>(chosen);
    if (!(uFlags & TPM_NONOTIFY))
        ::PostMessage(hWnd, WM_COMMAND, chosen, 0);
    return TRUE;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}
