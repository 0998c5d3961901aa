#include "PluginTestFixture.h"

#include "hostkit/ExtendToolManager.h"
#include "hostkit/LumoDocumentManager.h"
#include "platform/core/CString.h"
#include "platform/ui/Document.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Menu.h"
#include "platform/ui/View.h"
#include "platform/ui/WinApp.h"

#include <memory>

namespace {

class CPlainDoc : public CDocument {
    DECLARE_DYNCREATE(CPlainDoc)
};
IMPLEMENT_DYNCREATE(CPlainDoc, CDocument)

class CPlainView : public CView {
    DECLARE_DYNCREATE(CPlainView)
protected:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPlainView, CView)

SDocumentTypeInformation typeFor(const std::wstring& name, std::vector<std::wstring> extensions) {
    SDocumentTypeInformation info{};
    info.typeName = name;
    info.resourceId = 9100;
    info.documentClass = RUNTIME_CLASS(CPlainDoc);
    info.viewClass = RUNTIME_CLASS(CPlainView);
    info.frameClass = RUNTIME_CLASS(CFrameWnd);
    info.extensions = std::move(extensions);
    info.userFlag2 = true;
    info.userValue3 = 33;
    return info;
}

// The registries need an application object to hand templates to.
class Registry : public PluginTestFixture {
protected:
    CWinApp m_app{L"RegistryTests"};
};

TEST_F(Registry, BuiltInDefaultTypeComesFirstWithTheHostClasses) {
    CLumoDocumentManager* documents = CLumoPluginManager::getInstance()->getDocumentManager();
    EXPECT_EQ(documents, CLumoPluginManager::getInstance()->getDocumentManager()) << "created once";
    SDocumentTypeInformation info{};
    ASSERT_TRUE(documents->getDocumentTypeInformation(L"DEFAULT", info));
    EXPECT_EQ(info.resourceId, 128u);
    EXPECT_STREQ(info.documentClass->m_lpszClassName, "CLumoCoreDoc");
    EXPECT_STREQ(info.viewClass->m_lpszClassName, "CLumoCoreView");
    EXPECT_STREQ(info.frameClass->m_lpszClassName, "CMainFrame");
    EXPECT_TRUE(info.extensions.empty());
    ASSERT_NE(info.docTemplate, nullptr);
    ASSERT_EQ(m_app.GetDocTemplates().size(), 1u);
    EXPECT_EQ(m_app.GetDocTemplates()[0], info.docTemplate) << "the application owns the template";
}

TEST_F(Registry, DuplicateTypeNamesAreRefusedAndCountedOnce) {
    CLumoDocumentManager* documents = CLumoPluginManager::getInstance()->getDocumentManager();
    auto info = typeFor(L"b.type", {L".txt"});
    EXPECT_TRUE(documents->registerDocumentInformation(&info));
    EXPECT_EQ(info.docTemplate, nullptr) << "the caller's record stays as it was";
    auto again = typeFor(L"b.type", {L".other"});
    EXPECT_FALSE(documents->registerDocumentInformation(&again));
    std::vector<std::wstring> names{L"stale"};
    EXPECT_EQ(documents->getRegisteredDocumentList(names), 2);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"DEFAULT", L"b.type"}));
    SDocumentTypeInformation stored{};
    ASSERT_TRUE(documents->getDocumentTypeInformation(L"b.type", stored));
    EXPECT_EQ(stored.extensions, std::vector<std::wstring>{L".txt"})
        << "the first registration stays";
    EXPECT_TRUE(stored.userFlag2);
    EXPECT_EQ(stored.userValue3, 33u);
    SDocumentTypeInformation untouched{};
    untouched.resourceId = 77;
    EXPECT_FALSE(documents->getDocumentTypeInformation(L"missing", untouched));
    EXPECT_EQ(untouched.resourceId, 77u);
}

