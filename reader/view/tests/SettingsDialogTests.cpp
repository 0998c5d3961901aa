// The settings dialog driven through the platform's hooks, opened through the
// host's menu command as a user would, with and without a reader view.
#include "ReaderFixture.h"

#include "reader/view/AozoraConfigureDialog.h"
#include "reader/view/YomiteResources.h"

#include "hostkit/ExtendToolManager.h"

namespace {

using namespace readertest;
using namespace yomite;
using lumo::test::DialogDriver;
using lumo::test::pumpMessages;

class SettingsDialog : public ReaderFixture {
protected:
    void SetUp() override {
        ReaderFixture::SetUp();
        loadReader();
        startProgram();
    }
    unsigned settingsCommand() const {
        return CLumoPluginManager::getInstance()->getExtendToolManager()->getDynamicAllocateMenuId(
            L"lumo.davarodiro.tool", ID_READER_SETTINGS);
    }
    void runSettings(std::function<void(DialogDriver&)> script) {
        lumo::test::driveNextDialog(std::move(script));
        frame()->SendMessage(WM_COMMAND, settingsCommand(), 0);
        pumpMessages();
    }
    void makeWallpapers(const char* folder, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            std::string bytes(54 + 12 * 4, '\0');
            bytes[0] = 'B';
            bytes[1] = 'M';
            bytes[10] = 54;
            bytes[14] = 40;
            bytes[18] = 4;
            bytes[22] = 4;
            bytes[26] = 1;
            bytes[28] = 24;
            for (size_t i = 54; i < bytes.size(); ++i)
                bytes[i] = char(0x40);
            m_dir.write(std::string(folder) + "/" + name, bytes);
        }
    }
};

TEST_F(SettingsDialog, ShowsEveryListInItsStoredOrder) {
    struct Row {
        UINT id;
        std::vector<std::wstring> items;
    } rows[] = {
        {IDC_DISPLAY_DIRECTION, {L"標準", L"右90度回転", L"左90度回転"}},
        {IDC_TEXT_DIRECTION, {L"横書き", L"縦書き"}},
        {IDC_DISPLAY_COLOR, {L"文字:黒/背景:白", L"文字:白/背景:黒"}},
        {IDC_WALLPAPER_STYLE, {L"等倍", L"長辺揃え", L"短辺揃え"}},
        {IDC_SCROLL_RANGE, {L"行単位", L"ページ単位"}},
        {IDC_CONTROLBAR, {L"右", L"左", L"下"}},
        {IDC_TEXT_FONT, {L"ＭＳ ゴシック", L"ＭＳ 明朝"}},
        {IDC_TEXT_FONT_SIZE,
         {L"8", L"10", L"12", L"14", L"16", L"18", L"20", L"22", L"24", L"28", L"32"}},
        {IDC_RUBY_FONT_SIZE, {L"8", L"10", L"12", L"14", L"16", L"18", L"20", L"22", L"24"}},
    };
    std::wstring caption;
    runSettings([&](DialogDriver& d) {
        caption = d.caption();
        for (const Row& row : rows)
            EXPECT_EQ(d.comboItems(row.id), row.items) << row.id;
        EXPECT_EQ(d.comboItems(IDC_LINE_SPACE).size(), 17u);
        EXPECT_EQ(d.comboItems(IDC_WALLPAPER_ALPHA).size(), 17u);
        // The defaults as the dialog shows them.
        EXPECT_EQ(d.comboIndex(IDC_LINE_SPACE), 2);
        EXPECT_EQ(d.comboIndex(IDC_TEXT_FONT_SIZE), 2);
        EXPECT_EQ(d.comboIndex(IDC_RUBY_FONT_SIZE), 0);
        EXPECT_EQ(d.check(IDC_SHOW_RUBY), 1);
        EXPECT_EQ(d.check(IDC_AUTO_SAVE), 1);
        EXPECT_EQ(d.check(IDC_AOZORA_NOTATION), 0) << "the basic notation by default";
        EXPECT_EQ(d.text(IDC_AOZORA_NOTATION), L"注記を反映する");
        for (UINT id : {IDC_BROWSE, IDC_CLEAR, IDC_WALLPAPER_PATH, IDC_BOLD, IDC_WORD_WRAP,
                        IDC_LINE_BOUNDARY})
            EXPECT_TRUE(d.hasControl(id)) << id;
        d.press(IDCANCEL);
    });
    EXPECT_EQ(caption, L"青空文庫形式");
}

