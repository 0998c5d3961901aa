#include "platform/ui/Document.h"

#include "platform/core/Utf8.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/View.h"

#include <algorithm>
#include <fstream>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::CDocument() = default;

CDocument::~CDocument() {
    // Views outliving their document must not point at it.
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
    m_views.clear();
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const wchar_t* lpszPathName) {
    if (!lpszPathName || !*lpszPathName)
        return FALSE;
    std::ifstream file(lumo::toFsPath(lpszPathName), std::ios::binary);
    if (!file)
        return FALSE;
    DeleteContents();
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const wchar_t*) {
    return TRUE;
}

void CDocument::OnCloseDocument() {
    if (m_closing)
        return;
    m_closing = true;
    // Keep the document alive while its views go.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_views.empty()) {
        CView* view = m_views.front();
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && frame->IsWindow())
            frame->DestroyWindow();
        else if (view->IsWindow())
            view->DestroyWindow();
        else
            RemoveView(view);
        if (!m_views.empty() && m_views.front() == view)
            RemoveView(view); // the view did not leave on its own
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    m_closing = false;
    if (m_bAutoDelete)
        delete this;
}

void CDocument::DeleteContents() {}

void CDocument::SetPathName(const wchar_t* lpszPathName, BOOL) {
    m_strPathName = lpszPathName;
    const int slash = m_strPathName.ReverseFind(PATH_SEPARATOR);
    SetTitle(slash < 0 ? m_strPathName : m_strPathName.Mid(slash + 1));
}

void CDocument::SetTitle(const wchar_t* lpszTitle) {
    m_strTitle = lpszTitle;
}

void CDocument::AddView(CView* pView) {
    if (!pView || std::find(m_views.begin(), m_views.end(), pView) != m_views.end())
        return;
    m_views.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
    auto found = std::find(m_views.begin(), m_views.end(), pView);
    if (found == m_views.end())
        return;
    m_views.erase(found);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::OnChangedViewList() {
    if (m_views.empty() && m_bAutoDelete && !m_closing)
        OnCloseDocument();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    const std::vector<CView*> views = m_views;
    for (CView* view : views)
        if (view != pSender)
            view->OnUpdate(pSender, lHint, pHint);
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate ? m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) : FALSE;
}
