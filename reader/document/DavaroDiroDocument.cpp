#include "DavaroDiroDocument.h"

#include "ReadingPosition.h"

#include "platform/ui/WinApp.h"

IMPLEMENT_DYNCREATE(CDavaroDiroDocument, CDocument)

BEGIN_MESSAGE_MAP(CDavaroDiroDocument, CDocument)
END_MESSAGE_MAP()

CDavaroDiroDocument::CDavaroDiroDocument() {
    DeleteContents();
}

CDavaroDiroDocument::~CDavaroDiroDocument() = default;

void CDavaroDiroDocument::DeleteContents() {
    clearContents();
    CDocument::DeleteContents();
}

BOOL CDavaroDiroDocument::OnOpenDocument(const wchar_t* lpszPathName) {
    if (!lpszPathName)
        return TRUE;
    if (!loadFile(lpszPathName))
        return FALSE;
    SetPathName(lpszPathName, TRUE);
    m_positionSaved = false;
    return TRUE;
}

BOOL CDavaroDiroDocument::OnSaveDocument(const wchar_t*) {
    return TRUE;
}

void CDavaroDiroDocument::OnCloseDocument() {
    // Closing can re-enter while the views go; the position is taken once,
    // before anything is torn down.
    if (!m_positionSaved) {
        m_positionSaved = true;
        yomite::saveReadingPosition(*this, GetPathName().str());
    }
    CDocument::OnCloseDocument();
}

void CDavaroDiroDocument::noteReadingPosition() {
    if (!m_positionSaved)
        yomite::saveReadingPosition(*this, GetPathName().str());
}

BOOL CDavaroDiroDocument::restoreReadingPosition() {
    auto legacy = [](const std::wstring& section, const std::wstring& entry,
                     const std::wstring& defaultValue) {
        CWinApp* app = AfxGetApp();
        if (!app)
            return defaultValue;
        return app->GetProfileString(section.c_str(), entry.c_str(), defaultValue.c_str()).str();
    };
    return yomite::restoreReadingPosition(*this, GetPathName().str(), legacy) ? TRUE : FALSE;
}
