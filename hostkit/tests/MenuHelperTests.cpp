#include "hostkit/MenuHelpers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const wchar_t* const MARKER = L"<SUBMENU_INSERT_POSITION>";

// One line per menu: items separated by '|', "-" for a separator,
// "text(id)" for a command, "text{...}" for a popup.
std::wstring describe(CMenu* menu) {
    std::wstring out;
    const int count = static_cast<int>(menu->GetMenuItemCount());
    for (int i = 0; i < count; ++i) {
        if (i)
            out += L"|";
        CString text;
        menu->GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
        if (CMenu* sub = menu->GetSubMenu(i)) {
            out += text.str() + L"{" + describe(sub) + L"}";
        } else if (text.IsEmpty()) {
            out += L"-";
        } else {
            out += text.str() + L"(" + std::to_wstring(menu->GetMenuItemID(i)) + L")";
        }
    }
    return out;
}

HMENU popup(std::initializer_list<std::pair<const wchar_t*, UINT_PTR>> items) {
    HMENU menu = CreatePopupMenu();
    for (const auto& [text, id] : items) {
        if (!text)
            AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
        else if (IsMenu(reinterpret_cast<HMENU>(id)))
            AppendMenu(menu, MF_POPUP, id, text);
        else
            AppendMenu(menu, MF_STRING, id, text);
    }
    return menu;
}

UINT_PTR sub(HMENU menu) {
    return reinterpret_cast<UINT_PTR>(menu);
}

// The host's menu 128.
void buildHostMenu(CMenu& menu) {
    menu.CreateMenu();
    HMENU settings = popup({{MARKER, 32779}});
    HMENU recent = popup({{L"(空)", 32780},
                          {L"(空)", 32781},
                          {L"(空)", 32782},
                          {L"(空)", 32783},
                          {L"(空)", 32784},
                          {L"(空)", 32785}});
    HMENU file = popup({{L"開く", 57601},
                        {nullptr, 0},
                        {L"環境設定", sub(settings)},
                        {MARKER, 32779},
                        {nullptr, 0},
                        {L"最近使ったファイル", sub(recent)},
                        {nullptr, 0},
                        {L"アプリケーションの終了", 57665}});
    HMENU edit = popup({{L"元に戻す", 57643},
                        {nullptr, 0},
                        {L"切り取り", 57635},
                        {L"コピー", 57634},
                        {L"貼り付け", 57637}});
    HMENU help = popup({{L"バージョン情報...", 57664}});
    menu.AppendMenu(MF_POPUP, sub(file), L"<TOPMENU_FILE>");
    menu.AppendMenu(MF_POPUP, sub(edit), L"<TOPMENU_EDIT>");
    menu.AppendMenu(MF_STRING, 65535, MARKER);
    menu.AppendMenu(MF_POPUP, sub(help), L"<TOPMENU_HELP>");
}

const std::wstring HOST_FILE =
    L"<TOPMENU_FILE>{開く(57601)|-|環境設定{<SUBMENU_INSERT_POSITION>(32779)}|"
    L"<SUBMENU_INSERT_POSITION>(32779)|-|最近使ったファイル{(空)(32780)|(空)(32781)|"
    L"(空)(32782)|(空)(32783)|(空)(32784)|(空)(32785)}|-|アプリケーションの終了(57665)}";
const std::wstring HOST_EDIT =
    L"<TOPMENU_EDIT>{元に戻す(57643)|-|切り取り(57635)|コピー(57634)|貼り付け(57637)}";
const std::wstring HOST_HELP = L"<TOPMENU_HELP>{バージョン情報...(57664)}";

TEST(MenuHelpers, HostMenuIsBuiltAsExpected) {
    CMenu menu;
    buildHostMenu(menu);
    EXPECT_EQ(describe(&menu),
              HOST_FILE + L"|" + HOST_EDIT + L"|<SUBMENU_INSERT_POSITION>(65535)|" + HOST_HELP);
}

TEST(MenuHelpers, ToolCommandLandsInTheExistingSettingsPopupBeforeItsMarker) {
    CMenu menu, tool;
    buildHostMenu(menu);
    tool.CreateMenu();
    tool.AppendMenu(MF_POPUP, sub(popup({{L"環境設定", sub(popup({{L"青空文庫リーダ", 1024}}))}})),
                    L"<TOPMENU_FILE>");
    EXPECT_EQ(LumoMergeMenu(&menu, &tool, CString(MARKER), FALSE), 1);
    CMenu* settings = menu.GetSubMenu(0)->GetSubMenu(2);
    EXPECT_EQ(describe(settings), L"青空文庫リーダ(1024)|<SUBMENU_INSERT_POSITION>(32779)");
    EXPECT_EQ(menu.GetMenuItemCount(), 4u) << "no new top-level item";
}

