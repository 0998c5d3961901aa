#include "MainFrame.h"

#include "ExtendToolManager.h"
#include "LumoDocumentManager.h"
#include "LumoPluginManager.h"
#include "MainFrameIds.h"
#include "MenuHelpers.h"

#include "platform/core/Module.h"
#include "platform/core/Utf8.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DC.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/Document.h"
#include "platform/ui/Menu.h"
#include "platform/ui/View.h"

#include <sys/stat.h>

#include <set>

namespace {

constexpr UINT ID_FIRST_BAR_BUTTON = 256;
constexpr UINT_PTR ID_TIMER_SAVE_OPTIONS = 1;
constexpr UINT kMainMenuResource = 128;
constexpr DWORD kOpenDialogFlags = 0x2180C;
constexpr DWORD kCommandBarStyle = 0x50002800;
constexpr DWORD kCommandBarControlStyles = 0x1854;

const wchar_t kMainSection[] = L"lumo.main";
const wchar_t kInsertPosition[] = L"<SUBMENU_INSERT_POSITION>";
const wchar_t kNoViewerMessage[] =
    L"選択されたファイルに対応するエディタ/ビューアが登録されていません。";

std::wstring historyKey(int index) {
    return L"history/file/" + std::to_wstring(index);
}

// Null once the manager is destroyed at exit: a frame still alive then works
// without tools and options rather than bringing the manager back.
CLumoPluginManager* manager() {
    return CLumoPluginManager::getInstance();
}

std::wstring mainOption(const std::wstring& key, const std::wstring& fallback) {
    std::wstring value = fallback;
    if (CLumoPluginManager* options = manager())
        options->getOption(kMainSection, key, fallback, value);
    return value;
}

bool fileExists(const std::wstring& path) {
    struct stat st;
    return stat(lumo::toUtf8(path).c_str(), &st) == 0;
}

} // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_MESSAGE(WM_SHOW_MENU_AT_POINT, &CMainFrame::OnShowMenuAtPoint)
ON_MESSAGE(WM_SWITCH_DOCUMENT_VIEW, &CMainFrame::OnSwitchDocumentView)
ON_MESSAGE(WM_DROP_DOWN_MENU, &CMainFrame::OnDropDownMenu)
ON_MESSAGE(WM_COMMAND_BAR_OPERATION, &CMainFrame::OnCommandBarOperation)
ON_MESSAGE(WM_REBUILD_MENU, &CMainFrame::OnRebuildMenu)
ON_MESSAGE(WM_RECALC_FRAME_LAYOUT, &CMainFrame::OnRecalcLayout)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_DESTROY()
ON_WM_TIMER()
ON_COMMAND(ID_FILE_OPEN, &CMainFrame::OnFileOpen)
ON_UPDATE_COMMAND_UI_RANGE(ID_FIRST_BAR_BUTTON, 288, &CMainFrame::OnUpdateBarButton)
ON_COMMAND_RANGE(ID_FIRST_RECENT_FILE, ID_FIRST_RECENT_FILE + RECENT_FILE_COUNT - 1,
                 &CMainFrame::OnRecentFile)
ON_UPDATE_COMMAND_UI_RANGE(ID_FIRST_RECENT_FILE, ID_FIRST_RECENT_FILE + RECENT_FILE_COUNT - 1,
                           &CMainFrame::OnUpdateRecentFile)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : currentMenu(nullptr), droppedMenuIndex(-1) {}

CMainFrame::~CMainFrame() {
    if (currentMenu && ::IsMenu(currentMenu))
        ::DestroyMenu(currentMenu);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    // The frame shows its menu through the command bar, not as a window menu.
    if (m_hMenuDefault && ::IsMenu(m_hMenuDefault)) {
        ::DestroyMenu(m_hMenuDefault);
        m_hMenuDefault = nullptr;
    }
    if (!commandBar.Create(this, kCommandBarStyle, AFX_IDW_TOOLBAR))
        return -1;
    commandBar.GetToolBarCtrl().ModifyStyle(0, kCommandBarControlStyles);
    rebuildCommandBar(assembleMenu());
    // Each change restarts the timer: the file is written once things are quiet.
    if (CLumoPluginManager* options = manager())
        options->setOptionsChangedHandler(
            [this] { SetTimer(ID_TIMER_SAVE_OPTIONS, SAVE_OPTIONS_DELAY, nullptr); });
    return 0;
}

