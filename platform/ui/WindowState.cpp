#include "platform/ui/WindowState.h"

#include "platform/ui/Surface.h"

namespace lumo {

CWnd* WindowState::topLevel() const {
    const WindowState* s = this;
    while (s->parent)
        s = s->parent->state();
    return s->wnd;
}

QPoint WindowState::frameOffset() const {
    QPoint offset(0, 0);
    for (const WindowState* s = this; s->parent; s = s->parent->state())
        offset += QPoint(s->rect.left, s->rect.top);
    return offset;
}

bool WindowState::visibleInTree() const {
    for (const WindowState* s = this; s; s = s->parent ? s->parent->state() : nullptr)
        if (!s->visible)
            return false;
    return true;
}

QRegion WindowState::frameClip(bool clipChildren) const {
    const QPoint offset = frameOffset();
    QRegion region(QRect(offset.x(), offset.y(), rect.Width(), rect.Height()));
    // Every ancestor clips its descendants.
    for (const WindowState* s = this; s->parent; s = s->parent->state()) {
        const WindowState* p = s->parent->state();
        const QPoint po = p->frameOffset();
        region &= QRegion(QRect(po.x(), po.y(), p->rect.Width(), p->rect.Height()));
    }
    if (clipChildren) {
        for (CWnd* child : children) {
            const WindowState* c = child->state();
            if (c->visible)
                region -= QRegion(QRect(offset.x() + c->rect.left, offset.y() + c->rect.top,
                                        c->rect.Width(), c->rect.Height()));
        }
    }
    return region;
}

void WindowState::presentFrame() const {
    CWnd* top = topLevel();
    if (top && top->state()->surface)
        top->state()->surface->present();
}

void WindowState::presentFrameNow() const {
    CWnd* top = topLevel();
    if (top && top->state()->surface)
        top->state()->surface->presentNow();
}

} // namespace lumo