TEST(MenuHelpers, UnknownPopupIsCopiedDeepBeforeTheTopLevelMarker) {
    CMenu menu, tool;
    buildHostMenu(menu);
    tool.CreateMenu();
    HMENU inner = popup({{L"起動", 1024}, {nullptr, 0}, {L"深い", sub(popup({{L"最深", 1025}}))}});
    tool.AppendMenu(MF_POPUP, sub(inner), L"ツール");
    LumoMergeMenu(&menu, &tool, CString(MARKER), FALSE);
    EXPECT_EQ(describe(&menu), HOST_FILE + L"|" + HOST_EDIT +
                                   L"|ツール{起動(1024)|-|深い{最深(1025)}}|" +
                                   L"<SUBMENU_INSERT_POSITION>(65535)|" + HOST_HELP);
    // A deep copy: destroying the source leaves the merged menu intact.
    tool.DestroyMenu();
    EXPECT_EQ(describe(menu.GetSubMenu(2)), L"起動(1024)|-|深い{最深(1025)}");
}

TEST(MenuHelpers, TheScanNeverGoesBack) {
    CMenu menu, tool;
    buildHostMenu(menu);
    tool.CreateMenu();
    tool.AppendMenu(MF_POPUP, sub(popup({{L"ヘルプ項目", 1024}})), L"<TOPMENU_HELP>");
    tool.AppendMenu(MF_POPUP, sub(popup({{L"ファイル項目", 1025}})), L"<TOPMENU_FILE>");
    LumoMergeMenu(&menu, &tool, CString(MARKER), FALSE);
    EXPECT_EQ(describe(&menu), HOST_FILE + L"|" + HOST_EDIT +
                                   L"|<TOPMENU_FILE>{ファイル項目(1025)}|" +
                                   L"<SUBMENU_INSERT_POSITION>(65535)|" +
                                   L"<TOPMENU_HELP>{バージョン情報...(57664)|ヘルプ項目(1024)}");
}

TEST(MenuHelpers, ExistingCommandIsNotDuplicatedAndMayTakeTheNewText) {
    for (BOOL replace : {FALSE, TRUE}) {
        CMenu menu, tool;
        buildHostMenu(menu);
        tool.CreateMenu();
        tool.AppendMenu(MF_POPUP, sub(popup({{L"ひらく", 57601}})), L"<TOPMENU_FILE>");
        menu.GetSubMenu(0)->EnableMenuItem(57601, MF_BYCOMMAND | MF_GRAYED);
        LumoMergeMenu(&menu, &tool, CString(MARKER), replace);
        CMenu* file = menu.GetSubMenu(0);
        EXPECT_EQ(file->GetMenuItemCount(), 8u);
        CString text;
        file->GetMenuString(0, text, MF_BYPOSITION);
        EXPECT_EQ(text, replace ? L"ひらく" : L"開く");
        EXPECT_EQ(file->GetMenuItemID(0), 57601u);
        EXPECT_TRUE(file->GetMenuState(0, MF_BYPOSITION) & MF_GRAYED) << "the state is kept";
    }
}

TEST(MenuHelpers, MergingWithTheEmptyMarkerCopiesAWholeMenu) {
    CMenu host, copy;
    buildHostMenu(host);
    copy.CreatePopupMenu();
    LumoMergeMenu(&copy, &host, CString(L"<EMPTY>"), FALSE);
    EXPECT_EQ(describe(&copy), describe(&host));
    CMenu empty;
    empty.CreatePopupMenu();
    EXPECT_EQ(LumoMergeMenu(&host, &empty, CString(MARKER), FALSE), 1);
    EXPECT_EQ(describe(&copy), describe(&host)) << "an empty source changes nothing";
    EXPECT_EQ(LumoMergeMenu(nullptr, &host, CString(MARKER), FALSE), 1);
    EXPECT_EQ(LumoMergeMenu(&host, nullptr, CString(MARKER), FALSE), 1);
}

TEST(MenuHelpers, OnceTheMarkerMovesPastTheOriginalItemsNewItemsAreAppended) {
    CMenu dest, src;
    dest.CreatePopupMenu();
    dest.AppendMenu(MF_STRING, 1, L"a");
    dest.AppendMenu(MF_SEPARATOR);
    dest.AppendMenu(MF_STRING, 9, L"M");
    src.CreatePopupMenu();
    src.AppendMenu(MF_STRING, 1, L"a2");
    src.AppendMenu(MF_SEPARATOR);
    src.AppendMenu(MF_STRING, 2, L"b");
    LumoMergeMenu(&dest, &src, CString(L"M"), TRUE);
    // The separator goes before the marker, pushing it past the items counted
    // at the start; "b" then finds no marker among them and is appended.
    EXPECT_EQ(describe(&dest), L"a2(1)|-|-|M(9)|b(2)");
}

