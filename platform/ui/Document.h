#pragma once

#include "platform/core/CString.h"
#include "platform/ui/CmdTarget.h"

#include <vector>

class CDocTemplate;
class CView;

// A document: data shown by one or more views. Usable on its own (no window,
// no application object) in unit tests.
//
// Lifetime: a document created by a template deletes itself when its last
// view goes (m_bAutoDelete); OnCloseDocument destroys its views' frames and
// then the document.
class PLATFORMUI_API CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    // A new, empty document: DeleteContents, not modified, no path.
    virtual BOOL OnNewDocument();
    // Opens a file: DeleteContents and clears the modified flag. FALSE when the
    // file cannot be read (the base class only checks that it can be opened;
    // subclasses read it).
    virtual BOOL OnOpenDocument(const wchar_t* lpszPathName);
    // Saves: the base class writes nothing and reports success.
    virtual BOOL OnSaveDocument(const wchar_t* lpszPathName);
    // Closes: destroys the frames of its views (or the views) and, when
    // m_bAutoDelete, deletes the document.
    virtual void OnCloseDocument();
    // Frees the document's data; called before new contents arrive and on close.
    virtual void DeleteContents();

    const CString& GetPathName() const { return m_strPathName; }
    // Sets the path and the title (the part after the last path separator).
    virtual void SetPathName(const wchar_t* lpszPathName, BOOL bAddToMRU = TRUE);
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const wchar_t* lpszTitle);

    // Views.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& views() const { return m_views; }
    // Calls OnUpdate of every view except pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
    // After a view was added or removed: a document left without views closes.
    virtual void OnChangedViewList();

    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // Routes to the document, then its template.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bAutoDelete = TRUE;

protected:
    CString m_strPathName;
    CString m_strTitle;
    std::vector<CView*> m_views;
    bool m_closing = false;
};
