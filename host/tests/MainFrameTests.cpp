#include "HostFixture.h"

#include "hostkit/ExtendToolManager.h"
#include "hostkit/MainFrameIds.h"
#include "platform/ui/Menu.h"
#include "platform/ui/View.h"

#include <cstdlib>
#include <functional>

namespace {

class MainFrame : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        installViewer();
        ASSERT_TRUE(m_app.InitInstance());
    }

    std::vector<std::wstring> topLevelTexts() const {
        std::vector<std::wstring> texts;
        CMenu* menu = CMenu::FromHandle(frame()->currentMenu);
        for (UINT i = 0; i < menu->GetMenuItemCount(); ++i) {
            CString text;
            menu->GetMenuString(i, text, MF_BYPOSITION);
            texts.push_back(text.str());
        }
        return texts;
    }
    std::vector<int> barCommands() {
        std::vector<int> ids;
        CToolBarCtrl& bar = frame()->commandBar.GetToolBarCtrl();
        for (int i = 0; i < bar.GetButtonCount(); ++i) {
            TBBUTTON button{};
            bar.GetButton(i, &button);
            ids.push_back(button.idCommand);
        }
        return ids;
    }
    // The item with this text anywhere in the menu, depth first.
    static bool findItem(HMENU menu, const std::wstring& text, UINT* id, HMENU* owner = nullptr) {
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            wchar_t buffer[256] = {};
            ::GetMenuString(menu, static_cast<UINT>(i), buffer, 256, MF_BYPOSITION);
            if (text == buffer) {
                *id = ::GetMenuItemID(menu, i);
                if (owner)
                    *owner = menu;
                return true;
            }
            if (HMENU sub = ::GetSubMenu(menu, i); sub && findItem(sub, text, id, owner))
                return true;
        }
        return false;
    }
};

TEST_F(MainFrame, DefaultMenuHasTheThreeStandardPopupsAndTheBarOneButtonEach) {
    EXPECT_EQ(topLevelTexts(),
              (std::vector<std::wstring>{L"ファイル", L"編集", L"テスト", L"ヘルプ"}));
    EXPECT_EQ(barCommands(), (std::vector<int>{256, 257, 258, 259, 16, 17}));
    UINT id = 0;
    EXPECT_FALSE(findItem(frame()->currentMenu, L"<SUBMENU_INSERT_POSITION>", &id))
        << "markers are gone";
    HMENU owner = nullptr;
    ASSERT_TRUE(findItem(frame()->currentMenu, L"テスト設定", &id, &owner));
    EXPECT_EQ(id, 1024u) << "tool commands are renumbered from 1024";
    wchar_t parent[64] = {};
    HMENU file = ::GetSubMenu(frame()->currentMenu, 0);
    ::GetMenuString(file, 2, parent, 64, MF_BYPOSITION);
    EXPECT_STREQ(parent, L"環境設定");
    EXPECT_EQ(::GetSubMenu(file, 2), owner)
        << "the tool's settings item sits in the file menu's settings popup";
    ASSERT_TRUE(findItem(frame()->currentMenu, L"さようなら", &id));
    EXPECT_EQ(id, 1026u) << "the separator took no id";
}

TEST_F(MainFrame, ToolCommandsAndTheirStateReachTheToolUnderItsOwnIds) {
    frame()->SendMessage(WM_COMMAND, 1025, 0);
    frame()->SendMessage(WM_COMMAND, 1024, 0);
    EXPECT_EQ(probeEvents(), (std::vector<std::string>{"load viewer", "hello", "settings"}));

    lumo::test::answerNextPopupMenu(0);
    frame()->SendMessage(WM_DROP_DOWN_MENU, 2, 0); // the tool's own popup
    ASSERT_EQ(lumo::test::popupMenus().size(), 1u);
    const auto& items = lumo::test::popupMenus()[0].items;
    ASSERT_EQ(items.size(), 3u);
    EXPECT_TRUE(items[0].state & MF_CHECKED) << "the tool answered the state query";
    EXPECT_FALSE(items[2].state & MF_GRAYED) << "a tool item without a state handler stays enabled";
    EXPECT_EQ(frame()->droppedMenuIndex, -1);
}

