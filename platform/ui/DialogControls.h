#pragma once

// The controls of a dialog (Dialog.h): buttons, drop-down lists, edits and
// labels, each a child window backed by a Qt widget.

#include "platform/ui/Resources.h"
#include "platform/ui/Window.h"

class QWidget;

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
    int GetCurSel() const;
    // An index outside the list clears the selection and returns CB_ERR.
    int SetCurSel(int nSelect);
    void GetLBText(int nIndex, CString& rString) const;
    // The first item after nStartAfter beginning with the text (ignoring
    // case), wrapping around; CB_ERR when none.
    int FindString(int nStartAfter, LPCWSTR lpszString) const;
    // Selects FindString's item; when none matches the selection stays.
    int SelectString(int nStartAfter, LPCWSTR lpszString);
};

class PLATFORMUI_API CEdit : public CDialogControl {
    DECLARE_DYNAMIC(CEdit)
};

class PLATFORMUI_API CStatic : public CDialogControl {
    DECLARE_DYNAMIC(CStatic)
};
