// CWnd: geometry, coordinate conversion, showing, enabling and activation.

#include "platform/ui/Window.h"

#include "platform/ui/Surface.h"
#include "platform/ui/WindowState.h"

#include <QPainter>

#include <algorithm>

void CWnd::GetClientRect(LPRECT lpRect) const {
    if (!lpRect)
        return;
    *lpRect =
        m_state ? RECT{0, 0, m_state->rect.Width(), m_state->rect.Height()} : RECT{0, 0, 0, 0};
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    if (!lpRect)
        return;
    if (!m_state) {
        *lpRect = RECT{0, 0, 0, 0};
        return;
    }
    CRect r(0, 0, m_state->rect.Width(), m_state->rect.Height());
    ClientToScreen(&r);
    *lpRect = r;
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    if (!lpPoint || !m_state)
        return;
    const QPoint offset = m_state->frameOffset();
    const CRect& top = m_state->topLevel()->m_state->rect;
    lpPoint->x += offset.x() + top.left;
    lpPoint->y += offset.y() + top.top;
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
    if (!lpRect)
        return;
    POINT a{lpRect->left, lpRect->top}, b{lpRect->right, lpRect->bottom};
    ClientToScreen(&a);
    ClientToScreen(&b);
    *lpRect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    if (!lpPoint || !m_state)
        return;
    POINT origin{0, 0};
    ClientToScreen(&origin);
    lpPoint->x -= origin.x;
    lpPoint->y -= origin.y;
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    if (!m_state)
        return;
    const CRect old = m_state->rect;
    const CRect next(x, y, x + std::max(nWidth, 0), y + std::max(nHeight, 0));
    if (old == next)
        return;
    m_state->rect = next;
    if (m_state->isTopLevel() && (old.Width() != next.Width() || old.Height() != next.Height())) {
        QImage frame(std::max(next.Width(), 1), std::max(next.Height(), 1), QImage::Format_RGB32);
        frame.fill(Qt::white);
        QPainter painter(&frame);
        painter.drawImage(0, 0, m_state->frame);
        painter.end();
        m_state->frame = std::move(frame);
        if (m_state->surface)
            m_state->surface->resizeToFrame();
    }
    if (bRepaint) {
        if (CWnd* parent = m_state->parent)
            parent->InvalidateRect(&old, TRUE);
        Invalidate(TRUE);
    }
    if (old.Width() != next.Width() || old.Height() != next.Height())
        SendMessage(WM_SIZE, SIZE_RESTORED,
                    MAKELPARAM(static_cast<WORD>(next.Width()), static_cast<WORD>(next.Height())));
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    if (!m_state)
        return FALSE;
    const CRect r = m_state->rect;
    const int nx = (nFlags & SWP_NOMOVE) ? r.left : x;
    const int ny = (nFlags & SWP_NOMOVE) ? r.top : y;
    const int ncx = (nFlags & SWP_NOSIZE) ? r.Width() : cx;
    const int ncy = (nFlags & SWP_NOSIZE) ? r.Height() : cy;
    MoveWindow(nx, ny, ncx, ncy, TRUE);
    if (!(nFlags & SWP_NOZORDER) && m_state->parent && pWndInsertAfter == nullptr) {
        auto& siblings = m_state->parent->m_state->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        siblings.push_back(this);
    }
    if (nFlags & SWP_SHOWWINDOW)
        ShowWindow(SW_SHOW);
    if (nFlags & SWP_HIDEWINDOW)
        ShowWindow(SW_HIDE);
    return TRUE;
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    if (!m_state)
        return FALSE;
    const bool wasVisible = m_state->visible;
    switch (nCmdShow) {
    case SW_HIDE:
        m_state->visible = false;
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        m_state->visible = true;
        m_state->minimized = true;
        break;
    default:
        m_state->visible = true;
        m_state->minimized = false;
        break;
    }
    if (m_state->visible)
        m_state->style |= WS_VISIBLE;
    else
        m_state->style &= ~WS_VISIBLE;
    if (m_state->surface)
        m_state->surface->applyShowState(m_state->visible, m_state->minimized);
    showStateHook();
    if (m_state->visible != wasVisible) {
        if (m_state->visible) {
            Invalidate(TRUE);
            for (CWnd* child : m_state->children)
                if (child->m_state->visible)
                    child->Invalidate(TRUE);
            lumo::noteWindowShown();
        } else if (CWnd* parent = m_state->parent) {
            parent->InvalidateRect(&m_state->rect, TRUE);
        }
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL CWnd::IsWindowVisible() const {
    return m_state && m_state->visibleInTree();
}
BOOL CWnd::IsIconic() const {
    return m_state && m_state->minimized;
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    if (!m_state)
        return FALSE;
    const bool wasDisabled = !m_state->enabled;
    m_state->enabled = bEnable != FALSE;
    showStateHook();
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return m_state && m_state->enabled;
}

void CWnd::BringWindowToTop() {
    if (m_state && m_state->surface)
        m_state->surface->raiseWindow();
}

BOOL CWnd::SetForegroundWindow() {
    BringWindowToTop();
    return m_state != nullptr;
}