TEST_F(SettingsDialog, OkStoresEveryControlButTouchScroll) {
    m_enableTouchScroll = 7;
    runSettings([&](DialogDriver& d) {
        d.chooseComboIndex(IDC_DISPLAY_DIRECTION, 2);
        d.chooseComboIndex(IDC_TEXT_DIRECTION, 1);
        d.chooseComboIndex(IDC_DISPLAY_COLOR, 1);
        d.chooseComboIndex(IDC_LINE_SPACE, 5);
        d.chooseComboIndex(IDC_CONTROLBAR, 1);
        d.chooseComboIndex(IDC_TEXT_FONT, 1);
        d.chooseComboIndex(IDC_RUBY_FONT_SIZE, 2);
        d.chooseComboIndex(IDC_WALLPAPER_STYLE, 2);
        d.chooseComboIndex(IDC_WALLPAPER_ALPHA, 9);
        d.typeText(IDC_WALLPAPER_PATH, L"/nowhere");
        d.click(IDC_WORD_WRAP);
        d.click(IDC_BOLD);
        d.click(IDC_AOZORA_NOTATION);
        d.press(IDOK);
    });
    EXPECT_EQ(m_aozoraNotation, 1);
    EXPECT_EQ(m_displayDirection, 2);
    EXPECT_EQ(m_textDirection, 1);
    EXPECT_EQ(m_displayColor, 1);
    EXPECT_EQ(m_lineSpace, 5);
    EXPECT_EQ(m_positionControlbar, 1);
    EXPECT_EQ(m_textFont, CString(L"ＭＳ 明朝"));
    EXPECT_EQ(m_rubyFontSize, CString(L"12"));
    EXPECT_EQ(m_styleWallpaper, 2);
    EXPECT_EQ(m_alphaWallpaper, 9);
    EXPECT_EQ(m_pathWallpaper, CString(L"/nowhere"));
    EXPECT_EQ(m_wordWrap, 0);
    EXPECT_EQ(m_textIsBold, 0);
    EXPECT_EQ(m_lineBoundary, 1);
    EXPECT_EQ(m_enableTouchScroll, 7) << "not on the dialog, never touched";
}

// Opened on a desktop, Qt's check boxes and list arrows take more room than
// the device's: the dialog widens until every label and every list item
// shows whole, with nothing on top of anything else.
TEST_F(SettingsDialog, ShowsEveryLabelAndValueWhole) {
    SIZE size{};
    runSettings([&](DialogDriver& d) {
        EXPECT_EQ(d.clippedTexts(), std::vector<std::wstring>{});
        EXPECT_EQ(d.overlappingControls(), (std::vector<std::pair<std::wstring, std::wstring>>{}));
        size = d.dialogSize();
        const RECT ok = d.controlRect(IDOK);
        const RECT cancel = d.controlRect(IDCANCEL);
        EXPECT_LE(cancel.right, size.cx) << "inside the dialog";
        EXPECT_LT(ok.right, cancel.left);
        // The new check box sits in the text group, after 太字.
        EXPECT_GT(d.controlRect(IDC_AOZORA_NOTATION).left, d.controlRect(IDC_BOLD).right);
        d.press(IDCANCEL);
    });
    EXPECT_GT(size.cx, 302 * 6 / 4) << "wider than the template's units at the font's";
}

