#pragma once

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogControls.h"

#include <vector>

class QDialog;

// A modal dialog built from a dialog template as a real Qt dialog, sized
// from dialog units (the dialog font is IPAGothic at 12 px: 6 x 12 px base
// units). Push buttons send WM_COMMAND(id, BN_CLICKED) to the dialog; IDOK
// runs OnOK (data exchange, then EndDialog(IDOK)), IDCANCEL OnCancel.
class PLATFORMUI_API CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    // The template is found along the resource chain (Resources.h).
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // The template of one module.
    CDialog(HINSTANCE hModule, UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // IDOK, IDCANCEL or EndDialog's value; -1 when the template is missing.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    QDialog* qtDialog() const { return m_qtDialog; }
    bool ended() const { return m_ended; }
    int result() const { return m_nModalResult; }

protected:
    bool hasFrameBuffer() const override { return false; }
    DECLARE_MESSAGE_MAP()

    UINT m_nIDTemplate = 0;
    HINSTANCE m_hTemplateModule = nullptr;
    CWnd* m_pParentWnd = nullptr;

private:
    bool build(const lumo::DialogTemplate& dialogTemplate);
    void teardown();
    QDialog* m_qtDialog = nullptr;
    std::vector<CDialogControl*> m_controls;
    int m_nModalResult = -1;
    bool m_ended = false;
};
