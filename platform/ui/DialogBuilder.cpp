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

// Pixels a control needs to show its text (its list's widest item) whole.
int neededWidth(lumo::ControlKind kind, QWidget* widget, const QString& text,
                const QFontMetrics& metrics) {
    switch (kind) {
    case lumo::ControlKind::Label:
        return metrics.horizontalAdvance(text);
    case lumo::ControlKind::GroupBox:
        // The title sits inset by about a character on either side.
        return metrics.horizontalAdvance(text) + 2 * metrics.height();
    case lumo::ControlKind::PushButton:
    case lumo::ControlKind::DefPushButton:
        // The text and a little frame: the small "..." buttons of a template
        // must not stretch the whole dialog to Qt's preferred button width.
        return metrics.horizontalAdvance(text) + metrics.height() / 2;
    case lumo::ControlKind::CheckBox:
    case lumo::ControlKind::RadioButton:
    case lumo::ControlKind::ComboBox:
        return widget->sizeHint().width();
    case lumo::ControlKind::Edit:
        return 0;
    }
    return 0;
}
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
    // Pixels per dialog unit as the fractions unitX / unitsX and unitY / unitsY.
    int unitX = baseX;
    int unitsX = 4;
    int unitY = baseY;
    int unitsY = 8;
    auto px = [&](int x, int y, int cx, int cy) {
        return QRect(MulDiv(x, unitX, unitsX), MulDiv(y, unitY, unitsY), MulDiv(cx, unitX, unitsX),
                     MulDiv(cy, unitY, unitsY));
    };
    // Widens a unit so that `units` of it hold `pixels`.
    auto widen = [](int& unit, int& units, int pixels, int count) {
        if (count > 0 &&
            static_cast<long long>(pixels) * units > static_cast<long long>(count) * unit) {
            unit = pixels;
            units = count;
        }
    };

    QButtonGroup* radioGroup = nullptr;
    std::vector<QWidget*> groupBoxes;
    std::vector<QWidget*> widgets;
    for (const lumo::DialogControlTemplate& c : t.controls) {
        const QString text = QString::fromStdWString(c.text);
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
            combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
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
        widgets.push_back(widget);
        m_controls.push_back(control);
        // The template's units suit the device's controls; Qt's check boxes,
        // combo arrows and Japanese labels need more room. As the device
        // derived its units from its font, the unit widens until every
        // control holds its text whole, keeping the layout's proportions.
        widen(unitX, unitsX, neededWidth(c.kind, widget, text, metrics), c.cx);
    }
    // A drop-down list is as tall as Qt draws it, not as its template (which
    // counts the dropped list): the controls under it move down to clear it.
    for (size_t a = 0; a < t.controls.size(); ++a) {
        const lumo::DialogControlTemplate& list = t.controls[a];
        if (list.kind != lumo::ControlKind::ComboBox)
            continue;
        for (const lumo::DialogControlTemplate& below : t.controls) {
            const bool sideBySide = below.x < list.x + list.cx && list.x < below.x + below.cx;
            if (below.kind != lumo::ControlKind::GroupBox && sideBySide && below.y > list.y)
                widen(unitY, unitsY, widgets[a]->sizeHint().height(), below.y - list.y);
        }
    }

    const QRect size = px(0, 0, t.cx, t.cy);
    dialog->setFixedSize(size.width(), size.height());
    const RECT rect{0, 0, size.width(), size.height()};
    if (!CreateEx(0, nullptr, t.caption.c_str(), WS_POPUP | t.style, rect, nullptr, 0))
        return false;
    for (size_t i = 0; i < t.controls.size(); ++i) {
        const lumo::DialogControlTemplate& c = t.controls[i];
        QRect geometry = px(c.x, c.y, c.cx, c.cy);
        // The template height of a drop-down list includes the dropped list.
        if (c.kind == lumo::ControlKind::ComboBox)
            geometry.setHeight(std::min(geometry.height(), widgets[i]->sizeHint().height()));
        widgets[i]->setGeometry(geometry);
        const RECT controlRect{geometry.left(), geometry.top(), geometry.left() + geometry.width(),
                               geometry.top() + geometry.height()};
        m_controls[i]->CreateEx(0, nullptr, c.text.c_str(), WS_CHILD | WS_VISIBLE | c.style,
                                controlRect, this, c.id);
        m_controls[i]->bind(widgets[i], c.kind);
    }
    for (QWidget* box : groupBoxes)
        box->lower();
    return true;
}
