#pragma once

#include "platform/ui/Window.h"

class CDocument;
class CDocTemplate;
class CFrameWnd;
class CView;

// What a frame needs to create a view for a document.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// A view: a child window of a frame that shows a document. WM_PAINT calls
// OnDraw with a paint DC; the view joins its document (from the creation
// context) on WM_CREATE and leaves it when destroyed. Views delete
// themselves after their window is destroyed.
class PLATFORMUI_API CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    virtual void OnDraw(CDC* pDC) = 0;
    // Called once after the view and its document are ready (OnUpdate(0, 0, 0)).
    virtual void OnInitialUpdate();
    // The document changed: by default invalidates the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnPrepareDC(CDC* pDC);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);

    // Routes to the view, then its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CDocument* m_pDocument = nullptr;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnPaint();

protected:
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()
};
