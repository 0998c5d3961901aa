// Building a dialog from its template: a Qt dialog with one widget and one
// control window per template item, laid out in dialog units.

#include "platform/ui/Dialog.h"

#include "platform/ui/FontMapping.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The Qt side of a dialog: closing it is the user's cancel.
class ModalDialog : public QDialog {
public:
    explicit ModalDialog(CDialog* owner) : m_owner(owner) {}
    void reject() override {
        if (m_owner && !m_owner->ended())
            m_owner->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (m_owner && m_owner->ended())
            QDialog::done(m_owner->result());
    }

private:
    CDialog* m_owner;
};
} // namespace

bool CDialog::build(const lumo::DialogTemplate& t) {
    auto* dialog = new ModalDialog(this);
    m_qtDialog = dialog;
    dialog->setWindowTitle(QString::fromStdWString(t.caption));
    // Dialogs use 12-pixel text whatever point size the template names: at
    // 8 points (10 px) Japanese labels next to Qt's fixed-size check boxes and
    // combo arrows are cut off. Dialog units follow this font, so the layout
    // keeps its proportions.
    LOGFONT lf{};
    lf.lfHeight = -12;
    lf.lfWeight = FW_NORMAL;
    const QFont font = lumo::qtFontFor(lf);
    dialog->setFont(font);
    const QFontMetrics metrics(font);
    const int baseX = std::max(1, (metrics.horizontalAdvance(QStringLiteral(
                                       "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) +
                                   26) /
                                      52);
    const int baseY = std::max(1, metrics.height());
    auto px = [&](int x, int y, int cx, int cy) {
        return QRect(MulDiv(x, baseX, 4), MulDiv(y, baseY, 8), MulDiv(cx, baseX, 4),
                     MulDiv(cy, baseY, 8));
    };
    const QRect size = px(0, 0, t.cx, t.cy);
    dialog->setFixedSize(size.width(), size.height());
    const RECT rect{0, 0, size.width(), size.height()};
    if (!CreateEx(0, nullptr, t.caption.c_str(), WS_POPUP | t.style, rect, nullptr, 0))
        return false;

    QButtonGroup* radioGroup = nullptr;
    std::vector<QWidget*> groupBoxes;
    for (const lumo::DialogControlTemplate& c : t.controls) {
        const QString text = QString::fromStdWString(c.text);
        QRect geometry = px(c.x, c.y, c.cx, c.cy);
        QWidget* widget = nullptr;
        CDialogControl* control = nullptr;
        const UINT id = c.id;
        switch (c.kind) {
        case lumo::ControlKind::GroupBox:
            widget = new QGroupBox(text, dialog);
            groupBoxes.push_back(widget);
            control = new CStatic;
            break;
        case lumo::ControlKind::Label:
            widget = new QLabel(text, dialog);
            control = new CStatic;
            break;
        case lumo::ControlKind::ComboBox: {
            auto* combo = new QComboBox(dialog);
            QStringList items;
            for (const std::wstring& item : c.items)
                items << QString::fromStdWString(item);
            if (c.style & CBS_SORT)
                items.sort(Qt::CaseInsensitive);
            combo->addItems(items);
            combo->setCurrentIndex(-1);
            // The template height includes the dropped list.
            geometry.setHeight(std::min(geometry.height(), combo->sizeHint().height()));
            QObject::connect(combo, &QComboBox::activated, dialog, [this, id](int) {
                SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), CBN_SELCHANGE), 0);
            });
            widget = combo;
            control = new CComboBox;
            break;
        }
        case lumo::ControlKind::CheckBox:
            widget = new QCheckBox(text, dialog);
            control = new CButton;
            break;
        case lumo::ControlKind::RadioButton: {
            auto* radio = new QRadioButton(text, dialog);
            if (!radioGroup || (c.style & WS_GROUP)) {
                radioGroup = new QButtonGroup(dialog);
                radioGroup->setExclusive(true);
            }
            radioGroup->addButton(radio);
            widget = radio;
            control = new CButton;
            break;
        }
        case lumo::ControlKind::Edit: {
            auto* edit = new QLineEdit(text, dialog);
            QObject::connect(edit, &QLineEdit::textEdited, dialog, [this, id](const QString&) {
                SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), EN_CHANGE), 0);
            });
            widget = edit;
            control = new CEdit;
            break;
        }
        case lumo::ControlKind::PushButton:
        case lumo::ControlKind::DefPushButton: {
            auto* button = new QPushButton(text, dialog);
            button->setDefault(c.kind == lumo::ControlKind::DefPushButton);
            button->setAutoDefault(c.kind == lumo::ControlKind::DefPushButton);
            widget = button;
            control = new CButton;
            break;
        }
        }
        if (c.kind != lumo::ControlKind::RadioButton && (c.style & WS_GROUP))
            radioGroup = nullptr;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QObject::connect(button, &QAbstractButton::clicked, dialog, [this, id](bool) {
                SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
            });
        }
        widget->setGeometry(geometry);
        const RECT controlRect{geometry.left(), geometry.top(), geometry.left() + geometry.width(),
                               geometry.top() + geometry.height()};
        control->CreateEx(0, nullptr, c.text.c_str(), WS_CHILD | WS_VISIBLE | c.style, controlRect,
                          this, id);
        control->bind(widget, c.kind);
        m_controls.push_back(control);
    }
    for (QWidget* box : groupBoxes)
        box->lower();
    return true;
}
