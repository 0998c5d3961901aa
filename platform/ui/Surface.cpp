#include "platform/ui/Surface.h"

#include "platform/ui/WindowState.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

namespace lumo {
namespace {

UINT virtualKeyOf(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<UINT>('A' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<UINT>('0' + (qtKey - Qt::Key_0));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<UINT>(0x70 + (qtKey - Qt::Key_F1));
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
        return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Shift:
        return 0x10;
    case Qt::Key_Control:
        return 0x11;
    case Qt::Key_Alt:
        return 0x12;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    default:
        return 0;
    }
}

} // namespace

Surface::Surface(CWnd* window) : m_window(window) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    const WindowState* s = window->state();
    resize(s->frame.size());
    setWindowTitle(QString::fromStdWString(s->text));
}

void Surface::present() {
    update();
}

void Surface::presentNow() {
    repaint();
}

void Surface::resizeToFrame() {
    if (m_window)
        resize(m_window->state()->frame.size());
}

void Surface::setTitle(const std::wstring& title) {
    setWindowTitle(QString::fromStdWString(title));
}

void Surface::applyShowState(bool visible, bool minimized) {
    if (!visible) {
        hide();
        return;
    }
    if (minimized)
        showMinimized();
    else
        showNormal();
}

void Surface::raiseWindow() {
    raise();
    activateWindow();
}

void Surface::detach() {
    m_window = nullptr;
    hide();
    deleteLater();
}

void Surface::paintEvent(QPaintEvent*) {
    if (!m_window)
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_window->state()->frame);
}

void Surface::mousePressEvent(QMouseEvent* event) {
    if (m_window && event->button() == Qt::LeftButton)
        penInput(m_window, event->position().toPoint(), PenAction::Down, event->timestamp());
}

void Surface::mouseReleaseEvent(QMouseEvent* event) {
    if (m_window && event->button() == Qt::LeftButton)
        penInput(m_window, event->position().toPoint(), PenAction::Up, event->timestamp());
}

// Double taps are recognised by the platform's own timing, as on the device.
void Surface::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void Surface::mouseMoveEvent(QMouseEvent* event) {
    if (m_window && (event->buttons() & Qt::LeftButton))
        penInput(m_window, event->position().toPoint(), PenAction::Move, event->timestamp());
}

void Surface::wheelEvent(QWheelEvent* event) {
    if (m_window)
        wheelInput(m_window, event->position().toPoint(), event->angleDelta().y(),
                   event->timestamp());
}

namespace {
void noteModifiers(const QKeyEvent* event) {
    BYTE modifiers = 0;
    if (event->modifiers() & Qt::ShiftModifier)
        modifiers |= 0x04;
    if (event->modifiers() & Qt::ControlModifier)
        modifiers |= 0x08;
    if (event->modifiers() & Qt::AltModifier)
        modifiers |= 0x10;
    setKeyModifiers(modifiers);
}
} // namespace

void Surface::keyPressEvent(QKeyEvent* event) {
    noteModifiers(event);
    if (m_window)
        if (const UINT vk = virtualKeyOf(event->key()))
            keyInput(m_window, vk, true);
}

void Surface::keyReleaseEvent(QKeyEvent* event) {
    noteModifiers(event);
    if (m_window)
        if (const UINT vk = virtualKeyOf(event->key()))
            keyInput(m_window, vk, false);
}

// A user resizing the window resizes the window and its frame buffer.
void Surface::resizeEvent(QResizeEvent* event) {
    if (!m_window)
        return;
    const QSize size = event->size();
    const CRect& r = m_window->state()->rect;
    if (size.width() == r.Width() && size.height() == r.Height())
        return;
    m_window->MoveWindow(r.left, r.top, size.width(), size.height(), TRUE);
}

// Closing the Qt window asks the window to close the normal way.
void Surface::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_window)
        ::PostMessage(m_window->m_hWnd, WM_CLOSE, 0, 0);
}

} // namespace lumo