TEST_F(SettingsDialog, FullNotationTakesEffectOnOkAndCancelKeepsTheBasicOne) {
    std::vector<std::wstring> lines = {L"題", L"者", L"", L"［＃ここから２字下げ］", L"本文"};
    for (int i = 0; i < 40; ++i)
        lines.push_back(L"続き");
    ASSERT_NE(open(writeBook("book.txt", lines)), nullptr);
    ASSERT_FALSE(document()->hasNotation());
    runSettings([&](DialogDriver& d) {
        d.click(IDC_AOZORA_NOTATION);
        d.press(IDCANCEL);
    });
    EXPECT_EQ(m_aozoraNotation, 0);
    EXPECT_FALSE(document()->hasNotation());

    runSettings([&](DialogDriver& d) {
        d.click(IDC_AOZORA_NOTATION);
        d.press(IDOK);
    });
    EXPECT_EQ(m_aozoraNotation, 1);
    ASSERT_TRUE(document()->hasNotation()) << "laid out again in full notation";
    EXPECT_EQ(document()->getDisplayLineNotation(3).indent, 4);
    runSettings([&](DialogDriver& d) {
        EXPECT_EQ(d.check(IDC_AOZORA_NOTATION), 1);
        d.click(IDC_AOZORA_NOTATION);
        d.press(IDOK);
    });
    EXPECT_FALSE(document()->hasNotation());
}

TEST_F(SettingsDialog, ValuesOutsideTheListsShowNoSelection) {
    m_textFontSize = L"13";
    m_positionControlbar = 5;
    runSettings([&](DialogDriver& d) {
        EXPECT_EQ(d.comboIndex(IDC_TEXT_FONT_SIZE), -1);
        EXPECT_EQ(d.comboIndex(IDC_CONTROLBAR), -1);
        d.press(IDOK);
    });
    EXPECT_EQ(m_textFontSize, CString(L""));
    EXPECT_EQ(m_positionControlbar, -1) << "still the left side";
}

TEST_F(SettingsDialog, FontSizeChangeKeepsTheFirstSourcePositionShown) {
    ASSERT_NE(open(writeBook("book.txt", numberedBook(300))), nullptr);
    document()->m_currentIndex = 120;
    const SourcePosition before = document()->positionOf(120);
    const int linesBefore = linesPerPage();
    runSettings([](DialogDriver& d) {
        d.chooseComboIndex(IDC_TEXT_FONT_SIZE, 8); // 24 pt
        d.press(IDOK);
    });
    EXPECT_EQ(m_textFontSize, CString(L"24"));
    EXPECT_LT(linesPerPage(), linesBefore) << "bigger rows, fewer per page";
    EXPECT_EQ(document()->positionOf(index()), before);
    EXPECT_EQ(probe().lastDrawnTop(), index()) << "repainted at once";
}

TEST_F(SettingsDialog, LineUnitsToPageUnitsGoToThePageHoldingTheLine) {
    ASSERT_NE(open(writeBook("book.txt", numberedBook(300))), nullptr);
    document()->m_currentIndex = 100;
    const SourcePosition line = document()->positionOf(100);
    runSettings([](DialogDriver& d) {
        d.chooseComboIndex(IDC_SCROLL_RANGE, 1);
        d.press(IDOK);
    });
    ASSERT_EQ(m_scrollRange, 1);
    const int page = index();
    EXPECT_LE(document()->positionOf(page), line);
    EXPECT_GT(document()->positionOf(page + 1), line);
}

TEST_F(SettingsDialog, CancelRedrawsNothing) {
    ASSERT_NE(open(writeBook("book.txt", numberedBook(50))), nullptr);
    {
        CClientDC dc(view());
        dc.FillSolidRect(300, 300, 10, 10, RGB(0, 255, 0)); // a mark any repaint would wipe
    }
    const int style = m_textIsBold;
    runSettings([](DialogDriver& d) {
        d.click(IDC_BOLD);
        d.press(IDCANCEL);
    });
    EXPECT_EQ(m_textIsBold, style);
    EXPECT_EQ(lumo::test::captureWindow(view()).pixel(305, 305) & 0xFFFFFF, 0x00FF00u);
}

