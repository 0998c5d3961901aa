#include "platform/ui/FrameWnd.h"

#include "platform/ui/CommandBar.h"
#include "platform/ui/Document.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Resources.h"
#include "platform/ui/View.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/WindowState.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
    if (m_hMenuDefault)
        ::DestroyMenu(m_hMenuDefault);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    std::wstring title = lumo::loadString(nIDResource);
    const size_t newline = title.find(L'\n');
    if (newline != std::wstring::npos)
        title.resize(newline);
    m_hMenuDefault = ::LoadMenu(nullptr, MAKEINTRESOURCE(nIDResource));
    m_hAccelTable = ::LoadAccelerators(nullptr, MAKEINTRESOURCE(nIDResource));
    const RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    if (!CreateEx(0, nullptr, title.c_str(), dwDefaultStyle & ~(FWS_ADDTOTITLE | WS_VISIBLE), rect,
                  pParentWnd, 0, pContext))
        return FALSE;
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    auto* context = static_cast<CCreateContext*>(lpcs ? lpcs->lpCreateParams : nullptr);
    if (!OnCreateClient(lpcs, context))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    if (!pContext || !pContext->m_pNewViewClass)
        return nullptr;
    CObject* object = pContext->m_pNewViewClass->CreateObject();
    if (!object)
        return nullptr;
    if (!object->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete object;
        return nullptr;
    }
    auto* view = static_cast<CWnd*>(object);
    // Created empty and sized by the next RecalcLayout, as the original does.
    // On failure the window deleted itself (PostNcDestroy) when it existed.
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID,
                      pContext))
        return nullptr;
    return view;
}

CView* CFrameWnd::GetActiveView() const {
    return lumo::isLiveWindow(m_pViewActive) ? m_pViewActive : nullptr;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* old = GetActiveView();
    if (old == pViewNew)
        return;
    m_pViewActive = pViewNew;
    if (bNotify) {
        if (old)
            old->OnActivateView(FALSE, pViewNew, old);
        if (pViewNew)
            pViewNew->OnActivateView(TRUE, pViewNew, old);
    }
    if (pViewNew)
        pViewNew->SetFocus();
}

CDocument* CFrameWnd::GetActiveDocument() {
    CView* view = GetActiveView();
    return view ? view->GetDocument() : nullptr;
}

void CFrameWnd::RecalcLayout(BOOL) {
    lumo::WindowState* s = state();
    if (!s)
        return;
    CRect client;
    GetClientRect(&client);
    int top = 0;
    const std::vector<CWnd*> children = s->children;
    for (CWnd* child : children) {
        if (!child->IsKindOf(RUNTIME_CLASS(CControlBar)) || !(child->GetStyle() & WS_VISIBLE))
            continue;
        const int height = static_cast<CControlBar*>(child)->GetFixedHeight();
        child->MoveWindow(0, top, client.Width(), height, TRUE);
        top += height;
    }
    if (CWnd* pane = GetDlgItem(AFX_IDW_PANE_FIRST))
        pane->MoveWindow(0, top, client.Width(), std::max(0, client.Height() - top), TRUE);
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CView* pane = nullptr;
    if (CWnd* wnd = GetDlgItem(AFX_IDW_PANE_FIRST))
        if (wnd->IsKindOf(RUNTIME_CLASS(CView)))
            pane = static_cast<CView*>(wnd);
    if (!GetActiveView() && pane)
        SetActiveView(pane, FALSE);
    if (pDoc) {
        const std::vector<CView*> views = pDoc->views();
        for (CView* view : views)
            if (lumo::isLiveWindow(view) && view->GetParentFrame() == this)
                view->OnInitialUpdate();
    }
    if (bMakeVisible && !IsWindowVisible())
        ShowWindow(SW_SHOW);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CView* view = GetActiveView())
        if (view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWinApp* app = AfxGetApp())
        if (app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    return FALSE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_hAccelTable && pMsg && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN))
        return ::TranslateAccelerator(m_hWnd, m_hAccelTable, pMsg);
    return FALSE;
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnDestroy() {
    CWnd::OnDestroy();
}

void CFrameWnd::OnClose() {
    DestroyWindow();
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu || !pPopupMenu)
        return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        // Separators and popups carry no command.
        if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
            continue;
        state.m_pSubMenu = nullptr;
        state.DoUpdate(this, state.m_nID < 0xF000);
        // A handler may have deleted items (a recent-file slot): carry on
        // after the item just updated.
        const UINT count = pPopupMenu->GetMenuItemCount();
        if (count < state.m_nIndexMax) {
            state.m_nIndex -= (state.m_nIndexMax - count);
            while (state.m_nIndex < count &&
                   pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = count;
    }
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}

int TranslateAccelerator(HWND hWnd, HACCEL hAccTable, MSG* lpMsg) {
    auto* table = reinterpret_cast<const std::vector<lumo::AcceleratorEntry>*>(hAccTable);
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!table || !wnd || !lpMsg ||
        (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN))
        return FALSE;
    const BYTE modifiers = lumo::currentKeyModifiers();
    for (const lumo::AcceleratorEntry& entry : *table) {
        if (entry.key != lpMsg->wParam)
            continue;
        if ((entry.fVirt & (lumo::FSHIFT | lumo::FCONTROL | lumo::FALT)) != modifiers)
            continue;
        wnd->SendMessage(WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
        return TRUE;
    }
    return FALSE;
}
