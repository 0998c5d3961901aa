#include "platform/testsupport/DialogDriver.h"

#include "platform/ui/Dialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

namespace lumo::test {
namespace {
CDialogControl* driverControl(CDialog* dialog, UINT id) {
    CWnd* wnd = dialog ? dialog->GetDlgItem(static_cast<int>(id)) : nullptr;
    return wnd && wnd->IsKindOf(RUNTIME_CLASS(CDialogControl)) ? static_cast<CDialogControl*>(wnd)
                                                               : nullptr;
}
} // namespace

std::wstring DialogDriver::caption() const {
    return m_dialog && m_dialog->qtDialog() ? m_dialog->qtDialog()->windowTitle().toStdWString()
                                            : std::wstring();
}

bool DialogDriver::hasControl(UINT id) const {
    return driverControl(m_dialog, id) != nullptr;
}

std::wstring DialogDriver::text(UINT id) const {
    CDialogControl* control = driverControl(m_dialog, id);
    if (!control)
        return {};
    CString text;
    control->GetWindowText(text);
    return text.str();
}

void DialogDriver::typeText(UINT id, const std::wstring& text) {
    CDialogControl* control = driverControl(m_dialog, id);
    auto* edit = control ? qobject_cast<QLineEdit*>(control->widget()) : nullptr;
    if (!edit || !edit->isEnabled())
        return;
    edit->setText(QString::fromStdWString(text));
    emit edit->textEdited(edit->text());
}

int DialogDriver::check(UINT id) const {
    CDialogControl* control = driverControl(m_dialog, id);
    return control && control->IsKindOf(RUNTIME_CLASS(CButton))
               ? static_cast<CButton*>(control)->GetCheck()
               : -1;
}

void DialogDriver::click(UINT id) {
    CDialogControl* control = driverControl(m_dialog, id);
    if (auto* button = control ? qobject_cast<QAbstractButton*>(control->widget()) : nullptr)
        button->click();
}

std::vector<std::wstring> DialogDriver::comboItems(UINT id) const {
    std::vector<std::wstring> items;
    CDialogControl* control = driverControl(m_dialog, id);
    if (auto* combo = control ? qobject_cast<QComboBox*>(control->widget()) : nullptr)
        for (int i = 0; i < combo->count(); ++i)
            items.push_back(combo->itemText(i).toStdWString());
    return items;
}

int DialogDriver::comboIndex(UINT id) const {
    CDialogControl* control = driverControl(m_dialog, id);
    auto* combo = control ? qobject_cast<QComboBox*>(control->widget()) : nullptr;
    return combo ? combo->currentIndex() : -1;
}

void DialogDriver::chooseComboIndex(UINT id, int index) {
    CDialogControl* control = driverControl(m_dialog, id);
    auto* combo = control ? qobject_cast<QComboBox*>(control->widget()) : nullptr;
    if (!combo || !combo->isEnabled() || index < 0 || index >= combo->count())
        return;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

RECT DialogDriver::controlRect(UINT id) const {
    CDialogControl* control = driverControl(m_dialog, id);
    if (!control || !control->widget())
        return RECT{0, 0, 0, 0};
    const QRect g = control->widget()->geometry();
    return RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

SIZE DialogDriver::dialogSize() const {
    if (!m_dialog || !m_dialog->qtDialog())
        return SIZE{0, 0};
    return SIZE{m_dialog->qtDialog()->width(), m_dialog->qtDialog()->height()};
}

bool DialogDriver::ended() const {
    return m_dialog && m_dialog->ended();
}

} // namespace lumo::test
