#pragma once

// Modal loops (pop-up menus, dialogs, message boxes, file dialogs, the folder
// picker) run inside the handler that opened them, and windows keep getting
// their messages meanwhile. A close request (WM_CLOSE: a termination signal,
// the window manager's close button) that arrives then must not destroy
// windows under that handler. The queue therefore holds WM_CLOSE back while
// a modal loop runs and asks every loop to end, as a cancel would; once the
// last one has returned, the close is handled the normal way.

#include "platform/ui/UiExport.h"

#include <functional>

namespace lumo {

// Marks a modal interaction for as long as it lives.
class PLATFORMUI_API ModalLoop {
public:
    ModalLoop();
    ~ModalLoop();
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;

    // How to end the loop as a cancel would (closing the Qt menu or dialog
    // that runs it); called at most once. An interaction that is answered
    // without a loop of its own needs none.
    void setEnd(std::function<void()> end);
    // True once a close request asked the loop to end: its result is a
    // cancel, and a loop not yet started must not start.
    bool cancelled() const { return m_cancelled; }

private:
    friend void endModalLoops();
    void end();

    std::function<void()> m_end;
    bool m_cancelled = false;
    ModalLoop* m_outer;
};

// True while a modal loop runs.
PLATFORMUI_API bool insideModalLoop();
// Asks every running modal loop to end, the innermost first.
PLATFORMUI_API void endModalLoops();

} // namespace lumo