void CMainFrame::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
}

void CMainFrame::OnDestroy() {
    // From here the exit path writes the file.
    if (CLumoPluginManager* options = manager())
        options->setOptionsChangedHandler({});
    KillTimer(ID_TIMER_SAVE_OPTIONS);
    CFrameWnd::OnDestroy();
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != ID_TIMER_SAVE_OPTIONS) {
        CFrameWnd::OnTimer(nIDEvent);
        return;
    }
    KillTimer(ID_TIMER_SAVE_OPTIONS);
    if (CLumoPluginManager* options = manager())
        options->saveChangedOptions();
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    CLumoPluginManager* plugins = manager();
    if (plugins && plugins->getExtendToolManager()->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL continueDefault = TRUE;
    LRESULT result = 0;
    if (CLumoPluginManager* plugins = manager())
        result =
            plugins->getExtendToolManager()->WindowProc(message, wParam, lParam, continueDefault);
    if (!continueDefault)
        return result;
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

BOOL CMainFrame::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    const bool fromBar = header && (header->hwndFrom == commandBar.GetSafeHwnd() ||
                                    header->idFrom == AFX_IDW_TOOLBAR);
    const int code = header ? static_cast<int>(header->code) : 0;
    if (!fromBar || (code != -2 && code != -20 && code != -701))
        return CFrameWnd::OnNotify(wParam, lParam, pResult);

    DWORD position = ::GetMessagePos();
    POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    CToolBarCtrl& bar = commandBar.GetToolBarCtrl();
    bar.ScreenToClient(&point);
    for (int i = 0; i < bar.GetButtonCount(); ++i) {
        RECT rect;
        if (!bar.GetItemRect(i, &rect))
            continue;
        if (point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
            point.y < rect.bottom) {
            if (i != droppedMenuIndex)
                dropDown(i);
            break;
        }
    }
    if (pResult)
        *pResult = 0;
    return TRUE;
}

HMENU CMainFrame::assembleMenu() {
    CMenu menu;
    menu.Attach(::LoadMenu(lumo::programModuleHandle(), MAKEINTRESOURCE(kMainMenuResource)));

    CLumoPluginManager* plugins = manager();
    if (CView* view = GetActiveView(); view && plugins) {
        SDocumentTypeInformation type{};
        if (plugins->getDocumentManager()->getDocumentTypeInformation(view->GetDocument(), type)) {
            CMenu typeMenu;
            if (typeMenu.Attach(
                    ::LoadMenu(type.hModuleInstance, MAKEINTRESOURCE(type.resourceId)))) {
                LumoMergeMenu(&menu, &typeMenu, CString(kInsertPosition), FALSE);
                typeMenu.DestroyMenu();
            }
        }
    }
    if (plugins)
        plugins->getExtendToolManager()->doMergePulldownMenu(menu);
    LumoRemoveMenuItems(&menu, {kInsertPosition});
    LumoRenameMenuItems(&menu, {{L"<TOPMENU_FILE>", L"ファイル"},
                                {L"<TOPMENU_EDIT>", L"編集"},
                                {L"<TOPMENU_HELP>", L"ヘルプ"}});
    LumoNormalizeMenu(&menu, TRUE);
    return menu.Detach();
}

