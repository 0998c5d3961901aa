#include "ReaderSettings.h"

#include "hostkit/LumoPluginManager.h"

#include <variant>

namespace {

struct SettingEntry {
    const wchar_t* key;
    std::variant<int*, CString*> variable;
    const wchar_t* textDefault;
    int intDefault;
};

// Read and written in this order.
const SettingEntry SETTINGS[] = {
    {L"m_displayDirection", &m_displayDirection, nullptr, 0},
    {L"m_pathWallpaper", &m_pathWallpaper, L"", 0},
    {L"m_styleWallpaper", &m_styleWallpaper, nullptr, 0},
    {L"m_alphaWallpaper", &m_alphaWallpaper, nullptr, 0},
    {L"m_displayColor", &m_displayColor, nullptr, 0},
    {L"m_lineSpace", &m_lineSpace, nullptr, 2},
    {L"m_positionControlbar", &m_positionControlbar, nullptr, 0},
    {L"m_textFont", &m_textFont, L"ＭＳ ゴシック", 0},
    {L"m_textFontSize", &m_textFontSize, L"12", 0},
    {L"m_rubyFont", &m_rubyFont, L"ＭＳ ゴシック", 0},
    {L"m_rubyFontSize", &m_rubyFontSize, L"8", 0},
    {L"m_textDirection", &m_textDirection, nullptr, 0},
    {L"m_lineBoundary", &m_lineBoundary, nullptr, 1},
    {L"m_wordWrap", &m_wordWrap, nullptr, 1},
    {L"m_scrollRange", &m_scrollRange, nullptr, 0},
    {L"m_enableTouchScroll", &m_enableTouchScroll, nullptr, 1},
    {L"m_autoSaveAtExit", &m_autoSaveAtExit, nullptr, 1},
    {L"m_textIsBold", &m_textIsBold, nullptr, 1},
    {L"m_showRuby", &m_showRuby, nullptr, 1},
};

} // namespace

void loadSettings() {
    CLumoPluginManager* manager = CLumoPluginManager::getInstance();
    for (const SettingEntry& entry : SETTINGS) {
        if (int* const* number = std::get_if<int*>(&entry.variable))
            manager->getOption(yomite::SETTINGS_SECTION, entry.key, entry.intDefault, **number);
        else
            manager->getOption(yomite::SETTINGS_SECTION, entry.key, entry.textDefault,
                               *std::get<CString*>(entry.variable));
    }
}

void saveSettings() {
    CLumoPluginManager* manager = CLumoPluginManager::getInstance();
    for (const SettingEntry& entry : SETTINGS) {
        if (int* const* number = std::get_if<int*>(&entry.variable))
            manager->writeOption(yomite::SETTINGS_SECTION, entry.key, **number);
        else
            manager->writeOption(yomite::SETTINGS_SECTION, entry.key,
                                 std::get<CString*>(entry.variable)->str());
    }
}
