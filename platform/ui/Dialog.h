#pragma once

#include "platform/ui/Resources.h"
#include "platform/ui/Window.h"

#include <memory>

class QWidget;
class QDialog;
class CDialog;

constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr int CB_ERR = -1;
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;
constexpr int BST_INDETERMINATE = 2;

// A control of a dialog: a child window backed by a Qt widget of the dialog.
// Controls exist while the dialog runs (between the start of DoModal and its
// end), as on the original platform.
class PLATFORMUI_API CDialogControl : public CWnd {
    DECLARE_DYNAMIC(CDialogControl)
public:
    QWidget* widget() const { return m_widget; }
    lumo::ControlKind kind() const { return m_kind; }
    void bind(QWidget* widget, lumo::ControlKind kind) {
        m_widget = widget;
        m_kind = kind;
    }

protected:
    bool getTextHook(std::wstring& text) const override;
    bool setTextHook(const std::wstring& text) override;
    void showStateHook() override;

private:
    QWidget* m_widget = nullptr;
    lumo::ControlKind m_kind = lumo::ControlKind::Label;
};

class PLATFORMUI_API CButton : public CDialogControl {
    DECLARE_DYNAMIC(CButton)
public:
    int GetCheck() const;
    void SetCheck(int nCheck);
};

// A drop-down list. Indexes count from 0; -1 (CB_ERR) is "no selection".
class PLATFORMUI_API CComboBox : public CDialogControl {
    DECLARE_DYNAMIC(CComboBox)
public:
    int GetCount() const;
    int GetCurSel() const;
    // An index outside the list clears the selection and returns CB_ERR.
    int SetCurSel(int nSelect);
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    // Adds at the end, or in order for a sorted list; the new index.
    int AddString(LPCWSTR lpszString);
    int InsertString(int nIndex, LPCWSTR lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    // The first item after nStartAfter beginning with the text (ignoring
    // case), wrapping around; CB_ERR when none.
    int FindString(int nStartAfter, LPCWSTR lpszString) const;
    int FindStringExact(int nIndexStart, LPCWSTR lpszFind) const;
    // Selects FindString's item; when none matches the selection stays.
    int SelectString(int nStartAfter, LPCWSTR lpszString);
};

class PLATFORMUI_API CEdit : public CDialogControl {
    DECLARE_DYNAMIC(CEdit)
};

class PLATFORMUI_API CStatic : public CDialogControl {
    DECLARE_DYNAMIC(CStatic)
};

// Dialog data exchange between members and controls.
class PLATFORMUI_API CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// By list position: a value outside the list leaves no selection and reads
// back as -1.
PLATFORMUI_API void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// By list text: selects the first item beginning with the value (the
// selection stays when none does); reads back the selected item's text, or
// an empty string when nothing is selected.
PLATFORMUI_API void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
// Check boxes: 0 or 1 (2 = indeterminate).
PLATFORMUI_API void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
PLATFORMUI_API void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
PLATFORMUI_API void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
// Radio group starting at nIDC: index of the checked button, -1 when none.
PLATFORMUI_API void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

// A modal dialog built from a dialog template as a real Qt dialog, sized
// from dialog units (the dialog font is IPAGothic at 12 px: 6 x 12 px base
// units). Push buttons send WM_COMMAND(id, BN_CLICKED) to the dialog; IDOK
// runs OnOK (data exchange, then EndDialog(IDOK)), IDCANCEL OnCancel.
class PLATFORMUI_API CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
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

    UINT templateId() const { return m_nIDTemplate; }
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