void CMainFrame::rebuildCommandBar(HMENU menu) {
    CToolBarCtrl& bar = commandBar.GetToolBarCtrl();
    while (bar.GetButtonCount() > 2)
        bar.DeleteButton(0);

    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        ::GetMenuString(menu, static_cast<UINT>(i), text, MAX_PATH, MF_BYPOSITION);
        auto known = barStringIndex.find(text);
        if (known == barStringIndex.end())
            known = barStringIndex.emplace(text, bar.AddString(text)).first;
        TBBUTTON button{};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = static_cast<int>(ID_FIRST_BAR_BUTTON + i);
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = TBSTYLE_AUTOSIZE;
        button.iString = known->second;
        bar.InsertButton(i, &button);
    }

    if (currentMenu && ::IsMenu(currentMenu))
        ::DestroyMenu(currentMenu);
    currentMenu = menu;

    TBBUTTONINFO info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_SIZE;
    info.cx = 24;
    bar.SetButtonInfo(CToolBar::ID_MINIMIZE, &info);
}

void CMainFrame::dropDown(int index) {
    HMENU submenu = ::GetSubMenu(currentMenu, index);
    if (!submenu)
        return;
    CToolBarCtrl& bar = commandBar.GetToolBarCtrl();
    RECT rect;
    bar.GetItemRect(index, &rect);
    bar.ClientToScreen(&rect);
    const int command = static_cast<int>(ID_FIRST_BAR_BUTTON + index);
    bar.SetState(command, TBSTATE_ENABLED | TBSTATE_PRESSED);
    droppedMenuIndex = index;
    ::TrackPopupMenu(submenu, TPM_LEFTALIGN | TPM_TOPALIGN, rect.left, rect.bottom, 0,
                     GetSafeHwnd(), nullptr);
    droppedMenuIndex = -1;
    bar.SetState(command, TBSTATE_ENABLED);
}

LRESULT CMainFrame::OnDropDownMenu(WPARAM wParam, LPARAM) {
    if (droppedMenuIndex == -1)
        dropDown(static_cast<int>(wParam));
    return 0;
}

LRESULT CMainFrame::OnCommandBarOperation(WPARAM wParam, LPARAM) {
    // (1, 0) comes before every document switch: any drop-down belonging to the
    // old document is gone with it, so the bar returns to its resting state.
    // (0, 0) from a view asks for the same without a switch.
    CToolBarCtrl& bar = commandBar.GetToolBarCtrl();
    for (int i = 0; i < bar.GetButtonCount(); ++i) {
        TBBUTTON button{};
        if (bar.GetButton(i, &button) && (button.fsState & TBSTATE_PRESSED))
            bar.SetState(button.idCommand, button.fsState & ~TBSTATE_PRESSED);
    }
    if (wParam == 1)
        commandBar.Invalidate();
    return 0;
}

LRESULT CMainFrame::OnRebuildMenu(WPARAM, LPARAM) {
    rebuildCommandBar(assembleMenu());
    return 0;
}

LRESULT CMainFrame::OnShowMenuAtPoint(WPARAM, LPARAM lParam) {
    if (lParam == 0)
        return 0;
    CMenu copy;
    copy.CreatePopupMenu();
    CMenu* source = CMenu::FromHandle(currentMenu);
    LumoMergeMenu(&copy, source, CString(L"<EMPTY>"), FALSE);
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    copy.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN, x, y, this);
    copy.DestroyMenu();
    return 0;
}

LRESULT CMainFrame::OnRecalcLayout(WPARAM, LPARAM) {
    RecalcLayout(TRUE);
    return 0;
}

