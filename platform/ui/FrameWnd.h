#pragma once

#include "platform/ui/Window.h"

class CControlBar;
class CDocument;
class CView;
struct CCreateContext;

constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// A frame window: a top-level window holding control bars (command bar) at
// its top and one view in the rest of its client area.
//
// Command routing (OnCmdMsg): the active view (which passes on to its
// document and template), then the frame, then the application.
// Before a pop-up menu shows, each item's state is asked through that
// routing (WM_INITMENUPOPUP); items without any handler are disabled.
class PLATFORMUI_API CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the top-level window with title = string nIDResource's first
    // field and loads menu and accelerators nIDResource (m_hMenuDefault,
    // m_hAccelTable) when they exist.
    virtual BOOL LoadFrame(UINT nIDResource,
                           DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // Creates a view of pContext->m_pNewViewClass as a child with id nID; null on failure.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    CView* GetActiveView() const;
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // Lays the control bars along the top and the pane (AFX_IDW_PANE_FIRST)
    // into the rest; bNotify sends WM_SIZE to moved windows.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Sends OnInitialUpdate to the views and shows the frame when asked.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDHelp = 0;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    void OnClose();
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    CView* m_pViewActive = nullptr;
};

// Applies an accelerator table to a key message: sends WM_COMMAND with the
// command and returns TRUE when a key matches.
PLATFORMUI_API int TranslateAccelerator(HWND hWnd, HACCEL hAccTable, MSG* lpMsg);
