#include "YomiteResources.h"

#include "ButtonIcons.h"

#include "platform/core/Module.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Resources.h"

#include <string>
#include <vector>

namespace yomite {
namespace {

HINSTANCE g_hModuleInstance = lumo::moduleHandleOf(&g_hModuleInstance);

using lumo::ControlKind;
using lumo::DialogControlTemplate;

constexpr DWORD COMBO_STYLE = WS_VSCROLL;

std::vector<std::wstring> numbers(int first, int last) {
    std::vector<std::wstring> items;
    for (int i = first; i <= last; ++i)
        items.push_back(std::to_wstring(i));
    return items;
}

DialogControlTemplate control(ControlKind kind, UINT id, std::wstring text, int x, int y, int cx,
                              int cy, std::vector<std::wstring> items = {}, DWORD style = 0) {
    DialogControlTemplate c;
    c.kind = kind;
    c.id = id;
    c.text = std::move(text);
    c.x = x;
    c.y = y;
    c.cx = cx;
    c.cy = cy;
    c.style = style;
    c.items = std::move(items);
    return c;
}

DialogControlTemplate label(std::wstring text, int x, int y, int cx) {
    return control(ControlKind::Label, static_cast<UINT>(-1), std::move(text), x, y, cx, 8);
}

DialogControlTemplate combo(UINT id, int x, int y, int cx, int cy,
                            std::vector<std::wstring> items) {
    return control(ControlKind::ComboBox, id, L"", x, y, cx, cy, std::move(items), COMBO_STYLE);
}

DialogControlTemplate check(UINT id, std::wstring text, int x, int y, int cx, int cy) {
    return control(ControlKind::CheckBox, id, std::move(text), x, y, cx, cy, {}, BS_AUTOCHECKBOX);
}

lumo::DialogTemplate configureDialog() {
    const std::vector<std::wstring> fonts = {L"ＭＳ ゴシック", L"ＭＳ 明朝"};
    lumo::DialogTemplate t;
    t.caption = L"青空文庫形式";
    t.fontFace = L"MS Shell Dlg";
    t.pointSize = 8;
    t.cx = 302;
    t.cy = 199;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    auto& c = t.controls;
    c.push_back(control(ControlKind::GroupBox, static_cast<UINT>(-1), L"基本", 7, 7, 135, 79));
    c.push_back(label(L"画面方向", 14, 19, 36));
    c.push_back(
        combo(IDC_DISPLAY_DIRECTION, 52, 17, 78, 59, {L"標準", L"右90度回転", L"左90度回転"}));
    c.push_back(label(L"文字方向", 14, 33, 36));
    c.push_back(combo(IDC_TEXT_DIRECTION, 52, 31, 78, 59, {L"横書き", L"縦書き"}));
    c.push_back(label(L"表示色", 14, 48, 36));
    // The list is marked sorted in the original layout, but sorting would put
    // white-on-black first; the stored index means black-on-white at 0.
    c.push_back(combo(IDC_DISPLAY_COLOR, 52, 46, 78, 57, {L"文字:黒/背景:白", L"文字:白/背景:黒"}));
    c.push_back(label(L"行間", 14, 64, 24));
    c.push_back(combo(IDC_LINE_SPACE, 39, 62, 26, 52, numbers(0, 16)));
    c.push_back(label(L"pixcel", 67, 64, 22));
    c.push_back(check(IDC_LINE_BOUNDARY, L"禁則処理", 91, 60, 47, 11));
    c.push_back(check(IDC_WORD_WRAP, L"ワードラップ", 91, 72, 47, 10));

    c.push_back(
        control(ControlKind::GroupBox, static_cast<UINT>(-1), L"テキスト", 146, 7, 149, 37));
    c.push_back(label(L"フォント", 152, 18, 32));
    c.push_back(combo(IDC_TEXT_FONT, 186, 16, 61, 52, fonts));
    c.push_back(
        combo(IDC_TEXT_FONT_SIZE, 247, 16, 26, 52,
              {L"8", L"10", L"12", L"14", L"16", L"18", L"20", L"22", L"24", L"28", L"32"}));
    c.push_back(label(L"point", 275, 18, 18));
    c.push_back(check(IDC_BOLD, L"太字", 185, 29, 28, 11));
    c.push_back(check(IDC_AOZORA_NOTATION, L"注記を反映する", 216, 29, 70, 11));

    c.push_back(control(ControlKind::GroupBox, static_cast<UINT>(-1), L"ルビ", 146, 44, 149, 41));
    c.push_back(check(IDC_SHOW_RUBY, L"ルビを表示", 185, 53, 50, 10));
    c.push_back(label(L"フォント", 152, 65, 32));
    c.push_back(combo(IDC_RUBY_FONT, 186, 63, 61, 56, fonts));
    c.push_back(combo(IDC_RUBY_FONT_SIZE, 247, 63, 26, 52,
                      {L"8", L"10", L"12", L"14", L"16", L"18", L"20", L"22", L"24"}));
    c.push_back(label(L"point", 275, 65, 18));

    c.push_back(control(ControlKind::GroupBox, static_cast<UINT>(-1), L"背景画像", 7, 87, 288, 43));
    c.push_back(label(L"検索パス", 14, 97, 32));
    c.push_back(
        control(ControlKind::Edit, IDC_WALLPAPER_PATH, L"", 48, 95, 110, 12, {}, WS_BORDER));
    c.push_back(control(ControlKind::PushButton, IDC_BROWSE, L"...", 158, 95, 14, 12));
    c.push_back(control(ControlKind::PushButton, IDC_CLEAR, L"C", 172, 95, 14, 12));
    c.push_back(label(L"スタイル", 14, 113, 32));
    c.push_back(combo(IDC_WALLPAPER_STYLE, 47, 111, 140, 71, {L"等倍", L"長辺揃え", L"短辺揃え"}));
    c.push_back(label(L"透過率", 194, 97, 30));
    c.push_back(combo(IDC_WALLPAPER_ALPHA, 226, 95, 30, 108, numbers(0, 16)));
    c.push_back(label(L"/ 16", 258, 97, 20));

    c.push_back(control(ControlKind::GroupBox, static_cast<UINT>(-1), L"ユーザインタフェース", 7,
                        131, 288, 44));
    c.push_back(label(L"スクロール単位", 14, 142, 60));
    c.push_back(combo(IDC_SCROLL_RANGE, 77, 140, 71, 68, {L"行単位", L"ページ単位"}));
    c.push_back(label(L"コントロールバー", 14, 160, 62));
    c.push_back(combo(IDC_CONTROLBAR, 77, 158, 71, 68, {L"右", L"左", L"下"}));
    c.push_back(check(IDC_AUTO_SAVE, L"終了時、自動で栞を挟む", 163, 142, 99, 11));

    c.push_back(control(ControlKind::DefPushButton, IDOK, L"OK", 192, 178, 50, 14));
    c.push_back(control(ControlKind::PushButton, IDCANCEL, L"キャンセル", 245, 178, 50, 14));
    return t;
}

lumo::ResourceSet buildResources() {
    using lumo::MenuTemplateItem;
    lumo::ResourceSet set;
    set.strings[IDR_DOCUMENT_TYPE] =
        L"LumoCore\n\nLumoCore\n\n\nLumoCore.Document\nLumoCore.Document";
    set.menus[IDR_TOOL_MENU] = {MenuTemplateItem::popup(
        L"<TOPMENU_FILE>",
        {MenuTemplateItem::popup(
            L"環境設定", {MenuTemplateItem::command(L"青空文庫リーダ", ID_READER_SETTINGS)})})};
    set.dialogs[IDD_CONFIGURE] = configureDialog();
    set.icons = buildButtonIcons();
    return set;
}

} // namespace

HINSTANCE moduleInstance() {
    return g_hModuleInstance;
}

void ensureResources() {
    static lumo::ResourceRegistration registration(g_hModuleInstance, buildResources());
}

} // namespace yomite
