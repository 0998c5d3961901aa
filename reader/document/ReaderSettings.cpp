// The settings' storage; loading and saving them through the option store
// lives in SettingsStore.cpp so that model code can be built without the host.
#include "ReaderSettings.h"

int m_displayDirection = yomite::defaults::displayDirection;
CString m_pathWallpaper = yomite::defaults::pathWallpaper;
int m_styleWallpaper = yomite::defaults::styleWallpaper;
int m_alphaWallpaper = yomite::defaults::alphaWallpaper;
int m_displayColor = yomite::defaults::displayColor;
int m_lineSpace = yomite::defaults::lineSpace;
int m_positionControlbar = yomite::defaults::positionControlbar;
CString m_textFont = yomite::defaults::textFont;
CString m_textFontSize = yomite::defaults::textFontSize;
CString m_rubyFont = yomite::defaults::rubyFont;
CString m_rubyFontSize = yomite::defaults::rubyFontSize;
int m_textDirection = yomite::defaults::textDirection;
int m_lineBoundary = yomite::defaults::lineBoundary;
int m_wordWrap = yomite::defaults::wordWrap;
int m_scrollRange = yomite::defaults::scrollRange;
int m_enableTouchScroll = yomite::defaults::enableTouchScroll;
int m_autoSaveAtExit = yomite::defaults::autoSaveAtExit;
int m_textIsBold = yomite::defaults::textIsBold;
int m_showRuby = yomite::defaults::showRuby;
int m_aozoraNotation = yomite::defaults::aozoraNotation;

namespace yomite {

const wchar_t* const SETTINGS_SECTION = L"lumo.davarodiro.document";

} // namespace yomite
