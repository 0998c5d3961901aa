#pragma once

// Private: the Qt widget that shows a top-level window's frame buffer and
// turns Qt input into window messages.

#include <QWidget>

#include <string>

class CWnd;

namespace lumo {

class Surface : public QWidget {
public:
    explicit Surface(CWnd* window);

    // Repaints the widget from the frame buffer when the loop next runs.
    void present();
    // Repaints it before returning.
    void presentNow();
    void resizeToFrame();
    void setTitle(const std::wstring& title);
    void applyShowState(bool visible, bool minimized);
    void raiseWindow();
    // The window is gone: stop forwarding and delete the widget later.
    void detach();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CWnd* m_window;
};

} // namespace lumo