LRESULT CMainFrame::OnSwitchDocumentView(WPARAM wParam, LPARAM lParam) {
    auto* type = reinterpret_cast<SDocumentTypeInformation*>(wParam);
    const auto* path = reinterpret_cast<const wchar_t*>(lParam);

    if (CView* old = GetActiveView(); old && old->IsWindow()) {
        if (CDocument* document = old->GetDocument()) {
            if (CDocTemplate* owner = document->GetDocTemplate())
                owner->RemoveDocument(document);
            // The document is closed (and deleted) once it has no view left.
            document->RemoveView(old);
        }
        SetActiveView(nullptr, FALSE);
        old->DestroyWindow();
        Invalidate();
    }
    SendMessage(WM_COMMAND_BAR_OPERATION, 1, 0);

    if (!type || !type->docTemplate)
        return 0;
    CDocument* document = type->docTemplate->CreateNewDocument();
    if (!document)
        return 0;
    if (path && *path) {
        if (!document->OnOpenDocument(path)) {
            type->docTemplate->RemoveDocument(document);
            delete document;
            std::wstring message = L"ファイル \"" + std::wstring(path) + L"\" を開けませんでした。";
            ::MessageBox(GetSafeHwnd(), message.c_str(), L"LumoCore", MB_OK | MB_ICONEXCLAMATION);
            return 0;
        }
        document->SetPathName(path, FALSE);
    }

    CCreateContext context;
    context.m_pNewViewClass = type->viewClass;
    context.m_pCurrentDoc = document;
    context.m_pNewDocTemplate = type->docTemplate;
    context.m_pCurrentFrame = this;
    auto* view = dynamic_cast<CView*>(CreateView(&context, AFX_IDW_PANE_FIRST));
    if (view) {
        SetActiveView(view);
        RecalcLayout();
    }
    rebuildCommandBar(assembleMenu());

    const std::wstring& name = document->GetPathName().str();
    const size_t separator = name.rfind(PATH_SEPARATOR);
    document->SetTitle(separator == std::wstring::npos ? name.c_str()
                                                       : name.c_str() + separator + 1);
    return 0;
}

void CMainFrame::OnFileOpen() {
    const std::wstring last = mainOption(L"lastDirectory", std::wstring(1, PATH_SEPARATOR));
    std::wstring directory(1, PATH_SEPARATOR);
    if (size_t separator = last.rfind(PATH_SEPARATOR); separator != std::wstring::npos)
        directory = last.substr(0, separator + 1);

    std::vector<wchar_t> file(MAX_PATH, L'\0');
    last.copy(file.data(), std::min<size_t>(last.size(), MAX_PATH - 1));
    OPENFILENAME ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = GetSafeHwnd();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = directory.c_str();
    ofn.Flags = kOpenDialogFlags;
    if (::GetOpenFileName(&ofn)) {
        openFile(file.data());
        return;
    }
    if (::CommDlgExtendedError() == 0)
        return;
    CFileDialog fallback(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr,
                         this);
    if (fallback.DoModal() == IDOK)
        openFile(fallback.GetPathName().str().substr(0, MAX_PATH));
}

void CMainFrame::openFile(const std::wstring& path) {
    CLumoPluginManager* plugins = manager();
    if (!plugins)
        return;
    if (!plugins->getDocumentManager()->switchDocumentView(std::wstring(), path.c_str())) {
        ::MessageBox(GetSafeHwnd(), kNoViewerMessage, L"LumoCore", MB_OK);
        return;
    }
    std::wstring history[RECENT_FILE_COUNT];
    int found = RECENT_FILE_COUNT - 1;
    for (int i = 0; i < RECENT_FILE_COUNT; ++i) {
        history[i] = mainOption(historyKey(i), std::wstring());
        if (history[i] == path)
            found = i;
    }
    for (int i = found; i > 0; --i)
        history[i] = history[i - 1];
    history[0] = path;
    for (int i = 0; i < RECENT_FILE_COUNT; ++i)
        plugins->writeOption(kMainSection, historyKey(i), history[i]);
    plugins->writeOption(kMainSection, L"lastDirectory", path);
}

void CMainFrame::OnUpdateBarButton(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
}

void CMainFrame::OnRecentFile(UINT nID) {
    const std::wstring path =
        mainOption(historyKey(static_cast<int>(nID - ID_FIRST_RECENT_FILE)), std::wstring());
    if (!path.empty())
        openFile(path);
}

void CMainFrame::OnUpdateRecentFile(CCmdUI* pCmdUI) {
    const std::wstring path = mainOption(
        historyKey(static_cast<int>(pCmdUI->m_nID - ID_FIRST_RECENT_FILE)), std::wstring());
    if (!path.empty()) {
        if (!fileExists(path))
            pCmdUI->Enable(FALSE);
        pCmdUI->SetText(path.c_str());
        return;
    }
    if (pCmdUI->m_pMenu)
        pCmdUI->m_pMenu->DeleteMenu(pCmdUI->m_nID, MF_BYCOMMAND);
}
