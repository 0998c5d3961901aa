#pragma once

#include "platform/ui/Resources.h"

#include <map>

// The control bar's 32 x 32 icons, drawn by code so that the module ships no
// image files. Keys are the icon resource ids the view loads.
namespace yomite {

constexpr UINT ICON_PAGE_BACK = 5011;    // double arrow up in a blue disc
constexpr UINT ICON_LINE_BACK = 5010;    // single arrow up in a blue disc
constexpr UINT ICON_LINE_FORWARD = 5006; // single arrow down in a blue disc
constexpr UINT ICON_PAGE_FORWARD = 5007; // double arrow down in a blue disc
constexpr UINT ICON_SWITCH_SET = 5009;   // the letters "Fn"
constexpr UINT ICON_MINIMISE = 5013;     // arrow down onto a bar
constexpr UINT ICON_CLOSE = 5014;        // cross in a dotted box
constexpr UINT ICON_OPEN = 5019;         // open folder
constexpr UINT ICON_TOOL_MODE = 5016;    // magnifier over a screen
constexpr UINT ICON_LINE_NUMBERS = 5015; // numbered lines with an arrow
constexpr UINT ICON_MARK_UP = 5017;      // arrow up with a green dot
constexpr UINT ICON_SETTINGS = 5020;     // window layout
constexpr UINT ICON_MARK_DOWN = 5018;    // arrow down with a green dot
constexpr UINT ICON_SCROLL = 5024;       // scroll bar with a pointer

constexpr int ICON_SIZE = 32;

std::map<UINT, lumo::IconImage> buildButtonIcons();

} // namespace yomite
