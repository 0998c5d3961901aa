#include "OptionStoreFixture.h"

#include <regex>

namespace {

using Settings = OptionStoreTest;

void scribbleOverSettings() {
    m_displayDirection = m_styleWallpaper = m_alphaWallpaper = m_displayColor = -9;
    m_lineSpace = m_positionControlbar = m_textDirection = m_lineBoundary = -9;
    m_wordWrap = m_scrollRange = m_enableTouchScroll = m_autoSaveAtExit = -9;
    m_textIsBold = m_showRuby = m_aozoraNotation = -9;
    m_pathWallpaper = m_textFont = m_textFontSize = m_rubyFont = m_rubyFontSize = L"junk";
}

TEST_F(Settings, EmptyStoreGivesTheDefaultsAndSavingWritesAllTwentyKeys) {
    scribbleOverSettings();
    loadSettings();
    EXPECT_EQ(m_displayDirection, 0);
    EXPECT_EQ(m_pathWallpaper, L"");
    EXPECT_EQ(m_styleWallpaper, 0);
    EXPECT_EQ(m_alphaWallpaper, 0);
    EXPECT_EQ(m_displayColor, 0);
    EXPECT_EQ(m_lineSpace, 2);
    EXPECT_EQ(m_positionControlbar, 0);
    EXPECT_EQ(m_textFont, L"ＭＳ ゴシック");
    EXPECT_EQ(m_textFontSize, L"12");
    EXPECT_EQ(m_rubyFont, L"ＭＳ ゴシック");
    EXPECT_EQ(m_rubyFontSize, L"8");
    EXPECT_EQ(m_textDirection, 0);
    EXPECT_EQ(m_lineBoundary, 1);
    EXPECT_EQ(m_wordWrap, 1);
    EXPECT_EQ(m_scrollRange, 0);
    EXPECT_EQ(m_enableTouchScroll, 1);
    EXPECT_EQ(m_autoSaveAtExit, 1);
    EXPECT_EQ(m_textIsBold, 1);
    EXPECT_EQ(m_showRuby, 1);
    EXPECT_EQ(m_aozoraNotation, 0) << "the basic notation unless asked";

    saveSettings();
    CLumoPluginManager::destroy();
    const std::string file = config();
    ASSERT_NE(file.find("[lumo.davarodiro.document]"), std::string::npos);
    const char* expected[] = {"m_displayDirection=0",   "m_pathWallpaper=",
                              "m_styleWallpaper=0",     "m_alphaWallpaper=0",
                              "m_displayColor=0",       "m_lineSpace=2",
                              "m_positionControlbar=0", "m_textFont=ＭＳ ゴシック",
                              "m_textFontSize=12",      "m_rubyFont=ＭＳ ゴシック",
                              "m_rubyFontSize=8",       "m_textDirection=0",
                              "m_lineBoundary=1",       "m_wordWrap=1",
                              "m_scrollRange=0",        "m_enableTouchScroll=1",
                              "m_autoSaveAtExit=1",     "m_textIsBold=1",
                              "m_showRuby=1",           "m_aozoraNotation=0"};
    for (const char* line : expected)
        EXPECT_NE(file.find(std::string("\n") + line + "\n"), std::string::npos) << line;
    std::smatch keys;
    std::string rest = file;
    int count = 0;
    for (std::regex key("\nm_[A-Za-z]+="); std::regex_search(rest, keys, key); rest = keys.suffix())
        ++count;
    EXPECT_EQ(count, 20);
}

TEST_F(Settings, StoredValuesAreKeptExactlyAndSurviveARestart) {
    writeConfig("[lumo.davarodiro.document]\n"
                "m_positionControlbar=5\n" // out of range: kept, never validated
                "m_lineSpace=abc\n"        // not a number: reads as 0
                "m_alphaWallpaper=  +7x\n"
                "m_textFontSize=13.5\n" // sizes stay text
                "m_pathWallpaper=/media/card/壁紙\n"
                "m_lineBoundary=0\n"
                "m_showRuby=-1\n"
                "m_aozoraNotation=1\n");
    scribbleOverSettings();
    loadSettings();
    EXPECT_EQ(m_positionControlbar, 5);
    EXPECT_EQ(m_lineSpace, 0);
    EXPECT_EQ(m_alphaWallpaper, 7);
    EXPECT_EQ(m_textFontSize, L"13.5");
    EXPECT_EQ(m_pathWallpaper, L"/media/card/壁紙");
    EXPECT_EQ(m_lineBoundary, 0);
    EXPECT_EQ(m_showRuby, -1);
    EXPECT_EQ(m_rubyFontSize, L"8");
    EXPECT_EQ(m_aozoraNotation, 1);

    m_displayColor = 1;
    m_rubyFont = L"ＭＳ 明朝";
    saveSettings();
    restart();
    scribbleOverSettings();
    loadSettings();
    EXPECT_EQ(m_displayColor, 1);
    EXPECT_EQ(m_rubyFont, L"ＭＳ 明朝");
    EXPECT_EQ(m_positionControlbar, 5);
    EXPECT_EQ(m_lineSpace, 0);
    EXPECT_EQ(m_pathWallpaper, L"/media/card/壁紙");
    EXPECT_EQ(m_aozoraNotation, 1);
}

} // namespace
