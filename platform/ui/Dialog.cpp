#include "platform/ui/Dialog.h"

#include "platform/ui/ModalHook.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/WindowState.h"

#include <QDialog>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(HINSTANCE hModule, UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_hTemplateModule(hModule), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    teardown();
}

void CDialog::teardown() {
    if (m_hWnd)
        DestroyWindow();
    for (CDialogControl* control : m_controls)
        delete control;
    m_controls.clear();
    delete m_qtDialog;
    m_qtDialog = nullptr;
}

INT_PTR CDialog::DoModal() {
    const lumo::DialogTemplate* t = lumo::findDialogResource(m_hTemplateModule, m_nIDTemplate);
    if (!t)
        return -1;
    lumo::ensureGuiApplication();
    teardown();
    m_ended = false;
    m_nModalResult = IDCANCEL;
    if (!build(*t)) {
        teardown();
        return -1;
    }
    if (!OnInitDialog())
        EndDialog(IDCANCEL);
    lumo::ModalHook* hook = lumo::modalHook();
    if (!m_ended) {
        lumo::ModalLoop loop;
        loop.setEnd([this] { EndDialog(IDCANCEL); });
        if (hook && hook->driveDialog(*this)) {
            if (!m_ended)
                EndDialog(IDCANCEL);
        } else if (lumo::headless()) {
            EndDialog(IDCANCEL);
        } else {
            m_qtDialog->exec();
            if (!m_ended)
                EndDialog(IDCANCEL);
        }
        // A close request ended the dialog: whatever was pressed after it
        // does not count.
        if (loop.cancelled())
            m_nModalResult = IDCANCEL;
    }
    if (hook)
        hook->dialogEnded(t->caption, m_nModalResult);
    const int result = m_nModalResult;
    teardown();
    return result;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_ended = true;
    if (m_qtDialog && m_qtDialog->isVisible())
        m_qtDialog->done(nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}
