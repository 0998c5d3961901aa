#pragma once

#include "platform/ui/CmdTarget.h"
#include "platform/ui/UiTypes.h"

#include <array>
#include <string>

// The launcher's command target: one command per built-in application of
// the device. A command brings the application's window forward when it is
// running, and otherwise starts the program and waits (blocking, up to ten
// one-second waits) for its window. The three media players exclude each
// other: starting one closes the other two. Nothing is reported to the user.
class CCowonV5AppLauncher : public CCmdTarget {
public:
    void OnAudioPlayer();
    void OnVideoPlayer();
    void OnFlashPlayer();
    void OnImageViewer();
    void OnTextViewer();
    void OnFileBrowser();
    void OnDeviceConfig();

    DECLARE_MESSAGE_MAP()
};

namespace appdeck {

// Window table slots, in the order the class names are compared.
enum WindowSlot : int {
    SLOT_VIDEOPLAYER,
    SLOT_AUDIOPLAYER,
    SLOT_FLASHPLAYER,
    SLOT_IMAGEVIEWER,
    SLOT_TEXTVIEWER,
    SLOT_FILEBROWSER,
    SLOT_CONFIG,
    SLOT_TASKBAR,
    SLOT_COUNT
};

using WindowTable = std::array<HWND, SLOT_COUNT>;

// The window class names of the slots.
const std::array<std::wstring, SLOT_COUNT>& windowClassNames();

// Every top-level window whose class name equals a slot's name, exactly; the
// last one enumerated wins when several share a name.
WindowTable findApplicationWindows();

// Shows the window, makes it the foreground window, on top and topmost, and
// the task bar non-topmost. Nothing happens for a null window.
void bringWindowForward(HWND window, HWND taskBar);

} // namespace appdeck
