#include "platform/testsupport/DialogDriver.h"

#include "platform/ui/Dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>

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

std::vector<std::wstring> DialogDriver::clippedTexts() const {
    std::vector<std::wstring> clipped;
    if (!m_dialog || !m_dialog->qtDialog())
        return clipped;
    for (QWidget* widget : m_dialog->qtDialog()->findChildren<QWidget*>()) {
        const QFontMetrics metrics(widget->font());
        auto fits = [&](const QString& text, int room) {
            if (metrics.horizontalAdvance(text) > room)
                clipped.push_back(text.toStdWString());
        };
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            fits(label->text(), label->width());
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            fits(group->title(), group->width());
        } else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) {
            // The indicator and its spacing come first.
            auto* button = static_cast<QAbstractButton*>(widget);
            const int indicator =
                button->sizeHint().width() - metrics.horizontalAdvance(button->text());
            fits(button->text(), button->width() - indicator);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            fits(button->text(), button->width());
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            for (int i = 0; i < combo->count(); ++i)
                fits(combo->itemText(i), field.width());
        }
    }
    return clipped;
}

std::vector<std::pair<std::wstring, std::wstring>> DialogDriver::overlappingControls() const {
    std::vector<std::pair<std::wstring, std::wstring>> overlaps;
    if (!m_dialog || !m_dialog->qtDialog())
        return overlaps;
    std::vector<std::pair<std::wstring, QRect>> controls;
    for (QWidget* widget :
         m_dialog->qtDialog()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QGroupBox*>(widget) || !widget->isVisibleTo(m_dialog->qtDialog()))
            continue;
        QString name = widget->objectName();
        if (auto* label = qobject_cast<QLabel*>(widget))
            name = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            name = button->text();
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            name = combo->count() ? combo->itemText(0) : QString();
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            name = QStringLiteral("edit ") + edit->text();
        controls.emplace_back(name.toStdWString(), widget->geometry());
    }
    for (size_t a = 0; a < controls.size(); ++a)
        for (size_t b = a + 1; b < controls.size(); ++b)
            if (controls[a].second.intersects(controls[b].second))
                overlaps.emplace_back(controls[a].first, controls[b].first);
    return overlaps;
}

} // namespace lumo::test
