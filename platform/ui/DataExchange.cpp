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

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    CWnd* control = pDX && pDX->m_pDlgWnd ? pDX->m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate) {
        CString text;
        control->GetWindowText(text);
        // Text that is not a number keeps the member as it was.
        wchar_t* end = nullptr;
        const long parsed = std::wcstol(text.GetString(), &end, 10);
        if (end && end != text.GetString() && *end == L'\0')
            value = static_cast<int>(parsed);
        return;
    }
    control->SetWindowText(std::to_wstring(value).c_str());
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    CWnd* dialog = pDX ? pDX->m_pDlgWnd : nullptr;
    auto* first = static_cast<CButton*>(controlOf(dialog, nIDC, lumo::ControlKind::RadioButton));
    if (!first)
        return;
    auto* button = qobject_cast<QAbstractButton*>(first->widget());
    QButtonGroup* group = button ? button->group() : nullptr;
    if (!group)
        return;
    const QList<QAbstractButton*> buttons = group->buttons();
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (int i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked())
                value = i;
        return;
    }
    group->setExclusive(false);
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setChecked(i == value);
    group->setExclusive(true);
}
