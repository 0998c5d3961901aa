// The settings' storage; loading and saving them through the option store
// lives in SettingsStore.cpp so that model code can be built without the host.
#include "ReaderSettings.h"

int m_displayDirection = 0;
CString m_pathWallpaper;
int m_styleWallpaper = 0;
int m_alphaWallpaper = 0;
int m_displayColor = 0;
int m_lineSpace = 2;
int m_positionControlbar = 0;
CString m_textFont = L"ＭＳ ゴシック";
CString m_textFontSize = L"12";
CString m_rubyFont = L"ＭＳ ゴシック";
CString m_rubyFontSize = L"8";
int m_textDirection = 0;
int m_lineBoundary = 1;
int m_wordWrap = 1;
int m_scrollRange = 0;
int m_enableTouchScroll = 1;
int m_autoSaveAtExit = 1;
int m_textIsBold = 1;
int m_showRuby = 1;

namespace yomite {

const wchar_t* const SETTINGS_SECTION = L"lumo.davarodiro.document";

} // namespace yomite
