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
    {L"m_displayDirection", &m_displayDirection, nullptr, yomite::defaults::displayDirection},
    {L"m_pathWallpaper", &m_pathWallpaper, yomite::defaults::pathWallpaper, 0},
    {L"m_styleWallpaper", &m_styleWallpaper, nullptr, yomite::defaults::styleWallpaper},
    {L"m_alphaWallpaper", &m_alphaWallpaper, nullptr, yomite::defaults::alphaWallpaper},
    {L"m_displayColor", &m_displayColor, nullptr, yomite::defaults::displayColor},
    {L"m_lineSpace", &m_lineSpace, nullptr, yomite::defaults::lineSpace},
    {L"m_positionControlbar", &m_positionControlbar, nullptr, yomite::defaults::positionControlbar},
    {L"m_textFont", &m_textFont, yomite::defaults::textFont, 0},
    {L"m_textFontSize", &m_textFontSize, yomite::defaults::textFontSize, 0},
    {L"m_rubyFont", &m_rubyFont, yomite::defaults::rubyFont, 0},
    {L"m_rubyFontSize", &m_rubyFontSize, yomite::defaults::rubyFontSize, 0},
    {L"m_textDirection", &m_textDirection, nullptr, yomite::defaults::textDirection},
    {L"m_lineBoundary", &m_lineBoundary, nullptr, yomite::defaults::lineBoundary},
    {L"m_wordWrap", &m_wordWrap, nullptr, yomite::defaults::wordWrap},
    {L"m_scrollRange", &m_scrollRange, nullptr, yomite::defaults::scrollRange},
    {L"m_enableTouchScroll", &m_enableTouchScroll, nullptr, yomite::defaults::enableTouchScroll},
    {L"m_autoSaveAtExit", &m_autoSaveAtExit, nullptr, yomite::defaults::autoSaveAtExit},
    {L"m_textIsBold", &m_textIsBold, nullptr, yomite::defaults::textIsBold},
    {L"m_showRuby", &m_showRuby, nullptr, yomite::defaults::showRuby},
    {L"m_aozoraNotation", &m_aozoraNotation, nullptr, yomite::defaults::aozoraNotation},
};

} // namespace

void loadSettings() {
    CLumoPluginManager* manager = CLumoPluginManager::getInstance();
    if (!manager)
        return;
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
    if (!manager)
        return;
    for (const SettingEntry& entry : SETTINGS) {
        if (int* const* number = std::get_if<int*>(&entry.variable))
            manager->writeOption(yomite::SETTINGS_SECTION, entry.key, **number);
        else
            manager->writeOption(yomite::SETTINGS_SECTION, entry.key,
                                 std::get<CString*>(entry.variable)->str());
    }
}
