#include "AppDeckResources.h"

#include "platform/core/Module.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinApp.h"

namespace appdeck {
namespace {

HINSTANCE g_hModuleInstance = lumo::moduleHandleOf(&g_hModuleInstance);

lumo::ResourceSet buildResources() {
    using lumo::MenuTemplateItem;
    lumo::ResourceSet set;
    set.menus[IDR_LAUNCHER_MENU] = {MenuTemplateItem::popup(
        L"ツール", {
                       MenuTemplateItem::command(L"オーディオプレイヤー", ID_LAUNCH_AUDIOPLAYER),
                       MenuTemplateItem::command(L"動画プレイヤー", ID_LAUNCH_VIDEOPLAYER),
                       MenuTemplateItem::command(L"フラッシュプレイヤー", ID_LAUNCH_FLASHPLAYER),
                       MenuTemplateItem::separator(),
                       MenuTemplateItem::command(L"画像ビューア", ID_LAUNCH_IMAGEVIEWER),
                       MenuTemplateItem::command(L"テキストビューア", ID_LAUNCH_TEXTVIEWER),
                       MenuTemplateItem::command(L"ファイルブラウザ", ID_LAUNCH_FILEBROWSER),
                       MenuTemplateItem::separator(),
                       MenuTemplateItem::command(L"デバイス設定", ID_LAUNCH_CONFIG),
                   })};
    return set;
}

// Process attach and detach: the module joins the framework as an extension
// module with its resources, and leaves it when it is unloaded.
struct ModuleLifetime {
    AFX_EXTENSION_MODULE extension{};
    lumo::ResourceRegistration resources{g_hModuleInstance, buildResources()};

    ModuleLifetime() { AfxInitExtensionModule(extension, g_hModuleInstance); }
    ~ModuleLifetime() {
        AfxTermExtensionModule(extension);
        g_hModuleInstance = nullptr;
    }
};
ModuleLifetime g_lifetime;

} // namespace

HINSTANCE moduleInstance() {
    return g_hModuleInstance;
}

} // namespace appdeck
