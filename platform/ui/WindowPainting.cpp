// CWnd: invalidation, painting, window DCs and the background colour.

#include "platform/ui/Window.h"

#include "platform/ui/DC.h"
#include "platform/ui/WindowState.h"

void CWnd::Invalidate(BOOL bErase) {
    InvalidateRect(nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    if (!m_state)
        return;
    const QRect client(0, 0, m_state->rect.Width(), m_state->rect.Height());
    const QRect area = lpRect ? QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                                      lpRect->bottom - lpRect->top) &
                                    client
                              : client;
    if (area.isEmpty())
        return;
    m_state->update |= area;
    if (bErase)
        m_state->erase = true;
    lumo::wake();
}

void CWnd::UpdateWindow() {
    if (!m_state)
        return;
    if (!m_state->update.isEmpty() && m_state->visibleInTree()) {
        SendMessage(WM_PAINT);
        if (m_state) {
            // A handler that never called BeginPaint must not be asked forever.
            m_state->update = QRegion();
            m_state->erase = false;
        }
    }
    if (!m_state)
        return;
    const std::vector<CWnd*> children = m_state->children;
    for (CWnd* child : children)
        if (lumo::isLiveWindow(child))
            child->UpdateWindow();
    if (m_state && m_state->isTopLevel() && m_state->visible)
        m_state->painted = true;
}

void CWnd::SetBackgroundColor(COLORREF color) {
    if (m_state)
        m_state->background = color;
}