TEST_F(MainFrame, OpeningAFileSwitchesTheViewAndKeepsTheMenu) {
    frame()->openFile(writeBook("a.tst", "A"));
    EXPECT_EQ(activeViewClass(), "CTestViewerView");
    EXPECT_EQ(frame()->GetActiveDocument()->GetTitle(), L"a.tst");
    EXPECT_EQ(topLevelTexts(),
              (std::vector<std::wstring>{L"ファイル", L"編集", L"テスト", L"ヘルプ"}));
    EXPECT_EQ(barCommands(), (std::vector<int>{256, 257, 258, 259, 16, 17}));
}

TEST_F(MainFrame, UnclaimedFileShowsTheMessageAndKeepsTheView) {
    frame()->openFile(writeBook("a.tst", "A"));
    CView* before = frame()->GetActiveView();
    frame()->openFile(writeBook("notes.md", "x"));
    ASSERT_EQ(lumo::test::messageBoxes().size(), 1u);
    EXPECT_EQ(lumo::test::messageBoxes()[0].text,
              L"選択されたファイルに対応するエディタ/ビューアが登録されていません。");
    EXPECT_EQ(frame()->GetActiveView(), before);
    EXPECT_EQ(option(L"lumo.main", L"history/file/1"), L"") << "the history is untouched";
}

TEST_F(MainFrame, UnreadableFileLeavesTheFrameEmptyAndNamesTheFile) {
    std::wstring missing = (m_dir / "gone.tst").wstring();
    frame()->openFile(missing);
    EXPECT_EQ(frame()->GetActiveView(), nullptr);
    ASSERT_EQ(lumo::test::messageBoxes().size(), 1u);
    EXPECT_NE(lumo::test::messageBoxes()[0].text.find(missing), std::wstring::npos);
    EXPECT_EQ(option(L"lumo.main", L"history/file/0"), missing) << "the switch itself succeeded";
}

TEST_F(MainFrame, HistoryMovesAReopenedFileToTheTopAndDropsTheSeventh) {
    std::vector<std::wstring> books;
    for (char c = 'a'; c <= 'g'; ++c)
        books.push_back(writeBook((std::string(1, c) + ".tst").c_str(), std::string(1, c)));
    for (int i = 0; i < 6; ++i)
        frame()->openFile(books[i]);
    // Newest first: f e d c b a.
    frame()->openFile(books[2]); // c moves up, f e d shift down, b a stay
    const std::vector<std::wstring> afterReopen = {books[2], books[5], books[4],
                                                   books[3], books[1], books[0]};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(option(L"lumo.main", (L"history/file/" + std::to_wstring(i)).c_str()),
                  afterReopen[i])
            << i;
    frame()->openFile(books[6]);
    EXPECT_EQ(option(L"lumo.main", L"history/file/0"), books[6]);
    EXPECT_EQ(option(L"lumo.main", L"history/file/5"), books[1]) << "the oldest entry fell off";
    EXPECT_EQ(option(L"lumo.main", L"lastDirectory"), books[6]);
}

TEST_F(MainFrame, RecentFilesMenuShowsStoredPathsAndDropsEmptySlots) {
    std::wstring kept = writeBook("kept.tst", "k");
    frame()->openFile(kept);
    frame()->openFile(writeBook("removed.tst", "r"));
    std::filesystem::remove(m_dir / "removed.tst");

    HMENU file = ::GetSubMenu(frame()->currentMenu, 0);
    HMENU recent = nullptr;
    int recentIndex = -1;
    for (int i = 0; i < ::GetMenuItemCount(file); ++i) {
        wchar_t text[64] = {};
        ::GetMenuString(file, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        if (std::wstring(text) == L"最近使ったファイル")
            recent = ::GetSubMenu(file, i), recentIndex = i;
    }
    ASSERT_NE(recent, nullptr);
    frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(recent),
                         MAKELPARAM(recentIndex, FALSE));
    ASSERT_EQ(::GetMenuItemCount(recent), 2);
    wchar_t text[512] = {};
    ::GetMenuString(recent, 0, text, 512, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), (m_dir / "removed.tst").wstring());
    EXPECT_TRUE(::GetMenuState(recent, 0, MF_BYPOSITION) & MF_GRAYED)
        << "a missing file is disabled";
    ::GetMenuString(recent, 1, text, 512, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), kept);
    EXPECT_FALSE(::GetMenuState(recent, 1, MF_BYPOSITION) & MF_GRAYED);

    frame()->SendMessage(WM_COMMAND, 32781, 0); // the second entry
    EXPECT_EQ(probeEvents().back(), "open k (frame shown)");
    EXPECT_EQ(option(L"lumo.main", L"history/file/0"), kept);
}