TEST(MenuHelpers, RemovingTheMarkerTextDeletesItAtEveryDepth) {
    CMenu menu;
    buildHostMenu(menu);
    LumoRemoveMenuItems(&menu, {MARKER});
    EXPECT_EQ(describe(&menu),
              L"<TOPMENU_FILE>{開く(57601)|-|環境設定{}|-|最近使ったファイル{(空)(32780)|(空)("
              L"32781)|(空)(32782)|"
              L"(空)(32783)|(空)(32784)|(空)(32785)}|-|アプリケーションの終了(57665)}|" +
                  HOST_EDIT + L"|" + HOST_HELP);
    LumoRemoveMenuItems(&menu, {L"<TOPMENU_EDIT>", L"最近使ったファイル"});
    EXPECT_EQ(menu.GetMenuItemCount(), 2u);
    EXPECT_EQ(LumoRemoveMenuItems(nullptr, {MARKER}), 1);
}

TEST(MenuHelpers, NormalizingRemovesEmptyPopupsAndSpareSeparators) {
    CMenu menu;
    buildHostMenu(menu);
    LumoRemoveMenuItems(&menu, {MARKER});
    menu.AppendMenu(MF_POPUP, sub(popup({{nullptr, 0}, {nullptr, 0}})), L"区切りだけ");
    menu.AppendMenu(MF_STRING, 7, L"top-level command");
    LumoNormalizeMenu(&menu, TRUE);
    EXPECT_EQ(describe(&menu), L"<TOPMENU_FILE>{開く(57601)|-|最近使ったファイル{(空)(32780)|(空)("
                               L"32781)|(空)(32782)|(空)(32783)|"
                               L"(空)(32784)|(空)(32785)}|-|アプリケーションの終了(57665)}|" +
                                   HOST_EDIT + L"|" + HOST_HELP);
}

TEST(MenuHelpers, NormalizingSeparatorRuns) {
    struct Case {
        std::wstring before, after;
    };
    // "-" separator, a letter a command.
    const Case cases[] = {
        {L"-|a|-|-|b|-", L"a|-|b"},
        {L"-|-", L""},
        {L"a|-|-|-|b", L"a|-|b"},
        {L"a", L"a"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        CMenu outer, inner;
        inner.CreatePopupMenu();
        UINT id = 1;
        for (size_t i = 0; i < c.before.size(); i += 2) {
            if (c.before[i] == L'-')
                inner.AppendMenu(MF_SEPARATOR);
            else
                inner.AppendMenu(MF_STRING, id++, std::wstring(1, c.before[i]).c_str());
        }
        LumoNormalizeMenu(&inner, FALSE);
        std::wstring got;
        for (UINT i = 0; i < inner.GetMenuItemCount(); ++i) {
            CString text;
            inner.GetMenuString(i, text, MF_BYPOSITION);
            got += (i ? L"|" : L"") + (text.IsEmpty() ? std::wstring(L"-") : text.str());
        }
        EXPECT_EQ(got, c.after) << std::string(c.before.begin(), c.before.end());
    }
}

TEST(MenuHelpers, APopupWithManyItemsIsNotMistakenForASeparator) {
    CMenu menu;
    menu.CreatePopupMenu();
    HMENU big = CreatePopupMenu();
    for (UINT i = 0; i < 8; ++i)
        AppendMenu(big, MF_STRING, 100 + i, L"x");
    menu.AppendMenu(MF_POPUP, sub(big), L"");
    menu.AppendMenu(MF_STRING, 1, L"a");
    ASSERT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_SEPARATOR) << "eight items set that bit";
    LumoNormalizeMenu(&menu, FALSE);
    EXPECT_EQ(menu.GetMenuItemCount(), 2u);
}

TEST(MenuHelpers, RenamingKeepsSubmenusAndTouchesOnlyThisLevel) {
    CMenu menu;
    buildHostMenu(menu);
    LumoRenameMenuItems(&menu, {{L"<TOPMENU_FILE>", L"ファイル"},
                                {L"<TOPMENU_EDIT>", L"編集"},
                                {L"<TOPMENU_HELP>", L"ヘルプ"},
                                {L"開く", L"ひらく"}});
    CString text;
    menu.GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, L"ファイル");
    EXPECT_EQ(describe(menu.GetSubMenu(0)).substr(0, 9), L"開く(57601)")
        << "submenus are not visited";
    menu.GetMenuString(3, text, MF_BYPOSITION);
    EXPECT_EQ(text, L"ヘルプ");
    EXPECT_EQ(describe(menu.GetSubMenu(3)), L"バージョン情報...(57664)");
    menu.GetMenuString(2, text, MF_BYPOSITION);
    EXPECT_EQ(text, MARKER);
    EXPECT_EQ(menu.GetMenuItemID(2), 65535u);
}

} // namespace