TEST_F(Registry, ExtensionsMatchExactlyFromTheLastDotWithinTheFileName) {
    CLumoDocumentManager* documents = CLumoPluginManager::getInstance()->getDocumentManager();
    auto reader = typeFor(L"lumo.reader", {L".txt", L".ini"});
    auto dots = typeFor(L"lumo.dots", {L"."});
    auto early = typeFor(L"a.early", {L".ini"});
    ASSERT_TRUE(documents->registerDocumentInformation(&reader));
    ASSERT_TRUE(documents->registerDocumentInformation(&dots));
    ASSERT_TRUE(documents->registerDocumentInformation(&early));
    struct {
        const wchar_t* file;
        const wchar_t* type;
    } cases[] = {
        {L"/books/rashomon.txt", L"lumo.reader"},
        {L"/books/README.TXT", L""},        // case-sensitive
        {L"/My Documents/a.b/readme", L""}, // the separator comes before a dot
        {L"/books/ending.", L"lumo.dots"},  // the dot alone
        {L"lumoconf.ini", L"a.early"},      // two claimants: the first name wins
        {L"/books/archive.txt.gz", L""},
        {L"noextension", L""},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(documents->findTargetDocumentInformation(c.file), c.type) << c.file;
    EXPECT_EQ(documents->findTargetDocumentInformation(nullptr), L"");
}

TEST_F(Registry, SwitchingNeedsAMainFrameAndAClaimedType) {
    CLumoDocumentManager* documents = CLumoPluginManager::getInstance()->getDocumentManager();
    auto reader = typeFor(L"lumo.reader", {L".txt"});
    ASSERT_TRUE(documents->registerDocumentInformation(&reader));
    EXPECT_FALSE(documents->switchDocumentView(L"", L"/a.txt")) << "no main window";
}

// A command target that records what reaches it.
class CRecordingTarget : public CCmdTarget {
public:
    explicit CRecordingTarget(std::vector<std::string>* log) : m_log(log) {}
    ~CRecordingTarget() override { m_log->push_back("deleted"); }
    void OnFirst() { m_log->push_back("first"); }
    void OnUpdateSecond(CCmdUI* ui) {
        m_log->push_back("update second " + std::to_string(ui->m_nID));
    }
    std::vector<std::string>* m_log;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRecordingTarget, CCmdTarget)
ON_COMMAND(11, &CRecordingTarget::OnFirst)
ON_UPDATE_COMMAND_UI(12, &CRecordingTarget::OnUpdateSecond)
END_MESSAGE_MAP()

bool twoItemsWithSeparator(CMenu* menu) {
    menu->CreateMenu();
    CMenu popup;
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_STRING, 11, L"one");
    popup.AppendMenu(MF_SEPARATOR);
    popup.AppendMenu(MF_STRING, 12, L"two");
    menu->AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Detach()), L"ツール");
    return true;
}
bool noMenu(CMenu*) {
    return false;
}

std::vector<std::string>* g_hookLog = nullptr;
void stoppingHook(UINT message, WPARAM, LPARAM, LRESULT* result, BOOL* continueDefault) {
    g_hookLog->push_back("stop " + std::to_string(message));
    *result = 42;
    *continueDefault = FALSE;
}
void passingHook(UINT message, WPARAM, LPARAM, LRESULT* result, BOOL*) {
    g_hookLog->push_back("pass " + std::to_string(message));
    *result = 7;
}

SExtendToolInformation toolFor(const std::wstring& name,
                               SExtendToolInformation::MenuBuilder builder,
                               CCmdTarget* target = nullptr,
                               SExtendToolInformation::WindowProcHook hook = nullptr) {
    SExtendToolInformation info{};
    info.infoCode = 1;
    info.toolName = name;
    info.menuBuilder = builder;
    info.commandTarget = target;
    info.windowProcHook = hook;
    return info;
}