TEST_F(SettingsDialog, WithoutAReaderViewTheSettingsAreStoredForTheNext) {
    runSettings([](DialogDriver& d) {
        d.chooseComboIndex(IDC_CONTROLBAR, 1);
        d.press(IDOK);
    });
    EXPECT_EQ(m_positionControlbar, 1);
    lumo::test::advanceClock(CMainFrame::SAVE_OPTIONS_DELAY);
    EXPECT_NE(m_dir.read("lumoconf.ini").find("\nm_positionControlbar=1\n"), std::string::npos)
        << "in the file before any exit";
    ASSERT_NE(open(writeBook("book.txt", numberedBook(50))), nullptr);
    EXPECT_EQ(probe().textRect().left, 48);
}

TEST_F(SettingsDialog, WallpaperFolderBrowseClearAndAlpha) {
    makeWallpapers("walls", {"a.bmp", "b.bmp"});
    const std::wstring folder = (m_dir / "walls").wstring();
    m_pathWallpaper = CString(folder);
    ASSERT_NE(open(writeBook("book.txt", numberedBook(50))), nullptr);
    const CString chosen = probe().wallpaperFile();
    ASSERT_FALSE(chosen.IsEmpty());

    // Only the strength changes: the same file, drawn anew.
    runSettings([](DialogDriver& d) {
        d.chooseComboIndex(IDC_WALLPAPER_ALPHA, 16);
        d.press(IDOK);
    });
    EXPECT_EQ(probe().wallpaperFile(), chosen);
    EXPECT_EQ(m_alphaWallpaper, 16);

    // Browsing fills the folder; cancelling a later browse keeps it.
    makeWallpapers("other", {"only.bmp"});
    const std::wstring other = (m_dir / "other").wstring();
    lumo::test::answerNextFolderPicker(other);
    lumo::test::answerNextFolderPicker(std::nullopt);
    runSettings([&](DialogDriver& d) {
        d.click(IDC_BROWSE);
        EXPECT_EQ(d.text(IDC_WALLPAPER_PATH), other);
        d.click(IDC_BROWSE);
        EXPECT_EQ(d.text(IDC_WALLPAPER_PATH), other);
        d.press(IDOK);
    });
    ASSERT_FALSE(lumo::test::folderPickers().empty());
    EXPECT_EQ(lumo::test::folderPickers().front().title, L"フォルダの選択");
    EXPECT_EQ(probe().wallpaperFile(), CString(other + L"/only.bmp")) << "a new folder picks anew";

    runSettings([](DialogDriver& d) {
        d.click(IDC_CLEAR);
        EXPECT_EQ(d.text(IDC_WALLPAPER_PATH), L"");
        d.press(IDOK);
    });
    EXPECT_TRUE(probe().wallpaperFile().IsEmpty());
    EXPECT_FALSE(probe().hasWallpaperBuffer());
}

TEST_F(SettingsDialog, TheFunctionBarSettingsButtonOpensTheDialog) {
    ASSERT_NE(open(writeBook("book.txt", numberedBook(50))), nullptr);
    bool opened = false;
    lumo::test::driveNextDialog([&](DialogDriver& d) {
        opened = d.caption() == L"青空文庫形式";
        d.press(IDCANCEL);
    });
    lumo::test::tap(view(), pageButton(4));
    lumo::test::tap(view(), functionButton(4));
    pumpMessages();
    EXPECT_TRUE(opened);

    // In the tool mode the same button does nothing.
    const size_t dialogs = lumo::test::dialogs().size();
    lumo::test::tap(view(), functionButton(2));
    lumo::test::tap(view(), functionButton(4));
    pumpMessages();
    EXPECT_EQ(lumo::test::dialogs().size(), dialogs);
}

} // namespace
