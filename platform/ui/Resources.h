#pragma once

// Resources of a module: menus, dialog templates, string tables, accelerators
// and icons, described in C++ tables and registered under the module's own
// instance handle when the module is loaded:
//
//     HINSTANCE g_hModuleInstance = lumo::moduleHandleOf(&g_hModuleInstance);
//     static lumo::ResourceRegistration resources(g_hModuleInstance, [] {
//         lumo::ResourceSet set;
//         set.menus[128] = {lumo::MenuTemplateItem::popup(L"ファイル", {
//                               lumo::MenuTemplateItem::command(L"開く", 57601),
//                               lumo::MenuTemplateItem::separator()})};
//         set.strings[57344] = L"LumoCore";
//         return set;
//     }());
//
// Lookups name a module (LoadMenu, LoadIcon with a handle) or search the
// resource chain: the program first, then every registered module in
// registration order, as extension modules chain their resources.

#include "platform/ui/UiExport.h"
#include "platform/ui/UiTypes.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lumo {

struct MenuTemplateItem {
    enum class Kind { Command, Popup, Separator };
    Kind kind = Kind::Separator;
    std::wstring text;
    UINT id = 0;
    UINT state = 0; // MF_GRAYED, MF_CHECKED
    std::vector<MenuTemplateItem> items;

    static MenuTemplateItem command(std::wstring text, UINT id, UINT state = 0) {
        return {Kind::Command, std::move(text), id, state, {}};
    }
    static MenuTemplateItem popup(std::wstring text, std::vector<MenuTemplateItem> items) {
        return {Kind::Popup, std::move(text), 0, 0, std::move(items)};
    }
    static MenuTemplateItem separator() { return {}; }
};

enum class ControlKind {
    GroupBox,
    Label,
    ComboBox,
    CheckBox,
    RadioButton,
    Edit,
    PushButton,
    DefPushButton
};

// One control of a dialog template; positions in dialog units.
struct DialogControlTemplate {
    ControlKind kind = ControlKind::Label;
    UINT id = static_cast<UINT>(-1);
    std::wstring text;
    int x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = 0;
    // Combo-box list items (the template's initialisation data), in order.
    std::vector<std::wstring> items{};
};

struct DialogTemplate {
    std::wstring caption;
    std::wstring fontFace = L"MS Shell Dlg";
    int pointSize = 8;
    int x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = 0;
    std::vector<DialogControlTemplate> controls;
};

// Accelerator flags (fVirt).
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct AcceleratorEntry {
    BYTE fVirt;
    WORD key; // virtual-key code
    WORD cmd;
};

// A small image drawn by the platform itself: 0xAARRGGBB pixels, row by row.
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

struct ResourceSet {
    std::map<UINT, std::vector<MenuTemplateItem>> menus;
    std::map<UINT, DialogTemplate> dialogs;
    std::map<UINT, std::wstring> strings;
    std::map<UINT, std::vector<AcceleratorEntry>> accelerators;
    std::map<UINT, IconImage> icons;
};

// Adds resources to a module's set (later entries of the same id replace
// earlier ones). A null module means the running program.
PLATFORMUI_API void registerResources(HINSTANCE module, ResourceSet resources);
// Forgets a module's resources (tests).
PLATFORMUI_API void unregisterResources(HINSTANCE module);

struct PLATFORMUI_API ResourceRegistration {
    ResourceRegistration(HINSTANCE module, ResourceSet resources);
};

// Lookups: null when absent. `module` null searches the resource chain.
PLATFORMUI_API const std::vector<MenuTemplateItem>* findMenuResource(HINSTANCE module, UINT id);
PLATFORMUI_API const DialogTemplate* findDialogResource(HINSTANCE module, UINT id);
PLATFORMUI_API const std::wstring* findStringResource(HINSTANCE module, UINT id);
PLATFORMUI_API const std::vector<AcceleratorEntry>* findAcceleratorResource(HINSTANCE module,
                                                                            UINT id);
PLATFORMUI_API const IconImage* findIconResource(HINSTANCE module, UINT id);

} // namespace lumo

PLATFORMUI_API HINSTANCE AfxGetInstanceHandle();

PLATFORMUI_API HACCEL LoadAccelerators(HINSTANCE hInstance, LPCWSTR lpTableName);
PLATFORMUI_API HICON LoadIcon(HINSTANCE hInstance, LPCWSTR lpIconName);

namespace lumo {
// The string resource as a value (empty when absent).
PLATFORMUI_API std::wstring loadString(UINT id, HINSTANCE module = nullptr);
} // namespace lumo
