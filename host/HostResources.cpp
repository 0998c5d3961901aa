// The program's resources: menu 128 (the template the main frame edits at run
// time), accelerators 128, the string table, the about dialog 100 and icon 128.
#include "HostResources.h"

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

std::vector<MenuTemplateItem> mainMenu() {
    auto command = [](const wchar_t* text, UINT id) { return MenuTemplateItem::command(text, id); };
    auto separator = [] { return MenuTemplateItem::separator(); };
    auto popup = [](const wchar_t* text, std::vector<MenuTemplateItem> items) {
        return MenuTemplateItem::popup(text, std::move(items));
    };
    return {
        popup(L"<TOPMENU_FILE>",
              {command(L"開く", 57601), separator(),
               popup(L"環境設定", {command(L"<SUBMENU_INSERT_POSITION>", 32779)}),
               command(L"<SUBMENU_INSERT_POSITION>", 32779), separator(),
               popup(L"最近使ったファイル",
                     {command(L"(空)", 32780), command(L"(空)", 32781), command(L"(空)", 32782),
                      command(L"(空)", 32783), command(L"(空)", 32784), command(L"(空)", 32785)}),
               separator(), command(L"アプリケーションの終了", 57665)}),
        popup(L"<TOPMENU_EDIT>",
              {command(L"元に戻す", 57643), separator(), command(L"切り取り", 57635),
               command(L"コピー", 57634), command(L"貼り付け", 57637)}),
        command(L"<SUBMENU_INSERT_POSITION>", 65535),
        popup(L"<TOPMENU_HELP>", {command(L"バージョン情報...", 57664)}),
    };
}

std::vector<lumo::AcceleratorEntry> mainAccelerators() {
    using lumo::FALT;
    using lumo::FCONTROL;
    using lumo::FSHIFT;
    using lumo::FVIRTKEY;
    return {
        {FVIRTKEY | FCONTROL, 'N', 57600},        {FVIRTKEY | FCONTROL, 'O', 57601},
        {FVIRTKEY | FCONTROL, 'S', 57603},        {FVIRTKEY | FCONTROL, 'Z', 57643},
        {FVIRTKEY | FALT, vk::Back, 57643},       {FVIRTKEY | FCONTROL, 'X', 57635},
        {FVIRTKEY | FSHIFT, vk::Delete, 57635},   {FVIRTKEY | FCONTROL, 'C', 57634},
        {FVIRTKEY | FCONTROL, vk::Insert, 57634}, {FVIRTKEY | FCONTROL, 'V', 57637},
        {FVIRTKEY | FSHIFT, vk::Insert, 57637},   {FVIRTKEY, vk::F6, 57680},
        {FVIRTKEY | FSHIFT, vk::F6, 57681},
    };
}

std::map<UINT, std::wstring> stringTable() {
    std::map<UINT, std::wstring> strings = {
        {128, L"LumoCore\n\nLumoCore\n\n\nLumoCore.Document\nLumoCore.Document"},
        {57344, L"LumoCore"},
        {57345, L"レディ"},
        {57600, L"新規にファイルを作成\n新規作成"},
        {57601, L"既存のファイルを開く\n開く"},
        {57602, L"作業中のファイルを閉じる\n閉じる"},
        {57603, L"作業中のファイルを上書きして保存\n保存"},
        {57604, L"作業中のファイルを新しい名前で保存\n名前を付けて保存"},
        {57632, L"選択範囲を削除\n削除"},
        {57633, L"すべて削除\nすべて削除"},
        {57634, L"選択範囲をコピーしてクリップボードに保存\nコピー"},
        {57635, L"選択範囲を切り取ってクリップボードに移動\n切り取り"},
        {57636, L"指定した文字列の検索\n検索"},
        {57637, L"クリップボードの内容を貼り付け\n貼り付け"},
        {57640, L"直前に行った動作を繰り返す\n繰り返し"},
        {57641, L"指定した文字列を他の文字列で置換\n置換"},
        {57642, L"ファイル内のすべてを選択\nすべて選択"},
        {57643, L"直前に行った動作を元に戻す\n元に戻す"},
        {57644, L"取り消した動作をやり直す\nやり直し"},
        {57664, L"プログラム情報、バージョン、著作権を表示します。\nバージョン情報"},
        {57665, L"アプリケーションを終了し、ファイルの保存を指示\n終了"},
        {57680, L"次のウィンドウに切り替える\n次のペイン"},
        {57681, L"前のウィンドウに切り替える\n前のペイン"},
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
    for (UINT id = 57616; id <= 57631; ++id)
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
