#pragma once

#include "platform/core/CString.h"
#include "platform/ui/CmdTarget.h"

#include <vector>

class CDocument;
class CFrameWnd;

// Ties a resource id (its string is the seven-field title string
// "window\nnew name\nfilter name\nfilter ext\n..."), a document class, a frame
// class and a view class, given as class records with dynamic creation.
class PLATFORMUI_API CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);
    ~CDocTemplate() override;

    // A new document of the template's class, joined to this template; null
    // when the class cannot be created.
    virtual CDocument* CreateNewDocument();
    // A new frame for the document, with a view of the template's view class
    // (created from resource m_nIDResource); null on failure.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual CDocument* OpenDocumentFile(const wchar_t* lpszPathName, BOOL bMakeVisible = TRUE) = 0;

    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    // A field of the resource string; FALSE when absent.
    BOOL GetDocString(CString& rString, DocStringIndex index) const;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
};

// A template that holds at most one document at a time (and one frame): a new
// or opened document replaces the current one.
class PLATFORMUI_API CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                       CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    // With a null path: a new document (OnNewDocument). Creates the frame the
    // first time (it becomes the main window when there is none). Null on failure.
    CDocument* OpenDocumentFile(const wchar_t* lpszPathName, BOOL bMakeVisible = TRUE) override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* GetDocument() const { return m_pOnlyDoc; }

protected:
    CDocument* m_pOnlyDoc = nullptr;
};
