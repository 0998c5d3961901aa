#pragma once

#include "platform/core/types.h"

// Resource ids of the reader module and its instance handle.
namespace yomite {

constexpr UINT IDR_DOCUMENT_TYPE = 5000; // document-template string
constexpr UINT IDD_CONFIGURE = 5002;     // settings dialog
constexpr UINT IDR_TOOL_MENU = 32774; // "<TOPMENU_FILE>" / "環境設定" / "青空文庫リーダ"
constexpr UINT ID_READER_SETTINGS = 32775; // the tool's settings item

// Settings dialog controls.
constexpr UINT IDC_SCROLL_RANGE = 5000;
constexpr UINT IDC_TEXT_DIRECTION = 5001;
constexpr UINT IDC_CONTROLBAR = 5002;
constexpr UINT IDC_TEXT_FONT = 5003;
constexpr UINT IDC_RUBY_FONT = 5004;
constexpr UINT IDC_LINE_BOUNDARY = 5005;
constexpr UINT IDC_WORD_WRAP = 5006;
constexpr UINT IDC_AUTO_SAVE = 5007;
constexpr UINT IDC_TEXT_FONT_SIZE = 5008;
constexpr UINT IDC_RUBY_FONT_SIZE = 5009;
constexpr UINT IDC_BOLD = 5010;
constexpr UINT IDC_SHOW_RUBY = 5011;
constexpr UINT IDC_LINE_SPACE = 5012;
constexpr UINT IDC_DISPLAY_DIRECTION = 5013;
constexpr UINT IDC_DISPLAY_COLOR = 5015;
constexpr UINT IDC_WALLPAPER_PATH = 5016;
constexpr UINT IDC_WALLPAPER_STYLE = 5017;
constexpr UINT IDC_BROWSE = 5019;
constexpr UINT IDC_WALLPAPER_ALPHA = 5020;
constexpr UINT IDC_CLEAR = 5021;
constexpr UINT IDC_AOZORA_NOTATION = 5022; // beyond the device's dialog: full notation

// This module's instance handle: its resources are registered under it.
HINSTANCE moduleInstance();

// Registers the module's resources once; called by everything that loads them.
void ensureResources();

} // namespace yomite
