// The reader's registrations and settings through the host's registries and
// option store, as the program sees them after loading the module.
#include "ReaderFixture.h"

#include "reader/view/DavaroDiroToolCommandHandler.h"

#include "hostkit/ExtendToolManager.h"
#include "hostkit/LumoDocumentManager.h"
#include "platform/core/Utf8.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Resources.h"

namespace {

using namespace readertest;

using PluginEntry = ReaderFixture;

// Finds an item by its text path in a menu handle; null when absent.
bool findItem(HMENU menu, const std::vector<std::wstring>& path, UINT& id) {
    CMenu* current = CMenu::FromHandle(menu);
    for (size_t level = 0; level < path.size() && current; ++level) {
        bool found = false;
        for (int i = 0; i < static_cast<int>(current->GetMenuItemCount()); ++i) {
            CString text;
            current->GetMenuString(i, text, MF_BYPOSITION);
            if (text.str() != path[level])
                continue;
            found = true;
            if (level + 1 == path.size()) {
                id = current->GetMenuItemID(i);
                return true;
            }
            current = current->GetSubMenu(i);
            break;
        }
        if (!found)
            return false;
    }
    return false;
}

TEST_F(PluginEntry, RegistersTheBookTypeAndTheSettingsTool) {
    loadReader();
    CLumoPluginManager* manager = CLumoPluginManager::getInstance();
    SDocumentTypeInformation type{};
    ASSERT_TRUE(manager->getDocumentManager()->getDocumentTypeInformation(
        L"lumo.davarodiro.document", type));
    EXPECT_EQ(type.displayName, L"青空文庫リーダ");
    EXPECT_EQ(type.resourceId, 5000u);
    EXPECT_EQ(type.extensions,
              (std::vector<std::wstring>{L".cpp", L".h", L".c", L".txt", L".ini", L".zip"}));
    EXPECT_STREQ(type.documentClass->m_lpszClassName, "CDavaroDiroDocument");
    EXPECT_STREQ(type.viewClass->m_lpszClassName, "CDavaroDiroView");
    EXPECT_TRUE(type.userFlag1 && type.userFlag2 && type.userFlag3);
    EXPECT_EQ(lumo::loadString(5000, type.hModuleInstance),
              L"LumoCore\n\nLumoCore\n\n\nLumoCore.Document\nLumoCore.Document");

    SExtendToolInformation tool{};
    ASSERT_TRUE(
        manager->getExtendToolManager()->getExtendToolInformation(L"lumo.davarodiro.tool", tool));
    EXPECT_EQ(tool.displayName, L"青空文庫リーダ - 環境設定");
    EXPECT_NE(dynamic_cast<CDavaroDiroToolCommandHandler*>(tool.commandTarget), nullptr);

    struct Row {
        const wchar_t* file;
        bool claimed;
    } rows[] = {{L"readme.txt", true},  {L"main.cpp", true},  {L"setup.ini", true},
                {L"a.h", true},         {L"a.c", true},       {L"neko.zip", true},
                {L"readme.TXT", false}, {L"notes.md", false}, {L"txt", false}};
    for (const Row& row : rows)
        EXPECT_EQ(manager->getDocumentManager()->findTargetDocumentInformation(row.file) ==
                      L"lumo.davarodiro.document",
                  row.claimed)
            << row.file;
}

TEST_F(PluginEntry, ASecondLoadIsRefusedButStillReadsTheSettings) {
    loadReader();
    m_lineSpace = 9;
    LUMO_LoadPluginModule();
    EXPECT_EQ(m_lineSpace, 2) << "settings read again from the store";
    std::vector<std::wstring> tools;
    CLumoPluginManager::getInstance()->getExtendToolManager()->getRegisteredExtendToolList(tools);
    EXPECT_EQ(std::count(tools.begin(), tools.end(), L"lumo.davarodiro.tool"), 1);
}

TEST_F(PluginEntry, TheFileMenuCarriesTheSettingsItemUnderItsDynamicId) {
    startProgram();
    UINT id = 0;
    ASSERT_TRUE(findItem(frame()->currentMenu, {L"ファイル", L"環境設定", L"青空文庫リーダ"}, id));
    EXPECT_EQ(id,
              CLumoPluginManager::getInstance()->getExtendToolManager()->getDynamicAllocateMenuId(
                  L"lumo.davarodiro.tool", 32775));
    EXPECT_NE(id, 32775u) << "renumbered by the host";
}

TEST_F(PluginEntry, StoredSettingsAreReadAtLoadAndAllNineteenWrittenAtExit) {
    m_dir.write(
        "lumoconf.ini",
        "[lumo.davarodiro.document]\nm_lineSpace=7\nm_textFont=ＭＳ 明朝\nm_scrollRange=x\n");
    loadReader();
    EXPECT_EQ(m_lineSpace, 7);
    EXPECT_EQ(m_textFont, CString(L"ＭＳ 明朝"));
    EXPECT_EQ(m_scrollRange, 0) << "text that is no number reads as 0";
    EXPECT_EQ(m_rubyFontSize, CString(L"8"));
    LUMO_UnloadPluginModule();
    m_loaded = false;
    CLumoPluginManager::destroy();
    const std::string ini = m_dir.read("lumoconf.ini");
    for (const char* key :
         {"m_displayDirection=0", "m_pathWallpaper=", "m_styleWallpaper=0", "m_alphaWallpaper=0",
          "m_displayColor=0", "m_lineSpace=7", "m_positionControlbar=0", "m_textFontSize=12",
          "m_rubyFont=", "m_rubyFontSize=8", "m_textDirection=0", "m_lineBoundary=1",
          "m_wordWrap=1", "m_scrollRange=0", "m_enableTouchScroll=1", "m_autoSaveAtExit=1",
          "m_textIsBold=1", "m_showRuby=1", "m_textFont="})
        EXPECT_NE(ini.find(std::string("\n") + key), std::string::npos) << key;
}

TEST_F(PluginEntry, TheReadingPositionIsRestoredOnceAndSavedOnClose) {
    const std::wstring book = writeBook("book.txt", numberedBook(200));
    m_dir.write("lumoconf.ini",
                "[lumo.davarodiro.document]\nposition/" + lumo::toUtf8(book) + "=63,0\n");
    startProgram();
    ASSERT_NE(open(book), nullptr);
    EXPECT_EQ(document()->positionOf(index()).line, 63);
    EXPECT_TRUE(probe().positionRestored());
    lumo::test::tap(view(), pageButton(2));
    // Replacing the book closes it and keeps where it was left.
    ASSERT_NE(open(writeBook("other.txt", numberedBook(10))), nullptr);
    std::wstring stored;
    CLumoPluginManager::getInstance()->getOption(L"lumo.davarodiro.document", L"position/" + book,
                                                 L"-", stored);
    EXPECT_EQ(stored, L"64,0");
}

TEST_F(PluginEntry, ThePositionIsStoredAsThePagesTurnAndReachesTheFileWhenTheyStop) {
    const std::wstring book = writeBook("book.txt", numberedBook(200));
    m_dir.write("lumoconf.ini",
                "[lumo.davarodiro.document]\nposition/" + lumo::toUtf8(book) + "=63,0\n");
    startProgram();
    ASSERT_NE(open(book), nullptr);
    auto stored = [&] {
        std::wstring value;
        CLumoPluginManager::getInstance()->getOption(L"lumo.davarodiro.document",
                                                     L"position/" + book, L"-", value);
        return value;
    };
    lumo::test::tap(view(), pageButton(2));
    EXPECT_EQ(stored(), L"64,0") << "in the store while the book is still open";
    lumo::test::tap(view(), pageButton(2));
    EXPECT_EQ(stored(), L"65,0");

    const std::string key = "position/" + lumo::toUtf8(book) + "=";
    lumo::test::advanceClock(CMainFrame::SAVE_OPTIONS_DELAY);
    EXPECT_NE(m_dir.read("lumoconf.ini").find(key + "65,0\n"), std::string::npos)
        << "written once the pages stopped turning, without an exit";
}

TEST_F(PluginEntry, WithoutAutoSaveNothingIsRestored) {
    const std::wstring book = writeBook("book.txt", numberedBook(200));
    m_dir.write("lumoconf.ini", "[lumo.davarodiro.document]\nm_autoSaveAtExit=0\nposition/" +
                                    lumo::toUtf8(book) + "=63,0\n");
    startProgram();
    ASSERT_NE(open(book), nullptr);
    EXPECT_EQ(index(), 0);
}

} // namespace