TEST_F(Registry, ToolCommandsAreNumberedFrom1024InToolNameOrderSkippingSeparators) {
    std::vector<std::string> log;
    CExtendToolManager* tools = CLumoPluginManager::getInstance()->getExtendToolManager();
    auto b = toolFor(L"b.tool", &twoItemsWithSeparator);
    auto a = toolFor(L"a.tool", &twoItemsWithSeparator, new CRecordingTarget(&log));
    auto silent = toolFor(L"0.silent", &noMenu);
    ASSERT_TRUE(tools->registerExtendToolInformation(&b));
    ASSERT_TRUE(tools->registerExtendToolInformation(&a));
    ASSERT_TRUE(tools->registerExtendToolInformation(&silent));
    EXPECT_EQ(tools->getDynamicAllocateMenuId(L"a.tool", 11), 0u) << "before the first merge";

    CMenu menu;
    menu.CreateMenu();
    menu.AppendMenu(MF_STRING, 65535, L"<SUBMENU_INSERT_POSITION>");
    ASSERT_TRUE(tools->doMergePulldownMenu(menu));
    EXPECT_EQ(tools->getDynamicAllocateMenuId(L"a.tool", 11), 1024u);
    EXPECT_EQ(tools->getDynamicAllocateMenuId(L"a.tool", 12), 1025u);
    EXPECT_EQ(tools->getDynamicAllocateMenuId(L"b.tool", 11), 1026u);
    EXPECT_EQ(tools->getDynamicAllocateMenuId(L"b.tool", 12), 1027u);
    EXPECT_EQ(tools->getDynamicAllocateMenuId(L"b.tool", 99), 0u);

    // Both tools' popups have the same text, so they merged into one popup
    // before the marker: one, separator, two, then b's items after them.
    ASSERT_EQ(menu.GetMenuItemCount(), 2u);
    CMenu* merged = menu.GetSubMenu(0);
    ASSERT_NE(merged, nullptr);
    std::vector<UINT> ids;
    for (UINT i = 0; i < merged->GetMenuItemCount(); ++i)
        ids.push_back(merged->GetMenuItemID(static_cast<int>(i)));
    EXPECT_EQ(ids.front(), 1024u);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 1027u), 1);

    // Routing: a dynamic id reaches the owning tool's target under its own id.
    EXPECT_TRUE(tools->OnCmdMsg(1024, CN_COMMAND, nullptr, nullptr));
    CCmdUI state;
    state.m_nID = 1025;
    EXPECT_TRUE(tools->OnCmdMsg(1025, CN_UPDATE_COMMAND_UI, &state, nullptr));
    EXPECT_TRUE(tools->OnCmdMsg(1026, CN_COMMAND, nullptr, nullptr))
        << "a tool without a target still claims it";
    EXPECT_FALSE(tools->OnCmdMsg(ID_FILE_OPEN, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(log, (std::vector<std::string>{"first", "update second 1025"}));

    CLumoPluginManager::destroy();
    EXPECT_EQ(log.back(), "deleted") << "the registry owns the targets";
}

TEST_F(Registry, AHookThatClearsTheContinueFlagStopsLaterHooks) {
    std::vector<std::string> log;
    g_hookLog = &log;
    CExtendToolManager* tools = CLumoPluginManager::getInstance()->getExtendToolManager();
    auto first = toolFor(L"a.first", nullptr, nullptr, &passingHook);
    auto stopper = toolFor(L"b.stopper", nullptr, nullptr, &stoppingHook);
    auto last = toolFor(L"c.last", nullptr, nullptr, &passingHook);
    tools->registerExtendToolInformation(&last);
    tools->registerExtendToolInformation(&stopper);
    tools->registerExtendToolInformation(&first);
    BOOL continueDefault = TRUE;
    EXPECT_EQ(tools->WindowProc(WM_USER, 0, 0, continueDefault), 42);
    EXPECT_FALSE(continueDefault);
    EXPECT_EQ(log, (std::vector<std::string>{"pass 1024", "stop 1024"}));

    std::vector<std::wstring> names;
    EXPECT_EQ(tools->getRegisteredExtendToolList(names), 3);
    EXPECT_FALSE(tools->registerExtendToolInformation(&first));
}

} // namespace
