#pragma once

// The message loop and input as seen from outside the window system: the Qt
// surfaces feed input through these, and the test-support library drives the
// loop with them.

#include "platform/ui/UiExport.h"
#include "platform/ui/UiTypes.h"

#include <QPoint>

#include <cstdint>

class CWnd;

namespace lumo {

// Creates the Qt application object when none exists (tests, tools).
PLATFORMUI_API void ensureGuiApplication();

// Runs the queue until it is empty, then timers and painting, until nothing
// is left to do. Windows' idle work (IdleWork.h) runs a slice at a time from
// the window system's loop (Slice), or to its end (Finish, the test hooks).
// Returns false once a quit was requested.
enum class IdleWork { Slice, Finish };
PLATFORMUI_API bool pumpMessages(IdleWork idleWork = IdleWork::Slice);
// While held, no idle work runs (a test hook); releasing resumes it.
PLATFORMUI_API void setIdleWorkHeld(bool held);
PLATFORMUI_API bool quitRequested();
PLATFORMUI_API int quitCode();
PLATFORMUI_API void resetQuit();
// When the next timer is due; false when there is none.
PLATFORMUI_API bool nextTimerDue(DWORD& due);

// Input in frame-buffer coordinates of a top-level window, hit-tested to the
// capturing window or the innermost child. `eventTime` is the window system's
// time stamp of the input in milliseconds, 0 when there is none (the message
// then carries the current tick count).
enum class PenAction { Down, Up, Move };
PLATFORMUI_API void penInput(CWnd* topLevel, QPoint framePoint, PenAction action,
                             std::uint64_t eventTime = 0);
PLATFORMUI_API void wheelInput(CWnd* topLevel, QPoint framePoint, int delta,
                               std::uint64_t eventTime = 0);
PLATFORMUI_API void keyInput(CWnd* topLevel, UINT virtualKey, bool down);
// Shift/Control/Alt held at the last key input, as FSHIFT | FCONTROL | FALT.
BYTE currentKeyModifiers();
PLATFORMUI_API void setKeyModifiers(BYTE modifiers);

} // namespace lumo
