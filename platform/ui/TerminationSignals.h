#pragma once

#include "platform/ui/UiExport.h"

namespace lumo {

// From now on SIGTERM and SIGINT close the main window the normal way (a
// posted WM_CLOSE, or a quit message when there is no main window), so every
// exit step still runs: unload entry points, settings written. Call it once
// the application object and the Qt application exist; calling it again does
// nothing until that Qt application is destroyed, which restores the default
// handling.
PLATFORMUI_API void closeMainWindowOnTerminationSignals();

} // namespace lumo
