#pragma once

// The main frame's private messages and the command ids it handles, shared
// with the document-type registry, the host's menu and the plug-ins.

#include "platform/core/types.h"

// Private messages of the main frame (see MainFrame.h); each handler returns 0.
constexpr UINT WM_SWITCH_DOCUMENT_VIEW = WM_USER + 1;
constexpr UINT WM_DROP_DOWN_MENU = WM_USER + 2;
constexpr UINT WM_COMMAND_BAR_OPERATION = WM_USER + 3;
constexpr UINT WM_REBUILD_MENU = WM_USER + 4;
constexpr UINT WM_SHOW_MENU_AT_POINT = WM_USER + 5;
constexpr UINT WM_RECALC_FRAME_LAYOUT = WM_USER + 6;

// The recent-file entries of the host's menu: ID_FIRST_RECENT_FILE and the
// RECENT_FILE_COUNT - 1 ids after it, newest first.
constexpr UINT ID_FIRST_RECENT_FILE = 32780;
constexpr int RECENT_FILE_COUNT = 6;