TEST_F(MainFrame, OpenCommandStartsInTheLastFilesDirectory) {
    std::wstring book = writeBook("sub/b.tst", "B");
    frame()->openFile(book);
    lumo::test::answerNextFileDialog(std::nullopt);
    frame()->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    ASSERT_EQ(lumo::test::fileDialogs().size(), 1u);
    EXPECT_EQ(lumo::test::fileDialogs()[0].initialFile, book);
    EXPECT_EQ(lumo::test::fileDialogs()[0].initialDirectory, (m_dir / "sub").wstring() + L"/");
    EXPECT_EQ(lumo::test::fileDialogs()[0].flags, 0x2180Cu);
    EXPECT_EQ(lumo::test::fileDialogs()[0].startFolder, (m_dir / "sub").wstring());

    std::wstring other = writeBook("c.tst", "C");
    lumo::test::answerNextFileDialog(other);
    frame()->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_EQ(probeEvents().back(), "open C (frame shown)");
    EXPECT_EQ(option(L"lumo.main", L"history/file/0"), other);
}

TEST_F(MainFrame, OpenCommandStartsInTheHomeFolderBeforeAnyBook) {
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    std::filesystem::create_directory(m_dir / "home");
    setenv("HOME", (m_dir / "home").c_str(), 1);
    lumo::test::answerNextFileDialog(std::nullopt);
    frame()->SendMessage(WM_COMMAND, 57601, 0);
    setenv("HOME", savedHome.c_str(), 1);
    ASSERT_EQ(lumo::test::fileDialogs().size(), 1u);
    EXPECT_EQ(lumo::test::fileDialogs()[0].initialDirectory, L"/") << "the frame's own default";
    EXPECT_EQ(lumo::test::fileDialogs()[0].startFolder, (m_dir / "home").wstring())
        << "the dialog opens in the home folder, not the root";
}

TEST_F(MainFrame, ABarTapDropsThatButtonsMenuBelowTheButton) {
    CToolBarCtrl& bar = frame()->commandBar.GetToolBarCtrl();
    RECT rect;
    ASSERT_TRUE(bar.GetItemRect(1, &rect));
    lumo::test::answerNextPopupMenu(0);
    lumo::test::tap(&frame()->commandBar,
                    POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    ASSERT_EQ(lumo::test::popupMenus().size(), 1u);
    const auto& popup = lumo::test::popupMenus()[0];
    ASSERT_FALSE(popup.items.empty());
    EXPECT_EQ(popup.items[0].text, L"元に戻す") << "the edit menu dropped down";
    EXPECT_EQ(popup.at.y, [&] {
        RECT screen = rect;
        bar.ClientToScreen(&screen);
        return screen.bottom;
    }());
    EXPECT_EQ(frame()->droppedMenuIndex, -1);
    EXPECT_EQ(bar.GetState(257) & TBSTATE_PRESSED, 0);
}

TEST_F(MainFrame, DoubleTapMessageShowsTheWholeMenuAtThePoint) {
    lumo::test::answerNextPopupMenu(0);
    frame()->SendMessage(WM_SHOW_MENU_AT_POINT, 0, MAKELPARAM(30, 40));
    ASSERT_EQ(lumo::test::popupMenus().size(), 1u);
    EXPECT_EQ(lumo::test::popupMenus()[0].at.x, 30);
    EXPECT_EQ(lumo::test::popupMenus()[0].at.y, 40);
    EXPECT_EQ(lumo::test::popupMenus()[0].items.size(), 4u);
    frame()->SendMessage(WM_SHOW_MENU_AT_POINT, 0, 0);
    EXPECT_EQ(lumo::test::popupMenus().size(), 1u) << "a zero point shows nothing";
}

} // namespace
