#include "platform/ui/DataExchange.h"

#include "platform/ui/DialogControls.h"

#include <QAbstractButton>
#include <QButtonGroup>

#include <cwchar>
#include <string>

namespace {

CDialogControl* controlOf(CWnd* dialog, int id, lumo::ControlKind kind) {
    CWnd* wnd = dialog ? dialog->GetDlgItem(id) : nullptr;
    if (!wnd || !wnd->IsKindOf(RUNTIME_CLASS(CDialogControl)))
        return nullptr;
    auto* control = static_cast<CDialogControl*>(wnd);
    return control->kind() == kind ? control : nullptr;
}
} // namespace

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    auto* combo = static_cast<CComboBox*>(
        controlOf(pDX ? pDX->m_pDlgWnd : nullptr, nIDC, lumo::ControlKind::ComboBox));
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate)
        index = combo->GetCurSel();
    else
        combo->SetCurSel(index);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    auto* combo = static_cast<CComboBox*>(
        controlOf(pDX ? pDX->m_pDlgWnd : nullptr, nIDC, lumo::ControlKind::ComboBox));
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate) {
        const int selected = combo->GetCurSel();
        if (selected < 0)
            value.Empty();
        else
            combo->GetLBText(selected, value);
        return;
    }
    combo->SelectString(-1, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    CWnd* dialog = pDX ? pDX->m_pDlgWnd : nullptr;
    CDialogControl* control = controlOf(dialog, nIDC, lumo::ControlKind::CheckBox);
    if (!control)
        control = controlOf(dialog, nIDC, lumo::ControlKind::RadioButton);
    if (!control)
        return;
    auto* button = static_cast<CButton*>(control);
    if (pDX->m_bSaveAndValidate)
        value = button->GetCheck();
    else
        button->SetCheck(value == BST_INDETERMINATE ? BST_INDETERMINATE
                                                    : (value ? BST_CHECKED : BST_UNCHECKED));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    CWnd* control = pDX && pDX->m_pDlgWnd ? pDX->m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        control->GetWindowText(value);
    else
        control->SetWindowText(value);
}
