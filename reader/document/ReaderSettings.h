#pragma once

#include "platform/core/CString.h"

// The reader's settings (the device's nineteen and m_aozoraNotation):
// module-wide variables named after their
// option keys in section "lumo.davarodiro.document". Values are kept exactly as
// read; nothing is range-checked, and the font sizes stay decimal text.
extern int m_displayDirection;   // 0 upright, 1 turned 90° clockwise, 2 anticlockwise
extern CString m_pathWallpaper;  // folder searched for wallpaper pictures
extern int m_styleWallpaper;     // 0 actual size, 1 fit long side, 2 fit short side
extern int m_alphaWallpaper;     // 0..16, wallpaper strength in sixteenths
extern int m_displayColor;       // 0 black on white, 1 white on black
extern int m_lineSpace;          // pixels between rows
extern int m_positionControlbar; // 0 right, anything else left
extern CString m_textFont;
extern CString m_textFontSize; // points, decimal text
extern CString m_rubyFont;
extern CString m_rubyFontSize;  // points, decimal text
extern int m_textDirection;     // 0 horizontal, 1 vertical (columns from the right)
extern int m_lineBoundary;      // non-zero: line-start/line-end rules
extern int m_wordWrap;          // non-zero: keep Latin words and numbers whole
extern int m_scrollRange;       // 0 positions count display lines, 1 pages
extern int m_enableTouchScroll; // stored only
extern int m_autoSaveAtExit;    // save the reading position on close, restore on open
extern int m_textIsBold;
extern int m_showRuby;
extern int m_aozoraNotation; // 0 the basic notation, 1 full notation (gaiji, emphasis, indents...)

namespace yomite {

// The option section of the reader's settings and reading positions.
extern const wchar_t* const SETTINGS_SECTION;

// Each setting's value before anything is read, and when its key is missing.
namespace defaults {
constexpr int displayDirection = 0;
constexpr const wchar_t* pathWallpaper = L"";
constexpr int styleWallpaper = 0;
constexpr int alphaWallpaper = 0;
constexpr int displayColor = 0;
constexpr int lineSpace = 2;
constexpr int positionControlbar = 0;
constexpr const wchar_t* textFont = L"ＭＳ ゴシック";
constexpr const wchar_t* textFontSize = L"12";
constexpr const wchar_t* rubyFont = L"ＭＳ ゴシック";
constexpr const wchar_t* rubyFontSize = L"8";
constexpr int textDirection = 0;
constexpr int lineBoundary = 1;
constexpr int wordWrap = 1;
constexpr int scrollRange = 0;
constexpr int enableTouchScroll = 1;
constexpr int autoSaveAtExit = 1;
constexpr int textIsBold = 1;
constexpr int showRuby = 1;
constexpr int aozoraNotation = 0;
} // namespace defaults

} // namespace yomite

// Reads every setting from the option store of CLumoPluginManager::getInstance(),
// a missing key giving its default; text that is no number reads as 0.
void loadSettings();
// Writes every setting back to the option store (the host writes the file at exit).
void saveSettings();
