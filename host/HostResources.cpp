// The program's resources: menu 128 (the template the main frame edits at run
// time), accelerators 128, the string table, the about dialog 100 and icon 128.
#include "HostResources.h"

#include "hostkit/MainFrameIds.h"
#include "platform/core/Module.h"
#include "platform/ui/Resources.h"

namespace {

using lumo::MenuTemplateItem;

// Virtual-key codes of the accelerator table.
namespace vk {
constexpr WORD Back = 0x08;
constexpr WORD Insert = 0x2D;
constexpr WORD Delete = 0x2E;
constexpr WORD F6 = 0x75;
} // namespace vk

// The id of the "<SUBMENU_INSERT_POSITION>" items of the file menu.
constexpr UINT ID_FILE_INSERT_POSITION = 32779;

std::vector<MenuTemplateItem> recentFileItems() {
    std::vector<MenuTemplateItem> items;
    for (int i = 0; i < RECENT_FILE_COUNT; ++i)
        items.push_back(MenuTemplateItem::command(L"(空)", ID_FIRST_RECENT_FILE + i));
    return items;
}

std::vector<MenuTemplateItem> mainMenu() {
    auto command = [](const wchar_t* text, UINT id) { return MenuTemplateItem::command(text, id); };
    auto separator = [] { return MenuTemplateItem::separator(); };
    auto popup = [](const wchar_t* text, std::vector<MenuTemplateItem> items) {
        return MenuTemplateItem::popup(text, std::move(items));
    };
    return {
        popup(L"<TOPMENU_FILE>",
              {command(L"開く", ID_FILE_OPEN), separator(),
               popup(L"環境設定", {command(L"<SUBMENU_INSERT_POSITION>", ID_FILE_INSERT_POSITION)}),
               command(L"<SUBMENU_INSERT_POSITION>", ID_FILE_INSERT_POSITION), separator(),
               popup(L"最近使ったファイル", recentFileItems()), separator(),
               command(L"アプリケーションの終了", ID_APP_EXIT)}),
        popup(L"<TOPMENU_EDIT>",
              {command(L"元に戻す", ID_EDIT_UNDO), separator(), command(L"切り取り", ID_EDIT_CUT),
               command(L"コピー", ID_EDIT_COPY), command(L"貼り付け", ID_EDIT_PASTE)}),
        command(L"<SUBMENU_INSERT_POSITION>", 65535),
        popup(L"<TOPMENU_HELP>", {command(L"バージョン情報...", ID_APP_ABOUT)}),
    };
}

std::vector<lumo::AcceleratorEntry> mainAccelerators() {
    using lumo::FALT;
    using lumo::FCONTROL;
    using lumo::FSHIFT;
    using lumo::FVIRTKEY;
    return {
        {FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},         {FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN},
        {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE},        {FVIRTKEY | FCONTROL, 'Z', ID_EDIT_UNDO},
        {FVIRTKEY | FALT, vk::Back, ID_EDIT_UNDO},       {FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT},
        {FVIRTKEY | FSHIFT, vk::Delete, ID_EDIT_CUT},    {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY},
        {FVIRTKEY | FCONTROL, vk::Insert, ID_EDIT_COPY}, {FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE},
        {FVIRTKEY | FSHIFT, vk::Insert, ID_EDIT_PASTE},  {FVIRTKEY, vk::F6, ID_NEXT_PANE},
        {FVIRTKEY | FSHIFT, vk::F6, ID_PREV_PANE},
    };
}

std::map<UINT, std::wstring> stringTable() {
    std::map<UINT, std::wstring> strings = {
        {128, L"LumoCore\n\nLumoCore\n\n\nLumoCore.Document\nLumoCore.Document"},
        {AFX_IDS_APP_TITLE, L"LumoCore"},
        {AFX_IDS_IDLEMESSAGE, L"レディ"},
        {ID_FILE_NEW, L"新規にファイルを作成\n新規作成"},
        {ID_FILE_OPEN, L"既存のファイルを開く\n開く"},
        {ID_FILE_CLOSE, L"作業中のファイルを閉じる\n閉じる"},
        {ID_FILE_SAVE, L"作業中のファイルを上書きして保存\n保存"},
        {ID_FILE_SAVE_AS, L"作業中のファイルを新しい名前で保存\n名前を付けて保存"},
        {ID_EDIT_CLEAR, L"選択範囲を削除\n削除"},
        {ID_EDIT_CLEAR_ALL, L"すべて削除\nすべて削除"},
        {ID_EDIT_COPY, L"選択範囲をコピーしてクリップボードに保存\nコピー"},
        {ID_EDIT_CUT, L"選択範囲を切り取ってクリップボードに移動\n切り取り"},
        {ID_EDIT_FIND, L"指定した文字列の検索\n検索"},
        {ID_EDIT_PASTE, L"クリップボードの内容を貼り付け\n貼り付け"},
        {ID_EDIT_REPEAT, L"直前に行った動作を繰り返す\n繰り返し"},
        {ID_EDIT_REPLACE, L"指定した文字列を他の文字列で置換\n置換"},
        {ID_EDIT_SELECT_ALL, L"ファイル内のすべてを選択\nすべて選択"},
        {ID_EDIT_UNDO, L"直前に行った動作を元に戻す\n元に戻す"},
        {ID_EDIT_REDO, L"取り消した動作をやり直す\nやり直し"},
        {ID_APP_ABOUT, L"プログラム情報、バージョン、著作権を表示します。\nバージョン情報"},
        {ID_APP_EXIT, L"アプリケーションを終了し、ファイルの保存を指示\n終了"},
        {ID_NEXT_PANE, L"次のウィンドウに切り替える\n次のペイン"},
        {ID_PREV_PANE, L"前のウィンドウに切り替える\n前のペイン"},
        {59136, L"EXT"},
        {59137, L"CAP"},
        {59138, L"NUM"},
        {59139, L"SCRL"},
        {59140, L"OVR"},
        {59141, L"REC"},
        {61184, L"ウィンドウのサイズを変更"},
        {61185, L"ウィンドウの位置を変更"},
        {61186, L"ウィンドウを最小化する"},
        {61187, L"ウィンドウを最大化する"},
        {61188, L"次のウィンドウに切り替える"},
        {61189, L"前のウィンドウに切り替える"},
        {61190, L"作業中のウィンドウを閉じ、変更したファイルの保存を指示"},
        {61202, L"ウィンドウを通常のサイズに戻す"},
        {61203, L"アプリケーションの切り替え"},
    };
    for (UINT id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE16; ++id)
        strings[id] = L"指定のファイルを開く";
    return strings;
}

lumo::DialogTemplate aboutDialog() {
    using lumo::ControlKind;
    lumo::DialogTemplate dialog;
    dialog.caption = L"バージョン情報 LumoCore";
    dialog.fontFace = L"ＭＳ ゴシック";
    dialog.pointSize = 9;
    dialog.cx = 160;
    dialog.cy = 55;
    dialog.controls = {
        {ControlKind::Label, static_cast<UINT>(-1), L"LumoCore Version 1.0", 40, 10, 110, 8},
        {ControlKind::Label, static_cast<UINT>(-1), L"Copyright (C) LumoCore developers", 40, 22,
         115, 8},
        {ControlKind::DefPushButton, 1, L"OK", 110, 36, 40, 14},
    };
    return dialog;
}

// An open book, drawn once: two pages with a few lines of text on a blue cover.
lumo::IconImage appIcon() {
    lumo::IconImage icon{32, 32, std::vector<std::uint32_t>(32 * 32, 0x00000000)};
    auto set = [&](int x, int y, std::uint32_t argb) { icon.pixels[y * 32 + x] = argb; };
    for (int y = 4; y < 29; ++y)
        for (int x = 1; x < 31; ++x)
            set(x, y, 0xFF2A4F8Au); // cover
    for (int y = 6; y < 27; ++y) {
        for (int x = 3; x < 15; ++x)
            set(x, y, 0xFFFAF7EEu); // left page
        for (int x = 17; x < 29; ++x)
            set(x, y, 0xFFFAF7EEu); // right page
    }
    for (int y = 9; y < 25; y += 3)
        for (int x = 5; x < 27; ++x)
            if (x < 13 || x > 18)
                set(x, y, 0xFF50505Au); // text lines
    for (int y = 5; y < 28; ++y)
        set(15, y, 0xFF1B3566u), set(16, y, 0xFF1B3566u); // spine
    return icon;
}

} // namespace

HINSTANCE g_hProgramInstance = lumo::moduleHandleOf(&g_hProgramInstance);

void registerHostResources() {
    lumo::ResourceSet set;
    set.menus[IDR_MAINFRAME] = mainMenu();
    set.accelerators[IDR_MAINFRAME] = mainAccelerators();
    set.strings = stringTable();
    set.dialogs[IDD_ABOUTBOX] = aboutDialog();
    set.icons[IDR_MAINFRAME] = appIcon();
    lumo::registerResources(g_hProgramInstance, std::move(set));
}
