#include "platform/ui/DialogControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

bool startsWithIgnoringCase(const QString& text, const QString& prefix) {
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

QComboBox* comboWidget(const CDialogControl* control) {
    return qobject_cast<QComboBox*>(control->widget());
}

} // namespace

IMPLEMENT_DYNAMIC(CDialogControl, CWnd)
IMPLEMENT_DYNAMIC(CButton, CDialogControl)
IMPLEMENT_DYNAMIC(CComboBox, CDialogControl)
IMPLEMENT_DYNAMIC(CEdit, CDialogControl)
IMPLEMENT_DYNAMIC(CStatic, CDialogControl)

bool CDialogControl::getTextHook(std::wstring& text) const {
    if (!m_widget)
        return false;
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget))
        text = edit->text().toStdWString();
    else if (auto* label = qobject_cast<QLabel*>(m_widget))
        text = label->text().toStdWString();
    else if (auto* group = qobject_cast<QGroupBox*>(m_widget))
        text = group->title().toStdWString();
    else if (auto* button = qobject_cast<QAbstractButton*>(m_widget))
        text = button->text().toStdWString();
    else if (auto* combo = qobject_cast<QComboBox*>(m_widget))
        text = combo->currentIndex() < 0 ? std::wstring() : combo->currentText().toStdWString();
    else
        return false;
    return true;
}

bool CDialogControl::setTextHook(const std::wstring& text) {
    if (!m_widget)
        return false;
    const QString value = QString::fromStdWString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget))
        edit->setText(value);
    else if (auto* label = qobject_cast<QLabel*>(m_widget))
        label->setText(value);
    else if (auto* group = qobject_cast<QGroupBox*>(m_widget))
        group->setTitle(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(m_widget))
        button->setText(value);
    else
        return false; // a drop-down list has no text of its own
    return true;
}

void CDialogControl::showStateHook() {
    if (!m_widget || !IsWindow())
        return;
    m_widget->setEnabled(IsWindowEnabled());
    m_widget->setVisible((GetStyle() & WS_VISIBLE) != 0);
}

int CButton::GetCheck() const {
    if (auto* check = qobject_cast<QCheckBox*>(widget())) {
        switch (check->checkState()) {
        case Qt::Checked:
            return BST_CHECKED;
        case Qt::PartiallyChecked:
            return BST_INDETERMINATE;
        default:
            return BST_UNCHECKED;
        }
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget()))
        return button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    return BST_UNCHECKED;
}

void CButton::SetCheck(int nCheck) {
    if (auto* check = qobject_cast<QCheckBox*>(widget())) {
        check->setTristate(nCheck == BST_INDETERMINATE);
        check->setCheckState(nCheck == BST_INDETERMINATE ? Qt::PartiallyChecked
                             : nCheck                    ? Qt::Checked
                                                         : Qt::Unchecked);
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget())) {
        // An exclusive group would refuse to uncheck its last checked button.
        QButtonGroup* group = button->group();
        const bool exclusive = group && group->exclusive();
        if (exclusive && !nCheck)
            group->setExclusive(false);
        button->setChecked(nCheck != 0);
        if (exclusive && !nCheck)
            group->setExclusive(true);
    }
}

int CComboBox::GetCurSel() const {
    QComboBox* combo = comboWidget(this);
    return combo && combo->currentIndex() >= 0 ? combo->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect) {
    QComboBox* combo = comboWidget(this);
    if (!combo)
        return CB_ERR;
    if (nSelect < 0 || nSelect >= combo->count()) {
        combo->setCurrentIndex(-1);
        return CB_ERR;
    }
    combo->setCurrentIndex(nSelect);
    return nSelect;
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    QComboBox* combo = comboWidget(this);
    rString = combo && nIndex >= 0 && nIndex < combo->count()
                  ? CString(combo->itemText(nIndex).toStdWString())
                  : CString();
}

int CComboBox::FindString(int nStartAfter, LPCWSTR lpszString) const {
    QComboBox* combo = comboWidget(this);
    if (!combo || !lpszString || !*lpszString || combo->count() == 0)
        return CB_ERR;
    const QString prefix = QString::fromWCharArray(lpszString);
    const int count = combo->count();
    const int first = (nStartAfter < 0 || nStartAfter >= count) ? 0 : nStartAfter + 1;
    for (int i = 0; i < count; ++i) {
        const int index = (first + i) % count;
        if (startsWithIgnoringCase(combo->itemText(index), prefix))
            return index;
    }
    return CB_ERR;
}

int CComboBox::SelectString(int nStartAfter, LPCWSTR lpszString) {
    const int index = FindString(nStartAfter, lpszString);
    if (index == CB_ERR)
        return CB_ERR;
    return SetCurSel(index);
}
