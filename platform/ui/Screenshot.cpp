// LUMO_SCREENSHOT=<file>: the first idle moment after the main window was
// shown and painted, its frame buffer is written there as PNG and the window
// is closed the normal way (scripts/run and the end-to-end tests use it).

#include "platform/ui/WindowState.h"

#include "platform/ui/WinApp.h"

#include <cstdlib>

namespace lumo {

void screenshotOnIdle() {
    static bool done = false;
    if (done)
        return;
    const char* path = std::getenv("LUMO_SCREENSHOT");
    if (!path || !*path)
        return;
    CWinApp* app = AfxGetApp();
    CWnd* main = app ? app->m_pMainWnd : nullptr;
    if (!isLiveWindow(main) || !main->state()->visible || !main->state()->painted || paintPending())
        return;
    done = true;
    main->state()->frame.save(QString::fromLocal8Bit(path), "PNG");
    ::PostMessage(main->m_hWnd, WM_CLOSE, 0, 0);
}

} // namespace lumo
