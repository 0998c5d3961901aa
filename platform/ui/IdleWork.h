#pragma once

#include "UiExport.h"

#include "UiTypes.h"

// Idle processing for windows, as the framework's modal loops give it: once
// every queued message, paint and due timer has been handled, a window that
// asked for idle work is sent WM_KICKIDLE and does one small slice of its
// work, answering nonzero while work remains. Between slices the loop goes
// back to the window system, so input waits at most one slice. Windows with
// work take turns. A request ends when the handler answers 0 or the window is
// destroyed; asking again while a request stands changes nothing.
constexpr UINT WM_KICKIDLE = 0x036A;

// FALSE when `hwnd` is no window.
PLATFORMUI_API BOOL RequestIdleWork(HWND hwnd);
