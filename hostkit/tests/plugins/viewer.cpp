// A plug-in with a document type for ".tst" files and a tool whose menu adds a
// settings item to the file menu and a popup of its own.
#include "Probe.h"

#include "hostkit/ExtendToolManager.h"
#include "hostkit/LumoDocumentManager.h"
#include "hostkit/LumoPluginManager.h"
#include "platform/core/FileIO.h"
#include "platform/core/Module.h"
#include "platform/ui/Document.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Resources.h"
#include "platform/ui/View.h"
#include "platform/ui/WinApp.h"

namespace {

HINSTANCE g_hModuleInstance = lumo::moduleHandleOf(&g_hModuleInstance);

constexpr UINT kToolMenu = 700;
constexpr UINT kSettingsCommand = 40001;
constexpr UINT kHelloCommand = 40002;
constexpr UINT kGoodbyeCommand = 40003;

// Reads the whole file; a missing file fails the open.
class CTestViewerDoc : public CDocument {
    DECLARE_DYNCREATE(CTestViewerDoc)
public:
    BOOL OnOpenDocument(const wchar_t* path) override {
        auto bytes = lumo::readFileBytes(path);
        if (!bytes)
            return FALSE;
        CWnd* main = AfxGetMainWnd();
        probeEvents().push_back(
            "open " + *bytes +
            (main && main->IsWindowVisible() ? " (frame shown)" : " (frame hidden)"));
        return TRUE;
    }
};
IMPLEMENT_DYNCREATE(CTestViewerDoc, CDocument)

class CTestViewerView : public CView {
    DECLARE_DYNCREATE(CTestViewerView)
protected:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CTestViewerView, CView)

class CTestToolTarget : public CCmdTarget {
public:
    ~CTestToolTarget() override { probeEvents().push_back("tool target deleted"); }
    void OnHello() { probeEvents().push_back("hello"); }
    void OnUpdateHello(CCmdUI* ui) {
        ui->SetCheck(1);
        probeEvents().push_back("update hello");
    }
    void OnSettings() { probeEvents().push_back("settings"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestToolTarget, CCmdTarget)
ON_COMMAND(kHelloCommand, &CTestToolTarget::OnHello)
ON_UPDATE_COMMAND_UI(kHelloCommand, &CTestToolTarget::OnUpdateHello)
ON_COMMAND(kSettingsCommand, &CTestToolTarget::OnSettings)
END_MESSAGE_MAP()

bool buildToolMenu(CMenu* menu) {
    return menu->LoadMenu(g_hModuleInstance, kToolMenu);
}

lumo::ResourceRegistration g_resources(g_hModuleInstance, [] {
    using lumo::MenuTemplateItem;
    lumo::ResourceSet set;
    set.menus[kToolMenu] = {
        MenuTemplateItem::popup(
            L"<TOPMENU_FILE>",
            {MenuTemplateItem::popup(
                L"環境設定", {MenuTemplateItem::command(L"テスト設定", kSettingsCommand)})}),
        MenuTemplateItem::popup(L"テスト",
                                {MenuTemplateItem::command(L"こんにちは", kHelloCommand),
                                 MenuTemplateItem::separator(),
                                 MenuTemplateItem::command(L"さようなら", kGoodbyeCommand)}),
    };
    set.strings[5100] = L"TestViewer\n\nTestViewer\n\n\nTestViewer.Document\nTestViewer.Document";
    return set;
}());

} // namespace

LUMO_C_EXPORT void LUMO_LoadPluginModule() {
    CLumoPluginManager* manager = CLumoPluginManager::getInstance();
    SDocumentTypeInformation type{};
    type.typeName = L"test.viewer";
    type.displayName = L"テストビューア";
    type.hModuleInstance = g_hModuleInstance;
    type.resourceId = 5100;
    type.documentClass = RUNTIME_CLASS(CTestViewerDoc);
    type.viewClass = RUNTIME_CLASS(CTestViewerView);
    type.frameClass = RUNTIME_CLASS(CFrameWnd);
    type.extensions = {L".tst", L"."};
    manager->getDocumentManager()->registerDocumentInformation(&type);

    SExtendToolInformation tool{};
    tool.infoCode = 1;
    tool.toolName = L"test.tool";
    tool.displayName = L"テストツール";
    tool.hModuleInstance = g_hModuleInstance;
    tool.menuBuilder = &buildToolMenu;
    tool.commandTarget = new CTestToolTarget;
    manager->getExtendToolManager()->registerExtendToolInformation(&tool);
    probeEvents().push_back("load viewer");
}
